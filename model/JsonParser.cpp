// The lenient JSON parser: comments, single quotes, unquoted names and texts, trailing commas.
// It reads UTF-16 text or UTF-8 bytes; strings and names without escapes stay views of the text,
// which the document's arena keeps alive.

#include "model/JsonValue.h"

#include "model/IntegerText.h"
#include "model/JsonText.h"

#include <QCoreApplication>

#include <algorithm>
#include <cstring>
#include <stdexcept>
#include <vector>

namespace
{

constexpr int MaxDepth = 32;

template <typename Unit> bool isSpace(Unit c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f' || c == '\b';
}

template <typename Unit> bool isNumberChar(Unit c)
{
    return (c >= '0' && c <= '9') || c == '+' || c == '-' || c == '.' || c == 'e' || c == 'E';
}

TJsonTextRef nameOf(const TJsonMember &member)
{
    return {member.Name, qsizetype(member.NameSize & ~TJsonMember::NameUtf16Bit),
            !(member.NameSize & TJsonMember::NameUtf16Bit)};
}

bool memberLess(const TJsonMember &a, const TJsonMember &b)
{
    if (a.Hash != b.Hash)
        return a.Hash > b.Hash;
    return CompareUnits(nameOf(a), nameOf(b)) < 0;
}

// Sorts the members into member order; of two members with one name the later one stays.
TJsonMember *sortMembers(TJsonMember *begin, TJsonMember *end)
{
    // Insertion sort for the small objects of a document avoids the buffer of stable_sort.
    if (end - begin <= 16) {
        for (TJsonMember *i = begin + 1; i < end; ++i) {
            for (TJsonMember *j = i; j > begin && memberLess(*j, j[-1]); --j)
                std::swap(*j, j[-1]);
        }
    } else {
        std::stable_sort(begin, end, memberLess);
    }
    // Equal names are now neighbours in their original order: keep the last of each run.
    TJsonMember *out = begin;
    for (TJsonMember *i = begin; i < end; ++i) {
        if (i + 1 < end && i[1].Hash == i->Hash && SameUnits(nameOf(i[1]), nameOf(*i)))
            continue;
        *out++ = *i;
    }
    return out;
}

quint32 hashOf(const char16_t *begin, const char16_t *end)
{
    return JsonMemberHash(QStringView(begin, end - begin));
}

quint32 hashOf(const char *begin, const char *end)
{
    quint32 h = 0;
    const char *p = begin;
    for (; p != end && quint8(*p) < 0x80; ++p)
        h = h * 129u + quint8(*p) + 0x9E370001u;
    TUtf8Units units(p, end);
    while (!units.AtEnd())
        h = h * 129u + units.Next() + 0x9E370001u;
    return h;
}

// The first code unit of the character at p.
char16_t firstUnit(const char16_t *p, const char16_t *)
{
    return *p;
}

char16_t firstUnit(const char *p, const char *end)
{
    return TUtf8Units(p, end).Next();
}

// Code units from begin to end, as QString counts them.
qsizetype unitCount(const char16_t *begin, const char16_t *end)
{
    return end - begin;
}

qsizetype unitCount(const char *begin, const char *end)
{
    qsizetype n = 0;
    for (const char *p = begin; p < end; ++p) {
        const quint8 c = quint8(*p);
        if ((c & 0xC0) != 0x80)
            n += c >= 0xF0 ? 2 : 1;
    }
    return n;
}

const char *findUnit(const char *begin, const char *end, char c)
{
    const void *found = std::memchr(begin, c, size_t(end - begin));
    return found ? static_cast<const char *>(found) : end;
}

const char16_t *findUnit(const char16_t *begin, const char16_t *end, char16_t c)
{
    const qsizetype at = QStringView(begin, end - begin).indexOf(QChar(c));
    return at < 0 ? end : begin + at;
}

char16_t *appendUnits(const char16_t *begin, const char16_t *end, char16_t *out)
{
    std::memcpy(out, begin, size_t(end - begin) * 2);
    return out + (end - begin);
}

char16_t *appendUnits(const char *begin, const char *end, char16_t *out)
{
    return DecodeUtf8(begin, end - begin, out);
}

} // namespace

