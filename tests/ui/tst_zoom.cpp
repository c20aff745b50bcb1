// Zoom: the preview magnified in whole steps about the grid origin, every picture pixel an
// exact square, and the mouse placing points on the picture pixel under the pointer.
#include "WindowFixture.h"

#include "ui/PreviewMagnifier.h"

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QScreen>
#include <QToolButton>
#include <QWheelEvent>

class TestZoom : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void commandsStepWithinTheirBounds();
    void ctrlWheelOverThePreview();
    void magnifiesTheActualSizeViewExactly_data();
    void magnifiesTheActualSizeViewExactly();
    void shiftReleaseTakesThePixelUnderThePointer_data();
    void shiftReleaseTakesThePixelUnderThePointer();
    void dragMovesByWholePicturePixels();
    void followsChangesOfThePreview();
    void actualSizeIsThePreviewAsBefore();

private:
    std::unique_ptr<TWindowFixture> f;
    TMainForm *w = nullptr;
    TViraSymbolPtr symbol;

    /// The four by three picture of pictureColour(), anchored at (1, 1), selected.
    void selectPicture();
    /// The grid area as the window paints it.
    QImage shownPreview() const;
    /// The magnifier's area as it is on the screen now.
    QImage onScreenNow() const;
    /// Where picture pixel Pixel starts on the magnifier at Zoom.
    QPoint onScreen(QPoint Pixel, int Zoom) const;
};

namespace
{
QColor pictureColour(int X, int Y)
{
    return QColor(40 + 60 * X, 50 + 60 * Y, 200);
}

void sendWheel(QWidget *Target, int Angle, Qt::KeyboardModifiers Modifiers)
{
    const QPointF at(10, 10);
    QWheelEvent wheel(at, Target->mapToGlobal(at), QPoint(), QPoint(0, Angle), Qt::NoButton,
                      Modifiers, Qt::NoScrollPhase, false);
    QApplication::sendEvent(Target, &wheel);
}

// The zoom caption in the magnifier's top-left corner.
const QRect kCaptionCorner(0, 0, 80, 30);
} // namespace

void TestZoom::init()
{
    f = std::make_unique<TWindowFixture>();
    w = &f->CreateActive();
}

void TestZoom::selectPicture()
{
    QImage picture(4, 3, QImage::Format_ARGB32);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 4; ++x)
            picture.setPixelColor(x, y, pictureColour(x, y));
    const QString file = f->Path(u"tiny.png"_s);
    QVERIFY(picture.save(file));
    symbol = MakeSymbol(u"Tiny"_s, {{u"en"_s, u"Tiny"_s}});
    symbol->Image = file;
    symbol->ImageX = 1;
    symbol->ImageY = 1;
    symbol->TextX = 2;
    symbol->TextY = 20;
    AddSymbols(*w, {symbol});
    clickRow(*w, u"Tiny"_s);
    QCOMPARE(w->SelectedSymbol(), symbol);
}

QImage TestZoom::shownPreview() const
{
    return Named<QWidget>(*w, "ClientArea")
        ->grab(Named<TSymbolPreviewPanel>(*w, "ImageGrid")->geometry())
        .toImage();
}

QImage TestZoom::onScreenNow() const
{
    const QPoint at = Named<TPreviewMagnifier>(*w, "PreviewZoom")->mapTo(w, QPoint());
    return w->screen()
        ->grabWindow(w->winId(), at.x(), at.y(),
                     Named<TPreviewMagnifier>(*w, "PreviewZoom")->width(),
                     Named<TPreviewMagnifier>(*w, "PreviewZoom")->height())
        .toImage();
}

QPoint TestZoom::onScreen(QPoint Pixel, int Zoom) const
{
    // The anchor pixel (1, 1) lies on the grid origin, which stays in place.
    return QPoint(240, 180) + (Pixel - QPoint(symbol->ImageX, symbol->ImageY)) * Zoom;
}

void TestZoom::commandsStepWithinTheirBounds()
{
    QCOMPARE(w->Zoom(), 1);
    QVERIFY(Named<TPreviewMagnifier>(*w, "PreviewZoom")->isHidden());
    QVERIFY(!Named<QAction>(*w, "miZoomOut")->isEnabled());
    QVERIFY(!Named<QAction>(*w, "miActualSize")->isEnabled());

    pressShortcut(*w, Qt::CTRL | Qt::Key_Equal);
    QCOMPARE(w->Zoom(), 2);
    QVERIFY(Named<TPreviewMagnifier>(*w, "PreviewZoom")->isVisible());
    QTest::keyClick(w, Qt::Key_Plus, Qt::ControlModifier);
    QCOMPARE(w->Zoom(), 3);
    pressShortcut(*w, Qt::CTRL | Qt::Key_Minus);
    QCOMPARE(w->Zoom(), 2);
    for (int k = 0; k < 10; ++k)
        Named<QAction>(*w, "miZoomIn")->trigger();
    QCOMPARE(w->Zoom(), 8);
    QVERIFY(!Named<QAction>(*w, "miZoomIn")->isEnabled());
    pressShortcut(*w, Qt::CTRL | Qt::Key_0);
    QCOMPARE(w->Zoom(), 1);
    QVERIFY(Named<TPreviewMagnifier>(*w, "PreviewZoom")->isHidden());
    QVERIFY(Named<QAction>(*w, "miZoomIn")->isEnabled());
}

