#pragma once

#include <QHash>
#include <QSet>
#include <QString>

#include <optional>

class TFileLookup;
class TViraGlyphbook;
class TViraSymbol;

/// The files a project is made of, its document and the pictures its library names, so that no
/// output of a command is ever written over one of them.
class TProjectFiles
{
public:
    enum TKind { None, Document, Picture };

    /// Bare picture names are looked up beside ProjectFile, which is empty for a project that
    /// has never been saved.
    /// Lookup, when given, is shared with the caller, which meets the same files: it looks
    /// them all up at once.
    TProjectFiles(const TViraGlyphbook &Glyphbook, const QString &ProjectFile,
                  TFileLookup *Lookup = nullptr);

    /// Which of the project's files Path names: the same path, or the same file reached by
    /// another name (a link, also one that leads to a file not there yet, "." or ".." parts,
    /// taken as the system takes them). The document wins over a picture.
    TKind Which(const QString &Path) const;

    /// The rule every command that writes a file follows: raises EFileError, before anything is
    /// written, when Output is the project's document or one of its pictures ("Cannot write file
    /// "<Output>". It is the project itself.").
    void RefuseAsOutput(const QString &Output) const;

private:
    struct TCanonical {
        QString Document;
        QSet<QString> Pictures;
    };
    const TCanonical &Canonical() const;

    QString FDocument;        // absolute and clean, or empty
    QString FDocumentAsGiven; // absolute, with its ".." parts left for the system to resolve
    QSet<QString> FPictures;
    QSet<QString> FPicturesAsGiven;
    TFileLookup *FLookup;
    // Links are only resolved when an existing file is asked about: most outputs are new files.
    mutable std::optional<TCanonical> FCanonical;
};

/// The rule of TProjectFiles for one output and the pictures of a library seen one symbol at a
/// time, for a command that never holds the whole library.
class TPictureOutputGuard
{
public:
    TPictureOutputGuard(const QString &ProjectFile, const QString &Output);
    /// Raises as TProjectFiles::RefuseAsOutput when Output is one of Symbol's pictures.
    void Check(const TViraSymbol &Symbol) const;

private:
    /// Whether Path (absolute) is a link, from one listing of its folder rather than a system
    /// call per picture.
    bool IsLink(const QString &Path) const;

    // The names of the links in a folder; none where the system is asked picture by picture.
    mutable QHash<QString, std::optional<QSet<QByteArray>>> FLinksByFolder;
    QString FProject;       // absolute, as given
    QString FWorkingFolder; // asked once: relative pictures are many
    QString FOutput;
    QString FClean;   // the output absolute and clean
    QString FReached; // the file the output reaches, or empty
};

/// TProjectFiles(Glyphbook, ProjectFile).RefuseAsOutput(Output), for a command that writes one
/// file.
void RefuseProjectFileAsOutput(const TViraGlyphbook &Glyphbook, const QString &ProjectFile,
                               const QString &Output);
