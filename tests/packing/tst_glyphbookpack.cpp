// Packing a project into a library archive and extracting it again.
#include "model/ImagePath.h"
#include "model/ViraSymbol.h"
#include "packing/ArchiveNames.h"
#include "packing/GlyphbookExtract.h"
#include "packing/GlyphbookPack.h"
#include "packing/GzipStream.h"
#include "packing/LibTar.h"
#include "packing/LibraryCopy.h"
#include "packing/WorkFolder.h"
#include "tests/TestFiles.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <functional>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace
{

struct Failure {
};

QStringList entriesOf(const QString &folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot,
                                  QDir::Name);
}

/// The entries of a packed library: name → data.
QMap<QString, QByteArray> archiveEntries(const QString &archive)
{
    QMap<QString, QByteArray> entries;
    QFile file(archive);
    if (!file.open(QIODevice::ReadOnly))
        return entries;
    TGzipReader gzip(&file, archive);
    TTarArchive tar(&gzip);
    TTarDirRec rec;
    while (tar.FindNext(rec))
        entries.insert(QString::fromLatin1(rec.Name), tar.ReadFile());
    gzip.ReadToEnd();
    return entries;
}

struct TarEntry {
    QByteArray Name;
    QByteArray Data;
    TFileType Type = ftNormal;
};

/// A gzip-compressed tar archive of exactly these entries, for archives the packer never makes.
void writeArchive(const QString &path, const QList<TarEntry> &entries)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    TGzipWriter gzip(&file);
    {
        TTarWriter tar(&gzip);
        const QDateTime time = QDateTime::fromSecsSinceEpoch(1700000000, Qt::UTC);
        for (const TarEntry &e : entries) {
            if (e.Type == ftDirectory)
                tar.AddDir(e.Name, time);
            else if (e.Type == ftSymbolicLink)
                tar.AddSymbolicLink(e.Name, e.Data, time);
            else
                tar.AddString(e.Data, e.Name, time);
        }
        tar.Finalize();
    }
    gzip.Finish();
}

TViraSymbolPtr newSymbol(const QString &id, const QString &image, bool isSymbol = true)
{
    auto s = std::make_shared<TViraSymbol>();
    s->Identifier = id;
    s->Image = image;
    s->Symbol = isSymbol;
    s->ImageX = 3;
    s->ImageY = -4;
    s->TextX = 10;
    s->TextY = 20;
    s->TextAlign = vstaCenter;
    s->Names = {{QStringLiteral("en"), id + QStringLiteral(" (en)")},
                {QStringLiteral("sv"), id + QStringLiteral(" (sv)")}};
    return s;
}

QStringList imagesOf(const TViraGlyphbook &book)
{
    QStringList images;
    for (const TViraSymbolPtr &s : book.Symbols) {
        images.append(s->Image);
        for (const TStringPairs &p : s->StateImages)
            images.append(p.Name + u'=' + p.Value);
    }
    return images;
}

TPackCallbacks answering(bool yes, int *asked = nullptr, QStringList *told = nullptr)
{
    TPackCallbacks callbacks;
    callbacks.Confirm = [=](const QString &question) {
        if (question != QLatin1String("Overwrite existing?"))
            throw Failure();
        if (asked)
            ++*asked;
        return yes;
    };
    callbacks.Inform = [=](const QString &message) {
        if (told)
            told->append(message);
    };
    return callbacks;
}

/// The document of an earlier extraction into the library folder: its image lies there.
QByteArray earlierDocument(const QString &libraryFolder)
{
    TViraGlyphbook earlier;
    earlier.Symbols.append(newSymbol(u"earlier"_s, libraryFolder + u"/old.png"_s));
    return earlier.SaveToBytes();
}

/// Runs Work in a child process that Work may end at any moment with _exit, as a kill would:
/// nothing is cleaned up.
void inKilledProcess(const std::function<void()> &Work)
{
    const pid_t child = ::fork();
    if (child == 0) {
        try {
            Work();
        } catch (...) {
        }
        ::_exit(0);
    }
    QVERIFY(child > 0);
    int status = 0;
    QCOMPARE(::waitpid(child, &status, 0), child);
}

QStringList workFolders(const QString &folder)
{
    return QDir(folder).entryList({u".*-extract-*"_s}, QDir::Dirs | QDir::Hidden);
}

} // namespace

class TestGlyphbookPack : public QObject
{
    Q_OBJECT

    QTemporaryDir FTemp;
    QString FRoot;       // one fresh folder per test
    QString FSystemTemp; // what the operations take as the system's temporary folder

    /// Images of a small project below FRoot/art: two different files called pump.png.
    TViraGlyphbook sampleLibrary()
    {
        writeFile(FRoot + QStringLiteral("/art/pump.png"), sampleBytes(5000, 1));
        writeFile(FRoot + QStringLiteral("/art/pump run.png"), sampleBytes(1200, 2));
        writeFile(FRoot + QStringLiteral("/other/pump.png"), sampleBytes(700, 3));
        writeFile(FRoot + QStringLiteral("/art/frame.png"), QByteArray());
        TViraGlyphbook book;
        auto pump = newSymbol(QStringLiteral("pump"), FRoot + QStringLiteral("/art/pump.png"));
        pump->StateImages = {{QStringLiteral("1"), FRoot + QStringLiteral("/art/pump run.png")},
                             {QStringLiteral("Alarm"), FRoot + QStringLiteral("/other/pump.png")},
                             {QStringLiteral("MO"), FRoot + QStringLiteral("/art/pump.png")}};
        book.Symbols.append(pump);
        book.Symbols.append(
            newSymbol(QStringLiteral("frame"), FRoot + QStringLiteral("/art/frame.png"), false));
        return book;
    }

    QString packSample(const QString &archive)
    {
        const TViraGlyphbook book = sampleLibrary();
        QDir().mkpath(QFileInfo(archive).path());
        if (!PackLibrary(book, archive))
            return QString();
        return archive;
    }

    /// The sample packed into out/lib.tar.gz, beside the library folder and the document of an
    /// earlier extraction.
    QString packSampleBesideEarlierExtraction(const QString &out)
    {
        const QString archive = packSample(out + QStringLiteral("/lib.tar.gz"));
        writeFile(out + QStringLiteral("/lib/old.png"), "earlier");
        writeFile(out + QStringLiteral("/lib.js"), earlierDocument(out + u"/lib"_s));
        return archive;
    }

private slots:
    void initTestCase()
    {
        QVERIFY(FTemp.isValid());
        FSystemTemp = FTemp.filePath(QStringLiteral("systemp"));
        QVERIFY(QDir().mkpath(FSystemTemp));
        qputenv("TMPDIR", QFile::encodeName(FSystemTemp));
        QCOMPARE(QDir::tempPath(), QDir(FSystemTemp).canonicalPath());
    }

    void init()
    {
        static int n = 0;
        FRoot = FTemp.filePath(QStringLiteral("t%1").arg(++n));
        QVERIFY(QDir().mkpath(FRoot));
    }

    void cleanup()
    {
        // Every way out leaves the system's temporary folder as it found it.
        QCOMPARE(entriesOf(FSystemTemp), QStringList());
    }

