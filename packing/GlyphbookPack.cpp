#include "packing/GlyphbookPack.h"

#include "model/ImagePath.h"
#include "model/ViraSymbol.h"
#include "packing/ArchiveNames.h"
#include "packing/GzipStream.h"
#include "packing/LibTar.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSaveFile>
#include <QTemporaryDir>
#include <QUrl>

#include <filesystem>
#include <memory>
#include <utility>

namespace
{

const QString DocumentName = QStringLiteral("glyphbook.js");
constexpr qint64 TarBlock = 512;
constexpr qint64 MaxLongName = 64 * 1024;
// An archive whose content is more than this many times its size is taken for a bomb.
constexpr qint64 MaxInflation = 1000;

QString native(const QString &path)
{
    return QDir::toNativeSeparators(path);
}

bool confirm(const TPackCallbacks &callbacks)
{
    return callbacks.Confirm && callbacks.Confirm(QString::fromLatin1(OverwriteQuestion));
}

std::filesystem::path fsPath(const QString &path)
{
#ifdef Q_OS_WIN
    return std::filesystem::path(path.toStdWString());
#else
    return std::filesystem::path(QFile::encodeName(path).toStdString());
#endif
}

/// Renames a file or folder, replacing a file at To; false when that fails.
bool moveTo(const QString &From, const QString &To)
{
    std::error_code error;
    std::filesystem::rename(fsPath(From), fsPath(To), error);
    return !error;
}

/// A private folder for files nobody else needs to see; removed with everything in it.
class TWorkFolder
{
public:
    /// In the system's temporary folder, or hidden in the folder Beside (same file system, so
    /// that results can be moved into place), named after Purpose.
    explicit TWorkFolder(const QString &Purpose, const QString &Beside = QString())
        : FDir((Beside.isEmpty() ? QDir::tempPath() + QStringLiteral("/glyphbook-")
                                 : Beside + QStringLiteral("/.")) +
               Purpose + QStringLiteral("-XXXXXX"))
    {
        if (!FDir.isValid())
            throw EFileError(
                QStringLiteral("Cannot create a temporary folder in \"%1\". %2")
                    .arg(native(Beside.isEmpty() ? QDir::tempPath() : Beside), FDir.errorString()));
    }
    QString FilePath(const QString &Name) const { return FDir.filePath(Name); }

private:
    QTemporaryDir FDir;
};

// ---- Packing ----

qint64 tarEntrySize(qint64 dataSize)
{
    return TarBlock + (dataSize + TarBlock - 1) / TarBlock * TarBlock;
}

/// The library with every image path replaced by its entry name; EFileMissing for the first
/// image file that does not exist.
TViraGlyphbook namedCopy(const TViraGlyphbook &Glyphbook, const QString &ProjectFile,
                         TArchiveNamer &Namer)
{
    const auto entryName = [&](const QString &stored) {
        const QString path = ResolveImagePath(stored, ProjectFile);
        if (path.isEmpty() || !QFileInfo(path).isFile())
            throw EFileMissing::ForPath(stored);
        return Namer.NameFor(stored, path);
    };
    TViraGlyphbook copy;
    for (const TViraSymbolPtr &symbol : Glyphbook.Symbols) {
        auto named = std::make_shared<TViraSymbol>(*symbol);
        named->Image = entryName(symbol->Image);
        // A plain image does not save its state images, but their files go into the archive
        // all the same, as they always did.
        for (TStringPairs &state : named->StateImages)
            state.Value = entryName(state.Value);
        copy.Symbols.append(named);
    }
    return copy;
}

// ---- Extraction ----

bool hasDrive(const QString &part)
{
    return part.size() >= 2 && part.at(1) == u':' && part.at(0).isLetter();
}

/// The entry's path inside the library folder ("/" between folders), or an empty string for an
/// entry that names no file. Raises for a name that would lead outside the library folder.
QString safeEntryPath(const QByteArray &EntryName, const QString &Archive)
{
    const QString name = QFile::decodeName(EntryName);
    const auto unsafe = [&] {
        return ETarError(QStringLiteral("The archive \"%1\" holds the entry \"%2\", which would be "
                                        "written outside the library folder. Nothing was "
                                        "extracted.")
                             .arg(native(Archive), name));
    };
    if (name.startsWith(u'/') || name.startsWith(u'\\') || hasDrive(name))
        throw unsafe();
    QStringList parts;
    for (const QString &part : name.split(QRegularExpression(QStringLiteral("[/\\\\]")))) {
        if (part == u"..")
            throw unsafe();
        if (!part.isEmpty() && part != u".")
            parts.append(part);
    }
    return parts.join(u'/');
}

bool isWrittenAsFile(TFileType type)
{
    // Links, devices, fifos and folders are never recreated: only data becomes files.
    switch (type) {
    case ftNormal:
    case ftContiguous:
        return true;
    default:
        return false;
    }
}

/// Inflates the archive and writes every file entry into Folder, which will become
/// LibraryFolder (the name the user is told about).
void unpack(const QString &Archive, const QString &Folder, const QString &LibraryFolder,
            const TPackCallbacks &Callbacks)
{
    QFile file(Archive);
    if (!file.open(QIODevice::ReadOnly))
        throw EFileError::CannotOpen(native(Archive), file.errorString());
    const qint64 total = file.size();
    TGzipReader gzip(&file, Archive);
    gzip.MaxInflation = MaxInflation;
    if (Callbacks.Progress)
        gzip.Progress = [&](qint64 done) { Callbacks.Progress(done, total); };
    try {
        TTarArchive tar(&gzip);
        TTarDirRec rec;
        QByteArray longName;
        while (tar.FindNext(rec)) {
            // GNU tar puts a name too long for the header into an entry of its own before it.
            if (rec.Name == "././@LongLink") {
                if (rec.Size > MaxLongName)
                    throw ETarError(QStringLiteral("The archive \"%1\" is damaged: a long name of "
                                                   "%2 bytes.")
                                        .arg(native(Archive))
                                        .arg(rec.Size));
                longName = tar.ReadFile();
                longName.truncate(qstrnlen(longName.constData(), longName.size()));
                continue;
            }
            if (!longName.isEmpty())
                rec.Name = std::exchange(longName, QByteArray());
            const QString path = safeEntryPath(rec.Name, Archive);
            if (path.isEmpty() || !isWrittenAsFile(rec.FileType))
                continue;
            const QString target = Folder + u'/' + path;
            const QString shownTarget = native(LibraryFolder + u'/' + path);
            if (path.contains(u'/') && !QDir().mkpath(QFileInfo(target).path()))
                throw EFileError(
                    QStringLiteral("Cannot create the folder for \"%1\".").arg(shownTarget));
            QFile out(target);
            if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate))
                throw EFileError::CannotCreate(shownTarget, out.errorString());
            tar.ReadFile(&out);
            // Flushed first: a later write would set the time again.
            if (!out.flush())
                throw EFileError(QStringLiteral("Cannot write to \"%1\". %2")
                                     .arg(shownTarget, out.errorString()));
            if (rec.DateTime.isValid())
                out.setFileTime(rec.DateTime, QFileDevice::FileModificationTime);
        }
        // Reading on to the trailer proves the archive whole: a cut or damaged stream is never
        // taken for a shorter archive.
        gzip.ReadToEnd();
    } catch (const EGlyphbookError &) {
        gzip.RaiseIfFailed(); // the cause, when the tar reader only saw its effect
        throw;
    }
}

