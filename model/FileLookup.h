#pragma once

#include <QHash>
#include <QString>

#include <optional>

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
    /// Looks up at once every path of Paths not known yet, on two threads when they are many.
    template <typename TPaths> void LookUp(const TPaths &Paths)
    {
        QList<QString> unknown;
        unknown.reserve(Paths.size());
        for (const QString &path : Paths)
            if (!FFiles.contains(path))
                unknown.append(path);
        LookUpUnknown(unknown);
    }

private:
    /// The file Path names when its folder is resolved and its own name taken as it stands;
    /// none when that would not be the file the system reaches ("." or ".." parts).
    std::optional<QString> InKnownFolder(const QString &Path);
    void LookUpUnknown(const QList<QString> &Paths);
    QString CanonicalFolder(const QString &Folder);

    QHash<QString, TFileFacts> FFiles;
    QHash<QString, QString> FFolders;
};
