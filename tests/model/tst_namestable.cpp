// The table of names for translators: CSV as spreadsheets write it, export and import.
#include "model/Csv.h"
#include "model/GlyphbookError.h"
#include "model/NamesTable.h"
#include "model/ViraSymbol.h"

#include <QTest>

using namespace Qt::StringLiterals;

namespace
{

const QByteArray Bom = "\xEF\xBB\xBF";

/// A library of symbols "id:lang=name;lang=name".
TViraGlyphbook library(const QStringList &descriptions)
{
    TViraGlyphbook book;
    for (const QString &description : descriptions) {
        auto symbol = std::make_shared<TViraSymbol>();
        symbol->Identifier = description.section(u':', 0, 0);
        for (const QString &pair : description.section(u':', 1).split(u';', Qt::SkipEmptyParts))
            symbol->Names.append({pair.section(u'=', 0, 0), pair.section(u'=', 1)});
        book.Symbols.append(symbol);
    }
    return book;
}

} // namespace

class TestNamesTable : public QObject
{
    Q_OBJECT

private slots:
    void csvFields_data()
    {
        QTest::addColumn<QStringList>("row");
        QTest::addColumn<QByteArray>("written");
        QTest::newRow("plain") << QStringList{u"pump"_s, u"Pump"_s} << QByteArray("pump,Pump\r\n");
        QTest::newRow("comma") << QStringList{u"a,b"_s} << QByteArray("\"a,b\"\r\n");
        QTest::newRow("quotes") << QStringList{u"say \"hi\""_s}
                                << QByteArray("\"say \"\"hi\"\"\"\r\n");
        QTest::newRow("line breaks") << QStringList{u"one\ntwo"_s, u"three\r\nfour"_s}
                                     << QByteArray("\"one\ntwo\",\"three\r\nfour\"\r\n");
        QTest::newRow("empty cells")
            << QStringList{QString(), u"x"_s, QString()} << QByteArray(",x,\r\n");
        QTest::newRow("blanks and non-ASCII stay as they are")
            << QStringList{u" Pumpe "_s, u"Ventil ö 水"_s}
            << QByteArray(" Pumpe ,Ventil \xC3\xB6 \xE6\xB0\xB4\r\n");
        QTest::newRow("a quote inside a name")
            << QStringList{u"5\" pipe"_s} << QByteArray("\"5\"\" pipe\"\r\n");
    }

    void csvFields()
    {
        QFETCH(QStringList, row);
        QFETCH(QByteArray, written);
        const QList<QStringList> rows{{u"Identifier"_s, u"en"_s}, row};
        const QByteArray bytes = WriteCsv(rows);
        QCOMPARE(bytes, Bom + "Identifier,en\r\n" + written);
        QCOMPARE(ReadCsv(bytes, u"t.csv"_s), rows);
    }

