#pragma once

#include <QString>

/// Replaces the extension: the part from the last "." after the last folder separator ("/",
/// "\" or a drive's ":") by Extension; a name without such a "." gets Extension appended.
QString ChangeFileExt(const QString &FileName, const QString &Extension);
