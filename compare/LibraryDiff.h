#pragma once

// Comparing two versions of a library: symbols matched by key, pictures by content.

#include "compare/SymbolFields.h"

#include <QByteArray>
#include <QList>
#include <QSize>
#include <QString>

#include <functional>

/// What a stored picture path leads to.
struct TPictureInfo {
    bool Exists = false;
    QByteArray Sha256; ///< of the file's bytes
    qint64 Bytes = 0;
    QSize Size; ///< in pixels; invalid when the bytes are no picture or were not measured

    /// Whether two pictures are the same: the same bytes, or both missing under one path
    /// (PathA and PathB), since nothing else can tell missing files apart.
    static bool Same(const TPictureInfo &A, const QString &PathA, const TPictureInfo &B,
                     const QString &PathB);
};

/// Gives the picture a stored path of one library leads to.
using TPictureReader = std::function<TPictureInfo(const QString &StoredPath)>;

/// A field's value in one version: absent, a text, or a picture path with what it leads to.
struct TFieldValue {
    bool Present = false;
    QString Text;
    bool IsPicture = false;
    TPictureInfo Picture;

    /// The value on one line: ShownText, a picture with its size and the start of its digest
    /// ("pump.png (16x16 pixels, #1a2b3c4d)", "gone.png (missing)"), "(none)" when absent.
    QString Shown() const;
};

struct TFieldChange {
    TSymbolKey Symbol;
    QString Field; ///< TSymbolField::Label
    TFieldValue Old;
    TFieldValue New;
};

/// A symbol found in one version only, at its index there.
struct TSymbolPlace {
    TSymbolKey Symbol;
    int Index = 0;
};

/// A symbol that stands elsewhere among the symbols both versions have.
struct TSymbolMove {
    TSymbolKey Symbol;
    int From = 0; ///< index in the old version
    int To = 0;   ///< index in the new version
};

struct TLibraryDiff {
    QList<TSymbolPlace> Removed; ///< in old order
    QList<TSymbolPlace> Added;   ///< in new order
    QList<TSymbolMove> Moved;    ///< in new order
    QList<TFieldChange> Changed; ///< in new order, each symbol's fields in field order

    bool IsEmpty() const
    {
        return Removed.isEmpty() && Added.isEmpty() && Moved.isEmpty() && Changed.isEmpty();
    }
};

/// What changed from Old to New. Symbols are matched by TSymbolKey. Of the symbols both have,
/// as few as possible count as moved: those outside a longest run that keeps its order, so
/// an insertion or one symbol taken elsewhere moves nothing else. Picture fields are compared
/// by what each version's reader gives for them, other fields by their text.
TLibraryDiff CompareLibraries(const TViraGlyphbook &Old, const TViraGlyphbook &New,
                              const TPictureReader &OldPictures, const TPictureReader &NewPictures);
