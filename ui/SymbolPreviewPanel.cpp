#include "ui/SymbolPreviewPanel.h"

#include "model/ImagePath.h"
#include "model/SymbolPlacement.h"
#include "render/ExampleTextFont.h"
#include "ui/DottedLine.h"
#include "ui/ErrorGuard.h"
#include "ui/LayoutPlacing.h"
#include "ui/PictureFile.h"
#include "ui/PreviewMagnifier.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>

namespace
{
constexpr int kOriginX = TSymbolPreviewPanel::GridOriginX;
constexpr int kOriginY = TSymbolPreviewPanel::GridOriginY;

} // namespace

TSymbolPreviewPanel::TSymbolPreviewPanel(TGlyphbookDocument &Document, const TErrorGuard &Guard,
                                         QWidget *Parent)
    : QLabel(Parent), FDocument(Document), FGuard(Guard)
{
    CreateElements();
    CreateOptions();
    connect(&FDocument, &TGlyphbookDocument::selectedSymbolChanged, this,
            &TSymbolPreviewPanel::ShowSelection);
    connect(&FDocument, &TGlyphbookDocument::symbolChanged, this, &TSymbolPreviewPanel::ShowChange);
}

void TSymbolPreviewPanel::CreateElements()
{
    QWidget *area = parentWidget();
    // Created from the bottom of the stacking order to its top.
    setObjectName(QStringLiteral("ImageGrid"));
    setGeometry(448, 207, 641, 421);
    setPixmap(QPixmap(QStringLiteral(":/glyphbook/grid.bmp")));

    SymbolImage = named(new QLabel(area), "SymbolImage");
    SymbolImage->setGeometry(637, 336, 105, 105);
    // No background of its own: transparent pixels of a picture show the grid.
    SymbolImage->setAutoFillBackground(false);

    lExampleText = named(new QLabel(tr("Example Text"), area), "lExampleText");
    lExampleText->setAlignment(Qt::AlignCenter);
    lExampleText->setFont(ExampleTextFont());
    QPalette examplePalette = lExampleText->palette();
    examplePalette.setColor(QPalette::WindowText, Qt::black);
    lExampleText->setPalette(examplePalette);
    lExampleText->move(660, 322);
    lExampleText->adjustSize();

    shapeY = named(new TDottedLine(Qt::blue, area), "shapeY");
    shapeY->setGeometry(689, 266, 1, 240);
    shapeX = named(new TDottedLine(Qt::blue, area), "shapeX");
    shapeX->setGeometry(530, 388, 320, 1);
    shapeTX = named(new TDottedLine(Qt::magenta, area), "shapeTX");
    shapeTX->setGeometry(660, 336, 40, 1);
    shapeTY = named(new TDottedLine(Qt::magenta, area), "shapeTY");
    shapeTY->setGeometry(660, 336, 1, 16);
    for (QWidget *line : {shapeX, shapeY, shapeTX, shapeTY})
        line->hide();

    PreviewZoom = named(new TPreviewMagnifier(this,
                                              QList<QWidget *>{this, SymbolImage, lExampleText,
                                                               shapeY, shapeX, shapeTX, shapeTY},
                                              QPoint(GridOriginX, GridOriginY)),
                        "PreviewZoom");
    PreviewZoom->OnMouse = [this](QWidget *Element, QEvent::Type Type, Qt::MouseButton Button,
                                  Qt::KeyboardModifiers Shift,
                                  QPoint At) { PreviewMouse(Element, Type, Button, Shift, At); };
    PreviewZoom->OnZoomWheel = [this](int Steps) { SetZoom(Zoom() + Steps); };

    // Moves arrive without a held button too, as the drag does not look at the buttons.
    for (QLabel *element : {SymbolImage, lExampleText}) {
        element->setMouseTracking(true);
        element->installEventFilter(this);
    }
    installEventFilter(this);
}

