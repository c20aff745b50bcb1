// New, Open and Save Project, Help and the example project, with the dialogs' presets.
#include "WindowFixture.h"

#include "ui/FileNames.h"
#include "ui/QtGlyphbookDialogs.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QScrollArea>

#include <array>

class TestProjectCommands : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void changeFileExt_data();
    void changeFileExt();
    void nameFilters_data();
    void nameFilters();
    void openSetsCaptionPresetsAndSortedRows_data();
    void openSetsCaptionPresetsAndSortedRows();
    void openAddsTheLanguagesTheProjectNames();
    void cancelledOpenStillCollectsLanguages();
    void failedLoadShowsTheErrorWithTheListEmpty();
    void saveNewProjectProposesThePackName();
    void saveAfterOpenProposesTheOpenedFile();
    void savingAgainAsksOnlyForAnotherFile();
    void failedSaveChangesNeitherCaptionNorPackName();
    void cancelledSaveChangesNothing();
    void newProjectEmptiesListAndLibraryOnly();
    void newProjectAfterEditingKeepsTheEditingArea();
    void exampleProjectOpensFromTheExamplesMenu();
    void exitClosesWithoutAsking();
};

namespace
{
/// A library document with one symbol per (identifier, language, name) triple.
QByteArray document(std::initializer_list<std::array<const char *, 3>> symbols)
{
    QByteArray text = "\xEF\xBB\xBF{\r\n \"GLYPHBOOK\": [";
    QStringList objects;
    for (const auto &[identifier, language, name] : symbols)
        objects.append(QStringLiteral("{\"Identifier\": \"%1\", \"Image\": \"%1.png\", "
                                      "\"ImageX\": 0, \"ImageY\": 0, \"Symbol\": \"true\", "
                                      "\"TextX\": 0, \"TextY\": 0, \"TextAlign\": \"Right\", "
                                      "\"StateImages\": [], \"NAME\": {\"%2\": \"%3\"}}")
                           .arg(QString::fromUtf8(identifier), QString::fromUtf8(language),
                                QString::fromUtf8(name)));
    return text + objects.join(QStringLiteral(",\r\n")).toUtf8() + "]\r\n}\r\n";
}
} // namespace

void TestProjectCommands::initTestCase()
{
    // The list sorts by the user's locale; the C locale would compare code units only.
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
}

void TestProjectCommands::changeFileExt_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("result");
    QTest::newRow("plain") << u"/d/lib.js"_s << u"/d/lib.tar.gz"_s;
    QTest::newRow("two dots") << u"/d/lib.old.js"_s << u"/d/lib.old.tar.gz"_s;
    QTest::newRow("no extension") << u"/d/lib"_s << u"/d/lib.tar.gz"_s;
    QTest::newRow("dot in folder only") << u"/d.x/lib"_s << u"/d.x/lib.tar.gz"_s;
    QTest::newRow("backslash folder") << u"C:\\d.x\\lib"_s << u"C:\\d.x\\lib.tar.gz"_s;
    QTest::newRow("drive") << u"C:lib"_s << u"C:lib.tar.gz"_s;
    QTest::newRow("hidden file") << u"/d/.js"_s << u"/d/.tar.gz"_s;
}

void TestProjectCommands::changeFileExt()
{
    QFETCH(QString, name);
    QFETCH(QString, result);
    QCOMPARE(ChangeFileExt(name, QStringLiteral(".tar.gz")), result);
}

void TestProjectCommands::nameFilters_data()
{
    QTest::addColumn<QString>("filter");
    QTest::addColumn<QStringList>("result");
    QTest::newRow("project") << u"Glyphbook project|*.js"_s
                             << Strings({"Glyphbook project (*.js)"});
    QTest::newRow("pictures, trailing ; and own pattern list")
        << u"All (*.png;*.gif)|*.png;*.gif;|GIF Image (*.gif)|*.gif"_s
        << Strings({"All (*.png *.gif)", "GIF Image (*.gif)"});
    QTest::newRow("none") << u""_s << QStringList();
}

void TestProjectCommands::nameFilters()
{
    QFETCH(QString, filter);
    QFETCH(QStringList, result);
    QCOMPARE(NameFiltersFromPairs(filter), result);
}

void TestProjectCommands::openSetsCaptionPresetsAndSortedRows_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("packName");
    QTest::newRow("lib.js") << u"lib.js"_s << u"lib.tar.gz"_s;
    QTest::newRow("lib.old.js") << u"lib.old.js"_s << u"lib.old.tar.gz"_s;
    QTest::newRow("lib") << u"lib"_s << u"lib.tar.gz"_s;
}

