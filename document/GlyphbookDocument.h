#pragma once

#include "model/ViraSymbol.h"

#include <QObject>
#include <QStringList>

class QUndoStack;

/// Which edits may join into one undo step: typing in one field, clicks on one arrow, one
/// gesture of the mouse, keystrokes in one tile's value. None never joins.
enum class TStepId : int {
    None = -1,
    EditIdentifier = 1,
    EditName,
    EditAnchor,
    EditTextPoint,
    ChangeAlignment,
    MoveByArrow,
    Gesture,
    PlacePoint,
    ChangeImageValue,
};

/// The undo step an edit belongs to. An empty Text names the step by the points that moved.
/// Two edits join when their Id is not None and Id and Detail (the field, the arrow, the
/// gesture, the tile) are equal.
struct TStep {
    QString Text;
    TStepId Id = TStepId::None;
    int Detail = 0;
};

/// The library being edited, with its project file, the selected symbol, the languages shown,
/// and the undo history that says whether it is saved. Every change of the library goes through
/// this object and becomes one undo step; the views listen to its signals.
class TGlyphbookDocument : public QObject
{
    Q_OBJECT

public:
    explicit TGlyphbookDocument(QObject *Parent = nullptr);
    ~TGlyphbookDocument() override;

    const TViraGlyphbook &Library() const { return FLibrary; }
    const QList<TViraSymbolPtr> &Symbols() const { return FLibrary.Symbols; }
    /// The library index of Symbol, or -1.
    int IndexOf(const TViraSymbolPtr &Symbol) const;

    /// The project file, against whose folder bare image file names are resolved.
    const QString &ProjectFile() const { return FProjectFile; }
    void SetProjectFile(const QString &FileName);

    const TViraSymbolPtr &SelectedSymbol() const { return FSelected; }
    /// The library index of the selected symbol, or -1.
    int SelectedIndex() const { return IndexOf(FSelected); }
    void SetSelectedSymbol(const TViraSymbolPtr &Symbol);

    /// The language codes whose names are shown and edited, in column order.
    const QStringList &Languages() const { return FLanguages; }
    void SetLanguages(const QStringList &Codes);

    QUndoStack *UndoStack() const { return FUndoStack; }
    /// Whether undo or redo is at work, bringing a symbol back as it was.
    bool IsRestoring() const { return FRestoring > 0; }
    /// Whether the library is as it was last saved, opened or started.
    bool IsSaved() const;

    // Changes of the library, one undo step each.
    /// Gives Symbol the content of After. While a change is being made, further changes (the
    /// views writing back what they show) join it.
    void ChangeSymbol(const TViraSymbolPtr &Symbol, const TViraSymbol &After, const TStep &Step);
    /// Appends Symbols to the library.
    void AddSymbols(const QList<TViraSymbolPtr> &Symbols, const QString &Text);
    /// Removes the symbol at Index.
    void RemoveSymbol(int Index);
    /// The changes until EndMacro are one step named Text.
    void BeginMacro(const QString &Text);
    void EndMacro();

    // Whole libraries.
    /// New, Open and Extract: the library becomes Symbols with a fresh history; the selection
    /// goes with the former library (the views learn it from libraryReset).
    void ResetLibrary(QList<TViraSymbolPtr> Symbols);
    /// The same content as new symbol objects (reloaded from a copy): history and saved state
    /// stay; the symbol at SelectIndex is selected, or none.
    void ReplaceSymbolObjects(QList<TViraSymbolPtr> Symbols, int SelectIndex);
    /// Nothing done before can be undone; the library counts as saved.
    void StartFreshHistory();
    /// Writes the library's document into FileName; the library then counts as saved. Names the
    /// save filled in are announced as changes of their symbols, no step.
    void SaveToFile(const QString &FileName);
    /// The library counts as changed since it was saved, with whatever history it has: a
    /// library brought back from a recovery copy.
    void MarkUnsaved();

    /// Marks Symbol as having a missing image file, or not: its Error, which is no content of
    /// the document and no step.
    void SetImageMark(const TViraSymbolPtr &Symbol, bool Missing);
    /// Shows the selected symbol anew in every view, as selecting it does.
    void ShowSelectionAgain();

    /// While it lives, changes are made without an undo step: the views writing back what
    /// showing a symbol normalised, which is no change of the user's.
    class TUnrecorded
    {
    public:
        explicit TUnrecorded(TGlyphbookDocument &Document) : FDocument(Document)
        {
            ++FDocument.FUnrecorded;
        }
        ~TUnrecorded() { --FDocument.FUnrecorded; }
        TUnrecorded(const TUnrecorded &) = delete;
        TUnrecorded &operator=(const TUnrecorded &) = delete;

    private:
        TGlyphbookDocument &FDocument;
    };

signals:
    /// Symbol's content changed.
    void symbolChanged(const TViraSymbolPtr &Symbol);
    /// Symbols were put into the library at Places (ascending).
    void symbolsInserted(const QList<int> &Places);
    /// Symbols left the library.
    void symbolsRemoved(const QList<TViraSymbolPtr> &Symbols);
    /// The library was replaced as a whole.
    void libraryReset();
    /// Another symbol was selected, or the selected one is to be shown anew.
    void selectedSymbolChanged(const TViraSymbolPtr &Symbol);
    /// Symbol's missing-image mark may have changed.
    void imageMarkChanged(const TViraSymbolPtr &Symbol);
    void projectFileChanged(const QString &FileName);
    void savedChanged(bool Saved);
    void languagesChanged(const QStringList &Codes);

private:
    friend class TChangeSymbol;
    friend class TAddRemoveSymbols;

    /// Makes a change of the stack's commands: Index's content becomes State. Returns the
    /// content after the views have followed (first time only, Showing false) or restores
    /// exactly State after they showed the symbol again (undo and redo).
    TViraSymbol ApplyEdit(int Index, const TViraSymbol &State);
    void RestoreSymbol(int Index, const TViraSymbol &State);
    void PutSymbols(const QList<int> &Places, const QList<TViraSymbolPtr> &Symbols, bool Show);
    QList<TViraSymbolPtr> TakeSymbols(const QList<int> &Places, int SelectAfter);
    /// Selects Symbol and shows it anew, then gives it back exactly the content it had: showing
    /// rewrites normalised values.
    void ShowRestored(const TViraSymbolPtr &Symbol);
    /// Undo and redo at work: nothing is recorded and the next edit joins none before it.
    void BeginRestoring();
    void EndRestoring();
    int MergeSerial() const { return FMergeSerial; }

    TViraGlyphbook FLibrary;
    QString FProjectFile;
    TViraSymbolPtr FSelected;
    QStringList FLanguages;
    QUndoStack *FUndoStack = nullptr;
    int FUnrecorded = 0;
    int FRestoring = 0;
    /// A change being made by its command: changes until it ends join it.
    int FEditing = 0;
    /// Edits join only edits of the same serial; undo, redo and a new selection raise it.
    int FMergeSerial = 0;
};
