#include "ToolRun.h"
#include "model/ViraSymbol.h"
#include "tests/TestFiles.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

class TestCli : public QObject
{
    Q_OBJECT

private slots:
    void formatNormalisesADocument()
    {
        QTemporaryDir dir;
        const QString in = dir.filePath(QStringLiteral("in.js"));
        const QString out = dir.filePath(QStringLiteral("out.js"));
        writeFile(in, "{GLYPHBOOK: [{Identifier: pump, ImageX: '$C', ImageY: 2,\n"
                      " NAME: {en: Pump, sv: ''}, Symbol: true, TextX: 1, TextY: 2}]}");
        const TRun run = runTool({QStringLiteral("format"), in, out});
        QCOMPARE(run.Err, QString());
        QCOMPARE(run.Status, 0);

        TViraGlyphbook book;
        QVERIFY(book.LoadFromFile(in));
        QCOMPARE(readFile(out), book.SaveToBytes());
        QCOMPARE(book.Symbols[0]->ImageX, 12);

        // In place: the normal form stays as it is.
        const TRun again = runTool({QStringLiteral("format"), out, out});
        QCOMPARE(again.Status, 0);
        QCOMPARE(readFile(out), book.SaveToBytes());
    }

    // The spreadsheet round trip as a translator makes it: export, edit, dry run, import.
    void namesForTranslators()
    {
        QTemporaryDir dir;
        const QString project = dir.filePath(QStringLiteral("lib.js"));
        const QString table = dir.filePath(QStringLiteral("names.csv"));
        // Hand-written: saving it would change its bytes.
        const QByteArray document =
            "{GLYPHBOOK: [{Identifier: pump, NAME: {en: 'Pump, big', sv: Pump}, Symbol: true,\n"
            " ImageX: 0, ImageY: 0, TextX: 0, TextY: 0},\n"
            " {Identifier: valve, NAME: {en: 'Valve \"V\"'}, Symbol: false, ImageX: 0, ImageY: "
            "0}]}";
        writeFile(project, document);

        TRun run = runTool({QStringLiteral("names"), QStringLiteral("export"), project, table});
        QCOMPARE(run.Status, 0);
        QCOMPARE(readFile(table), QByteArray("\xEF\xBB\xBFIdentifier,sv,en\r\n"
                                             "pump,Pump,\"Pump, big\"\r\n"
                                             "valve,,\"Valve \"\"V\"\"\"\r\n"));
        run = runTool({QStringLiteral("names"), QStringLiteral("import"), project, table});
        QCOMPARE(run.Status, 0);
        QCOMPARE(run.Out, QStringLiteral("Names changed: 0.\n"));
        QCOMPARE(readFile(project), document);

        // "-" is the standard output or input: a pipe, never a file of that name.
        const QStringList piped{QStringLiteral("names"), QStringLiteral("export"), project,
                                QStringLiteral("-")};
        run = runTool(piped, dir.path());
        QCOMPARE(run.Status, 0);
        QCOMPARE(run.Out, QString::fromUtf8(readFile(table)));
        const QByteArray renamed = "Identifier,sv\r\nvalve,Ventil\r\n";
        run = runTool({QStringLiteral("names"), QStringLiteral("import"), project,
                       QStringLiteral("-"), QStringLiteral("--dry-run")},
                      dir.path(), QProcessEnvironment::systemEnvironment(), renamed);
        QCOMPARE(run.Status, 0);
        QVERIFY2(run.Out.startsWith(QStringLiteral("symbol 2 \"valve\", sv: \"\" becomes")),
                 qPrintable(run.Out));
        QVERIFY(!QFile::exists(dir.filePath(QStringLiteral("-"))));
        QCOMPARE(readFile(project), document);

        writeFile(table, "\xEF\xBB\xBFIdentifier,sv,de\r\nvalve,Ventil,\r\nghost,x,y\r\n"
                         "pump,,\"Pumpe\r\ngro\xC3\x9F\"\r\n");
        const QStringList import{QStringLiteral("names"), QStringLiteral("import"), project, table};
        const QString changes =
            QStringLiteral("symbol 2 \"valve\", sv: \"\" becomes \"Ventil\"\n"
                           "symbol 1 \"pump\", de: \"\" becomes \"Pumpe\r\ngro\u00DF\"\n");
        const QString skipped =
            QStringLiteral("glyphbook: row 3: no symbol has the identifier \"ghost\"; skipped.\n");
        run = runTool(import + QStringList{QStringLiteral("--dry-run")});
        QCOMPARE(run.Status, 0);
        QCOMPARE(run.Err, skipped);
        QCOMPARE(run.Out, changes + QStringLiteral("Names that would change: 2; languages that "
                                                   "would be added: de.\n"));
        QCOMPARE(readFile(project), document);

        run = runTool(import);
        QCOMPARE(run.Status, 0);
        QCOMPARE(run.Err, skipped);
        QCOMPARE(run.Out, changes + QStringLiteral("Names changed: 2; languages added: de.\n"));
        TViraGlyphbook book;
        QVERIFY(book.LoadFromFile(project));
        QCOMPARE(book.Symbols[0]->FindName(QStringLiteral("de")),
                 QStringLiteral("Pumpe\r\ngro\u00DF"));
        QCOMPARE(book.Symbols[1]->FindName(QStringLiteral("sv")), QStringLiteral("Ventil"));
        QCOMPARE(book.Symbols[0]->FindName(QStringLiteral("en")), QStringLiteral("Pump, big"));

        // A table the import cannot use changes nothing.
        const QByteArray saved = readFile(project);
        writeFile(table, "Identifier,en\r\npump,A\r\npump,B\r\n");
        run = runTool(import);
        QCOMPARE(run.Status, 1);
        QCOMPARE(run.Err, QStringLiteral("glyphbook: The file \"%1\" is not a table of names: the "
                                         "identifier \"pump\" has two rows (2 and 3).\n")
                              .arg(table));
        QCOMPARE(readFile(project), saved);
        run = runTool({QStringLiteral("names"), QStringLiteral("translate"), project, table});
        QCOMPARE(run.Status, 2);
    }

