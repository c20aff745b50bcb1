// The lenient JSON parser: comments, single quotes, unquoted names and texts, trailing commas.

#include "model/JsonValue.h"

#include "model/IntegerText.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace
{

constexpr int MaxDepth = 32;

bool isSpace(char16_t c)
{
    return c == u' ' || c == u'\t' || c == u'\n' || c == u'\r' || c == u'\f' || c == u'\b';
}

bool isNumberChar(char16_t c)
{
    return (c >= u'0' && c <= u'9') || c == u'+' || c == u'-' || c == u'.' || c == u'e' ||
           c == u'E';
}

bool sameName(const QString &a, const QString &b)
{
    return a.size() == b.size() &&
           std::memcmp(a.constData(), b.constData(), size_t(a.size()) * 2) == 0;
}

// Sorts the members into member order; of two members with one name the later one stays.
void sortMembers(std::vector<TJsonMember> &members)
{
    const auto less = [](const TJsonMember &a, const TJsonMember &b) {
        return MemberLess(a.Hash, a.Name, b.Hash, b.Name);
    };
    // Insertion sort for the small objects of a document avoids the buffer of stable_sort.
    if (members.size() <= 16) {
        for (size_t i = 1; i < members.size(); ++i) {
            for (size_t j = i; j > 0 && less(members[j], members[j - 1]); --j)
                std::swap(members[j], members[j - 1]);
        }
    } else {
        std::stable_sort(members.begin(), members.end(), less);
    }
    // Equal names are now neighbours in their original order: keep the last of each run.
    size_t out = 0;
    for (size_t i = 0; i < members.size(); ++i) {
        if (i + 1 < members.size() && members[i + 1].Hash == members[i].Hash &&
            sameName(members[i + 1].Name, members[i].Name))
            continue;
        if (out != i)
            members[out] = std::move(members[i]);
        ++out;
    }
    members.resize(out);
}

} // namespace

/// One parse over one text. Values are built bottom-up: members and elements of the open
/// containers wait on two shared stacks and move into an exactly sized array when their
/// container closes.
class TJsonParser
{
public:
    explicit TJsonParser(QStringView text)
        : FBegin(text.utf16()), FEnd(text.utf16() + text.size()), FPos(FBegin)
    {
    }

    TJsonValuePtr ParseTop()
    {
        TJsonValuePtr value;
        if (!ParseValue(1, 0, value))
            return TJsonValuePtr();
        return value;
    }

    void FillError(TJsonParseError &error) const
    {
        error.Offset = FPos - FBegin;
        error.Message = FMessage;
        error.Line = 1;
        const char16_t *lineStart = FBegin;
        for (const char16_t *p = FBegin; p < FPos; ++p) {
            if (*p == u'\n') {
                ++error.Line;
                lineStart = p + 1;
            }
        }
        error.Column = int(FPos - lineStart) + 1;
    }

private:
    bool Fail(const char *message)
    {
        FMessage = QString::fromLatin1(message);
        return false;
    }

    void SkipSpace()
    {
        while (FPos < FEnd) {
            const char16_t c = *FPos;
            if (isSpace(c)) {
                ++FPos;
            } else if (c == u'/' && FPos + 1 < FEnd && FPos[1] == u'*') {
                const char16_t *p = FPos + 2;
                while (p + 1 < FEnd && !(p[0] == u'*' && p[1] == u'/'))
                    ++p;
                FPos = p + 1 < FEnd ? p + 2 : FEnd;
            } else if (c == u'/' && FPos + 1 < FEnd && FPos[1] == u'/') {
                FPos += 2;
                while (FPos < FEnd && *FPos != u'\n')
                    ++FPos;
            } else {
                return;
            }
        }
    }

    // closer: the closing bracket of the enclosing container, 0 at the outermost level.
    bool ParseValue(int level, char16_t closer, TJsonValuePtr &out)
    {
        if (level > MaxDepth)
            return Fail("values nest deeper than 32 levels");
        SkipSpace();
        if (FPos == FEnd) {
            if (closer)
                return Fail("the text ends inside a value");
            out = TJsonValue::NewString(QString()); // an empty text is an empty string
            return true;
        }
        const char16_t c = *FPos;
        switch (c) {
        case u'{':
            return ParseObject(level, out);
        case u'[':
            return ParseArray(level, out);
        case u'"':
        case u'\'': {
            QString text;
            if (!ParseQuoted(text))
                return false;
            out = TJsonValue::NewString(text);
            return true;
        }
        default:
            break;
        }
        if (c == u'-' || (c >= u'0' && c <= u'9'))
            return ParseNumber(out);
        if (ParseLiteral(u"true", out) || ParseLiteral(u"false", out) || ParseLiteral(u"null", out))
            return true;
        return ParseUnquotedText(closer, out);
    }

