// The Edit menu: Undo and Redo of the document's steps, wherever the focus is.
#include "ui/MainGlyphbook.h"

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QMenuBar>
#include <QUndoStack>

namespace
{
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

void TMainForm::CreateEditMenu()
{
    QUndoStack *stack = FDocument.UndoStack();
    QMenu *edit = menuBar()->addMenu(QStringLiteral("Edit"));
    edit->setObjectName(QStringLiteral("mmEdit"));
    QAction *undo = edit->addAction(QStringLiteral("Undo"));
    undo->setObjectName(QStringLiteral("miUndo"));
    undo->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
    QAction *redo = edit->addAction(QStringLiteral("Redo"));
    redo->setObjectName(QStringLiteral("miRedo"));
    redo->setShortcuts(
        {QKeySequence(Qt::CTRL | Qt::Key_Y), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)});
    FGuard.Connect(undo, &QAction::triggered, this, [stack] { stack->undo(); });
    FGuard.Connect(redo, &QAction::triggered, this, [stack] { stack->redo(); });
    const auto follow = [](QAction *Action, const QString &Verb) {
        return [Action, Verb](const QString &Step) {
            Action->setText(Step.isEmpty() ? Verb : Verb + u' ' + Step);
        };
    };
    connect(stack, &QUndoStack::undoTextChanged, undo, follow(undo, QStringLiteral("Undo")));
    connect(stack, &QUndoStack::redoTextChanged, redo, follow(redo, QStringLiteral("Redo")));
    connect(stack, &QUndoStack::canUndoChanged, undo, &QAction::setEnabled);
    connect(stack, &QUndoStack::canRedoChanged, redo, &QAction::setEnabled);
    undo->setEnabled(false);
    redo->setEnabled(false);
    qApp->installEventFilter(new TUndoKeys(this, {undo, redo}));
}
