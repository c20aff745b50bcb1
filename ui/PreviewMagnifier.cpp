#include "ui/PreviewMagnifier.h"

#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>

#include <algorithm>

namespace
{
/// Division rounding toward minus infinity, so pixels left of and above the centre map to
/// whole source pixels as those right of and below it do.
int floorDiv(int Numerator, int Denominator)
{
    const int quotient = Numerator / Denominator;
    return (Numerator % Denominator != 0 && Numerator < 0) ? quotient - 1 : quotient;
}

// One step of a classic mouse wheel, in eighths of a degree.
constexpr int kWheelStep = 120;
} // namespace

TPreviewMagnifier::TPreviewMagnifier(QWidget *Grid, QList<QWidget *> Scene, QPoint Centre)
    : QWidget(Grid->parentWidget()), FGrid(Grid), FScene(std::move(Scene)), FCentre(Centre)
{
    setGeometry(Grid->geometry());
    setMouseTracking(true);
    hide();
    for (QWidget *element : std::as_const(FScene))
        element->installEventFilter(this);
}

void TPreviewMagnifier::SetZoom(int Zoom)
{
    Zoom = std::clamp(Zoom, MinZoom, MaxZoom);
    if (Zoom == FZoom)
        return;
    FZoom = Zoom;
    FGrabbed = nullptr;
    FHovered = nullptr;
    setGeometry(FGrid->geometry());
    setVisible(FZoom > MinZoom);
    raise();
    // The parts of the elements outside the grid must vanish or come back with them.
    for (QWidget *element : std::as_const(FScene))
        element->update();
    update();
}

QPoint TPreviewMagnifier::ScenePixelAt(QPoint At) const
{
    return FCentre +
           QPoint(floorDiv(At.x() - FCentre.x(), FZoom), floorDiv(At.y() - FCentre.y(), FZoom));
}

QImage TPreviewMagnifier::RenderScene()
{
    QImage scene(FGrid->size(), QImage::Format_ARGB32_Premultiplied);
    scene.fill(Qt::transparent);
    QPainter painter(&scene);
    FRendering = true;
    for (QWidget *element : std::as_const(FScene))
        if (element->isVisibleTo(element->parentWidget()))
            element->render(&painter, element->pos() - FGrid->pos(), QRegion(),
                            QWidget::DrawChildren);
    FRendering = false;
    return scene;
}

void TPreviewMagnifier::paintEvent(QPaintEvent *)
{
    FShown = RenderScene();
    // Every screen pixel takes the scene pixel it covers: no smoothing, so each picture pixel
    // is an exact square.
    QImage magnified(size(), QImage::Format_ARGB32_Premultiplied);
    QList<int> sourceX(width());
    for (int x = 0; x < width(); ++x)
        sourceX[x] = ScenePixelAt({x, 0}).x();
    for (int y = 0; y < height(); ++y) {
        const auto *source =
            reinterpret_cast<const QRgb *>(FShown.constScanLine(ScenePixelAt({0, y}).y()));
        auto *target = reinterpret_cast<QRgb *>(magnified.scanLine(y));
        for (int x = 0; x < width(); ++x)
            target[x] = source[sourceX[x]];
    }

    QPainter painter(this);
    painter.drawImage(0, 0, magnified);
    const QString caption = QStringLiteral("%1 %").arg(FZoom * 100);
    const QRect box = painter.fontMetrics().boundingRect(caption).adjusted(-4, -2, 4, 2);
    const QRect corner = box.translated(4 - box.left(), 4 - box.top());
    painter.fillRect(corner, QColor(0, 0, 0, 160));
    painter.setPen(Qt::white);
    painter.drawText(corner, Qt::AlignCenter, caption);
}

QWidget *TPreviewMagnifier::ElementAt(QPoint ScenePoint) const
{
    for (auto element = FScene.crbegin(); element != FScene.crend(); ++element) {
        QWidget *candidate = *element;
        if (!candidate->isVisibleTo(candidate->parentWidget()) ||
            candidate->testAttribute(Qt::WA_TransparentForMouseEvents))
            continue;
        if (candidate->geometry().translated(-FGrid->pos()).contains(ScenePoint))
            return candidate;
    }
    return FGrid;
}

