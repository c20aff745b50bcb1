// Batch import: several pictures chosen in Add New Symbol or dropped on the list become symbols
// by state family, after a dialog has shown which symbols they make. A single picture is added
// as it always was.
#include "ui/MainGlyphbook.h"

#include "ui/BatchImportDialog.h"
#include "ui/SymbolListItem.h"

#include <QTreeWidget>

void TMainForm::AddNewSymbols(const QStringList &Pictures)
{
    if (Pictures.isEmpty())
        return;
    if (Pictures.size() == 1) {
        AddNewSymbol(Pictures.first());
        return;
    }
    TBatchImportDialog dialog(Pictures, this);
    if (FDialogs.RunDialog(dialog))
        AddFamilies(dialog.Families());
}

void TMainForm::AddFamilies(const QList<TStateFamily> &Families)
{
    if (Families.isEmpty())
        return;
    const int formerSelection = SelectedSymbolIndex();
    QList<TViraSymbolPtr> added;
    QList<QTreeWidgetItem *> rows;
    rows.reserve(Families.size());
    for (const TStateFamily &family : Families) {
        const TViraSymbolPtr symbol = NewSymbolFromPicture(family.Main);
        symbol->StateImages = family.States;
        Glyphbook.Symbols.append(symbol);
        added.append(symbol);
        auto *row = new TSymbolListItem(symbol);
        FillListItem(row, symbol);
        rows.append(row);
    }
    {
        TListSortSuspension sortOnce(dLV_Symbols);
        dLV_Symbols->addTopLevelItems(rows);
    }
    {
        // As when the pictures are added one by one, the last one's symbol ends up selected.
        const TSilentSteps silent(*this);
        SelectRow(rows.last());
    }
    PushSymbolsAdded(QStringLiteral("Add Symbols"), added, formerSelection);
}
