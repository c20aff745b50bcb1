#include "packing/LibTar.h"
#include "tests/TestFiles.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <cstring>
#include <functional>

namespace
{

const QDateTime ExampleTime = QDateTime::fromSecsSinceEpoch(1700000000, Qt::UTC);

QByteArray filled(int size, char seed = 'a')
{
    QByteArray data(size, Qt::Uninitialized);
    for (int i = 0; i < size; ++i)
        data[i] = char(seed + i % 23);
    return data;
}

// The archive a writer leaves in memory once it is destroyed.
QByteArray archiveOf(const std::function<void(TTarWriter &)> &fill)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    {
        TTarWriter writer(&buffer);
        fill(writer);
    }
    return bytes;
}

QByteArray field(const QByteArray &archive, int at, int width)
{
    return archive.mid(at, width);
}

// A header block made by hand, for what our writer never produces.
QByteArray rawHeader(const QByteArray &name, const QByteArray &size, char flag)
{
    TTarDirRec rec;
    rec.Name = name;
    rec.Magic = "ustar";
    QByteArray block = TTarWriter::HeaderBlock(rec);
    block.replace(124, 12, size.leftJustified(12, '\0', true));
    block[156] = flag;
    // Recompute the checksum over the changed block.
    block.replace(148, 8, QByteArray(8, ' '));
    unsigned sum = 0;
    for (int i = 0; i < 512; ++i)
        sum += uchar(block[i]);
    block.replace(148, 8, QByteArray::number(sum, 8).rightJustified(6, ' ') + QByteArray(" \0", 2));
    return block;
}

struct ReadEntry {
    TTarDirRec Rec;
    QByteArray Data;
};

QList<ReadEntry> readAll(QByteArray archive)
{
    QBuffer buffer(&archive);
    buffer.open(QIODevice::ReadOnly);
    TTarArchive reader(&buffer);
    QList<ReadEntry> entries;
    TTarDirRec rec;
    while (reader.FindNext(rec))
        entries.append({rec, reader.ReadFile()});
    return entries;
}

// A target whose write that crosses a given offset comes out short; it takes everything after.
class FlakyDevice : public QIODevice
{
public:
    explicit FlakyDevice(qint64 failAt) : FFailAt(failAt)
    {
        setObjectName(QStringLiteral("flaky target"));
        open(QIODevice::WriteOnly);
    }

protected:
    qint64 readData(char *, qint64) override { return -1; }
    qint64 writeData(const char *, qint64 len) override
    {
        const qint64 start = FWritten;
        FWritten += len;
        if (start <= FFailAt && FFailAt < FWritten)
            return FFailAt - start;
        return len;
    }

private:
    qint64 FFailAt;
    qint64 FWritten = 0;
};

// A pipe-like stream: no seeking, no size known in advance.
class PipeDevice : public QIODevice
{
public:
    explicit PipeDevice(const QByteArray &data) : FData(data) { open(QIODevice::ReadOnly); }
    bool isSequential() const override { return true; }

protected:
    qint64 readData(char *data, qint64 maxSize) override
    {
        const qint64 n = std::min(maxSize, qint64(FData.size()) - FOffset);
        std::memcpy(data, FData.constData() + FOffset, size_t(n));
        FOffset += n;
        return n;
    }
    qint64 writeData(const char *, qint64) override { return -1; }

private:
    QByteArray FData;
    qint64 FOffset = 0;
};

} // namespace

