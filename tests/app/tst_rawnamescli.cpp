// Files and folders whose names are not UTF-8, handed to the real tool as the shell hands them:
// each command reads them, writes beside them and over them, refuses them as outputs as it does
// any name, and shows them in its messages with the bytes escaped; no file of another name is
// ever made.
#include "ToolRun.h"
#include "model/ViraSymbol.h"
#include "packing/GlyphbookPack.h"
#include "tests/TestFiles.h"

#include <QImage>
#include <QTemporaryDir>
#include <QTest>

#include <filesystem>
#include <fstream>
#include <iterator>

#include <cstdio>

using namespace Qt::StringLiterals;

using TByteArguments = QList<QByteArray>;

namespace
{

/// Runs the tool in Folder with arguments of any bytes. QProcess passes arguments as text, which
/// cannot hold them, so the shell makes each from octal escapes.
TRun runWithBytes(const TByteArguments &Arguments, const QString &Folder)
{
    QString script = u"exec \"$0\""_s;
    for (const QByteArray &argument : Arguments) {
        QString escaped;
        for (const char byte : argument)
            escaped += u"\\%1"_s.arg(uchar(byte), 3, 8, QLatin1Char('0'));
        script += u" \"$(printf '%1')\""_s.arg(escaped);
    }
    QProcess process;
    process.setWorkingDirectory(Folder);
    process.start(u"/bin/sh"_s, {u"-c"_s, script, QStringLiteral(GLYPHBOOK_CLI)});
    process.closeWriteChannel();
    process.waitForFinished(30000);
    return {process.exitCode(), QString::fromUtf8(process.readAllStandardOutput()),
            QString::fromUtf8(process.readAllStandardError())};
}

std::filesystem::path rawPath(const QString &Root, const QByteArray &Relative)
{
    return std::filesystem::path(QFile::encodeName(Root).toStdString()) / Relative.toStdString();
}

QByteArray readRaw(const std::filesystem::path &Path)
{
    std::ifstream in(Path, std::ios::binary);
    return QByteArray::fromStdString(
        std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()));
}

/// Every name below Root that holds U+FFFD: a file made under a name Qt could not spell.
QStringList replacedNames(const QString &Root)
{
    QStringList names;
    for (const auto &entry :
         std::filesystem::recursive_directory_iterator(rawPath(Root, QByteArray())))
        if (QByteArray::fromStdString(entry.path().filename().string()).contains("\xEF\xBF\xBD"))
            names.append(QString::fromStdString(entry.path().string()));
    return names;
}

/// A picture of one colour in PNG, which check can decode.
void writePicture(const QString &Path, int Width)
{
    QImage picture(Width, 8, QImage::Format_ARGB32);
    picture.fill(Qt::blue);
    QVERIFY(picture.save(Path, "PNG"));
}

/// A temporary folder that may come to hold names Qt cannot spell, and so cannot remove.
struct TRawFolder {
    QTemporaryDir Dir;
    ~TRawFolder()
    {
        std::error_code ignored;
        std::filesystem::remove_all(QFile::encodeName(Dir.path()).toStdString(), ignored);
    }
};

void renameRaw(const QString &Root, const QByteArray &From, const QByteArray &To)
{
    std::error_code error;
    std::filesystem::rename(rawPath(Root, From), rawPath(Root, To), error);
    QVERIFY2(!error, error.message().c_str());
}

// The folder "lib\xFF", also reached by the link "link", holds the project twice, as lib.js and as
// "l\xFEb.js", with its pictures named bare, and the library packed as road.tar.gz and
// "r\xFDoad.tar.gz"; "names\xFC.csv" renames the pump.
const QByteArray Folder = "lib\xFF";
const QByteArray Project = Folder + "/l\xFE"
                                    "b.js";
const QByteArray Archive = Folder + "/road.tar.gz";
const QByteArray OddArchive = Folder + "/r\xFDoad.tar.gz";
const QByteArray Table = Folder + "/names\xFC.csv";

/// Paths as the tool shows them, ROOT standing for the test's folder.
QString shown(QString Text, const QString &Root)
{
    return Text.replace(u"ROOT"_s, Root);
}

} // namespace

class TestRawNamesCli : public QObject
{
    Q_OBJECT

private slots:
    void commandsTakeNamesThatAreNotUtf8_data();
    void commandsTakeNamesThatAreNotUtf8();
};

