#include "model/LineBreaks.h"

#include <QtEndian>

#include <cstring>

namespace
{

void appendCrLf(QString &text)
{
    text.append(u"\r\n");
}

void appendCrLf(QByteArray &text)
{
    text.append("\r\n", 2);
}

bool endsWithCrLf(const QByteArray &text)
{
    return text.endsWith("\r\n");
}

// Whether every CR is followed by LF and every LF follows a CR.
template <typename Unit> bool onlyCrLfBreaksEach(const Unit *begin, const Unit *end)
{
    bool afterCr = false;
    for (const Unit *p = begin; p != end; ++p) {
        if ((*p == Unit('\n')) != afterCr)
            return false;
        afterCr = *p == Unit('\r');
    }
    return !afterCr;
}

bool onlyCrLfBreaks(const char16_t *begin, const char16_t *end)
{
    return onlyCrLfBreaksEach(begin, end);
}

// The same for bytes, eight at a time: documents written by us are checked in no time.
bool onlyCrLfBreaks(const char *begin, const char *end)
{
    if constexpr (Q_BYTE_ORDER == Q_LITTLE_ENDIAN) {
        constexpr quint64 low7 = 0x7F7F7F7F7F7F7F7Full;
        // 0x80 in every byte of w that equals the byte in pattern.
        const auto equalBytes = [](quint64 w, quint64 pattern) {
            const quint64 x = w ^ pattern;
            return ~(((x & low7) + low7) | x | low7);
        };
        quint64 carry = 0; // 0x80 in the lowest byte when the byte before the word is a CR
        quint64 lone = 0;
        for (; end - begin >= 8; begin += 8) {
            quint64 w;
            std::memcpy(&w, begin, 8);
            const quint64 cr = equalBytes(w, 0x0D0D0D0D0D0D0D0Dull);
            const quint64 lf = equalBytes(w, 0x0A0A0A0A0A0A0A0Aull);
            lone |= lf ^ ((cr << 8) | carry);
            carry = cr >> 56;
        }
        if (lone)
            return false;
        if (carry) { // the last word ended with a CR
            if (begin == end || *begin != '\n')
                return false;
            ++begin;
        }
    }
    return onlyCrLfBreaksEach(begin, end);
}

// Text is a QString (Unit char16_t) or a QByteArray of UTF-8 (Unit char): CR and LF are the
// same code units in both.
template <typename Text, typename Unit> Text withCrLfBreaks(Text text)
{
    const Unit *begin = reinterpret_cast<const Unit *>(text.constData());
    const Unit *end = begin + text.size();
    if (onlyCrLfBreaks(begin, end))
        return text;
    const Unit *p = begin;
    // Find the first break that is not CR LF.
    for (; p != end; ++p) {
        if (*p > Unit('\r') || *p < Unit('\n'))
            continue;
        if (*p == Unit('\r')) {
            if (p + 1 == end || p[1] != Unit('\n'))
                break;
            ++p;
        } else if (*p == Unit('\n')) {
            break;
        }
    }
    if (p == end)
        return text;

    Text out;
    out.reserve(text.size() + text.size() / 16 + 2);
    out.append(text.constData(), p - begin);
    while (p != end) {
        const Unit *run = p;
        while (p != end && *p != Unit('\r') && *p != Unit('\n'))
            ++p;
        out.append(reinterpret_cast<const typename Text::value_type *>(run), p - run);
        if (p == end)
            break;
        if (*p == Unit('\r') && p + 1 != end && p[1] == Unit('\n'))
            ++p;
        ++p;
        appendCrLf(out);
    }
    return out;
}

template <typename Text, typename Unit> Text normaliseLineBreaks(Text text)
{
    text = withCrLfBreaks<Text, Unit>(std::move(text));
    if (!text.isEmpty() && !endsWithCrLf(text))
        appendCrLf(text);
    return text;
}

} // namespace

QString WithCrLfBreaks(QString Text)
{
    return withCrLfBreaks<QString, char16_t>(std::move(Text));
}

QByteArray NormaliseLineBreaks(QByteArray Text)
{
    return normaliseLineBreaks<QByteArray, char>(std::move(Text));
}
