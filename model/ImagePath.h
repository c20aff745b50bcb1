#pragma once

#include <QString>

// Stored image paths may come from any platform: "/" and "\" both separate folders, and a
// leading drive ("C:") counts as a folder, everywhere.

/// The part after the last folder separator or drive prefix ("C:\a\b.png" -> "b.png").
QString FileNamePart(const QString &path);

/// True when the path holds a folder part: a separator or a drive prefix.
bool HasFolderPart(const QString &path);

/// The path an image is loaded from: a path with a folder is used unchanged; a bare file name is
/// taken from the folder of the project file (just "/" + name when there is no project file).
QString ResolveImagePath(const QString &storedPath, const QString &projectFile);
