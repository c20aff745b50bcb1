#pragma once

// The three-way merge of library documents, symbol by symbol and field by field.

#include "compare/SymbolFields.h"

#include <QList>
#include <QString>

#include <optional>

/// Two sides that could not both have their way; the merge kept ours.
struct TMergeConflict {
    enum TKind {
        FieldConflict,    ///< one field changed two ways
        RemovedByOurs,    ///< ours removed the symbol, theirs changed it: theirs' is kept
        RemovedByTheirs,  ///< theirs removed the symbol, ours changed it: ours' is kept
        AddedDifferently, ///< both added a symbol of one identifier, unlike: both are kept
        Order,            ///< both reordered the symbols, unlike: ours' order is kept
    };

    TKind Kind = FieldConflict;
    TSymbolKey Symbol;
    QString Field; ///< TSymbolField::Label, for Field conflicts
    std::optional<QString> Base;
    std::optional<QString> Ours;
    std::optional<QString> Theirs;

    /// One line for the user, naming the symbol, the field and the three values:
    /// pump anchor: base 1,2, ours 3,4, theirs 5,6; ours kept
    QString Message() const;
};

struct TMergeResult {
    TViraGlyphbook Library;
    QList<TMergeConflict> Conflicts;
};

/// Merges the changes from Base to Ours and from Base to Theirs, matching symbols by
/// TSymbolKey and fields by label, picture paths as texts. A change on one side is taken, the
/// same change on both sides once; a field changed two ways keeps ours and is a conflict.
/// A symbol removed on one side goes, unless the other side changed it (a conflict that keeps
/// the changed symbol). Symbols added on both sides are all kept where their side put them,
/// ours before theirs at one place; the same addition on both sides is kept once. The order
/// of the symbols both sides kept is ours, or theirs when only theirs reordered them. The
/// result's symbols are new objects: the inputs are not changed.
TMergeResult MergeLibraries(const TViraGlyphbook &Base, const TViraGlyphbook &Ours,
                            const TViraGlyphbook &Theirs);
