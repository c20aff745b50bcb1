// Locate Missing Images: missing image files are relinked to files of the same name found in a
// chosen folder or below it, with a report of what was found and what is still missing.
#include "WindowFixture.h"

#include <QLabel>

class TestLocateMissing : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void relinksByFileName();
    void nothingMissingAsksForNoFolder();
    void cancelledFolderChangesNothing();
};

void TestLocateMissing::initTestCase()
{
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
}

void TestLocateMissing::relinksByFileName()
{
    TWindowFixture f;
    TMainForm &w = f.CreateActive();
    const QString present = f.WritePicture(u"here/valve.png"_s, QSize(3, 3));
    // pump.png twice below the folder: the one nearer to it is taken.
    const QString pump = f.WritePicture(u"found/pump.png"_s, QSize(5, 5));
    f.WritePicture(u"found/deeper/pump.png"_s, QSize(6, 6));
    const QString alarm = f.WritePicture(u"found/deeper/pump_alarm.png"_s, QSize(5, 5));

    auto pumpSymbol = MakeSymbol(u"Pump"_s, {{u"en"_s, u"Pump"_s}});
    pumpSymbol->Image = u"C:\\old\\art\\pump.png"_s;
    pumpSymbol->StateImages = {{u"1"_s, u"/old/art/pump_on.png"_s},
                               {u"Alarm"_s, u"/old/art/pump_alarm.png"_s}};
    auto valveSymbol = MakeSymbol(u"Valve"_s, {{u"en"_s, u"Valve"_s}});
    valveSymbol->Image = present;
    AddSymbols(w, {pumpSymbol, valveSymbol});
    clickRow(w, u"Pump"_s);
    QCOMPARE(IconIndex(w, rowOf(w, u"Pump"_s)), 3);

    f.Dialogs.FileAnswers = {f.Path(u"found"_s)};
    Named<QAction>(w, "miLocateMissing")->trigger();

    QCOMPARE(f.Dialogs.ShownDialogs.size(), 1);
    QCOMPARE(f.Dialogs.ShownDialogs[0].Name, u"sLocateFolderDialog"_s);
    QCOMPARE(pumpSymbol->Image, pump);
    QCOMPARE(pumpSymbol->StateImages,
             (QList<TStringPairs>{{u"1"_s, u"/old/art/pump_on.png"_s}, {u"Alarm"_s, alarm}}));
    QCOMPARE(valveSymbol->Image, present);
    QCOMPARE(f.Dialogs.Informations,
             QStringList{u"Found 2 of 3 missing images in %1.\n\nStill missing:\n%2"_s.arg(
                 QDir::toNativeSeparators(f.Path(u"found"_s)),
                 QDir::toNativeSeparators(u"/old/art/pump_on.png"_s))});
    // The selected symbol shows its images from their new places; one is still missing.
    QCOMPARE(Named<QLabel>(w, "SymbolImage")->pixmap().size(), QSize(5, 5));
    QCOMPARE(tilesOf(w).size(), 3);
    QVERIFY(pumpSymbol->Error);
    QCOMPARE(IconIndex(w, rowOf(w, u"Pump"_s)), 3);

    // Found at last: the row loses its missing mark.
    const QString on = f.WritePicture(u"later/pump_on.png"_s, QSize(5, 5));
    f.Dialogs.FileAnswers = {f.Path(u"later"_s)};
    Named<QAction>(w, "miLocateMissing")->trigger();
    QCOMPARE(pumpSymbol->StateImages[0].Value, on);
    QVERIFY(!pumpSymbol->Error);
    QCOMPARE(IconIndex(w, rowOf(w, u"Pump"_s)), 1);
    QCOMPARE(f.Dialogs.Informations.last(), u"Found 1 of 1 missing images in %1."_s.arg(
                                                QDir::toNativeSeparators(f.Path(u"later"_s))));

    // Each search is one step, however many images it relinked.
    Named<TSymbolListPanel>(w, "dLV_Symbols")->setFocus();
    QCOMPARE(Named<QAction>(w, "miUndo")->text(), u"Undo Locate Missing Images"_s);
    pressShortcut(w, Qt::CTRL | Qt::Key_Z);
    QCOMPARE(pumpSymbol->StateImages[0].Value, u"/old/art/pump_on.png"_s);
    QCOMPARE(pumpSymbol->Image, pump);
    pressShortcut(w, Qt::CTRL | Qt::Key_Z);
    QCOMPARE(pumpSymbol->Image, u"C:\\old\\art\\pump.png"_s);
    QCOMPARE(pumpSymbol->StateImages[1].Value, u"/old/art/pump_alarm.png"_s);
    QVERIFY(!Named<QAction>(w, "miUndo")->isEnabled());
    pressShortcut(w, Qt::CTRL | Qt::Key_Y);
    QCOMPARE(pumpSymbol->Image, pump);
    QCOMPARE(pumpSymbol->StateImages[1].Value, alarm);
}

void TestLocateMissing::nothingMissingAsksForNoFolder()
{
    TWindowFixture f;
    TMainForm &w = f.CreateActive();
    auto symbol = MakeSymbol(u"Valve"_s, {{u"en"_s, u"Valve"_s}});
    symbol->Image = f.WritePicture(u"valve.png"_s, QSize(3, 3));
    AddSymbols(w, {symbol});
    Named<QAction>(w, "miLocateMissing")->trigger();
    QVERIFY(f.Dialogs.ShownDialogs.isEmpty());
    QCOMPARE(f.Dialogs.Informations, QStringList{u"No image of the library is missing."_s});
}

void TestLocateMissing::cancelledFolderChangesNothing()
{
    TWindowFixture f;
    TMainForm &w = f.CreateActive();
    f.WritePicture(u"found/pump.png"_s, QSize(5, 5));
    auto symbol = MakeSymbol(u"Pump"_s, {{u"en"_s, u"Pump"_s}});
    symbol->Image = u"/old/pump.png"_s;
    AddSymbols(w, {symbol});
    f.Dialogs.FileAnswers = {std::nullopt};
    Named<QAction>(w, "miLocateMissing")->trigger();
    QCOMPARE(f.Dialogs.ShownDialogs.size(), 1);
    QCOMPARE(symbol->Image, u"/old/pump.png"_s);
    QVERIFY(f.Dialogs.Informations.isEmpty());
}

QTEST_MAIN(TestLocateMissing)
#include "tst_locate_missing.moc"
