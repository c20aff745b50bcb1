// Export Names and Import Names in the File menu: the table round trip as a translator makes it.
#include "WindowFixture.h"

class TestNamesWindow : public QObject
{
    Q_OBJECT

private slots:
    void exportEditImport()
    {
        TWindowFixture f;
        TMainForm &w = f.CreateActive();
        auto pump = MakeSymbol(u"pump"_s, {{u"en"_s, u"Pump"_s}, {u"sv"_s, u"Pump"_s}});
        auto valve = MakeSymbol(u"valve"_s, {{u"en"_s, u"Valve, big"_s}});
        AddSymbols(w, {pump, valve});
        clickRow(w, u"valve"_s);

        f.Dialogs.FileAnswers = {f.Path(u"names.csv"_s)};
        Named<QAction>(w, "miExportNames")->trigger();
        QCOMPARE(readFile(f.Path(u"names.csv"_s)),
                 QByteArray("\xEF\xBB\xBFIdentifier,en,sv\r\npump,Pump,Pump\r\n"
                            "valve,\"Valve, big\",\r\n"));

        f.WriteFile(u"names.csv"_s, "Identifier,sv,fi\r\nvalve,Ventil,Venttiili\r\nghost,x,\r\n");
        f.Dialogs.FileAnswers = {QString()}; // the table just written, preset
        Named<QAction>(w, "miImportNames")->trigger();
        QCOMPARE(f.Dialogs.ShownDialogs.last().Name, u"sNamesOpenDialog"_s);
        QCOMPARE(f.Dialogs.Errors, QStringList());
        QCOMPARE(f.Dialogs.Informations,
                 QStringList{u"Names changed: 2.\nLanguages added: fi.\nRows skipped, no symbol "
                             "has their identifier: \"ghost\" (row 3)."_s});
        QCOMPARE(valve->Names, (QList<TStringPairs>{{u"en"_s, u"Valve, big"_s},
                                                    {u"sv"_s, u"Ventil"_s},
                                                    {u"fi"_s, u"Venttiili"_s}}));
        // The new language is shown: menu, column, and the selected symbol's name field.
        QCOMPARE(LanguageMenu(w), u"en+ sv+ fi+"_s);
        QCOMPARE(ColumnCaptions(w), Strings({"Identifier", "en", "sv", "fi"}));
        QCOMPARE(RowTexts(w), Strings({"pump|Pump|Pump|", "valve|Valve, big|Ventil|Venttiili"}));
        QCOMPARE(Named<TSymbolSettingsPanel>(w, "gbSettings")->NameEdits[2]->text(),
                 u"Venttiili"_s);
        QCOMPARE(w.SelectedSymbol(), valve);

        // The whole import is one step: one undo takes every name back.
        pump->Names[0].Value = u"Pump"_s; // unchanged by the table
        f.WriteFile(u"names.csv"_s, "Identifier,en\r\npump,Pumpe\r\nvalve,Ventil\r\n");
        f.Dialogs.FileAnswers = {QString()};
        Named<QAction>(w, "miImportNames")->trigger();
        QCOMPARE(pump->FindName(u"en"_s), u"Pumpe"_s);
        QCOMPARE(valve->FindName(u"en"_s), u"Ventil"_s);
        QCOMPARE(Named<QAction>(w, "miUndo")->text(), u"Undo Import Names"_s);
        Named<QAction>(w, "miUndo")->trigger();
        QCOMPARE(pump->FindName(u"en"_s), u"Pump"_s);
        QCOMPARE(valve->FindName(u"en"_s), u"Valve, big"_s);
        QCOMPARE(valve->FindName(u"fi"_s), u"Venttiili"_s);
        QCOMPARE(RowTexts(w), Strings({"pump|Pump|Pump|", "valve|Valve, big|Ventil|Venttiili"}));
    }

    void unusableTableChangesNothing()
    {
        TWindowFixture f;
        TMainForm &w = f.CreateActive();
        auto pump = MakeSymbol(u"pump"_s, {{u"en"_s, u"Pump"_s}});
        AddSymbols(w, {pump});
        f.WriteFile(u"names.csv"_s, "Identifier,en\r\npump,A\r\npump,B\r\n");
        f.Dialogs.FileAnswers = {f.Path(u"names.csv"_s)};
        Named<QAction>(w, "miImportNames")->trigger();
        QCOMPARE(f.Dialogs.Errors,
                 QStringList{u"The file \"%1\" is not a table of names: the identifier \"pump\" "
                             "has two rows (2 and 3)."_s.arg(
                                 QDir::toNativeSeparators(f.Path(u"names.csv"_s)))});
        QCOMPARE(pump->Names, (QList<TStringPairs>{{u"en"_s, u"Pump"_s}}));
        QCOMPARE(RowTexts(w), Strings({"pump|Pump|"}));
    }

    // Export Names follows the rule of every command that writes: never over the project's own
    // files, by whatever name; nothing is written then.
    void exportRefusesTheProjectsOwnFiles_data()
    {
        QTest::addColumn<QString>("output");
        QTest::addColumn<QString>("reason");
        QTest::newRow("the project") << u"lib.js"_s << u"It is the project itself."_s;
        QTest::newRow("a link to the project") << u"alias.csv"_s << u"It is the project itself."_s;
        QTest::newRow("a picture") << u"pump.png"_s << u"It is one of the library's pictures."_s;
    }
    void exportRefusesTheProjectsOwnFiles()
    {
        QFETCH(QString, output);
        QFETCH(QString, reason);
        TWindowFixture f;
        TMainForm &w = f.CreateActive();
        f.WritePicture(u"pump.png"_s, QSize(4, 4));
        f.WriteFile(u"lib.js"_s, "{\"GLYPHBOOK\": [{\"Identifier\": \"pump\", \"Image\": "
                                 "\"pump.png\", \"ImageX\": 0, \"ImageY\": 0, \"Symbol\": "
                                 "\"true\", \"TextX\": 0, \"TextY\": 0, \"TextAlign\": "
                                 "\"Right\", \"StateImages\": [], \"NAME\": {}}]}");
        QVERIFY(QFile::link(f.Path(u"lib.js"_s), f.Path(u"alias.csv"_s)));
        f.Dialogs.FileAnswers = {f.Path(u"lib.js"_s)};
        Named<QAction>(w, "miOpenProject")->trigger();
        QCOMPARE(w.Document().Symbols().size(), 1);
        const QMap<QString, QByteArray> before = snapshot(f.Folder.path());

        f.Dialogs.FileAnswers = {f.Path(output)};
        Named<QAction>(w, "miExportNames")->trigger();

        QCOMPARE(f.Dialogs.Errors, QStringList{u"Cannot write file \"%1\". %2"_s.arg(
                                       QDir::toNativeSeparators(f.Path(output)), reason)});
        QCOMPARE(snapshot(f.Folder.path()), before);
    }
};

QTEST_MAIN(TestNamesWindow)
#include "tst_names_window.moc"
