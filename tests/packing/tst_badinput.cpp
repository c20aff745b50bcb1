// Bad input through the packing doors: hostile or damaged archives handed to the extraction, and
// pack targets that cannot take an archive. The cases of the README's robustness table that
// tst_glyphbookpack and tst_libtar do not already cover.
#include "model/ViraSymbol.h"
#include "packing/GlyphbookPack.h"
#include "packing/GzipStream.h"
#include "packing/LibTar.h"
#include "tests/TestFiles.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

namespace
{

const QDateTime EntryTime = QDateTime::fromSecsSinceEpoch(1700000000, Qt::UTC);
const QByteArray EmptyDocument("\xEF\xBB\xBF{\r\n \"GLYPHBOOK\": []\r\n}\r\n");

/// A header block for a record, with the size field replaced when one is given (the writer
/// refuses sizes that do not fit) and the checksum computed again, or spoilt when asked.
QByteArray header(const TTarDirRec &rec, const QByteArray &sizeField = {}, bool badSum = false)
{
    QByteArray block = TTarWriter::HeaderBlock(rec);
    if (sizeField.isEmpty() && !badSum)
        return block;
    if (!sizeField.isEmpty())
        block.replace(124, 12, sizeField.leftJustified(11, ' ') + '\0');
    block.replace(148, 8, QByteArray(8, ' '));
    unsigned sum = badSum ? 1 : 0;
    for (char c : std::as_const(block))
        sum += uchar(c);
    block.replace(148, 8, QByteArray::number(sum, 8).rightJustified(6, '0') + QByteArray("\0 ", 2));
    return block;
}

TTarDirRec record(const QByteArray &name, qint64 size, TFileType type = ftNormal)
{
    TTarDirRec rec;
    rec.Name = name;
    rec.Size = size;
    rec.FileType = type;
    rec.DateTime = EntryTime;
    rec.Permissions = AllTarPermissions;
    rec.Magic = "ustar";
    return rec;
}

/// Data padded to whole blocks.
QByteArray blocks(const QByteArray &data)
{
    return data + QByteArray(int((512 - data.size() % 512) % 512), '\0');
}

QByteArray endBlocks()
{
    return QByteArray(1024, '\0');
}

QByteArray gzipped(const QByteArray &data)
{
    QByteArray out;
    QBuffer buffer(&out);
    buffer.open(QIODevice::WriteOnly);
    TGzipWriter gzip(&buffer);
    gzip.write(data);
    gzip.Finish();
    return out;
}

/// A tar archive holding one entry, made by the writer.
QByteArray tarOf(const QByteArray &name, const QByteArray &data, TTarModes mode = {})
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    TTarWriter tar(&buffer);
    tar.SetMode(mode);
    tar.AddString(data, name, EntryTime);
    tar.AddString(EmptyDocument, "glyphbook.js", EntryTime);
    tar.Finalize();
    return bytes;
}

} // namespace

class TestBadInput : public QObject
{
    Q_OBJECT

    QTemporaryDir FTemp;
    QString FRoot; // one fresh folder per test row

    /// Extracts the gzipped tar from FRoot/lib.tar.gz; the error message, or "" on success.
    QString extract(const QByteArray &tar)
    {
        const QString archive = FRoot + QStringLiteral("/lib.tar.gz");
        writeFile(archive, gzipped(tar));
        TViraGlyphbook book;
        TPackCallbacks callbacks;
        callbacks.Confirm = [](const QString &) { return true; };
        try {
            ExtractLibrary(book, archive, callbacks);
        } catch (const EGlyphbookError &e) {
            return e.message();
        }
        return QString();
    }

private slots:
    void initTestCase()
    {
        QVERIFY(FTemp.isValid());
        // The operations' own temporary files go here, to be seen when they are left behind.
        const QString systemTemp = FTemp.filePath(QStringLiteral("systemp"));
        QVERIFY(QDir().mkpath(systemTemp));
        qputenv("TMPDIR", QFile::encodeName(systemTemp));
    }

    void init()
    {
        static int n = 0;
        FRoot = FTemp.filePath(QStringLiteral("t%1").arg(++n));
        QVERIFY(QDir().mkpath(FRoot));
    }

    void decompressionBomb_data()
    {
        QTest::addColumn<int>("zeros"); // bytes of one entry that compress almost to nothing
        QTest::addColumn<bool>("refused");
        // Deflate reaches about 1030:1 at best, on zeros: 16 MiB of them lie past 1000:1.
        QTest::newRow("past 1000 times") << 16 * 1024 * 1024 << true;
        QTest::newRow("compressible but below") << 256 * 1024 << false;
    }
    void decompressionBomb()
    {
        QFETCH(int, zeros);
        QFETCH(bool, refused);
        // An earlier extraction stays as it was.
        QVERIFY(QDir().mkpath(FRoot + QStringLiteral("/lib")));
        writeFile(FRoot + QStringLiteral("/lib/old.png"), "earlier");
        writeFile(FRoot + QStringLiteral("/lib.js"), "earlier");
        const auto before = snapshot(FRoot, QDir::AllEntries);

        const QString error = extract(tarOf("zeros.png", QByteArray(zeros, '\0')));
        if (!refused) {
            QCOMPARE(error, QString());
            QCOMPARE(QFileInfo(FRoot + QStringLiteral("/lib/zeros.png")).size(), qint64(zeros));
            return;
        }
        QVERIFY2(error.contains(QStringLiteral("inflates to more than 1000 times the file's size")),
                 qPrintable(error));
        auto after = snapshot(FRoot, QDir::AllEntries);
        after.remove(QStringLiteral("lib.tar.gz"));
        QCOMPARE(after, before);
    }