/// Writes the project document NewDocument for the library in Folder, whose entries will be at
/// LibraryFolder; false when there is no library document.
bool writeProjectDocument(TViraGlyphbook &Glyphbook, const QString &Archive, const QString &Folder,
                          const QString &LibraryFolder, const QString &NewDocument)
{
    const QString document = Folder + u'/' + DocumentName;
    if (!QFileInfo(document).isFile())
        return false;
    try {
        Glyphbook.LoadFromFile(document);
    } catch (const EGlyphbookError &e) {
        // The document's temporary path means nothing to the user; the archive does.
        QString message = e.message();
        message.replace(native(document), DocumentName);
        throw EGlyphbookError(QStringLiteral("The packed library \"%1\" holds no usable %2. %3")
                                  .arg(native(Archive), DocumentName, message));
    }
    const auto inLibrary = [&](const QString &stored) {
        return native(LibraryFolder + u'/' + FileNamePart(stored));
    };
    for (const TViraSymbolPtr &symbol : Glyphbook.Symbols) {
        symbol->Image = inLibrary(symbol->Image);
        for (TStringPairs &state : symbol->StateImages)
            state.Value = inLibrary(state.Value);
    }
    Glyphbook.SaveToFile(NewDocument);
    return true;
}

/// Moves the new library folder and project document into place, putting back what was there
/// when a move fails. The former library folder goes into Work, to be removed with it.
void install(const QString &Work, const QString &NewFolder, const QString &NewDocument,
             const TExtractTarget &Target)
{
    const QString formerFolder = Work + QStringLiteral("/former");
    const bool hadFolder = QFileInfo(Target.LibraryFolder).isDir();
    if (hadFolder && !moveTo(Target.LibraryFolder, formerFolder))
        throw EFileError(
            QStringLiteral("Cannot replace the folder \"%1\".").arg(native(Target.LibraryFolder)));
    const auto putBack = [&] {
        if (hadFolder)
            moveTo(formerFolder, Target.LibraryFolder);
    };
    if (!moveTo(NewFolder, Target.LibraryFolder)) {
        putBack();
        throw EFileError(
            QStringLiteral("Cannot create the folder \"%1\".").arg(native(Target.LibraryFolder)));
    }
    if (!NewDocument.isEmpty() && !moveTo(NewDocument, Target.ProjectDocument)) {
        moveTo(Target.LibraryFolder, NewFolder);
        putBack();
        throw EFileError(
            QStringLiteral("Cannot write file \"%1\".").arg(native(Target.ProjectDocument)));
    }
    if (QFileInfo(Target.IntermediateTar).isFile())
        QFile::remove(Target.IntermediateTar);
}

