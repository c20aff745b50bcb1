// The command-line tool's pack, extract, list and check, run as a user runs them.
#include "JsonSchema.h"
#include "ToolRun.h"
#include "packing/GzipStream.h"
#include "packing/LibTar.h"
#include "tests/TestFiles.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <zlib.h>

using namespace Qt::StringLiterals;

namespace
{

// A project in the lenient document syntax: a symbol with a bare image name, an image in a
// sub-folder and one elsewhere with the same name.
const QByteArray Project = R"({GLYPHBOOK: [
 {Identifier: pump, Image: 'pump.png', ImageX: 1, ImageY: 2, NAME: {en: Pump}, Symbol: 'true',
  TextAlign: Left, TextX: 3, TextY: 4,
  StateImages: [{Value: '1', Image: 'ROOT/art/run.png'}, {Value: 'MO_Off', Image: 'ROOT/other/pump.png'}]},
 {Identifier: frame, Image: 'ROOT/art/frame.png', ImageX: 0, ImageY: 0, NAME: {}, Symbol: 'false'}
]})";

/// A small PNG file in its own colour.
QByteArray picture(int colour)
{
    QImage image(2, 2, QImage::Format_RGB32);
    image.fill(QColor::fromHsv(colour * 40 % 360, 200, 200));
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

/// A PNG file whose header claims a picture of width by height pixels, far more than its data:
/// no reader decodes it.
QByteArray claimedPicture(quint32 width, quint32 height)
{
    QByteArray bytes = picture(5);
    const auto put = [&](int at, quint32 value) {
        for (int i = 0; i < 4; ++i)
            bytes[at + i] = char(value >> (24 - 8 * i));
    };
    put(16, width); // in IHDR, after the signature, the chunk's length and its type
    put(20, height);
    put(29, quint32(crc32(0, reinterpret_cast<const Bytef *>(bytes.constData() + 12), 17)));
    return bytes;
}

/// Writes the bytes gzip-compressed into a new file at path.
void writeGzipped(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    TGzipWriter gzip(&file);
    gzip.write(bytes);
    gzip.Finish();
}

} // namespace

class TestPackCli : public QObject
{
    Q_OBJECT

    QTemporaryDir FDir;
    QString FRoot;

    QString project(const QByteArray &document = Project)
    {
        QByteArray text = document;
        text.replace("ROOT", QFile::encodeName(FRoot));
        writeFile(FRoot + u"/proj/lib.js"_s, text);
        return FRoot + u"/proj/lib.js"_s;
    }

private slots:
    void init()
    {
        static int n = 0;
        FRoot = FDir.filePath(QString::number(++n));
        writeFile(FRoot + u"/proj/pump.png"_s, "main image");
        writeFile(FRoot + u"/art/run.png"_s, "running");
        writeFile(FRoot + u"/other/pump.png"_s, "another pump");
        writeFile(FRoot + u"/art/frame.png"_s, QByteArray());
    }

