#include "model/ProjectFiles.h"

#include "model/FileLookup.h"
#include "model/ImagePath.h"
#include "model/ViraSymbol.h"

#include <QDir>
#include <QFileInfo>

namespace
{

QString absoluteClean(const QString &path)
{
    return path.isEmpty() ? QString() : QDir::cleanPath(QFileInfo(path).absoluteFilePath());
}

} // namespace

TProjectFiles::TProjectFiles(const TViraGlyphbook &Glyphbook, const QString &ProjectFile,
                             TFileLookup *Lookup)
    : FDocument(absoluteClean(ProjectFile)), FLookup(Lookup)
{
    for (const TViraSymbolPtr &symbol : Glyphbook.Symbols)
        for (const QString &stored : PicturePaths(*symbol))
            if (const QString path = absoluteClean(ResolveImagePath(stored, ProjectFile));
                !path.isEmpty())
                FPictures.insert(path);
}

const TProjectFiles::TCanonical &TProjectFiles::Canonical() const
{
    if (!FCanonical) {
        TCanonical canonical;
        canonical.Document =
            FDocument.isEmpty() ? QString() : QFileInfo(FDocument).canonicalFilePath();
        // The pictures of a library lie in a few folders: each is resolved once.
        TFileLookup own;
        TFileLookup &lookup = FLookup ? *FLookup : own;
        for (const QString &path : FPictures)
            if (const QString &file = lookup.Of(path).Canonical; !file.isEmpty())
                canonical.Pictures.insert(file);
        FCanonical = std::move(canonical);
    }
    return *FCanonical;
}

TProjectFiles::TKind TProjectFiles::Which(const QString &Path) const
{
    const QString path = absoluteClean(Path);
    if (path.isEmpty())
        return None;
    const QString file = QFileInfo(path).canonicalFilePath();
    const bool exists = !file.isEmpty();
    if (!FDocument.isEmpty() && (path == FDocument || (exists && file == Canonical().Document)))
        return Document;
    if (FPictures.contains(path) || (exists && Canonical().Pictures.contains(file)))
        return Picture;
    return None;
}