TExtractResult extractInto(TViraGlyphbook &Glyphbook, const QString &Archive,
                           const TExtractTarget &Target, const TPackCallbacks &Callbacks)
{
    const bool replaces = QFileInfo(Target.LibraryFolder).isDir() ||
                          QFileInfo(Target.IntermediateTar).isFile() ||
                          QFileInfo::exists(Target.ProjectDocument);
    if (replaces && !confirm(Callbacks))
        return TExtractResult::Declined;

    const TWorkFolder work(Target.BaseName + QStringLiteral("-extract"),
                           QFileInfo(Target.LibraryFolder).absolutePath());
    const QString newFolder = work.FilePath(QStringLiteral("library"));
    // Created here, not as the temporary folder itself, so that it gets ordinary permissions.
    if (!QDir().mkdir(newFolder))
        throw EFileError(QStringLiteral("Cannot create the folder \"%1\".").arg(native(newFolder)));
    unpack(Archive, newFolder, Target.LibraryFolder, Callbacks);

    const QString newDocument = work.FilePath(QStringLiteral("project.js"));
    const bool hasDocument =
        writeProjectDocument(Glyphbook, Archive, newFolder, Target.LibraryFolder, newDocument);
    install(work.FilePath(QString()), newFolder, hasDocument ? newDocument : QString(), Target);
    if (!hasDocument) {
        if (Callbacks.Inform)
            Callbacks.Inform(QString::fromLatin1(NoDocumentMessage));
        return TExtractResult::NoDocument;
    }
    return TExtractResult::Extracted;
}

} // namespace

EFileMissing EFileMissing::ForPath(const QString &Path)
{
    return EFileMissing(QStringLiteral("File \"%1\" is missing").arg(Path));
}

QString PathEncode(const QString &Text)
{
    // Everything from 33 to 127 that is not reserved stays; QUrl encodes the rest as UTF-8.
    static const QByteArray kept = [] {
        const QByteArray reserved = QByteArrayLiteral("\"#%*+<>[\\]^`{|}");
        QByteArray bytes;
        for (int c = 33; c <= 127; ++c)
            if (!reserved.contains(char(c)))
                bytes.append(char(c));
        return bytes;
    }();
    return QString::fromLatin1(QUrl::toPercentEncoding(Text, kept));
}

TExtractTarget TExtractTarget::ForArchive(const QString &ArchivePath)
{
    const QFileInfo info(ArchivePath);
    TExtractTarget target;
    const QString fileName = info.fileName();
    target.BaseName = fileName.left(fileName.indexOf(u'.'));
    const QString folder = info.absolutePath() + u'/';
    target.LibraryFolder = folder + target.BaseName;
    target.ProjectDocument = target.LibraryFolder + QStringLiteral(".js");
    target.IntermediateTar = target.LibraryFolder + QStringLiteral(".tar");
    return target;
}

