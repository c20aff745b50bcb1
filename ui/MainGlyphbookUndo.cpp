// Undo and redo: every change of the library becomes one step on the window's undo stack. A
// step keeps only what it changed: the former and the new state of one symbol, or the symbols
// it added or removed, by their place in the library.
#include "ui/MainGlyphbook.h"

#include "ui/SymbolListItem.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QSet>
#include <QTreeWidget>
#include <QUndoStack>

namespace
{
// Steps that may take in the next one: typing in one field, clicks on one arrow.
constexpr int kMergeableStep = 1;

/// Equal in what the document keeps; the Error mark is the window's alone.
bool sameInDocument(const TViraSymbol &A, const TViraSymbol &B)
{
    return A.Identifier == B.Identifier && A.Image == B.Image && A.ImageX == B.ImageX &&
           A.ImageY == B.ImageY && A.Names == B.Names && A.Symbol == B.Symbol &&
           A.TextAlign == B.TextAlign && A.TextX == B.TextX && A.TextY == B.TextY &&
           A.StateImages == B.StateImages;
}

/// Lets Ctrl+Z and Ctrl+Y reach the Edit menu while an edit field has the focus; the field's
/// own text undo would go out of step with the library.
class TUndoKeys : public QObject
{
public:
    TUndoKeys(QWidget *Window, QList<QAction *> Actions)
        : QObject(Window), FWindow(Window), FActions(std::move(Actions))
    {
    }

protected:
    bool eventFilter(QObject *Watched, QEvent *Event) override
    {
        if (Event->type() != QEvent::ShortcutOverride || !Watched->isWidgetType() ||
            static_cast<QWidget *>(Watched)->window() != FWindow)
            return false;
        auto *key = static_cast<QKeyEvent *>(Event);
        const QKeySequence pressed(key->keyCombination());
        for (const QAction *action : std::as_const(FActions))
            if (action->shortcuts().contains(pressed)) {
                // Not accepted: the shortcut runs instead of the field's own key handling.
                key->ignore();
                return true;
            }
        return false;
    }

private:
    QWidget *FWindow;
    QList<QAction *> FActions;
};
} // namespace

/// One step of the undo stack. Its first redo is the change the window has just made.
class TLibraryStep : public QUndoCommand
{
public:
    enum TKind { skEdit, skInsert, skRemove };

    TLibraryStep(TMainForm &Window, TKind Kind, const QString &Text)
        : QUndoCommand(Text), FWindow(Window), FKind(Kind)
    {
    }

    // skEdit: the symbol at Index, before and after.
    int Index = -1;
    TViraSymbol Before;
    TViraSymbol After;
    QString MergeKey;
    // skInsert and skRemove: the places in the library, ascending, and the symbols there.
    QList<int> Places;
    QList<TViraSymbolPtr> Symbols;
    /// skInsert: the symbol selected before the insertion, shown again by undo.
    int FormerSelection = -1;

    int id() const override { return MergeKey.isEmpty() ? -1 : kMergeableStep; }

    bool mergeWith(const QUndoCommand *Other) override
    {
        const auto *other = static_cast<const TLibraryStep *>(Other);
        if (other->MergeKey != MergeKey || other->Index != Index)
            return false;
        After = other->After;
        return true;
    }

    void undo() override { Apply(true); }

    void redo() override
    {
        if (std::exchange(FFirstRedo, false))
            return;
        Apply(false);
    }

private:
    void Apply(bool Undo)
    {
        switch (FKind) {
        case skEdit:
            FWindow.RestoreSymbol(Index, Undo ? Before : After);
            break;
        case skInsert:
            if (Undo)
                FWindow.TakeSymbols(Places, Symbols, FormerSelection);
            else
                FWindow.PutSymbols(Places, Symbols);
            break;
        case skRemove:
            if (Undo)
                FWindow.PutSymbols(Places, Symbols);
            else
                FWindow.TakeSymbols(Places, Symbols, -1);
            break;
        }
    }

    TMainForm &FWindow;
    TKind FKind;
    bool FFirstRedo = true;
};

