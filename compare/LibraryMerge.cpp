#include "compare/LibraryMerge.h"

#include <QHash>
#include <QMap>
#include <QSet>

#include <algorithm>

namespace
{

/// One version of the library with its symbols' keys.
struct TVersion {
    const TViraGlyphbook &Book;
    QList<TSymbolKey> Keys;
    QHash<TSymbolKey, int> Index;

    explicit TVersion(const TViraGlyphbook &book) : Book(book), Keys(SymbolKeys(book))
    {
        for (int i = 0; i < Keys.size(); ++i)
            Index.insert(Keys[i], i);
    }
    bool Has(const TSymbolKey &key) const { return Index.contains(key); }
    const TViraSymbol &At(const TSymbolKey &key) const { return *Book.Symbols[Index.value(key)]; }
    /// Its keys that are also in Among, in its order.
    QList<TSymbolKey> Order(const QSet<TSymbolKey> &Among) const
    {
        QList<TSymbolKey> order;
        for (const TSymbolKey &key : Keys)
            if (Among.contains(key))
                order.append(key);
        return order;
    }
};

/// Field label -> value; the order of state images is no difference.
QMap<QString, QString> fieldValues(const TViraSymbol &Symbol)
{
    QMap<QString, QString> values;
    for (const TSymbolField &field : SymbolFields(Symbol))
        values.insert(field.Label(), field.Value);
    return values;
}

bool sameFields(const TViraSymbol &A, const TViraSymbol &B)
{
    return fieldValues(A) == fieldValues(B);
}

/// A conflict about a whole symbol (or the order of all), which has no field values.
TMergeConflict symbolConflict(TMergeConflict::TKind Kind, const TSymbolKey &Key)
{
    TMergeConflict conflict;
    conflict.Kind = Kind;
    conflict.Symbol = Key;
    return conflict;
}

TViraSymbolPtr copyOf(const TViraSymbol &Symbol)
{
    auto copy = std::make_shared<TViraSymbol>(Symbol);
    copy->Error = false;
    return copy;
}

std::optional<QString> valueAt(const QMap<QString, QString> &Values, const QString &Label)
{
    const auto it = Values.constFind(Label);
    return it == Values.cend() ? std::nullopt : std::optional<QString>(*it);
}

TViraSymbolPtr mergeSymbol(const TSymbolKey &Key, const TViraSymbol &Base, const TViraSymbol &Ours,
                           const TViraSymbol &Theirs, QList<TMergeConflict> &Conflicts)
{
    const QMap<QString, QString> base = fieldValues(Base);
    const QMap<QString, QString> ours = fieldValues(Ours);
    const QMap<QString, QString> theirs = fieldValues(Theirs);
    // Ours' fields in their order, then those only theirs has: a state image theirs added
    // comes after ours' states.
    QList<TSymbolField> candidates = SymbolFields(Ours);
    for (const TSymbolField &field : SymbolFields(Theirs))
        if (!ours.contains(field.Label()))
            candidates.append(field);

    QList<TSymbolField> merged;
    QHash<QString, TMergeConflict> conflicts; // by label, reported in field order below
    for (TSymbolField field : std::as_const(candidates)) {
        const QString label = field.Label();
        const std::optional<QString> b = valueAt(base, label);
        const std::optional<QString> o = valueAt(ours, label);
        const std::optional<QString> t = valueAt(theirs, label);
        std::optional<QString> value = o;
        if (o != t) {
            if (o == b)
                value = t;
            else if (t != b)
                conflicts.insert(label, {TMergeConflict::FieldConflict, Key, label, b, o, t});
        }
        if (value) {
            field.Value = *value;
            merged.append(field);
        }
    }

    // A plain picture keeps no text point, alignment or states: when the merge would make the
    // symbol plain while the other side changed such a field, that change must not vanish
    // unreported.
    const auto flag = std::find_if(merged.begin(), merged.end(), [](const TSymbolField &f) {
        return f.Kind == TFieldKind::Symbol;
    });
    const bool plain = flag != merged.end() && flag->Value != u"true";
    const bool keepsSymbolOnly = std::any_of(
        merged.cbegin(), merged.cend(), [](const TSymbolField &f) { return IsSymbolOnly(f.Kind); });
    if (plain && keepsSymbolOnly) {
        if (Ours.Symbol) {
            // Theirs made it plain while ours changed its symbol fields: ours stays a symbol.
            const QString label = flag->Label();
            flag->Value = QStringLiteral("true");
            conflicts.insert(label,
                             {TMergeConflict::FieldConflict, Key, label, valueAt(base, label),
                              valueAt(ours, label), valueAt(theirs, label)});
        } else {
            for (const TSymbolField &field : std::as_const(merged))
                if (IsSymbolOnly(field.Kind))
                    conflicts.insert(field.Label(), {TMergeConflict::FieldConflict, Key,
                                                     field.Label(), valueAt(base, field.Label()),
                                                     std::nullopt, valueAt(theirs, field.Label())});
            merged.erase(std::remove_if(merged.begin(), merged.end(),
                                        [](const TSymbolField &f) { return IsSymbolOnly(f.Kind); }),
                         merged.end());
        }
    }
    for (const TSymbolField &field : std::as_const(candidates))
        if (conflicts.contains(field.Label()))
            Conflicts.append(conflicts.take(field.Label()));

    auto symbol = std::make_shared<TViraSymbol>();
    symbol->Identifier = Key.Identifier;
    ApplyFields(*symbol, merged);
    return symbol;
}

} // namespace

