#include "document/SymbolCommands.h"

#include <QCoreApplication>

TChangeSymbol::TChangeSymbol(TGlyphbookDocument &Document, int Index, const TViraSymbol &After,
                             const TStep &Step)
    : QUndoCommand(Step.Text), FDocument(Document), FIndex(Index),
      FBefore(*Document.Symbols().at(Index)), FAfter(After), FStep(Step),
      FSerial(Document.MergeSerial())
{
}

void TChangeSymbol::redo()
{
    if (std::exchange(FDone, true)) {
        FDocument.RestoreSymbol(FIndex, FAfter);
        return;
    }
    // The views write back what they show; the step keeps what the symbol holds at the end.
    FAfter = FDocument.ApplyEdit(FIndex, FAfter);
    Rename();
    setObsolete(SameContent(FBefore, FAfter));
}

void TChangeSymbol::undo()
{
    FDocument.RestoreSymbol(FIndex, FBefore);
}

bool TChangeSymbol::mergeWith(const QUndoCommand *Other)
{
    const auto *other = static_cast<const TChangeSymbol *>(Other);
    if (other->FIndex != FIndex || other->FStep.Detail != FStep.Detail || other->FSerial != FSerial)
        return false;
    FAfter = other->FAfter;
    Rename();
    // Typing that returns a field to what it was leaves nothing to undo.
    setObsolete(SameContent(FBefore, FAfter));
    return true;
}

void TChangeSymbol::Rename()
{
    if (!FStep.Text.isEmpty())
        return;
    // The preview moves points: its step is named by what moved.
    const bool anchor = FAfter.ImageX != FBefore.ImageX || FAfter.ImageY != FBefore.ImageY;
    const bool textPoint = FAfter.TextX != FBefore.TextX || FAfter.TextY != FBefore.TextY;
    setText(anchor && textPoint ? QCoreApplication::translate("SymbolCommands", "Move Points")
            : textPoint         ? QCoreApplication::translate("SymbolCommands", "Move Text Point")
                                : QCoreApplication::translate("SymbolCommands", "Move Anchor"));
}

TAddRemoveSymbols::TAddRemoveSymbols(TGlyphbookDocument &Document, const QString &Text,
                                     QList<int> Places, QList<TViraSymbolPtr> Symbols)
    : QUndoCommand(Text), FDocument(Document), FPlaces(std::move(Places)),
      FSymbols(std::move(Symbols))
{
}

void TAddRemoveSymbols::Add(bool Show)
{
    FDocument.PutSymbols(FPlaces, FSymbols, Show);
}

void TAddRemoveSymbols::Remove(int SelectAfter)
{
    FSymbols = FDocument.TakeSymbols(FPlaces, SelectAfter);
}

namespace
{
QList<int> appendedPlaces(const TGlyphbookDocument &Document, qsizetype Count)
{
    QList<int> places;
    for (qsizetype k = 0; k < Count; ++k)
        places.append(int(Document.Symbols().size() + k));
    return places;
}
} // namespace

TAddSymbols::TAddSymbols(TGlyphbookDocument &Document, const QString &Text,
                         const QList<TViraSymbolPtr> &Symbols)
    : TAddRemoveSymbols(Document, Text, appendedPlaces(Document, Symbols.size()), Symbols),
      FFormerSelection(Document.SelectedIndex())
{
}

void TAddSymbols::redo()
{
    // The first time, the command that adds selects what it added itself.
    Add(std::exchange(FDone, true));
}

TRemoveSymbol::TRemoveSymbol(TGlyphbookDocument &Document, int Index)
    : TAddRemoveSymbols(Document, QCoreApplication::translate("SymbolCommands", "Delete Symbol"),
                        {Index}, {Document.Symbols().at(Index)})
{
}