void TestZoom::ctrlWheelOverThePreview()
{
    sendWheel(Named<TSymbolPreviewPanel>(*w, "ImageGrid"), 120, Qt::NoModifier);
    QCOMPARE(w->Zoom(), 1);
    sendWheel(Named<TSymbolPreviewPanel>(*w, "ImageGrid"), 120, Qt::ControlModifier);
    QCOMPARE(w->Zoom(), 2);
    // A fine-grained wheel zooms once its turns add up to a step.
    sendWheel(Named<TPreviewMagnifier>(*w, "PreviewZoom"), 60, Qt::ControlModifier);
    QCOMPARE(w->Zoom(), 2);
    sendWheel(Named<TPreviewMagnifier>(*w, "PreviewZoom"), 60, Qt::ControlModifier);
    QCOMPARE(w->Zoom(), 3);
    sendWheel(Named<TPreviewMagnifier>(*w, "PreviewZoom"), -240, Qt::ControlModifier);
    QCOMPARE(w->Zoom(), 1);
}

void TestZoom::magnifiesTheActualSizeViewExactly_data()
{
    QTest::addColumn<int>("zoom");
    QTest::newRow("200 %") << 2;
    QTest::newRow("300 %") << 3;
    QTest::newRow("400 %") << 4;
    QTest::newRow("800 %") << 8;
}

void TestZoom::magnifiesTheActualSizeViewExactly()
{
    QFETCH(int, zoom);
    selectPicture();
    Named<QCheckBox>(*w, "cbCross")->setChecked(true);
    Named<QCheckBox>(*w, "cbShowTextCross")->setChecked(true);
    const QImage actual = shownPreview();
    w->SetZoom(zoom);
    const QImage magnified = Named<TPreviewMagnifier>(*w, "PreviewZoom")->grab().toImage();
    QCOMPARE(magnified.size(), actual.size());

    // Every screen pixel shows the pixel of the actual size view that it covers.
    int differences = 0;
    for (int y = 0; y < magnified.height(); ++y)
        for (int x = 0; x < magnified.width(); ++x) {
            if (kCaptionCorner.contains(x, y))
                continue;
            const QPoint source = Named<TPreviewMagnifier>(*w, "PreviewZoom")->ScenePixelAt({x, y});
            if (magnified.pixel(x, y) != actual.pixel(source))
                ++differences;
        }
    QCOMPARE(differences, 0);

    // Each picture pixel is a zoom x zoom square, the anchor pixel on the grid origin.
    for (const QPoint pixel : {QPoint(0, 0), QPoint(1, 1), QPoint(3, 2)}) {
        const QRect square(onScreen(pixel, zoom), QSize(zoom, zoom));
        QCOMPARE(magnified.pixelColor(square.topLeft()), pictureColour(pixel.x(), pixel.y()));
        QCOMPARE(magnified.pixelColor(square.bottomRight()), pictureColour(pixel.x(), pixel.y()));
        QVERIFY(magnified.pixelColor(square.bottomRight() + QPoint(1, 1)) !=
                pictureColour(pixel.x(), pixel.y()));
    }
    // The grid keeps its rule in picture pixels: the black origin column is zoom pixels wide,
    // the next line is 10 picture pixels further.
    const int row = 180 - 5 * zoom;
    QCOMPARE(magnified.pixelColor(240, row), QColor(Qt::black));
    QCOMPARE(magnified.pixelColor(240 + zoom - 1, row), QColor(Qt::black));
    QCOMPARE(magnified.pixelColor(240 + zoom, row), QColor(Qt::white));
    QCOMPARE(magnified.pixelColor(240 + 10 * zoom, row), QColor(232, 232, 232));
}

