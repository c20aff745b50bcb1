#include "model/ImagePath.h"

namespace
{

// Index of the last character that ends a folder part, or -1.
qsizetype lastFolderEnd(const QString &path)
{
    const qsizetype separator = std::max(path.lastIndexOf(u'/'), path.lastIndexOf(u'\\'));
    if (separator >= 0)
        return separator;
    if (path.size() >= 2 && path.at(1) == u':' && path.at(0).isLetter())
        return 1;
    return -1;
}

} // namespace

QString FileNamePart(const QString &path)
{
    return path.mid(lastFolderEnd(path) + 1);
}

bool HasFolderPart(const QString &path)
{
    return lastFolderEnd(path) >= 0;
}

QString ResolveImagePath(const QString &storedPath, const QString &projectFile)
{
    if (HasFolderPart(storedPath))
        return storedPath;
    const qsizetype end = lastFolderEnd(projectFile);
    QString folder;
    if (end >= 0)
        folder = projectFile.left(projectFile.at(end) == u':' ? end + 1 : end);
    return folder + u'/' + storedPath;
}