    void noExecuteOrSetIdBits()
    {
        // The header asks for rwsrwsrwx; the file gets neither execute nor set-id bits.
        const QString error = extract(tarOf("run.sh", "#!/bin/sh\n", {tmSetUid, tmSetGid}));
        QCOMPARE(error, QString());
        const QString path = FRoot + QStringLiteral("/lib/run.sh");
        QCOMPARE(readFile(path), QByteArray("#!/bin/sh\n"));
        struct stat st;
        QCOMPARE(::stat(QFile::encodeName(path).constData(), &st), 0);
        QCOMPARE(st.st_mode & (S_IXUSR | S_IXGRP | S_IXOTH | S_ISUID | S_ISGID | S_ISVTX), 0u);
    }

    void hostileEntries_data()
    {
        QTest::addColumn<QByteArray>("tar");
        QTest::addColumn<QString>("error");     // "" for a successful extraction
        QTest::addColumn<QStringList>("files"); // what the library folder then holds

        const QByteArray document =
            header(record("glyphbook.js", EmptyDocument.size())) + blocks(EmptyDocument);
        const QStringList onlyDocument{QStringLiteral("glyphbook.js")};
        QTest::newRow("damaged header checksum")
            << header(record("a.png", 1), {}, true) + blocks("a") + document + endBlocks()
            << QString() << QStringList{QStringLiteral("a.png"), QStringLiteral("glyphbook.js")};
        QTest::newRow("negative size")
            << header(record("a.png", 0), "-1") + blocks("a") + document + endBlocks()
            << QStringLiteral(
                   "lib.tar.gz\" is damaged: the entry \"a.png\" at position 0 claims -23 bytes")
            << QStringList();
        QTest::newRow("size past the end")
            << header(record("a.png", 0), "77777777777") + blocks("a") + document + endBlocks()
            << QStringLiteral("it ends inside the data of an entry") << QStringList();
        QTest::newRow("character device")
            << header(record("tty", 0, ftCharacter)) + document + endBlocks() << QString()
            << onlyDocument;
        QTest::newRow("block device") << header(record("sda", 0, ftBlock)) + document + endBlocks()
                                      << QString() << onlyDocument;
        QTest::newRow("fifo") << header(record("pipe", 0, ftFifo)) + document + endBlocks()
                              << QString() << onlyDocument;
        QTest::newRow("hard link") << header(record("passwd", 0, ftLink)) + document + endBlocks()
                                   << QString() << onlyDocument;
        const QByteArray longName(100, 'n'); // fills the name field: no NUL ends it
        QTest::newRow("name of 100 bytes")
            << header(record(longName, 1)) + blocks("a") + document + endBlocks() << QString()
            << QStringList{QStringLiteral("glyphbook.js"), QString::fromLatin1(longName)};
    }
    void hostileEntries()
    {
        QFETCH(QByteArray, tar);
        QFETCH(QString, error);
        QFETCH(QStringList, files);
        const QString message = extract(tar);
        if (error.isEmpty())
            QCOMPARE(message, QString());
        else
            QVERIFY2(message.contains(error), qPrintable(message));
        QCOMPARE(snapshot(FRoot + QStringLiteral("/lib"), QDir::AllEntries).keys(), files);
    }

    void packToTargetsThatCannotTakeIt_data()
    {
        QTest::addColumn<QString>("target");
        QTest::addColumn<QString>("error");
        // /proc cannot be written even by the administrator.
        QTest::newRow("folder that cannot be written")
            << QStringLiteral("/proc/lib.tar.gz")
            << QStringLiteral("Cannot create file \"/proc/lib.tar.gz\".");
        QTest::newRow("full disk")
            << QStringLiteral("FULL") << QStringLiteral("No space left on device");
    }
    void packToTargetsThatCannotTakeIt()
    {
        QFETCH(QString, target);
        QFETCH(QString, error);
        if (target == u"FULL") {
            // The administrator could replace /dev/full itself if packing went wrong: it gets a
            // device of its own, the same as /dev/full.
            target = QStringLiteral("/dev/full");
            if (::geteuid() == 0) {
                target = FRoot + QStringLiteral("/full");
                QVERIFY(::mknod(QFile::encodeName(target).constData(), S_IFCHR | 0666,
                                makedev(1, 7)) == 0);
            }
        }
        const QString image = FRoot + QStringLiteral("/a.png");
        writeFile(image, QByteArray(100000, 'a'));
        TViraGlyphbook book;
        auto symbol = std::make_shared<TViraSymbol>();
        symbol->Identifier = QStringLiteral("a");
        symbol->Image = image;
        book.Symbols = {symbol};
        TPackCallbacks callbacks;
        callbacks.Confirm = [](const QString &) { return true; };
        try {
            PackLibrary(book, target, callbacks);
            QFAIL("the pack did not fail");
        } catch (const EGlyphbookError &e) {
            QVERIFY2(e.message().contains(error), qPrintable(e.message()));
        }
        QVERIFY(QDir(QDir::tempPath()).isEmpty());
        // A device stays a device: the archive is not put in its place.
        if (QFileInfo(target).fileName() == u"full")
            QVERIFY(!QFileInfo(target).isFile());
    }
};

QTEST_GUILESS_MAIN(TestBadInput)
#include "tst_badinput.moc"
