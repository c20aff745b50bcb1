#pragma once

#include "model/GlyphbookError.h"
#include "packing/PackCallbacks.h"

#include <QString>

class TViraGlyphbook;

/// An image file of the library does not exist.
class EFileMissing : public EGlyphbookError
{
public:
    using EGlyphbookError::EGlyphbookError;
    /// File "<path>" is missing
    static EFileMissing ForPath(const QString &Path);
};

/// Packs the library into the gzip-compressed tar archive FileName: "glyphbook.js", naming
/// every image by its entry name, and one copy of each image file (see TArchiveNamer).
/// Bare image names are taken from the folder of ProjectFile, as the window shows them. Refuses
/// an archive path that is the project document or an image of the library (TProjectFiles).
/// Asks before replacing an existing archive and returns false when declined. Raises
/// EFileMissing for the first image file that does not exist, in library order, before anything
/// is written. The archive is written under a temporary name and takes the place of FileName
/// only when complete, so a failure leaves any earlier archive as it was; a pipe or a device is
/// written in place. Nothing else is written beside it. The library itself is not changed.
bool PackLibrary(const TViraGlyphbook &Glyphbook, const QString &FileName,
                 const TPackCallbacks &Callbacks = {}, const QString &ProjectFile = {});