class TestLibTar : public QObject
{
    Q_OBJECT

private slots:
    void headerOfTheExampleEntry()
    {
        const QByteArray data = filled(1234);
        const QByteArray archive =
            archiveOf([&](TTarWriter &w) { w.AddString(data, "abc.png", ExampleTime); });
        QCOMPARE(archive.size(), 512 + 3 * 512 + 512);

        QByteArray name("abc.png");
        name.append(QByteArray(93, '\0'));
        QCOMPARE(field(archive, 0, 100), name);
        QCOMPARE(field(archive, 100, 8), QByteArray("100777 \0", 8));
        QCOMPARE(field(archive, 108, 8), QByteArray("     0 \0", 8));
        QCOMPARE(field(archive, 116, 8), QByteArray("     0 \0", 8));
        QCOMPARE(field(archive, 124, 12), QByteArray("       2322 "));
        QCOMPARE(field(archive, 136, 12), QByteArray("14524770400 "));
        QCOMPARE(field(archive, 148, 8), QByteArray("  7611 \0", 8));
        QCOMPARE(field(archive, 156, 1), QByteArray("0"));
        QCOMPARE(field(archive, 157, 100), QByteArray(100, '\0'));
        QCOMPARE(field(archive, 257, 8), QByteArray("ustar   "));
        QCOMPARE(field(archive, 265, 64), QByteArray(64, '\0'));
        QCOMPARE(field(archive, 329, 8), QByteArray("     0 \0", 8));
        QCOMPARE(field(archive, 337, 8), QByteArray("     0 \0", 8));
        QCOMPARE(field(archive, 345, 167), QByteArray(167, '\0'));
        QCOMPARE(07611, 3977);

        QCOMPARE(archive.mid(512, 1234), data);
        QCOMPARE(archive.mid(512 + 1234, 302 + 512), QByteArray(302 + 512, '\0'));
    }

    void dataBlocksAndRoundTrip_data()
    {
        QTest::addColumn<int>("size");
        QTest::addColumn<int>("dataBlocks");
        QTest::newRow("empty") << 0 << 0;
        QTest::newRow("one byte") << 1 << 1;
        QTest::newRow("one block") << 512 << 1;
        QTest::newRow("one block and a byte") << 513 << 2;
        QTest::newRow("several blocks") << 5000 << 10;
    }
    void dataBlocksAndRoundTrip()
    {
        QFETCH(int, size);
        QFETCH(int, dataBlocks);
        const QByteArray data = filled(size, 'k');
        const QByteArray archive = archiveOf([&](TTarWriter &w) {
            w.AddString(data, "first", ExampleTime);
            w.AddString("tail", "second", ExampleTime);
        });
        QCOMPARE(archive.size(), 512 * (1 + dataBlocks + 1 + 1 + 1));
        if (size == 0)
            QCOMPARE(field(archive, 124, 12), QByteArray("          0 "));
        // Padding of the last data block is zeros.
        QCOMPARE(archive.mid(512 + size, dataBlocks * 512 - size),
                 QByteArray(dataBlocks * 512 - size, '\0'));

        const QList<ReadEntry> entries = readAll(archive);
        QCOMPARE(entries.size(), 2);
        QCOMPARE(entries[0].Rec.Name, QByteArray("first"));
        QCOMPARE(entries[0].Rec.Size, qint64(size));
        QCOMPARE(entries[0].Data, data);
        QCOMPARE(entries[1].Rec.FilePos, qint64(512 * (1 + dataBlocks)));
        QCOMPARE(entries[1].Data, QByteArray("tail"));
    }

    void endBlocks_data()
    {
        QTest::addColumn<int>("finalizeCalls");
        QTest::addColumn<int>("archiveSize");
        QTest::newRow("by the destructor") << 0 << 512;
        QTest::newRow("finalized once") << 1 << 512;
        QTest::newRow("finalized twice") << 2 << 1024;
    }
    void endBlocks()
    {
        QFETCH(int, finalizeCalls);
        QFETCH(int, archiveSize);
        const QByteArray archive = archiveOf([&](TTarWriter &w) {
            for (int i = 0; i < finalizeCalls; ++i)
                w.Finalize();
        });
        QCOMPARE(archive, QByteArray(archiveSize, '\0'));
    }

