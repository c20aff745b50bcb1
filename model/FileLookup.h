#pragma once

#include <QHash>
#include <QString>

/// What is known of a file at one path: QFileInfo's exists, isFile and size, and CanonicalPath.
struct TFileFacts {
    bool Exists = false;
    bool IsFile = false;
    qint64 Size = 0;
    QString Canonical; // empty when the file does not exist
};

/// Looks files up for a command that meets the same paths and folders over and over, as a
/// library's pictures are: each path is looked up once, each folder resolved once, so a file of
/// a known folder costs one lstat instead of a readlink for every part of its path. The answers
/// are those of QFileInfo at the time of the first look-up.
class TFileLookup
{
public:
    const TFileFacts &Of(const QString &Path);

private:
    QString CanonicalFolder(const QString &Folder);

    QHash<QString, TFileFacts> FFiles;
    QHash<QString, QString> FFolders;
};
