// Packing a library into an archive.
#include "packing/GlyphbookPack.h"

#include "model/FileLookup.h"
#include "model/FileSave.h"
#include "model/ImagePath.h"
#include "model/ProjectFiles.h"
#include "model/ViraSymbol.h"
#include "packing/ArchiveNames.h"
#include "packing/GzipStream.h"
#include "packing/LibTar.h"
#include "packing/WorkFolder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <memory>

namespace
{

constexpr qint64 TarBlock = 512;

QString native(const QString &path)
{
    return QDir::toNativeSeparators(path);
}

qint64 tarEntrySize(qint64 dataSize)
{
    return TarBlock + (dataSize + TarBlock - 1) / TarBlock * TarBlock;
}

/// The library with every image path replaced by its entry name; EFileMissing for the first
/// image file that does not exist.
TViraGlyphbook namedCopy(const TViraGlyphbook &Glyphbook, const QString &ProjectFile,
                         TArchiveNamer &Namer, TFileLookup &Lookup)
{
    const auto entryName = [&](const QString &stored) {
        const QString path = ResolveImagePath(stored, ProjectFile);
        const TFileFacts &facts = Lookup.Of(path);
        if (path.isEmpty() || !facts.IsFile)
            throw EFileMissing::ForPath(stored);
        return Namer.NameFor(path, facts.Canonical, TArchiveNamer::NaturalName(stored));
    };
    TViraGlyphbook copy;
    for (const TViraSymbolPtr &symbol : Glyphbook.Symbols) {
        auto named = std::make_shared<TViraSymbol>(*symbol);
        // A plain image does not save its state images, but their files go into the archive
        // all the same: the archive holds every file the library names.
        ReplacePicturePaths(*named, entryName);
        copy.Symbols.append(named);
    }
    return copy;
}

/// Raises when Archive is a file that packing reads: the project document or an image of the
/// library, under any of its names.
void refuseOwnInput(const TViraGlyphbook &Glyphbook, const QString &Archive,
                    const QString &ProjectFile, TFileLookup &Lookup)
{
    const auto refuse = [&](const QString &message) {
        return EFileError(message.arg(native(Archive)));
    };
    switch (TProjectFiles(Glyphbook, ProjectFile, &Lookup).Which(Archive)) {
    case TProjectFiles::Document:
        throw refuse(QCoreApplication::translate(
            "GlyphbookPack", "Cannot pack into \"%1\": it is the project document. "
                             "Choose another name for the archive."));
    case TProjectFiles::Picture:
        throw refuse(QCoreApplication::translate(
            "GlyphbookPack", "Cannot pack into \"%1\": it is an image of the library. "
                             "Choose another name for the archive."));
    case TProjectFiles::None:
        break;
    }
}

} // namespace

EFileMissing EFileMissing::ForPath(const QString &Path)
{
    return EFileMissing(
        QCoreApplication::translate("GlyphbookPack", "File \"%1\" is missing").arg(Path));
}

bool PackLibrary(const TViraGlyphbook &Glyphbook, const QString &FileName,
                 const TPackCallbacks &Callbacks, const QString &ProjectFile)
{
    const QString archive = QDir::cleanPath(QFileInfo(FileName).absoluteFilePath());
    if (QFileInfo(archive).isDir())
        throw EFileError::CannotCreate(
            native(archive), QCoreApplication::translate("GlyphbookPack", "It is a folder."));
    // One look-up of each picture serves the check of the target, the names and the sizes.
    TFileLookup lookup;
    refuseOwnInput(Glyphbook, archive, ProjectFile, lookup);
    if (QFileInfo::exists(archive) && !AskOverwrite(Callbacks, {archive}))
        return false;

    // Files of one name in many folders (an icon in every size) meet each other again and
    // again: their sizes, looked up once, tell most of them apart without reading them.
    TArchiveNamer namer([&](const QString &a, const QString &b) {
        return lookup.Of(a).Size == lookup.Of(b).Size && TArchiveNamer::SameBytes(a, b);
    });
    TViraGlyphbook named = namedCopy(Glyphbook, ProjectFile, namer, lookup);

    TWorkFolder::RemoveDeadTemporaryFolders();
    // The document goes into the archive from memory, with the time it was made.
    const QByteArray document = named.SaveToBytes();
    const QDateTime made = QDateTime::currentDateTimeUtc();

    qint64 total = tarEntrySize(document.size()) + TarBlock;
    for (const TArchiveNamer::TFile &file : namer.Files())
        total += tarEntrySize(lookup.Of(file.Path).Size);

    // No direct-write fallback: a failed pack must leave an earlier archive intact.
    TFileReplacement target(archive, native(archive), false);
    QFileDevice &out = target.Device();
    TGzipWriter gzip(&out);
    if (Callbacks.Progress)
        gzip.Progress = [&](qint64 done) { Callbacks.Progress(done, total); };
    {
        TTarWriter tar(&gzip);
        tar.AddString(document, DocumentEntryName.toLatin1(), made);
        for (const TArchiveNamer::TFile &file : namer.Files())
            tar.AddFile(file.Path, file.Name.toLatin1());
        tar.Finalize();
    }
    gzip.Finish();
    target.Commit();
    return true;
}
