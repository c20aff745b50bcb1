#include "compare/LibraryDiff.h"

#include <QHash>
#include <QSet>

#include <algorithm>

namespace
{

TFieldValue valueOf(const TSymbolField &Field, const TPictureReader &Pictures)
{
    TFieldValue value{true, Field.Value, Field.IsPicture(), {}};
    if (value.IsPicture && Pictures)
        value.Picture = Pictures(Field.Value);
    return value;
}

bool sameValue(const TFieldValue &A, const TFieldValue &B)
{
    if (A.Present != B.Present)
        return false;
    if (!A.Present)
        return true;
    if (A.IsPicture)
        return TPictureInfo::Same(A.Picture, A.Text, B.Picture, B.Text);
    return A.Text == B.Text;
}

/// The positions in Sequence of one longest strictly increasing run; the earliest such run
/// when there are several of one length.
QList<bool> longestIncreasingRun(const QList<int> &Sequence)
{
    QList<int> tails; // tails[k]: position of the smallest end of a run of length k + 1
    QList<int> previous(Sequence.size(), -1);
    for (int i = 0; i < Sequence.size(); ++i) {
        const auto at =
            std::lower_bound(tails.begin(), tails.end(), Sequence[i],
                             [&](int position, int value) { return Sequence[position] < value; });
        if (at != tails.begin())
            previous[i] = *(at - 1);
        if (at == tails.end())
            tails.append(i);
        else
            *at = i;
    }
    QList<bool> inRun(Sequence.size(), false);
    for (int i = tails.isEmpty() ? -1 : tails.last(); i >= 0; i = previous[i])
        inRun[i] = true;
    return inRun;
}

void compareSymbols(const TSymbolKey &Key, const TViraSymbol &Old, const TViraSymbol &New,
                    const TPictureReader &OldPictures, const TPictureReader &NewPictures,
                    QList<TFieldChange> &Changes)
{
    const QList<TSymbolField> oldFields = SymbolFields(Old);
    const QList<TSymbolField> newFields = SymbolFields(New);
    QHash<QString, qsizetype> oldByLabel;
    for (qsizetype i = 0; i < oldFields.size(); ++i)
        oldByLabel.insert(oldFields[i].Label(), i);
    struct TOrdered {
        TFieldKind Kind;
        QString Language;
        TFieldChange Change;
    };
    QList<TOrdered> changes;
    QSet<QString> newLabels;
    for (const TSymbolField &field : newFields) {
        const QString label = field.Label();
        newLabels.insert(label);
        const TFieldValue newValue = valueOf(field, NewPictures);
        const auto old = oldByLabel.constFind(label);
        const TFieldValue oldValue =
            old == oldByLabel.cend() ? TFieldValue() : valueOf(oldFields[*old], OldPictures);
        if (!sameValue(oldValue, newValue))
            changes.append({field.Kind, field.Key, {Key, label, oldValue, newValue}});
    }
    for (const TSymbolField &field : oldFields)
        if (!newLabels.contains(field.Label()))
            changes.append(
                {field.Kind, field.Key, {Key, field.Label(), valueOf(field, OldPictures), {}}});
    // The fixed field order, names by language; states as the new version has them, then those
    // it dropped.
    std::stable_sort(changes.begin(), changes.end(), [](const TOrdered &a, const TOrdered &b) {
        if (a.Kind != b.Kind)
            return a.Kind < b.Kind;
        return a.Kind == TFieldKind::Name && a.Language < b.Language;
    });
    for (const TOrdered &change : std::as_const(changes))
        Changes.append(change.Change);
}

} // namespace

bool TPictureInfo::Same(const TPictureInfo &A, const QString &PathA, const TPictureInfo &B,
                        const QString &PathB)
{
    if (A.Exists != B.Exists)
        return false;
    return A.Exists ? A.Sha256 == B.Sha256 : PathA == PathB;
}

QString TFieldValue::Shown() const
{
    if (!Present)
        return ShownText(std::nullopt);
    if (!IsPicture)
        return ShownText(Text);
    if (!Picture.Exists)
        return ShownText(Text) + QStringLiteral(" (missing)");
    const QString digest =
        QStringLiteral("#") + QString::fromLatin1(Picture.Sha256.toHex().left(8));
    if (!Picture.Size.isValid())
        return QStringLiteral("%1 (no picture, %2 bytes, %3)")
            .arg(ShownText(Text), QString::number(Picture.Bytes), digest);
    return QStringLiteral("%1 (%2x%3 pixels, %4)")
        .arg(ShownText(Text), QString::number(Picture.Size.width()),
             QString::number(Picture.Size.height()), digest);
}

TLibraryDiff CompareLibraries(const TViraGlyphbook &Old, const TViraGlyphbook &New,
                              const TPictureReader &OldPictures, const TPictureReader &NewPictures)
{
    TLibraryDiff diff;
    const QList<TSymbolKey> oldKeys = SymbolKeys(Old);
    const QList<TSymbolKey> newKeys = SymbolKeys(New);
    QHash<TSymbolKey, int> oldIndex;
    for (int i = 0; i < oldKeys.size(); ++i)
        oldIndex.insert(oldKeys[i], i);
    QHash<TSymbolKey, int> newIndex;
    for (int i = 0; i < newKeys.size(); ++i)
        newIndex.insert(newKeys[i], i);

    for (int i = 0; i < oldKeys.size(); ++i)
        if (!newIndex.contains(oldKeys[i]))
            diff.Removed.append({oldKeys[i], i});

    QList<int> sharedNew; // indexes in New of the symbols both have
    QList<int> sharedOld; // their indexes in Old
    for (int i = 0; i < newKeys.size(); ++i) {
        const auto old = oldIndex.constFind(newKeys[i]);
        if (old == oldIndex.cend()) {
            diff.Added.append({newKeys[i], i});
            continue;
        }
        sharedNew.append(i);
        sharedOld.append(*old);
    }
    const QList<bool> inOrder = longestIncreasingRun(sharedOld);
    for (int s = 0; s < sharedNew.size(); ++s) {
        const int to = sharedNew[s];
        const int from = sharedOld[s];
        if (!inOrder[s])
            diff.Moved.append({newKeys[to], from, to});
        compareSymbols(newKeys[to], *Old.Symbols[from], *New.Symbols[to], OldPictures, NewPictures,
                       diff.Changed);
    }
    return diff;
}
