// The language registry, "Lang.txt" and the language columns.
#include "WindowFixture.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QStringEncoder>

#include <unistd.h>

class TestLanguages : public QObject
{
    Q_OBJECT

private slots:
    void langFile_data();
    void langFile();
    void unreadableLangFileSkipsTheRestOfCreation();
    void columns_data();
    void columns();
    void languageColumnsShareTheListWidth();
    void rowsFollowTheColumnsWhateverTheNameOrder();
    void collectLanguagesKeepsUncheckedLanguages();
    void rebuildShowsTheSelectedSymbolsNames();
    void newColumnJoinsTheRowSelection();
    void helpAndExamplesFollowTheirFiles_data();
    void helpAndExamplesFollowTheirFiles();
};

static QByteArray utf16(const QString &text, QStringConverter::Encoding encoding)
{
    QStringEncoder encoder(encoding);
    return encoder.encode(text);
}

void TestLanguages::langFile_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("menu");

    QTest::newRow("flag must be exactly true")
        << QByteArray("de=true\r\nfr=false\r\nit=True\r\nnl= true")
        << QStringLiteral("en+ sv+ de+ fr- it- nl-");
    QTest::newRow("existing entries keep their check mark, case counts")
        << QByteArray("en=false\nde=true\nfr=false\nde=false\nEN=true\n")
        << QStringLiteral("en+ sv+ de+ fr- EN+");
    QTest::newRow("lines without = give one empty entry")
        << QByteArray("\n\nxx\nda=true\n") << QStringLiteral("en+ sv+ - da+");
    QTest::newRow("nothing trimmed") << QByteArray(" pt=true\n") << QStringLiteral("en+ sv+  pt+");
    QTest::newRow("lone CR ends a line")
        << QByteArray("de=true\rfr=true\r") << QStringLiteral("en+ sv+ de+ fr+");
    QTest::newRow("UTF-8 with BOM") << QByteArray("\xEF\xBB\xBF"
                                                  "fi=true\n\xC3\xB6=true")
                                    << QStringLiteral("en+ sv+ fi+ \u00F6+");
    QTest::newRow("UTF-16LE with BOM")
        << QByteArray("\xFF\xFE") +
               utf16(QStringLiteral("d\u00E9=true\r\n\u4E2D=true\r\n"), QStringConverter::Utf16LE)
        << QStringLiteral("en+ sv+ d\u00E9+ \u4E2D+");
    QTest::newRow("UTF-16BE with BOM")
        << QByteArray("\xFE\xFF") + utf16(QStringLiteral("d\u00E9=true"), QStringConverter::Utf16BE)
        << QStringLiteral("en+ sv+ d\u00E9+");
    QTest::newRow("valid UTF-8 without BOM")
        << QByteArray("\xC3\xA7=true\n") << QStringLiteral("en+ sv+ \u00E7+");
    QTest::newRow("invalid UTF-8 is Windows-1252")
        << QByteArray("\xE7\x80=true\n\x9F=false")
        << QStringLiteral("en+ sv+ \u00E7\u20AC+ \u0178-");
    QTest::newRow("empty file") << QByteArray() << QStringLiteral("en+ sv+");
}

void TestLanguages::langFile()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, menu);
    TWindowFixture f;
    f.WriteFile(QStringLiteral("Lang.txt"), bytes);
    TMainForm &w = f.Create();
    QCOMPARE(LanguageMenu(w), menu);
    QVERIFY(f.Dialogs.Errors.isEmpty());
}

void TestLanguages::unreadableLangFileSkipsTheRestOfCreation()
{
    if (geteuid() == 0)
        QSKIP("root reads files whatever their permissions");
    TWindowFixture f;
    f.WriteFile(QStringLiteral("Lang.txt"), "de=true\n");
    f.WriteFile(QStringLiteral("Examples/SmallExampleLib.js"), "{}");
    QFile::setPermissions(f.Path(QStringLiteral("Lang.txt")), QFileDevice::WriteOwner);
    TMainForm &w = f.Create();
    QCOMPARE(f.Dialogs.Errors.size(), 1);
    QVERIFY(f.Dialogs.Errors[0].startsWith(QStringLiteral("Cannot open file \"")));
    // Steps after the language list did not run: Examples stays hidden, no columns built.
    QVERIFY(!Named<QMenu>(w, "mmExamples")->menuAction()->isVisible());
    QCOMPARE(w.windowTitle(), TMainForm::BaseCaption());
    QCOMPARE(Named<TSymbolSettingsPanel>(w, "gbSettings")->NameEdits.size(), 21);
}

