// Check Library: the findings window beside the editor, and selecting what a finding concerns.
#include "ui/MainGlyphbook.h"

#include "ui/CheckLibraryWindow.h"
#include "ui/ImageStripPanel.h"
#include "ui/SymbolListPanel.h"

void TMainForm::miCheckLibraryClick()
{
    if (!FCheckWindow) {
        FCheckWindow = new TCheckLibraryWindow(FDocument, this);
        FCheckWindow->OnActivate = [this](int Symbol, int State) {
            Guard([&] { SelectFinding(Symbol, State); });
        };
    }
    FCheckWindow->CheckAnew();
    FCheckWindow->show();
    FCheckWindow->raise();
    FCheckWindow->activateWindow();
}

void TMainForm::SelectFinding(int Symbol, int State)
{
    const TViraSymbolPtr symbol = FDocument.Symbols().value(Symbol);
    if (!symbol)
        return;
    FList->RevealSymbol(symbol);
    FDocument.SetSelectedSymbol(symbol);
    if (State >= 0 && SelectedSymbol() == symbol)
        FStrip->ClickTile(State);
    activateWindow();
}
