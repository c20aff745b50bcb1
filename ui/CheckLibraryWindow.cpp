#include "ui/CheckLibraryWindow.h"

#include "check/LibraryCheck.h"
#include "document/GlyphbookDocument.h"
#include "render/PictureFiles.h"

#include <QAbstractTableModel>
#include <QHeaderView>
#include <QLabel>
#include <QTableView>
#include <QVBoxLayout>

#include <QFileInfo>

#include <algorithm>

namespace
{
// Rechecking one symbol may work out every archive name again; beyond this many changed
// symbols one check of the whole library is quicker.
constexpr int kMostRechecks = 50;
} // namespace

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

TCheckLibraryWindow::TCheckLibraryWindow(const TGlyphbookDocument &Document, QWidget *Parent)
    : QWidget(Parent, Qt::Window), FDocument(Document), FCheck(std::make_unique<TLibraryCheck>())
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

    // Every change of the library reaches the findings through one of these.
    const auto follow = [this] { FollowLibraryChanges(); };
    connect(&FDocument, &TGlyphbookDocument::symbolChanged, this, follow);
    connect(&FDocument, &TGlyphbookDocument::symbolsInserted, this, follow);
    connect(&FDocument, &TGlyphbookDocument::symbolsRemoved, this, follow);
    connect(&FDocument, &TGlyphbookDocument::libraryReset, this, follow);
    connect(&FDocument, &TGlyphbookDocument::languagesChanged, this, follow);
    connect(&FDocument, &TGlyphbookDocument::projectFileChanged, this, follow);
}

TCheckLibraryWindow::~TCheckLibraryWindow() = default;

TCheckLibraryWindow::TCheckedSymbol::TCheckedSymbol(const TViraSymbolPtr &Checked)
    : Symbol(Checked), Identifier(Checked->Identifier), Image(Checked->Image),
      Names(Checked->Names), StateImages(Checked->StateImages)
{
}

bool TCheckLibraryWindow::TCheckedSymbol::Unchanged() const
{
    // The copies share the symbol's text: any write to the symbol's own parts makes them
    // separate, so comparing where the data lies is enough and costs nothing.
    return Identifier.constData() == Symbol->Identifier.constData() &&
           Image.constData() == Symbol->Image.constData() &&
           Names.constData() == Symbol->Names.constData() &&
           StateImages.constData() == Symbol->StateImages.constData();
}

namespace
{
TCheckOptions checkOptions(const TGlyphbookDocument &Document)
{
    const QString &project = Document.ProjectFile();
    return {project.isEmpty() ? QString() : QFileInfo(project).absoluteFilePath(),
            Document.Languages(), IsReadablePicture};
}
} // namespace

void TCheckLibraryWindow::CheckAnew()
{
    // Files may have come or gone since the window last showed.
    FCheck->ForgetFiles();
    CheckWholeLibrary();
}

void TCheckLibraryWindow::CheckWholeLibrary()
{
    const TViraGlyphbook &library = FDocument.Library();
    FCheck->SetOptions(checkOptions(FDocument));
    FCheck->Check(library);
    FChecked.clear();
    FChecked.reserve(library.Symbols.size());
    for (const TViraSymbolPtr &symbol : library.Symbols)
        FChecked.append(TCheckedSymbol(symbol));
    FModel->SetAll(FCheck->Findings());
    ShowSummary();
}

void TCheckLibraryWindow::FollowLibraryChanges()
{
    if (isHidden())
        return;
    const TCheckOptions options = checkOptions(FDocument);
    const TCheckOptions &checked = FCheck->Options();
    const TViraGlyphbook &library = FDocument.Library();
    const QList<TViraSymbolPtr> &symbols = library.Symbols;
    bool whole = options.ProjectFile != checked.ProjectFile ||
                 options.Languages != checked.Languages || symbols.size() < FChecked.size();
    // Symbols may only have been appended; any other change of the order needs every symbol.
    for (qsizetype k = 0; !whole && k < FChecked.size(); ++k)
        whole = symbols[k] != FChecked[k].Symbol;

    QList<int> changed;
    for (qsizetype k = 0; !whole && k < symbols.size(); ++k)
        if (k >= FChecked.size() || !FChecked[k].Unchanged())
            changed.append(int(k));
    if (whole || changed.size() > kMostRechecks) {
        CheckWholeLibrary();
        return;
    }
    if (changed.isEmpty())
        return;

    QList<int> shown;
    for (const int index : std::as_const(changed)) {
        shown += FCheck->Recheck(library, index);
        const TCheckedSymbol now(symbols[index]);
        if (index < FChecked.size())
            FChecked[index] = now;
        else
            FChecked.append(now);
    }
    std::sort(shown.begin(), shown.end());
    shown.erase(std::unique(shown.begin(), shown.end()), shown.end());
    for (const int symbol : std::as_const(shown))
        FModel->SetSymbol(symbol, FCheck->FindingsOf(symbol));
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