    void packListExtract()
    {
        const QString proj = project();
        const QString archive = FRoot + u"/out/lib.tar.gz"_s;
        QDir().mkpath(FRoot + u"/out"_s);
        TRun run = runTool({u"pack"_s, proj, archive}, FRoot);
        QCOMPARE(run.Err, QString());
        QCOMPARE(run.Status, 0);

        run = runTool({u"list"_s, archive}, FRoot);
        QCOMPARE(run.Status, 0);
        const QStringList lines = run.Out.split(u'\n', Qt::SkipEmptyParts);
        QCOMPARE(lines.size(), 5);
        QVERIFY2(lines[0].startsWith(u"glyphbook.js  "_s), qPrintable(run.Out));
        QVERIFY2(
            QRegularExpression(u"^pump~2\\.png +12  \\d{4}-\\d\\d-\\d\\d \\d\\d:\\d\\d:\\d\\d$"_s)
                .match(lines.filter(u"pump~2"_s).value(0))
                .hasMatch(),
            qPrintable(run.Out));
        QVERIFY(!run.Out.contains(u"checksum"_s));

        run = runTool({u"extract"_s, u"out/lib.tar.gz"_s}, FRoot);
        QCOMPARE(run.Err, QString());
        QCOMPARE(run.Status, 0);
        QCOMPARE(run.Out, FRoot + u"/out/lib.js\n"_s);
        QCOMPARE(readFile(FRoot + u"/out/lib/pump~2.png"_s), QByteArray("another pump"));
        QVERIFY(readFile(FRoot + u"/out/lib.js"_s)
                    .contains(QFile::encodeName(FRoot) + "/out/lib/run.png"));

        // A second time, with nobody to ask: refused, unless --yes answers.
        writeFile(FRoot + u"/out/lib/extra.png"_s, "mine");
        run = runTool({u"extract"_s, archive}, FRoot);
        QCOMPARE(run.Status, 1);
        QVERIFY2(run.Err.contains(u"Nothing was changed; run with --yes"_s), qPrintable(run.Err));
        QCOMPARE(readFile(FRoot + u"/out/lib/extra.png"_s), QByteArray("mine"));
        run = runTool({u"pack"_s, proj, archive}, FRoot);
        QCOMPARE(run.Status, 1);
        QVERIFY2(run.Err.contains(u"lib.tar.gz\" already exists. Nothing was changed"_s),
                 qPrintable(run.Err));

        run = runTool({u"extract"_s, u"--yes"_s, archive}, FRoot);
        QCOMPARE(run.Status, 0);
        QVERIFY(!QFile::exists(FRoot + u"/out/lib/extra.png"_s));
        QCOMPARE(runTool({u"pack"_s, u"-y"_s, proj, archive}, FRoot).Status, 0);
    }

    void extractNeverReplacesThePackedProject()
    {
        // Packed beside its project, as the editor proposes: extracting there would replace it.
        const QString proj = project();
        const QString archive = FRoot + u"/proj/lib.tar.gz"_s;
        QCOMPARE(runTool({u"pack"_s, proj, archive}, FRoot).Status, 0);
        const QByteArray before = readFile(proj);
        TRun run = runTool({u"extract"_s, u"--yes"_s, archive}, FRoot);
        QCOMPARE(run.Status, 1);
        QVERIFY2(run.Err.startsWith(u"glyphbook: The project \"%1\" is not the result of an "
                                    u"earlier extraction"_s.arg(proj)),
                 qPrintable(run.Err));
        QVERIFY2(run.Err.endsWith(u"Extract into another folder with --into DIR.\n"_s),
                 qPrintable(run.Err));
        QCOMPARE(readFile(proj), before);
        QVERIFY(!QFileInfo::exists(FRoot + u"/proj/lib"_s));

        QDir().mkpath(FRoot + u"/out"_s);
        run = runTool({u"extract"_s, archive, u"--into"_s, u"out"_s}, FRoot);
        QCOMPARE(run.Err, QString());
        QCOMPARE(run.Status, 0);
        QCOMPARE(run.Out, FRoot + u"/out/lib.js\n"_s);
        QCOMPARE(readFile(FRoot + u"/out/lib/pump.png"_s), QByteArray("main image"));
        QCOMPARE(readFile(proj), before);
    }

    void packReportsMissingImage()
    {
        QFile::remove(FRoot + u"/art/run.png"_s);
        const TRun run = runTool({u"pack"_s, project(), u"lib.tar.gz"_s}, FRoot);
        QCOMPARE(run.Status, 1);
        QCOMPARE(run.Err, u"glyphbook: File \"%1/art/run.png\" is missing\n"_s.arg(FRoot));
        QVERIFY(!QFile::exists(FRoot + u"/lib.tar.gz"_s));
    }

    void listMarksWrongChecksum()
    {
        QByteArray tarBytes;
        {
            QBuffer buffer(&tarBytes);
            buffer.open(QIODevice::WriteOnly);
            TTarWriter tar(&buffer);
            tar.AddString("a", "good.png", QDateTime::fromSecsSinceEpoch(1700000000, Qt::UTC));
            tar.AddString("b", "bad.png", QDateTime::fromSecsSinceEpoch(1700000000, Qt::UTC));
            tar.Finalize();
        }
        tarBytes[1024 + 148 + 3] = '7'; // a digit of the second header's checksum
        writeGzipped(FRoot + u"/marked.tar.gz"_s, tarBytes);

        const TRun run = runTool({u"list"_s, u"marked.tar.gz"_s}, FRoot);
        QCOMPARE(run.Status, 0);
        QCOMPARE(run.Out, u"good.png           1  2023-11-14 22:13:20\n"
                          "bad.png            1  2023-11-14 22:13:20  checksum wrong\n"_s);
    }

