// Find: Ctrl+F shows a bar over the bottom of the list that filters its rows by identifier and
// names, or to the symbols lacking a name; Escape clears and hides it.
#include "WindowFixture.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLineEdit>

class TestFind : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void filtersRows_data();
    void filtersRows();
    void barCoversTheBottomOfTheListOnlyWhileShown();
    void selectionIsKeptWhileTheRowMatches();
    void escapeClearsAndHides();
    void refilledListIsFilteredAgain();

private:
    std::unique_ptr<TWindowFixture> f;
    TMainForm *w = nullptr;

    QStringList shownRows() const;
};

void TestFind::initTestCase()
{
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
}

void TestFind::init()
{
    f = std::make_unique<TWindowFixture>();
    w = &f->CreateActive();
    AddSymbols(*w, {MakeSymbol(u"Pump_1"_s, {{u"en"_s, u"Water pump"_s}, {u"sv"_s, u"Pump"_s}}),
                    MakeSymbol(u"valve"_s, {{u"en"_s, u"Valve"_s}}),
                    MakeSymbol(u"Tank"_s, {{u"en"_s, u"Tank"_s}, {u"sv"_s, u"Tank"_s}}),
                    MakeSymbol(u"Motor"_s, {{u"en"_s, u"Motor"_s}, {u"sv"_s, u"Pumpmotor"_s}}),
                    MakeSymbol(u"Lamp"_s, {{u"sv"_s, u"Lampa"_s}, {u"de"_s, u"Leuchte"_s}})});
}

QStringList TestFind::shownRows() const
{
    QStringList rows;
    for (int row = 0; row < Named<TSymbolListPanel>(*w, "dLV_Symbols")->topLevelItemCount(); ++row)
        if (!Named<TSymbolListPanel>(*w, "dLV_Symbols")->topLevelItem(row)->isHidden())
            rows.append(Named<TSymbolListPanel>(*w, "dLV_Symbols")->topLevelItem(row)->text(0));
    return rows;
}

void TestFind::filtersRows_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("missingNames");
    QTest::addColumn<QStringList>("rows");
    const QStringList all = Strings({"Lamp", "Motor", "Pump_1", "Tank", "valve"});
    QTest::newRow("nothing typed") << QString() << false << all;
    QTest::newRow("identifier or a name, any case")
        << u"PUMP"_s << false << Strings({"Motor", "Pump_1"});
    QTest::newRow("a name in a language without a column")
        << u"leucht"_s << false << Strings({"Lamp"});
    QTest::newRow("no match") << u"zz"_s << false << QStringList();
    QTest::newRow("lacking a name in a shown language")
        << QString() << true << Strings({"Lamp", "valve"});
    QTest::newRow("both") << u"VAL"_s << true << Strings({"valve"});
}

void TestFind::filtersRows()
{
    QFETCH(QString, typed);
    QFETCH(bool, missingNames);
    QFETCH(QStringList, rows);
    pressShortcut(*w, Qt::CTRL | Qt::Key_F);
    QVERIFY(Named<QLineEdit>(*w, "eFind")->hasFocus());
    QTest::keyClicks(Named<QLineEdit>(*w, "eFind"), typed);
    if (missingNames)
        QTest::mouseClick(Named<QCheckBox>(*w, "cbFindMissingNames"), Qt::LeftButton, {},
                          QPoint(6, Named<QCheckBox>(*w, "cbFindMissingNames")->height() / 2));
    QCOMPARE(Named<QCheckBox>(*w, "cbFindMissingNames")->isChecked(), missingNames);
    QCOMPARE(shownRows(), rows);
}