void TestProjectCommands::openSetsCaptionPresetsAndSortedRows()
{
    QFETCH(QString, file);
    QFETCH(QString, packName);
    TWindowFixture f;
    TMainForm &w = f.Create();
    f.WriteFile(file, document({{"gamma", "en", "G"}, {"Beta", "en", "B"}, {"alpha", "sv", "A"}}));
    const QString path = f.Path(file);
    f.Dialogs.FileAnswers = {path};
    Named<QAction>(w, "miOpenProject")->trigger();

    QCOMPARE(f.Dialogs.Errors, QStringList());
    QCOMPARE(f.Dialogs.ShownDialogs.size(), 1);
    QCOMPARE(f.Dialogs.ShownDialogs[0].Name, QStringLiteral("sOpenDialog1"));
    QCOMPARE(f.Dialogs.ShownDialogs[0].Filter, QStringLiteral("Glyphbook project|*.js"));
    QCOMPARE(w.windowTitle(), QStringLiteral("Glyphbook Creator 1.03   ") + path);
    QCOMPARE(w.sOpenDialog1.FileName, path);
    QCOMPARE(w.sSaveDialog1.FileName, path);
    QCOMPARE(w.sSaveDialog2.FileName, f.Path(packName));
    QCOMPARE(w.Document().Symbols().size(), 3);
    // Locale-aware and case-sensitive: "Beta" between "alpha" and "gamma".
    QCOMPARE(RowTexts(w), Strings({"alpha||A", "Beta|B|", "gamma|G|"}));
    QVERIFY(Named<TSymbolListPanel>(w, "dLV_Symbols")->selectedItems().isEmpty());
    const auto *row =
        static_cast<TSymbolListItem *>(Named<TSymbolListPanel>(w, "dLV_Symbols")->topLevelItem(0));
    QCOMPARE(row->Symbol, w.Document().Symbols()[2]);
}

void TestProjectCommands::openAddsTheLanguagesTheProjectNames()
{
    TWindowFixture f;
    TMainForm &w = f.Create();
    f.WriteFile(QStringLiteral("lib.js"), document({{"a", "de", "Ah"}, {"b", "en", "Be"}}));
    f.Dialogs.FileAnswers = {f.Path(QStringLiteral("lib.js"))};
    Named<QAction>(w, "miOpenProject")->trigger();
    QCOMPARE(LanguageMenu(w), QStringLiteral("en+ sv+ de+"));
    QCOMPARE(ColumnCaptions(w), Strings({"Identifier", "en", "sv", "de"}));
    QCOMPARE(RowTexts(w), Strings({"a|||Ah", "b|Be||"}));
}

void TestProjectCommands::cancelledOpenStillCollectsLanguages()
{
    TWindowFixture f;
    TMainForm &w = f.Create();
    AddSymbols(
        w, {MakeSymbol(QStringLiteral("kept"), {{QStringLiteral("fr"), QStringLiteral("Gardé")}})});
    w.sOpenDialog1.FileName = QStringLiteral("/old/one.js");
    w.sSaveDialog2.FileName = QStringLiteral("/old/one.tar.gz");
    f.Dialogs.FileAnswers = {std::nullopt};
    Named<QAction>(w, "miOpenProject")->trigger();
    QCOMPARE(f.Dialogs.ShownDialogs.value(0).PresetFileName, QStringLiteral("/old/one.js"));
    QCOMPARE(w.windowTitle(), TMainForm::BaseCaption());
    QCOMPARE(w.sOpenDialog1.FileName, QStringLiteral("/old/one.js"));
    QCOMPARE(w.sSaveDialog2.FileName, QStringLiteral("/old/one.tar.gz"));
    QCOMPARE(w.Document().Symbols().size(), 1);
    QCOMPARE(ColumnCaptions(w), Strings({"Identifier", "en", "sv", "fr"}));
    QCOMPARE(RowTexts(w), QStringList(QStringLiteral("kept|||Gardé")));
}

