// Saving lands on the file the user meant: New Project then Ctrl+S, Enter asks before replacing
// the earlier project, names typed without a suffix get the dialog's, and what a save fills in
// shows at once.
#include "WindowFixture.h"

class TestSaveTargets : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void newProjectThenSaveNeverReplacesTheEarlierProject();
    void namesTypedWithoutSuffixGetTheDialogs_data();
    void namesTypedWithoutSuffixGetTheDialogs();
    void saveShowsTheNamesItFilled();
};

void TestSaveTargets::initTestCase()
{
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
}

void TestSaveTargets::newProjectThenSaveNeverReplacesTheEarlierProject()
{
    TWindowFixture f;
    for (const QString &file :
         QDir(QStringLiteral(GLYPHBOOK_EXAMPLES "/Examples")).entryList(QDir::Files))
        f.WriteFile(u"Examples/"_s + file,
                    readFile(QStringLiteral(GLYPHBOOK_EXAMPLES "/Examples/") + file));
    const QString example = f.Path(u"Examples/SmallExampleLib.js"_s);
    const QByteArray before = readFile(example);
    TMainForm &w = f.CreateActive();
    f.Dialogs.FileAnswers = {QString()}; // OK on the preselected example
    Named<QAction>(w, "SmallExamplejs1")->trigger();
    QVERIFY(w.Document().Symbols().size() > 0);

    Named<QAction>(w, "miNewProject")->trigger();
    f.Dialogs.FileAnswers = {f.WritePicture(u"valve.png"_s, {4, 4})};
    pressShortcut(w, Qt::CTRL | Qt::Key_A);
    QCOMPARE(w.Document().Symbols().size(), 1);

    // Ctrl+S, Enter: the dialog still proposes the example, but it is not this library's file.
    f.Dialogs.FileAnswers = {QString()};
    pressShortcut(w, Qt::CTRL | Qt::Key_S);
    QCOMPARE(f.Dialogs.ShownDialogs.last().PresetFileName, example);
    QCOMPARE(f.Dialogs.Questions,
             Strings({"SmallExampleLib.js already exists.\nDo you want to replace it?"}));
    QCOMPARE(readFile(example), before);
    QVERIFY(!w.Document().IsSaved());

    // Saved there on Yes, it is the library's own file: the next save asks nothing.
    f.Dialogs.FileAnswers = {QString(), QString()};
    f.Dialogs.ConfirmAnswers = {true};
    pressShortcut(w, Qt::CTRL | Qt::Key_S);
    QVERIFY(readFile(example).contains("valve"));
    pressShortcut(w, Qt::CTRL | Qt::Key_S);
    QCOMPARE(f.Dialogs.Questions.size(), 2);
    QCOMPARE(f.Dialogs.Unanswered, 1);
}

void TestSaveTargets::namesTypedWithoutSuffixGetTheDialogs_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("written");
    QTest::newRow("project") << u"miSaveProject"_s << u"road"_s << u"road.js"_s;
    QTest::newRow("project with a suffix of its own")
        << u"miSaveProject"_s << u"road.v2"_s << u"road.v2"_s;
    QTest::newRow("project in a folder with a dot")
        << u"miSaveProject"_s << u"d.x/road"_s << u"d.x/road.js"_s;
    QTest::newRow("archive") << u"miPackLib"_s << u"road"_s << u"road.tar.gz"_s;
    QTest::newRow("names") << u"miExportNames"_s << u"names"_s << u"names.csv"_s;
}

void TestSaveTargets::namesTypedWithoutSuffixGetTheDialogs()
{
    QFETCH(QString, command);
    QFETCH(QString, typed);
    QFETCH(QString, written);
    TWindowFixture f;
    TMainForm &w = f.CreateActive();
    QDir().mkpath(f.Path(u"d.x"_s));
    f.Dialogs.FileAnswers = {f.WritePicture(u"valve.png"_s, {4, 4})};
    pressShortcut(w, Qt::CTRL | Qt::Key_A);
    f.Dialogs.FileAnswers = {f.Path(typed)};
    Named<QAction>(w, qPrintable(command))->trigger();
    QCOMPARE(f.Dialogs.Errors, QStringList());
    QVERIFY2(QFileInfo(f.Path(written)).isFile(), qPrintable(written));
    if (typed != written)
        QVERIFY(!QFileInfo::exists(f.Path(typed)));
}

void TestSaveTargets::saveShowsTheNamesItFilled()
{
    TWindowFixture f;
    f.WriteFile(u"lib.js"_s,
                "{\"GLYPHBOOK\": [{\"Identifier\": \"pump\", \"Image\": \"pump.png\", "
                "\"ImageX\": 0, \"ImageY\": 0, \"Symbol\": \"true\", \"TextX\": 0, \"TextY\": 0, "
                "\"TextAlign\": \"Right\", \"StateImages\": [], \"NAME\": {\"en\": \"\"}}]}");
    TMainForm &w = f.CreateActive();
    f.Dialogs.FileAnswers = {f.Path(u"lib.js"_s)};
    Named<QAction>(w, "miOpenProject")->trigger();
    clickRow(w, u"pump"_s);
    QCOMPARE(Named<TSymbolSettingsPanel>(w, "gbSettings")->NameEdits[0]->text(), QString());

    f.Dialogs.FileAnswers = {QString()};
    pressShortcut(w, Qt::CTRL | Qt::Key_S);
    QCOMPARE(f.Dialogs.Errors, QStringList());
    QCOMPARE(Named<TSymbolSettingsPanel>(w, "gbSettings")->NameEdits[0]->text(), u"pump"_s);
    QCOMPARE(RowTexts(w), Strings({"pump|pump|"}));
    // Showing what the save filled in is no change.
    QVERIFY(w.Document().IsSaved());
}

QTEST_MAIN(TestSaveTargets)
#include "tst_save_targets.moc"
