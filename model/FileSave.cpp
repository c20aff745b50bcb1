#include "model/FileSave.h"

#include "model/GlyphbookError.h"
#include "model/ShortWrite.h"

#include <QFileInfo>
#include <QSaveFile>

#include <memory>

void SaveFileBytes(const QString &FileName, const QByteArray &Bytes)
{
    // A pipe or a device is written in place: a new file moved over it would replace the node.
    const QFileInfo info(FileName);
    const bool inPlace = info.exists() && !info.isFile() && !info.isDir();
    std::unique_ptr<QFileDevice> target;
    if (inPlace) {
        target = std::make_unique<QFile>(FileName);
    } else {
        auto saveFile = std::make_unique<QSaveFile>(FileName);
        // In a folder where no temporary file can be made, a writable file is written in
        // place, as any editor does.
        saveFile->setDirectWriteFallback(true);
        target = std::move(saveFile);
    }
    QFileDevice &file = *target;
    if (!file.open(QIODevice::WriteOnly))
        throw EFileError::CannotCreate(FileName, file.errorString());
    // Flush before committing: a write that fails in the buffer must not replace the file.
    if (file.write(Bytes) != Bytes.size() || !file.flush())
        throw EFileError::CannotWrite(FileName, ShortWriteReason(file));
    if (!inPlace && !static_cast<QSaveFile &>(file).commit())
        throw EFileError::CannotWrite(FileName, ShortWriteReason(file));
}
