// The symbol list: filling its rows, selecting them, the settings fields' write-back into the
// selected symbol, and the symbol commands Add New, Duplicate and Delete.
#include "ui/MainGlyphbook.h"

#include "model/ImagePath.h"
#include "model/IntegerText.h"
#include "render/PictureFiles.h"
#include "ui/SymbolImgPanels.h"
#include "ui/SymbolListItem.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTreeWidget>

#include <algorithm>
#include <array>

namespace
{
enum TListIcon { icoSymb = 0, icoSymbR = 1, icoImage = 2, icoImageErr = 3 };

TListIcon plainIconFor(const TViraSymbol &Symbol)
{
    if (!Symbol.Symbol)
        return icoImage;
    return Symbol.StateImages.isEmpty() ? icoSymb : icoSymbR;
}

TListIcon iconFor(const TViraSymbol &Symbol)
{
    return Symbol.Error ? icoImageErr : plainIconFor(Symbol);
}
} // namespace

void TMainForm::FillListItem(TSymbolListItem *Row, const TViraSymbolPtr &Symbol)
{
    Row->setText(0, Symbol->Identifier);
    Row->Symbol = Symbol;
    Row->setIcon(0, sILIcons.value(iconFor(*Symbol)));
    Row->SetSubItems(NamesByColumn(*Symbol));
}

void TMainForm::RefreshSymbolRows(const TViraSymbolPtr &Symbol)
{
    // Collected first: a new caption sorts its row into another place. A row being deleted
    // is still listed while its removal moves the selection, and is no symbol row any more.
    QList<TSymbolListItem *> rows;
    for (int row = 0; row < dLV_Symbols->topLevelItemCount(); ++row) {
        auto *item = dynamic_cast<TSymbolListItem *>(dLV_Symbols->topLevelItem(row));
        if (item && item->Symbol == Symbol)
            rows.append(item);
    }
    const QStringList names = NamesByColumn(*Symbol);
    for (TSymbolListItem *row : std::as_const(rows)) {
        row->setText(0, Symbol->Identifier);
        row->SetSubItems(names);
    }
}

void TMainForm::RefreshListIcons()
{
    // The plain rule: a missing image shows again only when the row is filled anew.
    for (int row = 0; row < dLV_Symbols->topLevelItemCount(); ++row) {
        auto *item = static_cast<TSymbolListItem *>(dLV_Symbols->topLevelItem(row));
        item->setIcon(0, sILIcons.value(plainIconFor(*item->Symbol)));
    }
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
    {
        TListSortSuspension sortOnce(dLV_Symbols);
        dLV_Symbols->addTopLevelItems(rows);
    }
    ReapplyFind();
}

void TMainForm::RemoveAllRows()
{
    // The list would report the selected row's loss, and that switches the editing area off.
    const QSignalBlocker quiet(dLV_Symbols->selectionModel());
    dLV_Symbols->clear();
}

TSymbolListItem *TMainForm::SelectedRow() const
{
    const QList<QTreeWidgetItem *> rows = dLV_Symbols->selectedItems();
    return rows.isEmpty() ? nullptr : static_cast<TSymbolListItem *>(rows.first());
}

void TMainForm::SelectRow(QTreeWidgetItem *Row)
{
    // Selecting reports the old row's loss and then this row's gain to the selection handler.
    dLV_Symbols->setCurrentItem(Row);
    dLV_Symbols->scrollToItem(Row);
}

void TMainForm::dLV_SymbolsSelectItem(QTreeWidgetItem *Item, bool Selected)
{
    if (!Selected) {
        SymbolEditEnabled(false);
        SetSelectedSymbol(nullptr);
        return;
    }
    auto *row = static_cast<TSymbolListItem *>(Item);
    const TViraSymbolPtr symbol = row->Symbol;
    // Building the tiles writes normalised state values back: showing is no change of the
    // user's.
    const TSilentSteps silent(*this);
    ++FMergeSerial;
    TSymbolImgPanel *lastTile = BuildTiles(symbol);
    // The tiles have noted missing image files by now.
    row->setIcon(0, sILIcons.value(iconFor(*symbol)));
    lastTile->SortAndSpace();
    FitStripToTiles();
    {
        // Filling the fields fires their change events, which must not write back.
        const TWriteBackPause pause(*this);
        ShowSymbolImage(symbol, -1);
    }
    bDeleteImage->setEnabled(false);
    SymbolEditEnabled(true);
}

void TMainForm::SetSelectedSymbol(const TViraSymbolPtr &Symbol)
{
    FSelectedSymbol = Symbol;
}

