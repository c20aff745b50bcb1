// Check Library: the findings window lists the library check's findings by symbol, follows
// every change by the changed symbols alone, and selects a symbol and its tile on a double
// click.
#include "WindowFixture.h"

#include "ui/CheckLibraryWindow.h"

#include <QLabel>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTableView>

class TestCheckLibrary : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void listsFindingsBySymbol();
    void followsEditsByTheChangedSymbolsOnly();
    void followsAddedSymbolsAndLanguages();
    void doubleClickSelectsTheSymbolAndItsTile();

private:
    std::unique_ptr<TWindowFixture> f;
    TMainForm *w = nullptr;
    TViraSymbolPtr pump, valve, valveCopy;

    const QString pumpState =
        u"Pump | state value \"Blink\" is neither an integer nor Alarm, MO_Off or MO"_s;

    /// The findings window's rows as "symbol | finding".
    QStringList shown() const;
};

namespace
{
/// A double click as the platform delivers it: the first click, then the double click.
void doubleClick(QTableView *List, QPoint At)
{
    QTest::mouseClick(List->viewport(), Qt::LeftButton, {}, At);
    QTest::mouseDClick(List->viewport(), Qt::LeftButton, {}, At);
}
} // namespace

void TestCheckLibrary::initTestCase()
{
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
}

void TestCheckLibrary::init()
{
    f = std::make_unique<TWindowFixture>();
    w = &f->CreateActive();
    pump = MakeSymbol(u"Pump"_s, {{u"en"_s, u"Pump"_s}, {u"sv"_s, u"Pump"_s}});
    pump->Image = f->Path(u"gone.png"_s);
    pump->StateImages = {{u"1"_s, f->WritePicture(u"pump_1.png"_s, QSize(4, 4))},
                         {u"Blink"_s, f->WritePicture(u"pump_x.png"_s, QSize(4, 4))}};
    valve = MakeSymbol(u"Valve"_s, {{u"en"_s, u"Valve"_s}, {u"sv"_s, u"Ventil"_s}});
    valve->Image = f->WritePicture(u"valve.png"_s, QSize(4, 4));
    valveCopy = MakeSymbol(u"Valve"_s, {{u"en"_s, u"Valve"_s}});
    valveCopy->Image = valve->Image;
    AddSymbols(*w, {pump, valve, valveCopy});
}

QStringList TestCheckLibrary::shown() const
{
    QStringList rows;
    const QAbstractItemModel *model =
        Named<TCheckLibraryWindow>(*w, "CheckLibraryWindow")->tvFindings->model();
    for (int row = 0; row < model->rowCount(); ++row)
        rows.append(model->index(row, 0).data().toString() + u" | "_s +
                    model->index(row, 1).data().toString());
    return rows;
}

void TestCheckLibrary::listsFindingsBySymbol()
{
    pressShortcut(*w, Qt::CTRL | Qt::Key_L);
    QVERIFY(Named<TCheckLibraryWindow>(*w, "CheckLibraryWindow")->isVisible());
    QVERIFY(Named<TCheckLibraryWindow>(*w, "CheckLibraryWindow")->isWindow());
    QCOMPARE(Named<TCheckLibraryWindow>(*w, "CheckLibraryWindow")->lSummary->text(),
             u"5 findings in 3 symbols."_s);
    QCOMPARE(shown(),
             QStringList({u"Pump | missing image file \"%1\""_s.arg(f->Path(u"gone.png"_s)),
                          pumpState, u"Valve | repeated identifier \"Valve\""_s,
                          u"Valve | repeated identifier \"Valve\""_s,
                          u"Valve | no name in the language \"sv\""_s}));
}