    void namesAreCutAndReadWithinTheirField_data()
    {
        QTest::addColumn<QByteArray>("name");
        QTest::addColumn<QByteArray>("stored");
        QTest::newRow("99 bytes") << QByteArray(99, 'n') << QByteArray(99, 'n');
        QTest::newRow("100 bytes") << QByteArray(100, 'n') << QByteArray(100, 'n');
        QTest::newRow("101 bytes") << QByteArray(100, 'n') + "X" << QByteArray(100, 'n');
    }
    void namesAreCutAndReadWithinTheirField()
    {
        QFETCH(QByteArray, name);
        QFETCH(QByteArray, stored);
        const QByteArray archive =
            archiveOf([&](TTarWriter &w) { w.AddSymbolicLink(name, name, ExampleTime); });
        const QList<ReadEntry> entries = readAll(archive);
        QCOMPARE(entries.size(), 1);
        QCOMPARE(entries[0].Rec.Name, stored);
        QCOMPARE(entries[0].Rec.LinkName, stored);
        QVERIFY(entries[0].Rec.ChecksumOK);
    }

    void headerOnlyKinds_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QByteArray>("modeField");
        QTest::addColumn<char>("flag");
        QTest::newRow("directory") << int(ftDirectory) << QByteArray(" 40777 \0", 8) << '5';
        QTest::newRow("symbolic link") << int(ftSymbolicLink) << QByteArray("120777 \0", 8) << '2';
        QTest::newRow("hard link") << int(ftLink) << QByteArray("100777 \0", 8) << '1';
        QTest::newRow("volume header") << int(ftVolumeHeader) << QByteArray("   777 \0", 8) << 'V';
    }
    void headerOnlyKinds()
    {
        QFETCH(int, kind);
        QFETCH(QByteArray, modeField);
        QFETCH(char, flag);
        const QByteArray archive = archiveOf([&](TTarWriter &w) {
            switch (kind) {
            case ftDirectory:
                w.AddDir("dir", ExampleTime, 4096);
                break;
            case ftSymbolicLink:
                w.AddSymbolicLink("sym", "target", ExampleTime);
                break;
            case ftLink:
                w.AddLink("hard", "target", ExampleTime);
                break;
            default:
                w.AddVolumeHeader("volume", ExampleTime);
            }
            w.AddString("after", "next", ExampleTime);
        });
        QCOMPARE(field(archive, 100, 8), modeField);
        QCOMPARE(archive.at(156), flag);

        // No data follows, whatever the size field says: the next header is the next block.
        const QList<ReadEntry> entries = readAll(archive);
        QCOMPARE(entries.size(), 2);
        QCOMPARE(int(entries[0].Rec.FileType), kind);
        QVERIFY(entries[0].Data.isEmpty());
        QCOMPARE(entries[0].Rec.Size, kind == ftDirectory ? qint64(4096) : qint64(0));
        QCOMPARE(entries[0].Rec.LinkName,
                 kind == ftSymbolicLink || kind == ftLink ? QByteArray("target") : QByteArray());
        QCOMPARE(entries[1].Rec.FilePos, qint64(512));
        QCOMPARE(entries[1].Data, QByteArray("after"));
    }

    void writerPropertiesRoundTrip()
    {
        const QByteArray archive = archiveOf([](TTarWriter &w) {
            w.SetPermissions({tpReadByOwner, tpWriteByOwner, tpReadByGroup, tpExecuteByOther});
            w.SetMode({tmSetGid, tmSaveText});
            w.SetUID(1000);
            w.SetGID(0777777 + 2); // only the low 18 bits fit
            w.SetUserName("a-user-name-longer-than-32-bytes-xyz");
            w.SetGroupName("staff");
            w.SetMagic("ustar\0"
                       "00");
            w.AddString("x", "f", ExampleTime);
        });
        QCOMPARE(field(archive, 100, 8), QByteArray("103641 \0", 8));
        QCOMPARE(field(archive, 116, 8), QByteArray("     1 \0", 8));
        const QList<ReadEntry> entries = readAll(archive);
        QCOMPARE(entries.size(), 1);
        const TTarDirRec &rec = entries[0].Rec;
        QVERIFY(rec.Permissions ==
                TTarPermissions({tpReadByOwner, tpWriteByOwner, tpReadByGroup, tpExecuteByOther}));
        QVERIFY(rec.Mode == TTarModes({tmSetGid, tmSaveText}));
        QCOMPARE(rec.UID, 1000);
        QCOMPARE(rec.GID, 1);
        QCOMPARE(rec.UserName, QByteArray("a-user-name-longer-than-32-bytes"));
        QCOMPARE(rec.GroupName, QByteArray("staff"));
        QCOMPARE(rec.Magic, QByteArray("ustar"));
        QCOMPARE(rec.DateTime, ExampleTime);
        QVERIFY(rec.ChecksumOK);
    }

    void addFileNamesAndTimes()
    {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        QFile file(dir.filePath(QStringLiteral("a.png")));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("picture");
        file.close();
        QVERIFY(file.open(QIODevice::ReadWrite));
        const QDateTime time = ExampleTime.addMSecs(999);
        QVERIFY(file.setFileTime(time, QFileDevice::FileModificationTime));
        file.close();

        const QByteArray archive = archiveOf([&](TTarWriter &w) {
            w.AddFile(file.fileName(), "img\\a.png");
            w.AddString("s", "img\\b.png", ExampleTime);
        });
        const QList<ReadEntry> entries = readAll(archive);
        QCOMPARE(entries.size(), 2);
        QCOMPARE(entries[0].Rec.Name, QByteArray("img/a.png"));
        QCOMPARE(entries[0].Rec.DateTime, ExampleTime); // milliseconds dropped
        QCOMPARE(entries[0].Data, QByteArray("picture"));
        QCOMPARE(entries[1].Rec.Name, QByteArray("img\\b.png"));

        // Without an entry name the disk name is used.
        const QByteArray own = archiveOf([&](TTarWriter &w) { w.AddFile(file.fileName()); });
        QCOMPARE(readAll(own).value(0).Rec.Name, file.fileName().toUtf8());
    }

    // Files are read straight into whole blocks, in parts of at most 64 KiB.
    void addFileCopiesEveryByte_data()
    {
        QTest::addColumn<int>("size");
        for (const int size : {0, 1, 511, 512, 513, 65535, 65536, 65537, 200'000})
            QTest::addRow("%d bytes", size) << size;
    }
    void addFileCopiesEveryByte()
    {
        QFETCH(int, size);
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        QByteArray data(size, Qt::Uninitialized);
        for (int i = 0; i < size; ++i)
            data[i] = char(i * 7 + i / 251);
        QFile file(dir.filePath(QStringLiteral("a.png")));
        QVERIFY(file.open(QIODevice::WriteOnly));
        QCOMPARE(file.write(data), qint64(size));
        file.close();

        const QByteArray archive = archiveOf([&](TTarWriter &w) {
            w.AddFile(file.fileName(), "a.png");
            w.AddString("after", "b.png", ExampleTime);
        });
        QCOMPARE(archive.size(), 512 * (1 + (size + 511) / 512 + 2 + 1));
        const QList<ReadEntry> entries = readAll(archive);
        QCOMPARE(entries.size(), 2);
        QCOMPARE(entries[0].Rec.Size, qint64(size));
        QVERIFY(entries[0].Data == data);
        QCOMPARE(entries[1].Data, QByteArray("after"));
    }

    void addFileThatCannotBeReadWritesNothing_data()
    {
        QTest::addColumn<QString>("name");
        QTest::newRow("missing file") << QStringLiteral("/nonexistent/x.png");
        QTest::newRow("folder") << QDir::tempPath();
    }
    void addFileThatCannotBeReadWritesNothing()
    {
        QFETCH(QString, name);
        QByteArray bytes;
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        TTarWriter writer(&buffer);
        QVERIFY_THROWS_EXCEPTION(EFileError, writer.AddFile(name, "x.png"));
        QVERIFY(bytes.isEmpty());
    }

    void timesBefore1970AreStoredAsZero_data()
    {
        QTest::addColumn<QDateTime>("time");
        QTest::addColumn<QByteArray>("mtimeField");
        QTest::newRow("zero date-time")
            << QDateTime(QDate(1899, 12, 30), QTime(0, 0), Qt::UTC) << QByteArray("          0 ");
        QTest::newRow("one second before")
            << QDateTime::fromSecsSinceEpoch(-1, Qt::UTC) << QByteArray("          0 ");
        QTest::newRow("epoch") << QDateTime::fromSecsSinceEpoch(0, Qt::UTC)
                               << QByteArray("          0 ");
        QTest::newRow("a second after, with fraction")
            << QDateTime::fromMSecsSinceEpoch(1999, Qt::UTC) << QByteArray("          1 ");
    }
    void timesBefore1970AreStoredAsZero()
    {
        QFETCH(QDateTime, time);
        QFETCH(QByteArray, mtimeField);
        const QByteArray archive = archiveOf([&](TTarWriter &w) { w.AddString("", "t", time); });
        QCOMPARE(field(archive, 136, 12), mtimeField);
    }

    void sizesOutsideTheFieldAreRefused_data()
    {
        QTest::addColumn<qint64>("size");
        QTest::addColumn<bool>("accepted");
        QTest::newRow("largest") << (Q_INT64_C(1) << 33) - 1 << true;
        QTest::newRow("8 GiB") << (Q_INT64_C(1) << 33) << false;
        QTest::newRow("negative") << qint64(-1) << false;
    }
    void sizesOutsideTheFieldAreRefused()
    {
        QFETCH(qint64, size);
        QFETCH(bool, accepted);
        QByteArray bytes;
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        TTarWriter writer(&buffer);
        if (accepted) {
            writer.AddDir("big", ExampleTime, size);
            QCOMPARE(field(bytes, 124, 12), QByteArray("77777777777 "));
        } else {
            QVERIFY_THROWS_EXCEPTION(ETarError, writer.AddDir("big", ExampleTime, size));
            QVERIFY(bytes.isEmpty());
        }
    }

    void failedWritesAreReported_data()
    {
        QTest::addColumn<qint64>("failAt");
        QTest::newRow("refuses the header") << qint64(0);
        QTest::newRow("short in the data") << qint64(700);
        QTest::newRow("short at the end block") << qint64(1536 + 100);
    }
    void failedWritesAreReported()
    {
        QFETCH(qint64, failAt);
        FlakyDevice target(failAt);
        TTarWriter writer(&target);
        try {
            writer.AddString(filled(600), "f", ExampleTime);
            writer.Finalize();
            QFAIL("no error after a short write");
        } catch (const ETarError &e) {
            QVERIFY2(e.message().contains(QStringLiteral("flaky target")), qPrintable(e.message()));
        }
        // The target takes writes again, but the archive has a hole: nothing may succeed now.
        QVERIFY_THROWS_EXCEPTION(ETarError, writer.AddString("x", "g", ExampleTime));
        QVERIFY_THROWS_EXCEPTION(ETarError, writer.Finalize());
    }

    void failedWriteToAFileIsReported()
    {
        QTemporaryDir dir;
        const QString full = dir.filePath(QStringLiteral("full"));
        if (!makeFullDevice(full))
            QSKIP("only the administrator can make a device");
        TTarWriter writer(full);
        try {
            writer.AddString("data", "f", ExampleTime);
            QFAIL("no error from a full disk");
        } catch (const ETarError &e) {
            QVERIFY2(e.message().contains(full), qPrintable(e.message()));
        }
    }

    void readsTheListingOfAnArchive()
    {
        const QByteArray archive = archiveOf([](TTarWriter &w) {
            w.AddString("", "a.png", ExampleTime);
            w.AddString(filled(700), "glyphbook.js", ExampleTime);
        });
        QBuffer buffer;
        buffer.setData(archive);
        buffer.open(QIODevice::ReadOnly);
        TTarArchive reader(&buffer);
        TTarDirRec rec;
        QList<QByteArray> names;
        QList<qint64> positions;
        while (reader.FindNext(rec)) {
            names.append(rec.Name);
            positions.append(rec.FilePos);
            QCOMPARE(rec.FileType, ftNormal);
            QVERIFY(rec.ChecksumOK);
            QCOMPARE(rec.Magic, QByteArray("ustar"));
            QVERIFY(rec.Permissions == AllTarPermissions);
            QVERIFY(rec.Mode.isEmpty());
            QCOMPARE(rec.UID, 0);
            QCOMPARE(rec.GID, 0);
        }
        QCOMPARE(names, QList<QByteArray>({"a.png", "glyphbook.js"}));
        QCOMPARE(positions, QList<qint64>({0, 512}));
        QVERIFY(!reader.FindNext(rec));
        QCOMPARE(rec.Name, QByteArray("glyphbook.js")); // kept at the end

        reader.Reset();
        QVERIFY(reader.FindNext(rec));
        QCOMPARE(rec.Name, QByteArray("a.png"));
    }

    void unreadDataIsSkipped()
    {
        const QByteArray archive = archiveOf([](TTarWriter &w) {
            w.AddString(filled(1300), "skipped", ExampleTime);
            w.AddString("wanted", "read", ExampleTime);
        });
        QBuffer buffer;
        buffer.setData(archive);
        buffer.open(QIODevice::ReadOnly);
        TTarArchive reader(&buffer);
        TTarDirRec rec;
        QVERIFY(reader.FindNext(rec));
        QVERIFY(reader.FindNext(rec));
        QCOMPARE(rec.Name, QByteArray("read"));
        QCOMPARE(reader.ReadFile(), QByteArray("wanted"));
        QCOMPARE(reader.ReadFile(), QByteArray()); // a second read delivers nothing
        QVERIFY(!reader.FindNext(rec));
    }

    void streamsWithoutEntries_data()
    {
        QTest::addColumn<QByteArray>("archive");
        QTest::newRow("empty") << QByteArray();
        QTest::newRow("300 bytes") << filled(300);
        QTest::newRow("end block") << QByteArray(512, '\0');
    }
    void streamsWithoutEntries()
    {
        QFETCH(QByteArray, archive);
        QVERIFY(readAll(archive).isEmpty());
    }

    void readsWhatOtherWritersPut()
    {
        // A long-name record of another writer reads as a normal entry carrying the name.
        const QByteArray longName = QByteArray(150, 'L');
        QByteArray archive = rawHeader("././@LongLink", "00000000227", 'L');
        archive += longName + QByteArray(512 - 150, '\0');
        archive += rawHeader("short", "0", 'x');
        QByteArray damaged = archiveOf([](TTarWriter &w) { w.AddString("d", "sum", ExampleTime); });
        damaged[150] = '1';
        archive += damaged;

        const QList<ReadEntry> entries = readAll(archive);
        QCOMPARE(entries.size(), 3);
        QCOMPARE(entries[0].Rec.FileType, ftNormal);
        QCOMPARE(entries[0].Data, longName + '\0');
        QVERIFY(entries[0].Rec.ChecksumOK);
        QCOMPARE(entries[1].Rec.FileType, ftNormal);
        QCOMPARE(entries[1].Rec.Name, QByteArray("short"));
        QCOMPARE(entries[2].Rec.Name, QByteArray("sum"));
        QVERIFY(!entries[2].Rec.ChecksumOK);
        QCOMPARE(entries[2].Data, QByteArray("d"));
    }

    void damagedSizesAreReported_data()
    {
        QTest::addColumn<QByteArray>("sizeField");
        QTest::newRow("negative") << QByteArray("-1");
        QTest::newRow("beyond the archive") << QByteArray("2001");
        QTest::newRow("absurd") << QByteArray("77777777777");
    }
    void damagedSizesAreReported()
    {
        QFETCH(QByteArray, sizeField);
        QByteArray archive = rawHeader("broken", sizeField, '0') + filled(1024);
        QBuffer buffer(&archive);
        buffer.setObjectName(QStringLiteral("broken.tar"));
        buffer.open(QIODevice::ReadOnly);
        TTarArchive reader(&buffer);
        TTarDirRec rec;
        try {
            reader.FindNext(rec);
            QFAIL("a damaged size was accepted");
        } catch (const ETarError &e) {
            QVERIFY2(e.message().contains(QStringLiteral("\"broken.tar\" is damaged")),
                     qPrintable(e.message()));
        }
    }

    void sequentialStreams()
    {
        QByteArray archive = archiveOf([](TTarWriter &w) {
            w.AddString(filled(1300), "skipped", ExampleTime);
            w.AddString(filled(600), "cut", ExampleTime);
        });
        archive.chop(512 + 512 + 100); // the end block and most of the last data block
        PipeDevice pipe(archive);
        TTarArchive reader(&pipe);
        TTarDirRec rec;
        QVERIFY(reader.FindNext(rec));
        QVERIFY(reader.FindNext(rec));
        QCOMPARE(rec.Name, QByteArray("cut"));
        QVERIFY_THROWS_EXCEPTION(ETarError, reader.ReadFile());
    }

    void pipeCannotMakeTheReaderReserveAClaimedSize()
    {
        // A damaged header on a pipe claims 64 GiB; only a few bytes follow.
        PipeDevice pipe(rawHeader("huge", "777777777777", '0') + filled(700));
        TTarArchive reader(&pipe);
        TTarDirRec rec;
        QVERIFY(reader.FindNext(rec));
        QCOMPARE(rec.Size, qint64(0777777777777));
        QVERIFY_THROWS_EXCEPTION(ETarError, reader.ReadFile());
    }

    void filePositions()
    {
        QByteArray archive = archiveOf([](TTarWriter &w) { w.AddString("x", "f", ExampleTime); });
        QBuffer buffer(&archive);
        buffer.open(QIODevice::ReadOnly);
        TTarArchive reader(&buffer);
        qint64 current = -1, size = -1;
        reader.GetFilePos(current, size);
        QCOMPARE(current, qint64(0));
        QCOMPARE(size, qint64(1536));
        reader.SetFilePos(512);
        reader.GetFilePos(current, size);
        QCOMPARE(current, qint64(512));
        reader.SetFilePos(1536);
        reader.SetFilePos(5000);
        reader.GetFilePos(current, size);
        QCOMPARE(current, qint64(512));
    }

    void readFileToFiles()
    {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QString archiveName = dir.filePath(QStringLiteral("t.tar"));
        {
            TTarWriter writer(archiveName);
            writer.AddDir("folder", ExampleTime, 4096);
            writer.AddString(filled(1000), "data", ExampleTime);
        }
        const QString existing = dir.filePath(QStringLiteral("folder.out"));
        QFile stale(existing);
        QVERIFY(stale.open(QIODevice::WriteOnly));
        stale.write("stale content");
        stale.close();

        TTarArchive reader(archiveName);
        TTarDirRec rec;
        QVERIFY(reader.FindNext(rec));
        reader.ReadFile(existing);
        QVERIFY(reader.FindNext(rec));
        const QString out = dir.filePath(QStringLiteral("data.out"));
        reader.ReadFile(out);
        QVERIFY(!reader.FindNext(rec));

        QCOMPARE(QFileInfo(existing).size(), qint64(0));
        QFile result(out);
        QVERIFY(result.open(QIODevice::ReadOnly));
        QCOMPARE(result.readAll(), filled(1000));

        QVERIFY(reader.FindNext(rec) == false);
        QVERIFY_THROWS_EXCEPTION(EFileError, reader.ReadFile(dir.filePath(QStringLiteral("no/x"))));
        QVERIFY_THROWS_EXCEPTION(EFileError, TTarArchive(dir.filePath(QStringLiteral("none.tar"))));
    }
};

QTEST_GUILESS_MAIN(TestLibTar)
#include "tst_libtar.moc"
