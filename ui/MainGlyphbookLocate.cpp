// Locate Missing Images: relinks every image file of the library that is missing to a file of
// the same name found in a chosen folder or below it, and reports what is still missing.
#include "ui/MainGlyphbook.h"

#include "model/ImagePath.h"
#include "ui/BusyCursor.h"

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QHash>
#include <QScopeGuard>
#include <QSet>

#include <algorithm>

namespace
{
/// The files below Folder whose names are in Names, by name. Where a name occurs more than
/// once the file nearest to Folder wins, then the first in path order, so the choice does not
/// depend on the order the file system lists them in.
QHash<QString, QString> findFiles(const QString &Folder, const QSet<QString> &Names)
{
    QHash<QString, QString> found;
    QDirIterator files(Folder, QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot,
                       QDirIterator::Subdirectories);
    const auto nearer = [](const QString &a, const QString &b) {
        const qsizetype depthA = a.count(u'/');
        const qsizetype depthB = b.count(u'/');
        return depthA != depthB ? depthA < depthB : a < b;
    };
    while (files.hasNext()) {
        const QString path = files.next();
        const QString name = files.fileName();
        if (!Names.contains(name))
            continue;
        const auto known = found.find(name);
        if (known == found.end())
            found.insert(name, path);
        else if (nearer(path, *known))
            *known = path;
    }
    return found;
}
} // namespace

bool TMainForm::ImageFileExists(const QString &StoredPath) const
{
    return QFileInfo(ResolveImagePath(StoredPath, FDocument.ProjectFile())).isFile();
}

void TMainForm::miLocateMissingClick()
{
    QSet<QString> missingNames;
    QStringList missing;
    for (const TViraSymbolPtr &symbol : FDocument.Symbols())
        for (const QString &stored : PicturePaths(*symbol))
            if (!ImageFileExists(stored) && !missing.contains(stored)) {
                missing.append(stored);
                missingNames.insert(FileNamePart(stored));
            }
    if (missing.isEmpty()) {
        FDialogs.ShowInformation(QStringLiteral("No image of the library is missing."));
        return;
    }
    if (sLocateFolderDialog.FileName.isEmpty())
        sLocateFolderDialog.FileName = QFileInfo(FDocument.ProjectFile()).path();
    if (!FDialogs.Execute(sLocateFolderDialog))
        return;
    const QString folder = sLocateFolderDialog.FileName;

    QHash<QString, QString> found;
    {
        TBusyCursor busy;
        found = findFiles(folder, missingNames);
    }

    // The file a stored path is relinked to, or none.
    const auto relinkTarget = [&](const QString &Stored) {
        if (ImageFileExists(Stored))
            return QString();
        const auto file = found.constFind(FileNamePart(Stored));
        return file == found.cend() ? QString() : QDir::cleanPath(*file);
    };
    QList<TViraSymbolPtr> relinked;
    for (const TViraSymbolPtr &symbol : FDocument.Symbols()) {
        const QStringList paths = PicturePaths(*symbol);
        if (std::any_of(paths.cbegin(), paths.cend(),
                        [&](const QString &Stored) { return !relinkTarget(Stored).isEmpty(); }))
            relinked.append(symbol);
    }
    if (!relinked.isEmpty()) {
        // One undo step for the whole search, however many symbols it relinked.
        FDocument.BeginMacro(QStringLiteral("Locate Missing Images"));
        const auto endStep = qScopeGuard([this] { FDocument.EndMacro(); });
        for (const TViraSymbolPtr &symbol : std::as_const(relinked)) {
            TViraSymbol after = *symbol;
            ReplacePicturePaths(after, [&](const QString &Stored) {
                const QString target = relinkTarget(Stored);
                return target.isEmpty() ? Stored : target;
            });
            FDocument.ChangeSymbol(symbol, after, {QStringLiteral("Locate Missing Images")});
        }
    }
    for (const TViraSymbolPtr &symbol : std::as_const(relinked)) {
        // A symbol whose images are all there again is no longer marked.
        const QStringList paths = PicturePaths(*symbol);
        FDocument.SetImageMark(
            symbol, !std::all_of(paths.cbegin(), paths.cend(),
                                 [this](const QString &Path) { return ImageFileExists(Path); }));
    }
    // The strip and the preview show the selected symbol's images from their new places.
    if (relinked.contains(FDocument.SelectedSymbol()))
        FDocument.ShowSelectionAgain();

    QStringList stillMissing;
    for (const QString &stored : std::as_const(missing))
        if (!found.contains(FileNamePart(stored)))
            stillMissing.append(QDir::toNativeSeparators(stored));
    QString report = QStringLiteral("Found %1 of %2 missing images in %3.")
                         .arg(missing.size() - stillMissing.size())
                         .arg(missing.size())
                         .arg(QDir::toNativeSeparators(folder));
    if (!stillMissing.isEmpty())
        report += QStringLiteral("\n\nStill missing:\n") + stillMissing.join(u'\n');
    FDialogs.ShowInformation(report);
}
