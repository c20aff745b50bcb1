#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

/// Decodes a text file's bytes: a byte-order mark chooses UTF-8 or UTF-16 (either byte order);
/// without one the bytes are UTF-8 when they are valid UTF-8, otherwise Windows-1252.
QString DecodeText(const QByteArray &Bytes);

/// Splits at CR, LF and CR LF; a line break at the end adds no empty line.
QStringList SplitLines(const QString &Text);

/// Reads a whole text file as lines. Raises EFileError when it cannot be opened.
QStringList ReadTextLines(const QString &FileName);
