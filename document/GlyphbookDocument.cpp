#include "document/GlyphbookDocument.h"

#include "document/SymbolCommands.h"

#include <QScopeGuard>

#include <QSet>
#include <QUndoStack>
#include <algorithm>

namespace
{
/// Gives Symbol the content of State; its missing-image mark is the views' and stays.
void assignContent(TViraSymbol &Symbol, const TViraSymbol &State)
{
    const bool error = Symbol.Error;
    Symbol = State;
    Symbol.Error = error;
}
} // namespace

TGlyphbookDocument::TGlyphbookDocument(QObject *Parent)
    : QObject(Parent), FUndoStack(new QUndoStack(this))
{
    connect(FUndoStack, &QUndoStack::cleanChanged, this, &TGlyphbookDocument::savedChanged);
}

TGlyphbookDocument::~TGlyphbookDocument()
{
    // The commands call the document back as they go; none may outlive it, and the views hear
    // nothing more of it.
    FUndoStack->blockSignals(true);
    delete FUndoStack;
}

int TGlyphbookDocument::IndexOf(const TViraSymbolPtr &Symbol) const
{
    return Symbol ? int(FLibrary.Symbols.indexOf(Symbol)) : -1;
}

void TGlyphbookDocument::SetProjectFile(const QString &FileName)
{
    if (FileName == FProjectFile)
        return;
    FProjectFile = FileName;
    emit projectFileChanged(FProjectFile);
}

void TGlyphbookDocument::SetSelectedSymbol(const TViraSymbolPtr &Symbol)
{
    if (Symbol == FSelected)
        return;
    FSelected = Symbol;
    if (Symbol)
        ++FMergeSerial;
    emit selectedSymbolChanged(FSelected);
}

void TGlyphbookDocument::SetLanguages(const QStringList &Codes)
{
    FLanguages = Codes;
    emit languagesChanged(FLanguages);
}

bool TGlyphbookDocument::IsSaved() const
{
    return FUndoStack->isClean();
}

void TGlyphbookDocument::ChangeSymbol(const TViraSymbolPtr &Symbol, const TViraSymbol &After,
                                      const TStep &Step)
{
    const int index = IndexOf(Symbol);
    if (FUnrecorded > 0 || FEditing > 0 || index < 0) {
        // Joins the change being made, or is none of the user's.
        assignContent(*Symbol, After);
        emit symbolChanged(Symbol);
        return;
    }
    if (SameContent(*Symbol, After))
        return;
    FUndoStack->push(new TChangeSymbol(*this, index, After, Step));
}

void TGlyphbookDocument::AddSymbols(const QList<TViraSymbolPtr> &Symbols, const QString &Text)
{
    if (Symbols.isEmpty())
        return;
    FUndoStack->push(new TAddSymbols(*this, Text, Symbols));
}

void TGlyphbookDocument::RemoveSymbol(int Index)
{
    FUndoStack->push(new TRemoveSymbol(*this, Index));
}

void TGlyphbookDocument::BeginMacro(const QString &Text)
{
    FUndoStack->beginMacro(Text);
}

void TGlyphbookDocument::EndMacro()
{
    FUndoStack->endMacro();
}

void TGlyphbookDocument::ResetLibrary(QList<TViraSymbolPtr> Symbols)
{
    FSelected = nullptr;
    FUndoStack->clear();
    // Held until the views have let go, then freed in library order: far quicker for a large
    // library than one by one in the order the list happens to delete its rows.
    const QList<TViraSymbolPtr> former = std::exchange(FLibrary.Symbols, std::move(Symbols));
    emit libraryReset();
}

void TGlyphbookDocument::ReplaceSymbolObjects(QList<TViraSymbolPtr> Symbols, int SelectIndex)
{
    FSelected = nullptr;
    const QList<TViraSymbolPtr> former = std::exchange(FLibrary.Symbols, std::move(Symbols));
    emit libraryReset();
    // No view may keep a symbol the library has dropped.
    if (const TViraSymbolPtr selected = FLibrary.Symbols.value(SelectIndex))
        SetSelectedSymbol(selected);
    else
        emit selectedSymbolChanged(nullptr);
}