void TSymbolPreviewPanel::CreateOptions()
{
    QWidget *area = parentWidget();
    // Outside the settings: it stays usable while they are switched off.
    eExampleText = placeEdit("eExampleText", tr("Example Text"), {946, 170, 145, 21}, area);
    eExampleText->setToolTip(tr("Example Text"));
    eExampleText->setAccessibleName(tr("Example text"));
    eExampleText->raise();
    cbCross = placeButton<QCheckBox>("cbCross", tr("Show Cross"), {890, 634, 84, 19}, area);
    cbShowTextCross =
        placeButton<QCheckBox>("cbShowTextCross", tr("Show Text Cross"), {980, 634, 109, 19}, area);

    describe(cbCross, tr("Show Cross"), tr("Shows the anchor point's cross over the grid"));
    describe(cbShowTextCross, tr("Show Text Cross"), tr("Shows the text point's cross"));
    describe(this, tr("Symbol preview"),
             tr("Shift and the left button place the anchor point, Shift and the right button "
                "the text point; dragging the picture or the text moves them"));
    setAccessibleDescription(tr("The selected symbol's picture placed by its anchor point on the "
                                "grid's origin, with the example text at its text point"));

    FGuard.Connect(cbCross, &QCheckBox::toggled, this, [this] {
        shapeX->setVisible(cbCross->isChecked());
        shapeY->setVisible(cbCross->isChecked());
    });
    FGuard.Connect(cbShowTextCross, &QCheckBox::toggled, this, [this] {
        shapeTX->setVisible(cbShowTextCross->isChecked());
        shapeTY->setVisible(cbShowTextCross->isChecked());
    });
    FGuard.Connect(eExampleText, &QLineEdit::textChanged, this, [this] {
        lExampleText->setText(eExampleText->text());
        lExampleText->adjustSize();
        // The label's width changed: it stands anew by the alignment.
        if (const TViraSymbolPtr selected = FDocument.SelectedSymbol())
            PlacePreview(*selected);
    });
}

void TSymbolPreviewPanel::ShowSymbolImage(const TViraSymbolPtr &Symbol, int Index)
{
    const QString stored =
        Index < Symbol->StateImages.size() ? PicturePath(*Symbol, Index) : Symbol->Image;
    // A file that cannot be shown gets the missing mark, never the previous symbol's picture.
    FShownPath = stored;
    LoadPicture(stored, true);
    PlacePreview(*Symbol);
}

void TSymbolPreviewPanel::ShowPicture(const QString &Path)
{
    // All images of a symbol share its anchor: the picture is not placed again. A tile whose
    // file is missing leaves the symbol's picture shown.
    LoadPicture(Path, false);
}

void TSymbolPreviewPanel::ReloadPicture()
{
    if (FDocument.SelectedSymbol())
        LoadPicture(FShownPath, true);
}

void TSymbolPreviewPanel::LoadPicture(const QString &Path, bool MarkMissing)
{
    if (LoadPictureFile(SymbolImage, ResolveImagePath(Path, FDocument.ProjectFile())))
        FShownPath = Path;
    else if (MarkMissing)
        ShowMissingPicture(SymbolImage);
    else
        return;
    SymbolImage->adjustSize();
}

void TSymbolPreviewPanel::SetEditing(bool State)
{
    SymbolImage->setVisible(State);
    // A selected plain image has no example text; switching the area on must not show it.
    const TViraSymbolPtr &selected = FDocument.SelectedSymbol();
    lExampleText->setVisible(State && !(selected && !selected->Symbol));
}

void TSymbolPreviewPanel::ShowSelection(const TViraSymbolPtr &Symbol)
{
    if (Symbol)
        ShowSymbolImage(Symbol, -1);
    SetEditing(Symbol != nullptr);
}

void TSymbolPreviewPanel::ShowChange(const TViraSymbolPtr &Symbol)
{
    if (Symbol == FDocument.SelectedSymbol())
        PlacePreview(*Symbol);
}

