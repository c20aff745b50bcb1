#include "ui/PictureWatch.h"

#include "document/GlyphbookDocument.h"
#include "model/ImagePath.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>

namespace
{
QSet<QString> entriesOf(const QString &Folder)
{
    const QStringList names = QDir(Folder).entryList(QDir::Files | QDir::Hidden | QDir::System);
    return QSet<QString>(names.cbegin(), names.cend());
}

// QFileInfo::absoluteFilePath, with the working folder asked once for a whole library instead
// of once a picture (QFileInfo asks for it every time a path is relative).
QString absoluteFile(const QString &Path, const QString &WorkingFolder)
{
#ifdef Q_OS_UNIX
    const bool absolute = Path.startsWith(u'/'); // QDir's test costs more than the rest
#else
    const bool absolute = QDir::isAbsolutePath(Path);
#endif
    return QDir::cleanPath(absolute ? Path : WorkingFolder + u'/' + Path);
}

// The part of a stored picture path before its file name, separator included.
QStringView folderPart(const QString &Stored)
{
    const qsizetype separator = std::max(Stored.lastIndexOf(u'/'), Stored.lastIndexOf(u'\\'));
    if (separator >= 0)
        return QStringView(Stored).left(separator + 1);
    return HasDrivePrefix(Stored) ? QStringView(Stored).left(2) : QStringView();
}

QString folderOf(const QString &AbsoluteFile)
{
    const qsizetype slash = AbsoluteFile.lastIndexOf(u'/');
    return slash <= 0 ? QStringLiteral("/") : AbsoluteFile.left(slash);
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
    // A library's pictures lie in a few folders: the folder of each stored folder part is
    // worked out once. A name "." or ".." is no file name, and is resolved on its own.
    QSet<QString> folders;
    QHash<QStringView, QString> folderByPart;
    const QString workingFolder = QDir::currentPath();
    const auto add = [&](const QString &stored) {
        if (stored.isEmpty())
            return;
        const QStringView part = folderPart(stored);
        const QStringView name = QStringView(stored).mid(part.size());
        const bool fileName = !name.isEmpty() && name != u"." && name != u"..";
        if (fileName && folderByPart.contains(part))
            return;
        const QString folder = folderOf(
            absoluteFile(ResolveImagePath(stored, FDocument.ProjectFile()), workingFolder));
        folders.insert(folder);
        if (fileName)
            folderByPart.insert(part, folder);
    };
    for (const TViraSymbolPtr &symbol : Symbols) {
        add(symbol->Image);
        for (const TStringPairs &state : symbol->StateImages)
            add(state.Value);
    }
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
    const QString workingFolder = QDir::currentPath();
    if (!cameOrWent.isEmpty())
        for (const TViraSymbolPtr &symbol : FDocument.Symbols()) {
            QStringList files = PicturePaths(*symbol);
            for (QString &file : files)
                file = absoluteFile(file, workingFolder);
            const auto cameOrLeft = [&](const QString &file) { return cameOrWent.contains(file); };
            if (std::none_of(files.cbegin(), files.cend(), cameOrLeft))
                continue;
            // Only the symbols a change touched ask the system about their pictures.
            const bool missing = std::any_of(files.cbegin(), files.cend(), [](const QString &file) {
                return !QFileInfo(file).isFile();
            });
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