void TestLanguages::columns_data()
{
    QTest::addColumn<QByteArray>("langFile");
    QTest::addColumn<QStringList>("uncheck");
    QTest::addColumn<QStringList>("columns");
    QTest::addColumn<int>("minimumWidth");
    QTest::addColumn<int>("messages");

    QTest::newRow("two") << QByteArray() << QStringList() << Strings({"en", "sv"}) << 454 << 0;
    QTest::newRow("one") << QByteArray() << Strings({"en"}) << Strings({"sv"}) << 221 << 0;
    QTest::newRow("none") << QByteArray() << Strings({"en", "sv"}) << QStringList() << 221 << 0;
    QTest::newRow("three") << QByteArray("de=true") << QStringList() << Strings({"en", "sv", "de"})
                           << 606 << 0;
    QByteArray twenty;
    QStringList shown = Strings({"en", "sv"});
    for (int k = 0; k < 20; ++k) {
        const QString code = QStringLiteral("l%1").arg(k, 2, 10, QLatin1Char('0'));
        twenty += code.toLatin1() + "=true\n";
        if (k < 19)
            shown.append(code);
    }
    QTest::newRow("22: the last gets no column") << twenty << QStringList() << shown << 3342 << 1;
}

void TestLanguages::columns()
{
    QFETCH(QByteArray, langFile);
    QFETCH(QStringList, uncheck);
    QFETCH(QStringList, columns);
    QFETCH(int, minimumWidth);
    QFETCH(int, messages);

    TWindowFixture f;
    if (!langFile.isEmpty())
        f.WriteFile(QStringLiteral("Lang.txt"), langFile);
    TMainForm &w = f.Create();
    for (QAction *entry : Named<QMenu>(w, "mmLanguages")->actions())
        if (uncheck.contains(entry->text()))
            entry->trigger();

    QCOMPARE(ColumnCaptions(w), QStringList(QStringLiteral("Identifier")) + columns);
    for (int k = 0; k < 21; ++k) {
        const bool shown = k < columns.size();
        QCOMPARE(Named<TSymbolSettingsPanel>(w, "gbSettings")->NameEdits[k]->isHidden(), !shown);
        QCOMPARE(Named<TSymbolSettingsPanel>(w, "gbSettings")->NameLabels[k]->isHidden(), !shown);
        if (shown)
            QCOMPARE(Named<TSymbolSettingsPanel>(w, "gbSettings")->NameLabels[k]->text(),
                     columns[k]);
    }
    QCOMPARE(Named<TSymbolSettingsPanel>(w, "gbSettings")->minimumWidth(), minimumWidth);
    QVERIFY(Named<TSymbolSettingsPanel>(w, "gbSettings")->width() >= minimumWidth);
    // The window scrolls horizontally as far as the group's minimum width reaches.
    QCOMPARE(Named<QWidget>(w, "ClientArea")->minimumWidth(), 423 + minimumWidth);
    // The message waits for the window, so it stands over it.
    QCOMPARE(f.Dialogs.Informations.size(), 0);
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    QTRY_COMPARE(f.Dialogs.Informations.size(), messages);
    if (messages) {
        QVERIFY(f.Dialogs.Informations[0].contains(QStringLiteral("l19")));
        // The entry left out is shown unchecked; a later rebuild does not complain again.
        QVERIFY(LanguageMenu(w).endsWith(QStringLiteral("l19-")));
        w.RebuildLanguageColumns();
        QCOMPARE(f.Dialogs.Informations.size(), messages);
    }
}

void TestLanguages::languageColumnsShareTheListWidth()
{
    TWindowFixture f;
    f.WriteFile(QStringLiteral("Lang.txt"), "de=true\n");
    TMainForm &w = f.Create();
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    const int client = Named<TSymbolListPanel>(w, "dLV_Symbols")->viewport()->width();
    const int spare = client - 150;
    QCOMPARE(Named<TSymbolListPanel>(w, "dLV_Symbols")->columnWidth(0), 150);
    QCOMPARE(Named<TSymbolListPanel>(w, "dLV_Symbols")->columnWidth(1), spare / 3 + spare % 3);
    QCOMPARE(Named<TSymbolListPanel>(w, "dLV_Symbols")->columnWidth(2), spare / 3);
    QCOMPARE(Named<TSymbolListPanel>(w, "dLV_Symbols")->columnWidth(3), spare / 3);
    // Two columns left share the same width between them.
    Named<QAction>(w, "miSE")->trigger();
    QCOMPARE(Named<TSymbolListPanel>(w, "dLV_Symbols")->columnWidth(1) +
                 Named<TSymbolListPanel>(w, "dLV_Symbols")->columnWidth(2),
             spare);
}