void TestProjectCommands::failedLoadShowsTheErrorWithTheListEmpty()
{
    TWindowFixture f;
    TMainForm &w = f.Create();
    AddSymbols(w, {MakeSymbol(QStringLiteral("before"), {})});
    QByteArray bad = document({{"good", "en", "G"}, {"bad", "de", "B"}});
    bad.replace("\"ImageX\": 0, \"ImageY\": 0, \"Symbol\": \"true\", \"TextX\": 0, \"TextY\": 0, "
                "\"TextAlign\": \"Right\", \"StateImages\": [], \"NAME\": {\"de\"",
                "\"ImageX\": \"12a\", \"NAME\": {\"de\"");
    f.WriteFile(QStringLiteral("bad.js"), bad);
    f.Dialogs.FileAnswers = {f.Path(QStringLiteral("bad.js"))};
    Named<QAction>(w, "miOpenProject")->trigger();

    QCOMPARE(f.Dialogs.Errors, QStringList(QStringLiteral("'12a' is not a valid integer value")));
    QCOMPARE(Named<TSymbolListPanel>(w, "dLV_Symbols")->topLevelItemCount(), 0);
    QCOMPARE(w.windowTitle(), TMainForm::BaseCaption());
    QCOMPARE(w.sSaveDialog1.FileName, f.Path(QStringLiteral("bad.js")));
    QCOMPARE(w.sSaveDialog2.FileName, f.Path(QStringLiteral("bad.tar.gz")));
    // The command ended at the load: languages were not collected.
    QCOMPARE(LanguageMenu(w), QStringLiteral("en+ sv+"));
}

void TestProjectCommands::saveNewProjectProposesThePackName()
{
    TWindowFixture f;
    TMainForm &w = f.Create();
    AddSymbols(w, {MakeSymbol(QStringLiteral("pump"), {{QStringLiteral("en"), QString()}})});
    const QString target = f.Path(QStringLiteral("Q.js"));
    f.Dialogs.FileAnswers = {target};
    Named<QAction>(w, "miSaveProject")->trigger();
    QCOMPARE(f.Dialogs.Errors, QStringList());
    QCOMPARE(f.Dialogs.ShownDialogs.value(0).Name, QStringLiteral("sSaveDialog1"));
    QCOMPARE(f.Dialogs.ShownDialogs.value(0).Filter, QStringLiteral("Glyphbook project|*.js"));
    QVERIFY(QFileInfo(target).isFile());
    QCOMPARE(w.windowTitle(), QStringLiteral("Glyphbook Creator 1.03   ") + target);
    QCOMPARE(w.sSaveDialog2.FileName, f.Path(QStringLiteral("Q.tar.gz")));
    QCOMPARE(w.sOpenDialog1.FileName, QString());

    // What was saved opens again as the same library.
    f.Dialogs.FileAnswers = {target};
    Named<QAction>(w, "miOpenProject")->trigger();
    QCOMPARE(RowTexts(w), QStringList(QStringLiteral("pump|pump|")));
}

void TestProjectCommands::saveAfterOpenProposesTheOpenedFile()
{
    TWindowFixture f;
    TMainForm &w = f.Create();
    f.WriteFile(QStringLiteral("D/lib.js"), document({{"a", "en", "A"}}));
    f.Dialogs.FileAnswers = {f.Path(QStringLiteral("D/lib.js")), QString()};
    Named<QAction>(w, "miOpenProject")->trigger();
    Named<QAction>(w, "miSaveProject")->trigger();
    QCOMPARE(f.Dialogs.ShownDialogs.size(), 2);
    QCOMPARE(f.Dialogs.ShownDialogs[1].PresetFileName, f.Path(QStringLiteral("D/lib.js")));
    QCOMPARE(w.windowTitle(),
             QStringLiteral("Glyphbook Creator 1.03   ") + f.Path(QStringLiteral("D/lib.js")));
    QCOMPARE(f.Dialogs.Errors, QStringList());
}

