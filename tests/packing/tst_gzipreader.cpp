// The gzip reader against zlib's own verdicts: whichever library inflates, the same bytes come
// out and damage in the gzip wrapper is told in zlib's words.
#include "packing/GzipStream.h"
#include "tests/OneCallDeflate.h"
#include "tests/TestFiles.h"

#include <QBuffer>
#include <QTest>

#include <zlib.h>

#include <cstring>

using namespace Qt::StringLiterals;

namespace
{

/// A source that gives at most Step bytes a read, so that every field of the wrapper is split
/// between reads somewhere. The first read must show the magic number whole.
class TTrickleSource : public QIODevice
{
public:
    TTrickleSource(QByteArray Bytes, qint64 Step) : FBytes(std::move(Bytes)), FStep(Step)
    {
        open(QIODevice::ReadOnly | QIODevice::Unbuffered);
    }
    bool isSequential() const override { return true; }

protected:
    qint64 readData(char *Data, qint64 MaxSize) override
    {
        const qint64 n = std::min({MaxSize, FStep, qint64(FBytes.size() - FAt)});
        std::memcpy(Data, FBytes.constData() + FAt, size_t(n));
        FAt += n;
        return n;
    }
    qint64 writeData(const char *, qint64) override { return -1; }

private:
    QByteArray FBytes;
    qint64 FStep;
    qsizetype FAt = 0;
};

/// Everything the reader gives for Bytes, read Step bytes at a time from the source, or its
/// error message.
QString readAll(const QByteArray &Bytes, qint64 Step, QByteArray &Out)
{
    TTrickleSource source(Bytes, Step);
    TGzipReader gzip(&source, QStringLiteral("x.gz"));
    Out.clear();
    QByteArray buffer(100'000, Qt::Uninitialized);
    for (;;) {
        const qint64 n = gzip.read(buffer.data(), buffer.size());
        if (n < 0)
            return gzip.errorString();
        if (n == 0)
            return QString();
        Out.append(buffer.constData(), n);
    }
}

void putLittleEndian(QByteArray &Bytes, quint32 Value, int Size)
{
    for (int i = 0; i < Size; ++i)
        Bytes.append(char(Value >> (8 * i)));
}

/// Raw deflate data of Bytes at the given level.
QByteArray deflateRaw(const QByteArray &Bytes, int Level)
{
    return OneCallDeflate(Bytes, Level, -15);
}

struct TMemberOptions {
    int Level = 9;
    int Method = 8;
    int Flags = 0; // FEXTRA, FNAME, FCOMMENT and FHCRC get fields; others only the bit
    bool BadHeaderCrc = false;
    quint32 CrcDelta = 0;
    quint32 LengthDelta = 0;
};

/// One gzip member of Bytes, the header written here so that every field can be had.
QByteArray member(const QByteArray &Bytes, const TMemberOptions &Options = {})
{
    QByteArray out("\x1f\x8b");
    out.append(char(Options.Method));
    out.append(char(Options.Flags));
    putLittleEndian(out, 1'700'000'000, 4);
    out.append("\x02\x03", 2);
    if (Options.Flags & 0x04) {
        putLittleEndian(out, 5, 2);
        out.append("ab\0cd", 5);
    }
    if (Options.Flags & 0x08)
        out.append("name.tar", 9);
    if (Options.Flags & 0x10)
        out.append("a comment", 10);
    if (Options.Flags & 0x02) {
        const quint32 crc =
            quint32(crc32(0, reinterpret_cast<const Bytef *>(out.constData()), uInt(out.size())));
        putLittleEndian(out, Options.BadHeaderCrc ? crc + 1 : crc, 2);
    }
    out += deflateRaw(Bytes, Options.Level);
    const auto crc =
        quint32(crc32(0, reinterpret_cast<const Bytef *>(Bytes.constData()), uInt(Bytes.size())));
    putLittleEndian(out, crc + Options.CrcDelta, 4);
    putLittleEndian(out, quint32(Bytes.size()) + Options.LengthDelta, 4);
    return out;
}

/// Deflate data written bit by bit, for streams no compressor makes.
class TBitWriter
{
public:
    void Bits(quint32 Value, int Count)
    {
        for (int i = 0; i < Count; ++i)
            Bit((Value >> i) & 1);
    }
    /// A Huffman code, which deflate stores from its first bit on.
    void Code(quint32 Value, int Count)
    {
        for (int i = Count - 1; i >= 0; --i)
            Bit((Value >> i) & 1);
    }
    QByteArray Bytes() const { return FBytes; }

private:
    void Bit(quint32 b)
    {
        if (FUsed % 8 == 0)
            FBytes.append('\0');
        FBytes[FBytes.size() - 1] = char(quint8(FBytes.back()) | (b << (FUsed % 8)));
        ++FUsed;
    }
    QByteArray FBytes;
    int FUsed = 0;
};

/// A member around hand-made deflate data, with the crc and length of Claimed.
QByteArray memberAround(const QByteArray &Deflate, const QByteArray &Claimed)
{
    QByteArray out("\x1f\x8b\x08\0\0\0\0\0\0\x03", 10);
    out += Deflate;
    putLittleEndian(out,
                    quint32(crc32(0, reinterpret_cast<const Bytef *>(Claimed.constData()),
                                  uInt(Claimed.size()))),
                    4);
    putLittleEndian(out, quint32(Claimed.size()), 4);
    return out;
}

/// zlib's verdict on one member taken whole: its bytes, or its message ("cut" when it needs
/// more); Rest tells whether bytes follow the member.
QString zlibVerdict(const QByteArray &Bytes, QByteArray &Out, bool &Rest)
{
    z_stream z{};
    inflateInit2(&z, 31);
    Out = QByteArray(1 << 20, Qt::Uninitialized);
    z.next_in = reinterpret_cast<Bytef *>(const_cast<char *>(Bytes.constData()));
    z.avail_in = uInt(Bytes.size());
    z.next_out = reinterpret_cast<Bytef *>(Out.data());
    z.avail_out = uInt(Out.size());
    const int result = inflate(&z, Z_FINISH);
    Out.truncate(Out.size() - qsizetype(z.avail_out));
    Rest = result == Z_STREAM_END && z.avail_in > 0;
    const QString verdict = result == Z_STREAM_END ? QString()
                            : result == Z_BUF_ERROR && z.avail_in == 0
                                ? QStringLiteral("cut")
                                : QString::fromLatin1(z.msg ? z.msg : "?");
    inflateEnd(&z);
    return verdict;
}

const QString Damaged = QStringLiteral("The file \"x.gz\" is damaged: ");
const QString Cut = Damaged + QStringLiteral("it ends before the end of its compressed data.");

} // namespace

class TestGzipReader : public QObject
{
    Q_OBJECT

private slots:
    void readsWhatZlibReads_data()
    {
        QTest::addColumn<QByteArray>("gzip");
        QTest::addColumn<QByteArray>("expected");
        QTest::addColumn<QString>("error"); // the whole message, or its start ending in ": "

        const QByteArray text = QByteArray("Symbols, pictures and names. ").repeated(3000);
        const QByteArray noise = sampleBytes(70'000, 1);
        const auto with = [](int flags) {
            TMemberOptions o;
            o.Flags = flags;
            return o;
        };
        const QByteArray two = member(text.left(1000)) + member(text.mid(1000));

        QTest::newRow("one member") << member(text) << text << QString();
        QTest::newRow("stored blocks") << member(noise, {0}) << noise << QString();
        QTest::newRow("nothing in it") << member({}) << QByteArray() << QString();
        QTest::newRow("every header field")
            << member(text, with(0x02 | 0x04 | 0x08 | 0x10)) << text << QString();
        QTest::newRow("members, empty ones between")
            << member({}) + two + member({}) << text << QString();
        QTest::newRow("zero padding") << two + QByteArray(700, '\0') << text << QString();

        QTest::newRow("not gzip") << QByteArray("plain text") << QByteArray()
                                  << u"The file \"x.gz\" is not gzip-compressed."_s;
        QTest::newRow("only the magic") << QByteArray("\x1f\x8b") << QByteArray() << Cut;
        QTest::newRow("cut in the header") << member(text).left(7) << QByteArray() << Cut;
        QTest::newRow("cut in the name")
            << member(text, with(0x08)).left(14) << QByteArray() << Cut;
        QTest::newRow("cut in the data") << member(text).chopped(40) << QByteArray() << Cut;
        QTest::newRow("no trailer") << member(text).chopped(8) << QByteArray() << Cut;
        QTest::newRow("half a length") << member(text).chopped(2) << QByteArray() << Cut;
        QTest::newRow("cut in the second member")
            << two + member(text).left(5) << QByteArray() << Cut;

        TMemberOptions badCrc;
        badCrc.CrcDelta = 1;
        TMemberOptions badLength;
        badLength.LengthDelta = 1;
        TMemberOptions badBoth = badCrc;
        badBoth.LengthDelta = 1;
        const QString dataCheck = Damaged + u"incorrect data check."_s;
        QTest::newRow("wrong crc") << member(text, badCrc) << QByteArray() << dataCheck;
        QTest::newRow("wrong crc, length cut off")
            << member(text, badCrc).chopped(4) << QByteArray() << dataCheck;
        QTest::newRow("wrong length")
            << member(text, badLength) << QByteArray() << Damaged + u"incorrect length check."_s;
        QTest::newRow("wrong crc and length") << member(text, badBoth) << QByteArray() << dataCheck;
        QTest::newRow("wrong length of an empty member")
            << member({}, badLength) << QByteArray() << Damaged + u"incorrect length check."_s;

        TMemberOptions badHeaderCrc = with(0x02 | 0x08);
        badHeaderCrc.BadHeaderCrc = true;
        TMemberOptions method;
        method.Method = 7;
        QTest::newRow("wrong header crc")
            << member(text, badHeaderCrc) << QByteArray() << Damaged + u"header crc mismatch."_s;
        QTest::newRow("unknown method")
            << member(text, method) << QByteArray() << Damaged + u"unknown compression method."_s;
        QTest::newRow("reserved flag")
            << member(text, with(0x20)) << QByteArray() << Damaged + u"unknown header flags set."_s;
        QTest::newRow("second member no gzip")
            << member(text) + QByteArray("\x1f\x9d junk") << QByteArray()
            << Damaged + u"incorrect header check."_s;
        QTest::newRow("garbage after the end") << two + QByteArray(3, '\0') + "junk" << QByteArray()
                                               << Damaged + u"unexpected data after its end."_s;

        // A fixed-code block whose first symbol copies from before the start.
        TBitWriter far;
        far.Bits(1, 1);         // final block
        far.Bits(1, 2);         // fixed codes
        far.Code(0b0000001, 7); // length 3
        far.Code(0, 5);         // distance 1
        far.Code(0, 7);         // end of block
        QTest::newRow("distance before the start")
            << memberAround(far.Bytes(), "aaa") << QByteArray()
            << Damaged + u"invalid distance too far back."_s;
        TBitWriter reserved;
        reserved.Bits(1, 1);
        reserved.Bits(3, 2); // the reserved block type
        QTest::newRow("reserved block type")
            << memberAround(reserved.Bytes(), {}) << QByteArray() << Damaged;
        TBitWriter stored;
        stored.Bits(1, 1);
        stored.Bits(0, 2);
        QByteArray storedBytes = stored.Bytes();
        storedBytes.append("\x05\x00\x05\x00hello", 9); // the length's complement is wrong
        QTest::newRow("stored length and its complement differ")
            << memberAround(storedBytes, "hello") << QByteArray() << Damaged;
    }

    void readsWhatZlibReads()
    {
        QFETCH(QByteArray, gzip);
        QFETCH(QByteArray, expected);
        QFETCH(QString, error);
        for (const qint64 step : {qint64(2), qint64(3), qint64(1) << 20}) {
            QByteArray out;
            const QString got = readAll(gzip, step, out);
            if (error.endsWith(u": "_s))
                QVERIFY2(got.startsWith(error), qPrintable(got));
            else
                QCOMPARE(got, error);
            if (error.isEmpty())
                QCOMPARE(out, expected);
        }
    }

    void everyFlippedByteGetsZlibsVerdict()
    {
        // Damage in the wrapper must be told in zlib's words; damage in the deflate data only as
        // damage, since the inflater may find it at another symbol or by the crc.
        const QStringList wrapperWords = {
            u"incorrect header check"_s,   u"unknown compression method"_s,
            u"unknown header flags set"_s, u"header crc mismatch"_s,
            u"incorrect data check"_s,     u"incorrect length check"_s};
        TMemberOptions options;
        options.Flags = 0x02 | 0x04 | 0x08;
        const QByteArray text =
            QByteArray("The name of a picture, and another one. ").repeated(40) +
            sampleBytes(300, 7);
        const QByteArray whole = member(text, options);
        int compared = 0;
        for (qsizetype at = 0; at < whole.size(); ++at) {
            for (const quint8 flip : {quint8(0x01), quint8(0x80), quint8(0xFF)}) {
                QByteArray damaged = whole;
                damaged[at] = char(quint8(damaged[at]) ^ flip);
                QByteArray want;
                bool rest = false;
                const QString verdict = zlibVerdict(damaged, want, rest);
                if (rest)
                    continue; // the data ends early: what follows is read as another member
                QByteArray got;
                const QString error = readAll(damaged, at % 2 ? 2 : 1 << 20, got);
                const QString where = u"byte %1 ^ %2: zlib says \"%3\", the reader \"%4\""_s.arg(
                    QString::number(at), QString::number(flip), verdict, error);
                if (at < 2)
                    QVERIFY2(error.endsWith(u"is not gzip-compressed."_s), qPrintable(where));
                else if (verdict.isEmpty())
                    QVERIFY2(error.isEmpty() && got == want, qPrintable(where));
                else if (verdict == u"cut")
                    QVERIFY2(error == Cut, qPrintable(where));
                else if (wrapperWords.contains(verdict))
                    QVERIFY2(error == Damaged + verdict + u'.', qPrintable(where));
                else
                    QVERIFY2(error.startsWith(Damaged), qPrintable(where));
                ++compared;
            }
        }
        // Nearly every flip is compared: the skipped ones are rare.
        QVERIFY2(compared > whole.size() * 2, qPrintable(QString::number(compared)));
    }

    void onlyARewindBeforeReadingSeeks()
    {
        QBuffer source;
        source.setData(member("abc"));
        source.open(QIODevice::ReadOnly);
        TGzipReader gzip(&source, QStringLiteral("x.gz"));
        QVERIFY(gzip.seek(0));
        QCOMPARE(gzip.readAll(), QByteArray("abc"));
        QVERIFY(!gzip.seek(0));
        QVERIFY(gzip.atEnd());
    }
};

QTEST_GUILESS_MAIN(TestGzipReader)
#include "tst_gzipreader.moc"
