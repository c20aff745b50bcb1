// The language registry (the Languages menu), "Lang.txt" and the language columns with their
// name fields.
#include "ui/MainGlyphbook.h"

#include "ui/SymbolListItem.h"
#include "ui/TextLines.h"

#include <QAction>
#include <QFileInfo>
#include <QGroupBox>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QRadioButton>
#include <QTreeWidget>

#include <algorithm>

namespace
{
constexpr int kIdentifierColumnWidth = 150;
constexpr int kLanguageColumnWidth = 75;

QString languageCode(const QAction *Entry)
{
    return QString(Entry->text()).remove(u'&');
}
} // namespace

void TMainForm::ReadLanguageFile()
{
    const QString fileName = ProgramFile(QStringLiteral("Lang.txt"));
    if (!QFileInfo(fileName).isFile())
        return;
    for (const QString &line : ReadTextLines(fileName)) {
        const qsizetype equals = line.indexOf(u'=');
        const QString code = equals < 0 ? QString() : line.left(equals);
        const QString flag = equals < 0 ? QString() : line.mid(equals + 1);
        AddLanguage(code, flag == u"true");
    }
}

void TMainForm::AddLanguage(const QString &Code, bool Checked)
{
    const QList<QAction *> entries = mmLanguages->actions();
    for (const QAction *entry : entries)
        if (languageCode(entry) == Code)
            return;
    QAction *entry = mmLanguages->addAction(Code);
    entry->setCheckable(true);
    entry->setChecked(Checked);
    OnEvent(entry, &QAction::triggered, &TMainForm::miENClick);
}

void TMainForm::CollectLanguages()
{
    for (const TViraSymbolPtr &symbol : std::as_const(Glyphbook.Symbols))
        for (const TStringPairs &name : std::as_const(symbol->Names))
            AddLanguage(name.Name, true);
}

void TMainForm::RebuildLanguageColumns()
{
    QStringList codes;
    QStringList left;
    for (QAction *entry : mmLanguages->actions()) {
        if (!entry->isChecked())
            continue;
        if (codes.size() < NameEdits.size()) {
            codes.append(languageCode(entry));
        } else {
            // No name field is left for it: show it unchecked, so the menu tells the truth.
            // The symbols keep their names in it.
            entry->setChecked(false);
            left.append(languageCode(entry));
        }
    }

    dLV_Symbols->setColumnCount(1 + codes.size());
    dLV_Symbols->setHeaderLabels(QStringList(QStringLiteral("Identifier")) + codes);
    dLV_Symbols->header()->setSectionResizeMode(QHeaderView::Interactive);
    ShareColumnWidths();

    const int count = codes.size();
    for (int k = 0; k < count; ++k) {
        NameLabels[k]->setText(codes[k]);
        NameLabels[k]->show();
        NameEdits[k]->show();
    }

    int minimumWidth = 0;
    if (count > 0) {
        const QRect last = NameEdits[count - 1]->geometry();
        minimumWidth = last.x() + last.width() + 2;
    }
    if (minimumWidth < 450)
        minimumWidth = srbAnchor->geometry().x() + srbAnchor->width() + 2;
    gbSettings->setMinimumWidth(minimumWidth);
    if (gbSettings->width() < minimumWidth)
        gbSettings->resize(minimumWidth, gbSettings->height());
    // A smaller minimum lets the client area shrink, which re-applies the group's anchors.
    ClientArea->setMinimumWidth(gbSettings->x() + minimumWidth);

    for (int k = count; k < NameEdits.size(); ++k) {
        NameLabels[k]->hide();
        NameEdits[k]->hide();
    }

    FillRowNamesByLanguage();
    ShowSelectedNames();
    // The row was selected across the former columns; a new column's cell joins the selection.
    QItemSelectionModel *selection = dLV_Symbols->selectionModel();
    for (const QModelIndex &cell : selection->selectedIndexes())
        if (cell.column() == 0)
            selection->select(cell, QItemSelectionModel::Select | QItemSelectionModel::Rows);
    // Which names are missing depends on the shown languages.
    ReapplyFind();

    if (!left.isEmpty())
        ShowInformationOverWindow(
            QStringLiteral("At most %1 languages can be shown at once. Not shown: %2.")
                .arg(QString::number(NameEdits.size()), left.join(QStringLiteral(", "))));
}

QStringList TMainForm::LanguageCodes() const
{
    QStringList codes;
    for (int column = 1; column < dLV_Symbols->columnCount(); ++column)
        codes.append(dLV_Symbols->headerItem()->text(column));
    return codes;
}

QStringList TMainForm::NamesByColumn(const TViraSymbol &Symbol) const
{
    QStringList names;
    for (const QString &code : LanguageCodes())
        names.append(Symbol.FindName(code));
    return names;
}

void TMainForm::FillRowNamesByLanguage()
{
    // Sub-items are no sort keys, but each write would still be checked against the sort
    // order; sort once afterwards instead.
    TListSortSuspension sortOnce(dLV_Symbols);
    for (int row = 0; row < dLV_Symbols->topLevelItemCount(); ++row) {
        auto *item = static_cast<TSymbolListItem *>(dLV_Symbols->topLevelItem(row));
        item->SetSubItems(NamesByColumn(*item->Symbol));
    }
}

void TMainForm::ShareColumnWidths()
{
    const int columns = dLV_Symbols->columnCount();
    if (columns == 0)
        return;
    dLV_Symbols->setColumnWidth(0, kIdentifierColumnWidth);
    const int autoColumns = columns - 1;
    if (autoColumns == 0)
        return;
    const int spare = dLV_Symbols->viewport()->width() - kIdentifierColumnWidth;
    if (spare <= 0) {
        for (int column = 1; column < columns; ++column)
            dLV_Symbols->setColumnWidth(column, kLanguageColumnWidth);
        return;
    }
    const int share = spare / autoColumns;
    const int remainder = spare % autoColumns;
    for (int column = 1; column < columns; ++column)
        dLV_Symbols->setColumnWidth(column, share + (column == 1 ? remainder : 0));
}

void TMainForm::ShowNames(const TViraSymbol &Symbol)
{
    const QStringList names = NamesByColumn(Symbol);
    for (int k = 0; k < names.size() && k < NameEdits.size(); ++k)
        NameEdits[k]->setText(names[k]);
}

void TMainForm::ShowSelectedNames()
{
    if (!FSelectedSymbol)
        return;
    // The fields' change events must not write the half-updated names back.
    const TWriteBackPause pause(*this);
    ShowNames(*FSelectedSymbol);
}

void TMainForm::miENClick()
{
    RebuildLanguageColumns();
}