void TMainForm::CreateEditMenu()
{
    UndoStack = new QUndoStack(this);
    mmEdit = new QMenu(QStringLiteral("Edit"), this);
    mmEdit->setObjectName(QStringLiteral("mmEdit"));
    menuBar()->insertMenu(mmSymbol->menuAction(), mmEdit);
    miUndo = mmEdit->addAction(QStringLiteral("Undo"));
    miUndo->setObjectName(QStringLiteral("miUndo"));
    miUndo->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
    miRedo = mmEdit->addAction(QStringLiteral("Redo"));
    miRedo->setObjectName(QStringLiteral("miRedo"));
    miRedo->setShortcuts(
        {QKeySequence(Qt::CTRL | Qt::Key_Y), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)});
    OnEvent(miUndo, &QAction::triggered, &TMainForm::miUndoClick);
    OnEvent(miRedo, &QAction::triggered, &TMainForm::miRedoClick);
    const auto follow = [](QAction *Action, const QString &Verb) {
        return [Action, Verb](const QString &Step) {
            Action->setText(Step.isEmpty() ? Verb : Verb + u' ' + Step);
        };
    };
    connect(UndoStack, &QUndoStack::undoTextChanged, miUndo,
            follow(miUndo, QStringLiteral("Undo")));
    connect(UndoStack, &QUndoStack::redoTextChanged, miRedo,
            follow(miRedo, QStringLiteral("Redo")));
    connect(UndoStack, &QUndoStack::canUndoChanged, miUndo, &QAction::setEnabled);
    connect(UndoStack, &QUndoStack::canRedoChanged, miRedo, &QAction::setEnabled);
    miUndo->setEnabled(false);
    miRedo->setEnabled(false);
    qApp->installEventFilter(new TUndoKeys(this, {miUndo, miRedo}));
}

void TMainForm::miUndoClick()
{
    UndoStack->undo();
}

void TMainForm::miRedoClick()
{
    UndoStack->redo();
}

void TMainForm::StartFreshHistory()
{
    UndoStack->clear();
}

void TMainForm::BeginStep(const QString &Text, const QString &MergeKey, TViraSymbolPtr Symbol)
{
    if (FStepDepth++ > 0)
        return;
    FStepText = Text;
    FStepMergeKey = MergeKey;
    if (!Symbol)
        Symbol = FSelectedSymbol;
    FStepSymbol = Symbol;
    if (Symbol)
        FStepBefore = *Symbol;
}

void TMainForm::EndStep()
{
    if (--FStepDepth > 0)
        return;
    const TViraSymbolPtr symbol = std::exchange(FStepSymbol, nullptr);
    if (!symbol || FSilentSteps > 0 || sameInDocument(*symbol, FStepBefore))
        return;
    const int index = int(Glyphbook.Symbols.indexOf(symbol));
    if (index < 0)
        return;
    QString text = FStepText;
    if (text.isEmpty()) {
        // The preview moves points: its step is named by what moved.
        const bool anchor =
            symbol->ImageX != FStepBefore.ImageX || symbol->ImageY != FStepBefore.ImageY;
        const bool textPoint =
            symbol->TextX != FStepBefore.TextX || symbol->TextY != FStepBefore.TextY;
        text = anchor && textPoint ? QStringLiteral("Move Points")
               : textPoint         ? QStringLiteral("Move Text Point")
                                   : QStringLiteral("Move Anchor");
    }
    auto *step = new TLibraryStep(*this, TLibraryStep::skEdit, text);
    step->Index = index;
    step->Before = FStepBefore;
    step->After = *symbol;
    if (!FStepMergeKey.isEmpty())
        step->MergeKey = FStepMergeKey + u'#' + QString::number(FMergeSerial);
    UndoStack->push(step);
}

void TMainForm::PushSymbolsAdded(const QString &Text, const QList<TViraSymbolPtr> &Added,
                                 int FormerSelection)
{
    if (FSilentSteps > 0 || Added.isEmpty())
        return;
    auto *step = new TLibraryStep(*this, TLibraryStep::skInsert, Text);
    for (const TViraSymbolPtr &symbol : Added)
        step->Places.append(int(Glyphbook.Symbols.indexOf(symbol)));
    std::sort(step->Places.begin(), step->Places.end());
    for (int place : std::as_const(step->Places))
        step->Symbols.append(Glyphbook.Symbols.at(place));
    step->FormerSelection = FormerSelection;
    UndoStack->push(step);
}

void TMainForm::PushSymbolRemoved(int Index, const TViraSymbolPtr &Symbol)
{
    if (FSilentSteps > 0)
        return;
    auto *step = new TLibraryStep(*this, TLibraryStep::skRemove, QStringLiteral("Delete Symbol"));
    step->Places = {Index};
    step->Symbols = {Symbol};
    UndoStack->push(step);
}

TSymbolListItem *TMainForm::RowOf(const TViraSymbolPtr &Symbol) const
{
    for (int row = 0; row < dLV_Symbols->topLevelItemCount(); ++row) {
        auto *item = static_cast<TSymbolListItem *>(dLV_Symbols->topLevelItem(row));
        if (item->Symbol == Symbol)
            return item;
    }
    return nullptr;
}

