// glyphbook sheet, run as a pipeline runs it: without a display, files named on the command line.
#include "ToolRun.h"
#include "tests/TestFiles.h"

#include <QFile>
#include <QImage>
#include <QProcessEnvironment>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace
{

/// A project of count symbols, each showing pump.png beside it and statePicture as its state
/// picture, but the one at missingAt, whose state picture is missing.
QByteArray project(int count, int missingAt = 0, const QByteArray &statePicture = "pump.png")
{
    QByteArray text = "{GLYPHBOOK: [";
    for (int i = 0; i < count; ++i)
        text += "{Identifier: s" + QByteArray::number(i) +
                ", Image: 'pump.png', ImageX: 4, ImageY: 4, Symbol: 'true', TextX: 0, TextY: 12,"
                " NAME: {en: Pump, sv: Pump}, StateImages: [{Value: '1', Image: '" +
                (i == missingAt ? "gone.png" : statePicture) + "'}]},";
    text.chop(count > 0 ? 1 : 0);
    return text + "]}";
}

int figures(const QByteArray &html)
{
    return int(html.count("<figure "));
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
        QTest::addColumn<int>("missingAt");
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<QString>("target");
        QTest::addColumn<QStringList>("written");
        QTest::addColumn<int>("drawn");
        const QStringList findingsOnly{u"--findings-only"_s};
        QTest::newRow("html") << 3 << 0 << QStringList() << u"out.html"_s
                              << QStringList{u"out.html"_s} << 3;
        QTest::newRow("html, many symbols")
            << 31 << 0 << QStringList() << u"out.htm"_s << QStringList{u"out.htm"_s} << 31;
        QTest::newRow("html, as many as one file holds")
            << 500 << 0 << QStringList() << u"out.html"_s << QStringList{u"out.html"_s} << 500;
        QTest::newRow("html pages")
            << 501 << 500 << QStringList() << u"out.html"_s
            << QStringList{u"out.html"_s, u"out-001.html"_s, u"out-002.html"_s} << 501;
        QTest::newRow("one page") << 30 << 0 << QStringList() << u"out.png"_s
                                  << QStringList{u"out.png"_s} << 30;
        QTest::newRow("two pages") << 31 << 0 << QStringList() << u"out.png"_s
                                   << QStringList{u"out-001.png"_s, u"out-002.png"_s} << 31;
        QTest::newRow("empty library")
            << 0 << 0 << QStringList() << u"out.png"_s << QStringList{u"out.png"_s} << 0;
        QTest::newRow("findings only")
            << 501 << 500 << findingsOnly << u"out.html"_s << QStringList{u"out.html"_s} << 1;
        QTest::newRow("findings only, pictures")
            << 31 << 30 << findingsOnly << u"out.png"_s << QStringList{u"out.png"_s} << 1;
        QTest::newRow("findings only, nothing found")
            << 3 << -1 << findingsOnly << u"out.html"_s << QStringList{u"out.html"_s} << 0;
    }

    void writesTheSheet()
    {
        QFETCH(int, symbols);
        QFETCH(int, missingAt);
        QFETCH(QStringList, options);
        QFETCH(QString, target);
        QFETCH(QStringList, written);
        QFETCH(int, drawn);
        writeFile(FRoot + u"/lib.js"_s, project(symbols, missingAt));
        // No display, and a platform that would need one: the sheet does without.
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.remove(u"DISPLAY"_s);
        environment.remove(u"WAYLAND_DISPLAY"_s);
        environment.insert(u"QT_QPA_PLATFORM"_s, u"xcb"_s);
        const TRun run =
            runTool(QStringList{u"sheet"_s, u"lib.js"_s, target} + options, FRoot, environment);
        // Nothing but what matters on stderr: no progress line where there is no terminal.
        QCOMPARE(run.Err, drawn == 0 && symbols > 0
                              ? u"glyphbook: nothing was found, so the sheet shows no symbol.\n"_s
                              : QString());
        QCOMPARE(run.Status, 0);
        QCOMPARE(run.Out.split(u'\n', Qt::SkipEmptyParts), written);

        QStringList expected = written;
        expected.prepend(u"lib.js"_s);
        expected.append(u"pump.png"_s);
        QCOMPARE(QDir(FRoot).entryList(QDir::Files, QDir::Name), [&] {
            expected.sort();
            return expected;
        }());
        int cells = 0;
        for (const QString &file : written) {
            const QByteArray bytes = readFile(FRoot + u'/' + file);
            if (file.endsWith(u".png"_s))
                QVERIFY(!QImage::fromData(bytes, "PNG").isNull());
            else
                cells += figures(bytes);
        }
        if (target.endsWith(u".png"_s))
            return;
        QCOMPARE(cells, drawn);
        // The index, or the one file, lists the finding with a link to its symbol.
        const QByteArray first = readFile(FRoot + u'/' + written[0]);
        QCOMPARE(first.contains(
                     u"\">missing image file &quot;gone.png&quot; (symbol %1 "_s.arg(missingAt + 1)
                         .toUtf8()),
                 missingAt >= 0 && symbols > 0);
    }

    void refusesWhatItCannotDo_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("error");
        QTest::addColumn<int>("symbols");
        QTest::addColumn<QByteArray>("statePicture");
        QTest::newRow("unknown kind of sheet")
            << QStringList{u"lib.js"_s, u"out.pdf"_s} << 2
            << u"sheet writes an .html or a .png file, not \"out.pdf\"."_s << 2
            << QByteArray("pump.png");
        QTest::newRow("no target")
            << QStringList{u"lib.js"_s} << 2
            << u"sheet expects PROJECT.js and OUT.html or OUT.png"_s << 2 << QByteArray("pump.png");
        QTest::newRow("no project") << QStringList{u"none.js"_s, u"out.html"_s} << 1
                                    << u"Cannot open file \"none.js\". The file does not exist."_s
                                    << 2 << QByteArray("pump.png");
        // Written over one of the library's own pictures, the sheet would destroy it.
        QTest::newRow("over a picture of the library")
            << QStringList{u"lib.js"_s, u"pump.png"_s} << 1
            << u"Cannot write file \"pump.png\". It is one of the library's pictures."_s << 2
            << QByteArray("pump.png");
        QTest::newRow("over the project")
            << QStringList{u"lib.html"_s, u"lib.html"_s} << 1
            << u"Cannot write file \"lib.html\". It is the project itself."_s << 2
            << QByteArray("pump.png");
        QTest::newRow("threads not a number")
            << QStringList{u"lib.js"_s, u"out.png"_s, u"--threads"_s, u"many"_s} << 2
            << u"--threads expects a number of threads, not \"many\"."_s << 2
            << QByteArray("pump.png");
        // Each page is judged as the target is.
        QTest::newRow("a page over a picture of the library")
            << QStringList{u"lib.js"_s, u"out.png"_s} << 1
            << u"Cannot write file \"out-002.png\". It is one of the library's pictures."_s << 31
            << QByteArray("out-002.png");
        QTest::newRow("an html page over a picture of the library")
            << QStringList{u"lib.js"_s, u"out.html"_s} << 1
            << u"Cannot write file \"out-002.html\". It is one of the library's pictures."_s << 501
            << QByteArray("out-002.html");
    }

    void refusesWhatItCannotDo()
    {
        QFETCH(QStringList, arguments);
        QFETCH(int, status);
        QFETCH(QString, error);
        QFETCH(int, symbols);
        QFETCH(QByteArray, statePicture);
        writeFile(FRoot + u"/lib.js"_s, project(symbols, 0, statePicture));
        QVERIFY(
            QFile::copy(FRoot + u"/pump.png"_s, FRoot + u'/' + QString::fromUtf8(statePicture)) ||
            statePicture == "pump.png");
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
    void pagesAreReplacedTogetherOrNotAtAll_data()
    {
        QTest::addColumn<int>("symbols");
        QTest::addColumn<QString>("target");
        QTest::addColumn<QStringList>("written");
        QTest::newRow("pictures") << 31 << u"out.png"_s
                                  << QStringList{u"out-001.png"_s, u"out-002.png"_s};
        QTest::newRow("html") << 501 << u"out.html"_s
                              << QStringList{u"out.html"_s, u"out-001.html"_s, u"out-002.html"_s};
    }

    void pagesAreReplacedTogetherOrNotAtAll()
    {
        QFETCH(int, symbols);
        QFETCH(QString, target);
        QFETCH(QStringList, written);
        writeFile(FRoot + u"/lib.js"_s, project(symbols));
        const QString blocked = written.last();
        for (const QString &file : written)
            if (file != blocked)
                writeFile(FRoot + u'/' + file, "earlier page");
        QVERIFY(QDir().mkpath(FRoot + u'/' + blocked));
        const auto before = snapshot(FRoot, QDir::AllEntries);
        const TRun run = runTool({u"sheet"_s, u"lib.js"_s, target}, FRoot);
        QCOMPARE(run.Status, 1);
        QVERIFY2(run.Err.contains(u"\"%1\". It is a folder."_s.arg(blocked)), qPrintable(run.Err));
        QCOMPARE(run.Out, QString());
        QCOMPARE(snapshot(FRoot, QDir::AllEntries), before);

        QVERIFY(QDir(FRoot + u'/' + blocked).removeRecursively());
        const TRun again = runTool({u"sheet"_s, u"lib.js"_s, target}, FRoot);
        QCOMPARE(again.Status, 0);
        QCOMPARE(again.Out, written.join(u'\n') + u'\n');
        for (const QString &file : written) {
            const QByteArray bytes = readFile(FRoot + u'/' + file);
            QVERIFY2(file.endsWith(u".png"_s) ? !QImage::fromData(bytes, "PNG").isNull()
                                              : bytes.startsWith("<!DOCTYPE html>"),
                     qPrintable(file));
        }
        // The work folder goes with the run.
        QStringList left = written + QStringList{u"lib.js"_s, u"pump.png"_s};
        left.sort();
        QCOMPARE(QDir(FRoot).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
                 left);
    }

    // Cells are drawn on several threads, and the files are the same whatever their number.
    void sameFilesWhateverTheThreadCount_data()
    {
        QTest::addColumn<int>("symbols");
        QTest::addColumn<QString>("target");
        QTest::newRow("html pages") << 501 << u"out.html"_s;
        QTest::newRow("pictures") << 61 << u"out.png"_s;
    }

    void sameFilesWhateverTheThreadCount()
    {
        QFETCH(int, symbols);
        QFETCH(QString, target);
        writeFile(FRoot + u"/lib.js"_s, project(symbols, symbols / 2));
        QMap<QString, QByteArray> first;
        for (const QString &threads : {u"1"_s, u"3"_s}) {
            const TRun run =
                runTool({u"sheet"_s, u"lib.js"_s, target, u"--threads"_s, threads}, FRoot);
            QCOMPARE(run.Status, 0);
            const auto files = snapshot(FRoot);
            QVERIFY(files.size() > 3);
            if (first.isEmpty())
                first = files;
            else
                QVERIFY(files == first);
        }
    }
};

QTEST_MAIN(TestSheetCli)
#include "tst_sheetcli.moc"