    bool ParseLiteral(QStringView word, TJsonValuePtr &out)
    {
        const qsizetype n = word.size();
        if (FEnd - FPos < n || std::memcmp(FPos, word.utf16(), size_t(n) * 2) != 0)
            return false;
        // "trueish" or "null.x" is unquoted text, not a literal.
        if (FPos + n < FEnd) {
            const QChar next(FPos[n]);
            if (next.isLetter() || next == u'_' || next == u'.')
                return false;
        }
        FPos += n;
        if (word == u"null")
            out = TJsonValue::NewNull();
        else
            out = TJsonValue::NewBoolean(word == u"true");
        return true;
    }

    bool ParseNumber(TJsonValuePtr &out)
    {
        const char16_t *start = FPos;
        bool point = false;
        bool exponent = false;
        while (FPos < FEnd && isNumberChar(*FPos)) {
            point = point || *FPos == u'.';
            exponent = exponent || *FPos == u'e' || *FPos == u'E';
            ++FPos;
        }
        const QStringView token(start, FPos - start);
        bool ok = false;
        if (!point && !exponent) {
            const qint64 value = token.toLongLong(&ok);
            if (ok) {
                out = TJsonValue::NewInt(value);
                return true;
            }
        } else if (point && !exponent && ParseCurrency(token, out)) {
            return true;
        }
        const double value = token.toDouble(&ok);
        if (!ok)
            return Fail("malformed number");
        out = TJsonValue::NewDouble(value);
        return true;
    }

