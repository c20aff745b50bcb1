#pragma once

#include "model/GlyphbookError.h"
#include "packing/PackCallbacks.h"

#include <QString>
#include <QStringList>

class TViraGlyphbook;

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
    /// The intermediate tar an extraction beside the archive may find there (road.tar), left by
    /// older releases; replaced like the rest, and empty when that name is the archive's own or
    /// the extraction goes elsewhere.
    QString IntermediateTar;

    /// Into is the folder to extract into; empty for the archive's own folder.
    static TExtractTarget ForArchive(const QString &ArchivePath, const QString &Into = QString());
    /// Those of the files and folders above that exist, which an extraction replaces.
    QStringList Existing() const;
};

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
/// objects loaded from a temporary copy (TLibraryCopy), on every way out.
TExtractResult ExtractLibrary(TViraGlyphbook &Glyphbook, const QString &FileName,
                              const TPackCallbacks &Callbacks = {},
                              const QString &Into = QString());

/// The message shown when an archive holds no library document.
inline const char NoDocumentMessage[] =
    QT_TRANSLATE_NOOP("GlyphbookExtract", "Glyphbook.js not found. Could not open symbol library.");
