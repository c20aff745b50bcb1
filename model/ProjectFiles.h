#pragma once

#include <QSet>
#include <QString>

#include <optional>

class TFileLookup;
class TViraGlyphbook;

/// The files a project is made of, its document and the pictures its library names, so that no
/// output of a command is ever written over one of them.
class TProjectFiles
{
public:
    enum TKind { None, Document, Picture };

    /// Bare picture names are looked up beside ProjectFile, which is empty for a project that
    /// has never been saved.
    /// Lookup, when given, is shared with the caller, which meets the same files.
    TProjectFiles(const TViraGlyphbook &Glyphbook, const QString &ProjectFile,
                  TFileLookup *Lookup = nullptr);

    /// Which of the project's files Path names: the same path, or the same existing file
    /// reached by another name (a link, "." or ".." parts). The document wins over a picture.
    TKind Which(const QString &Path) const;

private:
    struct TCanonical {
        QString Document;
        QSet<QString> Pictures;
    };
    const TCanonical &Canonical() const;

    QString FDocument; // absolute and clean, or empty
    QSet<QString> FPictures;
    TFileLookup *FLookup;
    // Links are only resolved when an existing file is asked about: most outputs are new files.
    mutable std::optional<TCanonical> FCanonical;
};