    void listJson_data()
    {
        QTest::addColumn<QByteArray>("tar");
        QTest::addColumn<QStringList>("entries");
        QTest::addColumn<int>("status");
        const QDateTime time = QDateTime::fromSecsSinceEpoch(1700000000, Qt::UTC);
        const auto tarOf = [](const std::function<void(TTarWriter &)> &fill) {
            QByteArray bytes;
            QBuffer buffer(&bytes);
            buffer.open(QIODevice::WriteOnly);
            TTarWriter tar(&buffer);
            fill(tar);
            tar.Finalize();
            return bytes;
        };
        const QString entry =
            uR"({"checksumCorrect":%1,"name":"%2","size":%3,"time":"2023-11-14T22:13:20Z","type":"%4"})"_s;
        QByteArray marked = tarOf([&](TTarWriter &tar) {
            tar.AddString("a", "good.png", time);
            tar.AddString("bb", "bad.png", time);
        });
        marked[1024 + 148 + 3] = '7'; // a digit of the second header's checksum
        QTest::newRow("checksum wrong")
            << marked
            << QStringList{entry.arg(u"true"_s, u"good.png"_s, u"1"_s, u"file"_s),
                           entry.arg(u"false"_s, u"bad.png"_s, u"2"_s, u"file"_s)}
            << 0;
        QTest::newRow("kinds and names")
            << tarOf([&](TTarWriter &tar) {
                   tar.AddDir("folder/", time);
                   tar.AddSymbolicLink("link.png", "good.png", time);
                   tar.AddString({}, "say \"hi\"\x1b.png", time);
               })
            << QStringList{entry.arg(u"true"_s, u"folder/"_s, u"0"_s, u"directory"_s),
                           entry.arg(u"true"_s, u"link.png"_s, u"0"_s, u"symbolic-link"_s),
                           entry.arg(u"true"_s, uR"(say \"hi\"\\x1b.png)"_s, u"0"_s, u"file"_s)}
            << 0;
        QTest::newRow("empty") << tarOf([](TTarWriter &) {}) << QStringList() << 0;
        // The header's time is an unsigned count of seconds.
        QTest::newRow("time past 2^31")
            << tarOf([&](TTarWriter &tar) {
                   tar.AddString("a", "late.png",
                                 QDateTime::fromSecsSinceEpoch(1ll << 31, Qt::UTC));
                   tar.AddString("a", "last.png",
                                 QDateTime::fromSecsSinceEpoch(0xFFFFFFFFll, Qt::UTC));
               })
            << QStringList{uR"({"checksumCorrect":true,"name":"late.png","size":1,"time":"2038-01-19T03:14:08Z","type":"file"})"_s,
                           uR"({"checksumCorrect":true,"name":"last.png","size":1,"time":"2106-02-07T06:28:15Z","type":"file"})"_s}
            << 0;
        // The entries read before the damage are out; the document stays unfinished.
        QTest::newRow("cut short") << tarOf([&](TTarWriter &tar) {
                                          tar.AddString("a", "good.png", time);
                                          tar.AddString(QByteArray(2000, 'x'), "long.png", time);
                                      }).left(2048)
                                   << QStringList() << 1;
    }

    void listJson()
    {
        QFETCH(QByteArray, tar);
        QFETCH(QStringList, entries);
        QFETCH(int, status);
        QFile file(FRoot + u"/lib.tar.gz"_s);
        QVERIFY(file.open(QIODevice::WriteOnly));
        TGzipWriter gzip(&file);
        gzip.write(tar);
        gzip.Finish();
        if (status != 0)
            QVERIFY(file.resize(file.size() / 2));
        file.close();

        const TRun run = runTool({u"list"_s, u"--json"_s, u"lib.tar.gz"_s}, FRoot);
        QCOMPARE(run.Status, status);
        if (status != 0) {
            QVERIFY2(run.Err.startsWith(u"glyphbook: The file \"lib.tar.gz\" is damaged"_s),
                     qPrintable(run.Err));
            QVERIFY(QJsonDocument::fromJson(run.Out.toUtf8()).isNull());
            return;
        }
        QCOMPARE(run.Err, QString());
        const auto violation = schemaViolation(run.Out.toUtf8(), u"list"_s);
        QVERIFY2(!violation || violation->isEmpty(), qPrintable(violation.value_or(QString())));
        const QJsonObject root = QJsonDocument::fromJson(run.Out.toUtf8()).object();
        QCOMPARE(root[u"archive"].toString(), u"lib.tar.gz"_s);
        QStringList listed;
        for (const QJsonValue &value : root[u"entries"].toArray())
            listed << QString::fromUtf8(
                QJsonDocument(value.toObject()).toJson(QJsonDocument::Compact));
        QCOMPARE(listed, entries);
        if (!violation)
            QSKIP("python3-jsonschema is not installed (scripts/setup.sh installs it)");
    }