void TPreviewMagnifier::Deliver(QWidget *Element, QEvent::Type Type, const QMouseEvent *Event)
{
    if (!OnMouse || !Element)
        return;
    const QPoint scene = ScenePixelAt(Event ? Event->position().toPoint() : QPoint());
    const QPoint at = scene - (Element->pos() - FGrid->pos());
    OnMouse(Element, Type, Event ? Event->button() : Qt::NoButton,
            Event ? Event->modifiers() : Qt::NoModifier, at);
}

void TPreviewMagnifier::mousePressEvent(QMouseEvent *Event)
{
    // As on the screen itself, the element pressed first takes the mouse until all buttons
    // are up.
    if (!FGrabbed)
        FGrabbed = ElementAt(ScenePixelAt(Event->position().toPoint()));
    Deliver(FGrabbed, QEvent::MouseButtonPress, Event);
}

void TPreviewMagnifier::mouseDoubleClickEvent(QMouseEvent *Event)
{
    if (!FGrabbed)
        FGrabbed = ElementAt(ScenePixelAt(Event->position().toPoint()));
    Deliver(FGrabbed, QEvent::MouseButtonDblClick, Event);
}

void TPreviewMagnifier::mouseMoveEvent(QMouseEvent *Event)
{
    if (FGrabbed) {
        Deliver(FGrabbed, QEvent::MouseMove, Event);
        return;
    }
    QWidget *under = ElementAt(ScenePixelAt(Event->position().toPoint()));
    if (under != FHovered && FHovered)
        Deliver(FHovered, QEvent::Leave, nullptr);
    FHovered = under;
    Deliver(under, QEvent::MouseMove, Event);
}

void TPreviewMagnifier::mouseReleaseEvent(QMouseEvent *Event)
{
    QWidget *grabbed = FGrabbed;
    if (Event->buttons() == Qt::NoButton)
        FGrabbed = nullptr;
    Deliver(grabbed, QEvent::MouseButtonRelease, Event);
    if (FGrabbed)
        return;
    // The pointer may have left the pressed element while it held the mouse.
    QWidget *under = ElementAt(ScenePixelAt(Event->position().toPoint()));
    if (grabbed && under != grabbed)
        Deliver(grabbed, QEvent::Leave, nullptr);
    FHovered = under;
}

void TPreviewMagnifier::leaveEvent(QEvent *)
{
    if (FHovered && !FGrabbed)
        Deliver(FHovered, QEvent::Leave, nullptr);
    FHovered = nullptr;
}

bool TPreviewMagnifier::TakeWheel(QWheelEvent *Event)
{
    if (!(Event->modifiers() & Qt::ControlModifier) || !OnZoomWheel)
        return false;
    FWheelAngle += Event->angleDelta().y();
    const int steps = FWheelAngle / kWheelStep;
    FWheelAngle -= steps * kWheelStep;
    if (steps != 0)
        OnZoomWheel(steps);
    Event->accept();
    return true;
}

void TPreviewMagnifier::wheelEvent(QWheelEvent *Event)
{
    if (!TakeWheel(Event))
        QWidget::wheelEvent(Event);
}

bool TPreviewMagnifier::eventFilter(QObject *Watched, QEvent *Event)
{
    if (FZoom == MinZoom || FRendering)
        return QWidget::eventFilter(Watched, Event);
    switch (Event->type()) {
    case QEvent::Paint:
        // The element shows only through the magnifier; what it would paint may be new.
        QueueRefresh();
        return true;
    case QEvent::Move:
    case QEvent::Resize:
    case QEvent::Show:
    case QEvent::Hide:
        QueueRefresh();
        break;
    default:
        break;
    }
    return QWidget::eventFilter(Watched, Event);
}

void TPreviewMagnifier::QueueRefresh()
{
    if (FRefreshQueued)
        return;
    FRefreshQueued = true;
    // Compared once the current work is done: the magnifier's own repaint makes the elements
    // beneath it paint again, which must not start another repaint.
    QMetaObject::invokeMethod(
        this,
        [this] {
            FRefreshQueued = false;
            if (FZoom > MinZoom && RenderScene() != FShown)
                update();
        },
        Qt::QueuedConnection);
}