void TestZoom::shiftReleaseTakesThePixelUnderThePointer_data()
{
    QTest::addColumn<int>("zoom");
    QTest::addColumn<Qt::MouseButton>("button");
    QTest::addColumn<QPoint>("at");
    QTest::addColumn<QPoint>("anchor");
    QTest::addColumn<QPoint>("textPoint");
    // Picture pixels start at onScreen(pixel); offsets within a square still mean that pixel.
    QTest::newRow("400 %, left on picture pixel (2, 0)")
        << 4 << Qt::LeftButton << QPoint(240 + 4 + 3, 180 - 4) << QPoint(2, 0) << QPoint(2, 20);
    QTest::newRow("800 %, left on picture pixel (0, 2)")
        << 8 << Qt::LeftButton << QPoint(240 - 8 + 4, 180 + 8 + 7) << QPoint(0, 2) << QPoint(2, 20);
    QTest::newRow("300 %, right on the grid 10 px right and below the origin")
        << 3 << Qt::RightButton << QPoint(240 + 30 + 2, 180 + 30 + 2) << QPoint(1, 1)
        << QPoint(11, 11);
    QTest::newRow("200 %, left on the grid left of and above the origin")
        << 2 << Qt::LeftButton << QPoint(240 - 20 + 1, 180 - 20 + 1) << QPoint(-9, -9)
        << QPoint(2, 20);
}

void TestZoom::shiftReleaseTakesThePixelUnderThePointer()
{
    QFETCH(int, zoom);
    QFETCH(Qt::MouseButton, button);
    QFETCH(QPoint, at);
    QFETCH(QPoint, anchor);
    QFETCH(QPoint, textPoint);
    selectPicture();
    w->SetZoom(zoom);
    QTest::mouseClick(Named<TPreviewMagnifier>(*w, "PreviewZoom"), button, Qt::ShiftModifier, at);
    QCOMPARE(QPoint(symbol->ImageX, symbol->ImageY), anchor);
    QCOMPARE(QPoint(symbol->TextX, symbol->TextY), textPoint);
    QCOMPARE(Named<QLineEdit>(*w, "eAnchorX")->text(), QString::number(anchor.x()));
}

void TestZoom::dragMovesByWholePicturePixels()
{
    selectPicture();
    w->SetZoom(4);
    QPoint at = onScreen({1, 1}, 4) + QPoint(2, 2);
    QTest::mousePress(Named<TPreviewMagnifier>(*w, "PreviewZoom"), Qt::LeftButton, {}, at);
    // Less than a picture pixel moves nothing.
    at += QPoint(1, 1);
    QTest::mouseMove(Named<TPreviewMagnifier>(*w, "PreviewZoom"), at);
    QCOMPARE(QPoint(symbol->ImageX, symbol->ImageY), QPoint(1, 1));
    // Two picture pixels right and one down: the picture follows, so the anchor falls.
    at += QPoint(8, 4);
    QTest::mouseMove(Named<TPreviewMagnifier>(*w, "PreviewZoom"), at);
    QCOMPARE(QPoint(symbol->ImageX, symbol->ImageY), QPoint(-1, 0));
    QTest::mouseRelease(Named<TPreviewMagnifier>(*w, "PreviewZoom"), Qt::LeftButton, {}, at);
    // The pointer is still over picture pixel (1, 1).
    QCOMPARE(Named<TPreviewMagnifier>(*w, "PreviewZoom")->ScenePixelAt(at) -
                 (Named<QLabel>(*w, "SymbolImage")->pos() -
                  Named<TSymbolPreviewPanel>(*w, "ImageGrid")->pos()),
             QPoint(1, 1));
}

void TestZoom::followsChangesOfThePreview()
{
    selectPicture();
    w->SetZoom(2);
    const QPoint square = onScreen({0, 0}, 2);
    QTRY_COMPARE(onScreenNow().pixelColor(square), pictureColour(0, 0));
    // The arrow button moves the picture one pixel right; the screen follows unasked.
    QTest::mouseClick(Named<QToolButton>(*w, "sbbRight"), Qt::LeftButton);
    QTRY_COMPARE(onScreenNow().pixelColor(square + QPoint(2, 0)), pictureColour(0, 0));
}

void TestZoom::actualSizeIsThePreviewAsBefore()
{
    selectPicture();
    const QImage before = shownPreview();
    w->SetZoom(5);
    pressShortcut(*w, Qt::CTRL | Qt::Key_0);
    QVERIFY(Named<TPreviewMagnifier>(*w, "PreviewZoom")->isHidden());
    QCOMPARE(shownPreview(), before);
    QTest::mouseClick(Named<QLabel>(*w, "SymbolImage"), Qt::LeftButton, Qt::ShiftModifier,
                      QPoint(3, 2));
    QCOMPARE(QPoint(symbol->ImageX, symbol->ImageY), QPoint(3, 2));
}

QTEST_MAIN(TestZoom)
#include "tst_zoom.moc"
