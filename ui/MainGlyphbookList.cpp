// The symbol list: filling its rows. Selecting rows, the settings fields' write-back and the
// symbol commands plug in here.
#include "ui/MainGlyphbook.h"

#include "ui/SymbolListItem.h"

#include <QTreeWidget>

namespace
{
enum TListIcon { icoSymb = 0, icoSymbR = 1, icoImage = 2, icoImageErr = 3 };

TListIcon iconFor(const TViraSymbol &Symbol)
{
    if (Symbol.Error)
        return icoImageErr;
    if (!Symbol.Symbol)
        return icoImage;
    return Symbol.StateImages.isEmpty() ? icoSymb : icoSymbR;
}
} // namespace

void TMainForm::FillListItem(TSymbolListItem *Row, const TViraSymbolPtr &Symbol)
{
    Row->setText(0, Symbol->Identifier);
    Row->Symbol = Symbol;
    Row->setIcon(0, sILIcons.value(iconFor(*Symbol)));
    QStringList names;
    names.reserve(Symbol->Names.size());
    for (const TStringPairs &name : std::as_const(Symbol->Names))
        names.append(name.Value);
    Row->SetSubItems(names);
}

void TMainForm::AddRowsForLibrary()
{
    // Rows inserted one by one into a sorted list would each be sorted into place.
    QList<QTreeWidgetItem *> rows;
    rows.reserve(Glyphbook.Symbols.size());
    for (const TViraSymbolPtr &symbol : std::as_const(Glyphbook.Symbols)) {
        auto *row = new TSymbolListItem(symbol);
        FillListItem(row, symbol);
        rows.append(row);
    }
    TListSortSuspension sortOnce(dLV_Symbols);
    dLV_Symbols->addTopLevelItems(rows);
}

void TMainForm::dLV_SymbolsSelectItem(QTreeWidgetItem *, bool)
{
    // Selecting a row puts its symbol into the fields, the preview and the image strip.
}

void TMainForm::dLV_SymbolsDblClick()
{
    miNewSymbolClick();
}

void TMainForm::AnyChange()
{
    EditChange();
}

void TMainForm::EditChange()
{
    // The settings fields' write-back into SelectedSymbol plugs in here.
}

void TMainForm::miNewSymbolClick()
{
    // Add New Symbol plugs in here.
}

void TMainForm::miDupSymbClick()
{
    // Duplicate Symbol plugs in here.
}

void TMainForm::miDeleteSymbolClick()
{
    // Delete Symbol plugs in here.
}
