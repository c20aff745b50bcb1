#include "model/IntegerText.h"

#include "model/GlyphbookError.h"

#include <QCoreApplication>

int HexDigitValue(char16_t c)
{
    if (c >= u'0' && c <= u'9')
        return c - u'0';
    if (c >= u'a' && c <= u'f')
        return c - u'a' + 10;
    if (c >= u'A' && c <= u'F')
        return c - u'A' + 10;
    return -1;
}

std::optional<qint32> TryStrToInt(const QString &text)
{
    const qsizetype n = text.size();
    qsizetype i = 0;
    while (i < n && text.at(i) == u' ')
        ++i;
    bool negative = false;
    if (i < n && (text.at(i) == u'+' || text.at(i) == u'-')) {
        negative = text.at(i) == u'-';
        ++i;
    }

    bool hex = false;
    if (i < n && (text.at(i) == u'$' || text.at(i) == u'x' || text.at(i) == u'X')) {
        hex = true;
        ++i;
    } else if (i + 1 < n && text.at(i) == u'0' &&
               (text.at(i + 1) == u'x' || text.at(i + 1) == u'X')) {
        hex = true;
        i += 2;
    }
    if (i == n)
        return std::nullopt; // empty, a lone sign or a lone prefix

    // Accumulate in 64 bits and stop as soon as the value leaves the allowed range, so a long
    // run of digits cannot overflow.
    quint64 value = 0;
    if (hex) {
        for (; i < n; ++i) {
            const int d = HexDigitValue(text.at(i).unicode());
            if (d < 0)
                return std::nullopt;
            value = value * 16 + quint64(d);
            if (value > 0xFFFFFFFFull)
                return std::nullopt;
        }
        // The 32-bit pattern is a signed number: eight F digits are -1.
        const qint32 pattern = qint32(quint32(value));
        return negative ? qint32(0u - quint32(pattern)) : pattern;
    }

    const quint64 limit = negative ? 2147483648ull : 2147483647ull;
    for (; i < n; ++i) {
        const char16_t u = text.at(i).unicode();
        if (u < u'0' || u > u'9')
            return std::nullopt;
        value = value * 10 + quint64(u - u'0');
        if (value > limit)
            return std::nullopt;
    }
    return negative ? qint32(-qint64(value)) : qint32(value);
}

qint32 StrToInt(const QString &text)
{
    if (const auto value = TryStrToInt(text))
        return *value;
    throw EConvertError(
        QCoreApplication::translate("IntegerText", "'%1' is not a valid integer value").arg(text));
}

QString IntToStr(qint32 value)
{
    return QString::number(value);
}
