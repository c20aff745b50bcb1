#pragma once

#include "model/GlyphbookError.h"

#include <QString>
#include <QStringList>

#include <functional>

class TViraGlyphbook;

/// An image file of the library does not exist.
class EFileMissing : public EGlyphbookError
{
public:
    using EGlyphbookError::EGlyphbookError;
    /// File "<path>" is missing
    static EFileMissing ForPath(const QString &Path);
};

/// How packing and extraction talk to the user. An unset member gives the quiet answer: no
/// overwriting, no message, no progress.
struct TPackCallbacks {
    /// Asks a Yes/No question ("Overwrite existing?"); true for Yes.
    std::function<bool(const QString &Question)> Confirm;
    /// Asks the question naming the files and folders that Yes replaces; when unset, Confirm
    /// is asked instead.
    std::function<bool(const QString &Question, const QStringList &Replaced)> ConfirmReplacing;
    /// Shows a message that is no failure.
    std::function<void(const QString &Message)> Inform;
    /// Now and then while the work runs: bytes done out of bytes in all.
    std::function<void(qint64 Done, qint64 Total)> Progress;
    /// Before each rename that puts an extraction's results in place or back, with its source
    /// and target. The window and the command line leave it unset; tests stop a run here or
    /// make the rename fail.
    std::function<void(const QString &From, const QString &To)> BeforeRename;
};

/// An extraction would replace a project document that is no earlier extraction into the same
/// library folder (an image path leads outside it): most likely the project the archive was
/// packed from. Nothing was extracted; the user extracts into another folder instead.
class EProjectInTheWay : public EFileError
{
public:
    using EFileError::EFileError;
};

/// The files an extraction of an archive writes, named after the archive: for
/// /libs/road.tar.gz the library folder /libs/road and the project document /libs/road.js,
/// or /other/road and /other/road.js when extracted into the folder /other.
struct TExtractTarget {
    QString BaseName;
    QString LibraryFolder;
    QString ProjectDocument;
    /// What earlier versions left beside the archive while extracting; replaced like the rest,
    /// and empty when that name is the archive's own or the extraction goes elsewhere.
    QString IntermediateTar;

    /// Into is the folder to extract into; empty for the archive's own folder.
    static TExtractTarget ForArchive(const QString &ArchivePath, const QString &Into = QString());
    /// Those of the files and folders above that exist, which an extraction replaces.
    QStringList Existing() const;
};

/// Packs the library into the gzip-compressed tar archive FileName: "glyphbook.js", naming
/// every image by its entry name, and one copy of each image file (see TArchiveNamer).
/// Bare image names are taken from the folder of ProjectFile, as the window shows them. Refuses
/// an archive path that is the project document or an image of the library. Asks before
/// replacing an existing archive and returns false when declined. Raises EFileMissing for the
/// first image file that does not exist, in library order, before anything is written. The
/// archive is written under a temporary name and takes the place of FileName only when complete,
/// so a failure leaves any earlier archive as it was; a pipe or a device is written in place.
/// Nothing else is written beside it. The library itself is not changed.
bool PackLibrary(const TViraGlyphbook &Glyphbook, const QString &FileName,
                 const TPackCallbacks &Callbacks = {}, const QString &ProjectFile = {});

enum class TExtractResult {
    Extracted,  ///< the library folder and the project document are in place
    Declined,   ///< the user would not replace what exists; nothing changed
    NoDocument, ///< the archive held no "glyphbook.js": the library folder only, user informed
};

/// Unpacks the archive FileName into its library folder and writes its project document, whose
/// image paths lead into that folder (TExtractTarget). Asks before replacing an existing library
/// folder, project document or leftover intermediate tar; never touches the archive itself.
/// Works in a folder beside the library folder and puts the results in place only when
/// everything succeeded: a damaged, cut or unsafe archive (an entry that is absolute, holds a
/// drive or a ".." part), one whose files do not fit the free space, or an unloadable document
/// raises an error and leaves the earlier files as they were. The earlier library folder is
/// removed only once the new one and the document are in place; if putting it back fails, it
/// stays in the work folder, which the message names. A run that was killed is finished or
/// undone by the next extraction of the same archive.
/// A project document in the way that is no earlier extraction into the library folder is never
/// replaced: EProjectInTheWay, before anything is asked or written.
/// The library is used for the rewriting and comes back with its former content, as new symbol
/// objects loaded from a temporary copy, on every way out.
TExtractResult ExtractLibrary(TViraGlyphbook &Glyphbook, const QString &FileName,
                              const TPackCallbacks &Callbacks = {}, const QString &Into = QString());

/// The question asked before files of an earlier run are replaced.
inline const char OverwriteQuestion[] = "Overwrite existing?";
/// The message shown when an archive holds no library document.
inline const char NoDocumentMessage[] = "Glyphbook.js not found. Could not open symbol library.";

/// Asks "Overwrite existing?" about Replaced through the callbacks; no when nobody is there to
/// answer.
inline bool AskOverwrite(const TPackCallbacks &Callbacks, const QStringList &Replaced)
{
    const QString question = QString::fromLatin1(OverwriteQuestion);
    if (Callbacks.ConfirmReplacing)
        return Callbacks.ConfirmReplacing(question, Replaced);
    return Callbacks.Confirm && Callbacks.Confirm(question);
}