void TMainForm::ShowSymbolOfStep(const TViraSymbolPtr &Symbol)
{
    TSymbolListItem *row = RowOf(Symbol);
    if (!row)
        return;
    // Building the tiles writes normalised state values back ("Default" as a state value
    // becomes "0"); the library keeps exactly the state the step restored.
    const TViraSymbol restored = *Symbol;
    FillListItem(row, Symbol);
    if (row != SelectedRow()) {
        SelectRow(row);
    } else {
        // Shown again as a selection shows it: the tiles, the preview and the fields.
        dLV_SymbolsSelectItem(row, true);
        dLV_Symbols->scrollToItem(row);
    }
    const bool error = Symbol->Error;
    *Symbol = restored;
    Symbol->Error = error;
}

void TMainForm::RestoreSymbol(int Index, const TViraSymbol &State)
{
    const TRestoring restoring(*this);
    const TViraSymbolPtr symbol = Glyphbook.Symbols.at(Index);
    const bool error = symbol->Error;
    *symbol = State;
    symbol->Error = error;
    ShowSymbolOfStep(symbol);
}

void TMainForm::PutSymbols(const QList<int> &Places, const QList<TViraSymbolPtr> &Symbols)
{
    const TRestoring restoring(*this);
    QList<QTreeWidgetItem *> rows;
    for (qsizetype k = 0; k < Places.size(); ++k) {
        Glyphbook.Symbols.insert(Places[k], Symbols[k]);
        auto *row = new TSymbolListItem(Symbols[k]);
        FillListItem(row, Symbols[k]);
        rows.append(row);
    }
    // A few rows are sorted into place one by one; many are sorted once, all together.
    if (rows.size() <= 8) {
        for (QTreeWidgetItem *row : std::as_const(rows))
            dLV_Symbols->addTopLevelItem(row);
    } else {
        TListSortSuspension sortOnce(dLV_Symbols);
        dLV_Symbols->addTopLevelItems(rows);
    }
    ShowSymbolOfStep(Symbols.constLast());
}

void TMainForm::TakeSymbols(const QList<int> &Places, QList<TViraSymbolPtr> &Symbols,
                            int SelectAfter)
{
    const TRestoring restoring(*this);
    // The library may hold other objects for the same symbols by now (Pack reloads it).
    Symbols.clear();
    for (int place : Places)
        Symbols.append(Glyphbook.Symbols.at(place));
    for (qsizetype k = Places.size() - 1; k >= 0; --k)
        Glyphbook.Symbols.removeAt(Places[k]);
    const QSet<TViraSymbol *> gone = [&] {
        QSet<TViraSymbol *> set;
        for (const TViraSymbolPtr &symbol : std::as_const(Symbols))
            set.insert(symbol.get());
        return set;
    }();
    QList<QTreeWidgetItem *> rows;
    for (int row = 0; row < dLV_Symbols->topLevelItemCount(); ++row) {
        auto *item = static_cast<TSymbolListItem *>(dLV_Symbols->topLevelItem(row));
        if (gone.contains(item->Symbol.get()))
            rows.append(item);
    }
    // Taken out before they are destroyed: the selection events of a removal must meet whole
    // rows.
    for (QTreeWidgetItem *row : std::as_const(rows))
        delete dLV_Symbols->takeTopLevelItem(dLV_Symbols->indexOfTopLevelItem(row));

    TViraSymbolPtr next = Glyphbook.Symbols.value(SelectAfter);
    if (next)
        ShowSymbolOfStep(next);
    else if (dLV_Symbols->topLevelItemCount() > 0)
        SelectRow(dLV_Symbols->topLevelItem(0));
}

std::pair<QString, bool> TMainForm::FieldStep(const QObject *Field) const
{
    if (Field == eIdentifier)
        return {QStringLiteral("Edit Identifier"), true};
    if (Field == eAnchorX || Field == eAnchorY)
        return {QStringLiteral("Edit Anchor"), true};
    if (Field == eTextX || Field == eTextY)
        return {QStringLiteral("Edit Text Point"), true};
    if (Field == cbTextAlign || Field == cbTextAlign->lineEdit())
        return {QStringLiteral("Change Alignment"), true};
    if (Field == cbIsSymbol)
        return {QStringLiteral("Change Symbol Flag"), false};
    for (const QLineEdit *name : NameEdits)
        if (Field == name)
            return {QStringLiteral("Edit Name"), true};
    return {QStringLiteral("Edit Symbol"), false};
}
