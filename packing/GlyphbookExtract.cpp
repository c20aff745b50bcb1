// Extracting an archive into a library folder and a project document: entry-name safety,
// unpacking within the free space, and the document written for the folder. The results are
// put in place by InstallExtraction.
#include "packing/GlyphbookExtract.h"

#include "model/ImagePath.h"
#include "model/RawPaths.h"
#include "model/ShortWrite.h"
#include "model/ViraSymbol.h"
#include "packing/ArchiveNames.h"
#include "packing/EarlierLibrary.h"
#include "packing/ExtractInstall.h"
#include "packing/GzipStream.h"
#include "packing/LibTar.h"
#include "packing/LibraryCopy.h"
#include "packing/PrefetchReader.h"
#include "packing/WorkFolder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QLocale>
#include <QStorageInfo>

#include <atomic>
#include <exception>
#include <functional>
#include <memory>
#include <utility>

namespace
{

// What a file takes on disk at least, per started block, when the free space is reckoned.
constexpr qint64 DiskBlock = 4096;
constexpr qint64 MinSpaceMargin = 1024 * 1024;

QString native(const QString &path)
{
    return QDir::toNativeSeparators(path);
}

// ---- Entry names ----

/// The entry's path inside the library folder ("/" between folders), or an empty string for an
/// entry that names no file. Raises for a name that would lead outside the library folder.
/// RawPath gets the same path in the archive's own bytes, to tell entries apart whose names
/// decode alike.
QString safeEntryPath(const QByteArray &EntryName, const QString &Archive, QByteArray &RawPath)
{
    const auto unsafe = [&] {
        return ETarError(QCoreApplication::translate(
                             "GlyphbookExtract", "The archive \"%1\" holds the entry \"%2\", which "
                                                 "would be written outside the library "
                                                 "folder. Nothing was extracted.")
                             .arg(native(Archive), PrintableEntryName(EntryName)));
    };
    if (EntryName.startsWith('/') || EntryName.startsWith('\\') ||
        HasDrivePrefix(QFile::decodeName(EntryName.left(2))))
        throw unsafe();
    QList<QByteArray> parts;
    QByteArray part;
    for (qsizetype at = 0; at <= EntryName.size(); ++at) {
        const char c = at < EntryName.size() ? EntryName.at(at) : '/';
        if (c != '/' && c != '\\') {
            part.append(c);
            continue;
        }
        if (part == "..")
            throw unsafe();
        if (!part.isEmpty() && part != ".")
            parts.append(part);
        part.clear();
    }
    RawPath = parts.join('/');
    QStringList decoded;
    for (const QByteArray &p : std::as_const(parts))
        decoded.append(QFile::decodeName(p));
    return decoded.join(u'/');
}

/// Only data becomes files: links, devices, fifos, folders (also the old form, a file entry
/// whose name ends in "/"), and the records of other writers ("x", "g", ...) are skipped.
bool isWrittenAsFile(const TTarDirRec &Rec)
{
    const bool dataFlag = Rec.TypeFlag == '0' || Rec.TypeFlag == '\0' || Rec.TypeFlag == '7';
    return dataFlag && !Rec.Name.endsWith('/') && !Rec.Name.endsWith('\\');
}

// ---- Unpacking ----

/// The free space of the file system that holds Folder, and the part of it that is left free.
struct TDiskSpace {
    qint64 Free = 0;
    qint64 Margin = 0;

    explicit TDiskSpace(const QString &Folder)
        : Free(QStorageInfo(Folder).bytesAvailable()), Margin(std::max(MinSpaceMargin, Free / 100))
    {
    }
    qint64 Usable() const { return std::max<qint64>(Free - Margin, 0); }
};

/// The archive's data, inflated on a thread of its own from construction on: while this thread
/// prepares the work folder and later writes the files, the archive is being inflated ahead,
/// never more than the prefetch reader's few chunks.
class TInflatedArchive
{
    QFile FFile; // first: what reads it goes before it

public:
    explicit TInflatedArchive(const QString &Archive) : FFile(Archive)
    {
        if (!FFile.open(QIODevice::ReadOnly))
            throw EFileError::CannotOpen(native(Archive), FFile.errorString());
        Total = FFile.size();
        Gzip = std::make_unique<TGzipReader>(&FFile, Archive);
        Gzip->Progress = [this](qint64 done) { Consumed = done; };
        Ahead = std::make_unique<TPrefetchReader>(Gzip.get());
    }

