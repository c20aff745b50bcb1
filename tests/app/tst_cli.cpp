#include "ToolRun.h"
#include "model/ViraSymbol.h"
#include "tests/SmallDisk.h"
#include "tests/TestFiles.h"

#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <cerrno>
#include <cstring>

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

    // No command that writes a file writes it over the project or one of its pictures, by
    // whatever name the output is given; nothing at all is written then.
    void writersRefuseTheProjectsOwnFiles_data()
    {
        QTest::addColumn<QString>("commandLine");
        QTest::addColumn<QString>("message");
        const QString project = QStringLiteral("It is the project itself.");
        const QString picture = QStringLiteral("It is one of the library's pictures.");
        QTest::newRow("names export over the project")
            << "names export lib.js lib.js"
            << QStringLiteral("Cannot write file \"lib.js\". ") + project;
        QTest::newRow("names export through a link to the project")
            << "names export lib.js alias.csv"
            << QStringLiteral("Cannot write file \"alias.csv\". ") + project;
        QTest::newRow("names export by a folder and \"..\"")
            << "names export lib.js sub/../lib.js" << project;
        // "deep" leads to art/inner: "deep/../.." is this folder, though it reads as its parent.
        QTest::newRow("names export by \"..\" after a link")
            << "names export lib.js deep/../../lib.js" << project;
        QTest::newRow("names export over a picture") << "names export lib.js pump.png" << picture;
        QTest::newRow("names export through a link to a missing picture")
            << "names export lib.js dangling.png" << picture;
        QTest::newRow("sheet through a link to a picture") << "sheet lib.js alias.png" << picture;
        QTest::newRow("sheet through a link to a missing picture")
            << "sheet lib.js dangling.png" << picture;
        QTest::newRow("sheet by \"..\" after a link")
            << "sheet lib.js deep/../inner/run.png" << picture;
        QTest::newRow("pack through a link to the project")
            << "pack --yes lib.js alias.csv" << QStringLiteral("it is the project document.");
        QTest::newRow("pack through a link to a missing picture")
            << "pack --yes lib.js dangling.png" << QStringLiteral("it is an image of the library.");
        QTest::newRow("format over a picture") << "format lib.js pump.png" << picture;
        QTest::newRow("format through a link to a picture") << "format lib.js alias.png" << picture;
        QTest::newRow("format through a link to a missing picture")
            << "format lib.js dangling.png" << picture;
    }

    void writersRefuseTheProjectsOwnFiles()
    {
        QFETCH(QString, commandLine);
        QFETCH(QString, message);
        QTemporaryDir dir;
        const QString root = dir.path();
        QByteArray document = "{GLYPHBOOK: [{Identifier: pump, Image: 'pump.png', ImageX: 0, "
                              "ImageY: 0, Symbol: 'true', TextX: 0, TextY: 0, NAME: {en: Pump}, "
                              "StateImages: [{Value: '1', Image: 'ROOT/art/inner/run.png'}, "
                              "{Value: '2', Image: 'gone.png'}]}]}";
        document.replace("ROOT", QFile::encodeName(root));
        writeFile(root + QStringLiteral("/lib.js"), document);
        writeFile(root + QStringLiteral("/pump.png"), "pump");
        writeFile(root + QStringLiteral("/art/inner/run.png"), "run");
        QVERIFY(QDir().mkpath(root + QStringLiteral("/sub")));
        QVERIFY(QFile::link(QStringLiteral("lib.js"), root + QStringLiteral("/alias.csv")));
        QVERIFY(QFile::link(QStringLiteral("pump.png"), root + QStringLiteral("/alias.png")));
        QVERIFY(QFile::link(QStringLiteral("gone.png"), root + QStringLiteral("/dangling.png")));
        QVERIFY(QFile::link(QStringLiteral("art/inner"), root + QStringLiteral("/deep")));
        const auto before = snapshot(root, QDir::AllEntries);

        const TRun run = runTool(commandLine.split(u' '), root);
        QCOMPARE(run.Status, 1);
        QVERIFY2(run.Err.startsWith(QStringLiteral("glyphbook: ")) && run.Err.contains(message),
                 qPrintable(run.Err));
        QCOMPARE(run.Out, QString());
        QCOMPARE(snapshot(root, QDir::AllEntries), before);
        QVERIFY(!QFileInfo::exists(root + QStringLiteral("/gone.png")));
    }

    // A save that fails claims no change: the project stays, and nothing says it changed.
    void namesImportReportsOnlyWhatItSaved()
    {
        QTemporaryDir dir;
        const QString folder = dir.filePath(QStringLiteral("small"));
        QVERIFY(QDir().mkpath(folder));
        TSmallDisk disk(folder, 64 * 1024);
        if (!disk.IsMounted())
            QSKIP("only the administrator can mount a small file system");
        const QByteArray document = "{GLYPHBOOK: [{Identifier: pump, NAME: {en: Pump}, Symbol: "
                                    "false, ImageX: 0, ImageY: 0}]}";
        writeFile(folder + QStringLiteral("/lib.js"), document);
        writeFile(folder + QStringLiteral("/names.csv"), "Identifier,en\r\npump,Big pump\r\n");
        QFile filler(folder + QStringLiteral("/filler"));
        QVERIFY(filler.open(QIODevice::WriteOnly));
        while (filler.write(QByteArray(4096, 'f')) > 0 && filler.flush()) {
        }
        filler.close();

        const TRun run = runTool({QStringLiteral("names"), QStringLiteral("import"),
                                  QStringLiteral("lib.js"), QStringLiteral("names.csv")},
                                 folder);
        QCOMPARE(run.Status, 1);
        QCOMPARE(run.Out, QString());
        QVERIFY2(run.Err.contains(QString::fromLocal8Bit(std::strerror(ENOSPC))),
                 qPrintable(run.Err));
        QCOMPARE(readFile(folder + QStringLiteral("/lib.js")), document);
    }

    void errors_data()
    {
        // "@" stands for a temporary folder; leading NAME=value words set the environment.
        QTest::addColumn<QString>("commandLine");
        QTest::addColumn<QByteArray>("input"); // written to in.js when not empty
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
        // Only the window installs a translator.
        QTest::newRow("parse failure in a German session")
            << "LANGUAGE=de LANG=de_DE.UTF-8 format @/in.js @/out.js" << QByteArray("[1,") << 1
            << "The file \"@/in.js\" is not a library document: the text ends inside a value at "
               "line 2, column 1.";
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
        // A document's string may hold a NUL; the message goes on past it.
        QTest::newRow("NUL in an image path")
            << "pack @/in.js @/out.tar.gz"
            << QByteArray(
                   R"({"GLYPHBOOK": [{"Identifier": "a", "Image": "a\u0000b.png", "ImageX": 0, "ImageY": 0}]})")
            << 1 << "File \"a\\x00b.png\" is missing\n";
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
        QStringList arguments =
            commandLine.replace(u'@', dir.path()).split(u' ', Qt::SkipEmptyParts);
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        while (!arguments.isEmpty() && arguments.first().contains(u'=')) {
            const QString setting = arguments.takeFirst();
            environment.insert(setting.section(u'=', 0, 0), setting.section(u'=', 1));
        }
        message.replace(u'@', dir.path());
        if (!input.isEmpty())
            writeFile(dir.filePath(QStringLiteral("in.js")), input);

        const TRun run = runTool(arguments, QString(), environment);
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

    // A library file in the folder the tool runs in is never loaded in place of the system's.
    void ignoresLibrariesInTheCurrentFolder()
    {
        QTemporaryDir dir;
        for (const char *name : {"libz.so.1", "libQt6Core.so.6", "libQt6Gui.so.6"})
            writeFile(dir.filePath(QString::fromLatin1(name)), "not a library");
        const QStringList runs[] = {{QStringLiteral("--version")},
                                    {QStringLiteral("check"), QStringLiteral("--help")}};
        for (const QStringList &arguments : runs) {
            const TRun run = runTool(arguments, dir.path());
            QVERIFY2(run.Status == 0, qPrintable(run.Err));
        }
    }

    // check, sheet and diff run in a second program beside the tool, also after "--"; a tool
    // copied without it says so, and its other commands still work.
    void pictureCommandsWithoutTheirProgram()
    {
        QTemporaryDir dir;
        const QString project = dir.filePath(QStringLiteral("lib.js"));
        writeFile(project, "{GLYPHBOOK: [{Identifier: pump, ImageX: 1, ImageY: 2,\n"
                           " NAME: {en: Pump}, Symbol: true, TextX: 1, TextY: 2}]}");
        const TRun checked = runTool({QStringLiteral("--"), QStringLiteral("check"), project});
        QCOMPARE(checked.Status, 1);
        QCOMPARE(checked.Out, QStringLiteral("missing image file \"\" (symbol 1 \"pump\")\n"));
        // The sheet draws text, for which its program sets Qt's GUI side up, "--" or not.
        const QString sheet = dir.filePath(QStringLiteral("sheet.html"));
        const TRun drawn = runTool({QStringLiteral("--"), QStringLiteral("sheet"), project, sheet});
        QCOMPARE(drawn.Status, 0);
        QVERIFY(QFileInfo(sheet).size() > 0);

        const QString lone = dir.filePath(QStringLiteral("glyphbook"));
        QVERIFY(QFile::copy(QStringLiteral(GLYPHBOOK_CLI), lone));
        QProcess process;
        process.start(lone, {QStringLiteral("check"), project});
        QVERIFY(process.waitForFinished(30000));
        QCOMPARE(process.exitCode(), 1);
        const QString err = QString::fromUtf8(process.readAllStandardError());
        QVERIFY2(err.startsWith(QStringLiteral("glyphbook: cannot run 'check'")), qPrintable(err));
        QVERIFY2(err.contains(QStringLiteral("installation is incomplete")), qPrintable(err));

        process.start(lone, {QStringLiteral("format"), project, project});
        QVERIFY(process.waitForFinished(30000));
        QCOMPARE(process.exitCode(), 0);
    }
};

QTEST_GUILESS_MAIN(TestCli)
#include "tst_cli.moc"
