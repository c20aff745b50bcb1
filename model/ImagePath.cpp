#include "model/ImagePath.h"

#include <QDir>

namespace
{

bool hasDrive(const QString &path)
{
    return path.size() >= 2 && path.at(1) == u':' && path.at(0).isLetter() &&
           path.at(0).unicode() < 128;
}

qsizetype lastSeparator(const QString &path)
{
    return std::max(path.lastIndexOf(u'/'), path.lastIndexOf(u'\\'));
}

} // namespace

QString ImageFileName(const QString &StoredPath)
{
    const qsizetype separator = lastSeparator(StoredPath);
    if (separator >= 0)
        return StoredPath.mid(separator + 1);
    return hasDrive(StoredPath) ? StoredPath.mid(2) : StoredPath;
}

bool IsBareImageName(const QString &StoredPath)
{
    return lastSeparator(StoredPath) < 0 && !hasDrive(StoredPath);
}

QString ResolveImagePath(const QString &StoredPath, const QString &ProjectFolder)
{
    if (IsBareImageName(StoredPath))
        return ProjectFolder.isEmpty() || StoredPath.isEmpty()
                   ? StoredPath
                   : QDir(ProjectFolder).filePath(StoredPath);
#ifdef Q_OS_WIN
    return StoredPath;
#else
    QString path = StoredPath;
    return path.replace(u'\\', u'/');
#endif
}
