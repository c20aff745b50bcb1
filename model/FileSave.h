#pragma once

#include <QByteArray>
#include <QString>

/// Writes Bytes as the whole content of FileName, replacing the file atomically: a failure
/// leaves the former file as it was. A pipe or a device is written in place, and so is a file
/// in a folder where no temporary file can be made. Raises EFileError with the system's reason.
void SaveFileBytes(const QString &FileName, const QByteArray &Bytes);