void TestRawNamesCli::commandsTakeNamesThatAreNotUtf8_data()
{
    QTest::addColumn<TByteArguments>("arguments");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("out"); // how the output begins
    QTest::addColumn<QString>("err");
    QTest::addColumn<QByteArray>("written");      // a file that must be there afterwards
    QTest::addColumn<QByteArray>("projectHolds"); // empty: the project keeps its bytes
    const QString none;
    const QString shownProject = u"ROOT/lib\\xff/l\\xfeb.js"_s;

    // Reading: the pictures, named bare, are found beside the project.
    QTest::newRow("check, in a folder")
        << TByteArguments{"check", Folder + "/lib.js"} << 0
        << u"ROOT/lib\\xff/lib.js: no problems found.\n"_s << none << QByteArray() << QByteArray();
    QTest::newRow("check, the project's own name")
        << TByteArguments{"check", Project} << 0 << shownProject + u": no problems found.\n"_s
        << none << QByteArray() << QByteArray();
    QTest::newRow("show") << TByteArguments{"show", Project} << 0
                          << u"pump symbol=true picture=pump.png"_s << none << QByteArray()
                          << QByteArray();
    QTest::newRow("diff against the packed library, pictures by content")
        << TByteArguments{"diff", Project, Archive} << 0 << none << none << QByteArray()
        << QByteArray();
    QTest::newRow("list") << TByteArguments{"list", OddArchive} << 0 << u"glyphbook.js"_s << none
                          << QByteArray() << QByteArray();
    QTest::newRow("list --json") << TByteArguments{"list", "--json", OddArchive} << 0
                                 << u"{\"archive\":\"ROOT/lib\\\\xff/r\\\\xfdoad.tar.gz\","_s
                                 << none << QByteArray() << QByteArray();

    // Writing beside the project and over it.
    QTest::newRow("format in place")
        << TByteArguments{"format", Project, Project} << 0 << none << none << QByteArray()
        << QByteArray("\xEF\xBB\xBF{\r\n \"GLYPHBOOK\": [\r\n");
    QTest::newRow("format beside it") << TByteArguments{"format", Project, Folder + "/copy.js"} << 0
                                      << none << none << Folder + "/copy.js" << QByteArray();
    QTest::newRow("names export beside it")
        << TByteArguments{"names", "export", Project, Folder + "/names.csv"} << 0 << none << none
        << Folder + "/names.csv" << QByteArray();
    QTest::newRow("names import saves it")
        << TByteArguments{"names", "import", Project, Table} << 0
        << u"symbol 1 \"pump\", en: \"Pump\" becomes \"Big pump\"\nNames changed: 1.\n"_s << none
        << QByteArray() << QByteArray("Big pump");
    QTest::newRow("pack beside it") << TByteArguments{"pack", Project, Folder + "/out.tar.gz"} << 0
                                    << none << none << Folder + "/out.tar.gz" << QByteArray();
    QTest::newRow("sheet beside it")
        << TByteArguments{"sheet", Project, Folder + "/sheet.html"} << 0
        << u"ROOT/lib\\xff/sheet.html\n"_s << none << Folder + "/sheet.html" << QByteArray();
    QTest::newRow("extract into another folder")
        << TByteArguments{"extract", "--into", "into", Archive} << 0 << u"ROOT/into/road.js\n"_s
        << none << QByteArray("into/road/pump.png") << QByteArray();

    // Refused, as any name is, or because no project document could name the pictures.
    QTest::newRow("names export over the project")
        << TByteArguments{"names", "export", Project, Project} << 1 << none
        << u"glyphbook: Cannot write file \"%1\". It is the project itself.\n"_s.arg(shownProject)
        << QByteArray() << QByteArray();
    QTest::newRow("names export over the project, through a link to its folder")
        << TByteArguments{"names", "export", Folder + "/lib.js", "link/lib.js"} << 1 << none
        << u"glyphbook: Cannot write file \"link/lib.js\". It is the project itself.\n"_s
        << QByteArray() << QByteArray();
    QTest::newRow("pack over the project")
        << TByteArguments{"pack", Project, Project} << 1 << none
        << u"glyphbook: Cannot pack into \"%1\": it is the project document. Choose another name "
           "for the archive.\n"_s.arg(shownProject)
        << QByteArray() << QByteArray();
    QTest::newRow("format over a picture, by its folder")
        << TByteArguments{"format", Project, Folder + "/pump.png"} << 1 << none
        << u"glyphbook: Cannot write file \"ROOT/lib\\xff/pump.png\". It is one of the library's "
           "pictures.\n"_s
        << QByteArray() << QByteArray();
    QTest::newRow("a new file whose name is not UTF-8")
        << TByteArguments{"format", Project, Folder + "/n\xFA.js"} << 1 << none
        << u"glyphbook: Cannot use \"lib\\xff/n\\xfa.js\": no such file, and a new file's name "
           "must be UTF-8 text.\n"_s
        << QByteArray() << QByteArray();
    QTest::newRow("extract beside the archive")
        << TByteArguments{"extract", Archive} << 1 << none
        << u"glyphbook: Cannot extract \"ROOT/lib\\xff/road.tar.gz\": the path of its library "
           "folder, \"ROOT/lib\\xff/road\", is not UTF-8 text, so the project document could not "
           "name its pictures. Extract into another folder.\n"_s
        << QByteArray() << QByteArray();
    QTest::newRow("extract an archive whose base name is not UTF-8")
        << TByteArguments{"extract", "--into", "into", OddArchive} << 1 << none
        << u"glyphbook: Cannot extract \"ROOT/lib\\xff/r\\xfdoad.tar.gz\": the name of its "
           "library folder would not be UTF-8 text, so the project document could not name its "
           "pictures. Give the archive a name in UTF-8.\n"_s
        << QByteArray() << QByteArray();
}

