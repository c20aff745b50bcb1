// diff, show and merge run as a user runs them, and merge as git's merge driver.
#include "JsonSchema.h"
#include "ToolRun.h"
#include "model/ViraSymbol.h"
#include "packing/GzipStream.h"
#include "tests/TestFiles.h"

#include <QBuffer>
#include <QCryptographicHash>
#include <QDir>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace
{

/// A PNG picture of the size in one colour.
QByteArray picture(int size, int colour)
{
    QImage image(size, size, QImage::Format_RGB32);
    image.fill(QColor::fromHsv(colour * 40 % 360, 200, 200));
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

/// The document in its normal form, as the editor saves it.
QByteArray normalForm(const QByteArray &text)
{
    TViraGlyphbook book;
    book.LoadFromBytes(text, u"fixture"_s);
    return book.SaveToBytes();
}

/// A library document of plain pictures "id" (picture id.png), each given as "id" or "id:x,y"
/// for its anchor.
QByteArray plainLibrary(const QStringList &symbols)
{
    QByteArray text = "{GLYPHBOOK: [";
    for (const QString &symbol : symbols) {
        const QStringList parts = symbol.split(u':');
        const QStringList anchor = parts.value(1, u"0,0"_s).split(u',');
        text += u"{Identifier: %1, Image: '%1.png', ImageX: %2, ImageY: %3, NAME: {en: %1}, "
                "Symbol: 'false'},"_s.arg(parts[0], anchor[0], anchor[1])
                    .toUtf8();
    }
    return normalForm(text + "]}");
}

// A project with a picture beside it, one in a sub-folder, and a state picture.
const QByteArray Project = R"({GLYPHBOOK: [
 {Identifier: pump, Image: 'pump.png', ImageX: 1, ImageY: 2, NAME: {en: Pump}, Symbol: 'true',
  TextAlign: Left, TextX: 3, TextY: 4, StateImages: [{Value: '1', Image: 'art/run.png'}]},
 {Identifier: frame, Image: 'art/frame.png', ImageX: 0, ImageY: 0, NAME: {}, Symbol: 'false'}
]})";

/// Writes the bytes gzip-compressed into a new file at path.
void writeGzipped(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    TGzipWriter gzip(&file);
    gzip.write(bytes);
    gzip.Finish();
}

/// Runs a program other than the tool (git) in folder with environment.
TRun runProgram(const QString &program, const QStringList &arguments, const QString &folder,
                const QProcessEnvironment &environment)
{
    QProcess process;
    process.setWorkingDirectory(folder);
    process.setProcessEnvironment(environment);
    process.start(program, arguments);
    process.closeWriteChannel();
    process.waitForFinished(60000);
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            QString::fromUtf8(process.readAllStandardOutput()),
            QString::fromUtf8(process.readAllStandardError())};
}

} // namespace

class TestDiffCli : public QObject
{
    Q_OBJECT

    QTemporaryDir FDir;
    QString FRoot;

    /// Writes the project (by default Project) with its pictures into folder below the root.
    QString project(const QString &folder, const QByteArray &document = Project)
    {
        const QString path = FRoot + u'/' + folder;
        writeFile(path + u"/pump.png"_s, picture(2, 1));
        writeFile(path + u"/art/run.png"_s, picture(2, 2));
        writeFile(path + u"/art/frame.png"_s, picture(2, 3));
        QByteArray text = document;
        text.replace("art/", QFile::encodeName(path) + "/art/");
        writeFile(path + u"/lib.js"_s, text);
        return path + u"/lib.js"_s;
    }

private slots:
    void init()
    {
        static int n = 0;
        FRoot = FDir.filePath(QString::number(++n));
        QDir().mkpath(FRoot);
    }

    void packedLibraryIsItsProject()
    {
        const QString proj = project(u"a"_s);
        const QString archive = FRoot + u"/lib.tar.gz"_s;
        QCOMPARE(runTool({u"pack"_s, proj, archive}).Status, 0);
        const QMap<QString, QByteArray> before = snapshot(FRoot);

        // The archive names every picture differently; their bytes are the same.
        TRun run = runTool({u"diff"_s, proj, archive});
        QCOMPARE(run.Err, QString());
        QCOMPARE(run.Out, QString());
        QCOMPARE(run.Status, 0);
        QCOMPARE(snapshot(FRoot), before); // read in memory, nothing unpacked

        // A picture redrawn larger and a field changed.
        QByteArray changed = Project;
        changed.replace("TextAlign: Left", "TextAlign: Center");
        const QString other = project(u"b"_s, changed);
        writeFile(FRoot + u"/b/art/run.png"_s, picture(4, 5));
        run = runTool({u"diff"_s, archive, other});
        QCOMPARE(run.Err, QString());
        QCOMPARE(run.Status, 1);
        const QStringList lines = run.Out.split(u'\n', Qt::SkipEmptyParts);
        QCOMPARE(lines.size(), 2);
        QCOMPARE(lines[0], u"changed: pump alignment: Left -> Center"_s);
        QVERIFY2(QRegularExpression(
                     u"^changed: pump state\\[1\\]: run\\.png \\(2x2 pixels, #[0-9a-f]{8}\\) -> "
                     "/\\S+/b/art/run\\.png \\(4x4 pixels, #[0-9a-f]{8}\\)$"_s)
                     .match(lines[1])
                     .hasMatch(),
                 qPrintable(lines[1]));
    }

