#pragma once

#include "model/ViraSymbol.h"

#include <QDateTime>
#include <QElapsedTimer>
#include <QObject>
#include <QString>
#include <QTimer>

#include <future>
#include <memory>

class QLockFile;
class TGlyphbookDocument;

/// A recovery copy as it lies in the recovery folder: the library's document and the
/// description beside it.
struct TKeptCopy {
    /// The copy's name: its files are Name + ".js", ".json" and ".lock".
    QString Name;
    QString DocumentPath;
    /// The project file the kept library belongs to, or none.
    QString ProjectFile;
    /// The project file against whose folder the library's bare image names were found.
    QString ImagesBeside;
    /// When the changes were last kept.
    QDateTime Time;
};

/// Keeps the unsaved changes of one window's document on disk, so that neither Exit, a crash
/// nor New Project loses them: while the library differs from its saved state, a copy of it
/// is written at most WriteDelay ms after a change, beside a description of it. The window owns
/// its copy through a lock file for as long as it lives; copies whose owner is gone are
/// offered back at the next start.
class TRecoveryCopy : public QObject
{
    Q_OBJECT

public:
    static constexpr int WriteDelay = 2000;

    /// Follows Document; the copy lives in Folder, by default the per-user recovery folder.
    explicit TRecoveryCopy(TGlyphbookDocument &Document, QString Folder = DefaultFolder(),
                           QObject *Parent = nullptr);
    /// Writes what is still to be written: an Exit right after a change loses nothing.
    ~TRecoveryCopy() override;

    static QString DefaultFolder();
    const QString &Folder() const { return FFolder; }
    /// This window's copy of the library's document (it exists only while it is kept).
    QString DocumentPath() const;
    /// Whether a write is waiting for its moment.
    bool IsPending() const { return FTimer.isActive(); }

    /// The project file the library was loaded from or last saved to, or none.
    void SetLibraryFile(const QString &FileName);

    /// Starts writing the copy now, without waiting for it.
    void WriteNow() { Write(); }
    /// Writes a waiting copy now and waits until every write is on the disk.
    void Flush();
    /// New, Open or Extract is about to replace the library: its unsaved changes stay in the
    /// copy as discarded work until the next change of the new library.
    void KeepAsDiscarded();
    /// The library was not replaced after all: the copy is its own again.
    void KeepAsCurrent() { SetDiscarded(false); }
    /// Whether the copy holds a replaced library's changes that can be brought back.
    bool HasDiscarded() const { return FDiscarded; }
    /// Reads the discarded work; raises EGlyphbookError when it cannot be read.
    TKeptCopy DiscardedCopy() const;
    /// The library was saved: the copy is no longer needed.
    void Saved();

    /// Copies of earlier windows whose owner is gone, newest first. Each is locked by this
    /// window until Release or Delete.
    QList<TKeptCopy> TakeOrphans();
    /// Gives up the lock of an orphan taken by TakeOrphans; its files stay.
    void Release(const TKeptCopy &Copy);
    /// Removes an orphan's files.
    void Delete(const TKeptCopy &Copy);

    /// Reads the library kept in a copy; raises EGlyphbookError when it does not load.
    static TViraGlyphbook Load(const TKeptCopy &Copy);

signals:
    /// Whether discarded work can be brought back changed.
    void discardedChanged(bool Available);

private:
    TGlyphbookDocument &FDocument;
    QString FFolder;
    QString FName;
    std::unique_ptr<QLockFile> FLock;
    QString FLibraryFile;
    QTimer FTimer;
    QElapsedTimer FPendingSince;
    /// The write on its way to the disk, made from a snapshot of the library.
    std::future<void> FWriting;
    bool FDiscarded = false;
    /// Whether the copy files on the disk are this window's.
    bool FWritten = false;
    QList<std::pair<QString, std::shared_ptr<QLockFile>>> FOrphanLocks;

    QString PathOf(const QString &Name, const char *Suffix) const;
    TKeptCopy Describe(const QString &Name) const;
    void Changed();
    void SavedChanged(bool Saved);
    void Write();
    void Wait();
    void RemoveOwnCopy();
    void SetDiscarded(bool Discarded);
};