    void csvAsOthersWriteIt_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QList<QStringList>>("rows");
        QTest::newRow("no mark, LF, no last break")
            << QByteArray("a,b\nc,d") << QList<QStringList>{{u"a"_s, u"b"_s}, {u"c"_s, u"d"_s}};
        QTest::newRow("CR only") << QByteArray("a\rb\r") << QList<QStringList>{{u"a"_s}, {u"b"_s}};
        QTest::newRow("quoted empty and a quote inside a bare field")
            << QByteArray("\"\",x\"y\r\n") << QList<QStringList>{{QString(), u"x\"y"_s}};
        QTest::newRow("blank line")
            << QByteArray("a\r\n\r\nb\r\n") << QList<QStringList>{{u"a"_s}, {QString()}, {u"b"_s}};
    }

    void csvAsOthersWriteIt()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QList<QStringList>, rows);
        QCOMPARE(ReadCsv(bytes, u"t.csv"_s), rows);
    }

    void csvRefused_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("message");
        QTest::newRow("quote never closed") << QByteArray("a,b\r\n\"open,\r\nstill")
                                            << u"a quoted field is never closed at line 2."_s;
        QTest::newRow("text after a quote")
            << QByteArray("\"a\"b,c") << u"text follows a closing quote at line 1."_s;
        QTest::newRow("not UTF-8")
            << QByteArray("Identifier,sv\r\np,\xE5\r\n") << u"it is not UTF-8 text."_s;
    }

    void csvRefused()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, message);
        try {
            ReadCsv(bytes, u"t.csv"_s);
            QFAIL("no error");
        } catch (const EDocumentError &e) {
            QCOMPARE(e.message(), u"The file \"t.csv\" is not a table of names: "_s + message);
        }
    }

    void exportThenImportChangesNothing()
    {
        const TViraGlyphbook book =
            library({u"pump:sv=Pump;en=Pump, \"big\""_s,
                     u"valve:en=Valve;de=Ventil\nzu;en=Second"_s, u"frame:"_s, u":fi=Nimetön"_s});
        const QByteArray table = ExportNames(book);
        QCOMPARE(table, Bom + "Identifier,sv,en,de,fi\r\n"
                              "pump,Pump,\"Pump, \"\"big\"\"\",,\r\n"
                              "valve,,Valve,\"Ventil\nzu\",\r\n"
                              "frame,,,,\r\n"
                              ",,,,Nimet\xC3\xB6n\r\n");
        const TNamesImport import = PlanNamesImport(book, table, u"t.csv"_s);
        QVERIFY(import.Changes.isEmpty());
        QVERIFY(import.Unknown.isEmpty());
        QVERIFY(import.NewLanguages.isEmpty());
    }

    // A cell that a spreadsheet would run as a formula is written as text, and the import gives
    // back exactly what the library held.
    void formulasAreWrittenAsText_data()
    {
        QTest::addColumn<QString>("identifier");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("row");
        QTest::newRow("equals") << u"p"_s << u"=1+1"_s << QByteArray("p,'=1+1");
        QTest::newRow("plus") << u"p"_s << u"+49 30"_s << QByteArray("p,'+49 30");
        QTest::newRow("minus") << u"p"_s << u"-5 \u00B0C"_s
                               << QByteArray("p,'-5 \xC2\xB0"
                                             "C");
        QTest::newRow("at") << u"p"_s << u"@SUM(A1)"_s << QByteArray("p,'@SUM(A1)");
        QTest::newRow("tab") << u"p"_s << u"\tx"_s << QByteArray("p,'\tx");
        QTest::newRow("carriage return") << u"p"_s << u"\rx"_s << QByteArray("p,\"'\rx\"");
        QTest::newRow("formula with quotes and commas")
            << u"p"_s << u"=HYPERLINK(\"http://x\",\"y\")"_s
            << QByteArray("p,\"'=HYPERLINK(\"\"http://x\"\",\"\"y\"\")\"");
        QTest::newRow("an apostrophe of the name's own")
            << u"p"_s << u"'quoted'"_s << QByteArray("p,''quoted'");
        QTest::newRow("an apostrophe before a formula sign")
            << u"p"_s << u"'=x"_s << QByteArray("p,''=x");
        QTest::newRow("only an apostrophe") << u"p"_s << u"'"_s << QByteArray("p,''");
        QTest::newRow("a sign after the start") << u"p"_s << u"a=b-c"_s << QByteArray("p,a=b-c");
        QTest::newRow("an identifier") << u"-pump"_s << u"Pump"_s << QByteArray("'-pump,Pump");
    }

    void formulasAreWrittenAsText()
    {
        QFETCH(QString, identifier);
        QFETCH(QString, name);
        QFETCH(QByteArray, row);
        TViraGlyphbook book = library({u"x:en=X"_s});
        book.Symbols[0]->Identifier = identifier;
        book.Symbols[0]->Names[0].Value = name;
        const QByteArray table = ExportNames(book);
        QCOMPARE(table, Bom + "Identifier,en\r\n" + row + "\r\n");
        QVERIFY(PlanNamesImport(book, table, u"t.csv"_s).Changes.isEmpty());

        // Into a library that lacks the name, the import sets it as it was.
        book.Symbols[0]->Names[0].Value = u"other"_s;
        const TNamesImport import = PlanNamesImport(book, table, u"t.csv"_s);
        QCOMPARE(import.Changes.size(), 1);
        QCOMPARE(import.Changes[0].After, name);
    }

    void import_data()
    {
        QTest::addColumn<QByteArray>("table");
        QTest::addColumn<QStringList>("changes");
        QTest::addColumn<QStringList>("names"); // each symbol's names afterwards
        QTest::addColumn<QStringList>("newLanguages");
        QTest::addColumn<QStringList>("unknown");
        QTest::newRow("set, keep on empty, add a language, skip unknown")
            << QByteArray("Identifier,en,fi\r\npump,Pump 2,\r\nghost,x,y\r\nvalve,,Venttiili\r\n")
            << QStringList{u"0 en Pump>Pump 2"_s, u"1 fi >Venttiili"_s}
            << QStringList{u"en=Pump 2,sv=Pump,en=Pump second"_s, u"en=Valve,fi=Venttiili"_s}
            << QStringList{u"fi"_s} << QStringList{u"ghost@3"_s};
        QTest::newRow("columns in another order, short rows, blank lines")
            << QByteArray("Identifier,sv,en\r\n\r\nvalve,Ventil\r\npump\r\n")
            << QStringList{u"1 sv >Ventil"_s}
            << QStringList{u"en=Pump,sv=Pump,en=Pump second"_s, u"en=Valve,sv=Ventil"_s}
            << QStringList() << QStringList();
        // Only the apostrophe that the export puts before a cell is taken off.
        QTest::newRow("an apostrophe a translator typed")
            << QByteArray("Identifier,en\r\nvalve,'Valve'\r\n")
            << QStringList{u"1 en Valve>'Valve'"_s}
            << QStringList{u"en=Pump,sv=Pump,en=Pump second"_s, u"en='Valve'"_s} << QStringList()
            << QStringList();
    }

    void import()
    {
        QFETCH(QByteArray, table);
        QFETCH(QStringList, changes);
        QFETCH(QStringList, names);
        QFETCH(QStringList, newLanguages);
        QFETCH(QStringList, unknown);
        TViraGlyphbook book =
            library({u"pump:en=Pump;sv=Pump;en=Pump second"_s, u"valve:en=Valve"_s});
        const TNamesImport import = PlanNamesImport(book, table, u"t.csv"_s);
        QStringList planned;
        for (const TNameChange &change : import.Changes) {
            QCOMPARE(change.Identifier, book.Symbols[change.Symbol]->Identifier);
            planned << u"%1 %2 %3>%4"_s.arg(change.Symbol)
                           .arg(change.Language, change.Before, change.After);
        }
        QCOMPARE(planned, changes);
        QCOMPARE(import.NewLanguages, newLanguages);
        QStringList skipped;
        for (const auto &[identifier, row] : import.Unknown)
            skipped << u"%1@%2"_s.arg(identifier).arg(row);
        QCOMPARE(skipped, unknown);

        ApplyNamesImport(book, import);
        QStringList after;
        for (const TViraSymbolPtr &symbol : book.Symbols) {
            QStringList pairs;
            for (const TStringPairs &name : std::as_const(symbol->Names))
                pairs << name.Name + u'=' + name.Value;
            after << pairs.join(u',');
        }
        QCOMPARE(after, names);
    }

    void importRefused_data()
    {
        QTest::addColumn<QByteArray>("table");
        QTest::addColumn<QString>("message");
        QTest::newRow("no header") << QByteArray("pump,Pump\r\n")
                                   << u"its first row must begin with the column \"Identifier\"."_s;
        QTest::newRow("empty") << QByteArray()
                               << u"its first row must begin with the column \"Identifier\"."_s;
        QTest::newRow("language twice")
            << QByteArray("Identifier,en,en\r\n") << u"the language \"en\" has two columns."_s;
        QTest::newRow("language without code")
            << QByteArray("Identifier,,en\r\n")
            << u"a column of its first row has no language code."_s;
        QTest::newRow("identifier twice in the table")
            << QByteArray("Identifier,en\r\nvalve,A\r\nvalve,B\r\n")
            << u"the identifier \"valve\" has two rows (2 and 3)."_s;
        QTest::newRow("identifier twice in the library")
            << QByteArray("Identifier,en\r\npump,A\r\n")
            << u"the identifier \"pump\" belongs to 2 symbols of the library, so its names cannot "
               "be told apart."_s;
        QTest::newRow("row too long") << QByteArray("Identifier,en\r\nvalve,A,B\r\n")
                                      << u"row 2 has more cells than the first row has columns."_s;
    }

    void importRefused()
    {
        QFETCH(QByteArray, table);
        QFETCH(QString, message);
        const TViraGlyphbook book = library({u"pump:"_s, u"valve:"_s, u"pump:"_s});
        try {
            PlanNamesImport(book, table, u"t.csv"_s);
            QFAIL("no error");
        } catch (const EDocumentError &e) {
            QCOMPARE(e.message(), u"The file \"t.csv\" is not a table of names: "_s + message);
        }
    }
};

QTEST_GUILESS_MAIN(TestNamesTable)
#include "tst_namestable.moc"
