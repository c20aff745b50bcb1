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
};

QTEST_MAIN(TestNamesWindow)
#include "tst_names_window.moc"
