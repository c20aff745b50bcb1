#pragma once

#include <QList>
#include <QObject>
#include <QRect>
#include <QSize>

class QWidget;

/// Keeps chosen children of one parent at fixed distances from the parent's edges: a child
/// anchored left and right stretches with the parent (never below its minimum width), one
/// anchored top and bottom stretches vertically, one anchored right or bottom alone moves.
/// Distances are taken from the designed geometry against the designed parent size.
class TAnchorLayout : public QObject
{
public:
    TAnchorLayout(QWidget *Parent, QSize DesignSize);

    /// Remembers Child's current geometry as designed and keeps the given edges.
    void Anchor(QWidget *Child, Qt::Edges Edges);
    /// Replaces Child's designed geometry by Design and places it anew.
    void Redesign(QWidget *Child, const QRect &Design);
    /// Places every anchored child for the parent's current size.
    void Apply();

protected:
    bool eventFilter(QObject *Watched, QEvent *Event) override;

private:
    struct TAnchoredChild {
        QWidget *Child;
        Qt::Edges Edges;
        QRect Design;
    };

    QWidget *FParent;
    QSize FDesignSize;
    QList<TAnchoredChild> FChildren;
};
