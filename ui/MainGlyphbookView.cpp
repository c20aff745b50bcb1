// The View menu: the preview's zoom and the list's find bar.
#include "ui/MainGlyphbook.h"

#include "ui/PreviewMagnifier.h"
#include "ui/SymbolListPanel.h"
#include "ui/SymbolPreviewPanel.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>

void TMainForm::CreateViewMenu()
{
    FViewMenu = menuBar()->addMenu(QStringLiteral("View"));
    FViewMenu->setObjectName(QStringLiteral("mmView"));
    FZoomIn = FViewMenu->addAction(QStringLiteral("Zoom In"));
    FZoomIn->setObjectName(QStringLiteral("miZoomIn"));
    FZoomIn->setShortcuts(
        {QKeySequence(Qt::CTRL | Qt::Key_Plus), QKeySequence(Qt::CTRL | Qt::Key_Equal)});
    FZoomOut = FViewMenu->addAction(QStringLiteral("Zoom Out"));
    FZoomOut->setObjectName(QStringLiteral("miZoomOut"));
    FZoomOut->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Minus));
    FActualSize = FViewMenu->addAction(QStringLiteral("Actual Size"));
    FActualSize->setObjectName(QStringLiteral("miActualSize"));
    FActualSize->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_0));
    FViewMenu->addSeparator();
    FGuard.Connect(FZoomIn, &QAction::triggered, this, [this] { SetZoom(Zoom() + 1); });
    FGuard.Connect(FZoomOut, &QAction::triggered, this, [this] { SetZoom(Zoom() - 1); });
    FGuard.Connect(FActualSize, &QAction::triggered, this,
                   [this] { SetZoom(TPreviewMagnifier::MinZoom); });
    UpdateZoomCommands();

    QAction *find = FViewMenu->addAction(QStringLiteral("Find..."));
    find->setObjectName(QStringLiteral("miFind"));
    find->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_F));
    FGuard.Connect(find, &QAction::triggered, this, [this] { FList->ShowFindBar(); });
}

int TMainForm::Zoom() const
{
    return FPreview->Zoom();
}

void TMainForm::SetZoom(int Zoom)
{
    FPreview->SetZoom(Zoom);
}

void TMainForm::UpdateZoomCommands()
{
    FZoomIn->setEnabled(Zoom() < TPreviewMagnifier::MaxZoom);
    FZoomOut->setEnabled(Zoom() > TPreviewMagnifier::MinZoom);
    FActualSize->setEnabled(Zoom() != TPreviewMagnifier::MinZoom);
}
