// Find: a bar over the bottom of the symbol list that shows only the rows whose identifier or
// any name contains a text, or only the symbols that lack a name in a shown language. While the
// bar is hidden the list is the whole list, laid out as designed.
#include "ui/MainGlyphbook.h"

#include "ui/AnchorLayout.h"
#include "ui/SymbolListItem.h"

#include <QAction>
#include <QCheckBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QMenu>
#include <QShortcut>
#include <QStringMatcher>
#include <QToolButton>
#include <QTreeWidget>

namespace
{
constexpr QRect kListDesign(8, 8, 409, 770);
constexpr int kFindBarHeight = 27;

/// What the find bar asks of a symbol.
class TFindFilter
{
public:
    TFindFilter(const QString &Text, bool MissingNamesOnly, QStringList Languages)
        : FText(Text, Qt::CaseInsensitive), FMissingNamesOnly(MissingNamesOnly),
          FLanguages(std::move(Languages))
    {
    }

    bool Matches(const TViraSymbol &Symbol) const
    {
        return ContainsText(Symbol) && (!FMissingNamesOnly || LacksAName(Symbol));
    }

private:
    // Prepared once: a case-insensitive search set up anew for every string costs more than
    // the search itself.
    QStringMatcher FText;
    bool FMissingNamesOnly;
    QStringList FLanguages;

    bool ContainsText(const TViraSymbol &Symbol) const
    {
        if (FText.pattern().isEmpty() || FText.indexIn(Symbol.Identifier) >= 0)
            return true;
        for (const TStringPairs &name : Symbol.Names)
            if (FText.indexIn(name.Value) >= 0)
                return true;
        return false;
    }

    bool LacksAName(const TViraSymbol &Symbol) const
    {
        for (const QString &language : FLanguages)
            if (Symbol.FindName(language).isEmpty())
                return true;
        return false;
    }
};
} // namespace

void TMainForm::CreateFindBar()
{
    miFind = mmView->addAction(QStringLiteral("Find..."));
    miFind->setObjectName(QStringLiteral("miFind"));
    miFind->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_F));
    OnEvent(miFind, &QAction::triggered, &TMainForm::miFindClick);

    FindBar = new QWidget(ClientArea);
    FindBar->setObjectName(QStringLiteral("FindBar"));
    FindBar->setAutoFillBackground(true);
    auto *layout = new QHBoxLayout(FindBar);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->setSpacing(6);
    eFind = new QLineEdit(FindBar);
    eFind->setObjectName(QStringLiteral("eFind"));
    eFind->setPlaceholderText(QStringLiteral("Find identifier or name"));
    eFind->setClearButtonEnabled(true);
    layout->addWidget(eFind, 1);
    cbFindMissingNames = new QCheckBox(QStringLiteral("Missing names"), FindBar);
    cbFindMissingNames->setObjectName(QStringLiteral("cbFindMissingNames"));
    cbFindMissingNames->setToolTip(
        QStringLiteral("Show only symbols that lack a name in a shown language"));
    layout->addWidget(cbFindMissingNames);
    auto *close = new QToolButton(FindBar);
    close->setText(QStringLiteral("\u2715"));
    close->setToolTip(QStringLiteral("Close the find bar (Esc)"));
    close->setAutoRaise(true);
    layout->addWidget(close);

    FindBar->setGeometry(kListDesign.left(), kListDesign.bottom() + 1 - kFindBarHeight,
                         kListDesign.width(), kFindBarHeight);
    FindBar->hide();
    FAnchors->Anchor(FindBar, Qt::LeftEdge | Qt::BottomEdge);

    OnEvent(eFind, &QLineEdit::textChanged, &TMainForm::ApplyFind);
    OnEvent(cbFindMissingNames, &QCheckBox::toggled, &TMainForm::ApplyFind);
    OnEvent(close, &QToolButton::clicked, &TMainForm::CloseFind);
    auto *escape = new QShortcut(QKeySequence(Qt::Key_Escape), FindBar);
    escape->setContext(Qt::WidgetWithChildrenShortcut);
    OnEvent(escape, &QShortcut::activated, &TMainForm::CloseFind);
}

void TMainForm::miFindClick()
{
    if (FindBar->isHidden()) {
        FAnchors->Redesign(dLV_Symbols, kListDesign.adjusted(0, 0, 0, -kFindBarHeight));
        FindBar->show();
        FindBar->raise();
    }
    eFind->setFocus(Qt::ShortcutFocusReason);
    eFind->selectAll();
}

void TMainForm::CloseFind()
{
    // Clearing shows every row again.
    eFind->clear();
    cbFindMissingNames->setChecked(false);
    FindBar->hide();
    FAnchors->Redesign(dLV_Symbols, kListDesign);
    dLV_Symbols->setFocus(Qt::OtherFocusReason);
    if (TSymbolListItem *row = SelectedRow())
        dLV_Symbols->scrollToItem(row);
}

void TMainForm::ApplyFind()
{
    // Taken first: the list does not report hidden rows as selected.
    TSymbolListItem *selected = SelectedRow();
    QStringList languages;
    for (int column = 1; column < dLV_Symbols->columnCount(); ++column)
        languages.append(dLV_Symbols->headerItem()->text(column));
    const TFindFilter filter(eFind->text(), cbFindMissingNames->isChecked(), languages);

    // By row number: asking a row item whether it is hidden looks for its row among all rows.
    const QModelIndex top;
    for (int row = 0; row < dLV_Symbols->topLevelItemCount(); ++row) {
        const auto *item = static_cast<TSymbolListItem *>(dLV_Symbols->topLevelItem(row));
        const bool shown = filter.Matches(*item->Symbol);
        if (dLV_Symbols->isRowHidden(row, top) == shown)
            dLV_Symbols->setRowHidden(row, top, !shown);
    }

    if (selected) {
        if (selected->isHidden())
            dLV_Symbols->clearSelection();
        else
            dLV_Symbols->scrollToItem(selected);
    }
}

void TMainForm::ReapplyFind()
{
    if (!FindBar->isHidden())
        ApplyFind();
}
