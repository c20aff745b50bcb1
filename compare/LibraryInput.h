#pragma once

// A library read for comparison: a project document with its pictures on disk, or a packed
// library read in memory, never unpacked into the user's folders.

#include "compare/LibraryDiff.h"
#include "model/ViraSymbol.h"

#include <QByteArray>
#include <QSize>
#include <QString>

#include <functional>
#include <memory>

/// The size in pixels of the picture whose file starts with Head (at least its first
/// LibraryInputHeadBytes bytes, or all of a smaller file); invalid when it is no picture.
/// Decoding pictures is no business of the core, so the caller supplies it.
using TPictureSizeReader = std::function<QSize(const QByteArray &Head)>;

class TLibraryInput
{
public:
    /// How much of each picture file is kept for the size reader.
    static constexpr qint64 HeadBytes = 1024 * 1024;

    /// Reads FileName, a packed library (recognised by its gzip signature, whatever its name)
    /// or a project document. Raises EGlyphbookError naming the file when it cannot be read,
    /// is damaged, or holds no library document.
    explicit TLibraryInput(const QString &FileName, TPictureSizeReader SizeReader = {});

    const QString &FileName() const { return FFileName; }
    bool IsArchive() const { return FIsArchive; }
    const TViraGlyphbook &Library() const { return FLibrary; }
    /// The pictures of the library: for a project the files its paths lead to (bare names
    /// beside the project), for an archive the entry named like the path's file name. An
    /// existing file that cannot be read raises EFileError naming it.
    TPictureReader Pictures() const;

    /// Whether the file starts with the gzip signature.
    static bool LooksPacked(const QString &FileName);

private:
    void ReadArchive();

    QString FFileName;
    bool FIsArchive = false;
    TViraGlyphbook FLibrary;
    TPictureSizeReader FSizeReader;
    /// Stored path (for a project) or entry name (for an archive) -> what it holds.
    std::shared_ptr<QHash<QString, TPictureInfo>> FPictures;
};
