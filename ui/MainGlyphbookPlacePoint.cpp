// Place Point: puts the point the radio buttons choose on one of nine spots of the selected
// symbol's picture, laid out like the numeric keypad. Like the arrow buttons, it only writes
// the point fields; their change handling stores the values and places the preview.
#include "ui/MainGlyphbook.h"

#include "model/ImagePath.h"

#include <QAction>
#include <QImageReader>
#include <QLineEdit>
#include <QMenu>
#include <QRadioButton>

namespace
{
/// A spot of the picture: its caption, the digit of its shortcut, and where it lies across
/// and down (0 start, 1 middle, 2 end).
struct TPointSpot {
    const char *Caption;
    Qt::Key Digit;
    int Across;
    int Down;
};

// Keypad order: 7 8 9 on top, 1 2 3 at the bottom.
constexpr TPointSpot kSpots[] = {
    {"Top Left", Qt::Key_7, 0, 0},     {"Top Center", Qt::Key_8, 1, 0},
    {"Top Right", Qt::Key_9, 2, 0},    {"Middle Left", Qt::Key_4, 0, 1},
    {"Center", Qt::Key_5, 1, 1},       {"Middle Right", Qt::Key_6, 2, 1},
    {"Bottom Left", Qt::Key_1, 0, 2},  {"Bottom Center", Qt::Key_2, 1, 2},
    {"Bottom Right", Qt::Key_3, 2, 2},
};

/// The picture pixel at Place (0, 1, 2) along a side Length pixels long; the middle of an odd
/// length rounds down.
int spotOnSide(int Place, int Length)
{
    switch (Place) {
    case 0:
        return 0;
    case 1:
        return Length / 2;
    default:
        return Length - 1;
    }
}
} // namespace

void TMainForm::CreatePlacePointMenu()
{
    mmSymbol->addSeparator();
    mmPlacePoint = mmSymbol->addMenu(QStringLiteral("Place Point"));
    mmPlacePoint->setObjectName(QStringLiteral("mmPlacePoint"));
    for (const TPointSpot &spot : kSpots) {
        QAction *item = mmPlacePoint->addAction(QLatin1String(spot.Caption));
        item->setShortcut(QKeySequence(Qt::CTRL | spot.Digit));
        const int across = spot.Across;
        const int down = spot.Down;
        connect(item, &QAction::triggered, this,
                [this, across, down] { Guard([&] { PlacePoint(across, down); }); });
        miPlacePoints.append(item);
    }
}

QSize TMainForm::MainPictureSize(const TViraSymbol &Symbol) const
{
    // All images of a symbol share its points; the main image is the one they are set on.
    return QImageReader(ResolveImagePath(Symbol.Image, ProjectFile())).size();
}

void TMainForm::PlacePoint(int Across, int Down)
{
    const QSize size = SelectedSymbol() ? MainPictureSize(*SelectedSymbol()) : QSize();
    if (size.isEmpty()) {
        FDialogs.Beep();
        return;
    }
    const TStepScope step(*this, QStringLiteral("Place Point"));
    const QString x = QString::number(spotOnSide(Across, size.width()));
    const QString y = QString::number(spotOnSide(Down, size.height()));
    if (srbText->isChecked()) {
        eTextX->setText(x);
        eTextY->setText(y);
    } else {
        eAnchorX->setText(x);
        eAnchorY->setText(y);
    }
}
