#pragma once

#include <QString>

/// True when a file exists at FilePath and holds a picture in a format the editor reads, whatever
/// its name says; only the file's start is read.
bool IsReadablePicture(const QString &FilePath);
