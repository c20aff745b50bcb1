#include "packing/GzipStream.h"
#include "packing/PrefetchReader.h"
#include "tests/OneCallDeflate.h"
#include "tests/TestFiles.h"

#include <QBuffer>
#include <QTest>

#include <zlib.h>

namespace
{

/// A source that gives its bytes and then fails, as a damaged gzip stream does.
class TFailingSource : public QIODevice
{
public:
    explicit TFailingSource(QByteArray Bytes) : FBytes(std::move(Bytes))
    {
        open(QIODevice::ReadOnly | QIODevice::Unbuffered);
    }
    bool isSequential() const override { return true; }

protected:
    qint64 readData(char *Data, qint64 MaxSize) override
    {
        if (FAt == FBytes.size())
            return -1;
        const qint64 n = std::min<qint64>(MaxSize, FBytes.size() - FAt);
        std::memcpy(Data, FBytes.constData() + FAt, size_t(n));
        FAt += n;
        return n;
    }
    qint64 writeData(const char *, qint64) override { return -1; }

private:
    QByteArray FBytes;
    qsizetype FAt = 0;
};

QByteArray readThrough(TPrefetchReader &reader, qint64 step, qint64 &last)
{
    QByteArray all;
    QByteArray buffer(step, Qt::Uninitialized);
    for (;;) {
        last = reader.read(buffer.data(), step);
        if (last <= 0)
            return all;
        all.append(buffer.constData(), last);
    }
}

/// A target that takes Room bytes and then refuses, as a full disk does.
class TFullTarget : public QIODevice
{
public:
    explicit TFullTarget(qint64 Room) : FRoom(Room) { open(QIODevice::WriteOnly); }

protected:
    qint64 readData(char *, qint64) override { return -1; }
    qint64 writeData(const char *, qint64 Size) override
    {
        if (Size > FRoom) {
            setErrorString(QStringLiteral("No space left on device"));
            return -1;
        }
        FRoom -= Size;
        return Size;
    }

private:
    qint64 FRoom;
};

// What zlib gives for the bytes in one call, with the settings of packed libraries.
QByteArray oneCallGzip(const QByteArray &bytes)
{
    return OneCallDeflate(bytes, Z_BEST_COMPRESSION, 31);
}

} // namespace

class TestThreadedStreams : public QObject
{
    Q_OBJECT

private slots:
    void givesTheSourceBytes_data()
    {
        QTest::addColumn<int>("size");
        QTest::addColumn<int>("step");
        const int chunk = int(TPrefetchReader::ChunkSize);
        QTest::newRow("empty") << 0 << 512;
        QTest::newRow("less than a chunk") << 1000 << 512;
        QTest::newRow("exactly a chunk") << chunk << 512;
        QTest::newRow("reads across chunks") << 3 * chunk + 77 << 100'000;
        // More than the chunks that may wait: the thread must wait for the reader.
        QTest::newRow("more than fits in flight")
            << int(TPrefetchReader::Chunks + 3) * chunk + 1 << 4 * chunk;
    }

    void givesTheSourceBytes()
    {
        QFETCH(int, size);
        QFETCH(int, step);
        const QByteArray bytes = sampleBytes(size, size);
        QBuffer source;
        source.setData(bytes);
        source.open(QIODevice::ReadOnly);
        TPrefetchReader reader(&source);
        int taken = 0;
        reader.Taken = [&] { ++taken; };
        qint64 last = 0;
        QCOMPARE(readThrough(reader, step, last), bytes);
        QCOMPARE(last, qint64(0));
        QVERIFY(reader.atEnd());
        QCOMPARE(qint64(taken),
                 (size + TPrefetchReader::ChunkSize - 1) / TPrefetchReader::ChunkSize);
    }

    void failureComesAfterTheBytesBeforeIt()
    {
        const QByteArray bytes = sampleBytes(int(TPrefetchReader::ChunkSize) + 10, 3);
        TFailingSource source(bytes);
        TPrefetchReader reader(&source);
        qint64 last = 0;
        QCOMPARE(readThrough(reader, 4096, last), bytes);
        QCOMPARE(last, qint64(-1));
    }

    // The writer compresses on a thread of its own; the bytes must be those of one thread.
    void gzipWriterGivesTheBytesOfOneCall_data()
    {
        QTest::addColumn<int>("size");
        QTest::newRow("nothing") << 0;
        QTest::newRow("less than a chunk") << 5000;
        QTest::newRow("many chunks, some compressible") << 5 * 1024 * 1024 + 333;
    }
    void gzipWriterGivesTheBytesOfOneCall()
    {
        QFETCH(int, size);
        QByteArray bytes = sampleBytes(size, 9);
        for (int i = 0; i < size / 3; ++i)
            bytes[i] = char(i / 1000); // runs that compress, as pictures have
        QByteArray written;
        QBuffer target(&written);
        target.open(QIODevice::WriteOnly);
        qint64 reported = -1;
        {
            TGzipWriter gzip(&target);
            gzip.Progress = [&](qint64 done) { reported = done; };
            for (int at = 0; at < size; at += 70'001)
                QCOMPARE(gzip.write(bytes.mid(at, 70'001)), qint64(std::min(70'001, size - at)));
            gzip.Finish();
        }
        QCOMPARE(written, oneCallGzip(bytes));
        QCOMPARE(reported, qint64(size));
    }

    void gzipWriterReportsAFullTarget()
    {
        TFullTarget target(100'000);
        TGzipWriter gzip(&target);
        const QByteArray bytes = sampleBytes(4 * 1024 * 1024, 11); // does not compress
        bool failed = false;
        for (int at = 0; at < bytes.size() && !failed; at += 65'536)
            failed = gzip.write(bytes.mid(at, 65'536)) < 0;
        try {
            gzip.Finish();
        } catch (const EGzipError &e) {
            failed = true;
            QVERIFY2(e.message().contains(u"No space left on device"), qPrintable(e.message()));
        }
        QVERIFY(failed);
        if (!gzip.errorString().isEmpty())
            QCOMPARE(gzip.errorString(), QStringLiteral("No space left on device"));
    }

    // A pack that fails while reading its files drops the writer unfinished, with chunks still
    // being matched: its threads must end and write nothing more.
    void gzipWriterDroppedUnfinished()
    {
        QByteArray written;
        QBuffer target(&written);
        target.open(QIODevice::WriteOnly);
        {
            TGzipWriter gzip(&target);
            const QByteArray bytes = sampleBytes(3 * 1024 * 1024, 12);
            QCOMPARE(gzip.write(bytes), qint64(bytes.size()));
        }
        const qsizetype size = written.size();
        QTest::qWait(20);
        QCOMPARE(written.size(), size);
    }

    void stopsWhileTheThreadWaits()
    {
        // The thread fills every place and waits; ending the reader unread must not hang.
        QBuffer source;
        source.setData(
            sampleBytes(int(TPrefetchReader::Chunks + 4) * int(TPrefetchReader::ChunkSize), 5));
        source.open(QIODevice::ReadOnly);
        {
            TPrefetchReader reader(&source);
            char first[16];
            QCOMPARE(reader.read(first, sizeof first), qint64(sizeof first));
            QTest::qWait(50);
        }
        // The source is the caller's again, read on from where the thread stopped.
        QVERIFY(source.pos() > 0);
        QVERIFY(!source.atEnd());
    }
};

QTEST_GUILESS_MAIN(TestThreadedStreams)
#include "tst_threadedstreams.moc"
