// The preview: the selected symbol's picture placed by its anchor on the grid origin, the
// example text at its text point, the crosses, and placing both points with the arrow buttons
// and the mouse. The preview changes a symbol only by writing the point fields, whose change
// handling stores the values and places the preview again.
#include "ui/MainGlyphbook.h"

#include "model/ImagePath.h"
#include "model/SymbolPlacement.h"
#include "ui/DottedLine.h"
#include "ui/PictureFile.h"
#include "ui/SymbolListItem.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QRadioButton>
#include <QToolButton>
#include <QTreeWidget>

#include <utility>

namespace
{
constexpr int kOriginX = TMainForm::GridOriginX;
constexpr int kOriginY = TMainForm::GridOriginY;

void writeNumber(QLineEdit *Field, qint64 Value)
{
    Field->setText(QString::number(Value));
}
} // namespace

void TMainForm::ShowSymbolImage(const TViraSymbolPtr &Symbol, int Index)
{
    const QString stored = Index >= 0 && Index < Symbol->StateImages.size()
                               ? Symbol->StateImages.at(Index).Value
                               : Symbol->Image;
    // A missing file leaves the previous picture in place; it is still placed by this symbol.
    if (LoadPictureFile(SymbolImage, ResolveImagePath(stored, ProjectFile())))
        SymbolImage->adjustSize();
    UpdateSymbolView(Symbol);
    SetSelectedSymbol(Symbol);
}

void TMainForm::UpdateSymbolView(const TViraSymbolPtr &Symbol)
{
    PlacePreview(*Symbol);
    ShowSymbolFields(*Symbol);
    RefreshSymbolRows(Symbol);
}