void TestProjectCommands::savingAgainAsksOnlyForAnotherFile()
{
    TWindowFixture f;
    TMainForm &w = f.CreateActive();
    f.WriteFile(QStringLiteral("D/lib.js"), document({{"a", "en", "A"}}));
    f.WriteFile(QStringLiteral("D/other.js"), "someone else's");
    f.Dialogs.FileAnswers = {f.Path(QStringLiteral("D/lib.js"))};
    Named<QAction>(w, "miOpenProject")->trigger();
    clickRow(w, QStringLiteral("a"));
    retype(Named<QLineEdit>(w, "eIdentifier"), QStringLiteral("b"));

    // Ctrl+S, Enter: the project's own file is saved without a question.
    f.Dialogs.FileAnswers = {QString()};
    pressShortcut(w, Qt::CTRL | Qt::Key_S);
    QCOMPARE(f.Dialogs.Questions, QStringList());
    QVERIFY(readFile(f.Path(QStringLiteral("D/lib.js"))).contains("\"b\""));

    // Another file that exists is replaced only on Yes.
    f.Dialogs.FileAnswers = {f.Path(QStringLiteral("D/other.js"))};
    f.Dialogs.ConfirmAnswers = {false};
    pressShortcut(w, Qt::CTRL | Qt::Key_S);
    QCOMPARE(f.Dialogs.Questions,
             Strings({"other.js already exists.\nDo you want to replace it?"}));
    QCOMPARE(readFile(f.Path(QStringLiteral("D/other.js"))), QByteArray("someone else's"));
    QCOMPARE(w.windowTitle(),
             QStringLiteral("Glyphbook Creator 1.03   ") + f.Path(QStringLiteral("D/lib.js")));
    f.Dialogs.FileAnswers = {f.Path(QStringLiteral("D/other.js"))};
    f.Dialogs.ConfirmAnswers = {true};
    pressShortcut(w, Qt::CTRL | Qt::Key_S);
    QVERIFY(readFile(f.Path(QStringLiteral("D/other.js"))).contains("\"b\""));
    // Now other.js is the project's file.
    f.Dialogs.FileAnswers = {QString()};
    pressShortcut(w, Qt::CTRL | Qt::Key_S);
    QCOMPARE(f.Dialogs.Questions.size(), 2);
}

void TestProjectCommands::failedSaveChangesNeitherCaptionNorPackName()
{
    TWindowFixture f;
    TMainForm &w = f.Create();
    w.sSaveDialog2.FileName = QStringLiteral("/old/one.tar.gz");
    f.Dialogs.FileAnswers = {f.Path(QStringLiteral("missing-folder/Q.js"))};
    Named<QAction>(w, "miSaveProject")->trigger();
    QCOMPARE(f.Dialogs.Errors.size(), 1);
    QVERIFY(f.Dialogs.Errors[0].contains(QStringLiteral("Q.js")));
    QCOMPARE(w.windowTitle(), TMainForm::BaseCaption());
    QCOMPARE(w.sSaveDialog2.FileName, QStringLiteral("/old/one.tar.gz"));
}

void TestProjectCommands::cancelledSaveChangesNothing()
{
    TWindowFixture f;
    TMainForm &w = f.Create();
    w.sSaveDialog1.FileName = QStringLiteral("/old/one.js");
    f.Dialogs.FileAnswers = {std::nullopt};
    Named<QAction>(w, "miSaveProject")->trigger();
    QCOMPARE(w.sSaveDialog1.FileName, QStringLiteral("/old/one.js"));
    QCOMPARE(w.windowTitle(), TMainForm::BaseCaption());
    QVERIFY(f.Dialogs.Errors.isEmpty());
}

void TestProjectCommands::newProjectEmptiesListAndLibraryOnly()
{
    TWindowFixture f;
    TMainForm &w = f.Create();
    const TViraSymbolPtr pump = MakeSymbol(QStringLiteral("pump"), {});
    AddSymbols(w, {pump});
    selectSymbol(w, pump);
    w.setWindowTitle(QStringLiteral("Glyphbook Creator 1.03   /d/lib.js"));
    w.sSaveDialog1.FileName = QStringLiteral("/d/lib.js");
    auto *tile = new QWidget(Named<TImageStripPanel>(w, "sbImagesScrollBox")->widget());
    QPointer<QWidget> tileAlive(tile);

    Named<QAction>(w, "miNewProject")->trigger();
    QVERIFY(!w.SelectedSymbol());
    QCOMPARE(Named<TSymbolListPanel>(w, "dLV_Symbols")->topLevelItemCount(), 0);
    QVERIFY(w.Document().Symbols().isEmpty());
    QVERIFY(!tileAlive);
    QCOMPARE(w.windowTitle(), QStringLiteral("Glyphbook Creator 1.03   /d/lib.js"));
    QCOMPARE(w.sSaveDialog1.FileName, QStringLiteral("/d/lib.js"));
    QVERIFY(Named<TSymbolSettingsPanel>(w, "gbSettings")->isEnabled());
    QCOMPARE(ColumnCaptions(w), Strings({"Identifier", "en", "sv"}));
    // A symbol still held elsewhere lives on.
    QCOMPARE(pump->Identifier, QStringLiteral("pump"));
}