    // "-"?digits"."digits with at most four decimals and at least one digit; larger numbers
    // than the fixed-point range are left to the double path.
    static bool ParseCurrency(QStringView token, TJsonValuePtr &out)
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
        out = TJsonValue::NewCurrency(negative ? -count : count);
        return true;
    }

    // At FPos: the opening quote. Fills text with the unescaped content.
    bool ParseQuoted(QString &text)
    {
        const char16_t quote = *FPos++;
        const char16_t *start = FPos;
        while (FPos < FEnd && *FPos != quote && *FPos != u'\\')
            ++FPos;
        if (FPos == FEnd)
            return Fail("the text ends inside a string");
        if (*FPos == quote) { // no escapes: one copy of the run
            text = QString(reinterpret_cast<const QChar *>(start), FPos - start);
            ++FPos;
            return true;
        }
        text = QString(reinterpret_cast<const QChar *>(start), FPos - start);
        while (FPos < FEnd && *FPos != quote) {
            if (*FPos != u'\\') {
                const char16_t *run = FPos;
                while (FPos < FEnd && *FPos != quote && *FPos != u'\\')
                    ++FPos;
                text.append(reinterpret_cast<const QChar *>(run), FPos - run);
                continue;
            }
            if (++FPos == FEnd)
                break;
            const char16_t c = *FPos++;
            switch (c) {
            case u'b':
                text.append(QChar(u'\b'));
                break;
            case u'f':
                text.append(QChar(u'\f'));
                break;
            case u'n':
                text.append(QChar(u'\n'));
                break;
            case u'r':
                text.append(QChar(u'\r'));
                break;
            case u't':
                text.append(QChar(u'\t'));
                break;
            case u'u':
            case u'x': {
                const int digits = c == u'u' ? 4 : 2;
                int unit = 0;
                for (int i = 0; i < digits; ++i) {
                    const int d = FPos < FEnd ? HexDigitValue(*FPos) : -1;
                    if (d < 0)
                        return Fail("malformed escape in a string");
                    unit = unit * 16 + d;
                    ++FPos;
                }
                text.append(QChar(char16_t(unit)));
                break;
            }
            default:
                text.append(QChar(c));
                break;
            }
        }
        if (FPos == FEnd)
            return Fail("the text ends inside a string");
        ++FPos;
        return true;
    }

    // Unquoted text runs up to the next "," or the enclosing closer (the end of the text at the
    // outermost level), without trailing white space.
    bool ParseUnquotedText(char16_t closer, TJsonValuePtr &out)
    {
        const char16_t *start = FPos;
        while (FPos < FEnd && !(closer && (*FPos == u',' || *FPos == closer)))
            ++FPos;
        if (closer && FPos == FEnd)
            return Fail("the text ends inside a value");
        const char16_t *end = FPos;
        while (end > start && isSpace(end[-1]))
            --end;
        out = TJsonValue::NewString(QString(reinterpret_cast<const QChar *>(start), end - start));
        return true;
    }

    // Member names repeat in every object of a document: share one string per name.
    QString InternName(const char16_t *start, qsizetype length, quint32 hash)
    {
        QString &slot = FNameCache[hash & (FNameCache.size() - 1)];
        if (slot.size() != length || std::memcmp(slot.constData(), start, size_t(length) * 2) != 0)
            slot = QString(reinterpret_cast<const QChar *>(start), length);
        return slot;
    }

    bool ParseName(TJsonMember &member)
    {
        const char16_t c = *FPos;
        if (c == u'"' || c == u'\'') {
            const char16_t *start = FPos + 1;
            QString name;
            if (!ParseQuoted(name))
                return false;
            // Without escapes the name is the run between the quotes and can be shared.
            const qsizetype rawLength = FPos - 1 - start;
            member.Hash = JsonMemberHash(name);
            member.Name =
                rawLength == name.size() ? InternName(start, rawLength, member.Hash) : name;
            SkipSpace();
        } else {
            if (c == u'(' || c == u')' || c == u',' || c == u'.' || c == u':' || c == u'[' ||
                c == u']' || c == u'{')
                return Fail("a member name is expected");
            const char16_t *start = FPos;
            while (FPos < FEnd && *FPos != u':')
                ++FPos;
            if (FPos == FEnd)
                return Fail("the text ends inside a member name");
            const QStringView name(start, FPos - start);
            member.Hash = JsonMemberHash(name);
            member.Name = InternName(start, name.size(), member.Hash);
        }
        if (FPos == FEnd || *FPos != u':')
            return Fail("':' is expected after a member name");
        ++FPos;
        return true;
    }

    bool ParseObject(int level, TJsonValuePtr &out)
    {
        ++FPos; // "{"
        const size_t first = FMemberStack.size();
        for (;;) {
            SkipSpace();
            if (FPos == FEnd)
                return Fail("the object is not closed");
            if (*FPos == u'}')
                break;
            TJsonMember member;
            if (!ParseName(member) || !ParseValue(level + 1, u'}', member.Value))
                return false;
            FMemberStack.push_back(std::move(member));
            SkipSpace();
            if (FPos == FEnd)
                return Fail("the object is not closed");
            if (*FPos == u'}')
                break;
            if (*FPos != u',')
                return Fail("',' or '}' is expected");
            ++FPos;
        }
        ++FPos; // "}"
        out = TJsonValue::NewObject();
        std::vector<TJsonMember> &members = out->FMembers;
        members.reserve(FMemberStack.size() - first);
        std::move(FMemberStack.begin() + qsizetype(first), FMemberStack.end(),
                  std::back_inserter(members));
        FMemberStack.resize(first);
        sortMembers(members);
        return true;
    }

    bool ParseArray(int level, TJsonValuePtr &out)
    {
        ++FPos; // "["
        const size_t first = FElementStack.size();
        SkipSpace();
        while (FPos == FEnd || *FPos != u']') {
            TJsonValuePtr element;
            if (!ParseValue(level + 1, u']', element))
                return false;
            FElementStack.push_back(std::move(element));
            SkipSpace();
            if (FPos == FEnd)
                return Fail("the array is not closed");
            if (*FPos == u']')
                break;
            if (*FPos != u',')
                return Fail("',' or ']' is expected");
            ++FPos;
            SkipSpace();
        }
        ++FPos; // "]"
        out = TJsonValue::NewArray();
        std::vector<TJsonValuePtr> &elements = out->FElements;
        elements.reserve(FElementStack.size() - first);
        std::move(FElementStack.begin() + qsizetype(first), FElementStack.end(),
                  std::back_inserter(elements));
        FElementStack.resize(first);
        return true;
    }

    const char16_t *FBegin;
    const char16_t *FEnd;
    const char16_t *FPos;
    QString FMessage;
    std::vector<TJsonMember> FMemberStack;
    std::vector<TJsonValuePtr> FElementStack;
    std::array<QString, 256> FNameCache;
};

TJsonValuePtr ParseString(QStringView Text, TJsonParseError *Error)
{
    TJsonParser parser(Text);
    TJsonValuePtr value = parser.ParseTop();
    if (!value && Error)
        parser.FillError(*Error);
    return value;
}
