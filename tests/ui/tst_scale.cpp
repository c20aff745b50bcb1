// The window on a screen of twice the density (run with QT_SCALE_FACTOR=2): the same layout at
// twice the size, the grid's one-pixel lines drawn as whole device pixels, and a click that
// lands on the exact picture pixel.
#include "WindowFixture.h"

#include <QLabel>

class TestScale : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void sameLayoutAtTwiceTheSize();
    void gridLinesStaySharp();
    void clickLandsOnThePicturePixel();

private:
    std::unique_ptr<TWindowFixture> f;
    TMainForm *w = nullptr;
};

void TestScale::init()
{
    f = std::make_unique<TWindowFixture>();
    w = &f->CreateActive();
}

void TestScale::sameLayoutAtTwiceTheSize()
{
    QCOMPARE(w->devicePixelRatio(), 2.0);
    QCOMPARE(Named<QWidget>(*w, "ImageGrid")->geometry(), QRect(448, 207, 641, 421));
    QCOMPARE(Named<QWidget>(*w, "gbSettings")->geometry(), QRect(423, 1, 680, 200));
    QCOMPARE(w->centralWidget()->size(), QSize(1111, 786));
    const QImage shown = Named<QWidget>(*w, "ImageGrid")->grab().toImage();
    QCOMPARE(shown.size(), QSize(1282, 842));
}

void TestScale::gridLinesStaySharp()
{
    const QImage grid(u":/glyphbook/grid.bmp"_s);
    const QImage shown = Named<QWidget>(*w, "ImageGrid")->grab().toImage();
    int blurred = 0;
    for (int y = 0; y < grid.height(); ++y)
        for (int x = 0; x < grid.width(); ++x) {
            const QRgb source = grid.pixel(x, y);
            for (int dy = 0; dy < 2; ++dy)
                for (int dx = 0; dx < 2; ++dx)
                    blurred += shown.pixel(2 * x + dx, 2 * y + dy) != source;
        }
    QCOMPARE(blurred, 0);
}

void TestScale::clickLandsOnThePicturePixel()
{
    auto symbol = MakeSymbol(u"pump"_s, {});
    symbol->Image = f->WritePicture(u"pump.png"_s, QSize(12, 12));
    AddSymbols(*w, {symbol});
    clickRow(*w, u"pump"_s);
    QTest::mouseClick(Named<QLabel>(*w, "SymbolImage"), Qt::LeftButton, Qt::ShiftModifier,
                      QPoint(3, 7));
    QCOMPARE(symbol->ImageX, 3);
    QCOMPARE(symbol->ImageY, 7);
}

QTEST_MAIN(TestScale)
#include "tst_scale.moc"
