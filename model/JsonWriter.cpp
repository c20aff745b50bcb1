#include "model/JsonWriter.h"

#include "model/JsonText.h"

#include <QLocale>

#include <algorithm>
#include <cmath>
#include <cstring>

namespace
{

const char HexDigits[] = "0123456789ABCDEF";

char *data(QByteArray &out)
{
    return out.data();
}

char16_t *data(QString &out)
{
    return reinterpret_cast<char16_t *>(out.data());
}

} // namespace

template <typename Out, typename Unit> void TJsonWriter<Out, Unit>::Grow(qsizetype Count)
{
    // FOut holds the written text up to FPos and spare room after it until Write ends.
    const qsizetype used = FPos ? FPos - data(FOut) : FOut.size();
    FOut.resize(std::max(used + Count, std::max<qsizetype>(2 * FOut.size(), 4096)));
    Unit *begin = data(FOut);
    FPos = begin + used;
    FLimit = begin + FOut.size();
}

template <typename Out, typename Unit> void TJsonWriter<Out, Unit>::Finish()
{
    if (FPos)
        FOut.truncate(FPos - data(FOut));
    FPos = FLimit = nullptr;
}

template <typename Out, typename Unit> qsizetype TJsonWriter<Out, Unit>::Size() const
{
    return FPos ? FPos - data(FOut) : FOut.size();
}

template <typename Out, typename Unit> void TJsonWriter<Out, Unit>::BeforeValue()
{
    // Elements start on the line after "[" and run on without breaks.
    if (FFrames.empty() || !FFrames.back().Array)
        return;
    TFrame &frame = FFrames.back();
    if (!frame.Empty)
        WriteChar(',');
    else if (FIndent)
        NewLine();
    frame.Empty = false;
}

template <typename Out, typename Unit> void TJsonWriter<Out, Unit>::BeginObject()
{
    BeforeValue();
    WriteChar('{');
    ++FLevel;
    FFrames.push_back({false, true});
}

template <typename Out, typename Unit> void TJsonWriter<Out, Unit>::EndObject()
{
    // An object without members is "{}"; otherwise "}" stands on a line of its own.
    --FLevel;
    if (!FFrames.back().Empty && FIndent)
        NewLine();
    FFrames.pop_back();
    WriteChar('}');
}

template <typename Out, typename Unit> void TJsonWriter<Out, Unit>::BeginArray()
{
    BeforeValue();
    WriteChar('[');
    ++FLevel;
    FFrames.push_back({true, true});
}

template <typename Out, typename Unit> void TJsonWriter<Out, Unit>::EndArray()
{
    // "]" follows the last element at once.
    --FLevel;
    FFrames.pop_back();
    WriteChar(']');
}

template <typename Out, typename Unit>
void TJsonWriter<Out, Unit>::WriteName(const void *Data, qsizetype Size, bool Utf8)
{
    TFrame &frame = FFrames.back();
    if (!frame.Empty)
        WriteChar(',');
    frame.Empty = false;
    if (FIndent)
        NewLine();
    WriteText(Data, Size, Utf8);
    if (FIndent)
        WriteAscii(": ", 2);
    else
        WriteChar(':');
}

template <typename Out, typename Unit>
void TJsonWriter<Out, Unit>::WriteAscii(const char *Text, qsizetype Size)
{
    Reserve(Size);
    for (qsizetype i = 0; i < Size; ++i)
        *FPos++ = Unit(Text[i]);
}

template <typename Out, typename Unit>
void TJsonWriter<Out, Unit>::AppendRun(const char *Begin, const char *End)
{
    if constexpr (sizeof(Unit) == 1) {
        Reserve(End - Begin);
        std::memcpy(FPos, Begin, size_t(End - Begin));
        FPos += End - Begin;
    } else {
        Reserve(End - Begin); // never more code units than bytes
        FPos = DecodeUtf8(Begin, End - Begin, FPos);
    }
}

template <typename Out, typename Unit>
void TJsonWriter<Out, Unit>::AppendRun(const char16_t *Begin, const char16_t *End)
{
    if constexpr (sizeof(Unit) == 2) {
        Reserve(End - Begin);
        std::memcpy(FPos, Begin, size_t(End - Begin) * 2);
        FPos += End - Begin;
    } else {
        Reserve(3 * (End - Begin));
        FPos = EncodeUtf8(Begin, End - Begin, FPos);
    }
}