void TMainForm::ReportUnreadablePicture(const QString &FileName)
{
    const QString path = ResolveImagePath(FileName, ProjectFile());
    if (QFileInfo(path).isFile() && !IsReadablePicture(path))
        FDialogs.ShowError(QStringLiteral("The file \"%1\" cannot be read as a picture.")
                               .arg(QDir::toNativeSeparators(path)));
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
    // Held here: the view update below may run this handler again from inside.
    const TViraSymbolPtr symbol = FSelectedSymbol;
    if (!symbol || FWriteBackPauses > 0)
        return;
    // Outside a command a field's change is the user's typing: one step for the keystrokes
    // in one field that follow one another.
    const auto [stepText, merges] = FieldStep(FChangingField);
    const TStepScope step(*this, stepText,
                          merges ? QString::number(quintptr(FChangingField)) : QString());
    symbol->Identifier = eIdentifier->text();

    // The coordinates are read in order up to the first field that holds no integer, which
    // the user is probably still typing.
    const std::array<std::pair<const QLineEdit *, qint32 *>, 4> points{{
        {eAnchorX, &symbol->ImageX},
        {eAnchorY, &symbol->ImageY},
        {eTextX, &symbol->TextX},
        {eTextY, &symbol->TextY},
    }};
    for (const auto &[field, coordinate] : points) {
        const std::optional<qint32> value = TryStrToInt(field->text());
        if (!value)
            break;
        *coordinate = *value;
    }

    // A typed text that names no alignment gives index -1, stored as the byte 255.
    const int align = cbTextAlign->findText(cbTextAlign->currentText(),
                                            Qt::MatchExactly | Qt::MatchCaseSensitive);
    symbol->TextAlign = static_cast<TVSTextAlign>(static_cast<std::uint8_t>(align));
    symbol->Symbol = cbIsSymbol->isChecked();

    // The shown languages' names are replaced where they stand or appended; names in
    // languages without a column are kept, as they are the user's translations.
    for (int k = 0; k < NameEdits.size(); ++k) {
        if (NameEdits[k]->isHidden())
            continue;
        const QString code = NameLabels[k]->text();
        const auto pair = std::find_if(symbol->Names.begin(), symbol->Names.end(),
                                       [&](const TStringPairs &Name) { return Name.Name == code; });
        if (pair != symbol->Names.end())
            pair->Value = NameEdits[k]->text();
        else
            symbol->Names.append({code, NameEdits[k]->text()});
    }

    UpdateSymbolView(symbol);
    // The caption may have changed: the list sorts the row into its place and keeps it selected.
    if (TSymbolListItem *row = SelectedRow())
        FillListItem(row, symbol);
}

void TMainForm::miNewSymbolClick()
{
    // Several pictures may be chosen at once; they become symbols by state family.
    sOpenPictureDialog1.Multiple = true;
    const bool chosen = FDialogs.Execute(sOpenPictureDialog1);
    sOpenPictureDialog1.Multiple = false;
    if (chosen)
        AddNewSymbols(sOpenPictureDialog1.FileNames);
}

TViraSymbolPtr TMainForm::NewSymbolFromPicture(const QString &FileName) const
{
    auto symbol = std::make_shared<TViraSymbol>();
    symbol->Image = FileName;
    symbol->Identifier = FileNamePart(FileName);
    for (const QString &code : LanguageCodes())
        symbol->Names.append({code, symbol->Identifier});
    symbol->Symbol = true;
    return symbol;
}

void TMainForm::AddNewSymbol(const QString &FileName)
{
    const int formerSelection = SelectedSymbolIndex();
    const TViraSymbolPtr symbol = NewSymbolFromPicture(FileName);
    {
        const TSilentSteps silent(*this);
        SetSelectedSymbol(symbol);
        Glyphbook.Symbols.append(symbol);

        auto *row = new TSymbolListItem(symbol);
        dLV_Symbols->addTopLevelItem(row);
        FillListItem(row, symbol);
        SelectRow(row);
    }
    PushSymbolsAdded(QStringLiteral("Add Symbol"), {symbol}, formerSelection);
    ReportUnreadablePicture(FileName);
}

void TMainForm::miDupSymbClick()
{
    if (!FSelectedSymbol)
        return;
    const int formerSelection = SelectedSymbolIndex();
    const TViraSymbolPtr copy = Glyphbook.AddCopy(*FSelectedSymbol);
    {
        const TSilentSteps silent(*this);
        auto *row = new TSymbolListItem(copy);
        dLV_Symbols->addTopLevelItem(row);
        copy->Identifier += QStringLiteral("_cpy");
        FillListItem(row, copy);
        SelectRow(row);
    }
    PushSymbolsAdded(QStringLiteral("Duplicate Symbol"), {copy}, formerSelection);
}

void TMainForm::miDeleteSymbolClick()
{
    TSymbolListItem *row = SelectedRow();
    if (!FSelectedSymbol || !row || dLV_Symbols->topLevelItemCount() < 2) {
        FDialogs.Beep();
        return;
    }
    const TViraSymbolPtr removed = FSelectedSymbol;
    const int index = SelectedSymbolIndex();
    {
        const TSilentSteps silent(*this);
        Glyphbook.Symbols.removeAt(index);
        // Taken out before it is destroyed: the selection events of its removal must meet a
        // whole row.
        delete dLV_Symbols->takeTopLevelItem(dLV_Symbols->indexOfTopLevelItem(row));
        SelectRow(dLV_Symbols->topLevelItem(0));
    }
    PushSymbolRemoved(index, removed);
}
