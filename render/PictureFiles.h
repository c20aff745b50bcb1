#pragma once

#include <QString>

/// True when the file at FilePath holds a picture in a format the editor reads, whatever its
/// name says; only the file's start is read.
bool IsReadablePicture(const QString &FilePath);
