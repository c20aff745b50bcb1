// A whole session with mouse and keyboard: three symbols from picture files, their state
// images, points placed in the preview, names and alignment typed, a copy made and deleted,
// and the library saved, compared with the document those edits must give.
#include "WindowFixture.h"

#include "ui/SymbolImgPanels.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QToolButton>

class TestLibrarySession : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void buildAndSaveALibrary();
};

void TestLibrarySession::initTestCase()
{
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
}

void TestLibrarySession::buildAndSaveALibrary()
{
    TWindowFixture f;
    const QString pump = f.WritePicture(u"pics/pump.png"_s, QSize(30, 20));
    const QString pumpOn = f.WritePicture(u"pics/pump_on.png"_s, QSize(30, 20), Qt::green);
    const QString pumpAlarm = f.WritePicture(u"pics/pump_alarm.png"_s, QSize(30, 20), Qt::blue);
    const QString valve = f.WritePicture(u"pics/valve.png"_s, QSize(20, 20));
    const QString valveOpen = f.WritePicture(u"pics/valve_open.png"_s, QSize(20, 20), Qt::green);
    const QString tank = f.WritePicture(u"pics/tank.png"_s, QSize(16, 24));
    const QString tankLow = f.WritePicture(u"pics/tank_low.png"_s, QSize(16, 24), Qt::yellow);
    const QString tankHigh = f.WritePicture(u"pics/tank_high.png"_s, QSize(16, 24), Qt::cyan);
    const QString saved = f.Path(u"lib.js"_s);

    TMainForm &w = f.Create();
    w.show();
    QVERIFY(QTest::qWaitForWindowActive(&w));

    // The pump: Add New Symbol from the keyboard, two state images, points by Shift-clicks.
    Named<TSymbolListPanel>(w, "dLV_Symbols")->setFocus();
    f.Dialogs.FileAnswers = {pump, pumpOn, pumpAlarm};
    pressShortcut(w, Qt::CTRL | Qt::Key_A);
    QCOMPARE(w.Document().Symbols().size(), 1);
    QTest::mouseClick(Named<QPushButton>(w, "bAddImage"), Qt::LeftButton);
    QTest::mouseClick(Named<QPushButton>(w, "bAddImage"), Qt::LeftButton);
    retype(tileOf(w, 1)->Value, u"2"_s);
    QTest::mouseClick(Named<QLabel>(w, "SymbolImage"), Qt::LeftButton, Qt::ShiftModifier,
                      QPoint(15, 10));
    // The grid origin is at (240, 180) of the grid: 5 right and 20 below it, in picture
    // coordinates of the pump anchored at (15, 10).
    QTest::mouseClick(Named<TSymbolPreviewPanel>(w, "ImageGrid"), Qt::RightButton,
                      Qt::ShiftModifier, QPoint(245, 200));
    retype(Named<TSymbolSettingsPanel>(w, "gbSettings")->NameEdits[0], u"Pump"_s);
    retype(Named<TSymbolSettingsPanel>(w, "gbSettings")->NameEdits[1], u"Pump-sv"_s);
    Named<QComboBox>(w, "cbTextAlign")->setCompleter(nullptr);
    retype(Named<QComboBox>(w, "cbTextAlign")->lineEdit(), u"Center"_s);
    QCOMPARE(Named<QLabel>(w, "SymbolImage")->pos(), QPoint(448 + 240 - 15, 207 + 180 - 10));

    // The valve: a double click in the list, a new identifier, a state image, the picture
    // dragged and nudged with an arrow button.
    f.Dialogs.FileAnswers = {valve, valveOpen};
    QTest::mouseDClick(Named<TSymbolListPanel>(w, "dLV_Symbols")->viewport(), Qt::LeftButton, {},
                       QPoint(100, 300));
    QCOMPARE(w.Document().Symbols().size(), 2);
    retype(Named<QLineEdit>(w, "eIdentifier"), u"valve"_s);
    QTest::mouseClick(Named<QPushButton>(w, "bAddImage"), Qt::LeftButton);
    QTest::mousePress(Named<QLabel>(w, "SymbolImage"), Qt::LeftButton, {}, QPoint(10, 10));
    QTest::mouseMove(Named<QLabel>(w, "SymbolImage"), QPoint(13, 8));
    QTest::mouseRelease(Named<QLabel>(w, "SymbolImage"), Qt::LeftButton, {}, QPoint(10, 10));
    QTest::mouseClick(Named<QToolButton>(w, "sbbUp"), Qt::LeftButton);

    // The tank: dropped on the list, two state images dropped on the strip, the first deleted.
    dropFiles(Named<TSymbolListPanel>(w, "dLV_Symbols")->viewport(), {tank});
    QCOMPARE(w.Document().Symbols().size(), 3);
    dropFiles(Named<TImageStripPanel>(w, "sbImagesScrollBox")->viewport(), {tankLow, tankHigh});
    QTest::mouseClick(tileOf(w, 0)->Image, Qt::LeftButton, {}, QPoint(5, 5));
    QTest::mouseClick(Named<QPushButton>(w, "bDeleteImage"), Qt::LeftButton);
    retype(Named<TSymbolSettingsPanel>(w, "gbSettings")->NameEdits[1], u"Tank"_s);

    // A copy made and deleted again from the keyboard.
    Named<TSymbolListPanel>(w, "dLV_Symbols")->setFocus();
    pressShortcut(w, Qt::CTRL | Qt::Key_D);
    QCOMPARE(w.Document().Symbols().size(), 4);
    QTest::keyClick(Named<TSymbolListPanel>(w, "dLV_Symbols"), Qt::Key_Delete);
    QCOMPARE(w.Document().Symbols().size(), 3);

    f.Dialogs.FileAnswers = {saved};
    pressShortcut(w, Qt::CTRL | Qt::Key_S);
    QVERIFY(f.Dialogs.FileAnswers.isEmpty());
    QVERIFY2(f.Dialogs.Errors.isEmpty(), qPrintable(f.Dialogs.Errors.join(u'\n')));
    QCOMPARE(f.Dialogs.Beeps, 0);
    QCOMPARE(RowTexts(w), Strings({"pump.png|Pump|Pump-sv", "tank.png|tank.png|Tank",
                                   "valve|valve.png|valve.png"}));

    TViraGlyphbook expected;
    const auto add = [&expected](const QString &Identifier, const QString &Image,
                                 QList<TStringPairs> Names, QList<qint32> Points,
                                 TVSTextAlign Align, QList<TStringPairs> States) {
        auto symbol = std::make_shared<TViraSymbol>();
        symbol->Identifier = Identifier;
        symbol->Image = Image;
        symbol->Names = std::move(Names);
        symbol->Symbol = true;
        symbol->ImageX = Points[0];
        symbol->ImageY = Points[1];
        symbol->TextX = Points[2];
        symbol->TextY = Points[3];
        symbol->TextAlign = Align;
        symbol->StateImages = std::move(States);
        expected.Symbols.append(symbol);
    };
    add(u"pump.png"_s, pump, {{u"en"_s, u"Pump"_s}, {u"sv"_s, u"Pump-sv"_s}}, {15, 10, 20, 30},
        vstaCenter, {{u"1"_s, pumpOn}, {u"2"_s, pumpAlarm}});
    add(u"valve"_s, valve, {{u"en"_s, u"valve.png"_s}, {u"sv"_s, u"valve.png"_s}}, {-3, 3, 0, 0},
        vstaRight, {{u"1"_s, valveOpen}});
    add(u"tank.png"_s, tank, {{u"en"_s, u"tank.png"_s}, {u"sv"_s, u"Tank"_s}}, {0, 0, 0, 0},
        vstaRight, {{u"1"_s, tankHigh}});

    QFile file(saved);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray document = file.readAll();
    QCOMPARE(QString::fromUtf8(document), QString::fromUtf8(expected.SaveToBytes()));
}

QTEST_MAIN(TestLibrarySession)
#include "tst_library_session.moc"