void TestCheckLibrary::followsEditsByTheChangedSymbolsOnly()
{
    pressShortcut(*w, Qt::CTRL | Qt::Key_L);
    const QAbstractItemModel *model =
        Named<TCheckLibraryWindow>(*w, "CheckLibraryWindow")->tvFindings->model();
    QSignalSpy resets(model, &QAbstractItemModel::modelReset);
    QSignalSpy removed(model, &QAbstractItemModel::rowsRemoved);
    // The copy gets its own identifier and a Swedish name, typed as a user does.
    selectSymbol(*w, valveCopy);
    w->activateWindow();
    retype(Named<QLineEdit>(*w, "eIdentifier"), u"Valve 2"_s);
    retype(Named<TSymbolSettingsPanel>(*w, "gbSettings")->NameEdits[1], u"Ventil 2"_s);
    QCOMPARE(shown(),
             QStringList(
                 {u"Pump | missing image file \"%1\""_s.arg(f->Path(u"gone.png"_s)), pumpState}));
    QCOMPARE(Named<TCheckLibraryWindow>(*w, "CheckLibraryWindow")->lSummary->text(),
             u"2 findings in 1 symbol."_s);
    // Only the rows of the two valves were touched.
    QCOMPARE(resets.size(), 0);
    QVERIFY(!removed.isEmpty());
    for (const QList<QVariant> &rows : std::as_const(removed))
        QVERIFY(rows[1].toInt() >= 2);

    // Typing the same identifier again brings both findings back.
    retype(Named<QLineEdit>(*w, "eIdentifier"), u"Valve"_s);
    QCOMPARE(Named<TCheckLibraryWindow>(*w, "CheckLibraryWindow")->lSummary->text(),
             u"4 findings in 3 symbols."_s);
    QCOMPARE(resets.size(), 0);
}

void TestCheckLibrary::followsAddedSymbolsAndLanguages()
{
    pressShortcut(*w, Qt::CTRL | Qt::Key_L);
    f->Dialogs.FileAnswers = {f->Path(u"nowhere.png"_s)};
    w->activateWindow();
    pressShortcut(*w, Qt::CTRL | Qt::Key_A);
    QCOMPARE(w->Document().Symbols().size(), 4);
    QCOMPARE(shown().last(),
             u"nowhere.png | missing image file \"%1\""_s.arg(f->Path(u"nowhere.png"_s)));
    QCOMPARE(Named<TCheckLibraryWindow>(*w, "CheckLibraryWindow")->lSummary->text(),
             u"6 findings in 4 symbols."_s);
    // Without a Swedish column no Swedish name is missing.
    Named<QAction>(*w, "miSE")->trigger();
    QCOMPARE(Named<TCheckLibraryWindow>(*w, "CheckLibraryWindow")->lSummary->text(),
             u"5 findings in 4 symbols."_s);
    // Hidden, it does no work; shown again, it checks everything anew.
    Named<TCheckLibraryWindow>(*w, "CheckLibraryWindow")->close();
    w->Document().ResetLibrary(w->Document().Symbols().mid(0, 3));
    pressShortcut(*w, Qt::CTRL | Qt::Key_L);
    QCOMPARE(Named<TCheckLibraryWindow>(*w, "CheckLibraryWindow")->lSummary->text(),
             u"4 findings in 3 symbols."_s);
}

void TestCheckLibrary::doubleClickSelectsTheSymbolAndItsTile()
{
    pressShortcut(*w, Qt::CTRL | Qt::Key_L);
    QVERIFY(QTest::qWaitForWindowExposed(Named<TCheckLibraryWindow>(*w, "CheckLibraryWindow")));
    QTableView *table = Named<TCheckLibraryWindow>(*w, "CheckLibraryWindow")->tvFindings;
    doubleClick(table, table->visualRect(table->model()->index(1, 1)).center());
    QCOMPARE(w->SelectedSymbol(), pump);
    QVERIFY(tileOf(*w, 1)->Mark->isVisible());
    QVERIFY(!tileOf(*w, -1)->Mark->isVisible());

    // Building the tile of the bad state value has made it "0", as tiles do: its finding is
    // gone from the list.
    QCOMPARE(pump->StateImages[1].Name, u"0"_s);
    QCOMPARE(table->model()->rowCount(), 4);
    doubleClick(table, table->visualRect(table->model()->index(3, 0)).center());
    QCOMPARE(w->SelectedSymbol(), valveCopy);
}

QTEST_MAIN(TestCheckLibrary)
#include "tst_check_library.moc"
