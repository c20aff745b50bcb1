#pragma once

#include "document/GlyphbookDocument.h"

#include <QUndoCommand>

/// One symbol's content changed: identifier, names, points, alignment, the Symbol flag, its
/// images and state values. Symbols are held by their place in the library, as the library
/// may hold new objects for them by the time of an undo (packing reloads it).
class TChangeSymbol : public QUndoCommand
{
public:
    TChangeSymbol(TGlyphbookDocument &Document, int Index, const TViraSymbol &After,
                  const TStep &Step);

    void undo() override;
    void redo() override;
    int id() const override { return int(FStep.Id); }
    /// Joins a later edit of the same kind, symbol, detail and serial; a step that returned
    /// its symbol to where it started is dropped.
    bool mergeWith(const QUndoCommand *Other) override;

private:
    void Rename();

    TGlyphbookDocument &FDocument;
    int FIndex;
    TViraSymbol FBefore;
    TViraSymbol FAfter;
    TStep FStep;
    int FSerial;
    bool FDone = false;
};

/// Symbols put into or taken out of the library, by their places.
class TAddRemoveSymbols : public QUndoCommand
{
protected:
    TAddRemoveSymbols(TGlyphbookDocument &Document, const QString &Text, QList<int> Places,
                      QList<TViraSymbolPtr> Symbols);

    void Add(bool Show);
    void Remove(int SelectAfter);

    TGlyphbookDocument &FDocument;
    QList<int> FPlaces;
    QList<TViraSymbolPtr> FSymbols;
};

/// Symbols appended to the library. Undo shows the symbol selected before again.
class TAddSymbols : public TAddRemoveSymbols
{
public:
    TAddSymbols(TGlyphbookDocument &Document, const QString &Text,
                const QList<TViraSymbolPtr> &Symbols);

    void undo() override { Remove(FFormerSelection); }
    void redo() override;

private:
    int FFormerSelection;
    bool FDone = false;
};

/// One symbol deleted from the library.
class TRemoveSymbol : public TAddRemoveSymbols
{
public:
    TRemoveSymbol(TGlyphbookDocument &Document, int Index);

    void undo() override { Add(true); }
    void redo() override { Remove(-1); }
};
