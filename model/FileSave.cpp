#include "model/FileSave.h"

#include "model/GlyphbookError.h"
#include "model/RawPaths.h"
#include "model/ShortWrite.h"

#include <QFileInfo>
#include <QSaveFile>
#include <QTemporaryFile>

#include <cerrno>
#include <cstring>

#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

TFileReplacement::TFileReplacement(const QString &FileName, const QString &ShownName,
                                   bool DirectWriteFallback)
    : FShownName(ShownName)
{
    const QFileInfo info(FileName);
    FInPlace = info.exists() && !info.isFile() && !info.isDir();
    if (!FInPlace && IsHeldFile(FileName)) {
        // QSaveFile would follow the descriptor's link to the name Qt cannot spell, and make a
        // new file of another name.
        auto temporary = std::make_unique<QTemporaryFile>(FolderOf(FileName) +
                                                          QStringLiteral("/.glyphbook-XXXXXX"));
        if (temporary->open()) {
            temporary->setPermissions(info.permissions());
            FHeld = FileName;
            FFile = std::move(temporary);
            return;
        }
        if (!DirectWriteFallback)
            throw EFileError::CannotCreate(FShownName, temporary->errorString());
        FInPlace = true;
    }
    if (FInPlace) {
        FFile = std::make_unique<QFile>(FileName);
    } else {
        auto saveFile = std::make_unique<QSaveFile>(FileName);
        saveFile->setDirectWriteFallback(DirectWriteFallback);
        FFile = std::move(saveFile);
    }
    if (!FFile->open(QIODevice::WriteOnly))
        throw EFileError::CannotCreate(FShownName, FFile->errorString());
}

TFileReplacement::~TFileReplacement() = default;

void TFileReplacement::Commit()
{
    // Flush before committing: a write that fails in the buffer must not replace the file.
    if (!FFile->flush())
        throw EFileError::CannotWrite(FShownName, ShortWriteReason(*FFile));
    if (!FHeld.isEmpty()) {
#ifdef Q_OS_UNIX
        const bool synced = ::fsync(FFile->handle()) == 0;
#else
        const bool synced = true;
#endif
        if (!synced || !ReplaceHeldFile(FFile->fileName(), FHeld))
            throw EFileError::CannotWrite(FShownName, QString::fromLocal8Bit(std::strerror(errno)));
        static_cast<QTemporaryFile &>(*FFile).setAutoRemove(false); // it is the file now
        return;
    }
    if (!FInPlace && !static_cast<QSaveFile &>(*FFile).commit())
        throw EFileError::CannotWrite(FShownName, ShortWriteReason(*FFile));
}

void SaveFileBytes(const QString &FileName, const QByteArray &Bytes)
{
    TFileReplacement target(FileName, FileName, true);
    if (target.Device().write(Bytes) != Bytes.size())
        throw EFileError::CannotWrite(FileName, ShortWriteReason(target.Device()));
    target.Commit();
}