void TestProjectCommands::newProjectAfterEditingKeepsTheEditingArea()
{
    TWindowFixture f;
    const TViraSymbolPtr pump = MakeSymbol(u"pump"_s, {});
    pump->Image = f.WritePicture(u"pump.png"_s, QSize(30, 20));
    TMainForm &w = f.CreateActive();
    AddSymbols(w, {pump});
    clickRow(w, u"pump"_s);
    retype(Named<QLineEdit>(w, "eAnchorX"), u"5"_s);
    QCOMPARE(pump->ImageX, 5);

    Named<QAction>(w, "miNewProject")->trigger();
    QVERIFY(Named<TSymbolSettingsPanel>(w, "gbSettings")->isEnabled());
    QVERIFY(Named<QLabel>(w, "SymbolImage")->isVisible());
    QCOMPARE(Named<QLabel>(w, "SymbolImage")->pixmap().size(), QSize(30, 20));
    // With no symbol selected, edits change nothing.
    retype(Named<QLineEdit>(w, "eAnchorX"), u"9"_s);
    QCOMPARE(pump->ImageX, 5);
    QVERIFY(w.Document().Symbols().isEmpty());
}

void TestProjectCommands::exampleProjectOpensFromTheExamplesMenu()
{
    TWindowFixture f;
    const QDir source(QStringLiteral(GLYPHBOOK_EXAMPLES "/Examples"));
    QDir().mkpath(f.Path(QStringLiteral("Examples")));
    for (const QString &name : source.entryList(QDir::Files))
        QVERIFY(QFile::copy(source.filePath(name), f.Path(QStringLiteral("Examples/") + name)));
    TMainForm &w = f.Create();
    QVERIFY(Named<QMenu>(w, "mmExamples")->menuAction()->isVisible());

    f.Dialogs.FileAnswers = {QString()}; // OK on the preselected example
    Named<QAction>(w, "SmallExamplejs1")->trigger();
    const QString example = f.Path(QStringLiteral("Examples/SmallExampleLib.js"));
    QCOMPARE(f.Dialogs.ShownDialogs.value(0).Name, QStringLiteral("sOpenDialog1"));
    QCOMPARE(f.Dialogs.ShownDialogs.value(0).PresetFileName, example);
    QCOMPARE(f.Dialogs.Errors, QStringList());
    QCOMPARE(w.windowTitle(), QStringLiteral("Glyphbook Creator 1.03   ") + example);
    QCOMPARE(RowTexts(w), Strings({"frame|Frame|Ram", "lamp|Lamp|Lampa", "motor|Motor|Motor",
                                   "pump|Pump|Pump", "tank|Tank|Tank", "valve|Valve|Ventil"}));
    QCOMPARE(ColumnCaptions(w), Strings({"Identifier", "en", "sv"}));

    // Every picture the example names exists beside it, in the formats the editor loads.
    QStringList suffixes;
    for (const TViraSymbolPtr &symbol : std::as_const(w.Document().Symbols())) {
        QStringList images{symbol->Image};
        for (const TStringPairs &state : std::as_const(symbol->StateImages))
            images.append(state.Value);
        for (const QString &image : images) {
            QVERIFY2(!QImage(f.Path(QStringLiteral("Examples/") + image)).isNull(),
                     qPrintable(image));
            suffixes.append(QFileInfo(image).suffix());
        }
    }
    for (const char *suffix : {"png", "jpg", "bmp", "gif"})
        QVERIFY(suffixes.contains(QLatin1String(suffix)));
    const TViraSymbolPtr &frame = w.Document().Symbols().last();
    QVERIFY(!frame->Symbol);

    // Cancelling the example's dialog keeps the project.
    f.Dialogs.FileAnswers = {std::nullopt};
    Named<QAction>(w, "SmallExamplejs1")->trigger();
    QCOMPARE(Named<TSymbolListPanel>(w, "dLV_Symbols")->topLevelItemCount(), 6);
}

void TestProjectCommands::exitClosesWithoutAsking()
{
    TWindowFixture f;
    TMainForm &w = f.Create();
    AddSymbols(w, {MakeSymbol(QStringLiteral("unsaved"), {})});
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    Named<QAction>(w, "E1")->trigger();
    QVERIFY(!w.isVisible());
    QVERIFY(f.Dialogs.Questions.isEmpty() && f.Dialogs.ShownDialogs.isEmpty());
}

QTEST_MAIN(TestProjectCommands)
#include "tst_project_commands.moc"
