#include "ui/CheckLibraryWindow.h"

#include "check/LibraryCheck.h"

#include <QAbstractTableModel>
#include <QHeaderView>
#include <QLabel>
#include <QTableView>
#include <QVBoxLayout>

#include <algorithm>

/// The findings as rows of symbol and message, in library order.
class TFindingsModel : public QAbstractTableModel
{
public:
    using QAbstractTableModel::QAbstractTableModel;

    void SetAll(QList<TCheckFinding> Findings)
    {
        beginResetModel();
        FRows = std::move(Findings);
        endResetModel();
        FSymbols = 0;
        for (qsizetype row = 0; row < FRows.size(); ++row)
            if (row == 0 || FRows[row].Symbol != FRows[row - 1].Symbol)
                ++FSymbols;
    }

    /// Replaces the rows of one symbol, telling the view only about them.
    void SetSymbol(int Symbol, const QList<TCheckFinding> &Findings)
    {
        const int first = FirstRowOf(Symbol);
        const int end = FirstRowOf(Symbol + 1);
        FSymbols += int(!Findings.isEmpty()) - int(end > first);
        if (end - first == Findings.size()) {
            std::copy(Findings.cbegin(), Findings.cend(), FRows.begin() + first);
            if (end > first)
                emit dataChanged(index(first, 0), index(end - 1, 1));
            return;
        }
        if (end > first) {
            beginRemoveRows({}, first, end - 1);
            FRows.remove(first, end - first);
            endRemoveRows();
        }
        if (!Findings.isEmpty()) {
            beginInsertRows({}, first, first + int(Findings.size()) - 1);
            for (qsizetype k = 0; k < Findings.size(); ++k)
                FRows.insert(first + k, Findings[k]);
            endInsertRows();
        }
    }

    const TCheckFinding &At(int Row) const { return FRows.at(Row); }
    int Count() const { return int(FRows.size()); }
    int SymbolCount() const { return FSymbols; }

    int rowCount(const QModelIndex &Parent) const override
    {
        return Parent.isValid() ? 0 : int(FRows.size());
    }
    int columnCount(const QModelIndex &Parent) const override { return Parent.isValid() ? 0 : 2; }

    QVariant data(const QModelIndex &Index, int Role) const override
    {
        if (!Index.isValid() || (Role != Qt::DisplayRole && Role != Qt::ToolTipRole))
            return {};
        const TCheckFinding &finding = FRows.at(Index.row());
        return Index.column() == 0 ? finding.Identifier : finding.Message;
    }

    QVariant headerData(int Section, Qt::Orientation Orientation, int Role) const override
    {
        if (Orientation != Qt::Horizontal || Role != Qt::DisplayRole)
            return {};
        return Section == 0 ? QStringLiteral("Symbol") : QStringLiteral("Finding");
    }

private:
    QList<TCheckFinding> FRows;
    int FSymbols = 0;

    int FirstRowOf(int Symbol) const
    {
        const auto at = std::lower_bound(
            FRows.cbegin(), FRows.cend(), Symbol,
            [](const TCheckFinding &finding, int symbol) { return finding.Symbol < symbol; });
        return int(at - FRows.cbegin());
    }
};

TCheckLibraryWindow::TCheckLibraryWindow(QWidget *Parent) : QWidget(Parent, Qt::Window)
{
    setObjectName(QStringLiteral("CheckLibraryWindow"));
    setWindowTitle(QStringLiteral("Check Library"));
    auto *layout = new QVBoxLayout(this);
    lSummary = new QLabel(this);
    layout->addWidget(lSummary);

    FModel = new TFindingsModel(this);
    tvFindings = new QTableView(this);
    tvFindings->setModel(FModel);
    tvFindings->setSelectionBehavior(QAbstractItemView::SelectRows);
    tvFindings->setSelectionMode(QAbstractItemView::SingleSelection);
    tvFindings->setEditTriggers(QAbstractItemView::NoEditTriggers);
    tvFindings->setShowGrid(false);
    tvFindings->setWordWrap(false);
    tvFindings->verticalHeader()->hide();
    // Rows of one height: a long list is laid out without measuring every row.
    tvFindings->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    tvFindings->verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 4);
    tvFindings->horizontalHeader()->setStretchLastSection(true);
    tvFindings->setColumnWidth(0, 180);
    tvFindings->setToolTip(QStringLiteral("Double click to select the symbol"));
    layout->addWidget(tvFindings, 1);
    connect(tvFindings, &QTableView::doubleClicked, this, [this](const QModelIndex &Index) {
        if (OnActivate && Index.isValid()) {
            const TCheckFinding &finding = FModel->At(Index.row());
            OnActivate(finding.Symbol, finding.State);
        }
    });
    resize(640, 420);
}

void TCheckLibraryWindow::ShowAll(const TLibraryCheck &Check)
{
    FModel->SetAll(Check.Findings());
    ShowSummary();
}

void TCheckLibraryWindow::ShowSymbols(const TLibraryCheck &Check, const QList<int> &Indices)
{
    for (const int symbol : Indices)
        FModel->SetSymbol(symbol, Check.FindingsOf(symbol));
    ShowSummary();
}

void TCheckLibraryWindow::ShowSummary()
{
    const int findings = FModel->Count();
    const int symbols = FModel->SymbolCount();
    lSummary->setText(
        findings == 0
            ? QStringLiteral("No problems found.")
            : QStringLiteral("%1 %2 in %3 %4.")
                  .arg(findings)
                  .arg(findings == 1 ? QStringLiteral("finding") : QStringLiteral("findings"))
                  .arg(symbols)
                  .arg(symbols == 1 ? QStringLiteral("symbol") : QStringLiteral("symbols")));
}
