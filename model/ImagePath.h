#pragma once

#include <QString>

// Stored image paths may come from any platform: "/" and "\" both separate folders, and a
// leading drive ("C:") counts as a folder, wherever the program runs.

/// The file name part of a stored path: what follows its last folder separator or drive.
QString ImageFileName(const QString &StoredPath);

/// True when the stored path is a bare file name, without folder or drive.
bool IsBareImageName(const QString &StoredPath);

/// The path to open for a stored image path: a bare name is taken from ProjectFolder (when one
/// is given); any other path is used as it stands, with "\" read as a folder separator.
QString ResolveImagePath(const QString &StoredPath, const QString &ProjectFolder);
