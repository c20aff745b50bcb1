#include "ui/TextLines.h"

#include "model/GlyphbookError.h"

#include <QFile>
#include <QStringDecoder>

namespace
{
// Windows-1252 differs from Latin-1 only in 0x80..0x9F. The five unassigned bytes map to the
// C1 control with the same value, as the platform's own conversion does.
const char16_t kCp1252High[32] = {0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                  0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
                                  0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                  0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

QString decodeWindows1252(const QByteArray &bytes)
{
    QString text(bytes.size(), Qt::Uninitialized);
    QChar *out = text.data();
    for (const char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        *out++ = (b >= 0x80 && b <= 0x9F) ? QChar(kCp1252High[b - 0x80]) : QChar(char16_t(b));
    }
    return text;
}

QString decodeWith(QStringConverter::Encoding encoding, const QByteArray &bytes)
{
    QStringDecoder decoder(encoding, QStringConverter::Flag::Stateless);
    return decoder.decode(bytes);
}
} // namespace

QString DecodeText(const QByteArray &Bytes)
{
    if (Bytes.startsWith("\xEF\xBB\xBF"))
        return decodeWith(QStringConverter::Utf8, Bytes.mid(3));
    if (Bytes.startsWith("\xFF\xFE"))
        return decodeWith(QStringConverter::Utf16LE, Bytes.mid(2));
    if (Bytes.startsWith("\xFE\xFF"))
        return decodeWith(QStringConverter::Utf16BE, Bytes.mid(2));
    QStringDecoder utf8(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
    QString text = utf8.decode(Bytes);
    if (!utf8.hasError())
        return text;
    return decodeWindows1252(Bytes);
}

QStringList SplitLines(const QString &Text)
{
    QStringList lines;
    qsizetype start = 0;
    const qsizetype n = Text.size();
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = Text[i];
        if (c != u'\r' && c != u'\n')
            continue;
        lines.append(Text.mid(start, i - start));
        if (c == u'\r' && i + 1 < n && Text[i + 1] == u'\n')
            ++i;
        start = i + 1;
    }
    if (start < n)
        lines.append(Text.mid(start));
    return lines;
}

QStringList ReadTextLines(const QString &FileName)
{
    QFile file(FileName);
    if (!file.open(QIODevice::ReadOnly))
        throw EFileError::CannotOpen(FileName, file.errorString());
    return SplitLines(DecodeText(file.readAll()));
}
