#include "ui/PictureWatch.h"

#include "document/GlyphbookDocument.h"
#include "model/ImagePath.h"

#include <QDir>
#include <QFileInfo>

namespace
{
QSet<QString> entriesOf(const QString &Folder)
{
    const QStringList names = QDir(Folder).entryList(QDir::Files | QDir::Hidden | QDir::System);
    return QSet<QString>(names.cbegin(), names.cend());
}
} // namespace

TPictureWatch::TPictureWatch(TGlyphbookDocument &Document, QObject *Parent)
    : QObject(Parent), FDocument(Document)
{
    FSettle.setSingleShot(true);
    FSettle.setInterval(SettleDelay);
    connect(&FSettle, &QTimer::timeout, this, &TPictureWatch::Settle);
    connect(&FWatcher, &QFileSystemWatcher::fileChanged, this, [this] {
        FShownChanged = true;
        FSettle.start();
    });
    connect(&FWatcher, &QFileSystemWatcher::directoryChanged, this, [this](const QString &Folder) {
        FChangedFolders.insert(Folder);
        FSettle.start();
    });

    connect(&FDocument, &TGlyphbookDocument::selectedSymbolChanged, this,
            &TPictureWatch::WatchShownSymbol);
    connect(&FDocument, &TGlyphbookDocument::libraryReset, this, [this] {
        WatchFolders(FDocument.Symbols(), true);
        WatchShownSymbol();
    });
    connect(&FDocument, &TGlyphbookDocument::symbolsInserted, this,
            [this](const QList<int> &Places) {
                QList<TViraSymbolPtr> added;
                for (int place : Places)
                    added.append(FDocument.Symbols().value(place));
                added.removeAll(nullptr);
                WatchFolders(added, false);
            });
    connect(&FDocument, &TGlyphbookDocument::symbolChanged, this,
            [this](const TViraSymbolPtr &Symbol) {
                // A new image may lie in a folder not watched yet.
                WatchFolders({Symbol}, false);
                if (Symbol == FDocument.SelectedSymbol())
                    WatchShownSymbol();
            });
    connect(&FDocument, &TGlyphbookDocument::projectFileChanged, this, [this] {
        WatchFolders(FDocument.Symbols(), true);
        WatchShownSymbol();
    });
}

QStringList TPictureWatch::PicturePaths(const TViraSymbol &Symbol) const
{
    QStringList paths;
    if (!Symbol.Image.isEmpty())
        paths.append(ResolveImagePath(Symbol.Image, FDocument.ProjectFile()));
    for (const TStringPairs &state : Symbol.StateImages)
        if (!state.Value.isEmpty())
            paths.append(ResolveImagePath(state.Value, FDocument.ProjectFile()));
    return paths;
}

void TPictureWatch::WatchShownSymbol()
{
    QSet<QString> wanted;
    if (const TViraSymbolPtr &shown = FDocument.SelectedSymbol())
        for (const QString &path : PicturePaths(*shown))
            if (QFileInfo(path).isFile())
                wanted.insert(QFileInfo(path).absoluteFilePath());
    QStringList gone;
    for (const QString &file : FWatcher.files())
        if (!wanted.remove(file))
            gone.append(file);
    if (!gone.isEmpty())
        FWatcher.removePaths(gone);
    if (!wanted.isEmpty())
        FWatcher.addPaths(QStringList(wanted.cbegin(), wanted.cend()));
}

void TPictureWatch::WatchFolders(const QList<TViraSymbolPtr> &Symbols, bool Replace)
{
    QSet<QString> folders;
    for (const TViraSymbolPtr &symbol : Symbols)
        for (const QString &path : PicturePaths(*symbol))
            folders.insert(QFileInfo(path).absolutePath());
    if (Replace) {
        QStringList gone;
        for (const QString &folder : FWatcher.directories())
            if (!folders.contains(folder))
                gone.append(folder);
        if (!gone.isEmpty())
            FWatcher.removePaths(gone);
        for (const QString &folder : gone)
            FFolderEntries.remove(folder);
    }
    QStringList added;
    for (const QString &folder : std::as_const(folders))
        if (!FFolderEntries.contains(folder) && QFileInfo(folder).isDir()) {
            FFolderEntries.insert(folder, entriesOf(folder));
            added.append(folder);
        }
    if (!added.isEmpty())
        FWatcher.addPaths(added);
}

void TPictureWatch::Settle()
{
    // The files that came or went, by their full paths.
    QSet<QString> cameOrWent;
    for (const QString &folder : std::exchange(FChangedFolders, {})) {
        if (!FFolderEntries.contains(folder))
            continue;
        const QSet<QString> now = entriesOf(folder);
        QSet<QString> &before = FFolderEntries[folder];
        const QDir dir(folder);
        for (const QString &name : now)
            if (!before.contains(name))
                cameOrWent.insert(dir.filePath(name));
        for (const QString &name : std::as_const(before))
            if (!now.contains(name))
                cameOrWent.insert(dir.filePath(name));
        before = now;
    }

    const TViraSymbolPtr shown = FDocument.SelectedSymbol();
    bool shownChanged = std::exchange(FShownChanged, false);
    if (!cameOrWent.isEmpty())
        for (const TViraSymbolPtr &symbol : FDocument.Symbols()) {
            const QStringList paths = PicturePaths(*symbol);
            bool affected = false;
            bool missing = false;
            for (const QString &path : paths) {
                const QString file = QFileInfo(path).absoluteFilePath();
                affected = affected || cameOrWent.contains(file);
                missing = missing || !QFileInfo(file).isFile();
            }
            if (!affected)
                continue;
            if (symbol == shown)
                shownChanged = true;
            else if (symbol->Error != missing)
                FDocument.SetImageMark(symbol, missing);
        }
    if (shownChanged && shown) {
        // Files replaced by a rename dropped out of the watch; those back again rejoin it.
        WatchShownSymbol();
        emit shownPicturesChanged();
    }
}