void TSymbolPreviewPanel::PlacePreview(const TViraSymbol &Symbol)
{
    const QPoint grid = pos();
    const TSymbolPlacement at =
        PlaceSymbol(Symbol, qint64(grid.x()) + kOriginX, qint64(grid.y()) + kOriginY);
    SymbolImage->move(DrawableCoordinate(at.PictureLeft), DrawableCoordinate(at.PictureTop));

    // An alignment the preview does not know leaves the label and its cross where they were.
    auto alignedLeft = [&](const QWidget *element) {
        return DrawableCoordinate(
            AlignedLeft(Symbol.TextAlign, at.TextX, element->width()).value_or(element->x()));
    };
    // The label's top is its ascent above the text point, so the base line lies on it.
    lExampleText->move(alignedLeft(lExampleText),
                       DrawableCoordinate(at.TextY - lExampleText->fontMetrics().ascent()));
    lExampleText->setVisible(at.ShowsText);

    shapeTX->move(alignedLeft(shapeTX), DrawableCoordinate(at.TextY));
    shapeTY->move(DrawableCoordinate(at.TextX),
                  DrawableCoordinate(at.TextY - shapeTY->height() / 2));
}

void TSymbolPreviewPanel::paintEvent(QPaintEvent *)
{
    // Each grid pixel becomes whole device pixels, never smoothed: the one-pixel lines stay
    // sharp on a dense screen, and a pixel of the picture stays a pixel of the grid.
    const qreal ratio = devicePixelRatioF();
    if (FDeviceGrid.isNull() || FDeviceGrid.devicePixelRatio() != ratio) {
        const QPixmap grid = pixmap();
        FDeviceGrid = grid.scaled((QSizeF(grid.size()) * ratio).toSize(), Qt::IgnoreAspectRatio,
                                  Qt::FastTransformation);
        FDeviceGrid.setDevicePixelRatio(ratio);
    }
    QPainter(this).drawPixmap(0, 0, FDeviceGrid);
}

int TSymbolPreviewPanel::Zoom() const
{
    return PreviewZoom->Zoom();
}

void TSymbolPreviewPanel::SetZoom(int Zoom)
{
    PreviewZoom->SetZoom(Zoom);
    emit zoomChanged(PreviewZoom->Zoom());
}

TStep TSymbolPreviewPanel::GestureStep() const
{
    // Named by the points that moved.
    return {QString(), TStepId::Gesture, FGesture};
}

bool TSymbolPreviewPanel::CanPlacePoints() const
{
    const TViraSymbolPtr &selected = FDocument.SelectedSymbol();
    return selected && selected->Symbol;
}

void TSymbolPreviewPanel::SymbolImageMouseDown(int X, int Y)
{
    if (!CanPlacePoints())
        return;
    StartX = X;
    StartY = Y;
    IsMoving = true;
}

void TSymbolPreviewPanel::SymbolImageMouseMove(int X, int Y)
{
    if (!IsMoving || !CanPlacePoints())
        return;
    const TViraSymbol &symbol = *FDocument.SelectedSymbol();
    emit anchorPlaced(qint64(symbol.ImageX) + StartX - X, qint64(symbol.ImageY) + StartY - Y,
                      GestureStep());
}

void TSymbolPreviewPanel::SymbolImageMouseUp(Qt::MouseButton Button, Qt::KeyboardModifiers Shift,
                                             int X, int Y)
{
    IsMoving = false;
    if (!CanPlacePoints() || !(Shift & Qt::ShiftModifier))
        return;
    if (Button == Qt::LeftButton)
        emit anchorPlaced(X, Y, GestureStep());
    else if (Button == Qt::RightButton)
        emit textPointPlaced(X, Y, GestureStep());
}

void TSymbolPreviewPanel::ImageGridMouseUp(Qt::MouseButton Button, Qt::KeyboardModifiers Shift,
                                           int X, int Y)
{
    if (!CanPlacePoints() || !(Shift & Qt::ShiftModifier))
        return;
    // Grid positions become picture coordinates by the anchor as it was before these writes.
    const TViraSymbol &symbol = *FDocument.SelectedSymbol();
    const qint64 x = qint64(X) - kOriginX + symbol.ImageX;
    const qint64 y = qint64(Y) - kOriginY + symbol.ImageY;
    if (Button == Qt::LeftButton)
        emit anchorPlaced(x, y, GestureStep());
    else if (Button == Qt::RightButton)
        emit textPointPlaced(x, y, GestureStep());
    else if (Button == Qt::MiddleButton)
        emit pointsCleared(GestureStep());
}