/// One parse over one text. Values are built bottom-up in the arena: members and elements of the
/// open containers wait on two shared stacks and move into an exactly sized array when their
/// container closes.
template <typename Unit> class TJsonParser
{
public:
    // The first block of an element's arena: a symbol of a library takes a few kilobytes.
    static constexpr std::size_t ElementBlock = 16384;

    TJsonParser(TJsonArena *arena, const Unit *begin, const Unit *end)
        : FArena(arena), FBegin(begin), FEnd(end), FPos(begin)
    {
    }

    TJsonValue *ParseTop()
    {
        TJsonValue *value = nullptr;
        return ParseValue(1, 0, value) ? value : nullptr;
    }

    void FillError(TJsonParseError &error) const
    {
        error.Offset = FPos - FBegin;
        error.Message = FMessage;
        error.Line = 1;
        const Unit *lineStart = FBegin;
        for (const Unit *p = FBegin; p < FPos; ++p) {
            if (*p == '\n') {
                ++error.Line;
                lineStart = p + 1;
            }
        }
        error.Column = int(unitCount(lineStart, FPos)) + 1;
    }

    static TJsonValuePtr Handle(TJsonValue *value) { return TJsonValue::Handle(value); }

    // The top-level object, as ParseValue(1, 0) reads it, with the elements of the array member
    // Name built in elementArena (which the parser rewinds or replaces after each hand-over).
    TJsonElementsResult ParseElements(const TJsonTextRef &name, TJsonArena *&elementArena,
                                      const std::function<void(const TJsonValuePtr &)> &element)
    {
        SkipSpace();
        if (FPos == FEnd || *FPos != '{')
            return TJsonElementsResult::OtherShape;
        ++FPos;
        int found = 0;
        for (;;) {
            SkipSpace();
            if (FPos == FEnd)
                return TJsonElementsResult::Failed;
            if (*FPos == '}')
                break;
            TJsonMember member{};
            if (!ParseName(member))
                return TJsonElementsResult::Failed;
            if (SameUnits(nameOf(member), name)) {
                SkipSpace();
                if (++found > 1 || FPos == FEnd || *FPos != '[')
                    return TJsonElementsResult::OtherShape;
                if (!HandElements(elementArena, element))
                    return TJsonElementsResult::Failed;
            } else {
                TJsonValue *dropped = nullptr;
                if (!ParseValue(2, '}', dropped))
                    return TJsonElementsResult::Failed;
            }
            SkipSpace();
            if (FPos == FEnd || (*FPos != '}' && *FPos != ','))
                return TJsonElementsResult::Failed;
            if (*FPos == '}')
                break;
            ++FPos;
        }
        return found == 1 ? TJsonElementsResult::Handed : TJsonElementsResult::OtherShape;
    }

private:
    // What follows an array's element: a ',' and the next element (closed false) or the ']'
    // (closed true, FPos at it). False, the parse failed, for anything else.
    bool AfterArrayElement(bool &closed)
    {
        SkipSpace();
        if (FPos == FEnd)
            return Fail(QT_TRANSLATE_NOOP("TJsonParser", "the array is not closed"));
        closed = *FPos == ']';
        if (closed)
            return true;
        if (*FPos != ',')
            return Fail(QT_TRANSLATE_NOOP("TJsonParser", "',' or ']' is expected"));
        ++FPos;
        SkipSpace();
        return true;
    }

    // ParseArray at level 2 whose elements go to the caller instead of into an array.
    bool HandElements(TJsonArena *&arena, const std::function<void(const TJsonValuePtr &)> &element)
    {
        ++FPos; // "["
        TJsonArena *const top = FArena;
        SkipSpace();
        while (FPos == FEnd || *FPos != ']') {
            FArena = arena;
            TJsonValue *value = nullptr;
            const bool parsed = ParseValue(3, ']', value);
            FArena = top;
            if (!parsed)
                return false;
            element(Handle(value));
            if (arena->Shared()) {
                // The caller kept a value: the arena is left to it.
                TJsonArena *fresh = TJsonArena::Create(ElementBlock);
                fresh->Ref();
                fresh->Utf8Source = arena->Utf8Source;
                arena->Unref();
                arena = fresh;
            } else {
                arena->Rewind();
            }
            bool closed = false;
            if (!AfterArrayElement(closed))
                return false;
            if (closed)
                break;
        }
        ++FPos; // "]"
        return true;
    }

    // A quoted string or name: a view of the text, or the decoded text when it has escapes.
    struct TQuoted {
        const Unit *Begin = nullptr;
        qsizetype Size = 0;
        TJsonPin *Decoded = nullptr;
    };

    // Message is marked for translation where it is given.
    bool Fail(const char *message)
    {
        FMessage = QCoreApplication::translate("TJsonParser", message);
        return false;
    }

    TJsonValue *NewValue(TJsonKind kind) { return TJsonValue::Make(FArena, kind); }

    TJsonValue *NewString(const TQuoted &text)
    {
        TJsonValue *v = NewValue(stString);
        if (text.Decoded) {
            v->FForm = TJsonValue::fPinned;
            v->FPin = text.Decoded;
            v->FSize = text.Decoded->Text.size();
        } else {
            SetView(v, text.Begin, text.Size);
        }
        return v;
    }

    static void SetView(TJsonValue *v, const char *begin, qsizetype size)
    {
        v->FForm = TJsonValue::fUtf8;
        v->FUtf8 = begin;
        v->FSize = size;
    }

    static void SetView(TJsonValue *v, const char16_t *begin, qsizetype size)
    {
        v->FForm = TJsonValue::fUtf16;
        v->FUtf16 = begin;
        v->FSize = size;
    }

    bool SetName(TJsonMember &member, const void *name, qsizetype size, bool utf16)
    {
        if (size >= qsizetype(TJsonMember::NameUtf16Bit))
            return Fail(QT_TRANSLATE_NOOP("TJsonParser", "a member name is too long"));
        member.Name = name;
        member.NameSize = quint32(size) | (utf16 ? TJsonMember::NameUtf16Bit : 0);
        return true;
    }

    bool SetName(TJsonMember &member, const Unit *begin, const Unit *end)
    {
        member.Hash = hashOf(begin, end);
        return SetName(member, begin, end - begin, sizeof(Unit) == 2);
    }

    void SkipSpace()
    {
        while (FPos < FEnd) {
            const Unit c = *FPos;
            if (isSpace(c)) {
                ++FPos;
            } else if (c == '/' && FPos + 1 < FEnd && FPos[1] == '*') {
                const Unit *p = FPos + 2;
                while (p + 1 < FEnd && !(p[0] == '*' && p[1] == '/'))
                    ++p;
                FPos = p + 1 < FEnd ? p + 2 : FEnd;
            } else if (c == '/' && FPos + 1 < FEnd && FPos[1] == '/') {
                FPos += 2;
                while (FPos < FEnd && *FPos != '\n')
                    ++FPos;
            } else {
                return;
            }
        }
    }

    // closer: the closing bracket of the enclosing container, 0 at the outermost level.
    bool ParseValue(int level, char closer, TJsonValue *&out)
    {
        if (level > MaxDepth)
            return Fail(QT_TRANSLATE_NOOP("TJsonParser", "values nest deeper than 32 levels"));
        SkipSpace();
        if (FPos == FEnd) {
            if (closer)
                return Fail(QT_TRANSLATE_NOOP("TJsonParser", "the text ends inside a value"));
            out = NewString(TQuoted{FPos, 0, nullptr}); // an empty text is an empty string
            return true;
        }
        const Unit c = *FPos;
        switch (c) {
        case '{':
            return ParseObject(level, out);
        case '[':
            return ParseArray(level, out);
        case '"':
        case '\'': {
            TQuoted text;
            if (!ParseQuoted(text))
                return false;
            out = NewString(text);
            return true;
        }
        default:
            break;
        }
        if (c == '-' || (c >= '0' && c <= '9'))
            return ParseNumber(out);
        if (ParseLiteral("true", stBoolean, out) || ParseLiteral("false", stBoolean, out) ||
            ParseLiteral("null", stNull, out))
            return true;
        return ParseUnquotedText(closer, out);
    }

    bool ParseLiteral(const char *word, TJsonKind kind, TJsonValue *&out)
    {
        const qsizetype n = qsizetype(std::strlen(word));
        if (FEnd - FPos < n)
            return false;
        for (qsizetype i = 0; i < n; ++i) {
            if (FPos[i] != Unit(word[i]))
                return false;
        }
        // "trueish" or "null.x" is unquoted text, not a literal.
        if (FPos + n < FEnd) {
            const QChar next(firstUnit(FPos + n, FEnd));
            if (next.isLetter() || next == u'_' || next == u'.')
                return false;
        }
        FPos += n;
        out = NewValue(kind);
        out->FBool = word[0] == 't';
        return true;
    }

    bool ParseNumber(TJsonValue *&out)
    {
        const Unit *start = FPos;
        bool point = false;
        bool exponent = false;
        bool plainDigits = true;
        while (FPos < FEnd && isNumberChar(*FPos)) {
            const Unit c = *FPos;
            point = point || c == '.';
            exponent = exponent || c == 'e' || c == 'E';
            plainDigits = plainDigits && ((c >= '0' && c <= '9') || (c == '-' && FPos == start));
            ++FPos;
        }
        const qsizetype length = FPos - start;
        // The common case, a decimal integer that cannot overflow, without a detour through text.
        const bool negative = *start == '-';
        if (plainDigits && length > (negative ? 1 : 0) && length <= 18) {
            qint64 value = 0;
            for (const Unit *p = start + (negative ? 1 : 0); p != FPos; ++p)
                value = value * 10 + (*p - '0');
            out = NewValue(stInt);
            out->FInt = negative ? -value : value;
            return true;
        }
        QString token(length, Qt::Uninitialized);
        std::copy(start, FPos, reinterpret_cast<char16_t *>(token.data()));
        bool ok = false;
        if (!point && !exponent) {
            const qint64 value = token.toLongLong(&ok);
            if (ok) {
                out = NewValue(stInt);
                out->FInt = value;
                return true;
            }
        } else if (point && !exponent && ParseCurrency(token, out)) {
            return true;
        }
        const double value = token.toDouble(&ok);
        if (!ok)
            return Fail(QT_TRANSLATE_NOOP("TJsonParser", "malformed number"));
        out = NewValue(stDouble);
        out->FDouble = value;
        return true;
    }

    // "-"?digits"."digits with at most four decimals and at least one digit; larger numbers
    // than the fixed-point range are left to the double path.
    bool ParseCurrency(QStringView token, TJsonValue *&out)
    {
        const qsizetype dot = token.indexOf(u'.');
        const bool negative = token.startsWith(u'-');
        const QStringView whole = token.mid(negative ? 1 : 0, dot - (negative ? 1 : 0));
        const QStringView decimals = token.mid(dot + 1);
        const auto allDigits = [](QStringView s) {
            return std::all_of(s.begin(), s.end(), [](QChar d) { return d >= u'0' && d <= u'9'; });
        };
        if (decimals.size() > 4 || whole.size() > 14 || whole.size() + decimals.size() == 0 ||
            !allDigits(whole) || !allDigits(decimals))
            return false;
        qint64 count = 0;
        for (const QChar d : whole)
            count = count * 10 + (d.unicode() - u'0');
        for (qsizetype i = 0; i < 4; ++i)
            count = count * 10 + (i < decimals.size() ? decimals[i].unicode() - u'0' : 0);
        out = NewValue(stCurrency);
        out->FInt = negative ? -count : count;
        return true;
    }

    // At FPos: the opening quote. Without escapes the text is a view between the quotes.
    bool ParseQuoted(TQuoted &text)
    {
        const Unit quote = *FPos++;
        const Unit *start = FPos;
        while (FPos < FEnd && *FPos != quote && *FPos != '\\')
            ++FPos;
        if (FPos == FEnd)
            return Fail(QT_TRANSLATE_NOOP("TJsonParser", "the text ends inside a string"));
        if (*FPos == quote) {
            text = TQuoted{start, FPos - start, nullptr};
            ++FPos;
            return true;
        }
        // Escapes only shorten the text, so the raw length up to the first quote is room enough
        // unless an escaped quote comes before the closing one.
        QString decoded(findUnit(FPos, FEnd, quote) - start + 2, Qt::Uninitialized);
        char16_t *out = appendUnits(start, FPos, reinterpret_cast<char16_t *>(decoded.data()));
        while (FPos < FEnd && *FPos != quote) {
            // Room for the two code units that one step may give.
            if (reinterpret_cast<const char16_t *>(decoded.constEnd()) - out < 2) {
                const qsizetype used =
                    out - reinterpret_cast<const char16_t *>(decoded.constData());
                decoded.resize(2 * decoded.size());
                out = reinterpret_cast<char16_t *>(decoded.data()) + used;
            }
            if (*FPos != '\\') {
                if (sizeof(Unit) == 1 && quint8(*FPos) >= 0x80) {
                    const Unit *charEnd = FPos + 1;
                    while (charEnd < FEnd && (quint8(*charEnd) & 0xC0) == 0x80)
                        ++charEnd;
                    out = appendUnits(FPos, charEnd, out);
                    FPos = charEnd;
                } else {
                    *out++ = char16_t(*FPos++);
                }
                continue;
            }
            if (++FPos == FEnd)
                break;
            const Unit c = *FPos++;
            switch (c) {
            case 'b':
                *out++ = u'\b';
                break;
            case 'f':
                *out++ = u'\f';
                break;
            case 'n':
                *out++ = u'\n';
                break;
            case 'r':
                *out++ = u'\r';
                break;
            case 't':
                *out++ = u'\t';
                break;
            case 'u':
            case 'x': {
                const int digits = c == 'u' ? 4 : 2;
                int unit = 0;
                for (int i = 0; i < digits; ++i) {
                    const int d = FPos < FEnd ? HexDigitValue(char16_t(*FPos)) : -1;
                    if (d < 0)
                        return Fail(
                            QT_TRANSLATE_NOOP("TJsonParser", "malformed escape in a string"));
                    unit = unit * 16 + d;
                    ++FPos;
                }
                *out++ = char16_t(unit);
                break;
            }
            default:
                // The escaped character itself, which may take several bytes of UTF-8.
                --FPos;
                const Unit *charEnd = FPos + 1;
                if constexpr (sizeof(Unit) == 1) {
                    while (charEnd < FEnd && (quint8(*charEnd) & 0xC0) == 0x80)
                        ++charEnd;
                }
                out = appendUnits(FPos, charEnd, out);
                FPos = charEnd;
                break;
            }
        }
        if (FPos == FEnd)
            return Fail(QT_TRANSLATE_NOOP("TJsonParser", "the text ends inside a string"));
        ++FPos;
        decoded.truncate(out - reinterpret_cast<const char16_t *>(decoded.constData()));
        text.Decoded = FArena->Pin(decoded);
        return true;
    }

    // Unquoted text runs up to the next "," or the enclosing closer (the end of the text at the
    // outermost level), without trailing white space.
    bool ParseUnquotedText(char closer, TJsonValue *&out)
    {
        const Unit *start = FPos;
        while (FPos < FEnd && !(closer && (*FPos == ',' || *FPos == Unit(closer))))
            ++FPos;
        if (closer && FPos == FEnd)
            return Fail(QT_TRANSLATE_NOOP("TJsonParser", "the text ends inside a value"));
        const Unit *end = FPos;
        while (end > start && isSpace(end[-1]))
            --end;
        out = NewString(TQuoted{start, end - start, nullptr});
        return true;
    }

    bool ParseName(TJsonMember &member)
    {
        const Unit c = *FPos;
        if (c == '"' || c == '\'') {
            TQuoted name;
            if (!ParseQuoted(name))
                return false;
            if (name.Decoded) {
                const QString &text = name.Decoded->Text;
                member.Hash = JsonMemberHash(text);
                if (!SetName(member, text.utf16(), text.size(), true))
                    return false;
            } else if (!SetName(member, name.Begin, name.Begin + name.Size)) {
                return false;
            }
            SkipSpace();
        } else {
            if (c == '(' || c == ')' || c == ',' || c == '.' || c == ':' || c == '[' || c == ']' ||
                c == '{')
                return Fail(QT_TRANSLATE_NOOP("TJsonParser", "a member name is expected"));
            const Unit *start = FPos;
            while (FPos < FEnd && *FPos != ':')
                ++FPos;
            if (FPos == FEnd)
                return Fail(QT_TRANSLATE_NOOP("TJsonParser", "the text ends inside a member name"));
            if (!SetName(member, start, FPos))
                return false;
        }
        if (FPos == FEnd || *FPos != ':')
            return Fail(QT_TRANSLATE_NOOP("TJsonParser", "':' is expected after a member name"));
        ++FPos;
        return true;
    }

    bool ParseObject(int level, TJsonValue *&out)
    {
        ++FPos; // "{"
        const size_t first = FMemberStack.size();
        for (;;) {
            SkipSpace();
            if (FPos == FEnd)
                return Fail(QT_TRANSLATE_NOOP("TJsonParser", "the object is not closed"));
            if (*FPos == '}')
                break;
            TJsonMember member{};
            if (!ParseName(member) || !ParseValue(level + 1, '}', member.Value))
                return false;
            FMemberStack.push_back(member);
            SkipSpace();
            if (FPos == FEnd)
                return Fail(QT_TRANSLATE_NOOP("TJsonParser", "the object is not closed"));
            if (*FPos == '}')
                break;
            if (*FPos != ',')
                return Fail(QT_TRANSLATE_NOOP("TJsonParser", "',' or '}' is expected"));
            ++FPos;
        }
        ++FPos; // "}"
        out = NewValue(stObject);
        const size_t count = FMemberStack.size() - first;
        if (count) {
            auto *members =
                static_cast<TJsonMember *>(FArena->Allocate(count * sizeof(TJsonMember)));
            std::copy(FMemberStack.begin() + qsizetype(first), FMemberStack.end(), members);
            out->FMembers = members;
            out->FSize = sortMembers(members, members + count) - members;
            out->FCapacity = quint32(count);
            FMemberStack.resize(first);
        }
        return true;
    }

    bool ParseArray(int level, TJsonValue *&out)
    {
        ++FPos; // "["
        const size_t first = FElementStack.size();
        SkipSpace();
        while (FPos == FEnd || *FPos != ']') {
            TJsonValue *element = nullptr;
            if (!ParseValue(level + 1, ']', element))
                return false;
            FElementStack.push_back(element);
            bool closed = false;
            if (!AfterArrayElement(closed))
                return false;
            if (closed)
                break;
        }
        ++FPos; // "]"
        out = NewValue(stArray);
        const size_t count = FElementStack.size() - first;
        if (count) {
            if (count > 0xFFFFFFFFu)
                throw std::length_error("array too long");
            auto *elements =
                static_cast<TJsonValue **>(FArena->Allocate(count * sizeof(TJsonValue *)));
            std::copy(FElementStack.begin() + qsizetype(first), FElementStack.end(), elements);
            out->FElements = elements;
            out->FSize = qsizetype(count);
            out->FCapacity = quint32(count);
            FElementStack.resize(first);
        }
        return true;
    }

    TJsonArena *FArena;
    const Unit *FBegin;
    const Unit *FEnd;
    const Unit *FPos;
    QString FMessage;
    std::vector<TJsonMember> FMemberStack;
    std::vector<TJsonValue *> FElementStack;
};

