#include "model/ImagePath.h"

#include "model/RawPaths.h"

namespace
{

qsizetype lastSeparator(const QString &path)
{
    return std::max(path.lastIndexOf(u'/'), path.lastIndexOf(u'\\'));
}

} // namespace

bool HasDrivePrefix(const QString &Path)
{
    return Path.size() >= 2 && Path.at(1) == u':' && Path.at(0).unicode() < 128 &&
           Path.at(0).isLetter();
}

QString FileNamePart(const QString &StoredPath)
{
    const qsizetype separator = lastSeparator(StoredPath);
    if (separator >= 0)
        return StoredPath.mid(separator + 1);
    return HasDrivePrefix(StoredPath) ? StoredPath.mid(2) : StoredPath;
}

bool IsBareImageName(const QString &StoredPath)
{
    return lastSeparator(StoredPath) < 0 && !HasDrivePrefix(StoredPath);
}

QString ResolveImagePath(const QString &StoredPath, const QString &ProjectFile)
{
    if (IsBareImageName(StoredPath)) {
        // A document held by itself names nothing beside it; its folder is known apart.
        if (IsHeldFile(ProjectFile))
            return FolderOf(ProjectFile) + u'/' + StoredPath;
        const qsizetype separator = lastSeparator(ProjectFile);
        QString folder;
        if (separator >= 0)
            folder = ProjectFile.left(separator);
        else if (HasDrivePrefix(ProjectFile))
            folder = ProjectFile.left(2);
        return folder + u'/' + StoredPath;
    }
#ifdef Q_OS_WIN
    return StoredPath;
#else
    QString path = StoredPath;
    return path.replace(u'\\', u'/');
#endif
}