void TestLanguages::rowsFollowTheColumnsWhateverTheNameOrder()
{
    TWindowFixture f;
    TMainForm &w = f.Create();
    AddSymbols(
        w,
        {MakeSymbol(QStringLiteral("valve"), {{QStringLiteral("sv"), QStringLiteral("Ventil")},
                                              {QStringLiteral("de"), QStringLiteral("Ventil-de")},
                                              {QStringLiteral("en"), QStringLiteral("Valve")}}),
         MakeSymbol(QStringLiteral("pump"), {{QStringLiteral("en"), QStringLiteral("Pump")}})});
    // Rows show the names under their columns' languages, not in the pairs' order.
    QCOMPARE(RowTexts(w), Strings({"pump|Pump|", "valve|Valve|Ventil"}));
    w.RebuildLanguageColumns();
    QCOMPARE(RowTexts(w), Strings({"pump|Pump|", "valve|Valve|Ventil"}));
    w.AddLanguage(QStringLiteral("fr"), true);
    w.RebuildLanguageColumns();
    QCOMPARE(RowTexts(w), Strings({"pump|Pump||", "valve|Valve|Ventil|"}));
    Named<QAction>(w, "miEN")->trigger();
    QCOMPARE(RowTexts(w), Strings({"pump||", "valve|Ventil|"}));
}

void TestLanguages::collectLanguagesKeepsUncheckedLanguages()
{
    TWindowFixture f;
    TMainForm &w = f.Create();
    Named<QAction>(w, "miSE")->trigger();
    AddSymbols(w,
               {MakeSymbol(QStringLiteral("a"), {{QStringLiteral("en"), QStringLiteral("A")}}),
                MakeSymbol(QStringLiteral("b"), {{QStringLiteral("sv"), QStringLiteral("B")},
                                                 {QStringLiteral("de"), QStringLiteral("Be")}})});
    w.CollectLanguages();
    QCOMPARE(LanguageMenu(w), QStringLiteral("en+ sv- de+"));
    w.RebuildLanguageColumns();
    QCOMPARE(ColumnCaptions(w), Strings({"Identifier", "en", "de"}));
}

void TestLanguages::rebuildShowsTheSelectedSymbolsNames()
{
    TWindowFixture f;
    TMainForm &w = f.Create();
    const TViraSymbolPtr valve =
        MakeSymbol(QStringLiteral("valve"), {{QStringLiteral("en"), QStringLiteral("Valve")},
                                             {QStringLiteral("sv"), QStringLiteral("Ventil")}});
    AddSymbols(w, {valve});
    selectSymbol(w, valve);
    QCOMPARE(Named<TSymbolSettingsPanel>(w, "gbSettings")->NameEdits[0]->text(),
             QStringLiteral("Valve"));
    QCOMPARE(Named<TSymbolSettingsPanel>(w, "gbSettings")->NameEdits[1]->text(),
             QStringLiteral("Ventil"));
    Named<QAction>(w, "miEN")->trigger();
    QCOMPARE(Named<TSymbolSettingsPanel>(w, "gbSettings")->NameEdits[0]->text(),
             QStringLiteral("Ventil"));
    QCOMPARE(w.SelectedSymbol(), valve);
    QCOMPARE(valve->Names.size(), 2);
}

void TestLanguages::newColumnJoinsTheRowSelection()
{
    TWindowFixture f;
    f.WriteFile(QStringLiteral("Lang.txt"), "de=false\n");
    TMainForm &w = f.CreateActive();
    AddSymbols(
        w, {MakeSymbol(QStringLiteral("pump"), {{QStringLiteral("de"), QStringLiteral("Pumpe")}})});
    clickRow(w, QStringLiteral("pump"));
    Named<QMenu>(w, "mmLanguages")->actions().last()->trigger();
    QCOMPARE(ColumnCaptions(w), Strings({"Identifier", "en", "sv", "de"}));
    const QItemSelectionModel *selection =
        Named<TSymbolListPanel>(w, "dLV_Symbols")->selectionModel();
    for (int column = 0; column < 4; ++column)
        QVERIFY2(selection->isSelected(
                     Named<TSymbolListPanel>(w, "dLV_Symbols")->model()->index(0, column)),
                 qPrintable(QString::number(column)));
}

void TestLanguages::helpAndExamplesFollowTheirFiles_data()
{
    QTest::addColumn<bool>("help");
    QTest::addColumn<bool>("example");
    QTest::newRow("neither") << false << false;
    QTest::newRow("help only") << true << false;
    QTest::newRow("example only") << false << true;
    QTest::newRow("both") << true << true;
}

void TestLanguages::helpAndExamplesFollowTheirFiles()
{
    QFETCH(bool, help);
    QFETCH(bool, example);
    TWindowFixture f;
    if (help)
        f.WriteFile(QStringLiteral("help.html"), "<html></html>");
    if (example)
        f.WriteFile(QStringLiteral("Examples/SmallExampleLib.js"), "{}");
    else
        QDir().mkpath(f.Path(QStringLiteral("Examples/SmallExampleLib.js"))); // a folder
    TMainForm &w = f.Create();
    QCOMPARE(Named<QAction>(w, "H1")->isVisible(), help);
    QCOMPARE(Named<QMenu>(w, "mmExamples")->menuAction()->isVisible(), example);
    if (help) {
        Named<QAction>(w, "H1")->trigger();
        QCOMPARE(f.Dialogs.OpenedDocuments, QStringList(f.Path(QStringLiteral("help.html"))));
    }
}

QTEST_MAIN(TestLanguages)
#include "tst_languages.moc"