namespace
{

// A parse into a new arena that keeps Source (the text the values point into) alive.
template <typename Unit>
TJsonValuePtr parseInto(TJsonArena *arena, const Unit *begin, const Unit *end,
                        TJsonParseError *error)
{
    arena->Ref(); // released at the end: the result's handle holds the arena from then on
    TJsonValuePtr result;
    try {
        TJsonParser<Unit> parser(arena, begin, end);
        TJsonValue *value = parser.ParseTop();
        if (value)
            result = TJsonParser<Unit>::Handle(value);
        else if (error)
            parser.FillError(*error);
    } catch (...) {
        arena->Unref();
        throw;
    }
    arena->Unref();
    return result;
}

// The tree takes about twice the text: one block of that size serves most parses.
std::size_t firstBlockFor(qsizetype textBytes)
{
    return std::clamp<std::size_t>(std::size_t(textBytes) * 2, 1024, std::size_t(4) << 20);
}

} // namespace

TJsonValuePtr ParseString(QStringView Text, TJsonParseError *Error)
{
    TJsonArena *arena = TJsonArena::Create(firstBlockFor(Text.size() * 2));
    arena->Utf16Source = Text.toString();
    const auto *begin = reinterpret_cast<const char16_t *>(arena->Utf16Source.utf16());
    return parseInto(arena, begin, begin + Text.size(), Error);
}

TJsonValuePtr ParseUtf8(const QByteArray &Text, TJsonParseError *Error)
{
    TJsonArena *arena = TJsonArena::Create(firstBlockFor(Text.size()));
    arena->Utf8Source = Text;
    const char *begin = arena->Utf8Source.constData();
    return parseInto(arena, begin, begin + Text.size(), Error);
}

TJsonElementsResult ParseUtf8Elements(const QByteArray &Text, QStringView Name,
                                      const std::function<void(const TJsonValuePtr &)> &Element)
{
    // Both arenas are held here for the whole parse and released however it ends.
    struct THeld {
        TJsonArena *Arena;
        explicit THeld(TJsonArena *arena) : Arena(arena) { Arena->Ref(); }
        ~THeld() { Arena->Unref(); }
        THeld(const THeld &) = delete;
        THeld &operator=(const THeld &) = delete;
    };
    THeld top(TJsonArena::Create(4096));
    THeld elements(TJsonArena::Create(TJsonParser<char>::ElementBlock));
    elements.Arena->Utf8Source = Text;
    const char *begin = Text.constData();
    TJsonParser<char> parser(top.Arena, begin, begin + Text.size());
    return parser.ParseElements({Name.utf16(), Name.size(), false}, elements.Arena, Element);
}
