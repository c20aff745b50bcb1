#pragma once

#include <QString>

// Stored image paths may come from any platform: "/" and "\" both separate folders, and a
// leading drive ("C:") counts as a folder, wherever the program runs.

/// True when the path begins with a drive ("C:"): an ASCII letter and a colon.
bool HasDrivePrefix(const QString &Path);

/// The part after the last folder separator or drive prefix ("C:\a\b.png" -> "b.png").
QString FileNamePart(const QString &StoredPath);

/// True when the stored path is a bare file name, without folder or drive.
bool IsBareImageName(const QString &StoredPath);

/// The path an image is opened from. A bare file name is taken from the folder of the project
/// file ("/" + name when there is no project file); any other path is used as it stands, with
/// "\" read as a folder separator.
QString ResolveImagePath(const QString &StoredPath, const QString &ProjectFile);
