#include "ui/MenuLetters.h"

#include <QKeyEvent>
#include <QMenu>

void TMenuLetters::Install(QMenu *Menu)
{
    Menu->installEventFilter(new TMenuLetters(Menu));
    for (QMenu *inner : Menu->findChildren<QMenu *>())
        inner->installEventFilter(new TMenuLetters(inner));
}

bool TMenuLetters::eventFilter(QObject *Watched, QEvent *Event)
{
    auto *menu = qobject_cast<QMenu *>(Watched);
    if (!menu || Event->type() != QEvent::KeyPress)
        return false;
    const auto *key = static_cast<QKeyEvent *>(Event);
    const QString typed = key->text();
    if (typed.size() != 1 || !typed.at(0).isLetterOrNumber() ||
        (key->modifiers() & ~(Qt::ShiftModifier | Qt::KeypadModifier)))
        return false;

    QList<QAction *> matching;
    for (QAction *action : menu->actions())
        if (action->isVisible() && action->isEnabled() && !action->isSeparator() &&
            action->text().startsWith(typed, Qt::CaseInsensitive))
            matching.append(action);
    if (matching.isEmpty())
        return false;
    if (matching.size() == 1) {
        QAction *only = matching.first();
        if (only->menu()) {
            menu->setActiveAction(only);
            only->menu()->popup(menu->actionGeometry(only).topRight() + menu->pos());
        } else {
            // Closing first, as choosing an item with Return does, so a dialog the command
            // opens is not under an open menu.
            menu->hide();
            for (QWidget *above = menu->parentWidget(); qobject_cast<QMenu *>(above);
                 above = above->parentWidget())
                above->hide();
            only->trigger();
        }
        return true;
    }
    const qsizetype current = matching.indexOf(menu->activeAction());
    menu->setActiveAction(matching.at((current + 1) % matching.size()));
    return true;
}