bool PackLibrary(const TViraGlyphbook &Glyphbook, const QString &FileName,
                 const TPackCallbacks &Callbacks, const QString &ProjectFile)
{
    const QString archive = QDir::cleanPath(QFileInfo(FileName).absoluteFilePath());
    if (QFileInfo(archive).isDir())
        throw EFileError(
            QStringLiteral("Cannot create file \"%1\": it is a folder.").arg(native(archive)));
    if (QFileInfo::exists(archive) && !confirm(Callbacks))
        return false;

    TArchiveNamer namer;
    TViraGlyphbook named = namedCopy(Glyphbook, ProjectFile, namer);

    const TWorkFolder staging(QStringLiteral("pack"));
    const QString document = staging.FilePath(DocumentName);
    named.SaveToFile(document);

    qint64 total = tarEntrySize(QFileInfo(document).size()) + TarBlock;
    for (const TArchiveNamer::TFile &file : namer.Files())
        total += tarEntrySize(QFileInfo(file.Path).size());

    // A device or a pipe is written in place: a new file moved over it would destroy it.
    const bool inPlace = QFileInfo::exists(archive) && !QFileInfo(archive).isFile();
    std::unique_ptr<QFileDevice> target;
    if (inPlace)
        target = std::make_unique<QFile>(archive);
    else
        target = std::make_unique<QSaveFile>(archive);
    QFileDevice &out = *target;
    if (!out.open(QIODevice::WriteOnly))
        throw EFileError::CannotCreate(native(archive), out.errorString());
    TGzipWriter gzip(&out);
    if (Callbacks.Progress)
        gzip.Progress = [&](qint64 done) { Callbacks.Progress(done, total); };
    {
        TTarWriter tar(&gzip);
        tar.AddFile(document, DocumentName.toLatin1());
        for (const TArchiveNamer::TFile &file : namer.Files())
            tar.AddFile(file.Path, file.Name.toLatin1());
        tar.Finalize();
    }
    gzip.Finish();
    if (!(inPlace ? out.flush() : static_cast<QSaveFile &>(out).commit()))
        throw EFileError::CannotWrite(native(archive), out.errorString());
    return true;
}

TExtractResult ExtractLibrary(TViraGlyphbook &Glyphbook, const QString &FileName,
                              const TPackCallbacks &Callbacks)
{
    const QString archive = QDir::cleanPath(QFileInfo(FileName).absoluteFilePath());
    const TExtractTarget target = TExtractTarget::ForArchive(archive);
    if (!QFileInfo(archive).isFile())
        throw EFileError(
            QStringLiteral("Cannot open file \"%1\". No such file.").arg(native(archive)));
    if (target.BaseName.isEmpty())
        throw EFileError(QStringLiteral("Cannot extract \"%1\": a packed library's name must not "
                                        "begin with \".\".")
                             .arg(native(archive)));
    if (QFileInfo::exists(target.LibraryFolder) && !QFileInfo(target.LibraryFolder).isDir())
        throw EFileError(
            QStringLiteral("Cannot extract into the folder \"%1\": a file of that name "
                           "exists. Give the archive an extension such as .tar.gz.")
                .arg(native(target.LibraryFolder)));
    if (QFileInfo(target.ProjectDocument).isDir() || target.ProjectDocument == archive)
        throw EFileError(QStringLiteral("Cannot write the project document \"%1\" for \"%2\".")
                             .arg(native(target.ProjectDocument), native(archive)));

    // The library is borrowed for rewriting the document: saved first, loaded back at the end.
    const TWorkFolder copyFolder(QStringLiteral("library"));
    const QString copy = copyFolder.FilePath(QStringLiteral("library.js"));
    Glyphbook.SaveToFile(copy);
    TExtractResult result;
    try {
        result = extractInto(Glyphbook, archive, target, Callbacks);
    } catch (...) {
        Glyphbook.LoadFromFile(copy);
        throw;
    }
    Glyphbook.LoadFromFile(copy);
    return result;
}
