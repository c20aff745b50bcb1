#pragma once

#include <QEvent>
#include <QImage>
#include <QList>
#include <QPoint>
#include <QWidget>

#include <functional>

/// Shows the preview magnified by a whole factor about a fixed centre: it lies over the grid,
/// paints what the preview's elements show at their own size, every pixel as a square of
/// Zoom x Zoom, and hands the mouse to the element under the pointer at the pixel it covers.
/// The elements keep their places and sizes, so every rule that places them holds as it is;
/// while the magnifier shows, they are not painted on the screen themselves.
class TPreviewMagnifier : public QWidget
{
public:
    /// A mouse event for an element: its type (press, double click, move, release, leave),
    /// the button, the modifier keys and the position in the element's own pixels.
    using TMouseHandler =
        std::function<void(QWidget *Element, QEvent::Type Type, Qt::MouseButton Button,
                           Qt::KeyboardModifiers Modifiers, QPoint At)>;

    /// Covers Grid. Scene lists the preview's elements from the bottom of the stacking order to
    /// the top, Grid first; Centre is the point that stays in place, in Grid's coordinates.
    TPreviewMagnifier(QWidget *Grid, QList<QWidget *> Scene, QPoint Centre);

    static constexpr int MinZoom = 1;
    static constexpr int MaxZoom = 8;

    int Zoom() const { return FZoom; }
    /// Sets the factor, kept within MinZoom and MaxZoom; at 1 the magnifier hides and the
    /// elements show themselves again.
    void SetZoom(int Zoom);

    /// The unmagnified position, in the grid's coordinates, of the pixel under At.
    QPoint ScenePixelAt(QPoint At) const;

    TMouseHandler OnMouse;
    /// Called with the number of steps (up positive) the mouse wheel turned with Ctrl held.
    std::function<void(int Steps)> OnZoomWheel;
    /// Takes a wheel event turned with Ctrl held for OnZoomWheel, whichever element it came
    /// to; returns false for any other.
    bool TakeWheel(QWheelEvent *Event);

protected:
    void paintEvent(QPaintEvent *Event) override;
    void mousePressEvent(QMouseEvent *Event) override;
    void mouseDoubleClickEvent(QMouseEvent *Event) override;
    void mouseMoveEvent(QMouseEvent *Event) override;
    void mouseReleaseEvent(QMouseEvent *Event) override;
    void leaveEvent(QEvent *Event) override;
    void wheelEvent(QWheelEvent *Event) override;
    bool eventFilter(QObject *Watched, QEvent *Event) override;

private:
    QWidget *FGrid;
    QList<QWidget *> FScene;
    QPoint FCentre;
    int FZoom = MinZoom;
    /// What the elements showed when last painted, unmagnified, over the grid's area.
    QImage FShown;
    bool FRendering = false;
    bool FRefreshQueued = false;
    /// The element that took the press and gets the mouse until the release.
    QWidget *FGrabbed = nullptr;
    /// The element under the pointer while no button is held.
    QWidget *FHovered = nullptr;
    int FWheelAngle = 0;

    QImage RenderScene();
    /// The topmost element that takes the mouse at ScenePoint (grid coordinates).
    QWidget *ElementAt(QPoint ScenePoint) const;
    void Deliver(QWidget *Element, QEvent::Type Type, const QMouseEvent *Event);
    /// Repaints once the elements show something else than was painted.
    void QueueRefresh();
};
