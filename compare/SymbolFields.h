#pragma once

// A symbol seen as a list of named fields, the common ground of comparing, merging and showing
// libraries: two symbols differ exactly where their fields do, whatever the document's text.

#include "model/ViraSymbol.h"

#include <QHashFunctions>
#include <QList>
#include <QString>

#include <optional>

/// Which symbol of a library: its identifier and, for a repeated identifier, which occurrence
/// (1 for the first). Two libraries' symbols with the same key are the same symbol.
struct TSymbolKey {
    QString Identifier;
    int Occurrence = 1;

    /// The identifier as ShownText gives it, with " #2" for the second occurrence and so on.
    QString Label() const;

    friend bool operator==(const TSymbolKey &a, const TSymbolKey &b)
    {
        return a.Occurrence == b.Occurrence && a.Identifier == b.Identifier;
    }
    friend bool operator!=(const TSymbolKey &a, const TSymbolKey &b) { return !(a == b); }
    friend size_t qHash(const TSymbolKey &key, size_t seed = 0)
    {
        return qHashMulti(seed, key.Identifier, key.Occurrence);
    }
};

/// The keys of the library's symbols, in library order.
QList<TSymbolKey> SymbolKeys(const TViraGlyphbook &Book);

enum class TFieldKind { Symbol, Picture, Anchor, TextPoint, Alignment, Name, State };

/// One field of a symbol with its value as text: "true"/"false", the picture path, a point as
/// "x,y", the alignment's word, a display name, a state's picture path.
struct TSymbolField {
    TFieldKind Kind = TFieldKind::Symbol;
    QString Key;        ///< the language of a name, the value of a state; empty otherwise
    int Occurrence = 1; ///< for a state value a symbol has more than once
    QString Value;

    /// "symbol", "picture", "anchor", "text-point", "alignment", "name[en]", "state[Alarm]".
    QString Name() const;
    /// Name(), with " #2" for the second state image of one value and so on: unique within a
    /// symbol, so fields of two versions of a symbol are matched by it.
    QString Label() const;
    /// Whether the field holds a picture path, whose content is what counts.
    bool IsPicture() const { return Kind == TFieldKind::Picture || Kind == TFieldKind::State; }
};

/// The fields of a symbol as its document states them, in a fixed order: symbol, picture,
/// anchor, then (for a symbol, not a plain picture) text-point and alignment, the names by
/// language code, then (for a symbol) the state images in their order. Of two names for one
/// language the later counts, as the document keeps it.
QList<TSymbolField> SymbolFields(const TViraSymbol &Symbol);

/// Whether the field exists only for a symbol, not for a plain picture.
bool IsSymbolOnly(TFieldKind Kind);

/// Sets Symbol's fields to those listed (its identifier stays); a field not listed takes its
/// default: no name, no state image, point 0,0, Right.
void ApplyFields(TViraSymbol &Symbol, const QList<TSymbolField> &Fields);

/// A text for a line of output: as it is when it is a plain word (no blank, quote, backslash,
/// brackets, parentheses, "=", "#", "<", ">", or character that does not print), otherwise in
/// double quotes with \" \\ \n \r \t and \xNN or \uNNNN escapes, so every value fits one line
/// and reads back unambiguously. An absent value is "(none)".
QString ShownText(const QString &Text);
QString ShownText(const std::optional<QString> &Text);

/// One line with every field of the symbol: the identifier, then name=value pairs in the order
/// of SymbolFields ("pump symbol=true picture=pump.png anchor=1,2 ...").
QString SymbolLine(const TViraSymbol &Symbol);