    void errors_data()
    {
        QTest::addColumn<QString>("commandLine"); // "@" stands for a temporary folder
        QTest::addColumn<QByteArray>("input");    // written to in.js when not empty
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("message");
        QTest::newRow("missing input") << "format @/missing.js @/out.js" << QByteArray() << 1
                                       << "Cannot open file \"@/missing.js\". The file does not "
                                          "exist.";
        QTest::newRow("bad integer")
            << "format @/in.js @/out.js" << QByteArray(R"({"GLYPHBOOK": [{"ImageX": "a"}]})") << 1
            << "'a' is not a valid integer value";
        QTest::newRow("parse failure") << "format @/in.js @/out.js" << QByteArray("[1,") << 1
                                       << "The file \"@/in.js\" is not a library document: the "
                                          "text ends inside a value at line 2, column 1.";
        QTest::newRow("cannot create")
            << "format @/in.js @/none/out.js" << QByteArray(R"({"GLYPHBOOK": []})") << 1
            << "Cannot create file \"@/none/out.js\".";
        QTest::newRow("one file") << "format @/in.js" << QByteArray() << 2
                                  << "format expects IN.js and OUT.js";
        QTest::newRow("no command") << "" << QByteArray() << 2 << "no command given";
        QTest::newRow("unknown command")
            << "frobnicate" << QByteArray() << 2 << "unknown command 'frobnicate'";
        QTest::newRow("unknown option")
            << "--frob" << QByteArray() << 2 << "Unknown option 'frob'.";
        QTest::newRow("unknown option of a command")
            << "format --frob @/in.js @/out.js" << QByteArray() << 2 << "Unknown option 'frob'.";
        QTest::newRow("missing argument")
            << "pack @/in.js" << QByteArray() << 2 << "pack expects PROJECT.js and ARCHIVE";
        QTest::newRow("extract a document")
            << "extract @/in.js" << QByteArray(R"({"GLYPHBOOK": []})") << 1
            << "The file \"@/in.js\" is not gzip-compressed.";
    }

    void errors()
    {
        QFETCH(QString, commandLine);
        QFETCH(QByteArray, input);
        QFETCH(int, status);
        QFETCH(QString, message);
        QTemporaryDir dir;
        const QStringList arguments =
            commandLine.replace(u'@', dir.path()).split(u' ', Qt::SkipEmptyParts);
        message.replace(u'@', dir.path());
        if (!input.isEmpty())
            writeFile(dir.filePath(QStringLiteral("in.js")), input);

        const TRun run = runTool(arguments);
        QCOMPARE(run.Status, status);
        QVERIFY2(run.Err.startsWith(QStringLiteral("glyphbook: ") + message), qPrintable(run.Err));
        QVERIFY(!QFile::exists(dir.filePath(QStringLiteral("out.js"))));
    }

    void helpAndVersion()
    {
        const TRun version = runTool({QStringLiteral("--version")});
        QCOMPARE(version.Status, 0);
        QCOMPARE(version.Out.trimmed(), QStringLiteral("glyphbook 1.03"));

        const TRun help = runTool({QStringLiteral("--help")});
        QCOMPARE(help.Status, 0);
        QVERIFY(help.Out.contains(QStringLiteral("format")));

        const TRun formatHelp = runTool({QStringLiteral("format"), QStringLiteral("--help")});
        QCOMPARE(formatHelp.Status, 0);
        QVERIFY2(formatHelp.Out.contains(QStringLiteral("format IN.js OUT.js")),
                 qPrintable(formatHelp.Out));
    }
};

QTEST_GUILESS_MAIN(TestCli)
#include "tst_cli.moc"
