#include "compare/LibraryInput.h"

#include "model/GlyphbookError.h"
#include "model/ImagePath.h"
#include "packing/ArchiveNames.h"
#include "packing/GzipStream.h"
#include "packing/LibTar.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>

namespace
{

QString native(const QString &path)
{
    return QDir::toNativeSeparators(path);
}

/// Takes a file's bytes as they come: hashes them all and keeps the head for the size reader,
/// so a huge file or entry never has to fit in memory.
class TPictureSink : public QIODevice
{
public:
    TPictureSink() { open(QIODevice::WriteOnly); }

    TPictureInfo Info(const TPictureSizeReader &SizeReader) const
    {
        TPictureInfo info;
        info.Exists = true;
        info.Sha256 = FHash.result();
        info.Bytes = FBytes;
        if (SizeReader)
            info.Size = SizeReader(FHead);
        return info;
    }

protected:
    qint64 readData(char *, qint64) override { return -1; }
    qint64 writeData(const char *Data, qint64 Size) override
    {
        FHash.addData(QByteArrayView(Data, Size));
        FBytes += Size;
        if (FHead.size() < TLibraryInput::HeadBytes)
            FHead.append(Data, std::min(Size, TLibraryInput::HeadBytes - FHead.size()));
        return Size;
    }

private:
    QCryptographicHash FHash{QCryptographicHash::Sha256};
    qint64 FBytes = 0;
    QByteArray FHead;
};

/// The entry's name as a path in the library folder ("./a.png" is "a.png"), as extraction
/// writes it.
QString entryPath(const QByteArray &Name)
{
    QStringList parts;
    for (const QByteArray &part : Name.split('/'))
        if (!part.isEmpty() && part != ".")
            parts.append(QFile::decodeName(part));
    return parts.join(u'/');
}

/// Only data entries hold files; links, devices, folders and other writers' records do not.
bool holdsFile(const TTarDirRec &Rec)
{
    const bool dataFlag = Rec.TypeFlag == '0' || Rec.TypeFlag == '\0' || Rec.TypeFlag == '7';
    return dataFlag && !Rec.Name.endsWith('/');
}

} // namespace

TLibraryInput::TLibraryInput(const QString &FileName, TPictureSizeReader SizeReader)
    : FFileName(FileName), FSizeReader(std::move(SizeReader)),
      FPictures(std::make_shared<QHash<QString, TPictureInfo>>())
{
    const QFileInfo info(FileName);
    if (!info.exists())
        throw EFileError(QStringLiteral("Cannot open file \"%1\". The file does not exist.")
                             .arg(native(FileName)));
    if (!info.isFile())
        throw EFileError::CannotOpen(native(FileName), QStringLiteral("It is no file."));
    FIsArchive = LooksPacked(FileName);
    if (FIsArchive)
        ReadArchive();
    else
        FLibrary.LoadFromFile(FileName);
}

bool TLibraryInput::LooksPacked(const QString &FileName)
{
    QFile file(FileName);
    return file.open(QIODevice::ReadOnly) && file.read(2) == QByteArray("\x1f\x8b");
}

void TLibraryInput::ReadArchive()
{
    QFile file(FFileName);
    if (!file.open(QIODevice::ReadOnly))
        throw EFileError::CannotOpen(native(FFileName), file.errorString());
    TGzipReader gzip(&file, FFileName);
    QByteArray document;
    bool hasDocument = false;
    try {
        TTarArchive tar(&gzip);
        TTarDirRec rec;
        while (FindNextEntry(tar, rec, native(FFileName))) {
            if (!holdsFile(rec))
                continue;
            const QString path = entryPath(rec.Name);
            if (path == DocumentEntryName) {
                document = tar.ReadFile();
                hasDocument = true;
                continue;
            }
            TPictureSink sink;
            tar.ReadFile(&sink);
            // Extraction writes a later entry of one name over the earlier one.
            FPictures->insert(path, sink.Info(FSizeReader));
        }
        gzip.ReadToEnd();
    } catch (const EGlyphbookError &) {
        gzip.RaiseIfFailed(); // the cause, when the tar reader only saw its effect
        throw;
    }
    if (!hasDocument)
        throw EDocumentError(QStringLiteral("The packed library \"%1\" holds no %2.")
                                 .arg(native(FFileName), DocumentEntryName));
    try {
        FLibrary.LoadFromBytes(document, DocumentEntryName);
    } catch (const EGlyphbookError &e) {
        throw EDocumentError(QStringLiteral("The packed library \"%1\" holds no usable %2. %3")
                                 .arg(native(FFileName), DocumentEntryName, e.message()));
    }
}

TPictureReader TLibraryInput::Pictures() const
{
    const std::shared_ptr<QHash<QString, TPictureInfo>> pictures = FPictures;
    if (FIsArchive)
        return [pictures](const QString &StoredPath) {
            // The packed document names every picture by its entry, without a folder.
            return pictures->value(FileNamePart(StoredPath));
        };
    const QString project = QFileInfo(FFileName).absoluteFilePath();
    const TPictureSizeReader sizeReader = FSizeReader;
    return [pictures, project, sizeReader](const QString &StoredPath) {
        const auto known = pictures->constFind(StoredPath);
        if (known != pictures->cend())
            return *known;
        TPictureInfo info;
        const QString path = ResolveImagePath(StoredPath, project);
        if (QFileInfo(path).isFile()) {
            QFile file(path);
            if (!file.open(QIODevice::ReadOnly))
                throw EFileError::CannotOpen(native(path), file.errorString());
            TPictureSink sink;
            while (!file.atEnd()) {
                const QByteArray chunk = file.read(64 * 1024);
                if (file.error() != QFileDevice::NoError)
                    throw EFileError::CannotOpen(native(path), file.errorString());
                sink.write(chunk);
            }
            info = sink.Info(sizeReader);
        }
        pictures->insert(StoredPath, info);
        return info;
    };
}
