#include "model/LineBreaks.h"

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

bool endsWithCrLf(const QString &text)
{
    return text.endsWith(u"\r\n");
}

bool endsWithCrLf(const QByteArray &text)
{
    return text.endsWith("\r\n");
}

// Text is a QString (Unit char16_t) or a QByteArray of UTF-8 (Unit char): CR and LF are the
// same code units in both.
template <typename Text, typename Unit> Text withCrLfBreaks(Text text)
{
    const Unit *begin = reinterpret_cast<const Unit *>(text.constData());
    const Unit *end = begin + text.size();
    const Unit *p = begin;
    // Find the first break that is not CR LF; documents written by us have none.
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

QString NormaliseLineBreaks(QString Text)
{
    return normaliseLineBreaks<QString, char16_t>(std::move(Text));
}

QByteArray NormaliseLineBreaks(QByteArray Text)
{
    return normaliseLineBreaks<QByteArray, char>(std::move(Text));
}
