#pragma once

#include <QObject>

class QMenu;

/// Menu items from the keyboard without mnemonic marks in their texts: in an open menu, a
/// letter goes to the item whose text starts with it and chooses it when it is the only one;
/// when several start with it, each press goes on to the next.
class TMenuLetters : public QObject
{
public:
    /// Serves Menu and every menu inside it; owned by Menu.
    static void Install(QMenu *Menu);

protected:
    bool eventFilter(QObject *Watched, QEvent *Event) override;

private:
    using QObject::QObject;
};
