#pragma once

// UTF-8 and UTF-16 helpers of the JSON facility: parsed texts stay UTF-8 views of the read
// buffer while names are hashed, compared and written in UTF-16 code units.

#include <QString>

#include <algorithm>
#include <cstring>

/// Walks UTF-8 bytes as UTF-16 code units. Malformed bytes (never in a validated buffer) give
/// the replacement character instead of running past the end.
class TUtf8Units
{
public:
    TUtf8Units(const char *Begin, const char *End)
        : FPos(reinterpret_cast<const unsigned char *>(Begin)),
          FEnd(reinterpret_cast<const unsigned char *>(End))
    {
    }

    bool AtEnd() const { return FPos == FEnd && !FLow; }
    /// The next byte to read; a pending low surrogate belongs to the bytes before it.
    const char *Position() const { return reinterpret_cast<const char *>(FPos); }

    char16_t Next()
    {
        if (FLow) {
            const char16_t low = FLow;
            FLow = 0;
            return low;
        }
        const unsigned lead = *FPos++;
        if (lead < 0x80)
            return char16_t(lead);
        int more = lead >= 0xF0 ? 3 : lead >= 0xE0 ? 2 : lead >= 0xC0 ? 1 : -1;
        if (more < 0 || FEnd - FPos < more)
            return Bad();
        char32_t cp = lead & (0x3F >> more);
        for (int i = 0; i < more; ++i) {
            if ((FPos[i] & 0xC0) != 0x80)
                return Bad();
            cp = (cp << 6) | (FPos[i] & 0x3F);
        }
        FPos += more;
        if (cp < 0x10000)
            return char16_t(cp);
        cp -= 0x10000;
        FLow = char16_t(0xDC00 + (cp & 0x3FF));
        return char16_t(0xD800 + (cp >> 10));
    }

private:
    char16_t Bad() { return u'\uFFFD'; }

    const unsigned char *FPos;
    const unsigned char *FEnd;
    char16_t FLow = 0;
};

/// Appends UTF-8 bytes to Out as UTF-16 code units; Out must have room for Size units.
inline char16_t *DecodeUtf8(const char *Utf8, qsizetype Size, char16_t *Out)
{
    const char *end = Utf8 + Size;
    const char *p = Utf8;
    while (p != end && quint8(*p) < 0x80)
        *Out++ = char16_t(quint8(*p++));
    TUtf8Units units(p, end);
    while (!units.AtEnd())
        *Out++ = units.Next();
    return Out;
}

/// The text of UTF-8 bytes. Unlike QString::fromUtf8, a byte-order mark at the start is kept: it
/// is a character of the text.
inline QString StringFromUtf8(const char *Utf8, qsizetype Size)
{
    QString text(Size, Qt::Uninitialized);
    char16_t *begin = reinterpret_cast<char16_t *>(text.data());
    text.truncate(DecodeUtf8(Utf8, Size, begin) - begin);
    return text;
}

/// Appends UTF-16 code units to Out as UTF-8; Out must have room for 3 bytes per unit. A lone
/// surrogate becomes the replacement character, as Qt's UTF-8 encoder writes it.
inline char *EncodeUtf8(const char16_t *Units, qsizetype Size, char *Out)
{
    const char16_t *end = Units + Size;
    for (const char16_t *p = Units; p != end; ++p) {
        char32_t c = *p;
        if (c < 0x80) {
            *Out++ = char(c);
        } else if (c < 0x800) {
            *Out++ = char(0xC0 | (c >> 6));
            *Out++ = char(0x80 | (c & 0x3F));
        } else {
            if (c >= 0xD800 && c < 0xE000) {
                if (c < 0xDC00 && p + 1 != end && p[1] >= 0xDC00 && p[1] < 0xE000) {
                    c = 0x10000 + ((c - 0xD800) << 10) + (p[1] - 0xDC00);
                    ++p;
                    *Out++ = char(0xF0 | (c >> 18));
                    *Out++ = char(0x80 | ((c >> 12) & 0x3F));
                    *Out++ = char(0x80 | ((c >> 6) & 0x3F));
                    *Out++ = char(0x80 | (c & 0x3F));
                    continue;
                }
                c = 0xFFFD;
            }
            *Out++ = char(0xE0 | (c >> 12));
            *Out++ = char(0x80 | ((c >> 6) & 0x3F));
            *Out++ = char(0x80 | (c & 0x3F));
        }
    }
    return Out;
}

/// A text of the facility: UTF-8 bytes or UTF-16 code units.
struct TJsonTextRef {
    const void *Data;
    qsizetype Size; // in bytes for UTF-8, in code units for UTF-16
    bool Utf8;

    QString ToString() const
    {
        if (!Utf8)
            return QString(reinterpret_cast<const QChar *>(Data), Size);
        return StringFromUtf8(static_cast<const char *>(Data), Size);
    }
};

/// Reads a text of either form as UTF-16 code units.
class TUnitReader
{
public:
    explicit TUnitReader(const TJsonTextRef &Text)
        : FUtf16(Text.Utf8 ? nullptr : static_cast<const char16_t *>(Text.Data)),
          FEnd16(FUtf16 ? FUtf16 + Text.Size : nullptr),
          FUtf8(static_cast<const char *>(Text.Data),
                static_cast<const char *>(Text.Data) + (Text.Utf8 ? Text.Size : 0))
    {
    }

    bool AtEnd() const { return FUtf16 ? FUtf16 == FEnd16 : FUtf8.AtEnd(); }
    char16_t Next() { return FUtf16 ? *FUtf16++ : FUtf8.Next(); }

private:
    const char16_t *FUtf16;
    const char16_t *FEnd16;
    TUtf8Units FUtf8;
};

/// Compares two texts by UTF-16 code units as unsigned numbers, a proper prefix first.
inline int CompareUnits(const TJsonTextRef &A, const TJsonTextRef &B)
{
    if (A.Utf8 && B.Utf8 && A.Size == B.Size && std::memcmp(A.Data, B.Data, size_t(A.Size)) == 0)
        return 0;
    TUnitReader a(A);
    TUnitReader b(B);
    while (!a.AtEnd() && !b.AtEnd()) {
        const char16_t x = a.Next();
        const char16_t y = b.Next();
        if (x != y)
            return x < y ? -1 : 1;
    }
    return a.AtEnd() ? (b.AtEnd() ? 0 : -1) : 1;
}

/// Whether two texts hold the same code units; quicker than CompareUnits for the ASCII names of
/// documents.
inline bool SameUnits(const TJsonTextRef &A, const TJsonTextRef &B)
{
    if (A.Utf8 == B.Utf8)
        return A.Size == B.Size &&
               std::memcmp(A.Data, B.Data, size_t(A.Size) * (A.Utf8 ? 1 : 2)) == 0;
    const TJsonTextRef &utf8 = A.Utf8 ? A : B;
    const TJsonTextRef &utf16 = A.Utf8 ? B : A;
    const auto *bytes = static_cast<const unsigned char *>(utf8.Data);
    const auto *units = static_cast<const char16_t *>(utf16.Data);
    if (utf8.Size < utf16.Size) // a code unit takes at least one byte
        return false;
    qsizetype i = 0;
    for (; i < utf8.Size && bytes[i] < 0x80; ++i) {
        if (i == utf16.Size || units[i] != bytes[i])
            return false;
    }
    return i == utf8.Size ? i == utf16.Size : CompareUnits(A, B) == 0;
}