void TGlyphbookDocument::StartFreshHistory()
{
    FUndoStack->clear();
}

void TGlyphbookDocument::SaveToFile(const QString &FileName)
{
    QList<TViraSymbolPtr> unnamed;
    for (const TViraSymbolPtr &symbol : std::as_const(FLibrary.Symbols))
        if (std::any_of(symbol->Names.cbegin(), symbol->Names.cend(),
                        [](const TStringPairs &Pair) { return Pair.Value.isEmpty(); }))
            unnamed.append(symbol);
    FLibrary.SaveToFile(FileName);
    FUndoStack->setClean();
    const TUnrecorded showing(*this);
    for (const TViraSymbolPtr &symbol : std::as_const(unnamed))
        emit symbolChanged(symbol);
}

void TGlyphbookDocument::MarkUnsaved()
{
    FUndoStack->resetClean();
}

void TGlyphbookDocument::SetImageMark(const TViraSymbolPtr &Symbol, bool Missing)
{
    Symbol->Error = Missing;
    emit imageMarkChanged(Symbol);
}

TViraSymbol TGlyphbookDocument::ApplyEdit(int Index, const TViraSymbol &State)
{
    const TViraSymbolPtr symbol = FLibrary.Symbols.at(Index);
    ++FEditing;
    const auto done = qScopeGuard([this] { --FEditing; });
    assignContent(*symbol, State);
    emit symbolChanged(symbol);
    return *symbol;
}

void TGlyphbookDocument::RestoreSymbol(int Index, const TViraSymbol &State)
{
    BeginRestoring();
    const auto done = qScopeGuard([this] { EndRestoring(); });
    const TViraSymbolPtr symbol = FLibrary.Symbols.at(Index);
    assignContent(*symbol, State);
    emit symbolChanged(symbol);
    ShowRestored(symbol);
    // Exactly the state of the step, whatever the views wrote back while they followed.
    assignContent(*symbol, State);
}

void TGlyphbookDocument::PutSymbols(const QList<int> &Places, const QList<TViraSymbolPtr> &Symbols,
                                    bool Show)
{
    BeginRestoring();
    const auto done = qScopeGuard([this] { EndRestoring(); });
    for (qsizetype k = 0; k < Places.size(); ++k)
        FLibrary.Symbols.insert(Places[k], Symbols[k]);
    emit symbolsInserted(Places);
    if (Show)
        ShowRestored(Symbols.constLast());
}

QList<TViraSymbolPtr> TGlyphbookDocument::TakeSymbols(const QList<int> &Places, int SelectAfter)
{
    BeginRestoring();
    const auto done = qScopeGuard([this] { EndRestoring(); });
    QList<TViraSymbolPtr> taken;
    for (int place : Places)
        taken.append(FLibrary.Symbols.at(place));
    for (qsizetype k = Places.size() - 1; k >= 0; --k)
        FLibrary.Symbols.removeAt(Places[k]);
    const TViraSymbolPtr next = FLibrary.Symbols.value(SelectAfter);
    // The views drop what they showed of the symbols; without a symbol to show next, they
    // select another.
    if (taken.contains(FSelected))
        FSelected = next;
    emit symbolsRemoved(taken);
    if (next)
        ShowRestored(next);
    return taken;
}

void TGlyphbookDocument::ShowRestored(const TViraSymbolPtr &Symbol)
{
    const TViraSymbol restored = *Symbol;
    if (FSelected != Symbol)
        SetSelectedSymbol(Symbol);
    else
        ShowSelectionAgain();
    assignContent(*Symbol, restored);
}

void TGlyphbookDocument::ShowSelectionAgain()
{
    ++FMergeSerial;
    emit selectedSymbolChanged(FSelected);
}

void TGlyphbookDocument::BeginRestoring()
{
    ++FMergeSerial;
    ++FUnrecorded;
    ++FRestoring;
}

void TGlyphbookDocument::EndRestoring()
{
    --FRestoring;
    --FUnrecorded;
}
