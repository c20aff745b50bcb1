// glyphbook sheet, run as a pipeline runs it: without a display, files named on the command line.
#include "ToolRun.h"
#include "tests/TestFiles.h"

#include <QImage>
#include <QProcessEnvironment>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace
{

/// A project of count symbols, each showing pump.png beside it, the first with a missing
/// state picture.
QByteArray project(int count)
{
    QByteArray text = "{GLYPHBOOK: [";
    for (int i = 0; i < count; ++i)
        text += "{Identifier: s" + QByteArray::number(i) +
                ", Image: 'pump.png', ImageX: 4, ImageY: 4, Symbol: 'true', TextX: 0, TextY: 12,"
                " NAME: {en: Pump, sv: Pump}, StateImages: [{Value: '1', Image: '" +
                (i == 0 ? "gone.png" : "pump.png") + "'}]},";
    text.chop(count > 0 ? 1 : 0);
    return text + "]}";
}

} // namespace

class TestSheetCli : public QObject
{
    Q_OBJECT

    QTemporaryDir FDir;
    QString FRoot;

private slots:
    void init()
    {
        static int n = 0;
        FRoot = FDir.filePath(QString::number(++n));
        QImage image(8, 8, QImage::Format_RGB32);
        image.fill(Qt::darkCyan);
        QDir().mkpath(FRoot);
        QVERIFY(image.save(FRoot + u"/pump.png"_s));
    }

    void writesTheSheet_data()
    {
        QTest::addColumn<int>("symbols");
        QTest::addColumn<QString>("target");
        QTest::addColumn<QStringList>("written");
        QTest::newRow("html") << 3 << u"out.html"_s << QStringList{u"out.html"_s};
        QTest::newRow("html, many symbols") << 31 << u"out.htm"_s << QStringList{u"out.htm"_s};
        QTest::newRow("one page") << 30 << u"out.png"_s << QStringList{u"out.png"_s};
        QTest::newRow("two pages")
            << 31 << u"out.png"_s << QStringList{u"out-001.png"_s, u"out-002.png"_s};
        QTest::newRow("empty library") << 0 << u"out.png"_s << QStringList{u"out.png"_s};
    }

    void writesTheSheet()
    {
        QFETCH(int, symbols);
        QFETCH(QString, target);
        QFETCH(QStringList, written);
        writeFile(FRoot + u"/lib.js"_s, project(symbols));
        // No display, and a platform that would need one: the sheet does without.
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.remove(u"DISPLAY"_s);
        environment.remove(u"WAYLAND_DISPLAY"_s);
        environment.insert(u"QT_QPA_PLATFORM"_s, u"xcb"_s);
        const TRun run = runTool({u"sheet"_s, u"lib.js"_s, target}, FRoot, environment);
        QCOMPARE(run.Err, QString());
        QCOMPARE(run.Status, 0);
        QCOMPARE(run.Out.split(u'\n', Qt::SkipEmptyParts), written);

        QStringList expected = written;
        expected.prepend(u"lib.js"_s);
        expected.append(u"pump.png"_s);
        QCOMPARE(QDir(FRoot).entryList(QDir::Files, QDir::Name), [&] {
            expected.sort();
            return expected;
        }());
        for (const QString &file : written) {
            const QByteArray bytes = readFile(FRoot + u'/' + file);
            if (file.endsWith(u".png"_s)) {
                QVERIFY(!QImage::fromData(bytes, "PNG").isNull());
            } else {
                QCOMPARE(bytes.count("<figure "), symbols);
                QCOMPARE(bytes.contains("missing image file &quot;gone.png&quot;"), symbols > 0);
            }
        }
    }

    void refusesWhatItCannotDo_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("error");
        QTest::newRow("unknown kind of sheet")
            << QStringList{u"lib.js"_s, u"out.pdf"_s} << 2
            << u"sheet writes an .html or a .png file, not \"out.pdf\"."_s;
        QTest::newRow("no target") << QStringList{u"lib.js"_s} << 2
                                   << u"sheet expects PROJECT.js and OUT.html or OUT.png"_s;
        QTest::newRow("no project") << QStringList{u"none.js"_s, u"out.html"_s} << 1
                                    << u"Cannot open file \"none.js\". The file does not exist."_s;
        // Written over one of the library's own pictures, the sheet would destroy it.
        QTest::newRow("over a picture of the library")
            << QStringList{u"lib.js"_s, u"pump.png"_s} << 1
            << u"Cannot write file \"pump.png\". It is one of the library's pictures."_s;
        QTest::newRow("over the project")
            << QStringList{u"lib.html"_s, u"lib.html"_s} << 1
            << u"Cannot write file \"lib.html\". It is the project itself."_s;
    }

    void refusesWhatItCannotDo()
    {
        QFETCH(QStringList, arguments);
        QFETCH(int, status);
        QFETCH(QString, error);
        writeFile(FRoot + u"/lib.js"_s, project(2));
        writeFile(FRoot + u"/lib.html"_s, project(2));
        const auto before = snapshot(FRoot);
        const TRun run = runTool(QStringList{u"sheet"_s} + arguments, FRoot);
        QCOMPARE(run.Status, status);
        QVERIFY2(run.Err.contains(error), qPrintable(run.Err));
        QCOMPARE(run.Out, QString());
        QCOMPARE(snapshot(FRoot), before);
    }

    // Pages are put in place only when every one was written: a page that cannot be replaced
    // leaves the earlier sheet whole.
    void pagesAreReplacedTogetherOrNotAtAll()
    {
        writeFile(FRoot + u"/lib.js"_s, project(31));
        writeFile(FRoot + u"/out-001.png"_s, "earlier page");
        QVERIFY(QDir().mkpath(FRoot + u"/out-002.png"_s));
        const auto before = snapshot(FRoot, QDir::AllEntries);
        const TRun run = runTool({u"sheet"_s, u"lib.js"_s, u"out.png"_s}, FRoot);
        QCOMPARE(run.Status, 1);
        QVERIFY2(run.Err.contains(u"\"out-002.png\". It is a folder."_s), qPrintable(run.Err));
        QCOMPARE(run.Out, QString());
        QCOMPARE(snapshot(FRoot, QDir::AllEntries), before);

        QVERIFY(QDir(FRoot + u"/out-002.png"_s).removeRecursively());
        const TRun again = runTool({u"sheet"_s, u"lib.js"_s, u"out.png"_s}, FRoot);
        QCOMPARE(again.Status, 0);
        QCOMPARE(again.Out, u"out-001.png\nout-002.png\n"_s);
        QVERIFY(!QImage::fromData(readFile(FRoot + u"/out-002.png"_s), "PNG").isNull());
        QVERIFY(!QImage::fromData(readFile(FRoot + u"/out-001.png"_s), "PNG").isNull());
        // The work folder goes with the run.
        QCOMPARE(QDir(FRoot).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
                 (QStringList{u"lib.js"_s, u"out-001.png"_s, u"out-002.png"_s, u"pump.png"_s}));
    }
};

QTEST_MAIN(TestSheetCli)
#include "tst_sheetcli.moc"
