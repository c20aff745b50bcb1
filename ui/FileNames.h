#pragma once

#include <QString>

/// Replaces the extension: the part from the last "." after the last folder separator ("/",
/// "\" or a drive's ":") by Extension; a name without such a "." gets Extension appended.
QString ChangeFileExt(const QString &FileName, const QString &Extension);

/// FileName with Suffix (".js", ".tar.gz") appended when its last part has no suffix at all, as
/// a file dialog gives its default suffix to a name typed without one.
QString WithDefaultSuffix(const QString &FileName, const QString &Suffix);
