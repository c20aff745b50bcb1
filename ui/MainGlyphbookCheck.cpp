// Check Library: a window that lists the library check's findings by symbol and follows every
// change. After each command or event the symbols whose check-relevant parts changed are
// checked again, alone; a change of the library's order, of the shown languages or of the
// project file checks the whole library.
#include "ui/MainGlyphbook.h"

#include "check/LibraryCheck.h"
#include "render/PictureFiles.h"
#include "ui/CheckLibraryWindow.h"
#include "ui/SymbolImgPanels.h"
#include "ui/SymbolListItem.h"

#include <QAction>
#include <QFileInfo>
#include <QMenu>
#include <QTreeWidget>

#include <algorithm>

namespace
{
// Rechecking one symbol may work out every archive name again; beyond this many changed
// symbols one check of the whole library is quicker.
constexpr int kMostRechecks = 50;
} // namespace

TMainForm::TCheckedSymbol::TCheckedSymbol(const TViraSymbolPtr &Checked)
    : Symbol(Checked), Identifier(Checked->Identifier), Image(Checked->Image),
      Names(Checked->Names), StateImages(Checked->StateImages)
{
}

bool TMainForm::TCheckedSymbol::Unchanged() const
{
    // The copies share the symbol's text: any write to the symbol's own parts makes them
    // separate, so comparing where the data lies is enough and costs nothing.
    return Identifier.constData() == Symbol->Identifier.constData() &&
           Image.constData() == Symbol->Image.constData() &&
           Names.constData() == Symbol->Names.constData() &&
           StateImages.constData() == Symbol->StateImages.constData();
}

void TMainForm::CreateCheckLibraryCommand()
{
    miCheckLibrary = mmSymbol->addAction(QStringLiteral("Check Library"));
    miCheckLibrary->setObjectName(QStringLiteral("miCheckLibrary"));
    miCheckLibrary->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_L));
    OnEvent(miCheckLibrary, &QAction::triggered, &TMainForm::miCheckLibraryClick);
}

TCheckOptions TMainForm::CheckOptions() const
{
    const QString project =
        ProjectFile().isEmpty() ? QString() : QFileInfo(ProjectFile()).absoluteFilePath();
    return {project, LanguageCodes(), IsReadablePicture};
}

void TMainForm::miCheckLibraryClick()
{
    if (!CheckWindow) {
        CheckWindow = new TCheckLibraryWindow(this);
        CheckWindow->OnActivate = [this](int Symbol, int State) {
            Guard([&] { SelectFinding(Symbol, State); });
        };
        FLibraryCheck = std::make_unique<TLibraryCheck>();
    }
    // Files may have come or gone since the window last showed.
    FLibraryCheck->ForgetFiles();
    CheckWholeLibrary();
    CheckWindow->show();
    CheckWindow->raise();
    CheckWindow->activateWindow();
}

void TMainForm::CheckWholeLibrary()
{
    FLibraryCheck->SetOptions(CheckOptions());
    FLibraryCheck->Check(Glyphbook);
    FCheckedSymbols.clear();
    FCheckedSymbols.reserve(Glyphbook.Symbols.size());
    for (const TViraSymbolPtr &symbol : std::as_const(Glyphbook.Symbols))
        FCheckedSymbols.append(TCheckedSymbol(symbol));
    CheckWindow->ShowAll(*FLibraryCheck);
}

void TMainForm::FollowLibraryChanges()
{
    if (!CheckWindow || CheckWindow->isHidden())
        return;
    const TCheckOptions options = CheckOptions();
    const TCheckOptions &checked = FLibraryCheck->Options();
    const QList<TViraSymbolPtr> &symbols = Glyphbook.Symbols;
    bool whole = options.ProjectFile != checked.ProjectFile ||
                 options.Languages != checked.Languages || symbols.size() < FCheckedSymbols.size();
    // Symbols may only have been appended; any other change of the order needs every symbol.
    for (qsizetype k = 0; !whole && k < FCheckedSymbols.size(); ++k)
        whole = symbols[k] != FCheckedSymbols[k].Symbol;

    QList<int> changed;
    for (qsizetype k = 0; !whole && k < symbols.size(); ++k)
        if (k >= FCheckedSymbols.size() || !FCheckedSymbols[k].Unchanged())
            changed.append(int(k));
    if (whole || changed.size() > kMostRechecks) {
        CheckWholeLibrary();
        return;
    }
    if (changed.isEmpty())
        return;

    QList<int> shown;
    for (const int index : std::as_const(changed)) {
        shown += FLibraryCheck->Recheck(Glyphbook, index);
        const TCheckedSymbol now(symbols[index]);
        if (index < FCheckedSymbols.size())
            FCheckedSymbols[index] = now;
        else
            FCheckedSymbols.append(now);
    }
    std::sort(shown.begin(), shown.end());
    shown.erase(std::unique(shown.begin(), shown.end()), shown.end());
    CheckWindow->ShowSymbols(*FLibraryCheck, shown);
}

void TMainForm::SelectFinding(int Symbol, int State)
{
    if (Symbol < 0 || Symbol >= Glyphbook.Symbols.size())
        return;
    const TViraSymbolPtr symbol = Glyphbook.Symbols[Symbol];
    for (int row = 0; row < dLV_Symbols->topLevelItemCount(); ++row) {
        auto *item = static_cast<TSymbolListItem *>(dLV_Symbols->topLevelItem(row));
        if (item->Symbol != symbol)
            continue;
        // A row the find bar hides cannot be selected.
        if (item->isHidden())
            CloseFind();
        SelectRow(item);
        break;
    }
    if (State >= 0 && SelectedSymbol() == symbol)
        for (TSymbolImgPanel *tile : Tiles())
            if (tile->ImageIndex == State)
                tile->OnSymbolClick(tile);
    activateWindow();
}
