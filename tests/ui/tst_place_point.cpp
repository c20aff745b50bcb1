// Place Point: Ctrl+1 to Ctrl+9 put the point chosen by the radio buttons on the spots of the
// picture laid out like the numeric keypad, through the point fields.
#include "WindowFixture.h"

#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QRadioButton>

class TestPlacePoint : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void nineSpots_data();
    void nineSpots();
    void textPointFollowsTheRadioButtons();
    void keypadDigitsWorkToo();
    void refusedWithoutAPicture();

private:
    std::unique_ptr<TWindowFixture> f;
    TMainForm *w = nullptr;

    /// A symbol whose main picture is 7 x 4 pixels, selected by clicking its row.
    void selectSymbolOf7x4();
    QPoint anchor() const { return {w->SelectedSymbol()->ImageX, w->SelectedSymbol()->ImageY}; }
};

void TestPlacePoint::init()
{
    f = std::make_unique<TWindowFixture>();
    w = &f->CreateActive();
}

void TestPlacePoint::selectSymbolOf7x4()
{
    auto symbol = MakeSymbol(u"Pump"_s, {{u"en"_s, u"Pump"_s}});
    symbol->Image = f->WritePicture(u"pump.png"_s, QSize(7, 4));
    symbol->ImageX = 30;
    symbol->ImageY = 40;
    AddSymbols(*w, {symbol});
    clickRow(*w, u"Pump"_s);
    QCOMPARE(w->SelectedSymbol(), symbol);
    Named<TSymbolListPanel>(*w, "dLV_Symbols")->setFocus();
}

void TestPlacePoint::nineSpots_data()
{
    QTest::addColumn<Qt::Key>("digit");
    QTest::addColumn<QPoint>("spot");
    // A 7 x 4 picture: the middle of the odd width rounds down, the ends are the last pixels.
    QTest::newRow("Ctrl+7 top left") << Qt::Key_7 << QPoint(0, 0);
    QTest::newRow("Ctrl+8 top center") << Qt::Key_8 << QPoint(3, 0);
    QTest::newRow("Ctrl+9 top right") << Qt::Key_9 << QPoint(6, 0);
    QTest::newRow("Ctrl+4 middle left") << Qt::Key_4 << QPoint(0, 2);
    QTest::newRow("Ctrl+5 center") << Qt::Key_5 << QPoint(3, 2);
    QTest::newRow("Ctrl+6 middle right") << Qt::Key_6 << QPoint(6, 2);
    QTest::newRow("Ctrl+1 bottom left") << Qt::Key_1 << QPoint(0, 3);
    QTest::newRow("Ctrl+2 bottom center") << Qt::Key_2 << QPoint(3, 3);
    QTest::newRow("Ctrl+3 bottom right") << Qt::Key_3 << QPoint(6, 3);
}

void TestPlacePoint::nineSpots()
{
    QFETCH(Qt::Key, digit);
    QFETCH(QPoint, spot);
    selectSymbolOf7x4();
    pressShortcut(*w, Qt::CTRL | digit);
    QCOMPARE(anchor(), spot);
    QCOMPARE(Named<QLineEdit>(*w, "eAnchorX")->text(), QString::number(spot.x()));
    QCOMPARE(Named<QLineEdit>(*w, "eAnchorY")->text(), QString::number(spot.y()));
    // The change handling placed the picture by the new anchor.
    QCOMPARE(Named<QLabel>(*w, "SymbolImage")->pos(),
             Named<TSymbolPreviewPanel>(*w, "ImageGrid")->pos() + QPoint(240, 180) - spot);
    QCOMPARE(w->SelectedSymbol()->TextX, 0);
}

void TestPlacePoint::textPointFollowsTheRadioButtons()
{
    selectSymbolOf7x4();
    QTest::mouseClick(Named<QRadioButton>(*w, "srbText"), Qt::LeftButton);
    // Typed into a field: the menu's shortcut still runs, and the field is rewritten.
    Named<QLineEdit>(*w, "eTextX")->setFocus();
    pressShortcut(*w, Qt::CTRL | Qt::Key_3);
    QCOMPARE(QPoint(w->SelectedSymbol()->TextX, w->SelectedSymbol()->TextY), QPoint(6, 3));
    QCOMPARE(Named<QLineEdit>(*w, "eTextX")->text(), u"6"_s);
    QCOMPARE(anchor(), QPoint(30, 40));
}

void TestPlacePoint::keypadDigitsWorkToo()
{
    selectSymbolOf7x4();
    QTest::keyClick(w, Qt::Key_9, Qt::ControlModifier | Qt::KeypadModifier);
    QCOMPARE(anchor(), QPoint(6, 0));
}

void TestPlacePoint::refusedWithoutAPicture()
{
    pressShortcut(*w, Qt::CTRL | Qt::Key_5);
    QCOMPARE(f->Dialogs.Beeps, 1);

    auto symbol = MakeSymbol(u"Lost"_s, {{u"en"_s, u"Lost"_s}});
    symbol->Image = f->Path(u"nowhere.png"_s);
    symbol->ImageX = 8;
    AddSymbols(*w, {symbol});
    clickRow(*w, u"Lost"_s);
    Named<TSymbolListPanel>(*w, "dLV_Symbols")->setFocus();
    pressShortcut(*w, Qt::CTRL | Qt::Key_5);
    QCOMPARE(f->Dialogs.Beeps, 2);
    QCOMPARE(symbol->ImageX, 8);
}

QTEST_MAIN(TestPlacePoint)
#include "tst_place_point.moc"
