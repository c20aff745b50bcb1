#include "ui/SymbolImgPanels.h"

#include "model/ImagePath.h"
#include "model/IntegerText.h"
#include "ui/PictureFile.h"

#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QStyleOptionFocusRect>

#include <algorithm>

TSymbolImgPanel::TPanelProc TSymbolImgPanel::ClickProc;
TSymbolImgPanel::TPanelProc TSymbolImgPanel::UpdateProc;
TSymbolImgPanel::TPanelProc TSymbolImgPanel::DblClickProc;

namespace
{

constexpr int TileWidth = 150;
constexpr int TileSpacing = 2;

// The value type a state pair's Name stands for.
int ValueTypeOfName(const QString &Name)
{
    if (Name == u"Alarm")
        return TSymbolImgPanel::vtAlarm;
    if (Name == u"MO_Off")
        return TSymbolImgPanel::vtMO_Off;
    if (Name == u"MO")
        return TSymbolImgPanel::vtMO;
    return TSymbolImgPanel::vtValue;
}

} // namespace

TSymbolMark::TSymbolMark(QWidget *Parent) : QWidget(Parent)
{
    // The outline covers nearly the whole tile; clicks go through it to the tile.
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void TSymbolMark::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setPen(QPen(Qt::yellow, 1));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}

TSymbolImgPanel::TSymbolImgPanel(QWidget *AOwner, TViraSymbolPtr ASymbol, int Index,
                                 const QString &ProjectFile)
    : QFrame(AOwner), Symbol(std::move(ASymbol)), ImageIndex(Index)
{
    setVisible(false);
    setFrameStyle(QFrame::Panel | QFrame::Raised);
    // Reached by Tab only: a click on a tile leaves the focus where the user was typing.
    setFocusPolicy(Qt::TabFocus);
    setAccessibleDescription(tr("Space shows the image; Return replaces it"));
    setGeometry(TileSpacing, TileSpacing, TileWidth, (AOwner ? AOwner->height() : 0) - 2);

    Mark = new TSymbolMark(this);
    Mark->setGeometry(1, 1, width() - 2, height() - 2);
    Mark->setVisible(false);

    Image = new QLabel(this);
    Image->setGeometry(4, 25, 142, 104);
    Image->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Image->installEventFilter(this);

    FileName = PicturePath(*Symbol, Index);

    if (LoadPictureFile(Image, ResolveImagePath(FileName, ProjectFile)))
        Image->setToolTip(FileName);
    else
        Symbol->Error = true;

    Value = new QLineEdit(this);
    Value->setGeometry(105, 2, 40, 21);
    Value->setToolTip(tr("Värde"));
    Value->setAccessibleName(tr("State value"));
    Value->setText(QStringLiteral("0"));
    // Connected only now, so that writing the pair's value below runs the update path.
    connect(Value, &QLineEdit::textChanged, this, [this] { OnUpdate(Value); });

    ValueType = new QComboBox(this);
    ValueType->setGeometry(2, 2, 100, 21);
    ValueType->addItems({QStringLiteral("Default"), QStringLiteral("Value"),
                         QStringLiteral("Alarm"), QStringLiteral("MO_Off"), QStringLiteral("MO")});
    ValueType->setToolTip(tr("When is image shown?"));
    ValueType->setAccessibleName(tr("Value type"));
    // Only the user's choice notifies; choosing an item from code stays silent.
    connect(ValueType, &QComboBox::activated, this, [this] { OnUpdate(ValueType); });

    if (Index < 0) {
        ValueType->setCurrentIndex(vtDefault);
    } else if (Index < Symbol->StateImages.size()) {
        const QString name = Symbol->StateImages.at(Index).Name;
        ValueType->setCurrentIndex(ValueTypeOfName(name));
        Value->setText(name);
    } else {
        ValueType->setCurrentIndex(-1);
    }

    Value->setVisible(ValueType->currentIndex() == vtValue);
    ValueType->setEnabled(Index != -1);
    setToolTip(FileName);
}

void TSymbolImgPanel::UpdatePanel(TStringPairs &Data, QString &MainImage)
{
    // A text that changes here re-enters through OnUpdate, which finishes on the stable text
    // before this call goes on.
    const std::optional<qint32> number = TryStrToInt(Value->text());
    Value->setText(number ? IntToStr(*number) : QStringLiteral("0"));

    Value->setVisible(ValueType->currentIndex() == vtValue);

    switch (ValueType->currentIndex()) {
    case vtAlarm:
        Data.Name = QStringLiteral("Alarm");
        break;
    case vtMO_Off:
        Data.Name = QStringLiteral("MO_Off");
        break;
    case vtMO:
        Data.Name = QStringLiteral("MO");
        break;
    case vtValue:
        Data.Name = Value->text();
        break;
    default: {
        // This tile's image becomes the main image, and the pair takes over the former one.
        Data.Name = QStringLiteral("Default");
        ValueType->setEnabled(false);
        const QString oldMainImage = MainImage;
        MainImage = Data.Value;
        // Swapped even when no main tile is in the strip, so the former main image is never
        // dropped from the symbol.
        Data.Value = oldMainImage;
        const QList<TSymbolImgPanel *> tiles =
            parentWidget() ? parentWidget()->findChildren<TSymbolImgPanel *>(
                                 QString(), Qt::FindDirectChildrenOnly)
                           : QList<TSymbolImgPanel *>();
        for (TSymbolImgPanel *tile : tiles) {
            if (tile == this || tile->ValueType->currentIndex() != vtDefault)
                continue;
            tile->Value->setVisible(true);
            tile->ValueType->setEnabled(true);
            tile->ValueType->setCurrentIndex(vtValue);
            tile->ImageIndex = ImageIndex;
        }
        ImageIndex = -1;
        break;
    }
    }

    SortAndSpace();
}