    void listEscapesAndStreams()
    {
        // More entries than the name column is measured on; names that would steer a terminal.
        QByteArray tarBytes;
        {
            QBuffer buffer(&tarBytes);
            buffer.open(QIODevice::WriteOnly);
            TTarWriter tar(&buffer);
            const QDateTime time = QDateTime::fromSecsSinceEpoch(1700000000, Qt::UTC);
            tar.AddString("a", "red\x1b[31m.png", time);
            tar.AddString("b", "\xff\xfe.png", time);
            for (int i = 0; i < 1500; ++i)
                tar.AddString({}, QByteArray::number(i) + ".png", time);
            tar.Finalize();
        }
        writeGzipped(FRoot + u"/many.tar.gz"_s, tarBytes);

        const TRun run = runTool({u"list"_s, u"many.tar.gz"_s}, FRoot);
        QCOMPARE(run.Status, 0);
        const QStringList lines = run.Out.split(u'\n', Qt::SkipEmptyParts);
        QCOMPARE(lines.size(), 1502);
        QCOMPARE(lines[0], u"red\\x1b[31m.png           1  2023-11-14 22:13:20"_s);
        QCOMPARE(lines[1], u"\\xff\\xfe.png              1  2023-11-14 22:13:20"_s);
        QCOMPARE(lines[1501], u"1499.png                  0  2023-11-14 22:13:20"_s);
    }