    void troubleIsStatus2NamingTheFile_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("message");

        QTest::newRow("diff: missing file")
            << QStringList{u"diff"_s, u"lib.js"_s, u"gone.js"_s}
            << u"glyphbook: Cannot open file \"gone.js\". The file does not exist.\n"_s;
        QTest::newRow("diff: no document")
            << QStringList{u"diff"_s, u"lib.js"_s, u"text.js"_s}
            << u"glyphbook: The file \"text.js\" is not a library document: it has no "
               "\"GLYPHBOOK\" member.\n"_s;
        QTest::newRow("diff: cut archive")
            << QStringList{u"diff"_s, u"cut.tar.gz"_s, u"lib.js"_s}
            << u"glyphbook: The file \"cut.tar.gz\" is damaged: it ends before the end of its "
               "compressed data.\n"_s;
        QTest::newRow("diff: archive without a document")
            << QStringList{u"diff"_s, u"empty.tar.gz"_s, u"lib.js"_s}
            << u"glyphbook: The packed library \"empty.tar.gz\" holds no glyphbook.js.\n"_s;
        QTest::newRow("diff: one file")
            << QStringList{u"diff"_s, u"lib.js"_s}
            << u"glyphbook: diff expects OLD and NEW; see 'glyphbook diff --help'.\n"_s;
        QTest::newRow("merge: no OUT")
            << QStringList{u"merge"_s, u"lib.js"_s, u"lib.js"_s, u"lib.js"_s}
            << u"glyphbook: merge expects BASE, OURS, THEIRS and -o OUT; see 'glyphbook merge "
               "--help'.\n"_s;
        QTest::newRow("merge: a packed library")
            << QStringList{u"merge"_s,      u"lib.js"_s, u"lib.js"_s,
                           u"cut.tar.gz"_s, u"-o"_s,     u"out.js"_s}
            << u"glyphbook: The file \"cut.tar.gz\" is a packed library; merge takes project "
               "documents.\n"_s;
        QTest::newRow("merge: not parsed")
            << QStringList{u"merge"_s, u"lib.js"_s, u"bad.js"_s, u"lib.js"_s, u"-o"_s, u"out.js"_s}
            << u"glyphbook: The file \"bad.js\" is not a library document: ':' is expected after "
               "a member name at line 1, column 14.\n"_s;
        QTest::newRow("merge: OUT cannot be written")
            << QStringList{u"merge"_s,  u"lib.js"_s, u"lib.js"_s,
                           u"lib.js"_s, u"-o"_s,     u"no/such/out.js"_s}
            << u"glyphbook: Cannot create file \"no/such/out.js\". No such file or directory\n"_s;
    }

    void troubleIsStatus2NamingTheFile()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, message);
        writeFile(FRoot + u"/lib.js"_s, plainLibrary({u"a"_s}));
        writeFile(FRoot + u"/a.png"_s, picture(2, 1));
        writeFile(FRoot + u"/text.js"_s, "{\"other\": []}");
        writeFile(FRoot + u"/bad.js"_s, "{\"GLYPHBOOK\" []}");
        writeFile(FRoot + u"/out.js"_s, "earlier");
        QCOMPARE(runTool({u"pack"_s, u"lib.js"_s, u"whole.tar.gz"_s}, FRoot).Status, 0);
        const QByteArray whole = readFile(FRoot + u"/whole.tar.gz"_s);
        writeFile(FRoot + u"/cut.tar.gz"_s, whole.left(whole.size() - 20));
        writeGzipped(FRoot + u"/empty.tar.gz"_s, QByteArray(1024, '\0')); // only the end blocks
        const TRun run = runTool(arguments, FRoot);
        QCOMPARE(run.Err, message);
        QCOMPARE(run.Out, QString());
        QCOMPARE(run.Status, 2);
        QCOMPARE(readFile(FRoot + u"/out.js"_s), QByteArray("earlier"));
    }

    void jsonFollowsItsSchema()
    {
        const QString oldProject = project(u"a"_s);
        QByteArray changed = Project;
        changed.replace("{en: Pump}", "{sv: Pump}");
        changed.replace("Identifier: frame", "Identifier: gauge");
        const QString newProject = project(u"b"_s, changed);
        writeFile(FRoot + u"/b/pump.png"_s, picture(3, 4));
        const TRun run = runTool({u"diff"_s, u"--json"_s, oldProject, newProject});
        QCOMPARE(run.Err, QString());
        QCOMPARE(run.Status, 1);
        const auto violation = schemaViolation(run.Out.toUtf8(), u"diff"_s);
        QVERIFY2(!violation || violation->isEmpty(), qPrintable(violation.value_or(QString())));

        const QJsonObject root = QJsonDocument::fromJson(run.Out.toUtf8()).object();
        QCOMPARE(root[u"old"].toString(), oldProject);
        QCOMPARE(root[u"removed"].toArray(),
                 QJsonArray({QJsonObject{
                     {u"identifier"_s, u"frame"_s}, {u"occurrence"_s, 1}, {u"symbol"_s, 2}}}));
        QCOMPARE(root[u"added"].toArray(),
                 QJsonArray({QJsonObject{
                     {u"identifier"_s, u"gauge"_s}, {u"occurrence"_s, 1}, {u"symbol"_s, 2}}}));
        QCOMPARE(root[u"moved"].toArray(), QJsonArray());
        const QJsonArray changes = root[u"changed"].toArray();
        QCOMPARE(changes.size(), 3);
        const QJsonObject pictureChange = changes[0].toObject();
        QCOMPARE(pictureChange[u"field"].toString(), u"picture"_s);
        QCOMPARE(pictureChange[u"new"][u"path"].toString(), u"pump.png"_s);
        QCOMPARE(pictureChange[u"new"][u"width"].toInt(), 3);
        QCOMPARE(pictureChange[u"old"][u"width"].toInt(), 2);
        QCOMPARE(pictureChange[u"new"][u"sha256"].toString(),
                 QString::fromLatin1(
                     QCryptographicHash::hash(picture(3, 4), QCryptographicHash::Sha256).toHex()));
        QCOMPARE(changes[1].toObject(), (QJsonObject{{u"identifier"_s, u"pump"_s},
                                                     {u"occurrence"_s, 1},
                                                     {u"field"_s, u"name[en]"_s},
                                                     {u"old"_s, u"Pump"_s},
                                                     {u"new"_s, QJsonValue::Null}}));
        QCOMPARE(changes[2].toObject()[u"field"].toString(), u"name[sv]"_s);

        const TRun same = runTool({u"diff"_s, u"--json"_s, oldProject, oldProject});
        QCOMPARE(same.Status, 0);
        QCOMPARE(QJsonDocument::fromJson(same.Out.toUtf8()).object()[u"changed"].toArray(),
                 QJsonArray());
        if (!violation)
            QSKIP("python3-jsonschema is not installed (scripts/setup.sh installs it)");
    }

    void showPrintsEverySymbolOnALine()
    {
        writeFile(FRoot + u"/lib.js"_s, R"({GLYPHBOOK: [
            {Identifier: pump, Image: 'p.png', ImageX: 1, ImageY: 2, NAME: {sv: 'Pump', en: 'Big\npump'},
             Symbol: 'true', TextAlign: Center, TextX: 3, TextY: 4,
             StateImages: [{Value: Alarm, Image: 'a b.png'}]},
            {Identifier: frame, Image: 'f.png', ImageX: 0, ImageY: 0, NAME: {}, Symbol: 'false'}]})");
        TRun run = runTool({u"show"_s, u"lib.js"_s}, FRoot);
        QCOMPARE(run.Err, QString());
        QCOMPARE(run.Status, 0);
        QCOMPARE(run.Out, u"pump symbol=true picture=p.png anchor=1,2 text-point=3,4 "
                          "alignment=Center name[en]=\"Big\\npump\" name[sv]=Pump "
                          "state[Alarm]=\"a b.png\"\n"
                          "frame symbol=false picture=f.png anchor=0,0\n"_s);

        // A packed library shows alike, with its pictures' names in the archive.
        writeFile(FRoot + u"/p.png"_s, "p");
        writeFile(FRoot + u"/a b.png"_s, "a");
        writeFile(FRoot + u"/f.png"_s, "f");
        QCOMPARE(runTool({u"pack"_s, u"lib.js"_s, u"lib.tar.gz"_s}, FRoot).Status, 0);
        run = runTool({u"show"_s, u"lib.tar.gz"_s}, FRoot);
        QCOMPARE(run.Status, 0);
        QVERIFY2(run.Out.contains(u" state[Alarm]=a%20b.png\n"_s), qPrintable(run.Out));
    }

    void merge()
    {
        writeFile(FRoot + u"/base.js"_s, plainLibrary({u"a"_s, u"b"_s}));
        writeFile(FRoot + u"/ours.js"_s, plainLibrary({u"a:1,1"_s, u"b"_s, u"c"_s}));
        writeFile(FRoot + u"/theirs.js"_s, plainLibrary({u"a"_s, u"b:2,2"_s, u"d"_s}));
        // A hand-written THEIRS: the form of its text does not matter.
        writeFile(FRoot + u"/theirs2.js"_s,
                  "// by hand\n{GLYPHBOOK: [{Identifier: a, Image: a.png, ImageX: 3, ImageY: 3, "
                  "NAME: {en: a}, Symbol: 'false'}, {Identifier: b, Image: b.png, ImageX: 0, "
                  "ImageY: '$0', NAME: {en: b}, Symbol: 'false'},]}");

        TRun run = runTool(
            {u"merge"_s, u"base.js"_s, u"ours.js"_s, u"theirs.js"_s, u"-o"_s, u"out.js"_s}, FRoot);
        QCOMPARE(run.Err, QString());
        QCOMPARE(run.Status, 0);
        QCOMPARE(readFile(FRoot + u"/out.js"_s),
                 plainLibrary({u"a:1,1"_s, u"b:2,2"_s, u"c"_s, u"d"_s}));

        // A conflict: reported, ours kept, OUT written all the same; here OUT is OURS.
        run = runTool(
            {u"merge"_s, u"base.js"_s, u"ours.js"_s, u"theirs2.js"_s, u"--output"_s, u"ours.js"_s},
            FRoot);
        QCOMPARE(run.Err,
                 u"glyphbook: conflict: a anchor: base 0,0, ours 1,1, theirs 3,3; ours kept\n"_s);
        QCOMPARE(run.Out, QString());
        QCOMPARE(run.Status, 1);
        QCOMPARE(readFile(FRoot + u"/ours.js"_s), plainLibrary({u"a:1,1"_s, u"b"_s, u"c"_s}));

        // Both sides added the document: git's BASE is empty, every symbol an addition.
        writeFile(FRoot + u"/empty.js"_s, QByteArray());
        run = runTool(
            {u"merge"_s, u"empty.js"_s, u"base.js"_s, u"theirs.js"_s, u"-o"_s, u"out.js"_s}, FRoot);
        QCOMPARE(run.Err, u"glyphbook: conflict: b: added by both sides, unlike; both kept, ours "
                          "first\n"_s);
        QCOMPARE(run.Status, 1);
        QCOMPARE(readFile(FRoot + u"/out.js"_s),
                 plainLibrary({u"a"_s, u"b"_s, u"b:2,2"_s, u"d"_s}));
    }

    void gitMergesWithTheDriver()
    {
        const QString git = QStandardPaths::findExecutable(u"git"_s);
        if (git.isEmpty())
            QSKIP("git is not installed (scripts/setup.sh installs it)");
        // git reads no configuration of the machine or of the user running the tests.
        const QString home = FRoot + u"/home"_s;
        QDir().mkpath(home);
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(u"HOME"_s, home);
        env.insert(u"XDG_CONFIG_HOME"_s, home + u"/.config"_s);
        env.insert(u"GIT_CONFIG_NOSYSTEM"_s, u"1"_s);
        env.remove(u"GIT_DIR"_s);
        env.remove(u"GIT_WORK_TREE"_s);
        env.insert(u"GIT_AUTHOR_NAME"_s, u"Test"_s);
        env.insert(u"GIT_AUTHOR_EMAIL"_s, u"test@example.org"_s);
        env.insert(u"GIT_COMMITTER_NAME"_s, u"Test"_s);
        env.insert(u"GIT_COMMITTER_EMAIL"_s, u"test@example.org"_s);
        env.insert(u"LC_ALL"_s, u"C"_s);
        const QString repo = FRoot + u"/repo"_s;
        QDir().mkpath(repo);
        const auto gitRun = [&](const QStringList &arguments) {
            return runProgram(git, arguments, repo, env);
        };
        const auto commit = [&](const QStringList &symbols, const QString &message) {
            writeFile(repo + u"/lib.js"_s, plainLibrary(symbols));
            const TRun run = gitRun({u"commit"_s, u"-q"_s, u"-a"_s, u"-m"_s, message});
            QVERIFY2(run.Status == 0, qPrintable(run.Err));
        };
        const QString tool = QStringLiteral(GLYPHBOOK_CLI);
        for (const QStringList &arguments :
             {QStringList{u"init"_s, u"-q"_s, u"-b"_s, u"main"_s},
              {u"config"_s, u"merge.glyphbook.driver"_s, u"'%1' merge %O %A %B -o %A"_s.arg(tool)},
              {u"config"_s, u"diff.glyphbook.textconv"_s, u"'%1' show"_s.arg(tool)}}) {
            const TRun run = gitRun(arguments);
            QVERIFY2(run.Status == 0, qPrintable(run.Err));
        }
        writeFile(repo + u"/.gitattributes"_s, "*.js merge=glyphbook diff=glyphbook\n");
        writeFile(repo + u"/lib.js"_s, plainLibrary({u"a"_s, u"b"_s}));
        QCOMPARE(gitRun({u"add"_s, u"."_s}).Status, 0);
        commit({u"a"_s, u"b"_s}, u"base"_s);

        // Both branches add a symbol at the end: one place of the text, which a text merge
        // cannot join.
        QCOMPARE(gitRun({u"checkout"_s, u"-q"_s, u"-b"_s, u"theirs"_s}).Status, 0);
        commit({u"a"_s, u"b"_s, u"t"_s}, u"theirs adds t"_s);
        QCOMPARE(gitRun({u"checkout"_s, u"-q"_s, u"main"_s}).Status, 0);
        commit({u"a"_s, u"b"_s, u"o"_s}, u"ours adds o"_s);
        writeFile(FRoot + u"/base.js"_s, plainLibrary({u"a"_s, u"b"_s}));
        writeFile(FRoot + u"/theirs.js"_s, plainLibrary({u"a"_s, u"b"_s, u"t"_s}));
        QVERIFY(gitRun({u"merge-file"_s, u"-p"_s, repo + u"/lib.js"_s, FRoot + u"/base.js"_s,
                        FRoot + u"/theirs.js"_s})
                    .Status > 0);
        TRun run = gitRun({u"merge"_s, u"-q"_s, u"--no-edit"_s, u"theirs"_s});
        QVERIFY2(run.Status == 0, qPrintable(run.Out + run.Err));
        QCOMPARE(readFile(repo + u"/lib.js"_s), plainLibrary({u"a"_s, u"b"_s, u"o"_s, u"t"_s}));

        // git diff shows the symbols through show, one line each.
        run = gitRun({u"diff"_s, u"HEAD~1"_s, u"HEAD"_s, u"--"_s, u"lib.js"_s});
        QCOMPARE(run.Status, 0);
        QVERIFY2(run.Out.contains(u"\n+t symbol=false picture=t.png anchor=0,0 name[en]=t\n"_s),
                 qPrintable(run.Out));

        // One field changed two ways: git reports the conflict, the file keeps ours.
        QCOMPARE(gitRun({u"checkout"_s, u"-q"_s, u"-b"_s, u"theirs2"_s}).Status, 0);
        commit({u"a:5,5"_s, u"b"_s, u"o"_s, u"t"_s}, u"theirs moves a"_s);
        QCOMPARE(gitRun({u"checkout"_s, u"-q"_s, u"main"_s}).Status, 0);
        commit({u"a:7,7"_s, u"b"_s, u"o"_s, u"t"_s}, u"ours moves a"_s);
        run = gitRun({u"merge"_s, u"--no-edit"_s, u"theirs2"_s});
        QVERIFY(run.Status != 0);
        QVERIFY2(run.Err.contains(
                     u"glyphbook: conflict: a anchor: base 0,0, ours 7,7, theirs 5,5; ours kept"_s),
                 qPrintable(run.Err));
        QVERIFY2(run.Out.contains(u"CONFLICT"_s), qPrintable(run.Out));
        QCOMPARE(readFile(repo + u"/lib.js"_s), plainLibrary({u"a:7,7"_s, u"b"_s, u"o"_s, u"t"_s}));
        QVERIFY(
            gitRun({u"diff"_s, u"--name-only"_s, u"--diff-filter=U"_s}).Out.contains(u"lib.js"_s));
    }
};

QTEST_GUILESS_MAIN(TestDiffCli)
#include "tst_diffcli.moc"