    void pathEncode_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("encoded");
        QTest::newRow("empty") << QString() << QString();
        QTest::newRow("blank") << QStringLiteral("my icon.png") << QStringLiteral("my%20icon.png");
        QTest::newRow("plus") << QStringLiteral("a+b.png") << QStringLiteral("a%2Bb.png");
        QTest::newRow("percent") << QStringLiteral("100%.png") << QStringLiteral("100%25.png");
        QTest::newRow("encoded again")
            << QStringLiteral("my%20icon.png") << QStringLiteral("my%2520icon.png");
        QTest::newRow("two bytes") << QStringLiteral("ö.png") << QStringLiteral("%C3%B6.png");
        QTest::newRow("kept") << QStringLiteral("(1)~x.png") << QStringLiteral("(1)~x.png");
        QTest::newRow("bounds") << QStringLiteral("\x1F\x20\x21\x7E\x7F\u0080")
                                << QStringLiteral("%1F%20!~\x7F%C2%80");
        QTest::newRow("reserved") << QStringLiteral("\"#%*+<>[\\]^`{|}")
                                  << QStringLiteral(
                                         "%22%23%25%2A%2B%3C%3E%5B%5C%5D%5E%60%7B%7C%7D");
        QTest::newRow("unreserved punctuation")
            << QStringLiteral("!$&'(),-./:;=?@_~") << QStringLiteral("!$&'(),-./:;=?@_~");
        QTest::newRow("surrogate pair")
            << QStringLiteral("\U0001F600") << QStringLiteral("%F0%9F%98%80");
        QTest::newRow("three bytes") << QStringLiteral("\u20AC") << QStringLiteral("%E2%82%AC");
    }

    void pathEncode()
    {
        QFETCH(QString, text);
        QFETCH(QString, encoded);
        QCOMPARE(PathEncode(text), encoded);
    }

    void archiveNames_data()
    {
        // Each file is "folder/name=content"; equal contents make byte-identical files.
        QTest::addColumn<QStringList>("files");
        QTest::addColumn<QStringList>("names");
        const QString a96(96, u'a');
        QTest::newRow("distinct") << QStringList{u"a/x.png=1"_s, u"a/y.png=2"_s}
                                  << QStringList{u"x.png"_s, u"y.png"_s};
        QTest::newRow("same file twice")
            << QStringList{u"a/x.png=1"_s, u"a/x.png=1"_s} << QStringList{u"x.png"_s, u"x.png"_s};
        QTest::newRow("clash") << QStringList{u"a/x.png=1"_s, u"b/x.png=2"_s, u"c/x.png=3"_s}
                               << QStringList{u"x.png"_s, u"x~2.png"_s, u"x~3.png"_s};
        QTest::newRow("identical files share")
            << QStringList{u"a/x.png=1"_s, u"b/x.png=2"_s, u"c/x.png=1"_s}
            << QStringList{u"x.png"_s, u"x~2.png"_s, u"x.png"_s};
        QTest::newRow("case") << QStringList{u"a/Icon.png=1"_s, u"b/icon.png=2"_s}
                              << QStringList{u"Icon.png"_s, u"icon~2.png"_s};
        QTest::newRow("taken suffix")
            << QStringList{u"a/x~2.png=1"_s, u"a/x.png=2"_s, u"b/x.png=3"_s}
            << QStringList{u"x~2.png"_s, u"x.png"_s, u"x~3.png"_s};
        QTest::newRow("document name") << QStringList{u"a/glyphbook.js=1"_s, u"a/GLYPHBOOK.JS=2"_s}
                                       << QStringList{u"glyphbook~2.js"_s, u"GLYPHBOOK~3.JS"_s};
        QTest::newRow("no extension")
            << QStringList{u"a/x=1"_s, u"b/x=2"_s} << QStringList{u"x"_s, u"x~2"_s};
        QTest::newRow("fits") << QStringList{a96 + u".png=1"_s} << QStringList{a96 + u".png"_s};
        QTest::newRow("long") << QStringList{QString(150, u'a') + u".png=1"_s}
                              << QStringList{a96 + u".png"_s};
        QTest::newRow("long clash")
            << QStringList{QString(150, u'a') + u".png=1"_s, QString(151, u'a') + u".png=2"_s}
            << QStringList{a96 + u".png"_s, QString(94, u'a') + u"~2.png"_s};
        // The cut would fall inside "%20" or between the two bytes of "ö".
        QTest::newRow("encoded byte kept whole")
            << QStringList{QString(95, u'a') + u" bcdef.png=1"_s}
            << QStringList{QString(95, u'a') + u".png"_s};
        QTest::newRow("character kept whole") << QStringList{QString(91, u'a') + u"öööö.png=1"_s}
                                              << QStringList{QString(91, u'a') + u".png"_s};
    }

    void archiveNames()
    {
        QFETCH(QStringList, files);
        QFETCH(QStringList, names);
        TArchiveNamer namer;
        QStringList given;
        for (const QString &file : files) {
            const qsizetype eq = file.lastIndexOf(u'=');
            const QString path = FRoot + u'/' + file.left(eq);
            if (!QFileInfo::exists(path))
                writeFile(path, file.mid(eq + 1).toLatin1());
            given.append(namer.NameFor(path, path));
        }
        QCOMPARE(given, names);
        for (const QString &name : given)
            QVERIFY(name.size() <= TArchiveNamer::MaxNameLength);
    }

    void packAndExtractRoundTrip()
    {
        TViraGlyphbook book = sampleLibrary();
        const QStringList imagesBefore = imagesOf(book);
        const QString archive = FRoot + QStringLiteral("/out/road.tar.gz");
        QDir().mkpath(FRoot + QStringLiteral("/out"));
        QVERIFY(PackLibrary(book, archive));
        QCOMPARE(imagesOf(book), imagesBefore); // the library is not touched
        QCOMPARE(entriesOf(FRoot + QStringLiteral("/out")), QStringList{u"road.tar.gz"_s});

        // A flat archive: the document and one entry per distinct file, named as the document says.
        const QMap<QString, QByteArray> entries = archiveEntries(archive);
        QCOMPARE(entries.keys(),
                 (QStringList{u"frame.png"_s, u"glyphbook.js"_s, u"pump%20run.png"_s, u"pump.png"_s,
                              u"pump~2.png"_s}));
        QCOMPARE(entries.value(QStringLiteral("pump.png")), sampleBytes(5000, 1));
        QCOMPARE(entries.value(QStringLiteral("pump~2.png")), sampleBytes(700, 3));
        QCOMPARE(entries.value(QStringLiteral("frame.png")), QByteArray());

        TViraGlyphbook editing;
        editing.Symbols.append(newSymbol(QStringLiteral("being edited"), QStringLiteral("e.png")));
        const TViraSymbolPtr before = editing.Symbols.first();
        QCOMPARE(ExtractLibrary(editing, archive), TExtractResult::Extracted);
        QCOMPARE(editing.Symbols.size(), 1);
        QCOMPARE(editing.Symbols.first()->Identifier, QStringLiteral("being edited"));
        QVERIFY(editing.Symbols.first() != before);

        const QString folder = FRoot + QStringLiteral("/out/road");
        QCOMPARE(entriesOf(FRoot + QStringLiteral("/out")),
                 (QStringList{u"road"_s, u"road.js"_s, u"road.tar.gz"_s}));
        QCOMPARE(snapshot(folder).keys(), entries.keys());
        QCOMPARE(readFile(folder + QStringLiteral("/pump%20run.png")), sampleBytes(1200, 2));

        TViraGlyphbook project;
        project.LoadFromFile(FRoot + QStringLiteral("/out/road.js"));
        QCOMPARE(project.Symbols.size(), 2);
        const TViraSymbol &pump = *project.Symbols[0];
        QCOMPARE(pump.Identifier, QStringLiteral("pump"));
        QCOMPARE(pump.FindName(QStringLiteral("en")), QStringLiteral("pump (en)"));
        QCOMPARE(pump.FindName(QStringLiteral("sv")), QStringLiteral("pump (sv)"));
        QCOMPARE(pump.ImageX, 3);
        QCOMPARE(pump.TextY, 20);
        QCOMPARE(int(pump.TextAlign), int(vstaCenter));
        QCOMPARE(imagesOf(project),
                 (QStringList{folder + u"/pump.png"_s, u"1="_s + folder + u"/pump%20run.png"_s,
                              u"Alarm="_s + folder + u"/pump~2.png"_s,
                              u"MO="_s + folder + u"/pump.png"_s, folder + u"/frame.png"_s}));
        QVERIFY(!project.Symbols[1]->Symbol);

        // The extracted project packs again, over the archive it came from, once allowed to.
        int asked = 0;
        QVERIFY(PackLibrary(project, archive, answering(true, &asked)));
        QCOMPARE(asked, 1);
        const QMap<QString, QByteArray> again = archiveEntries(archive);
        QCOMPARE(again.size(), entries.size());
        // Names that hold "%" are encoded once more, like any other file name.
        QCOMPARE(again.value(QStringLiteral("pump%2520run.png")), sampleBytes(1200, 2));
    }

    void gzipMemberAsDecided()
    {
        const QString archive = packSample(FRoot + QStringLiteral("/lib.tar.gz"));
        const QByteArray bytes = readFile(archive);
        // zlib's default header (no name, time 0) with the mark of the best compression.
        QCOMPARE(bytes.left(10).toHex(), QByteArray("1f8b0800000000000203"));
    }

    void missingImage_data()
    {
        QTest::addColumn<int>("missingSymbol"); // whose main image is missing, or -1
        QTest::addColumn<int>("missingState");  // which state image of symbol 0 is missing, or -1
        QTest::addColumn<bool>("plain");        // symbol 0 is a plain image
        QTest::addColumn<QString>("reported");
        QTest::newRow("main image") << 1 << -1 << false << QStringLiteral("/gone/b.png");
        QTest::newRow("state image first") << 1 << 0 << false << QStringLiteral("/gone/s.png");
        // Its state images are not in the document, but their files are packed all the same.
        QTest::newRow("plain image's state image") << -1 << 0 << true << u"/gone/s.png"_s;
        QTest::newRow("empty") << 0 << -1 << false << QString();
    }

    void missingImage()
    {
        QFETCH(int, missingSymbol);
        QFETCH(int, missingState);
        QFETCH(bool, plain);
        QFETCH(QString, reported);
        writeFile(FRoot + QStringLiteral("/a.png"), "a");
        TViraGlyphbook book;
        book.Symbols.append(newSymbol(QStringLiteral("a"), FRoot + QStringLiteral("/a.png")));
        book.Symbols.append(newSymbol(QStringLiteral("b"), FRoot + QStringLiteral("/a.png")));
        if (missingSymbol >= 0)
            book.Symbols[missingSymbol]->Image =
                missingSymbol == 0 ? QString() : FRoot + QStringLiteral("/gone/b.png");
        if (missingState >= 0)
            book.Symbols[0]->StateImages = {{QStringLiteral("1"), FRoot + u"/gone/s.png"_s}};
        book.Symbols[0]->Symbol = !plain;
        const QString archive = FRoot + QStringLiteral("/lib.tar.gz");
        writeFile(archive, "earlier");
        try {
            PackLibrary(book, archive, answering(true));
            QFAIL("no failure");
        } catch (const EFileMissing &e) {
            const QString path = reported.isEmpty() ? reported : FRoot + reported;
            QCOMPARE(e.message(), QStringLiteral("File \"%1\" is missing").arg(path));
        }
        QCOMPARE(entriesOf(FRoot), (QStringList{u"a.png"_s, u"lib.tar.gz"_s}));
        QCOMPARE(readFile(archive), QByteArray("earlier"));
    }

    void bareNamesFromProjectFolder()
    {
        writeFile(FRoot + QStringLiteral("/proj/a.png"), "a");
        TViraGlyphbook book;
        book.Symbols.append(newSymbol(QStringLiteral("a"), QStringLiteral("a.png")));
        const QString archive = FRoot + QStringLiteral("/lib.tar.gz");
        QVERIFY_THROWS_EXCEPTION(EFileMissing, PackLibrary(book, archive));
        QVERIFY(PackLibrary(book, archive, {}, FRoot + QStringLiteral("/proj/lib.js")));
        QCOMPARE(archiveEntries(archive).value(QStringLiteral("a.png")), QByteArray("a"));
    }

    void overwriteIsAsked()
    {
        const TViraGlyphbook book = sampleLibrary();
        const QString archive = FRoot + QStringLiteral("/lib.tar.gz");
        int asked = 0;
        QVERIFY(PackLibrary(book, archive, answering(false, &asked)));
        QCOMPARE(asked, 0);
        const QByteArray first = readFile(archive);

        writeFile(archive, "earlier");
        QVERIFY(!PackLibrary(book, archive, answering(false, &asked)));
        QCOMPARE(asked, 1);
        QCOMPARE(readFile(archive), QByteArray("earlier"));
        QVERIFY(!PackLibrary(book, archive)); // nobody to ask: no
        QCOMPARE(readFile(archive), QByteArray("earlier"));

        QVERIFY(PackLibrary(book, archive, answering(true, &asked)));
        QCOMPARE(asked, 2);
        QCOMPARE(archiveEntries(archive).size(), 5);
        QVERIFY(first.size() > 100);
    }

    void failedPackKeepsEarlierArchive()
    {
        const TViraGlyphbook book = sampleLibrary();
        const QString archive = FRoot + QStringLiteral("/out/lib.tar.gz");
        writeFile(archive, "earlier");
        TPackCallbacks callbacks = answering(true);
        qint64 last = 0, total = 0;
        callbacks.Progress = [&](qint64 done, qint64 all) {
            if (done < last)
                throw Failure();
            last = done;
            total = all;
        };
        QVERIFY(PackLibrary(book, archive, callbacks));
        QCOMPARE(last, total); // the estimate is the tar's exact size
        QVERIFY(total > 7000);

        writeFile(archive, "earlier");
        callbacks.Progress = [](qint64, qint64) { throw Failure(); }; // fails while writing
        QVERIFY_THROWS_EXCEPTION(Failure, PackLibrary(book, archive, callbacks));
        QCOMPARE(entriesOf(FRoot + QStringLiteral("/out")), QStringList{u"lib.tar.gz"_s});
        QCOMPARE(readFile(archive), QByteArray("earlier"));

        QVERIFY_THROWS_EXCEPTION(EFileError, PackLibrary(book, FRoot + QStringLiteral("/out")));
        QVERIFY_THROWS_EXCEPTION(
            EFileError, PackLibrary(book, FRoot + QStringLiteral("/no such folder/lib.tar.gz")));
    }

    void extractTargets_data()
    {
        QTest::addColumn<QString>("archive");
        QTest::addColumn<QString>("folder");
        QTest::addColumn<QString>("document");
        QTest::newRow("usual") << u"/libs/road.tar.gz"_s << u"/libs/road"_s << u"/libs/road.js"_s;
        QTest::newRow("dots") << u"/libs/my.lib.tar.gz"_s << u"/libs/my"_s << u"/libs/my.js"_s;
        QTest::newRow("no extension") << u"/libs/road"_s << u"/libs/road"_s << u"/libs/road.js"_s;
        QTest::newRow("leading dot") << u"/libs/.tar.gz"_s << u"/libs/"_s << u"/libs/.js"_s;
    }

    void extractTargets()
    {
        QFETCH(QString, archive);
        QFETCH(QString, folder);
        QFETCH(QString, document);
        const TExtractTarget target = TExtractTarget::ForArchive(archive);
        QCOMPARE(target.LibraryFolder, folder);
        QCOMPARE(target.ProjectDocument, document);
        QCOMPARE(target.IntermediateTar, folder + QStringLiteral(".tar"));
    }

    void extractRefusesNamesItCannotUse()
    {
        const QString plain = packSample(FRoot + QStringLiteral("/road"));
        const QString hidden = FRoot + QStringLiteral("/.tar.gz");
        QFile::copy(plain, hidden);
        TViraGlyphbook book;
        const auto before = snapshot(FRoot);
        QVERIFY_THROWS_EXCEPTION(EFileError, ExtractLibrary(book, plain, answering(true)));
        QVERIFY_THROWS_EXCEPTION(EFileError, ExtractLibrary(book, hidden, answering(true)));
        QVERIFY_THROWS_EXCEPTION(EFileError,
                                 ExtractLibrary(book, FRoot + u"/none.tar.gz"_s, answering(true)));
        QCOMPARE(snapshot(FRoot), before);
    }

    void extractAsksBeforeReplacing_data()
    {
        QTest::addColumn<QString>("existing");
        QTest::addColumn<QStringList>("replaced"); // what the question names
        QTest::newRow("library folder") << u"lib/old.png"_s << QStringList{u"lib"_s};
        QTest::newRow("project document") << u"lib.js"_s << QStringList{u"lib.js"_s};
        QTest::newRow("intermediate tar") << u"lib.tar"_s << QStringList{u"lib.tar"_s};
    }

    void extractAsksBeforeReplacing()
    {
        QFETCH(QString, existing);
        QFETCH(QStringList, replaced);
        const QString out = FRoot + QStringLiteral("/out");
        const QString archive = packSample(out + QStringLiteral("/lib.tar.gz"));
        writeFile(out + u'/' + existing,
                  existing.endsWith(u".js"_s) ? earlierDocument(out + u"/lib"_s) : "earlier");
        const auto before = snapshot(out);

        TViraGlyphbook book;
        int asked = 0;
        TPackCallbacks callbacks = answering(false, &asked);
        QStringList named;
        callbacks.ConfirmReplacing = [&](const QString &question, const QStringList &paths) {
            named = paths;
            return callbacks.Confirm(question);
        };
        QCOMPARE(ExtractLibrary(book, archive, callbacks), TExtractResult::Declined);
        QCOMPARE(asked, 1);
        for (QString &path : replaced)
            path.prepend(out + u'/');
        QCOMPARE(named, replaced);
        QCOMPARE(snapshot(FRoot + QStringLiteral("/out")), before);

        QCOMPARE(ExtractLibrary(book, archive, answering(true, &asked)), TExtractResult::Extracted);
        QCOMPARE(asked, 2);
        QCOMPARE(entriesOf(FRoot + QStringLiteral("/out")),
                 (QStringList{u"lib"_s, u"lib.js"_s, u"lib.tar.gz"_s}));
        QVERIFY(!QFileInfo::exists(FRoot + QStringLiteral("/out/lib/old.png")));
    }

    void projectIsNeverReplaced_data()
    {
        QTest::addColumn<QByteArray>("document"); // at plant.js; "IMAGE" stands for an image path
        QTest::addColumn<QString>("image");       // relative to FRoot
        QTest::addColumn<bool>("replaced");
        const QByteArray one = "{GLYPHBOOK: [{Identifier: a, Image: 'IMAGE', ImageX: 0, ImageY: 0, "
                               "Symbol: 'false'}]}";
        QTest::newRow("the packed project") << one << u"a.png"_s << false;
        QTest::newRow("an earlier extraction") << one << u"plant/a.png"_s << true;
        QTest::newRow("an image elsewhere") << one << u"other/a.png"_s << false;
        QTest::newRow("a bare image name") << one << u"BARE"_s << false;
        QTest::newRow("no document") << QByteArray("not a document [") << QString() << false;
    }
    void projectIsNeverReplaced()
    {
        QFETCH(QByteArray, document);
        QFETCH(QString, image);
        QFETCH(bool, replaced);
        writeFile(FRoot + QStringLiteral("/a.png"), "a");
        TViraGlyphbook packed;
        packed.Symbols.append(newSymbol(u"a"_s, FRoot + u"/a.png"_s));
        const QString archive = FRoot + QStringLiteral("/plant.tar.gz");
        QVERIFY(PackLibrary(packed, archive));
        document.replace("IMAGE", image == u"BARE"_s ? QByteArray("a.png")
                                                     : QFile::encodeName(FRoot + u'/' + image));
        writeFile(FRoot + QStringLiteral("/plant.js"), document);
        const auto before = snapshot(FRoot);

        TViraGlyphbook book;
        int asked = 0;
        try {
            QCOMPARE(ExtractLibrary(book, archive, answering(true, &asked)),
                     TExtractResult::Extracted);
            QVERIFY(replaced);
            QCOMPARE(asked, 1);
        } catch (const EProjectInTheWay &e) {
            QVERIFY2(!replaced, qPrintable(e.message()));
            QVERIFY(e.message().startsWith(u"The project \""_s + FRoot + u"/plant.js\""_s));
            QCOMPARE(asked, 0);
            QCOMPARE(snapshot(FRoot), before);
        }
    }

    void extractIntoAnotherFolder()
    {
        writeFile(FRoot + QStringLiteral("/a.png"), "a");
        TViraGlyphbook packed;
        packed.Symbols.append(newSymbol(u"a"_s, FRoot + u"/a.png"_s));
        packed.SaveToFile(FRoot + QStringLiteral("/plant.js"));
        const QString archive = FRoot + QStringLiteral("/plant.tar.gz");
        QVERIFY(PackLibrary(packed, archive));
        const QString into = FRoot + QStringLiteral("/elsewhere");
        QDir().mkpath(into);

        TViraGlyphbook book;
        int asked = 0;
        QCOMPARE(ExtractLibrary(book, archive, answering(true, &asked), into),
                 TExtractResult::Extracted);
        QCOMPARE(asked, 0);
        TViraGlyphbook project;
        QVERIFY(project.LoadFromFile(into + QStringLiteral("/plant.js")));
        QCOMPARE(imagesOf(project), QStringList{into + u"/plant/a.png"_s});
        QCOMPARE(readFile(into + QStringLiteral("/plant/a.png")), QByteArray("a"));
        // Again into the same folder: an earlier extraction, replaced after the question.
        QCOMPARE(ExtractLibrary(book, archive, answering(true, &asked), into),
                 TExtractResult::Extracted);
        QCOMPARE(asked, 1);
        QCOMPARE(entriesOf(FRoot),
                 (QStringList{u"a.png"_s, u"elsewhere"_s, u"plant.js"_s, u"plant.tar.gz"_s}));
    }

    void maliciousArchiveWritesNothing_data()
    {
        QTest::addColumn<QByteArray>("name");
        QTest::newRow("parent") << QByteArray("../x");
        QTest::newRow("deeper parent") << QByteArray("img/../../x");
        QTest::newRow("far parent") << QByteArray("../../../x");
        QTest::newRow("backslash parent") << QByteArray("..\\x");
        QTest::newRow("absolute") << QByteArray("ROOT/x");
        QTest::newRow("drive") << QByteArray("C:\\x");
        QTest::newRow("drive slash") << QByteArray("c:/x");
        QTest::newRow("unc") << QByteArray("\\\\server\\x");
    }

    void maliciousArchiveWritesNothing()
    {
        QFETCH(QByteArray, name);
        name.replace("ROOT", QFile::encodeName(FRoot));
        const QString out = FRoot + QStringLiteral("/out");
        const QString archive = packSample(out + QStringLiteral("/lib.tar.gz"));
        TViraGlyphbook book;
        QCOMPARE(ExtractLibrary(book, archive, answering(true)), TExtractResult::Extracted);
        const auto before = snapshot(FRoot);

        const QString bad = out + QStringLiteral("/bad.tar.gz");
        writeArchive(bad, {{"a.png", "a"}, {name, "evil"}, {"glyphbook.js", "{}"}});
        const auto withBad = snapshot(FRoot);
        try {
            ExtractLibrary(book, bad, answering(true));
            QFAIL("no failure");
        } catch (const EGlyphbookError &e) {
            QVERIFY2(e.message().contains(QString::fromLatin1(name)), qPrintable(e.message()));
        }
        QCOMPARE(snapshot(FRoot), withBad);
        QVERIFY(!QFileInfo::exists(FRoot + QStringLiteral("/x")));
        QCOMPARE(withBad.size(), before.size() + 1);
    }

    void entryKinds()
    {
        // Folders come from the names; links and folder entries are never made as such.
        const QString archive = FRoot + QStringLiteral("/kinds.tar.gz");
        writeArchive(archive, {{"./", "", ftDirectory},
                               {"./img/", "", ftDirectory},
                               {"./img/a.png", "a"},
                               {"link.png", "/etc/passwd", ftSymbolicLink},
                               {"./glyphbook.js", "\xEF\xBB\xBF{\r\n \"GLYPHBOOK\": []\r\n}\r\n"}});
        TViraGlyphbook book;
        QCOMPARE(ExtractLibrary(book, archive), TExtractResult::Extracted);
        QCOMPARE(snapshot(FRoot + QStringLiteral("/kinds")).keys(),
                 (QStringList{u"glyphbook.js"_s, u"img/a.png"_s}));
        QCOMPARE(QFileInfo(FRoot + QStringLiteral("/kinds/img/a.png"))
                     .fileTime(QFileDevice::FileModificationTime)
                     .toSecsSinceEpoch(),
                 1700000000); // the entry's time, as tar gives it
    }

    void windowsPathsInDocument()
    {
        // A document made elsewhere: its image paths lose their folders, whatever separator.
        const QByteArray document =
            "\xEF\xBB\xBF{\r\n \"GLYPHBOOK\": [\r\n  {\r\n   \"ImageY\": 0,\r\n   \"ImageX\": "
            "0,\r\n"
            "   \"Symbol\": \"true\",\r\n   \"StateImages\": [\r\n    {\r\n"
            "     \"Image\": \"img/b.png\",\r\n     \"Value\": \"1\"\r\n    }],\r\n"
            "   \"TextAlign\": \"Left\",\r\n   \"Identifier\": \"a\",\r\n"
            "   \"Image\": \"C:\\\\x\\\\a.png\",\r\n   \"TextY\": 0,\r\n   \"TextX\": 0,\r\n"
            "   \"NAME\": {}\r\n  }]\r\n}\r\n";
        const QString archive = FRoot + QStringLiteral("/win.tar.gz");
        writeArchive(archive, {{"glyphbook.js", document}, {"a.png", "a"}});
        TViraGlyphbook book;
        QCOMPARE(ExtractLibrary(book, archive), TExtractResult::Extracted);
        TViraGlyphbook project;
        project.LoadFromFile(FRoot + QStringLiteral("/win.js"));
        QCOMPARE(imagesOf(project),
                 (QStringList{FRoot + u"/win/a.png"_s, u"1="_s + FRoot + u"/win/b.png"_s}));
    }

    void withoutDocument()
    {
        const QString archive = FRoot + QStringLiteral("/nodoc.tar.gz");
        writeArchive(archive, {{"a.png", "a"}});
        const QByteArray earlier = earlierDocument(FRoot + u"/nodoc"_s);
        writeFile(FRoot + QStringLiteral("/nodoc.js"), earlier);
        TViraGlyphbook book;
        QStringList told;
        QCOMPARE(ExtractLibrary(book, archive, answering(true, nullptr, &told)),
                 TExtractResult::NoDocument);
        QCOMPARE(told, QStringList{u"Glyphbook.js not found. Could not open symbol library."_s});
        QCOMPARE(readFile(FRoot + QStringLiteral("/nodoc/a.png")), QByteArray("a"));
        QCOMPARE(readFile(FRoot + QStringLiteral("/nodoc.js")), earlier);
    }

    void failedExtractionKeepsPrevious_data()
    {
        QTest::addColumn<QString>("damage");
        QTest::addColumn<QString>("message");
        QTest::newRow("cut") << u"cut"_s << u"ends before the end of its compressed data"_s;
        QTest::newRow("cut in the trailer") << u"trailer cut"_s << u"ends before"_s;
        QTest::newRow("flipped byte") << u"flip"_s << u"damaged"_s;
        QTest::newRow("wrong checksum") << u"crc"_s << u"incorrect data check"_s;
        QTest::newRow("not gzip") << u"plain"_s << u"is not gzip-compressed"_s;
        QTest::newRow("empty") << u"empty"_s << u"is not gzip-compressed"_s;
        QTest::newRow("garbage after the end") << u"tail"_s << u"unexpected data after its end"_s;
        QTest::newRow("unloadable document")
            << u"document"_s << u"holds no usable glyphbook.js. The file \"glyphbook.js\""_s;
    }

    void failedExtractionKeepsPrevious()
    {
        QFETCH(QString, damage);
        QFETCH(QString, message);
        const QString out = FRoot + QStringLiteral("/out");
        const QString archive = packSample(out + QStringLiteral("/lib.tar.gz"));
        TViraGlyphbook book;
        QCOMPARE(ExtractLibrary(book, archive, answering(true)), TExtractResult::Extracted);

        QByteArray bytes = readFile(archive);
        if (damage == u"cut")
            bytes.truncate(bytes.size() / 2);
        else if (damage == u"trailer cut")
            bytes.chop(3);
        else if (damage == u"flip")
            bytes[bytes.size() / 2] = char(bytes[bytes.size() / 2] ^ 0x55);
        else if (damage == u"crc")
            bytes[bytes.size() - 6] = char(bytes[bytes.size() - 6] ^ 1);
        else if (damage == u"plain")
            bytes = "GLYPHBOOK";
        else if (damage == u"empty")
            bytes.clear();
        else if (damage == u"tail")
            bytes += "junk";
        writeFile(archive, bytes);
        if (damage == u"document")
            writeArchive(archive, {{"a.png", "a"}, {"glyphbook.js", "not a document ["}});
        const auto before = snapshot(FRoot);

        book.Symbols.append(newSymbol(QStringLiteral("kept"), QStringLiteral("k.png")));
        try {
            ExtractLibrary(book, archive, answering(true));
            QFAIL("no failure");
        } catch (const EGlyphbookError &e) {
            QVERIFY2(e.message().contains(message), qPrintable(e.message()));
        }
        QCOMPARE(snapshot(FRoot), before);
        QCOMPARE(entriesOf(out), (QStringList{u"lib"_s, u"lib.js"_s, u"lib.tar.gz"_s}));
        QCOMPARE(book.Symbols.size(), 1);
        QCOMPARE(book.Symbols.first()->Identifier, QStringLiteral("kept"));
    }

    void theLastDocumentEntryCountsAndDamageComesFirst()
    {
        // The project document is made as soon as the library document is out of the archive;
        // a later entry of that name must still replace it, and damage anywhere in the archive
        // must still be what is told, not the document's fault.
        const QByteArray good =
            archiveEntries(packSample(FRoot + QStringLiteral("/sample.tar.gz")))[u"glyphbook.js"_s];
        QVERIFY(!good.isEmpty());
        const QByteArray bad = "not a document [";
        const QByteArray doc = "glyphbook.js";
        struct TCase {
            QList<TarEntry> Entries;
            bool Junk;
            QString Error; // empty when the extraction succeeds
        };
        const QString unusable = u"holds no usable glyphbook.js"_s;
        const QList<TCase> cases = {
            {{{doc, bad}, {"a.png", "a"}, {doc, good}}, false, {}},
            {{{doc, good}, {"a.png", "a"}, {doc, bad}}, false, unusable},
            {{{doc, bad}, {"a.png", "a"}}, true, u"unexpected data after its end"_s},
            {{{doc, good}, {"a.png", "a"}}, true, u"unexpected data after its end"_s},
        };
        for (const TCase &c : cases) {
            const QString out = FRoot + QStringLiteral("/doc%1").arg(&c - cases.data());
            const QString archive = out + QStringLiteral("/lib.tar.gz");
            QDir().mkpath(out);
            writeArchive(archive, c.Entries);
            if (c.Junk)
                writeFile(archive, readFile(archive) + "junk");
            TViraGlyphbook book;
            QString error;
            try {
                QCOMPARE(ExtractLibrary(book, archive, answering(true)), TExtractResult::Extracted);
            } catch (const EGlyphbookError &e) {
                error = e.message();
            }
            if (c.Error.isEmpty()) {
                QCOMPARE(error, QString());
                QCOMPARE(readFile(out + QStringLiteral("/lib/glyphbook.js")), good);
                QVERIFY(QFileInfo(out + QStringLiteral("/lib.js")).isFile());
            } else {
                QVERIFY2(error.contains(c.Error), qPrintable(error));
                QCOMPARE(entriesOf(out), QStringList{u"lib.tar.gz"_s});
            }
        }
    }

    void extractNeverTouchesItsArchive()
    {
        // road.tar is the name earlier versions gave their intermediate tar.
        const QString archive = packSample(FRoot + QStringLiteral("/road.tar"));
        const QByteArray bytes = readFile(archive);
        TViraGlyphbook book;
        int asked = 0;
        QCOMPARE(ExtractLibrary(book, archive, answering(false, &asked)),
                 TExtractResult::Extracted);
        QCOMPARE(asked, 0);
        QCOMPARE(ExtractLibrary(book, archive, answering(true, &asked)), TExtractResult::Extracted);
        QCOMPARE(asked, 1);
        QCOMPARE(readFile(archive), bytes);
        QCOMPARE(entriesOf(FRoot),
                 (QStringList{u"art"_s, u"other"_s, u"road"_s, u"road.js"_s, u"road.tar"_s}));
    }

    void extractOverEarlierSharesOnlyEqualFiles()
    {
        // Files of the earlier library that equal their entry in every respect become the new
        // library's files; any difference, or a link elsewhere, gets a file of its own.
        const QString out = FRoot + QStringLiteral("/out");
        const QString lib = out + QStringLiteral("/lib");
        const QString archive = out + QStringLiteral("/lib.tar.gz");
        QDir().mkpath(out);
        const QByteArray big = sampleBytes(600 * 1024, 7); // past one piece of the comparison
        const QList<TarEntry> entries = {{"same.png", sampleBytes(300 * 1024, 5)},
                                         {"late.png", big},
                                         {"linked.png", "linked"},
                                         {"mode.png", "mode"},
                                         {"time.png", "time"},
                                         {"empty.png", {}}};
        writeArchive(archive, entries);
        TViraGlyphbook book;
        QCOMPARE(ExtractLibrary(book, archive, answering(true)), TExtractResult::NoDocument);
        const QDateTime archiveTime = QFileInfo(lib + u"/late.png"_s).lastModified();

        // A byte changed late, its size and time kept: only a whole comparison tells.
        {
            QFile late(lib + u"/late.png"_s);
            QVERIFY(late.open(QIODevice::ReadWrite));
            late.seek(400 * 1024);
            late.write("!");
            QVERIFY(late.flush()); // before the time, which a later write would set again
            QVERIFY(late.setFileTime(archiveTime, QFileDevice::FileModificationTime));
        }
        const QString outside = FRoot + u"/outside.png"_s;
        QCOMPARE(::link(QFile::encodeName(lib + u"/linked.png"_s).constData(),
                        QFile::encodeName(outside).constData()),
                 0);
        QVERIFY(QFile::setPermissions(lib + u"/mode.png"_s, QFile::ReadOwner | QFile::WriteOwner));
        {
            QFile time(lib + u"/time.png"_s);
            QVERIFY(time.open(QIODevice::ReadWrite));
            QVERIFY(time.setFileTime(archiveTime.addSecs(1), QFileDevice::FileModificationTime));
        }
        QMap<QString, struct stat> before;
        for (const TarEntry &e : entries)
            QCOMPARE(::stat(QFile::encodeName(lib + u'/' + QString::fromLatin1(e.Name)).constData(),
                            &before[QString::fromLatin1(e.Name)]),
                     0);

        // A failed extraction leaves every earlier file as it was, with no further link, also
        // when a later entry of the same name replaced a file shared at first.
        const QByteArray whole = readFile(archive);
        // Damage is found chunks after the entries before it were written.
        writeArchive(
            archive,
            {entries[0], {"same.png", "replaced"}, {"pad.png", sampleBytes(4 * 1024 * 1024, 9)}});
        const QByteArray replacing = readFile(archive);
        writeFile(archive, replacing.left(replacing.size() - 3));
        QVERIFY_THROWS_EXCEPTION(EGlyphbookError, ExtractLibrary(book, archive, answering(true)));
        QCOMPARE(readFile(lib + u"/same.png"_s), entries[0].Data);
        writeFile(archive, whole);

        QCOMPARE(ExtractLibrary(book, archive, answering(true)), TExtractResult::NoDocument);
        const QStringList shared = {u"same.png"_s, u"empty.png"_s};
        for (const TarEntry &e : entries) {
            const QString name = QString::fromLatin1(e.Name);
            struct stat now {
            };
            QCOMPARE(::stat(QFile::encodeName(lib + u'/' + name).constData(), &now), 0);
            QCOMPARE(readFile(lib + u'/' + name), e.Data);
            QCOMPARE(now.st_ino == before[name].st_ino, shared.contains(name));
            QCOMPARE(int(now.st_nlink), 1);
            QCOMPARE(QFileInfo(lib + u'/' + name).lastModified(), archiveTime);
            QVERIFY((now.st_mode & 0077) != 0 || name != u"mode.png");
        }
        QCOMPARE(readFile(outside), QByteArray("linked"));
        QCOMPARE(entriesOf(out), (QStringList{u"lib"_s, u"lib.tar.gz"_s}));

        // A library folder that is a link to another folder lends none of that folder's files.
        const QString real = FRoot + u"/real"_s;
        QVERIFY(QDir().rename(lib, real));
        QVERIFY(QFile::link(real, lib));
        QCOMPARE(ExtractLibrary(book, archive, answering(true)), TExtractResult::NoDocument);
        QVERIFY(!QFileInfo(lib).isSymLink());
        struct stat kept {
        };
        struct stat fresh {
        };
        QCOMPARE(::stat(QFile::encodeName(real + u"/same.png"_s).constData(), &kept), 0);
        QCOMPARE(::stat(QFile::encodeName(lib + u"/same.png"_s).constData(), &fresh), 0);
        QVERIFY(kept.st_ino != fresh.st_ino);
        QCOMPARE(int(kept.st_nlink), 1);
    }

    void failedRenamePutsBack_data()
    {
        QTest::addColumn<int>("failing");       // which rename of putting in place fails
        QTest::addColumn<bool>("putBackFails"); // and putting the earlier folder back fails too
        QTest::newRow("earlier folder aside") << 1 << false;
        QTest::newRow("new folder in place") << 2 << false;
        QTest::newRow("document in place") << 3 << false;
        QTest::newRow("new folder in place, no way back") << 2 << true;
        QTest::newRow("document in place, no way back") << 3 << true;
    }
    void failedRenamePutsBack()
    {
        QFETCH(int, failing);
        QFETCH(bool, putBackFails);
        const QString out = FRoot + QStringLiteral("/out");
        const QString archive = packSampleBesideEarlierExtraction(out);
        const auto before = snapshot(out);

        TPackCallbacks callbacks = answering(true);
        int renames = 0;
        callbacks.BeforeRename = [&](const QString &from, const QString &) {
            if (++renames == failing || (putBackFails && from.endsWith(u"/former"_s)))
                throw EFileError(u"Cannot rename."_s);
        };
        TViraGlyphbook book;
        QString message;
        try {
            ExtractLibrary(book, archive, callbacks);
        } catch (const EFileError &e) {
            message = e.message();
        }
        QVERIFY2(message.startsWith(u"Cannot rename."_s), qPrintable(message));
        QCOMPARE(readFile(out + QStringLiteral("/lib.js")), earlierDocument(out + u"/lib"_s));
        if (!putBackFails) {
            QCOMPARE(snapshot(out), before);
            QCOMPARE(workFolders(out), QStringList());
            return;
        }
        // The earlier folder stays where it is, and the message says where.
        const QStringList kept = workFolders(out);
        QCOMPARE(kept.size(), 1);
        const QString former = out + u'/' + kept.first() + QStringLiteral("/former");
        QVERIFY2(message.endsWith(u"is kept in \""_s + former + u"\"."_s), qPrintable(message));
        QCOMPARE(readFile(former + QStringLiteral("/old.png")), QByteArray("earlier"));
        // A later extraction leaves the kept folder alone.
        QCOMPARE(ExtractLibrary(book, archive, answering(true)), TExtractResult::Extracted);
        QCOMPARE(readFile(former + QStringLiteral("/old.png")), QByteArray("earlier"));
    }

    void killedRunIsFinishedOrUndone_data()
    {
        QTest::addColumn<int>("killedAt");  // before this rename of putting in place; 0: unpacking
        QTest::addColumn<bool>("finished"); // the next run puts the killed run's results in place
        QTest::newRow("while unpacking") << 0 << false;
        QTest::newRow("before the earlier folder goes aside") << 1 << true;
        QTest::newRow("between the folders") << 2 << true;
        QTest::newRow("before the document") << 3 << true;
    }
    void killedRunIsFinishedOrUndone()
    {
        QFETCH(int, killedAt);
        QFETCH(bool, finished);
        const QString out = FRoot + QStringLiteral("/out");
        const QString archive = packSampleBesideEarlierExtraction(out);
        const auto before = snapshot(out);

        inKilledProcess([&] {
            TPackCallbacks callbacks = answering(true);
            int renames = 0;
            callbacks.Progress = [&](qint64, qint64) {
                if (killedAt == 0)
                    ::_exit(0);
            };
            callbacks.BeforeRename = [&](const QString &, const QString &) {
                if (++renames == killedAt)
                    ::_exit(0);
            };
            TViraGlyphbook book;
            ExtractLibrary(book, archive, callbacks);
        });
        QCOMPARE(workFolders(out).size(), 1);
        // Killed runs also leave their copy of the library in the system's temporary folder.
        QCOMPARE(entriesOf(FSystemTemp).size(), 1);

        {
            // A run that lives keeps its work folder, whatever the next one does.
            const TWorkFolder live(QStringLiteral("lib-extract"), out);
            TViraGlyphbook book;
            QCOMPARE(ExtractLibrary(book, archive, answering(false)), TExtractResult::Declined);
            QCOMPARE(workFolders(out), QStringList{QFileInfo(live.Path()).fileName()});
            QCOMPARE(entriesOf(FSystemTemp), QStringList());
        }
        if (!finished) {
            QCOMPARE(snapshot(out), before);
            return;
        }
        QVERIFY(!QFileInfo::exists(out + QStringLiteral("/lib/old.png")));
        TViraGlyphbook project;
        project.LoadFromFile(out + QStringLiteral("/lib.js"));
        QCOMPARE(project.Symbols.size(), 2);
        for (const QString &image : imagesOf(project))
            QVERIFY2(QFileInfo(image.section(u'=', -1)).isFile(), qPrintable(image));
    }

    // Packing makes no work folder, and leaves that of a run that lives where it is.
    void killedPackLeavesNoFolder()
    {
        const TViraGlyphbook book = sampleLibrary();
        const QString archive = FRoot + QStringLiteral("/lib.tar.gz");
        inKilledProcess([&] {
            TPackCallbacks callbacks;
            callbacks.Progress = [](qint64, qint64) { ::_exit(0); };
            PackLibrary(book, archive, callbacks);
        });
        QCOMPARE(entriesOf(FSystemTemp), QStringList());
        QVERIFY(!QFileInfo::exists(archive));
        const TWorkFolder live(QStringLiteral("pack"));
        QVERIFY(PackLibrary(book, FRoot + QStringLiteral("/again.tar.gz")));
        QCOMPARE(entriesOf(FSystemTemp), QStringList{QFileInfo(live.Path()).fileName()});
    }

    // A work folder's files go with it when its run ends, however many (they are removed on
    // several threads); a kept one loses none.
    void workFolderGoesWithItsFilesUnlessKept()
    {
        for (const bool keep : {false, true}) {
            QString path;
            {
                TWorkFolder folder(QStringLiteral("lib-extract"), FRoot);
                path = folder.Path();
                QVERIFY(QDir().mkpath(folder.FilePath(QStringLiteral("former/deeper"))));
                for (int i = 0; i < 150; ++i)
                    writeFile(
                        folder.FilePath(QStringLiteral("former/%1%2.png")
                                            .arg(i % 3 ? QString() : QStringLiteral("deeper/"))
                                            .arg(i)),
                        QByteArray(i, 'x'));
                if (keep)
                    folder.Keep();
            }
            QCOMPARE(QFileInfo::exists(path), keep);
            if (keep) {
                QCOMPARE(QDir(path + QStringLiteral("/former")).entryList(QDir::Files).size(), 100);
                QCOMPARE(
                    QDir(path + QStringLiteral("/former/deeper")).entryList(QDir::Files).size(),
                    50);
                QVERIFY(QDir(path).removeRecursively());
            }
        }
    }

    void libraryCopyGivesTheLibraryBack()
    {
        TViraGlyphbook book = sampleLibrary();
        const QByteArray saved = book.SaveToBytes();
        const TViraSymbolPtr first = book.Symbols.first();
        {
            const TLibraryCopy copy(book);
            QCOMPARE(entriesOf(FSystemTemp).size(), 1);
            book.Symbols.clear();
            book.AddCopy(TViraSymbol());
            copy.Restore(book);
            QCOMPARE(book.SaveToBytes(), saved);
            QVERIFY(book.Symbols.first() != first); // new objects: nothing holds on to the old
        }
        // A run killed while it held a copy leaves it; the next run's clean-up takes it away.
        inKilledProcess([&] {
            const TLibraryCopy copy(book);
            ::_exit(0);
        });
        QCOMPARE(entriesOf(FSystemTemp).size(), 1);
        QVERIFY(PackLibrary(book, FRoot + QStringLiteral("/lib.tar.gz")));
        QCOMPARE(entriesOf(FSystemTemp), QStringList());
    }

    void documentNamesThatAreNoFiles_data()
    {
        QTest::addColumn<QString>("image");
        QTest::newRow("parent") << u".."_s;
        QTest::newRow("folder's parent") << u"a/.."_s;
        QTest::newRow("drive's parent") << u"C:.."_s;
        QTest::newRow("backslash parent") << u"a\\.."_s;
        QTest::newRow("here") << u"."_s;
    }
    void documentNamesThatAreNoFiles()
    {
        QFETCH(QString, image);
        TViraGlyphbook packed;
        packed.Symbols.append(newSymbol(u"a"_s, image));
        packed.Symbols.first()->StateImages = {{u"1"_s, image}};
        const QString archive = FRoot + QStringLiteral("/lib.tar.gz");
        writeArchive(archive, {{"glyphbook.js", packed.SaveToBytes()}});
        TViraGlyphbook book;
        QCOMPARE(ExtractLibrary(book, archive), TExtractResult::Extracted);
        TViraGlyphbook project;
        project.LoadFromFile(FRoot + QStringLiteral("/lib.js"));
        const QString folder = FRoot + QStringLiteral("/lib");
        for (const QString &path : imagesOf(project)) {
            const QString cleaned = QDir::cleanPath(path.section(u'=', -1));
            QVERIFY2(cleaned == folder || cleaned.startsWith(folder + u'/'), qPrintable(path));
        }
    }

    void packRefusesItsOwnInputs_data()
    {
        QTest::addColumn<QString>("archive");
        QTest::newRow("project document") << u"proj/lib.js"_s;
        QTest::newRow("image") << u"proj/a.png"_s;
        QTest::newRow("image under another name") << u"proj/link.png"_s;
        QTest::newRow("image by another path") << u"proj/../proj/./a.png"_s;
    }
    void packRefusesItsOwnInputs()
    {
        QFETCH(QString, archive);
        writeFile(FRoot + QStringLiteral("/proj/a.png"), "a");
        QVERIFY(QFile::link(FRoot + QStringLiteral("/proj/a.png"),
                            FRoot + QStringLiteral("/proj/link.png")));
        TViraGlyphbook book;
        book.Symbols.append(newSymbol(QStringLiteral("a"), QStringLiteral("a.png")));
        const QString project = FRoot + QStringLiteral("/proj/lib.js");
        book.SaveToFile(project);
        const auto before = snapshot(FRoot);
        try {
            PackLibrary(book, FRoot + u'/' + archive, answering(true), project);
            QFAIL("no failure");
        } catch (const EFileError &e) {
            QVERIFY2(e.message().startsWith(u"Cannot pack into"_s), qPrintable(e.message()));
        }
        QCOMPARE(snapshot(FRoot), before);
    }

    void gzipMembersAndPadding()
    {
        // Concatenated members read as one stream, and zero padding after the end is no damage,
        // as with gzip itself.
        QByteArray tarBytes;
        {
            QBuffer buffer(&tarBytes);
            buffer.open(QIODevice::WriteOnly);
            TTarWriter tar(&buffer);
            tar.AddString(sampleBytes(3000, 4), "a.png", QDateTime::currentDateTimeUtc());
            tar.AddString(sampleBytes(10, 5), "b.png", QDateTime::currentDateTimeUtc());
            tar.Finalize();
        }
        QByteArray bytes;
        for (const QByteArray &part : {tarBytes.left(1000), tarBytes.mid(1000)}) {
            QBuffer buffer(&bytes);
            buffer.open(QIODevice::Append);
            TGzipWriter gzip(&buffer);
            gzip.write(part);
            gzip.Finish();
        }
        bytes.append(QByteArray(1024, '\0'));
        const QString archive = FRoot + QStringLiteral("/members.tar.gz");
        writeFile(archive, bytes);
        TViraGlyphbook book;
        QCOMPARE(ExtractLibrary(book, archive), TExtractResult::NoDocument);
        QCOMPARE(readFile(FRoot + QStringLiteral("/members/a.png")), sampleBytes(3000, 4));
        QCOMPARE(readFile(FRoot + QStringLiteral("/members/b.png")), sampleBytes(10, 5));
    }

    void peersAcceptOurArchives()
    {
        const QString tar = QStandardPaths::findExecutable(QStringLiteral("tar"));
        const QString gzip = QStandardPaths::findExecutable(QStringLiteral("gzip"));
        if (tar.isEmpty() || gzip.isEmpty())
            QSKIP("GNU tar and gzip are needed");
        const QString longName = FRoot + u'/' + QString(120, u'l') + QStringLiteral(".png");
        writeFile(longName, sampleBytes(900, 9));
        TViraGlyphbook book = sampleLibrary();
        book.Symbols.append(newSymbol(QStringLiteral("long"), longName));
        const QString archive = FRoot + QStringLiteral("/lib.tar.gz");
        QVERIFY(PackLibrary(book, archive));

        QProcess p;
        p.start(gzip, {QStringLiteral("-t"), archive});
        QVERIFY(p.waitForFinished());
        QCOMPARE(p.exitCode(), 0);
        QCOMPARE(p.readAllStandardError(), QByteArray());

        p.start(tar, {QStringLiteral("-tzvf"), archive});
        QVERIFY(p.waitForFinished());
        QCOMPARE(p.exitCode(), 0);
        const QString listing = QString::fromUtf8(p.readAllStandardOutput());
        for (const QString &name : archiveEntries(archive).keys())
            QVERIFY2(listing.contains(u' ' + name + u'\n'), qPrintable(listing));

        // And the other way: GNU tar's archive of an extracted folder ("./" names, two end
        // blocks, padding) extracts to the same files.
        QVERIFY(ExtractLibrary(book, archive) == TExtractResult::Extracted);
        // The shortened name is the same in the document and in the archive.
        TViraGlyphbook project;
        project.LoadFromFile(FRoot + QStringLiteral("/lib.js"));
        QCOMPARE(project.Symbols.last()->Image, FRoot + u"/lib/"_s + QString(96, u'l') + u".png"_s);
        for (const QString &image : imagesOf(project))
            QVERIFY2(QFileInfo(image.section(u'=', -1)).isFile(), qPrintable(image));
        const QString theirs = FRoot + QStringLiteral("/theirs.tar.gz");
        p.start(tar, {QStringLiteral("-czf"), theirs, QStringLiteral("-C"), FRoot + u"/lib"_s,
                      QStringLiteral(".")});
        QVERIFY(p.waitForFinished());
        QCOMPARE(p.exitCode(), 0);
        QCOMPARE(ExtractLibrary(book, theirs), TExtractResult::Extracted);
        QCOMPARE(snapshot(FRoot + QStringLiteral("/theirs")),
                 snapshot(FRoot + QStringLiteral("/lib")));
    }
};

QTEST_GUILESS_MAIN(TestGlyphbookPack)
#include "tst_glyphbookpack.moc"
