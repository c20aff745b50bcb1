#include "ui/SymbolListPanel.h"

#include "document/GlyphbookDocument.h"
#include "ui/AnchorLayout.h"
#include "ui/ErrorGuard.h"
#include "ui/FileDrop.h"
#include "ui/SymbolListItem.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QScopedValueRollback>
#include <QShortcut>
#include <QSignalBlocker>
#include <QStringMatcher>
#include <QToolButton>

namespace
{
constexpr QRect kListDesign(8, 8, 409, 770);
constexpr int kFindBarHeight = 27;
constexpr int kIdentifierColumnWidth = 150;
constexpr int kLanguageColumnWidth = 75;

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

TSymbolListPanel::TSymbolListPanel(TGlyphbookDocument &Document, const TErrorGuard &Guard,
                                   TAnchorLayout &Anchors, QWidget *Parent)
    : QTreeWidget(Parent), FDocument(Document), FGuard(Guard), FAnchors(Anchors)
{
    setObjectName(QStringLiteral("dLV_Symbols"));
    for (const char *name : {"ico_symb", "ico_symbR", "ico_image", "ico_imageErr"})
        FIcons.append(QIcon(QStringLiteral(":/glyphbook/%1.png").arg(QLatin1String(name))));

    setGeometry(kListDesign);
    setToolTip(QStringLiteral("Double click to add new symbol"));
    setRootIsDecorated(false);
    setUniformRowHeights(true);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setIconSize(QSize(16, 16));
    setHeaderLabels({QStringLiteral("Identifier")});
    header()->setStretchLastSection(false);
    header()->setSectionsMovable(false);
    TListSortSuspension::SortByCaption(this);
    // Picture files dropped on the list become new symbols.
    setAcceptDrops(true);
    viewport()->setAcceptDrops(true);
    viewport()->installEventFilter(this);
    CreateFindBar();

    // The list reports a moved selection as a loss for the old row, then a gain for the new.
    connect(selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &TSymbolListPanel::OnSelectionChanged);
    connect(&FDocument, &TGlyphbookDocument::libraryReset, this, &TSymbolListPanel::ShowLibrary);
    connect(&FDocument, &TGlyphbookDocument::symbolsInserted, this,
            &TSymbolListPanel::ShowInserted);
    connect(&FDocument, &TGlyphbookDocument::symbolsRemoved, this, &TSymbolListPanel::ShowRemoved);
    connect(&FDocument, &TGlyphbookDocument::symbolChanged, this,
            &TSymbolListPanel::RefreshSymbolRows);
    connect(&FDocument, &TGlyphbookDocument::selectedSymbolChanged, this,
            &TSymbolListPanel::ShowSelection);
    connect(&FDocument, &TGlyphbookDocument::imageMarkChanged, this,
            &TSymbolListPanel::ShowImageMark);
    connect(&FDocument, &TGlyphbookDocument::languagesChanged, this,
            &TSymbolListPanel::ShowLanguages);
}

void TSymbolListPanel::CreateFindBar()
{
    FFindBar = new QWidget(parentWidget());
    FFindBar->setObjectName(QStringLiteral("FindBar"));
    FFindBar->setAutoFillBackground(true);
    auto *layout = new QHBoxLayout(FFindBar);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->setSpacing(6);
    FFindField = new QLineEdit(FFindBar);
    FFindField->setObjectName(QStringLiteral("eFind"));
    FFindField->setPlaceholderText(QStringLiteral("Find identifier or name"));
    FFindField->setClearButtonEnabled(true);
    layout->addWidget(FFindField, 1);
    FMissingNames = new QCheckBox(QStringLiteral("Missing names"), FFindBar);
    FMissingNames->setObjectName(QStringLiteral("cbFindMissingNames"));
    FMissingNames->setToolTip(
        QStringLiteral("Show only symbols that lack a name in a shown language"));
    layout->addWidget(FMissingNames);
    auto *close = new QToolButton(FFindBar);
    close->setText(QStringLiteral("\u2715"));
    close->setToolTip(QStringLiteral("Close the find bar (Esc)"));
    close->setAutoRaise(true);
    layout->addWidget(close);

    FFindBar->setGeometry(kListDesign.left(), kListDesign.bottom() + 1 - kFindBarHeight,
                          kListDesign.width(), kFindBarHeight);
    FFindBar->hide();
    FAnchors.Anchor(FFindBar, Qt::LeftEdge | Qt::BottomEdge);

    FGuard.Connect(FFindField, &QLineEdit::textChanged, this, [this] { ApplyFind(); });
    FGuard.Connect(FMissingNames, &QCheckBox::toggled, this, [this] { ApplyFind(); });
    FGuard.Connect(close, &QToolButton::clicked, this, [this] { CloseFind(); });
    auto *escape = new QShortcut(QKeySequence(Qt::Key_Escape), FFindBar);
    escape->setContext(Qt::WidgetWithChildrenShortcut);
    FGuard.Connect(escape, &QShortcut::activated, this, [this] { CloseFind(); });
}

void TSymbolListPanel::FillListItem(TSymbolListItem *Row, const TViraSymbolPtr &Symbol)
{
    Row->setText(0, Symbol->Identifier);
    Row->Symbol = Symbol;
    FRows.insert(Symbol.get(), Row);
    Row->setIcon(0, FIcons.value(iconFor(*Symbol)));
    Row->SetSubItems(NamesByColumn(*Symbol));
}

void TSymbolListPanel::RefreshSymbolRows(const TViraSymbolPtr &Symbol)
{
    TSymbolListItem *row = RowOf(Symbol);
    if (!row)
        return;
    // The caption may have changed: the list sorts the row into its place and keeps it
    // selected.
    if (row == SelectedRow() && Symbol == FDocument.SelectedSymbol()) {
        FillListItem(row, Symbol);
        return;
    }
    row->setText(0, Symbol->Identifier);
    row->SetSubItems(NamesByColumn(*Symbol));
}

void TSymbolListPanel::RefreshListIcons()
{
    for (int row = 0; row < topLevelItemCount(); ++row) {
        auto *item = static_cast<TSymbolListItem *>(topLevelItem(row));
        const QIcon &icon = FIcons.at(plainIconFor(*item->Symbol));
        // Only changes: each new icon makes the list redraw, which tells on a large library.
        if (item->icon(0).cacheKey() != icon.cacheKey())
            item->setIcon(0, icon);
    }
}

void TSymbolListPanel::ShowImageMark(const TViraSymbolPtr &Symbol)
{
    if (TSymbolListItem *row = RowOf(Symbol))
        row->setIcon(0, FIcons.value(iconFor(*Symbol)));
}

void TSymbolListPanel::AddRows(const QList<TViraSymbolPtr> &Symbols)
{
    QList<QTreeWidgetItem *> rows;
    rows.reserve(Symbols.size());
    FRows.reserve(FRows.size() + Symbols.size());
    for (const TViraSymbolPtr &symbol : Symbols) {
        auto *row = new TSymbolListItem(symbol);
        FillListItem(row, symbol);
        rows.append(row);
    }
    // A few rows are sorted into place one by one; many are sorted once, all together.
    if (rows.size() <= 8) {
        for (QTreeWidgetItem *row : std::as_const(rows))
            addTopLevelItem(row);
    } else {
        TListSortSuspension sortOnce(this);
        addTopLevelItems(rows);
    }
}

void TSymbolListPanel::RemoveAllRows()
{
    // The list would report the selected row's loss.
    const QSignalBlocker quiet(selectionModel());
    FRows.clear();
    clear();
}

void TSymbolListPanel::ShowLibrary()
{
    RemoveAllRows();
    AddRows(FDocument.Symbols());
    ReapplyFind();
}

void TSymbolListPanel::ShowInserted(const QList<int> &Places)
{
    QList<TViraSymbolPtr> symbols;
    for (int place : Places)
        symbols.append(FDocument.Symbols().at(place));
    AddRows(symbols);
}

void TSymbolListPanel::ShowRemoved(const QList<TViraSymbolPtr> &Symbols)
{
    QList<QTreeWidgetItem *> rows;
    for (const TViraSymbolPtr &symbol : Symbols)
        if (TSymbolListItem *row = FRows.take(symbol.get()))
            rows.append(row);
    {
        // The document has dropped them already: their rows' loss selects nothing.
        const QScopedValueRollback following(FFollowing, true);
        // Taken out before they are destroyed: the selection events of a removal must meet
        // whole rows.
        for (QTreeWidgetItem *row : std::as_const(rows))
            delete takeTopLevelItem(indexOfTopLevelItem(row));
    }
    if (FDocument.SelectedSymbol() || topLevelItemCount() == 0)
        return;
    // The first row is selected; the list may have moved its selection to a row already.
    auto *first = static_cast<TSymbolListItem *>(topLevelItem(0));
    {
        const QScopedValueRollback following(FFollowing, true);
        SelectRow(first);
    }
    FDocument.SetSelectedSymbol(first->Symbol);
}

void TSymbolListPanel::ShowSelection(const TViraSymbolPtr &Symbol)
{
    TSymbolListItem *row = Symbol ? RowOf(Symbol) : nullptr;
    if (!row)
        return;
    if (row == SelectedRow()) {
        scrollToItem(row);
        return;
    }
    const QScopedValueRollback following(FFollowing, true);
    SelectRow(row);
}

TSymbolListItem *TSymbolListPanel::SelectedRow() const
{
    const QList<QTreeWidgetItem *> rows = selectedItems();
    return rows.isEmpty() ? nullptr : static_cast<TSymbolListItem *>(rows.first());
}

TSymbolListItem *TSymbolListPanel::RowOf(const TViraSymbolPtr &Symbol) const
{
    return FRows.value(Symbol.get());
}

void TSymbolListPanel::SelectRow(QTreeWidgetItem *Row)
{
    // Selecting reports the old row's loss and then this row's gain.
    setCurrentItem(Row);
    scrollToItem(Row);
}

void TSymbolListPanel::RevealSymbol(const TViraSymbolPtr &Symbol)
{
    TSymbolListItem *row = RowOf(Symbol);
    if (!row)
        return;
    // A row the find bar hides cannot be selected.
    if (row->isHidden())
        CloseFind();
    scrollToItem(row);
}

void TSymbolListPanel::OnSelectionChanged(const QItemSelection &Selected,
                                          const QItemSelection &Deselected)
{
    if (FFollowing)
        return;
    FGuard.Run([&] {
        for (const QModelIndex &index : Deselected.indexes())
            if (index.column() == 0)
                FDocument.SetSelectedSymbol(nullptr);
        for (const QModelIndex &index : Selected.indexes())
            if (index.column() == 0)
                FDocument.SetSelectedSymbol(
                    static_cast<TSymbolListItem *>(itemFromIndex(index))->Symbol);
    });
}

bool TSymbolListPanel::eventFilter(QObject *Watched, QEvent *Event)
{
    if (Watched == viewport()) {
        if (Event->type() == QEvent::Resize) {
            ShareColumnWidths();
        } else if (Event->type() == QEvent::MouseButtonDblClick) {
            emit addSymbolRequested();
            // The list would take the double click for a press on the row under it and
            // select that row again.
            return true;
        } else if (HandleFileDrop(Event, this, FGuard, [this](const QStringList &Pictures) {
                       emit picturesDropped(Pictures);
                   })) {
            return true;
        }
    }
    return QTreeWidget::eventFilter(Watched, Event);
}

void TSymbolListPanel::keyPressEvent(QKeyEvent *Event)
{
    if (Event->key() == Qt::Key_Delete)
        emit deleteSymbolRequested();
    QTreeWidget::keyPressEvent(Event);
}

void TSymbolListPanel::ShowLanguages()
{
    const QStringList &codes = FDocument.Languages();
    setColumnCount(1 + int(codes.size()));
    setHeaderLabels(QStringList(QStringLiteral("Identifier")) + codes);
    header()->setSectionResizeMode(QHeaderView::Interactive);
    ShareColumnWidths();
    FillRowNamesByLanguage();
    // The row was selected across the former columns; a new column's cell joins the selection.
    QItemSelectionModel *selection = selectionModel();
    for (const QModelIndex &cell : selection->selectedIndexes())
        if (cell.column() == 0)
            selection->select(cell, QItemSelectionModel::Select | QItemSelectionModel::Rows);
    // Which names are missing depends on the shown languages.
    ReapplyFind();
}

QStringList TSymbolListPanel::NamesByColumn(const TViraSymbol &Symbol) const
{
    QStringList names;
    for (const QString &code : FDocument.Languages())
        names.append(Symbol.FindName(code));
    return names;
}

void TSymbolListPanel::FillRowNamesByLanguage()
{
    // Sub-items are no sort keys, but each write would still be checked against the sort
    // order; sort once afterwards instead.
    TListSortSuspension sortOnce(this);
    for (int row = 0; row < topLevelItemCount(); ++row) {
        auto *item = static_cast<TSymbolListItem *>(topLevelItem(row));
        item->SetSubItems(NamesByColumn(*item->Symbol));
    }
}

void TSymbolListPanel::ShareColumnWidths()
{
    const int columns = columnCount();
    if (columns == 0)
        return;
    setColumnWidth(0, kIdentifierColumnWidth);
    const int autoColumns = columns - 1;
    if (autoColumns == 0)
        return;
    const int spare = viewport()->width() - kIdentifierColumnWidth;
    if (spare <= 0) {
        for (int column = 1; column < columns; ++column)
            setColumnWidth(column, kLanguageColumnWidth);
        return;
    }
    const int share = spare / autoColumns;
    const int remainder = spare % autoColumns;
    for (int column = 1; column < columns; ++column)
        setColumnWidth(column, share + (column == 1 ? remainder : 0));
}

void TSymbolListPanel::ShowFindBar()
{
    if (FFindBar->isHidden()) {
        FAnchors.Redesign(this, kListDesign.adjusted(0, 0, 0, -kFindBarHeight));
        FFindBar->show();
        FFindBar->raise();
    }
    FFindField->setFocus(Qt::ShortcutFocusReason);
    FFindField->selectAll();
}

void TSymbolListPanel::CloseFind()
{
    // Clearing shows every row again.
    FFindField->clear();
    FMissingNames->setChecked(false);
    FFindBar->hide();
    FAnchors.Redesign(this, kListDesign);
    setFocus(Qt::OtherFocusReason);
    if (TSymbolListItem *row = SelectedRow())
        scrollToItem(row);
}

void TSymbolListPanel::ApplyFind()
{
    // Taken first: the list does not report hidden rows as selected.
    TSymbolListItem *selected = SelectedRow();
    const TFindFilter filter(FFindField->text(), FMissingNames->isChecked(), FDocument.Languages());

    // By row number: asking a row item whether it is hidden looks for its row among all rows.
    const QModelIndex top;
    for (int row = 0; row < topLevelItemCount(); ++row) {
        const auto *item = static_cast<TSymbolListItem *>(topLevelItem(row));
        const bool shown = filter.Matches(*item->Symbol);
        if (isRowHidden(row, top) == shown)
            setRowHidden(row, top, !shown);
    }

    if (selected) {
        if (selected->isHidden())
            clearSelection();
        else
            scrollToItem(selected);
    }
}

void TSymbolListPanel::ReapplyFind()
{
    if (!FFindBar->isHidden())
        ApplyFind();
}
