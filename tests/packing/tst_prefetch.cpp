#include "packing/PrefetchReader.h"
#include "tests/TestFiles.h"

#include <QBuffer>
#include <QTest>

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

} // namespace

class TestPrefetch : public QObject
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

QTEST_GUILESS_MAIN(TestPrefetch)
#include "tst_prefetch.moc"
