#include "model/Csv.h"

#include "model/GlyphbookError.h"

#include <QCoreApplication>
#include <QStringDecoder>

namespace
{

QString quoted(const QString &field)
{
    if (!field.contains(u',') && !field.contains(u'"') && !field.contains(u'\r') &&
        !field.contains(u'\n'))
        return field;
    QString text = field;
    text.replace(u'"', QStringLiteral("\"\""));
    return u'"' + text + u'"';
}

} // namespace

QByteArray WriteCsv(const QList<QStringList> &Rows)
{
    QString text;
    for (const QStringList &row : Rows) {
        for (qsizetype i = 0; i < row.size(); ++i) {
            if (i > 0)
                text += u',';
            text += quoted(row[i]);
        }
        text += QStringLiteral("\r\n");
    }
    return QByteArray("\xEF\xBB\xBF") + text.toUtf8();
}

QList<QStringList> ReadCsv(const QByteArray &Bytes, const QString &SourceName)
{
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = decoder.decode(Bytes);
    if (decoder.hasError())
        throw EDocumentError(
            QCoreApplication::translate(
                "Csv", "The file \"%1\" is not a table of names: it is not UTF-8 text.")
                .arg(SourceName));
    if (text.startsWith(QChar(0xFEFF)))
        text.remove(0, 1);
    const auto fail = [&](const QString &reason, int line) {
        throw EDocumentError(QCoreApplication::translate(
                                 "Csv", "The file \"%1\" is not a table of names: %2 at line %3.")
                                 .arg(SourceName, reason, QString::number(line)));
    };

    QList<QStringList> rows;
    QStringList row;
    QString field;
    int line = 1;
    qsizetype i = 0;
    const qsizetype n = text.size();
    bool rowOpen = false;
    while (i < n) {
        const QChar c = text.at(i);
        if (c == u'"' && field.isEmpty()) {
            // A quoted field: up to the quote that is not doubled.
            const int startLine = line;
            ++i;
            for (;;) {
                if (i >= n)
                    fail(QCoreApplication::translate("Csv", "a quoted field is never closed"),
                         startLine);
                const QChar q = text.at(i);
                if (q == u'"') {
                    if (i + 1 < n && text.at(i + 1) == u'"') {
                        field += u'"';
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                if (q == u'\n' || (q == u'\r' && !(i + 1 < n && text.at(i + 1) == u'\n')))
                    ++line;
                field += q;
                ++i;
            }
            rowOpen = true;
            if (i < n && text.at(i) != u',' && text.at(i) != u'\r' && text.at(i) != u'\n')
                fail(QCoreApplication::translate("Csv", "text follows a closing quote"), line);
            continue;
        }
        if (c == u',') {
            row << field;
            field = QString();
            rowOpen = true;
            ++i;
            continue;
        }
        if (c == u'\r' || c == u'\n') {
            i += (c == u'\r' && i + 1 < n && text.at(i + 1) == u'\n') ? 2 : 1;
            row << field;
            rows << row;
            row.clear();
            field = QString();
            rowOpen = false;
            ++line;
            continue;
        }
        field += c;
        rowOpen = true;
        ++i;
    }
    if (rowOpen) {
        row << field;
        rows << row;
    }
    return rows;
}
