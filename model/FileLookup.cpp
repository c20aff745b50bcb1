#include "model/FileLookup.h"

#include "model/RawPaths.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <sys/stat.h>

namespace
{

TFileFacts factsOf(const QFileInfo &info)
{
    TFileFacts facts;
    facts.Canonical = CanonicalPath(info.filePath());
    facts.Exists = !facts.Canonical.isEmpty();
    facts.IsFile = facts.Exists && info.isFile();
    facts.Size = facts.IsFile ? info.size() : 0;
    return facts;
}

// "." and ".." parts are resolved after the links before them, which joining a resolved folder
// and a name would not do.
bool hasDotParts(const QString &path)
{
    return path.contains(u"/./") || path.contains(u"/../") || path.endsWith(u"/.") ||
           path.endsWith(u"/..") || path.startsWith(u"./") || path.startsWith(u"../") ||
           path == u"." || path == u"..";
}

} // namespace

QString TFileLookup::CanonicalFolder(const QString &Folder)
{
    auto known = FFolders.constFind(Folder);
    if (known == FFolders.cend())
        known = FFolders.insert(Folder, CanonicalPath(Folder));
    return *known;
}

const TFileFacts &TFileLookup::Of(const QString &Path)
{
    if (const auto known = FFiles.constFind(Path); known != FFiles.cend())
        return *known;
    const QFileInfo info(Path);
    const QString absolute = info.absoluteFilePath();
    const qsizetype slash = absolute.lastIndexOf(u'/');
    if (hasDotParts(Path) || hasDotParts(absolute) || slash < 0 || slash + 1 == absolute.size())
        return *FFiles.insert(Path, factsOf(info));
    TFileFacts facts;
    const QString folder = CanonicalFolder(slash == 0 ? QStringLiteral("/") : absolute.left(slash));
    if (!folder.isEmpty()) {
        const QString file =
            (folder == u"/" ? QString() : folder) + absolute.mid(slash); // mid keeps the "/"
        struct stat status;
        if (::lstat(QFile::encodeName(file).constData(), &status) == 0) {
            if (S_ISLNK(status.st_mode))
                return *FFiles.insert(Path, factsOf(info));
            facts.Exists = true;
            facts.IsFile = S_ISREG(status.st_mode);
            facts.Size = facts.IsFile ? qint64(status.st_size) : 0;
            facts.Canonical = file;
        }
    }
    return *FFiles.insert(Path, facts);
}
