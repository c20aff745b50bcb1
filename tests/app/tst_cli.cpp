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
