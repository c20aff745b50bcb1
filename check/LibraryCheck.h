#pragma once

#include <QHash>
#include <QList>
#include <QPair>
#include <QSet>
#include <QString>
#include <QStringList>

#include <functional>

class TArchiveNamer;
class TViraGlyphbook;
class TViraSymbol;

/// What a finding of the library check is about.
enum class TCheckKind {
    MissingImage,       ///< an image file that does not exist
    UnreadablePicture,  ///< an image file that cannot be read as a picture
    RepeatedIdentifier, ///< an identifier that another symbol has too
    BadStateValue,      ///< a state value that is neither an integer nor Alarm, MO_Off or MO
    RepeatedStateValue, ///< a state value that an earlier state image of the symbol has too
    MissingName,        ///< no name in one of the shown languages
    RenamedImage,       ///< an image that the archive would store under another name
};

/// The kind's name in machine-readable output ("missing-image", ...).
QString CheckKindName(TCheckKind Kind);

/// True for the kinds that concern an image file, whose finding names its path.
bool CheckKindConcernsImage(TCheckKind Kind);

/// One thing the check found, tied to a symbol and, where it applies, one of its state images.
struct TCheckFinding {
    TCheckKind Kind = TCheckKind::MissingImage;
    int Symbol = -1; ///< index in the library's Symbols
    QString Identifier;
    int State = -1; ///< index in the symbol's StateImages; -1 for the symbol or its main image
    QString Path;   ///< the stored image path concerned, or empty
    QString Message;

    friend bool operator==(const TCheckFinding &a, const TCheckFinding &b)
    {
        return a.Kind == b.Kind && a.Symbol == b.Symbol && a.Identifier == b.Identifier &&
               a.State == b.State && a.Path == b.Path && a.Message == b.Message;
    }
    friend bool operator!=(const TCheckFinding &a, const TCheckFinding &b) { return !(a == b); }
};

/// A finding as one line: its message, then always the symbol and, where it applies, the state
/// (both counted from 1), so that every line ends alike.
QString FindingLine(const TCheckFinding &Finding);

/// What the check needs beyond the library.
struct TCheckOptions {
    /// Bare image names are looked up in this file's folder.
    QString ProjectFile;
    /// A symbol without a name in one of these languages is reported.
    QStringList Languages;
    /// Whether an existing file can be read as a picture. Decoding pictures is no business of
    /// the core, so the caller supplies the test; unset, no file is reported as unreadable.
    std::function<bool(const QString &FilePath)> IsPicture;
};

/// Checks a library for what would fail or change when it is packed or shown: missing and
/// unreadable image files, repeated identifiers, bad and repeated state values, names missing
/// in a shown language, and images the archive would store under another name.
///
/// After one Check of the whole library, Recheck brings the findings up to date after a change
/// of one symbol without looking at the others' files again: identifiers are indexed, file facts
/// are kept per file, and the archive names are worked out again only when an image changed.
class TLibraryCheck
{
public:
    explicit TLibraryCheck(TCheckOptions Options = {});
    ~TLibraryCheck();

    const TCheckOptions &Options() const { return FOptions; }
    /// Takes effect at the next Check.
    void SetOptions(TCheckOptions Options);

    /// Checks every symbol. Facts about files examined before are taken as they were; call
    /// ForgetFiles first to examine every file again.
    void Check(const TViraGlyphbook &Glyphbook);
    /// Symbol Index of Glyphbook changed (or was appended, Index == the former count): examines
    /// its files again and updates the findings. Returns the indices of the symbols whose
    /// findings changed. Symbols removed, inserted or moved need a Check.
    QList<int> Recheck(const TViraGlyphbook &Glyphbook, int Index);
    /// The symbol at Index was removed from Glyphbook: its findings go, and those of the symbols
    /// it shared an identifier or an archive name with are brought up to date. Returns the
    /// indices (after the removal) of the symbols whose findings changed beyond the renumbering.
    QList<int> Remove(const TViraGlyphbook &Glyphbook, int Index);
    /// Drops what is known about files, so that the next Check examines them again.
    void ForgetFiles();

    /// The findings of the symbol at Index, in the order of its parts.
    const QList<TCheckFinding> &FindingsOf(int Index) const;
    /// Every finding, in library order.
    QList<TCheckFinding> Findings() const;
    /// How many findings there are.
    int Count() const { return FCount; }

private:
    struct TFileFacts;
    struct TImageUse;
    struct TSymbolEntry;

    using TImageRef = QPair<int, int>; // symbol index, image index (0 the main image)

    const TFileFacts &FactsFor(const QString &FilePath, bool Fresh);
    void SetFacts(TImageUse &Image, const TFileFacts &Facts);
    TSymbolEntry MakeEntry(const TViraSymbol &Symbol, bool FreshFiles);
    /// Adds the images of the symbol at Index to their groups, noting the groups in Touched.
    void Enroll(int Index, QSet<QString> &Touched);
    void Unenroll(int Index, QSet<QString> &Touched);

    TArchiveNamer MakeNamer();
    /// Names one image; true when its rename changed.
    bool NameUse(TArchiveNamer &Namer, TImageUse &Image);
    /// Works out every archive name again; gives the symbols whose renames changed.
    QSet<int> NameImages();
    /// Works out the archive names of the images in Groups again.
    QSet<int> NameGroups(const QSet<QString> &Groups);
    bool SameContent(const QString &PathA, const QString &PathB);
    void IndexIdentifier(int Index);
    void UnindexIdentifier(int Index);
    bool IsRepeated(int Index) const;
    /// Rebuilds the findings of the symbol at Index from its entry; true when they changed.
    bool Assemble(int Index);
    /// Takes in files whose facts changed, names the images of Groups again when NamesChanged,
    /// and rebuilds the findings of the Affected symbols; gives those that changed.
    QList<int> Settle(QSet<int> Affected, const QSet<QString> &Groups, bool NamesChanged);
    QList<int> CheckEverything(const TViraGlyphbook &Glyphbook);

    TCheckOptions FOptions;
    QList<TSymbolEntry> FEntries;
    QHash<QString, TFileFacts> FFiles;
    QHash<QString, QList<int>> FByIdentifier; // indices in ascending order
    QHash<QString, QList<TImageRef>> FGroups; // by meeting key, in library order
    int FWildImages = 0;
    QHash<QPair<QString, QString>, bool> FSameContent;
    QSet<QString> FChangedFiles; // files whose facts changed when examined again
    int FCount = 0;
};