void TestRawNamesCli::commandsTakeNamesThatAreNotUtf8()
{
    QFETCH(TByteArguments, arguments);
    QFETCH(int, status);
    QFETCH(QString, out);
    QFETCH(QString, err);
    QFETCH(QByteArray, written);
    QFETCH(QByteArray, projectHolds);

    // Made under names Qt can spell, then renamed to the bytes.
    const TRawFolder dir;
    const QString root = QFileInfo(dir.Dir.path()).canonicalFilePath();
    QDir(root).mkpath(u"lib"_s);
    QDir(root).mkpath(u"into"_s);
    writePicture(root + u"/lib/pump.png"_s, 10);
    writePicture(root + u"/lib/pump_run.png"_s, 11);
    writePicture(root + u"/lib/valve.png"_s, 12);
    // Hand-written, so that format has something to change.
    const QByteArray document = "{GLYPHBOOK: [{Identifier: pump, Image: pump.png, ImageX: 1, "
                                "ImageY: 2, Symbol: true, TextX: 0, TextY: 0, NAME: {en: Pump}, "
                                "StateImages: [{Image: pump_run.png, Value: '1'}]},\n"
                                "{Identifier: valve, Image: valve.png, ImageX: 1, ImageY: 2, "
                                "Symbol: true, TextX: 0, TextY: 0, NAME: {en: Valve}}]}";
    writeFile(root + u"/lib/lib.js"_s, document);
    writeFile(root + u"/lib/lb.js"_s, document);
    writeFile(root + u"/lib/names.csv.in"_s, "Identifier,en\r\npump,Big pump\r\n");
    TViraGlyphbook packed;
    QVERIFY(packed.LoadFromFile(root + u"/lib/lib.js"_s));
    // The pictures from the lib folder, before it takes its name.
    for (const TViraSymbolPtr &symbol : std::as_const(packed.Symbols)) {
        symbol->Image = root + u"/lib/"_s + symbol->Image;
        for (TStringPairs &state : symbol->StateImages)
            state.Value = root + u"/lib/"_s + state.Value;
    }
    QVERIFY(PackLibrary(TViraGlyphbook(packed), root + u"/lib/road.tar.gz"_s));
    QVERIFY(QFile::copy(root + u"/lib/road.tar.gz"_s, root + u"/lib/rd.tar.gz"_s));
    renameRaw(root, "lib/lb.js",
              "lib/l\xFE"
              "b.js");
    renameRaw(root, "lib/rd.tar.gz", "lib/r\xFDoad.tar.gz");
    renameRaw(root, "lib/names.csv.in", "lib/names\xFC.csv");
    renameRaw(root, "lib", Folder);
    std::filesystem::create_directory_symlink(Folder.toStdString(), rawPath(root, "link"));
    const QByteArray projectBefore = readRaw(rawPath(root, Project));

    const TRun run = runWithBytes(arguments, root);

    QCOMPARE(run.Err, shown(err, root));
    QVERIFY2(run.Out.startsWith(shown(out, root)), qPrintable(run.Out));
    QCOMPARE(run.Status, status);
    if (!written.isEmpty())
        QVERIFY2(std::filesystem::is_regular_file(rawPath(root, written)), written.constData());
    const QByteArray projectAfter = readRaw(rawPath(root, Project));
    if (projectHolds.isEmpty())
        QCOMPARE(projectAfter, projectBefore);
    else
        QVERIFY2(projectAfter.contains(projectHolds), projectAfter.constData());
    QCOMPARE(replacedNames(root), QStringList());
}

QTEST_MAIN(TestRawNamesCli)
#include "tst_rawnamescli.moc"