QString TMergeConflict::Message() const
{
    const QString symbol = Symbol.Label();
    switch (Kind) {
    case FieldConflict:
        return QStringLiteral("%1 %2: base %3, ours %4, theirs %5; ours kept")
            .arg(symbol, Field, ShownText(Base), ShownText(Ours), ShownText(Theirs));
    case RemovedByOurs:
        return QStringLiteral("%1: removed by ours, changed by theirs; theirs' symbol kept")
            .arg(symbol);
    case RemovedByTheirs:
        return QStringLiteral("%1: removed by theirs, changed by ours; ours' symbol kept")
            .arg(symbol);
    case AddedDifferently:
        return QStringLiteral("%1: added by both sides, unlike; both kept, ours first").arg(symbol);
    case Order:
        return QStringLiteral("symbol order: changed by both sides, unlike; ours kept");
    }
    return QString();
}

TMergeResult MergeLibraries(const TViraGlyphbook &Base, const TViraGlyphbook &Ours,
                            const TViraGlyphbook &Theirs)
{
    const TVersion base(Base);
    const TVersion ours(Ours);
    const TVersion theirs(Theirs);
    TMergeResult result;

    // The symbols all three have are the backbone, in ours' order unless only theirs changed it.
    QSet<TSymbolKey> common;
    for (const TSymbolKey &key : base.Keys)
        if (ours.Has(key) && theirs.Has(key))
            common.insert(key);
    const QList<TSymbolKey> baseOrder = base.Order(common);
    const QList<TSymbolKey> oursOrder = ours.Order(common);
    const QList<TSymbolKey> theirsOrder = theirs.Order(common);
    const QList<TSymbolKey> &backbone = oursOrder == baseOrder ? theirsOrder : oursOrder;
    if (oursOrder != baseOrder && theirsOrder != baseOrder && theirsOrder != oursOrder)
        result.Conflicts.append(symbolConflict(TMergeConflict::Order, {}));
    QHash<TSymbolKey, int> backboneIndex;
    for (int i = 0; i < backbone.size(); ++i)
        backboneIndex.insert(backbone[i], i);

    // Every other symbol that stays goes after the backbone symbol it follows on its side,
    // ours before theirs: slots[i + 1] follow backbone[i], slots[0] come first.
    struct TExtra {
        TViraSymbolPtr Symbol;
        std::optional<TMergeConflict> Conflict;
    };
    QList<QList<TExtra>> oursSlots(backbone.size() + 1);
    QList<QList<TExtra>> theirsSlots(backbone.size() + 1);
    const auto placeExtras = [&](const TVersion &side, QList<QList<TExtra>> &placed,
                                 const auto &extraFor) {
        int slot = 0;
        for (const TSymbolKey &key : side.Keys) {
            const auto at = backboneIndex.constFind(key);
            if (at != backboneIndex.cend())
                slot = *at + 1;
            else if (std::optional<TExtra> extra = extraFor(key))
                placed[slot].append(*extra);
        }
    };
    placeExtras(ours, oursSlots, [&](const TSymbolKey &key) -> std::optional<TExtra> {
        const TViraSymbol &symbol = ours.At(key);
        if (!base.Has(key))
            return TExtra{copyOf(symbol), std::nullopt};
        if (sameFields(base.At(key), symbol))
            return std::nullopt; // theirs removed it and ours left it alone
        return TExtra{copyOf(symbol), symbolConflict(TMergeConflict::RemovedByTheirs, key)};
    });
    placeExtras(theirs, theirsSlots, [&](const TSymbolKey &key) -> std::optional<TExtra> {
        const TViraSymbol &symbol = theirs.At(key);
        if (base.Has(key)) {
            if (ours.Has(key) || sameFields(base.At(key), symbol))
                return std::nullopt;
            return TExtra{copyOf(symbol), symbolConflict(TMergeConflict::RemovedByOurs, key)};
        }
        if (!ours.Has(key))
            return TExtra{copyOf(symbol), std::nullopt};
        if (sameFields(ours.At(key), symbol))
            return std::nullopt; // the same addition on both sides
        return TExtra{copyOf(symbol), symbolConflict(TMergeConflict::AddedDifferently, key)};
    });

    const auto appendSlot = [&](int slot) {
        for (const QList<TExtra> *extras : {&oursSlots[slot], &theirsSlots[slot]})
            for (const TExtra &extra : *extras) {
                result.Library.Symbols.append(extra.Symbol);
                if (extra.Conflict)
                    result.Conflicts.append(*extra.Conflict);
            }
    };
    appendSlot(0);
    for (int i = 0; i < backbone.size(); ++i) {
        const TSymbolKey &key = backbone[i];
        result.Library.Symbols.append(
            mergeSymbol(key, base.At(key), ours.At(key), theirs.At(key), result.Conflicts));
        appendSlot(i + 1);
    }
    return result;
}
