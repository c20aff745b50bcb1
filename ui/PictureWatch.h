#pragma once

#include "model/ViraSymbol.h"

#include <QFileSystemWatcher>
#include <QHash>
#include <QObject>
#include <QSet>
#include <QTimer>

class TGlyphbookDocument;

/// Follows the library's pictures on the disk. The shown symbol's files are watched one by one
/// (an image editor rewrites them); for every other picture only its folder is, so a library of
/// 20,000 symbols holds a few watches, not 60,000. A file replaced by a rename drops out of a
/// watch and is added back. Marks of missing pictures follow files that go and come; nothing of
/// this is a change of the library.
class TPictureWatch : public QObject
{
    Q_OBJECT

public:
    /// How long changes on the disk gather before they are shown.
    static constexpr int SettleDelay = 150;

    explicit TPictureWatch(TGlyphbookDocument &Document, QObject *Parent = nullptr);

    /// The files and folders being watched.
    QStringList WatchedFiles() const { return FWatcher.files(); }
    QStringList WatchedFolders() const { return FWatcher.directories(); }

signals:
    /// A picture of the shown symbol changed, went or came back: the views load it anew.
    void shownPicturesChanged();

private:
    TGlyphbookDocument &FDocument;
    QFileSystemWatcher FWatcher;
    QTimer FSettle;
    /// The names in each watched folder, to tell which files came or went.
    QHash<QString, QSet<QString>> FFolderEntries;
    /// Folders and files that changed since the last settling.
    QSet<QString> FChangedFolders;
    bool FShownChanged = false;

    /// The files of Symbol's images as they are opened.
    QStringList PicturePaths(const TViraSymbol &Symbol) const;
    void WatchShownSymbol();
    void WatchFolders(const QList<TViraSymbolPtr> &Symbols, bool Replace);
    void Settle();
};