template <typename Out, typename Unit> void TJsonWriter<Out, Unit>::WriteUnitEscape(char16_t C)
{
    const char text[6] = {'\\',
                          'u',
                          HexDigits[(C >> 12) & 15],
                          HexDigits[(C >> 8) & 15],
                          HexDigits[(C >> 4) & 15],
                          HexDigits[C & 15]};
    WriteAscii(text, 6);
}

template <typename Out, typename Unit>
template <typename Src>
void TJsonWriter<Out, Unit>::WriteQuoted(const Src *Begin, const Src *End)
{
    using USrc = std::make_unsigned_t<Src>;
    if constexpr (sizeof(Src) == 2 && sizeof(Unit) == 1) {
        if (!FEscape) {
            WriteQuotedUtf8(Begin, End);
            return;
        }
    }
    WriteChar('"');
    const Src *run = Begin; // start of the pending run written unchanged
    for (const Src *p = Begin; p != End; ++p) {
        const USrc c = USrc(*p);
        // Most text needs no escape at all: test the cheap common case first.
        if (c > u'\\' && (!FEscape || c < 0x7F))
            continue;
        const bool plain = FEscape ? (c >= 0x20 && c < 0x7F && c != u'"' && c != u'\\')
                                   : (c != 0 && c != u'"' && c != u'\\' &&
                                      !(FCrLfBreaks && (c == u'\r' || c == u'\n')));
        if (plain)
            continue;
        AppendRun(run, p);
        run = p + 1;
        switch (c) {
        case u'"':
            WriteAscii("\\\"", 2);
            break;
        case u'\\':
            WriteAscii("\\\\", 2);
            break;
        case u'\r':
        case u'\n':
            if (!FEscape) { // a line break of the text, written as CR LF
                if (c == u'\r' && p + 1 != End && USrc(p[1]) == u'\n')
                    run = ++p + 1;
                WriteAscii("\r\n", 2);
            } else {
                WriteAscii(c == u'\r' ? "\\r" : "\\n", 2);
            }
            break;
        case u'\b':
            WriteAscii("\\b", 2);
            break;
        case u'\f':
            WriteAscii("\\f", 2);
            break;
        case u'\t':
            WriteAscii("\\t", 2);
            break;
        default:
            if constexpr (sizeof(Src) == 1) {
                if (c >= 0x80) { // each code unit of the character as an escape
                    TUtf8Units units(p, End);
                    const char16_t first = units.Next();
                    WriteUnitEscape(first);
                    if (first >= 0xD800 && first < 0xDC00 && !units.AtEnd() &&
                        units.Position() == p + 4)
                        WriteUnitEscape(units.Next());
                    p = units.Position() - 1;
                    run = p + 1;
                    break;
                }
            }
            WriteUnitEscape(char16_t(c));
            break;
        }
    }
    AppendRun(run, End);
    WriteChar('"');
}

// The document's case, UTF-16 text into UTF-8 without escaping, in one pass.
template <typename Out, typename Unit>
void TJsonWriter<Out, Unit>::WriteQuotedUtf8(const char16_t *Begin, const char16_t *End)
{
    if constexpr (sizeof(Unit) == 1) {
        Reserve(6 * (End - Begin) + 2); // "\u0000" is the longest form of one code unit
        Unit *out = FPos;
        *out++ = '"';
        for (const char16_t *p = Begin; p != End; ++p) {
            const char16_t c = *p;
            if (c >= 0x20 && c < 0x80 && c != u'"' && c != u'\\') {
                *out++ = Unit(c);
            } else if (c < 0x80) {
                if (c == u'"' || c == u'\\') {
                    *out++ = '\\';
                    *out++ = Unit(c);
                } else if (c == 0) {
                    std::memcpy(out, "\\u0000", 6);
                    out += 6;
                } else if (FCrLfBreaks && (c == u'\r' || c == u'\n')) {
                    // A line break of the text, written as CR LF.
                    if (c == u'\r' && p + 1 != End && p[1] == u'\n')
                        ++p;
                    *out++ = '\r';
                    *out++ = '\n';
                } else {
                    *out++ = Unit(c);
                }
            } else {
                const char16_t *next = p + 1;
                const bool pair =
                    c >= 0xD800 && c < 0xDC00 && next != End && *next >= 0xDC00 && *next < 0xE000;
                out = EncodeUtf8(p, pair ? 2 : 1, out);
                p += pair ? 1 : 0;
            }
        }
        *out++ = '"';
        FPos = out;
    }
}

