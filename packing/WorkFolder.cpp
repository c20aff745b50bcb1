#include "packing/WorkFolder.h"

#include "model/GlyphbookError.h"
#include "model/ShortWrite.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QLockFile>
#include <QSaveFile>

#include <filesystem>
#include <thread>
#include <vector>

namespace
{

const QString TemporaryPrefix = QStringLiteral("glyphbook-");
const QString LockName = QStringLiteral("lock");
const QString StepName = QStringLiteral("step");

std::filesystem::path fsPath(const QString &path)
{
#ifdef Q_OS_WIN
    return std::filesystem::path(path.toStdWString());
#else
    return std::filesystem::path(QFile::encodeName(path).toStdString());
#endif
}

QString folderTemplate(const QString &Purpose, const QString &Beside)
{
    if (Beside.isEmpty())
        return QDir::tempPath() + u'/' + TemporaryPrefix + Purpose + QStringLiteral("-XXXXXX");
    return Beside + QStringLiteral("/.") + Purpose + QStringLiteral("-XXXXXX");
}

/// The system's reason why no file can be written in Folder. QLockFile keeps none (a full disk
/// is its "unknown error"), so a small file is written where the lock failed to find it.
QString whyNothingCanBeWritten(const QString &Folder)
{
    QFile probe(Folder + QStringLiteral("/probe"));
    QString reason;
    if (!probe.open(QIODevice::WriteOnly))
        reason = probe.errorString();
    else if (probe.write(QByteArray(64, 'x')) != 64 || !probe.flush())
        reason = ShortWriteReason(probe);
    probe.remove();
    return reason.isEmpty()
               ? QCoreApplication::translate("WorkFolder", "Its lock file cannot be made.")
               : reason;
}

/// Removes the files in the folders below Folder, its own files left. Deleting a library's
/// files is mostly the file system freeing their blocks, which several threads overlap.
void removeFilesBelow(const QString &Folder)
{
    namespace fs = std::filesystem;
    std::vector<fs::path> files;
    std::error_code error;
    for (fs::recursive_directory_iterator entry(fsPath(Folder), error), end; !error && entry != end;
         entry.increment(error))
        if (entry.depth() > 0 && entry->symlink_status(error).type() == fs::file_type::regular)
            files.push_back(entry->path());
    constexpr size_t Threads = 4;
    constexpr size_t FewFiles = 64; // fewer are gone before threads would start
    if (files.size() < FewFiles)
        return;
    const auto remove = [&files](size_t first) {
        std::error_code ignored; // what is left, removeRecursively meets again
        for (size_t i = first; i < files.size(); i += Threads)
            fs::remove(files[i], ignored);
    };
    std::vector<std::thread> helpers;
    for (size_t first = 1; first < Threads; ++first)
        helpers.emplace_back(remove, first);
    remove(0);
    for (std::thread &helper : helpers)
        helper.join();
}

} // namespace

TWorkFolder::TWorkFolder(const QString &Purpose, const QString &Beside)
    : FDir(folderTemplate(Purpose, Beside))
{
    const QString parent = QDir::toNativeSeparators(Beside.isEmpty() ? QDir::tempPath() : Beside);
    if (!FDir.isValid())
        throw EFileError(QCoreApplication::translate(
                             "WorkFolder", "Cannot create a temporary folder in \"%1\". %2")
                             .arg(parent, FDir.errorString()));
    FLock = std::make_unique<QLockFile>(FDir.filePath(LockName));
    FLock->setStaleLockTime(0); // a run may take long: only a dead one gives up its lock
    if (!FLock->tryLock(0))
        throw EFileError(QCoreApplication::translate(
                             "WorkFolder", "Cannot create a temporary folder in \"%1\". %2")
                             .arg(parent, whyNothingCanBeWritten(FDir.path())));
}

TWorkFolder::~TWorkFolder()
{
    // The lock and the step stay until the folder goes, so no other run takes it for a dead one.
    if (FDir.autoRemove() && FDir.isValid())
        removeFilesBelow(FDir.path());
}

void TWorkFolder::RecordStep(const QString &Step)
{
    QSaveFile file(FDir.filePath(StepName));
    if (!file.open(QIODevice::WriteOnly) || file.write(Step.toUtf8()) != Step.toUtf8().size() ||
        !file.commit())
        throw EFileError::CannotWrite(QDir::toNativeSeparators(file.fileName()),
                                      ShortWriteReason(file));
}

void TWorkFolder::Keep()
{
    FDir.setAutoRemove(false);
    FLock.reset();
}

QString TWorkFolder::RecordedStep(const QString &Folder)
{
    QFile file(Folder + u'/' + StepName);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

void TWorkFolder::ForEachDeadFolder(const QString &Parent, const QString &Prefix,
                                    const std::function<bool(const QString &Folder)> &Settle)
{
    // The name's end is the six characters that make it unique, never more: ".lib-extract-"
    // must not take the folders of "lib-extract-2.tar.gz".
    const QStringList names =
        QDir(Parent).entryList({Prefix + QStringLiteral("??????")},
                               QDir::Dirs | QDir::Hidden | QDir::NoDotAndDotDot | QDir::NoSymLinks);
    for (const QString &name : names) {
        const QString folder = Parent + u'/' + name;
        // A folder without a lock is a kept one, or one whose run has only just begun.
        const QString lockPath = folder + u'/' + LockName;
        if (!QFileInfo::exists(lockPath))
            continue;
        QLockFile lock(lockPath);
        lock.setStaleLockTime(0);
        if (!lock.tryLock(0))
            continue; // its run lives
        if (Settle(folder))
            QDir(folder).removeRecursively();
    }
}

void TWorkFolder::RemoveDeadTemporaryFolders()
{
    for (const char *purpose : {"pack-", "library-"})
        ForEachDeadFolder(QDir::tempPath(), TemporaryPrefix + QLatin1String(purpose),
                          [](const QString &) { return true; });
}

bool MoveFileOrFolder(const QString &From, const QString &To)
{
    std::error_code error;
    std::filesystem::rename(fsPath(From), fsPath(To), error);
    return !error;
}