void TestFind::barCoversTheBottomOfTheListOnlyWhileShown()
{
    const QRect designed(8, 8, 409, 770);
    QCOMPARE(Named<TSymbolListPanel>(*w, "dLV_Symbols")->geometry(), designed);
    QVERIFY(Named<QWidget>(*w, "FindBar")->isHidden());

    pressShortcut(*w, Qt::CTRL | Qt::Key_F);
    QVERIFY(Named<QWidget>(*w, "FindBar")->isVisible());
    QCOMPARE(Named<QWidget>(*w, "FindBar")->geometry().bottom(), designed.bottom());
    QCOMPARE(Named<QWidget>(*w, "FindBar")->geometry().left(), designed.left());
    QCOMPARE(Named<QWidget>(*w, "FindBar")->width(), designed.width());
    QCOMPARE(Named<TSymbolListPanel>(*w, "dLV_Symbols")->geometry().bottom() + 1,
             Named<QWidget>(*w, "FindBar")->geometry().top());

    // It follows the list's bottom edge when the window grows.
    w->resize(w->width(), w->height() + 50);
    QTRY_COMPARE(Named<QWidget>(*w, "FindBar")->geometry().bottom(), designed.bottom() + 50);
    QCOMPARE(Named<TSymbolListPanel>(*w, "dLV_Symbols")->geometry().bottom() + 1,
             Named<QWidget>(*w, "FindBar")->geometry().top());
}

void TestFind::selectionIsKeptWhileTheRowMatches()
{
    clickRow(*w, u"Pump_1"_s);
    pressShortcut(*w, Qt::CTRL | Qt::Key_F);
    QTest::keyClicks(Named<QLineEdit>(*w, "eFind"), u"pu"_s);
    QCOMPARE(w->SelectedSymbol()->Identifier, u"Pump_1"_s);
    QVERIFY(Named<TSymbolSettingsPanel>(*w, "gbSettings")->isEnabled());
    QTest::keyClicks(Named<QLineEdit>(*w, "eFind"), u"mp_"_s);
    QCOMPARE(shownRows(), Strings({"Pump_1"}));
    QCOMPARE(w->SelectedSymbol()->Identifier, u"Pump_1"_s);

    QTest::keyClick(Named<QLineEdit>(*w, "eFind"), Qt::Key_X);
    QCOMPARE(shownRows(), QStringList());
    QVERIFY(!w->SelectedSymbol());
    QVERIFY(Named<TSymbolListPanel>(*w, "dLV_Symbols")->selectedItems().isEmpty());
    QVERIFY(!Named<TSymbolSettingsPanel>(*w, "gbSettings")->isEnabled());
}

void TestFind::escapeClearsAndHides()
{
    pressShortcut(*w, Qt::CTRL | Qt::Key_F);
    QTest::keyClicks(Named<QLineEdit>(*w, "eFind"), u"tank"_s);
    QTest::mouseClick(Named<QCheckBox>(*w, "cbFindMissingNames"), Qt::LeftButton, {},
                      QPoint(6, Named<QCheckBox>(*w, "cbFindMissingNames")->height() / 2));
    QCOMPARE(shownRows(), QStringList());
    QTest::keyClick(Named<QLineEdit>(*w, "eFind"), Qt::Key_Escape);
    QVERIFY(Named<QWidget>(*w, "FindBar")->isHidden());
    QVERIFY(Named<QLineEdit>(*w, "eFind")->text().isEmpty());
    QVERIFY(!Named<QCheckBox>(*w, "cbFindMissingNames")->isChecked());
    QCOMPARE(shownRows().size(), 5);
    QCOMPARE(Named<TSymbolListPanel>(*w, "dLV_Symbols")->geometry(), QRect(8, 8, 409, 770));
    // Shown again, it starts empty.
    pressShortcut(*w, Qt::CTRL | Qt::Key_F);
    QVERIFY(Named<QLineEdit>(*w, "eFind")->text().isEmpty());
}

void TestFind::refilledListIsFilteredAgain()
{
    pressShortcut(*w, Qt::CTRL | Qt::Key_F);
    QTest::keyClicks(Named<QLineEdit>(*w, "eFind"), u"a"_s);
    const QString project = f->Path(u"p.js"_s);
    TViraGlyphbook book;
    book.Symbols = {MakeSymbol(u"Fan"_s, {{u"en"_s, u"Fan"_s}}),
                    MakeSymbol(u"Boiler"_s, {{u"en"_s, u"Boiler"_s}})};
    book.SaveToFile(project);
    f->Dialogs.FileAnswers = {project};
    Named<QAction>(*w, "miOpenProject")->trigger();
    QCOMPARE(shownRows(), Strings({"Fan"}));
}

QTEST_MAIN(TestFind)
#include "tst_find.moc"
