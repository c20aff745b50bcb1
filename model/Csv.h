#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

/// Comma-separated values as spreadsheets read and write them (RFC 4180): UTF-8 with a
/// byte-order mark, CR LF after every row, a field in double quotes (inner quotes doubled) when
/// it holds a comma, a quote or a line break.
QByteArray WriteCsv(const QList<QStringList> &Rows);

/// The rows of a CSV text. A byte-order mark is skipped; rows may end in CR LF, LF or CR, and a
/// quoted field may hold line breaks as they are. Raises EDocumentError, naming SourceName and
/// the line, for text that is not UTF-8, a quote that is never closed, and text after a closing
/// quote.
QList<QStringList> ReadCsv(const QByteArray &Bytes, const QString &SourceName);