    qint64 Total = 0;
    std::atomic<qint64> Consumed{0}; // compressed bytes
    std::unique_ptr<TGzipReader> Gzip;
    std::unique_ptr<TPrefetchReader> Ahead; // last: its thread ends first
};

/// Writes the current entry's data into the file Out, or links the file of the earlier library
/// that holds the same (Same, when open) in its place.
void writeEntry(TTarArchive &Tar, const TTarDirRec &Rec, QFile &Out, const QString &ShownTarget,
                TEarlierFile Same)
{
    const auto create = [&] {
        if (!Out.open(QIODevice::WriteOnly | QIODevice::Truncate))
            throw EFileError::CannotCreate(ShownTarget, Out.errorString());
    };
    if (Same.IsOpen()) {
        // Written from the first byte that differs on, the bytes before it taken from the
        // earlier file, which held them.
        Tar.ReadFile([&](const char *data, qint64 n, qint64 at) {
            if (!Out.isOpen()) {
                if (Same.Equals(data, n, at))
                    return;
                create();
                Same.CopyTo(Out, at, ShownTarget);
            }
            if (Out.write(data, n) != n)
                throw EFileError::CannotWrite(ShownTarget, ShortWriteReason(Out));
        });
        if (!Out.isOpen()) {
            if (Same.LinkAs(Out.fileName()))
                return;
            create();
            Same.CopyTo(Out, Rec.Size, ShownTarget);
        }
    } else {
        create();
        Tar.ReadFile(&Out);
    }
    // Flushed first: a later write would set the time again.
    if (!Out.flush())
        throw EFileError::CannotWrite(ShownTarget, ShortWriteReason(Out));
    if (Rec.DateTime.isValid())
        Out.setFileTime(Rec.DateTime, QFileDevice::FileModificationTime);
    Out.close();
}

/// Writes every file entry of the archive into Folder, which will become LibraryFolder (the
/// name the user is told about). DocumentWritten is called each time the library document's
/// entry has been written whole.
void unpack(TInflatedArchive &Data, const QString &Archive, const QString &Folder,
            const QString &LibraryFolder, const TPackCallbacks &Callbacks,
            const std::function<void()> &DocumentWritten)
{
    TGzipReader &gzip = *Data.Gzip;
    TPrefetchReader &ahead = *Data.Ahead;
    if (Callbacks.Progress)
        ahead.Taken = [&] { Callbacks.Progress(Data.Consumed, Data.Total); };
    // Sizes are checked before anything is written: no archive fills the disk.
    const TDiskSpace space(Folder);
    qint64 needed = 0;
    QHash<QString, QByteArray> written; // path -> the entry's path in the archive's bytes
    const TEarlierLibrary earlierFiles(LibraryFolder);
    try {
        TTarArchive tar(&ahead);
        TTarDirRec rec;
        while (FindNextEntry(tar, rec, native(Archive))) {
            QByteArray rawPath;
            const QString path = safeEntryPath(rec.Name, Archive, rawPath);
            if (path.isEmpty() || !isWrittenAsFile(rec))
                continue;
            // The project document names its pictures in lines of text that end in CR LF: a
            // line break in a name would come back as another name, and the picture go missing.
            if (rawPath.contains('\n') || rawPath.contains('\r'))
                throw ETarError(
                    QCoreApplication::translate("GlyphbookExtract",
                                                "The archive \"%1\" holds the entry \"%2\", "
                                                "whose name holds a line break, which "
                                                "no project document can keep. "
                                                "Nothing was extracted.")
                        .arg(native(Archive), PrintableEntryName(rec.Name)));
            const auto earlier = written.constFind(path);
            if (earlier != written.cend() && *earlier != rawPath)
                throw ETarError(
                    QCoreApplication::translate("GlyphbookExtract",
                                                "The archive \"%1\" holds the entries \"%2\" "
                                                "and \"%3\", which would both be "
                                                "written as \"%4\". Nothing was "
                                                "extracted.")
                        .arg(native(Archive), PrintableEntryName(*earlier),
                             PrintableEntryName(rawPath), path));
            const bool again = earlier != written.cend();
            written.insert(path, rawPath);
            needed += (std::max<qint64>(rec.Size, 0) + DiskBlock - 1) / DiskBlock * DiskBlock;
            if (needed > space.Usable()) {
                const QLocale c = QLocale::c();
                throw EFileError(QCoreApplication::translate(
                                     "GlyphbookExtract",
                                     "The archive \"%1\" does not fit on the disk of \"%2\": "
                                     "its files need more than the %3 that may be "
                                     "used there (%4 free, less a margin of %5). "
                                     "Nothing was extracted.")
                                     .arg(native(Archive), native(QFileInfo(LibraryFolder).path()),
                                          c.formattedDataSize(space.Usable()),
                                          c.formattedDataSize(space.Free),
                                          c.formattedDataSize(space.Margin)));
            }
            const QString target = Folder + u'/' + path;
            const QString shownTarget = native(LibraryFolder + u'/' + path);
            if (path.contains(u'/') && !QDir().mkpath(QFileInfo(target).path()))
                throw EFileError::CannotCreate(
                    shownTarget,
                    QCoreApplication::translate("GlyphbookExtract", "Its folder cannot be made."));
            QFile out(target);
            // A later entry of the same name replaces the file, which may be an earlier
            // library's file linked in: its name goes, its bytes are never written over.
            if (again && !out.remove() && out.exists())
                throw EFileError::CannotCreate(shownTarget, out.errorString());
            writeEntry(tar, rec, out, shownTarget, earlierFiles.Candidate(path, rec));
            if (path == DocumentEntryName)
                DocumentWritten();
        }
        // Reading on to the trailer proves the archive whole: a cut or damaged stream is never
        // taken for a shorter archive.
        char rest[64 * 1024];
        while (ahead.read(rest, sizeof rest) > 0) {
        }
        ahead.Stop();
        gzip.ReadToEnd();
    } catch (const EGlyphbookError &) {
        ahead.Stop();
        gzip.RaiseIfFailed(); // the cause, when the tar reader only saw its effect
        throw;
    }
}

/// Writes the project document NewDocument for the library in Folder, whose entries will be at
/// LibraryFolder; false when there is no library document.
bool writeProjectDocument(TViraGlyphbook &Glyphbook, const QString &Archive, const QString &Folder,
                          const QString &LibraryFolder, const QString &NewDocument)
{
    const QString document = Folder + u'/' + DocumentEntryName;
    if (!QFileInfo(document).isFile())
        return false;
    try {
        Glyphbook.LoadFromFile(document);
    } catch (const EGlyphbookError &e) {
        // The document's temporary path means nothing to the user; the archive does.
        QString message = e.message();
        message.replace(native(document), DocumentEntryName);
        throw EGlyphbookError(
            QCoreApplication::translate("GlyphbookExtract",
                                        "The packed library \"%1\" holds no usable %2. %3")
                .arg(native(Archive), DocumentEntryName, message));
    }
    const auto inLibrary = [&](const QString &stored) {
        // "." and ".." name no file: such an image stays inside the library folder, missing.
        QString name = FileNamePart(stored);
        if (name == u"." || name == u"..")
            name.clear();
        return native(LibraryFolder + u'/' + name);
    };
    for (const TViraSymbolPtr &symbol : Glyphbook.Symbols)
        ReplacePicturePaths(*symbol, inLibrary);
    Glyphbook.SaveToFile(NewDocument);
    return true;
}

/// Whether the existing project document of Target was written by extracting into its library
/// folder: every image path leads into that folder. Another document, or one that does not load,
/// is the user's own.
bool isEarlierExtraction(const TExtractTarget &Target)
{
    TViraGlyphbook project;
    try {
        project.LoadFromFile(Target.ProjectDocument);
    } catch (const EGlyphbookError &) {
        return false;
    }
    const QString inside = QDir::cleanPath(Target.LibraryFolder) + u'/';
    const auto leadsInside = [&](const QString &stored) {
        return (QDir::cleanPath(ResolveImagePath(stored, Target.ProjectDocument)) + u'/')
            .startsWith(inside);
    };
    for (const TViraSymbolPtr &symbol : std::as_const(project.Symbols))
        for (const QString &stored : PicturePaths(*symbol))
            if (!leadsInside(stored))
                return false;
    return true;
}

TExtractResult extractInto(TViraGlyphbook &Glyphbook, const QString &Archive,
                           TInflatedArchive &Data, const TExtractTarget &Target,
                           const TPackCallbacks &Callbacks)
{
    const QString parent = QFileInfo(Target.LibraryFolder).absolutePath();
    const QString workPrefix = Target.BaseName + QStringLiteral("-extract");
    TWorkFolder::ForEachDeadFolder(parent, u'.' + workPrefix + u'-', [&](const QString &work) {
        return SettleKilledExtraction(work, Target);
    });

    if (QFileInfo::exists(Target.ProjectDocument) && !isEarlierExtraction(Target))
        throw EProjectInTheWay(
            QCoreApplication::translate(
                "GlyphbookExtract", "The project \"%1\" is not the result of an earlier extraction "
                                    "into \"%2\": its images lie elsewhere, so it is most likely "
                                    "the project this archive was packed from. Extracting here "
                                    "would replace it; nothing was extracted.")
                .arg(native(Target.ProjectDocument), native(Target.LibraryFolder)));
    const QStringList replaced = Target.Existing();
    if (!replaced.isEmpty() && !AskOverwrite(Callbacks, replaced))
        return TExtractResult::Declined;

    TWorkFolder work(workPrefix, parent);
    const TExtractWork parts(work.Path());
    // Created here, not as the temporary folder itself, so that it gets ordinary permissions.
    if (!QDir().mkdir(parts.NewFolder))
        throw EFileError::CannotCreate(
            native(parts.NewFolder),
            QCoreApplication::translate("GlyphbookExtract", "The folder cannot be made."));
    // The library document comes first in packed libraries: its project document is written
    // while the pictures are still being inflated, and its failure told only once the archive
    // has proved whole, as ever.
    bool hasDocument = false;
    bool documentDone = false;
    std::exception_ptr documentError;
    const auto writeDocument = [&] {
        documentDone = true;
        documentError = nullptr;
        try {
            hasDocument = writeProjectDocument(Glyphbook, Archive, parts.NewFolder,
                                               Target.LibraryFolder, parts.NewDocument);
        } catch (...) {
            documentError = std::current_exception();
        }
    };
    unpack(Data, Archive, parts.NewFolder, Target.LibraryFolder, Callbacks, writeDocument);
    if (!documentDone)
        writeDocument();
    if (documentError)
        std::rethrow_exception(documentError);
    InstallExtraction(work, Target, Callbacks);
    if (!hasDocument) {
        if (Callbacks.Inform)
            Callbacks.Inform(QCoreApplication::translate("GlyphbookExtract", NoDocumentMessage));
        return TExtractResult::NoDocument;
    }
    return TExtractResult::Extracted;
}

/// The archive's file name up to its first ".", in the bytes the system knows it by.
QByteArray baseNameBytes(const QString &Archive)
{
    const QByteArray name = FileNameBytes(Archive);
    const qsizetype dot = name.indexOf('.');
    return dot < 0 ? name : name.left(dot);
}

/// Raises when the file Archive cannot be extracted under its name: no gzip archive, or a name
/// that would make the library folder or the project document the archive itself.
void refuseUnusableArchive(const QString &Archive, const TExtractTarget &Target)
{
    if (!QFileInfo(Archive).isFile())
        throw EFileError::CannotOpen(
            native(Archive), QCoreApplication::translate("GlyphbookExtract", "No such file."));
    {
        QFile file(Archive);
        if (!file.open(QIODevice::ReadOnly))
            throw EFileError::CannotOpen(native(Archive), file.errorString());
        TGzipReader probe(&file, Archive);
        char first;
        probe.read(&first, 1);
        probe.RaiseIfFailed();
    }
    const auto refuse = [&](const QString &why) {
        return EFileError(
            QCoreApplication::translate("GlyphbookExtract", "Cannot extract \"%1\": %2")
                .arg(native(Archive), why));
    };
    // The project document names its pictures by full paths, which are UTF-8 text.
    if (QFile::encodeName(Target.BaseName) != baseNameBytes(Archive))
        throw refuse(QCoreApplication::translate(
            "GlyphbookExtract",
            "the name of its library folder would not be UTF-8 text, so the project document "
            "could not name its pictures. Give the archive a name in UTF-8."));
    if (IsHeldPath(Target.LibraryFolder))
        throw refuse(QCoreApplication::translate(
                         "GlyphbookExtract",
                         "the path of its library folder, \"%1\", is not UTF-8 text, so the "
                         "project document could not name its pictures. Extract into another "
                         "folder.")
                         .arg(native(Target.LibraryFolder)));
    if (Target.BaseName.isEmpty())
        throw refuse(QCoreApplication::translate(
            "GlyphbookExtract", "a packed library's name must not begin with \".\"."));
    if (Target.LibraryFolder == Archive)
        throw refuse(QCoreApplication::translate(
            "GlyphbookExtract", "the library folder would be the archive itself. Give the "
                                "archive a name ending in .tar.gz."));
    if (Target.ProjectDocument == Archive)
        throw refuse(QCoreApplication::translate(
            "GlyphbookExtract", "the project document would be the archive itself. Give "
                                "the archive a name ending in .tar.gz."));
    // The archive's name is fine here; the file is what stands in the way, a link to nothing
    // as much as any other.
    if (const QFileInfo place(Target.LibraryFolder);
        (place.exists() || place.isSymLink()) && !place.isDir())
        throw refuse(
            QCoreApplication::translate("GlyphbookExtract",
                                        "the file \"%1\" stands where its library folder would "
                                        "be. Move or rename that file, or extract into "
                                        "another folder.")
                .arg(native(Target.LibraryFolder)));
    if (QFileInfo(Target.ProjectDocument).isDir())
        throw refuse(
            QCoreApplication::translate("GlyphbookExtract",
                                        "a folder has the name of its project document, \"%1\".")
                .arg(native(Target.ProjectDocument)));
}

} // namespace

