// Zoom: the View menu's zoom commands and Ctrl+wheel over the preview magnify it in whole steps
// about the grid origin. The preview's elements keep their places; the magnifier over the grid
// shows them enlarged and hands the mouse to them at the picture pixel under the pointer.
#include "ui/MainGlyphbook.h"

#include "ui/DottedLine.h"
#include "ui/PreviewMagnifier.h"

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QWheelEvent>

void TMainForm::CreateViewMenu()
{
    mmView = new QMenu(QStringLiteral("View"), this);
    mmView->setObjectName(QStringLiteral("mmView"));
    menuBar()->insertMenu(mmLanguages->menuAction(), mmView);
    miZoomIn = mmView->addAction(QStringLiteral("Zoom In"));
    miZoomIn->setObjectName(QStringLiteral("miZoomIn"));
    miZoomIn->setShortcuts(
        {QKeySequence(Qt::CTRL | Qt::Key_Plus), QKeySequence(Qt::CTRL | Qt::Key_Equal)});
    miZoomOut = mmView->addAction(QStringLiteral("Zoom Out"));
    miZoomOut->setObjectName(QStringLiteral("miZoomOut"));
    miZoomOut->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Minus));
    miActualSize = mmView->addAction(QStringLiteral("Actual Size"));
    miActualSize->setObjectName(QStringLiteral("miActualSize"));
    miActualSize->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_0));
    mmView->addSeparator();
    OnEvent(miZoomIn, &QAction::triggered, &TMainForm::miZoomInClick);
    OnEvent(miZoomOut, &QAction::triggered, &TMainForm::miZoomOutClick);
    OnEvent(miActualSize, &QAction::triggered, &TMainForm::miActualSizeClick);

    PreviewZoom = new TPreviewMagnifier(
        ImageGrid,
        QList<QWidget *>{ImageGrid, SymbolImage, lExampleText, shapeY, shapeX, shapeTX, shapeTY},
        QPoint(GridOriginX, GridOriginY));
    PreviewZoom->setObjectName(QStringLiteral("PreviewZoom"));
    PreviewZoom->OnMouse = [this](QWidget *Element, QEvent::Type Type, Qt::MouseButton Button,
                                  Qt::KeyboardModifiers Shift,
                                  QPoint At) { PreviewMouse(Element, Type, Button, Shift, At); };
    PreviewZoom->OnZoomWheel = [this](int Steps) { SetZoom(Zoom() + Steps); };
    UpdateZoomCommands();
}

int TMainForm::Zoom() const
{
    return PreviewZoom->Zoom();
}

void TMainForm::SetZoom(int Zoom)
{
    PreviewZoom->SetZoom(Zoom);
    UpdateZoomCommands();
}

void TMainForm::UpdateZoomCommands()
{
    miZoomIn->setEnabled(Zoom() < TPreviewMagnifier::MaxZoom);
    miZoomOut->setEnabled(Zoom() > TPreviewMagnifier::MinZoom);
    miActualSize->setEnabled(Zoom() != TPreviewMagnifier::MinZoom);
}

void TMainForm::miZoomInClick()
{
    SetZoom(Zoom() + 1);
}

void TMainForm::miZoomOutClick()
{
    SetZoom(Zoom() - 1);
}

void TMainForm::miActualSizeClick()
{
    SetZoom(TPreviewMagnifier::MinZoom);
}

bool TMainForm::PreviewWheelEvent(QObject *Watched, QEvent *Event)
{
    if (Event->type() != QEvent::Wheel ||
        (Watched != ImageGrid && Watched != SymbolImage && Watched != lExampleText))
        return false;
    return PreviewZoom->TakeWheel(static_cast<QWheelEvent *>(Event));
}