void TSymbolPreviewPanel::lExampleTextMouseMove(int X, int Y)
{
    if (!IsMoving || !CanPlacePoints())
        return;
    const TViraSymbol &symbol = *FDocument.SelectedSymbol();
    emit textPointPlaced(qint64(symbol.TextX) + X - StartX, qint64(symbol.TextY) + Y - StartY,
                         GestureStep());
}

void TSymbolPreviewPanel::lExampleTextMouseUp(Qt::MouseButton Button, Qt::KeyboardModifiers Shift,
                                              int X, int Y)
{
    IsMoving = false;
    if (!FDocument.SelectedSymbol() || !(Shift & Qt::ShiftModifier))
        return;
    const QPoint onGrid = QPoint(X, Y) + lExampleText->pos() - pos();
    ImageGridMouseUp(Button, Shift, onGrid.x(), onGrid.y());
}

bool TSymbolPreviewPanel::eventFilter(QObject *Watched, QEvent *Event)
{
    if (Event->type() == QEvent::Wheel &&
        (Watched == this || Watched == SymbolImage || Watched == lExampleText))
        return PreviewZoom->TakeWheel(static_cast<QWheelEvent *>(Event));
    if (PreviewMouseEvent(Watched, Event))
        return true;
    return QLabel::eventFilter(Watched, Event);
}

bool TSymbolPreviewPanel::PreviewMouseEvent(QObject *Watched, QEvent *Event)
{
    if (Watched != SymbolImage && Watched != lExampleText && Watched != this)
        return false;
    auto *element = static_cast<QWidget *>(Watched);
    switch (Event->type()) {
    case QEvent::Leave:
        PreviewMouse(element, QEvent::Leave, Qt::NoButton, Qt::NoModifier, QPoint());
        return false;
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:
    case QEvent::MouseButtonRelease: {
        const auto *mouse = static_cast<QMouseEvent *>(Event);
        PreviewMouse(element, Event->type(), mouse->button(), mouse->modifiers(),
                     mouse->position().toPoint());
        return true;
    }
    default:
        return false;
    }
}

void TSymbolPreviewPanel::PreviewMouse(QWidget *Element, QEvent::Type Type, Qt::MouseButton Button,
                                       Qt::KeyboardModifiers Shift, QPoint At)
{
    const bool onPicture = Element == SymbolImage;
    const bool onLabel = Element == lExampleText;
    const bool onGrid = Element == this;
    FGuard.Run([&] {
        switch (Type) {
        case QEvent::Leave:
            if (!onGrid) {
                IsMoving = false;
                FDragging = false;
            }
            break;
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick:
            if (!onGrid)
                SymbolImageMouseDown(At.x(), At.y());
            // A drag is one step, from the press to the release.
            if (IsMoving && !FDragging) {
                ++FGesture;
                FDragging = true;
            }
            break;
        case QEvent::MouseMove:
            if (onPicture)
                SymbolImageMouseMove(At.x(), At.y());
            else if (onLabel)
                lExampleTextMouseMove(At.x(), At.y());
            break;
        case QEvent::MouseButtonRelease:
            // A click is a step of its own; a drag's release joins the drag.
            if (!std::exchange(FDragging, false))
                ++FGesture;
            if (onPicture)
                SymbolImageMouseUp(Button, Shift, At.x(), At.y());
            else if (onLabel)
                lExampleTextMouseUp(Button, Shift, At.x(), At.y());
            else if (onGrid)
                ImageGridMouseUp(Button, Shift, At.x(), At.y());
            break;
        default:
            break;
        }
    });
}
