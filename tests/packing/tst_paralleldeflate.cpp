// The parallel deflate against zlib itself: for every input, the gzip member must be zlib's,
// byte for byte, with zlib given the same chunks.
#include "tests/ChunkedDeflate.h"

#include <QRandomGenerator>
#include <QtTest>

namespace
{

QByteArray randomBytes(qsizetype Size, quint32 Seed, int Alphabet = 256)
{
    QRandomGenerator random(Seed);
    QByteArray bytes(Size, Qt::Uninitialized);
    for (char &c : bytes)
        c = char(random.bounded(Alphabet));
    return bytes;
}

/// Text-like bytes: words from a small vocabulary, so that matches of every length and
/// distance come up, with stretches of noise between.
QByteArray mixedBytes(qsizetype Size, quint32 Seed)
{
    QRandomGenerator random(Seed);
    QList<QByteArray> words;
    for (int i = 0; i < 300; ++i)
        words.append(randomBytes(1 + random.bounded(12), Seed + quint32(i), 40));
    QByteArray bytes;
    while (bytes.size() < Size) {
        if (random.bounded(50) == 0)
            bytes += randomBytes(random.bounded(3000), random.generate());
        else if (random.bounded(200) == 0)
            bytes += QByteArray(random.bounded(2000), char(random.bounded(4)));
        else
            bytes += words.at(random.bounded(words.size())) + ' ';
    }
    bytes.truncate(Size);
    return bytes;
}

} // namespace

class TestParallelDeflate : public QObject
{
    Q_OBJECT

private slots:
    void sameBytesAsZlib_data();
    void sameBytesAsZlib();
};

void TestParallelDeflate::sameBytesAsZlib_data()
{
    QTest::addColumn<QByteArray>("input");
    const qsizetype chunk = TParallelDeflate::ChunkSize;
    QTest::newRow("empty") << QByteArray();
    QTest::newRow("one byte") << QByteArray("x");
    QTest::newRow("short text") << QByteArray("abcabcabcabc hello hello hello");
    QTest::newRow("noise 100 kB") << randomBytes(100000, 1);
    QTest::newRow("zeros 1 MB") << QByteArray(1 << 20, '\0');
    QTest::newRow("mixed 3 MB") << mixedBytes(3 << 20, 2);
    QTest::newRow("mixed, exactly two chunks") << mixedBytes(2 * chunk, 3);
    for (const int near : {65274, 65275, 65536, 65536 + 262, 98042})
        QTest::addRow("mixed %d", near) << mixedBytes(near, 4);
    QTest::newRow("noise, a chunk and a byte") << randomBytes(chunk + 1, 5);
    QTest::newRow("noise, a chunk and 300") << randomBytes(chunk + 300, 6);
    QTest::newRow("small alphabet 2 MB") << randomBytes(2 << 20, 7, 3);
}

void TestParallelDeflate::sameBytesAsZlib()
{
    QFETCH(QByteArray, input);
    const QByteArray expected = ZlibInChunks(input);
    for (const int threads : {1, 3}) {
        const QByteArray actual = ParallelInChunks(input, threads);
        if (actual != expected) {
            qsizetype at = 0;
            while (at < std::min(actual.size(), expected.size()) && actual[at] == expected[at])
                ++at;
            QFAIL(qPrintable(QStringLiteral("%1 threads: %2 bytes against zlib's %3, first "
                                            "difference at %4")
                                 .arg(threads)
                                 .arg(actual.size())
                                 .arg(expected.size())
                                 .arg(at)));
        }
    }
}

QTEST_GUILESS_MAIN(TestParallelDeflate)
#include "tst_paralleldeflate.moc"
