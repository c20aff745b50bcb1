#include "model/ProjectFiles.h"

#include "model/FileLookup.h"
#include "model/GlyphbookError.h"
#include "model/ImagePath.h"
#include "model/RawPaths.h"
#include "model/ViraSymbol.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#ifdef Q_OS_UNIX
#include <dirent.h>
#include <sys/stat.h>

#include <cerrno>
#endif

namespace
{

// Beyond this many links in a row the system gives up too (ELOOP).
constexpr int MaxLinkHops = 40;

// Not cleaned, as QFileInfo::absoluteFilePath would: "link/.." is not the folder of "link".
QString absolute(const QString &path, const QString &workingFolder = QDir::currentPath())
{
    if (path.isEmpty() || QDir::isAbsolutePath(path))
        return path;
    return workingFolder + u'/' + path;
}

QString absoluteClean(const QString &path)
{
    return path.isEmpty() ? QString() : QDir::cleanPath(absolute(path));
}

/// The file that the system reaches by Path (absolute, ".." parts and all): links followed,
/// a ".." taken after the link before it. A link to nothing yet gives the file a write through
/// it would create. Empty when not even the folder exists.
QString reachedFile(const QString &Path)
{
    QString path = Path;
    for (int hop = 0; hop < MaxLinkHops; ++hop) {
        const QFileInfo info(path);
        if (const QString file = CanonicalPath(path); !file.isEmpty())
            return file;
        if (!info.isSymLink())
            break;
        path = info.symLinkTarget();
    }
    const qsizetype slash = path.lastIndexOf(u'/');
    const QString folder = CanonicalPath(path.left(slash + 1));
    return folder.isEmpty() ? QString() : folder + u'/' + path.mid(slash + 1);
}

// Asked of every picture when a library is formatted one symbol at a time: the system is asked
// directly, without QFileInfo's further look-ups.
bool isLink(const QString &path)
{
#ifdef Q_OS_UNIX
    struct stat st;
    return ::lstat(QFile::encodeName(path).constData(), &st) == 0 && S_ISLNK(st.st_mode);
#else
    return QFileInfo(path).isSymLink();
#endif
}

#ifdef Q_OS_UNIX
// The links among a folder's entries. A folder that does not exist holds none; one that cannot
// be listed, or whose entries do not say their type, is left to the system picture by picture.
std::optional<QSet<QByteArray>> linksIn(const QString &Folder)
{
    DIR *dir = ::opendir(QFile::encodeName(Folder).constData());
    if (!dir)
        return errno == ENOENT || errno == ENOTDIR ? std::optional(QSet<QByteArray>())
                                                   : std::nullopt;
    std::optional<QSet<QByteArray>> links(std::in_place);
    while (const dirent *entry = ::readdir(dir)) {
        if (entry->d_type == DT_UNKNOWN) {
            links.reset();
            break;
        }
        if (entry->d_type == DT_LNK)
            links->insert(QByteArray(entry->d_name));
    }
    ::closedir(dir);
    return links;
}
#endif

} // namespace

TProjectFiles::TProjectFiles(const TViraGlyphbook &Glyphbook, const QString &ProjectFile,
                             TFileLookup *Lookup)
    : FDocument(absoluteClean(ProjectFile)), FDocumentAsGiven(absolute(ProjectFile)),
      FLookup(Lookup)
{
    // Bare names are looked up beside the document, which a relative name would not say. The
    // working folder is asked for once, not once a picture reference (32,725 system calls for
    // a sheet of the icon theme's 5,000 symbols, before its check could start).
    const QString workingFolder = QDir::currentPath();
    for (const TViraSymbolPtr &symbol : Glyphbook.Symbols)
        for (const QString &stored : PicturePaths(*symbol))
            if (const QString path =
                    absolute(ResolveImagePath(stored, FDocumentAsGiven), workingFolder);
                !path.isEmpty()) {
                FPictures.insert(QDir::cleanPath(path));
                FPicturesAsGiven.insert(path);
            }
}

