// Bad input through the packing doors: hostile or damaged archives handed to the extraction, and
// pack targets that cannot take an archive. The cases of the README's robustness table that
// tst_glyphbookpack and tst_libtar do not already cover.
#include "model/ViraSymbol.h"
#include "packing/GlyphbookExtract.h"
#include "packing/GlyphbookPack.h"
#include "packing/GzipStream.h"
#include "packing/LibTar.h"
#include "tests/SmallDisk.h"
#include "tests/TestFiles.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <functional>
#include <optional>

#include <cerrno>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>

namespace
{

const QDateTime EntryTime = QDateTime::fromSecsSinceEpoch(1700000000, Qt::UTC);
const QByteArray EmptyDocument("\xEF\xBB\xBF{\r\n \"GLYPHBOOK\": []\r\n}\r\n");

/// A header block for a record, with the size field replaced when one is given (the writer
/// refuses sizes that do not fit), the type byte when one is given (the writer knows only its
/// own), and the checksum computed again, or spoilt when asked.
QByteArray header(const TTarDirRec &rec, const QByteArray &sizeField = {}, bool badSum = false,
                  char typeFlag = 0)
{
    QByteArray block = TTarWriter::HeaderBlock(rec);
    if (sizeField.isEmpty() && !badSum && !typeFlag)
        return block;
    if (!sizeField.isEmpty())
        block.replace(124, 12, sizeField.leftJustified(11, ' ') + '\0');
    if (typeFlag)
        block[156] = typeFlag;
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
    /// Meanwhile is called as the extraction reads the archive.
    QString extract(const QByteArray &tar, const std::function<void()> &Meanwhile = {})
    {
        const QString archive = FRoot + QStringLiteral("/lib.tar.gz");
        writeFile(archive, gzipped(tar));
        TViraGlyphbook book;
        TPackCallbacks callbacks;
        callbacks.Confirm = [](const QString &) { return true; };
        if (Meanwhile)
            callbacks.Progress = [&](qint64, qint64) { Meanwhile(); };
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

    void extractionFitsTheFreeSpace_data()
    {
        QTest::addColumn<int>("zeros");     // bytes of one entry that compress almost to nothing
        QTest::addColumn<int>("smallDisk"); // bytes of a file system of its own, or 0
        QTest::addColumn<bool>("fillDisk"); // another program fills the disk meanwhile
        QTest::addColumn<QString>("error");
        // A one-colour picture packs at over 1000:1, as a bomb does; only the disk sets a bound.
        QTest::newRow("one-colour picture") << 12 * 1000 * 1000 << 0 << false << QString();
        QTest::newRow("more than the free space")
            << 6 * 1024 * 1024 << 4 * 1024 * 1024 << false << QStringLiteral("does not fit");
        QTest::newRow("disk filled meanwhile") << 1024 * 1024 << 4 * 1024 * 1024 << true
                                               << QString::fromLocal8Bit(std::strerror(ENOSPC));
    }
    void extractionFitsTheFreeSpace()
    {
        QFETCH(int, zeros);
        QFETCH(int, smallDisk);
        QFETCH(bool, fillDisk);
        QFETCH(QString, error);
        std::optional<TSmallDisk> disk;
        if (smallDisk) {
            disk.emplace(FRoot, smallDisk);
            if (!disk->IsMounted())
                QSKIP("only the administrator can mount a small file system");
        }
        // An earlier extraction stays as it was.
        QVERIFY(QDir().mkpath(FRoot + QStringLiteral("/lib")));
        writeFile(FRoot + QStringLiteral("/lib/old.png"), "earlier");
        writeFile(FRoot + QStringLiteral("/lib.js"), EmptyDocument);
        const auto before = snapshot(FRoot, QDir::AllEntries);

        const QString filler = FRoot + QStringLiteral("/filler");
        const QString message = extract(tarOf("zeros.png", QByteArray(zeros, '\0')), [&] {
            if (!fillDisk || QFileInfo::exists(filler))
                return;
            QFile file(filler);
            if (file.open(QIODevice::WriteOnly))
                while (file.write(QByteArray(64 * 1024, 'f')) > 0 && file.flush()) {
                }
        });
        if (error.isEmpty()) {
            QCOMPARE(message, QString());
            QCOMPARE(QFileInfo(FRoot + QStringLiteral("/lib/zeros.png")).size(), qint64(zeros));
            return;
        }
        QVERIFY2(message.contains(error), qPrintable(message));
        auto after = snapshot(FRoot, QDir::AllEntries);
        after.remove(QStringLiteral("lib.tar.gz"));
        after.remove(QStringLiteral("filler"));
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
        // The position is the header's in the tar stream, whatever the gzip stream around it;
        // a "%2B" in a name is no place marker of the message.
        QTest::newRow("negative size")
            << document + header(record("a%2Bb.png", 0), "-1") + blocks("a") + endBlocks()
            << QStringLiteral("lib.tar.gz\" is damaged: the entry \"a%2Bb.png\" at position 1024 "
                              "claims -23 bytes")
            << QStringList();
        QTest::newRow("size past the end")
            << header(record("a.png", 0), "7777777") + blocks("a") + document + endBlocks()
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
        const QByteArray target = "/usr/share/" + QByteArray(150, 't');
        QTest::newRow("long link target")
            << header(record("././@LongLink", target.size() + 1), {}, false, 'K') +
                   blocks(target + '\0') + header(record("link.png", 0, ftSymbolicLink)) +
                   header(record("a.png", 1)) + blocks("a") + document + endBlocks()
            << QString() << QStringList{QStringLiteral("a.png"), QStringLiteral("glyphbook.js")};
        QTest::newRow("old-style folder")
            << header(record("img/", 0), {}, false, '\0') + header(record("img/a.png", 1)) +
                   blocks("a") + document + endBlocks()
            << QString()
            << QStringList{QStringLiteral("glyphbook.js"), QStringLiteral("img"),
                           QStringLiteral("img/a.png")};
        const QByteArray pax = "30 mtime=1700000000.123456789\n";
        QTest::newRow("pax headers and unknown kinds")
            << header(record("pax_global_header", pax.size()), {}, false, 'g') + blocks(pax) +
                   header(record("PaxHeaders/a.png", pax.size()), {}, false, 'x') + blocks(pax) +
                   header(record("a.png", 1)) + blocks("a") +
                   header(record("sparse.png", 1), {}, false, 'S') + blocks("s") + document +
                   endBlocks()
            << QString() << QStringList{QStringLiteral("a.png"), QStringLiteral("glyphbook.js")};
        QTest::newRow("names that decode alike")
            << header(record("\xff\xfe.png", 1)) + blocks("1") + header(record("\xfe\xff.png", 1)) +
                   blocks("2") + document + endBlocks()
            << QStringLiteral("holds the entries \"\\xff\\xfe.png\" and \"\\xfe\\xff.png\", which "
                              "would both be written as")
            << QStringList();
        // The project document would keep the name with CR LF for its LF: a picture it misses.
        QTest::newRow("line break in a name")
            << header(record("a\nb.png", 1)) + blocks("1") + document + endBlocks()
            << QStringLiteral("holds the entry \"a\\x0ab.png\", whose name holds a line break, "
                              "which no project document can keep. Nothing was extracted.")
            << QStringList();
        QTest::newRow("carriage return in a folder's name")
            << header(record("img\r/a.png", 1)) + blocks("1") + document + endBlocks()
            << QStringLiteral("holds the entry \"img\\x0d/a.png\"") << QStringList();
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

    // A work folder that cannot be made says why, as every other file error does; packing
    // needs none.
    void workFolderOnAFullDisk_data()
    {
        QTest::addColumn<bool>("pack"); // else extract, whose work folder is beside the archive
        QTest::newRow("pack") << true;
        QTest::newRow("extract") << false;
    }
    void workFolderOnAFullDisk()
    {
        QFETCH(bool, pack);
        const QString small = FRoot + QStringLiteral("/small");
        QVERIFY(QDir().mkpath(small));
        TSmallDisk disk(small, 64 * 1024);
        if (!disk.IsMounted())
            QSKIP("only the administrator can mount a small file system");
        const QString archive = (pack ? FRoot : small) + QStringLiteral("/lib.tar.gz");
        if (!pack)
            writeFile(archive, gzipped(tarOf("a.png", "a")));
        QFile filler(small + QStringLiteral("/filler"));
        QVERIFY(filler.open(QIODevice::WriteOnly));
        while (filler.write(QByteArray(4096, 'f')) > 0 && filler.flush()) {
        }
        filler.close();
        const QByteArray systemTemp = qgetenv("TMPDIR");
        if (pack)
            qputenv("TMPDIR", QFile::encodeName(small));
        const auto before = snapshot(FRoot, QDir::AllEntries);

        QString message;
        TViraGlyphbook book;
        TPackCallbacks callbacks;
        callbacks.Confirm = [](const QString &) { return true; };
        try {
            if (pack)
                PackLibrary(book, archive, callbacks);
            else
                ExtractLibrary(book, archive, callbacks);
        } catch (const EGlyphbookError &e) {
            message = e.message();
        }
        qputenv("TMPDIR", systemTemp);
        if (pack) {
            QCOMPARE(message, QString());
            QVERIFY(QFileInfo(archive).isFile());
            return;
        }
        QCOMPARE(message, QStringLiteral("Cannot create a temporary folder in \"%1\". %2")
                              .arg(small, QString::fromLocal8Bit(std::strerror(ENOSPC))));
        QCOMPARE(snapshot(FRoot, QDir::AllEntries), before);
    }

    void packToTargetsThatCannotTakeIt_data()
    {
        QTest::addColumn<QString>("target");
        QTest::addColumn<QString>("error");
        // /proc cannot be written even by the administrator.
        QTest::newRow("folder that cannot be written")
            << QStringLiteral("/proc/lib.tar.gz")
            << QStringLiteral("Cannot create file \"/proc/lib.tar.gz\".");
        QTest::newRow("full device")
            << QStringLiteral("FULL") << QStringLiteral("No space left on device");
        // The disk fills in the middle of a write, which Qt reports without a reason.
        QTest::newRow("full disk")
            << QStringLiteral("SMALL") << QString::fromLocal8Bit(std::strerror(ENOSPC));
    }
    void packToTargetsThatCannotTakeIt()
    {
        QFETCH(QString, target);
        QFETCH(QString, error);
        if (target == u"FULL") {
            target = FRoot + QStringLiteral("/full");
            if (!makeFullDevice(target))
                QSKIP("only the administrator can make a device");
        }
        std::optional<TSmallDisk> disk;
        if (target == u"SMALL") {
            QVERIFY(QDir().mkpath(FRoot + QStringLiteral("/small")));
            disk.emplace(FRoot + QStringLiteral("/small"), 64 * 1024);
            if (!disk->IsMounted())
                QSKIP("only the administrator can mount a small file system");
            target = FRoot + QStringLiteral("/small/lib.tar.gz");
        }
        // Data that does not compress, so that the archive is as large as the image.
        QByteArray data(100000, Qt::Uninitialized);
        quint32 x = 1;
        for (char &c : data)
            c = char((x = x * 1103515245u + 12345u) >> 24);
        const QString image = FRoot + QStringLiteral("/a.png");
        writeFile(image, data);
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
