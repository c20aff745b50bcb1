#include "ui/AnchorLayout.h"

#include <QEvent>
#include <QWidget>

#include <algorithm>

TAnchorLayout::TAnchorLayout(QWidget *Parent, QSize DesignSize)
    : QObject(Parent), FParent(Parent), FDesignSize(DesignSize)
{
    Parent->installEventFilter(this);
}

void TAnchorLayout::Anchor(QWidget *Child, Qt::Edges Edges)
{
    FChildren.append({Child, Edges, Child->geometry()});
}

void TAnchorLayout::Redesign(QWidget *Child, const QRect &Design)
{
    for (TAnchoredChild &c : FChildren)
        if (c.Child == Child)
            c.Design = Design;
    Apply();
}

void TAnchorLayout::Apply()
{
    const QSize size = FParent->size();
    for (const TAnchoredChild &c : std::as_const(FChildren)) {
        const int rightGap = FDesignSize.width() - (c.Design.x() + c.Design.width());
        const int bottomGap = FDesignSize.height() - (c.Design.y() + c.Design.height());
        QRect r = c.Design;
        if (c.Edges.testFlag(Qt::RightEdge)) {
            if (c.Edges.testFlag(Qt::LeftEdge))
                r.setWidth(std::max(c.Child->minimumWidth(), size.width() - rightGap - r.x()));
            else
                r.moveLeft(size.width() - rightGap - r.width());
        }
        if (c.Edges.testFlag(Qt::BottomEdge)) {
            if (c.Edges.testFlag(Qt::TopEdge))
                r.setHeight(std::max(c.Child->minimumHeight(), size.height() - bottomGap - r.y()));
            else
                r.moveTop(size.height() - bottomGap - r.height());
        }
        c.Child->setGeometry(r);
    }
}

bool TAnchorLayout::eventFilter(QObject *Watched, QEvent *Event)
{
    if (Watched == FParent && Event->type() == QEvent::Resize)
        Apply();
    return QObject::eventFilter(Watched, Event);
}