void TSymbolImgPanel::SortAndSpace()
{
    QWidget *strip = parentWidget();
    QList<TSymbolImgPanel *> tiles =
        strip ? strip->findChildren<TSymbolImgPanel *>(QString(), Qt::FindDirectChildrenOnly)
              : QList<TSymbolImgPanel *>{this};
    std::sort(tiles.begin(), tiles.end(), [](const TSymbolImgPanel *A, const TSymbolImgPanel *B) {
        return CompareTiles(A, B) < 0;
    });

    int right = 0;
    int stateNumber = 0;
    for (qsizetype i = 0; i < tiles.size(); ++i) {
        TSymbolImgPanel *tile = tiles.at(i);
        // Named by place, as the user sees the strip; a tile's role changes with its type.
        tile->setAccessibleName(tile->ImageIndex < 0 ? tr("Main image")
                                                     : tr("State image %1").arg(++stateNumber));
        tile->setVisible(true);
        tile->move(TileSpacing + int(i) * (tile->width() + TileSpacing), tile->y());
        right = std::max(right, tile->x() + tile->width());
    }
    // A scroll area around the strip scrolls when the tiles are wider than it.
    if (strip)
        strip->setMinimumWidth(right + TileSpacing);
}

void TSymbolImgPanel::SetHeight(int Height)
{
    resize(width(), Height);
}

void TSymbolImgPanel::OnSymbolClick(QObject *)
{
    if (ClickProc && Mark->isHidden()) {
        Mark->setVisible(true);
        ClickProc(this);
    }
}

void TSymbolImgPanel::OnSymbolDblClick(QObject *)
{
    if (DblClickProc)
        DblClickProc(this);
}

void TSymbolImgPanel::OnUpdate(QObject *Sender)
{
    if (UpdateProc)
        UpdateProc(this);
    OnSymbolClick(Sender);
}

void TSymbolImgPanel::Resezise(QObject *)
{
    if (Mark)
        Mark->resize(Mark->width(), height() - 2);
}

int TSymbolImgPanel::CompareTiles(const TSymbolImgPanel *A, const TSymbolImgPanel *B)
{
    // The main image first, then by value type (none before "Value"), then by value.
    const int typeA = A->ValueType->currentIndex();
    const int typeB = B->ValueType->currentIndex();
    if ((typeA == vtDefault) != (typeB == vtDefault))
        return typeA == vtDefault ? -1 : 1;
    if (typeA != vtDefault && typeB != vtDefault && typeA != typeB)
        return typeA < typeB ? -1 : 1;
    const qint32 valueA = A->ValueNumber();
    const qint32 valueB = B->ValueNumber();
    return valueA < valueB ? -1 : (valueA > valueB ? 1 : 0);
}

qint32 TSymbolImgPanel::ValueNumber() const
{
    return TryStrToInt(Value->text()).value_or(0);
}

bool TSymbolImgPanel::HandleMouse(QWidget *Sender, QMouseEvent *Event)
{
    if (Event->button() != Qt::LeftButton)
        return false;
    switch (Event->type()) {
    case QEvent::MouseButtonPress:
        FClickPressed = true;
        return true;
    case QEvent::MouseButtonDblClick:
        // The release that ends a double click is no further click.
        FClickPressed = false;
        OnSymbolDblClick(Sender);
        return true;
    case QEvent::MouseButtonRelease: {
        const bool clicked = FClickPressed && Sender->rect().contains(Event->position().toPoint());
        FClickPressed = false;
        if (clicked)
            OnSymbolClick(Sender);
        return true;
    }
    default:
        return false;
    }
}

bool TSymbolImgPanel::eventFilter(QObject *Watched, QEvent *Event)
{
    if (Watched == Image) {
        switch (Event->type()) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
            // Handled here, so the picture's ignored press does not reach the tile as well.
            return HandleMouse(Image, static_cast<QMouseEvent *>(Event));
        default:
            break;
        }
    }
    return QFrame::eventFilter(Watched, Event);
}

void TSymbolImgPanel::mousePressEvent(QMouseEvent *Event)
{
    if (!HandleMouse(this, Event))
        QFrame::mousePressEvent(Event);
}

void TSymbolImgPanel::mouseReleaseEvent(QMouseEvent *Event)
{
    if (!HandleMouse(this, Event))
        QFrame::mouseReleaseEvent(Event);
}

void TSymbolImgPanel::mouseDoubleClickEvent(QMouseEvent *Event)
{
    if (!HandleMouse(this, Event))
        QFrame::mouseDoubleClickEvent(Event);
}

void TSymbolImgPanel::keyPressEvent(QKeyEvent *Event)
{
    switch (Event->key()) {
    case Qt::Key_Space:
        OnSymbolClick(this);
        break;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        OnSymbolClick(this);
        OnSymbolDblClick(this);
        break;
    default:
        QFrame::keyPressEvent(Event);
    }
}

void TSymbolImgPanel::paintEvent(QPaintEvent *Event)
{
    QFrame::paintEvent(Event);
    if (!hasFocus())
        return;
    // The yellow mark already outlines the shown tile; the focus frame sits just inside it.
    QPainter painter(this);
    QStyleOptionFocusRect option;
    option.initFrom(this);
    option.rect = rect().adjusted(3, 3, -3, -3);
    option.backgroundColor = palette().color(QPalette::Window);
    style()->drawPrimitive(QStyle::PE_FrameFocusRect, &option, &painter, this);
}

void TSymbolImgPanel::resizeEvent(QResizeEvent *Event)
{
    QFrame::resizeEvent(Event);
    Resezise(this);
}