    void extractRefusesNamesItCannotUse_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("inTheWay"); // a file made beside the archive first
        const QString rename = u" Give the archive a name ending in .tar.gz."_s;
        QTest::newRow("no extension")
            << u"road"_s << u"the library folder would be the archive itself."_s + rename
            << QString();
        QTest::newRow("named like a document")
            << u"plant.js"_s << u"the project document would be the archive itself."_s + rename
            << QString();
        // The archive's name is right; the file is what has to go.
        QTest::newRow("a file where the library folder goes")
            << u"road.tar.gz"_s
            << u"the file \"ROOT/road\" stands where its library folder would be. Move or "
               "rename that file, or extract into another folder."_s
            << u"road"_s;
    }
    void extractRefusesNamesItCannotUse()
    {
        QFETCH(QString, name);
        QFETCH(QString, message);
        QFETCH(QString, inTheWay);
        writeGzipped(FRoot + u'/' + name, "not much");
        if (!inTheWay.isEmpty())
            writeFile(FRoot + u'/' + inTheWay, "mine");
        const TRun run = runTool({u"extract"_s, u"--yes"_s, name}, FRoot);
        QCOMPARE(run.Status, 1);
        QCOMPARE(run.Err, u"glyphbook: Cannot extract \"%1/%2\": %3\n"_s.arg(
                              FRoot, name, message.replace(u"ROOT"_s, FRoot)));
    }

    // A name typed without a suffix gets the archive's, as a save dialog gives it.
    void packNamesTheArchive_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("written"); // empty when the pack is refused
        QTest::newRow("no suffix") << u"out"_s << u"out.tar.gz"_s;
        QTest::newRow("in a folder") << u"dist/out"_s << u"dist/out.tar.gz"_s;
        QTest::newRow("a suffix of its own") << u"out.tgz"_s << u"out.tgz"_s;
        QTest::newRow("a plain tar name") << u"out.tar"_s << u"out.tar"_s;
        QTest::newRow("an existing folder") << u"dist"_s << QString();
    }
    void packNamesTheArchive()
    {
        QFETCH(QString, typed);
        QFETCH(QString, written);
        const QString proj = project();
        QVERIFY(QDir().mkpath(FRoot + u"/dist"_s));
        const TRun run = runTool({u"pack"_s, proj, typed}, FRoot);
        if (written.isEmpty()) {
            QCOMPARE(run.Status, 1);
            QVERIFY2(run.Err.contains(u"It is a folder."_s), qPrintable(run.Err));
            QVERIFY(!QFileInfo::exists(FRoot + u'/' + typed + u".tar.gz"_s));
            return;
        }
        QCOMPARE(run.Err, QString());
        QCOMPARE(run.Status, 0);
        QVERIFY(QFileInfo(FRoot + u'/' + written).isFile());
        QCOMPARE(QFileInfo::exists(FRoot + u'/' + typed), typed == written);
    }

    void listRefusesDamagedArchive()
    {
        writeFile(FRoot + u"/not.tar.gz"_s, "plain text");
        const TRun run = runTool({u"list"_s, u"not.tar.gz"_s}, FRoot);
        QCOMPARE(run.Status, 1);
        QCOMPARE(run.Err, u"glyphbook: The file \"not.tar.gz\" is not gzip-compressed.\n"_s);
    }

    void check_data()
    {
        QTest::addColumn<QByteArray>("document");
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<QStringList>("report");
        QTest::newRow("clean") << QByteArray(R"({GLYPHBOOK: [{Identifier: a, Image: 'pump.png',
            ImageX: 0, ImageY: 0, Symbol: 'true', TextX: 0, TextY: 0, NAME: {en: A},
            StateImages: [{Value: '$1F', Image: 'pump.png'}, {Value: Alarm, Image: 'ROOT/art/run.png'}]}]})")
                               << QStringList{u"--language"_s, u"en"_s} << QStringList();
        QTest::newRow("findings")
            << QByteArray(R"(
            {GLYPHBOOK: [{Identifier: a, Image: 'gone.png', ImageX: 0, ImageY: 0, Symbol: 'true',
             TextX: 0, TextY: 0, StateImages: [{Value: ' 1', Image: 'pump.png'}, {Value: '1 ', Image: 'pump.png'},
             {Value: 'mo', Image: 'ROOT/art/LONGNAME.png'}, {Value: '$1', Image: 'ROOT/art/broken.png'}]},
             {Identifier: a, Image: 'ROOT/other/pump.png', ImageX: 0, ImageY: 0, Symbol: 'false', NAME: {sv: A}},
             {Identifier: b, Image: 'ROOT/art/run.png', ImageX: 0, ImageY: 0, Symbol: 'false', NAME: {en: B}},
             {Identifier: a, Image: 'ROOT/art/run.png', ImageX: 0, ImageY: 0, Symbol: 'false'}]})")
            << QStringList{u"--language"_s, u"sv"_s}
            << QStringList{
                   u"repeated identifier \"a\" (symbol 1 \"a\")"_s,
                   u"no name in the language \"sv\" (symbol 1 \"a\")"_s,
                   u"missing image file \"gone.png\" (symbol 1 \"a\")"_s,
                   u"state value \"1 \" is neither an integer nor Alarm, MO_Off or MO (symbol 1 \"a\", state 2)"_s,
                   u"state value \"mo\" is neither an integer nor Alarm, MO_Off or MO (symbol 1 \"a\", state 3)"_s,
                   u"image name too long, shortened when packed: \"ROOT/art/LONGNAME.png\" becomes \"SHORTNAME.png\" (symbol 1 \"a\", state 3)"_s,
                   u"state value \"$1\" stands for the same state as state 1 (symbol 1 \"a\", state 4)"_s,
                   u"image file \"ROOT/art/broken.png\" cannot be read as a picture (symbol 1 \"a\", state 4)"_s,
                   u"repeated identifier \"a\" (symbol 2 \"a\")"_s,
                   u"image name clashes with another image's, renamed when packed: \"ROOT/other/pump.png\" becomes \"pump~2.png\" (symbol 2 \"a\")"_s,
                   u"no name in the language \"sv\" (symbol 3 \"b\")"_s,
                   u"repeated identifier \"a\" (symbol 4 \"a\")"_s,
                   u"no name in the language \"sv\" (symbol 4 \"a\")"_s};
    }

    void check()
    {
        QFETCH(QByteArray, document);
        QFETCH(QStringList, options);
        QFETCH(QStringList, report);
        const QString longName = QString(120, u'x');
        writeFile(FRoot + u"/proj/pump.png"_s, picture(1));
        writeFile(FRoot + u"/art/run.png"_s, picture(2));
        writeFile(FRoot + u"/other/pump.png"_s, picture(3));
        writeFile(FRoot + u"/art/"_s + longName + u".png"_s, picture(4));
        writeFile(FRoot + u"/art/broken.png"_s, "a text file");
        document.replace("LONGNAME", longName.toLatin1());
        for (QString &line : report)
            line.replace(u"ROOT"_s, FRoot)
                .replace(u"LONGNAME"_s, longName)
                .replace(u"SHORTNAME"_s, QString(96, u'x'));

        const QStringList arguments = QStringList{u"check"_s, project(document)} + options;
        const TRun run = runTool(arguments, FRoot);
        QCOMPARE(run.Err, QString());
        if (report.isEmpty()) {
            QCOMPARE(run.Status, 0);
            QVERIFY2(run.Out.endsWith(u"no problems found.\n"_s), qPrintable(run.Out));
        } else {
            QCOMPARE(run.Status, 1);
            QCOMPARE(run.Out.split(u'\n', Qt::SkipEmptyParts), report);
        }

        // The same findings as JSON, with the same exit status, each telling what its line tells.
        const TRun json = runTool(arguments + QStringList{u"--json"_s}, FRoot);
        QCOMPARE(json.Err, QString());
        QCOMPARE(json.Status, run.Status);
        const auto violation = schemaViolation(json.Out.toUtf8(), u"check"_s);
        QVERIFY2(!violation || violation->isEmpty(),
                 qPrintable(violation.value_or(QString()) + json.Out));
        const QJsonObject root = QJsonDocument::fromJson(json.Out.toUtf8()).object();
        QCOMPARE(root[u"project"].toString(), arguments[1]);
        QStringList lines;
        for (const QJsonValue &value : root[u"findings"].toArray()) {
            const QJsonObject finding = value.toObject();
            QString line = u"%1 (symbol %2 \"%3\""_s.arg(finding[u"message"].toString())
                               .arg(finding[u"symbol"].toInt())
                               .arg(finding[u"identifier"].toString());
            if (finding.contains(u"state"))
                line += u", state %1"_s.arg(finding[u"state"].toInt());
            lines << line + u')';
        }
        QCOMPARE(lines, report);
        if (!violation)
            QSKIP("python3-jsonschema is not installed (scripts/setup.sh installs it)");
    }

    // What the sheet cannot draw, check reports, by the same rule: a picture whose file is cut
    // short, and one larger than the reader decodes.
    void checkReportsWhatTheSheetCannotDraw()
    {
        const QByteArray whole = picture(6);
        writeFile(FRoot + u"/art/cut.png"_s, whole.left(whole.indexOf("IDAT") + 8));
        writeFile(FRoot + u"/art/huge.png"_s, claimedPicture(40000, 40000));
        const TRun run = runTool({u"check"_s, project(R"({GLYPHBOOK: [{Identifier: a,
            Image: 'ROOT/art/cut.png', ImageX: 0, ImageY: 0, Symbol: 'true', TextX: 0, TextY: 0,
            StateImages: [{Value: 1, Image: 'ROOT/art/huge.png'}]}]})")},
                                 FRoot);
        QCOMPARE(run.Status, 1);
        // The decoder may say its piece on stderr; the tool itself adds nothing there.
        QVERIFY2(!run.Err.contains(u"glyphbook:"_s), qPrintable(run.Err));
        QCOMPARE(run.Out.split(u'\n', Qt::SkipEmptyParts),
                 (QStringList{u"image file \"%1/art/cut.png\" cannot be read as a picture "
                              "(symbol 1 \"a\")"_s.arg(FRoot),
                              u"image file \"%1/art/huge.png\" cannot be read as a picture "
                              "(symbol 1 \"a\", state 1)"_s.arg(FRoot)}));
    }
};

QTEST_GUILESS_MAIN(TestPackCli)
#include "tst_packcli.moc"
