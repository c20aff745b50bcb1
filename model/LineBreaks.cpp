#include "model/LineBreaks.h"

QString NormaliseLineBreaks(QString Text)
{
    const char16_t *begin = reinterpret_cast<const char16_t *>(Text.constData());
    const char16_t *end = begin + Text.size();
    const char16_t *p = begin;
    // Find the first break that is not CR LF; documents written by us have none.
    for (; p != end; ++p) {
        if (*p == u'\r') {
            if (p + 1 == end || p[1] != u'\n')
                break;
            ++p;
        } else if (*p == u'\n') {
            break;
        }
    }
    if (p == end) {
        if (!Text.isEmpty() && !Text.endsWith(u"\r\n"))
            Text.append(u"\r\n");
        return Text;
    }

    QString out;
    out.reserve(Text.size() + Text.size() / 16 + 2);
    out.append(Text.constData(), p - begin);
    while (p != end) {
        const char16_t *run = p;
        while (p != end && *p != u'\r' && *p != u'\n')
            ++p;
        out.append(reinterpret_cast<const QChar *>(run), p - run);
        if (p == end)
            break;
        if (*p == u'\r' && p + 1 != end && p[1] == u'\n')
            ++p;
        ++p;
        out.append(u"\r\n");
    }
    if (!out.endsWith(u"\r\n"))
        out.append(u"\r\n");
    return out;
}
