#pragma once

#include <QString>
#include <QTemporaryDir>

#include <functional>
#include <memory>

class QLockFile;

/// A private folder for the work of one run of packing or extraction, or for a library copy,
/// removed with everything in it when the run ends. The run holds the folder's lock while it lives,
/// and notes there the step it has reached: a later run tells the folders of killed runs from those
/// of live ones by the lock, and finishes or undoes their work by the step (ForEachDeadFolder).
class TWorkFolder
{
public:
    /// In the system's temporary folder ("glyphbook-<Purpose>-..."), or hidden in the folder
    /// Beside ("." + Purpose + "-..."), on the same file system, so that results can be moved
    /// into place.
    explicit TWorkFolder(const QString &Purpose, const QString &Beside = QString());
    ~TWorkFolder();
    TWorkFolder(const TWorkFolder &) = delete;
    TWorkFolder &operator=(const TWorkFolder &) = delete;

    QString Path() const { return FDir.path(); }
    QString FilePath(const QString &Name) const { return FDir.filePath(Name); }

    /// Notes the step reached, for the run that finds this folder should this one be killed.
    void RecordStep(const QString &Step);
    /// Leaves the folder where it is when the run ends, without its lock: it holds the user's
    /// only copy of something, and no later run touches it.
    void Keep();

    /// The step noted in the work folder Folder; empty when none was.
    static QString RecordedStep(const QString &Folder);
    /// Calls Settle for every work folder in Parent named Prefix and six characters whose run
    /// has died (never for one whose run lives, nor for a kept one), and removes the folder when
    /// Settle returns true.
    static void ForEachDeadFolder(const QString &Parent, const QString &Prefix,
                                  const std::function<bool(const QString &Folder)> &Settle);
    /// Removes the folders that killed runs of packing and library copies (TLibraryCopy) left in
    /// the system's temporary folder.
    static void RemoveDeadTemporaryFolders();

private:
    QTemporaryDir FDir;
    std::unique_ptr<QLockFile> FLock;
};

/// Renames a file or folder, replacing a file at To; false when that fails.
bool MoveFileOrFolder(const QString &From, const QString &To);