template <typename Out, typename Unit>
void TJsonWriter<Out, Unit>::WriteText(const void *Data, qsizetype Size, bool Utf8)
{
    if (Utf8) {
        const char *begin = static_cast<const char *>(Data);
        WriteQuoted(begin, begin + Size);
    } else {
        const char16_t *begin = static_cast<const char16_t *>(Data);
        WriteQuoted(begin, begin + Size);
    }
}

template <typename Out, typename Unit> void TJsonWriter<Out, Unit>::NewLine()
{
    // CR LF, then one blank per level.
    Reserve(2 + FLevel);
    *FPos++ = Unit('\r');
    *FPos++ = Unit('\n');
    for (int i = 0; i < FLevel; ++i)
        *FPos++ = Unit(' ');
}

template <typename Out, typename Unit> void TJsonWriter<Out, Unit>::WriteInt(qint64 Value)
{
    char digits[24];
    char *end = digits + 24;
    char *p = end;
    // Work on the magnitude as unsigned so the smallest 64-bit number needs no special case.
    quint64 magnitude = Value < 0 ? 0 - quint64(Value) : quint64(Value);
    do {
        *--p = char('0' + magnitude % 10);
        magnitude /= 10;
    } while (magnitude);
    if (Value < 0)
        *--p = '-';
    WriteAscii(p, end - p);
}

template <typename Out, typename Unit>
void TJsonWriter<Out, Unit>::WriteValue(const TJsonValue *Value)
{
    if (Value && Value->FKind == stObject) {
        BeginObject();
        for (qsizetype i = 0; i < Value->FSize; ++i) {
            const TJsonMember &member = Value->FMembers[i];
            WriteName(member.Name, member.NameSize & ~TJsonMember::NameUtf16Bit,
                      !(member.NameSize & TJsonMember::NameUtf16Bit));
            WriteValue(member.Value);
        }
        EndObject();
        return;
    }
    if (Value && Value->FKind == stArray) {
        BeginArray();
        for (qsizetype i = 0; i < Value->FSize; ++i)
            WriteValue(Value->FElements[i]);
        EndArray();
        return;
    }
    BeforeValue();
    if (!Value) {
        WriteAscii("null", 4);
        return;
    }
    switch (Value->FKind) {
    case stNull:
        WriteAscii("null", 4);
        break;
    case stBoolean:
        WriteAscii(Value->FBool ? "true" : "false");
        break;
    case stInt:
        WriteInt(Value->FInt);
        break;
    case stCurrency: {
        // Integer part, a point and the decimals without trailing zeros (at least one).
        const qint64 count = Value->FInt;
        const quint64 magnitude = count < 0 ? 0 - quint64(count) : quint64(count);
        if (count < 0)
            WriteChar('-');
        WriteInt(qint64(magnitude / 10000));
        int fraction = int(magnitude % 10000);
        int places = 4;
        while (places > 1 && fraction % 10 == 0) {
            fraction /= 10;
            --places;
        }
        char decimals[5];
        for (int i = places - 1; i >= 0; --i, fraction /= 10)
            decimals[i] = char('0' + fraction % 10);
        WriteChar('.');
        WriteAscii(decimals, places);
        break;
    }
    case stDouble:
        if (std::isfinite(Value->FDouble)) {
            const QByteArray text =
                QString::number(Value->FDouble, 'g', QLocale::FloatingPointShortest).toLatin1();
            WriteAscii(text.constData(), text.size());
        } else {
            WriteAscii("null", 4);
        }
        break;
    case stString:
        if (Value->FForm == TJsonValue::fUtf8)
            WriteText(Value->FUtf8, Value->FSize, true);
        else
            WriteText(Value->StringUtf16(), Value->FSize, false);
        break;
    case stObject:
    case stArray:
        break; // written above
    }
}

template class TJsonWriter<QString, char16_t>;
template class TJsonWriter<QByteArray, char>;

QString TJsonValue::AsString() const
{
    switch (FKind) {
    case stNull:
        return QString();
    case stString:
        switch (FForm) {
        case fPinned:
            return FPin->Text;
        case fUtf16:
            return QString(reinterpret_cast<const QChar *>(FUtf16), FSize);
        case fUtf8:
            // Language codes, flags and state values repeat through a document: share them.
            return FSize <= 16 ? FArena->SharedShortText(FUtf8, FSize)
                               : StringFromUtf8(FUtf8, FSize);
        }
        return QString();
    default:
        return AsJSon(false, false);
    }
}

QString TJsonValue::AsJSon(bool Indent, bool Escape) const
{
    QString out;
    TJsonWriter<QString, char16_t>(out, Indent, Escape, false).Write(this);
    return out;
}
