#include "model/FileSave.h"

#include "model/GlyphbookError.h"
#include "model/ShortWrite.h"

#include <QFileInfo>
#include <QSaveFile>

TFileReplacement::TFileReplacement(const QString &FileName, const QString &ShownName,
                                   bool DirectWriteFallback)
    : FShownName(ShownName)
{
    const QFileInfo info(FileName);
    FInPlace = info.exists() && !info.isFile() && !info.isDir();
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
    if (!FFile->flush() || (!FInPlace && !static_cast<QSaveFile &>(*FFile).commit()))
        throw EFileError::CannotWrite(FShownName, ShortWriteReason(*FFile));
}

void SaveFileBytes(const QString &FileName, const QByteArray &Bytes)
{
    TFileReplacement target(FileName, FileName, true);
    if (target.Device().write(Bytes) != Bytes.size())
        throw EFileError::CannotWrite(FileName, ShortWriteReason(target.Device()));
    target.Commit();
}