void TMainForm::PlacePreview(const TViraSymbol &Symbol)
{
    const QPoint grid = ImageGrid->pos();
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

void TMainForm::ShowSymbolFields(const TViraSymbol &Symbol)
{
    eIdentifier->setText(Symbol.Identifier);
    // Each write below can run the change handling, which re-reads the symbol; so every value
    // is taken from the symbol at the moment it is written.
    const std::pair<QLineEdit *, const qint32 TViraSymbol::*> points[] = {
        {eAnchorX, &TViraSymbol::ImageX},
        {eAnchorY, &TViraSymbol::ImageY},
        {eTextX, &TViraSymbol::TextX},
        {eTextY, &TViraSymbol::TextY}};
    for (const auto &[field, value] : points)
        if (!field->hasFocus() || FRestoring > 0)
            writeNumber(field, Symbol.*value);

    // Only a different alignment is selected: re-selecting would wipe what the user is typing
    // into the box while it matches no item.
    const int alignIndex = Symbol.TextAlign < cbTextAlign->count() ? Symbol.TextAlign : -1;
    if (cbTextAlign->findText(cbTextAlign->currentText(),
                              Qt::MatchExactly | Qt::MatchCaseSensitive) != alignIndex)
        cbTextAlign->setCurrentIndex(alignIndex);
    cbIsSymbol->setChecked(Symbol.Symbol);
    ShowNames(Symbol);

    for (QWidget *control : {static_cast<QWidget *>(eAnchorX), static_cast<QWidget *>(eAnchorY),
                             static_cast<QWidget *>(eTextX), static_cast<QWidget *>(eTextY),
                             static_cast<QWidget *>(cbTextAlign)})
        control->setEnabled(Symbol.Symbol);
}

void TMainForm::cbCrossClick()
{
    shapeX->setVisible(cbCross->isChecked());
    shapeY->setVisible(cbCross->isChecked());
}

void TMainForm::cbShowTextCrossClick()
{
    shapeTX->setVisible(cbShowTextCross->isChecked());
    shapeTY->setVisible(cbShowTextCross->isChecked());
}

void TMainForm::eExampleTextChange()
{
    lExampleText->setText(eExampleText->text());
    lExampleText->adjustSize();
    AnyChange();
}

void TMainForm::MovePointByArrow(Qt::Orientation Direction, int AnchorStep)
{
    if (!FSelectedSymbol)
        return;
    // Clicks on one arrow, one after the other, are one step.
    const TStepScope step(*this, QString(),
                          QStringLiteral("arrow %1 %2 %3")
                              .arg(int(Direction))
                              .arg(AnchorStep)
                              .arg(srbAnchor->isChecked()));
    const TViraSymbol &symbol = *FSelectedSymbol;
    // The text point counts in screen directions, the anchor against them: a larger anchor
    // moves the picture up and left.
    if (srbAnchor->isChecked()) {
        if (Direction == Qt::Vertical)
            writeNumber(eAnchorY, qint64(symbol.ImageY) + AnchorStep);
        else
            writeNumber(eAnchorX, qint64(symbol.ImageX) + AnchorStep);
    } else if (srbText->isChecked()) {
        if (Direction == Qt::Vertical)
            writeNumber(eTextY, qint64(symbol.TextY) - AnchorStep);
        else
            writeNumber(eTextX, qint64(symbol.TextX) - AnchorStep);
    }
}

void TMainForm::sbbUpClick()
{
    MovePointByArrow(Qt::Vertical, +1);
}

void TMainForm::sbbDownClick()
{
    MovePointByArrow(Qt::Vertical, -1);
}

void TMainForm::sbbLeftClick()
{
    MovePointByArrow(Qt::Horizontal, +1);
}

void TMainForm::sbbRightClick()
{
    MovePointByArrow(Qt::Horizontal, -1);
}

bool TMainForm::CanPlacePoints() const
{
    return FSelectedSymbol && FSelectedSymbol->Symbol;
}

void TMainForm::SymbolImageMouseDown(Qt::MouseButton, Qt::KeyboardModifiers, int X, int Y)
{
    if (!CanPlacePoints())
        return;
    StartX = X;
    StartY = Y;
    IsMoving = true;
}

void TMainForm::SymbolImageMouseLeave()
{
    IsMoving = false;
}

void TMainForm::SymbolImageMouseMove(Qt::KeyboardModifiers, int X, int Y)
{
    if (!IsMoving || !CanPlacePoints())
        return;
    // The first write re-places the picture; the second reads the symbol as it is then.
    writeNumber(eAnchorX, qint64(FSelectedSymbol->ImageX) + StartX - X);
    writeNumber(eAnchorY, qint64(FSelectedSymbol->ImageY) + StartY - Y);
    srbAnchor->setChecked(true);
}

void TMainForm::SymbolImageMouseUp(Qt::MouseButton Button, Qt::KeyboardModifiers Shift, int X,
                                   int Y)
{
    IsMoving = false;
    if (!CanPlacePoints() || !(Shift & Qt::ShiftModifier))
        return;
    if (Button == Qt::LeftButton) {
        writeNumber(eAnchorX, X);
        writeNumber(eAnchorY, Y);
        srbAnchor->setChecked(true);
    } else if (Button == Qt::RightButton) {
        writeNumber(eTextX, X);
        writeNumber(eTextY, Y);
        srbText->setChecked(true);
    }
}

void TMainForm::ImageGridMouseUp(Qt::MouseButton Button, Qt::KeyboardModifiers Shift, int X, int Y)
{
    if (!CanPlacePoints() || !(Shift & Qt::ShiftModifier))
        return;
    // Grid positions become picture coordinates by the anchor as it was before these writes.
    const qint64 x = qint64(X) - kOriginX + FSelectedSymbol->ImageX;
    const qint64 y = qint64(Y) - kOriginY + FSelectedSymbol->ImageY;
    if (Button == Qt::LeftButton) {
        writeNumber(eAnchorX, x);
        writeNumber(eAnchorY, y);
        srbAnchor->setChecked(true);
    } else if (Button == Qt::RightButton) {
        writeNumber(eTextX, x);
        writeNumber(eTextY, y);
        srbText->setChecked(true);
    } else if (Button == Qt::MiddleButton) {
        for (QLineEdit *field : {eAnchorX, eAnchorY, eTextX, eTextY})
            field->setText(QStringLiteral("0"));
    }
}

void TMainForm::lExampleTextMouseMove(Qt::KeyboardModifiers, int X, int Y)
{
    if (!IsMoving || !CanPlacePoints())
        return;
    writeNumber(eTextX, qint64(FSelectedSymbol->TextX) + X - StartX);
    writeNumber(eTextY, qint64(FSelectedSymbol->TextY) + Y - StartY);
    srbText->setChecked(true);
}

void TMainForm::lExampleTextMouseUp(Qt::MouseButton Button, Qt::KeyboardModifiers Shift, int X,
                                    int Y)
{
    IsMoving = false;
    if (!FSelectedSymbol || !(Shift & Qt::ShiftModifier))
        return;
    const QPoint onGrid = QPoint(X, Y) + lExampleText->pos() - ImageGrid->pos();
    ImageGridMouseUp(Button, Shift, onGrid.x(), onGrid.y());
}

void TMainForm::EndDragStep()
{
    if (std::exchange(FDragStep, false))
        EndStep();
}

void TMainForm::WirePreview()
{
    OnEvent(cbCross, &QCheckBox::toggled, &TMainForm::cbCrossClick);
    OnEvent(cbShowTextCross, &QCheckBox::toggled, &TMainForm::cbShowTextCrossClick);
    OnEvent(eExampleText, &QLineEdit::textChanged, &TMainForm::eExampleTextChange);
    OnEvent(sbbUp, &QToolButton::clicked, &TMainForm::sbbUpClick);
    OnEvent(sbbDown, &QToolButton::clicked, &TMainForm::sbbDownClick);
    OnEvent(sbbLeft, &QToolButton::clicked, &TMainForm::sbbLeftClick);
    OnEvent(sbbRight, &QToolButton::clicked, &TMainForm::sbbRightClick);

    // Moves arrive without a held button too, as the drag does not look at the buttons.
    for (QLabel *element : {SymbolImage, lExampleText}) {
        element->setMouseTracking(true);
        element->installEventFilter(this);
    }
    ImageGrid->installEventFilter(this);
}

bool TMainForm::PreviewMouseEvent(QObject *Watched, QEvent *Event)
{
    if (Watched != SymbolImage && Watched != lExampleText && Watched != ImageGrid)
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

void TMainForm::PreviewMouse(QWidget *Element, QEvent::Type Type, Qt::MouseButton Button,
                             Qt::KeyboardModifiers Shift, QPoint At)
{
    const bool onPicture = Element == SymbolImage;
    const bool onLabel = Element == lExampleText;
    const bool onGrid = Element == ImageGrid;
    Guard([&] {
        switch (Type) {
        case QEvent::Leave:
            if (!onGrid) {
                SymbolImageMouseLeave();
                EndDragStep();
            }
            break;
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick:
            if (!onGrid)
                SymbolImageMouseDown(Button, Shift, At.x(), At.y());
            // A drag is one step, from the press to the release.
            if (IsMoving && !FDragStep) {
                BeginStep(QString(), QString(), nullptr);
                FDragStep = true;
            }
            break;
        case QEvent::MouseMove:
            if (onPicture)
                SymbolImageMouseMove(Shift, At.x(), At.y());
            else if (onLabel)
                lExampleTextMouseMove(Shift, At.x(), At.y());
            break;
        case QEvent::MouseButtonRelease: {
            {
                const TStepScope step(*this, QString());
                if (onPicture)
                    SymbolImageMouseUp(Button, Shift, At.x(), At.y());
                else if (onLabel)
                    lExampleTextMouseUp(Button, Shift, At.x(), At.y());
                else if (onGrid)
                    ImageGridMouseUp(Button, Shift, At.x(), At.y());
            }
            EndDragStep();
            break;
        }
        default:
            break;
        }
    });
}
