#include "model/FileLookup.h"

#include "model/RawPaths.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <sys/stat.h>

#include <thread>
#include <vector>

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

/// What lstat said of a file in a resolved folder.
struct TStatus {
    bool Found = false;
    bool Link = false;
    bool Regular = false;
    qint64 Size = 0;
};

TStatus statusOf(const QString &file)
{
    struct stat status;
    if (::lstat(QFile::encodeName(file).constData(), &status) != 0)
        return {};
    const bool regular = S_ISREG(status.st_mode);
    return {true, S_ISLNK(status.st_mode), regular, regular ? qint64(status.st_size) : 0};
}

// Below this many files a second thread costs more than it saves.
constexpr qsizetype ManyFiles = 256;

} // namespace

QString TFileLookup::CanonicalFolder(const QString &Folder)
{
    auto known = FFolders.constFind(Folder);
    if (known == FFolders.cend())
        known = FFolders.insert(Folder, CanonicalPath(Folder));
    return *known;
}

std::optional<QString> TFileLookup::InKnownFolder(const QString &Path)
{
    const QString absolute = QDir::isAbsolutePath(Path) ? Path : QFileInfo(Path).absoluteFilePath();
    const qsizetype slash = absolute.lastIndexOf(u'/');
    if (hasDotParts(absolute) || slash < 0 || slash + 1 == absolute.size())
        return std::nullopt;
    const QString folder = CanonicalFolder(slash == 0 ? QStringLiteral("/") : absolute.left(slash));
    if (folder.isEmpty())
        return QString();                                               // nothing is there
    return (folder == u"/" ? QString() : folder) + absolute.mid(slash); // mid keeps the "/"
}

void TFileLookup::LookUpUnknown(const QList<QString> &Paths)
{
    // Folders are resolved here, once each; the files' lstat calls, the part that grows with
    // the library, are shared out.
    std::vector<std::optional<QString>> files;
    files.reserve(size_t(Paths.size()));
    for (const QString &path : Paths)
        files.push_back(hasDotParts(path) ? std::nullopt : InKnownFolder(path));
    std::vector<TStatus> statuses(files.size());
    const auto stat = [&](size_t from, size_t to) {
        for (size_t i = from; i < to; ++i)
            if (files[i] && !files[i]->isEmpty())
                statuses[i] = statusOf(*files[i]);
    };
    const size_t half = Paths.size() >= ManyFiles ? files.size() / 2 : 0;
    std::thread second;
    if (half > 0)
        second = std::thread(stat, half, files.size());
    stat(0, half > 0 ? half : files.size());
    if (second.joinable())
        second.join();

    FFiles.reserve(FFiles.size() + Paths.size());
    for (size_t i = 0; i < files.size(); ++i) {
        const QString &path = Paths[qsizetype(i)];
        const TStatus &status = statuses[i];
        if (!files[i] || status.Link) {
            FFiles.insert(path, factsOf(QFileInfo(path)));
            continue;
        }
        TFileFacts facts;
        if (status.Found) {
            facts.Exists = true;
            facts.IsFile = status.Regular;
            facts.Size = status.Size;
            facts.Canonical = *files[i];
        }
        FFiles.insert(path, facts);
    }
}

const TFileFacts &TFileLookup::Of(const QString &Path)
{
    if (const auto known = FFiles.constFind(Path); known == FFiles.cend())
        LookUpUnknown({Path});
    return *FFiles.constFind(Path);
}