TExtractTarget TExtractTarget::ForArchive(const QString &ArchivePath, const QString &Into)
{
    const QFileInfo info(ArchivePath);
    TExtractTarget target;
    // An archive held by itself is named by its bytes; its base name may still be UTF-8.
    target.BaseName = QFile::decodeName(baseNameBytes(ArchivePath));
    const QString folder = (Into.isEmpty() ? FolderOf(ArchivePath)
                                           : QDir::cleanPath(QFileInfo(Into).absoluteFilePath())) +
                           u'/';
    target.LibraryFolder = folder + target.BaseName;
    target.ProjectDocument = target.LibraryFolder + QStringLiteral(".js");
    // An intermediate tar is only ever found beside the archive.
    if (Into.isEmpty())
        target.IntermediateTar = target.LibraryFolder + QStringLiteral(".tar");
    if (target.IntermediateTar == QDir::cleanPath(info.absoluteFilePath()))
        target.IntermediateTar.clear();
    return target;
}

QStringList TExtractTarget::Existing() const
{
    QStringList existing;
    if (QFileInfo(LibraryFolder).isDir())
        existing.append(LibraryFolder);
    if (QFileInfo::exists(ProjectDocument))
        existing.append(ProjectDocument);
    if (!IntermediateTar.isEmpty() && QFileInfo(IntermediateTar).isFile())
        existing.append(IntermediateTar);
    return existing;
}

TExtractResult ExtractLibrary(TViraGlyphbook &Glyphbook, const QString &FileName,
                              const TPackCallbacks &Callbacks, const QString &Into)
{
    const QString archive = QDir::cleanPath(QFileInfo(FileName).absoluteFilePath());
    const TExtractTarget target = TExtractTarget::ForArchive(archive, Into);
    if (!Into.isEmpty() && !QFileInfo(Into).isDir())
        throw EFileError(
            QCoreApplication::translate("GlyphbookExtract",
                                        "Cannot extract into \"%1\": there is no such folder.")
                .arg(native(Into)));
    refuseUnusableArchive(archive, target);
    // Inflating starts here; the steps before the first file is written take long enough to
    // matter beside it.
    TInflatedArchive data(archive);

    // The library is borrowed for rewriting the document.
    TWorkFolder::RemoveDeadTemporaryFolders();
    const TLibraryCopy copy(Glyphbook);
    TExtractResult result;
    try {
        result = extractInto(Glyphbook, archive, data, target, Callbacks);
    } catch (...) {
        copy.Restore(Glyphbook);
        throw;
    }
    copy.Restore(Glyphbook);
    return result;
}