const TProjectFiles::TCanonical &TProjectFiles::Canonical() const
{
    if (!FCanonical) {
        TCanonical canonical;
        canonical.Document = FDocument.isEmpty() ? QString() : reachedFile(FDocumentAsGiven);
        // The pictures of a library lie in a few folders: each is resolved once. Only a missing
        // picture is looked at further, for a link that leads to where it would be.
        TFileLookup own;
        TFileLookup &lookup = FLookup ? *FLookup : own;
        for (const QString &path : FPicturesAsGiven) {
            QString file = lookup.Of(path).Canonical;
            if (file.isEmpty())
                file = reachedFile(path);
            if (!file.isEmpty())
                canonical.Pictures.insert(file);
        }
        FCanonical = std::move(canonical);
    }
    return *FCanonical;
}

TProjectFiles::TKind TProjectFiles::Which(const QString &Path) const
{
    const QString path = absoluteClean(Path);
    if (path.isEmpty())
        return None;
    if (!FDocument.isEmpty() && path == FDocument)
        return Document;
    const bool picture = FPictures.contains(path);
    // The name as written may lead elsewhere than its clean form: a link, or a ".." after one.
    const QString file = reachedFile(absolute(Path));
    if (!file.isEmpty() && !FDocument.isEmpty() && file == Canonical().Document)
        return Document;
    if (picture || (!file.isEmpty() && Canonical().Pictures.contains(file)))
        return Picture;
    return None;
}

void TProjectFiles::RefuseAsOutput(const QString &Output) const
{
    const auto refuse = [&](const QString &reason) {
        return EFileError::CannotWrite(QDir::toNativeSeparators(Output), reason);
    };
    switch (Which(Output)) {
    case Document:
        throw refuse(QCoreApplication::translate("ProjectFiles", "It is the project itself."));
    case Picture:
        throw refuse(
            QCoreApplication::translate("ProjectFiles", "It is one of the library's pictures."));
    case None:
        break;
    }
}

TPictureOutputGuard::TPictureOutputGuard(const QString &ProjectFile, const QString &Output)
    : FProject(absolute(ProjectFile)), FWorkingFolder(QDir::currentPath()), FOutput(Output),
      FClean(absoluteClean(Output)), FReached(reachedFile(absolute(Output)))
{
}

bool TPictureOutputGuard::IsLink(const QString &Path) const
{
#ifdef Q_OS_UNIX
    const qsizetype slash = Path.lastIndexOf(u'/');
    const QString folder = Path.left(slash + 1);
    auto known = FLinksByFolder.find(folder);
    if (known == FLinksByFolder.end())
        known = FLinksByFolder.insert(folder, linksIn(folder));
    if (*known)
        return (*known)->contains(QFile::encodeName(Path.mid(slash + 1)));
#endif
    return isLink(Path);
}

void TPictureOutputGuard::Check(const TViraSymbol &Symbol) const
{
    const QStringView reachedName = QStringView(FReached).mid(FReached.lastIndexOf(u'/') + 1);
    const QStringView cleanName = QStringView(FClean).mid(FClean.lastIndexOf(u'/') + 1);
    for (const QString &stored : PicturePaths(Symbol)) {
        const QString path = absolute(ResolveImagePath(stored, FProject), FWorkingFolder);
        if (path.isEmpty())
            continue;
        // Links are only followed where they may lead to the output: a picture of another name
        // reaches it only through a link of its own.
        const QStringView name = QStringView(path).mid(path.lastIndexOf(u'/') + 1);
        const bool mayReach = !FReached.isEmpty() && (name == reachedName || IsLink(path));
        if ((name == cleanName && QDir::cleanPath(path) == FClean) ||
            (mayReach && reachedFile(path) == FReached))
            throw EFileError::CannotWrite(
                QDir::toNativeSeparators(FOutput),
                QCoreApplication::translate("ProjectFiles",
                                            "It is one of the library's pictures."));
    }
}

void RefuseProjectFileAsOutput(const TViraGlyphbook &Glyphbook, const QString &ProjectFile,
                               const QString &Output)
{
    TProjectFiles(Glyphbook, ProjectFile).RefuseAsOutput(Output);
}
