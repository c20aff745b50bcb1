// The whole journey of a library: built from picture files of every kind in an empty window,
// saved, packed, extracted into another folder after a new start, and opened again, with
// every symbol, name, point and state image found again inside the library folder.
#include "TestPictures.h"
#include "WindowFixture.h"

#include "ui/SymbolImgPanels.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMovie>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QToolButton>

class TestJourney : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void fromPicturesToAnExtractedProject();
};

namespace
{
/// The size a picture element shows: its still picture or its animation's frame.
QSize shownSize(const QLabel *Picture)
{
    if (Picture->movie())
        return Picture->movie()->currentPixmap().size();
    return Picture->pixmap().size();
}
} // namespace

void TestJourney::initTestCase()
{
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
}

void TestJourney::fromPicturesToAnExtractedProject()
{
    TWindowFixture f;
    // One picture file of each kind the editor reads, with names that packing must encode.
    struct TPicture {
        QString Name;
        QSize Size;
    };
    const QList<TPicture> pictures = {
        {u"pump.png"_s, QSize(30, 20)},      {u"pump on.png"_s, QSize(30, 21)},
        {u"valve.jpg"_s, QSize(20, 16)},     {u"valve+open.jpeg"_s, QSize(20, 17)},
        {u"tank.bmp"_s, QSize(16, 24)},      {u"beacon.gif"_s, QSize(1, 1)},
        {u"beacon_alarm.gif"_s, QSize(1, 1)}};
    QMap<QString, QString> path;
    for (const TPicture &picture : pictures) {
        path[picture.Name] = f.Path(u"pictures/"_s + picture.Name);
        if (picture.Name.endsWith(u".gif"_s)) {
            f.WriteFile(u"pictures/"_s + picture.Name, twoFrameGif());
            continue;
        }
        QImage image(picture.Size, QImage::Format_RGB32);
        image.fill(QColor(picture.Size.width() * 8, picture.Size.height() * 8, 90));
        QDir().mkpath(f.Path(u"pictures"_s));
        QVERIFY(image.save(path[picture.Name]));
    }

    TMainForm &w = f.Create();
    w.show();
    QVERIFY(QTest::qWaitForWindowActive(&w));
    QCOMPARE(Named<TSymbolListPanel>(w, "dLV_Symbols")->topLevelItemCount(), 0);

    // The pump (PNG): points by Shift-clicks, two state images, a PNG and a GIF for "Alarm".
    Named<TSymbolListPanel>(w, "dLV_Symbols")->setFocus();
    f.Dialogs.FileAnswers = {path[u"pump.png"_s], path[u"pump on.png"_s],
                             path[u"beacon_alarm.gif"_s]};
    pressShortcut(w, Qt::CTRL | Qt::Key_A);
    retype(Named<QLineEdit>(w, "eIdentifier"), u"pump"_s);
    retype(Named<TSymbolSettingsPanel>(w, "gbSettings")->NameEdits[0], u"Pump"_s);
    retype(Named<TSymbolSettingsPanel>(w, "gbSettings")->NameEdits[1], u"Pumpen"_s);
    QTest::mouseClick(Named<QLabel>(w, "SymbolImage"), Qt::LeftButton, Qt::ShiftModifier,
                      QPoint(15, 10));
    // 5 right of and 20 below the grid origin at (240, 180), with the anchor at (15, 10).
    QTest::mouseClick(Named<TSymbolPreviewPanel>(w, "ImageGrid"), Qt::RightButton,
                      Qt::ShiftModifier, QPoint(245, 200));
    Named<QComboBox>(w, "cbTextAlign")->setCompleter(nullptr);
    retype(Named<QComboBox>(w, "cbTextAlign")->lineEdit(), u"Center"_s);
    QTest::mouseClick(Named<QPushButton>(w, "bAddImage"), Qt::LeftButton);
    QTest::mouseClick(Named<QPushButton>(w, "bAddImage"), Qt::LeftButton);
    // Value, then Alarm: one step down the value type list.
    QCOMPARE(tileOf(w, 1)->ValueType->currentIndex(), int(TSymbolImgPanel::vtValue));
    QTest::keyClick(tileOf(w, 1)->ValueType, Qt::Key_Down);

    // The valve (JPEG): the picture dragged, nudged, a state image with the value 2.
    f.Dialogs.FileAnswers = {path[u"valve.jpg"_s], path[u"valve+open.jpeg"_s]};
    Named<QAction>(w, "miNewSymbol")->trigger();
    retype(Named<QLineEdit>(w, "eIdentifier"), u"valve"_s);
    QTest::mousePress(Named<QLabel>(w, "SymbolImage"), Qt::LeftButton, {}, QPoint(10, 10));
    QTest::mouseMove(Named<QLabel>(w, "SymbolImage"), QPoint(13, 8));
    QTest::mouseRelease(Named<QLabel>(w, "SymbolImage"), Qt::LeftButton, {}, QPoint(13, 8));
    QTest::mouseClick(Named<QToolButton>(w, "sbbUp"), Qt::LeftButton);
    QTest::mouseClick(Named<QRadioButton>(w, "srbText"), Qt::LeftButton);
    QTest::mouseClick(Named<QToolButton>(w, "sbbRight"), Qt::LeftButton);
    QTest::mouseClick(Named<QToolButton>(w, "sbbRight"), Qt::LeftButton);
    QTest::mouseClick(Named<QPushButton>(w, "bAddImage"), Qt::LeftButton);
    retype(tileOf(w, 0)->Value, u"2"_s);
    retype(Named<TSymbolSettingsPanel>(w, "gbSettings")->NameEdits[0], u"Valve"_s);

    // The tank (BMP): points typed, no state images.
    f.Dialogs.FileAnswers = {path[u"tank.bmp"_s]};
    Named<QAction>(w, "miNewSymbol")->trigger();
    retype(Named<QLineEdit>(w, "eIdentifier"), u"tank"_s);
    retype(Named<QLineEdit>(w, "eAnchorX"), u"8"_s);
    retype(Named<QLineEdit>(w, "eAnchorY"), u"-12"_s);
    retype(Named<QLineEdit>(w, "eTextX"), u"0"_s);
    retype(Named<QLineEdit>(w, "eTextY"), u"30"_s);
    retype(Named<TSymbolSettingsPanel>(w, "gbSettings")->NameEdits[1], u"Tanken"_s);

    // The beacon (GIF): a state image for "MO".
    f.Dialogs.FileAnswers = {path[u"beacon.gif"_s], path[u"pump.png"_s]};
    Named<QAction>(w, "miNewSymbol")->trigger();
    retype(Named<QLineEdit>(w, "eIdentifier"), u"beacon"_s);
    QTest::mouseClick(Named<QPushButton>(w, "bAddImage"), Qt::LeftButton);
    for (int step = 0; step < 3; ++step)
        QTest::keyClick(tileOf(w, 0)->ValueType, Qt::Key_Down);

    QVERIFY2(f.Dialogs.Errors.isEmpty(), qPrintable(f.Dialogs.Errors.join(u'\n')));
    QCOMPARE(f.Dialogs.Beeps, 0);
    QVERIFY(f.Dialogs.FileAnswers.isEmpty());
    const QByteArray built = SavedBytes(w);

    // Saved, packed beside the project under the proposed name, and a new start.
    QDir().mkpath(f.Path(u"project"_s));
    f.Dialogs.FileAnswers = {f.Path(u"project/lib.js"_s), u""_s};
    pressShortcut(w, Qt::CTRL | Qt::Key_S);
    pressShortcut(w, Qt::CTRL | Qt::Key_P);
    const QString packed = f.Path(u"project/lib.tar.gz"_s);
    QVERIFY(QFileInfo(packed).isFile());
    QVERIFY(f.Dialogs.ErrorCancels.isEmpty());
    Named<QAction>(w, "miNewProject")->trigger();
    QCOMPARE(Named<TSymbolListPanel>(w, "dLV_Symbols")->topLevelItemCount(), 0);

    // The archive elsewhere, extracted there and opened.
    QDir().mkpath(f.Path(u"elsewhere"_s));
    const QString archive = f.Path(u"elsewhere/lib.tar.gz"_s);
    QVERIFY(QFile::copy(packed, archive));
    f.Dialogs.FileAnswers = {archive, f.Path(u"elsewhere/lib.js"_s)};
    Named<QAction>(w, "miOpenLib")->trigger();
    QCOMPARE(w.sSaveDialog1.FileName, u"lib.js"_s);
    pressShortcut(w, Qt::CTRL | Qt::Key_O);
    QVERIFY2(f.Dialogs.Errors.isEmpty(), qPrintable(f.Dialogs.Errors.join(u'\n')));
    QVERIFY(f.Dialogs.QuestionOks.isEmpty());
    QCOMPARE(RowTexts(w), Strings({"beacon|beacon.gif|beacon.gif", "pump|Pump|Pumpen",
                                   "tank|tank.bmp|Tanken", "valve|Valve|valve.jpg"}));

    // Everything again, only with the pictures in the library folder under encoded names.
    const QString library = f.Path(u"elsewhere/lib/"_s);
    QByteArray expected = built;
    for (const TPicture &picture : pictures) {
        const QString stored =
            library + QString(picture.Name).replace(u' ', u"%20"_s).replace(u'+', u"%2B"_s);
        expected.replace(path[picture.Name].toUtf8(), stored.toUtf8());
        if (!QFileInfo::exists(stored))
            continue; // a picture the library does not use
        QCOMPARE(readFile(stored), readFile(path[picture.Name]));
    }
    QCOMPARE(QString::fromUtf8(SavedBytes(w)), QString::fromUtf8(expected));
    const TViraSymbol &pump = *w.Document().Symbols()[0];
    QCOMPARE(pump.StateImages.size(), 2);
    QCOMPARE(pump.StateImages[1].Name, u"Alarm"_s);
    QCOMPARE(pump.StateImages[1].Value, library + u"beacon_alarm.gif"_s);
    QCOMPARE((QList<qint32>{pump.ImageX, pump.ImageY, pump.TextX, pump.TextY}),
             (QList<qint32>{15, 10, 20, 30}));
    QCOMPARE(pump.TextAlign, vstaCenter);
    QCOMPARE(w.Document().Symbols()[1]->StateImages[0].Value, library + u"valve%2Bopen.jpeg"_s);

    // Each symbol shows in the preview and the strip, from the library folder.
    const QList<std::pair<QString, QList<QSize>>> shown = {
        {u"pump"_s, {QSize(30, 20), QSize(30, 21), QSize(1, 1)}},
        {u"valve"_s, {QSize(20, 16), QSize(20, 17)}},
        {u"tank"_s, {QSize(16, 24)}},
        {u"beacon"_s, {QSize(1, 1), QSize(30, 20)}}};
    for (const auto &[identifier, sizes] : shown) {
        clickRow(w, identifier);
        QCOMPARE(shownSize(Named<QLabel>(w, "SymbolImage")), sizes[0]);
        QCOMPARE(IconIndex(w, rowOf(w, identifier)) == 3, false);
        QCOMPARE(tilesOf(w).size(), sizes.size());
        for (int index = -1; index + 1 < sizes.size(); ++index) {
            const TSymbolImgPanel *tile = tileOf(w, index);
            QVERIFY(tile);
            QVERIFY2(tile->FileName.startsWith(library), qPrintable(tile->FileName));
            QCOMPARE(shownSize(tile->Image), sizes[index + 1]);
        }
    }
}

QTEST_MAIN(TestJourney)
#include "tst_journey.moc"
