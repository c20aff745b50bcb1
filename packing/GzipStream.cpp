#include "packing/GzipStream.h"

#include "model/ShortWrite.h"
#include "packing/ParallelDeflate.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileDevice>

#include <zlib.h>
#ifdef GLYPHBOOK_HAVE_ISAL
#include <isa-l/igzip_lib.h>
#endif

#include <algorithm>
#include <climits>
#include <cstring>
#include <utility>

namespace
{

// Large chunks keep the per-call overhead of the inflater out of the profile; the tar classes
// read in 512-byte blocks.
constexpr qsizetype ChunkSize = 256 * 1024;
constexpr int GzipWindowBits = 31;

} // namespace

// ---- TGzipWriter ----

TGzipWriter::TGzipWriter(QIODevice *Target) : FTarget(Target)
{
    // Target belongs to the deflater's joining thread from here on.
    FDeflate =
        std::make_unique<TParallelDeflate>([this](const char *Data, qint64 Size, QString &Error) {
            if (FTarget->write(Data, Size) == Size)
                return true;
            Error = ShortWriteReason(*FTarget);
            return false;
        });
    FInput.reserve(TParallelDeflate::ChunkSize);
    // Messages of the tar writer name the archive by its stream.
    const auto file = qobject_cast<QFileDevice *>(Target);
    setObjectName(file ? QDir::toNativeSeparators(file->fileName()) : Target->objectName());
    open(QIODevice::WriteOnly | QIODevice::Unbuffered);
}

TGzipWriter::~TGzipWriter() = default;

qint64 TGzipWriter::writeData(const char *Data, qint64 Size)
{
    if (FFinished)
        return -1;
    const qint64 chunk = TParallelDeflate::ChunkSize;
    qint64 done = 0;
    while (done < Size) {
        const qint64 n = std::min<qint64>(Size - done, chunk - FInput.size());
        FInput.append(Data + done, n);
        done += n;
        if (FInput.size() == chunk) {
            if (!FDeflate->Write(std::exchange(FInput, QByteArray()))) {
                setErrorString(FDeflate->Error());
                return -1;
            }
            FInput.reserve(chunk);
            if (Progress)
                Progress(FDeflate->Done());
        }
    }
    return Size;
}

void TGzipWriter::Finish()
{
    if (FFinished)
        return;
    if (FDeflate->Finish(std::exchange(FInput, QByteArray()))) {
        FFinished = true;
        if (Progress)
            Progress(FDeflate->Done());
        return;
    }
    setErrorString(FDeflate->Error());
    throw EGzipError(
        QCoreApplication::translate("GzipStream", "Cannot write the compressed data. %1")
            .arg(errorString()));
}

// ---- TGzipReader ----

namespace
{

// Input is read in after this much room, where bytes the inflater took ahead of the end of a
// member's data are put back.
constexpr qsizetype InputHeadroom = 8;

} // namespace

#ifdef GLYPHBOOK_HAVE_ISAL

namespace
{

constexpr int FlagHeaderCrc = 0x02;
constexpr int FlagExtra = 0x04;
constexpr int FlagName = 0x08;
constexpr int FlagComment = 0x10;
constexpr int FlagsReserved = 0xE0;

quint32 littleEndian32(const quint8 *Bytes)
{
    return quint32(Bytes[0]) | quint32(Bytes[1]) << 8 | quint32(Bytes[2]) << 16 |
           quint32(Bytes[3]) << 24;
}

} // namespace

// ISA-L inflates the deflate data and keeps its crc; the gzip header and trailer are read here
// as zlib reads them, so that damage there gets zlib's words whichever library inflates.
struct TGzipReader::TInflater {
    enum class TPart { Header, Data, Trailer };
    enum class TField { Fixed, ExtraLength, Extra, Name, Comment, HeaderCrc, Done };

    inflate_state S{};
    TPart Part = TPart::Header;
    TField Field = TField::Fixed;
    quint8 Bytes[10]; // of the fixed-size field being read
    int Have = 0;
    int Flags = 0;
    quint32 ExtraLeft = 0;
    uLong HeaderCrc = 0;

    TInflater() { Restart(); }

    /// Starts a member at the unread input.
    void Restart()
    {
        uint8_t *const next = S.next_in;
        const uint32_t avail = S.avail_in;
        isal_inflate_init(&S);
        S.crc_flag = ISAL_GZIP_NO_HDR;
        S.next_in = next;
        S.avail_in = avail;
        Part = TPart::Header;
        Field = TField::Fixed;
        Have = 0;
        Flags = 0;
    }

    /// Takes input into Bytes until it holds Count; true then.
    bool Fill(int Count)
    {
        const uint32_t n = std::min(uint32_t(Count - Have), S.avail_in);
        if (n > 0)
            std::memcpy(Bytes + Have, S.next_in, n);
        Skip(n);
        Have += int(n);
        return Have == Count;
    }
    void Skip(uint32_t Count)
    {
        S.next_in += Count;
        S.avail_in -= Count;
    }
    void AddToHeaderCrc(const quint8 *Data, uint32_t Size)
    {
        if ((Flags & FlagHeaderCrc) && Size > 0)
            HeaderCrc = crc32(HeaderCrc, Data, Size);
    }
    /// Skips input up to and with a zero byte; true when it was found.
    bool SkipText()
    {
        const void *zero = S.avail_in > 0 ? std::memchr(S.next_in, 0, S.avail_in) : nullptr;
        const uint32_t n =
            zero ? uint32_t(static_cast<const uint8_t *>(zero) - S.next_in) + 1 : S.avail_in;
        AddToHeaderCrc(S.next_in, n);
        Skip(n);
        return zero != nullptr;
    }
};

int TGzipReader::ReadHeader()
{
    TInflater &z = *FInflater;
    using TField = TInflater::TField;
    const auto damaged = [this](const char *Why) {
        FailDamaged(QString::fromLatin1(Why));
        return -1;
    };
    if (z.Field == TField::Fixed) {
        const bool whole = z.Fill(10);
        if (z.Have >= 2 && (z.Bytes[0] != 0x1F || z.Bytes[1] != 0x8B))
            return damaged("incorrect header check");
        if (z.Have >= 4 && z.Bytes[2] != 8)
            return damaged("unknown compression method");
        if (z.Have >= 4 && (z.Bytes[3] & FlagsReserved))
            return damaged("unknown header flags set");
        if (!whole)
            return 0;
        z.Flags = z.Bytes[3];
        z.HeaderCrc = crc32(0, nullptr, 0);
        z.AddToHeaderCrc(z.Bytes, 10);
        z.Field = TField::ExtraLength;
        z.Have = 0;
    }
    if (z.Field == TField::ExtraLength) {
        if (z.Flags & FlagExtra) {
            if (!z.Fill(2))
                return 0;
            z.AddToHeaderCrc(z.Bytes, 2);
            z.ExtraLeft = quint32(z.Bytes[0]) | quint32(z.Bytes[1]) << 8;
        }
        z.Field = TField::Extra;
        z.Have = 0;
    }
    if (z.Field == TField::Extra) {
        const uint32_t n = std::min(z.ExtraLeft, z.S.avail_in);
        z.AddToHeaderCrc(z.S.next_in, n);
        z.Skip(n);
        z.ExtraLeft -= n;
        if (z.ExtraLeft > 0)
            return 0;
        z.Field = TField::Name;
    }
    if (z.Field == TField::Name) {
        if ((z.Flags & FlagName) && !z.SkipText())
            return 0;
        z.Field = TField::Comment;
    }
    if (z.Field == TField::Comment) {
        if ((z.Flags & FlagComment) && !z.SkipText())
            return 0;
        z.Field = TField::HeaderCrc;
    }
    if (z.Field == TField::HeaderCrc) {
        if (z.Flags & FlagHeaderCrc) {
            if (!z.Fill(2))
                return 0;
            if ((quint32(z.Bytes[0]) | quint32(z.Bytes[1]) << 8) != (z.HeaderCrc & 0xFFFF))
                return damaged("header crc mismatch");
        }
        z.Field = TField::Done;
    }
    return 1;
}

int TGzipReader::ReadTrailer()
{
    TInflater &z = *FInflater;
    const bool whole = z.Fill(8);
    if (z.Have >= 4 && littleEndian32(z.Bytes) != z.S.crc) {
        FailDamaged(QStringLiteral("incorrect data check"));
        return -1;
    }
    if (!whole)
        return 0;
    if (littleEndian32(z.Bytes + 4) != z.S.total_out) {
        FailDamaged(QStringLiteral("incorrect length check"));
        return -1;
    }
    return 1;
}

#else

struct TGzipReader::TInflater {
    z_stream_s S{};

    ~TInflater() { inflateEnd(&S); }
};

// zlib reads the header and trailer itself.
int TGzipReader::ReadHeader()
{
    return 1;
}

int TGzipReader::ReadTrailer()
{
    return 1;
}

#endif

TGzipReader::TGzipReader(QIODevice *Source, const QString &SourceName)
    : FSource(Source), FSourceName(QDir::toNativeSeparators(SourceName)),
      FInflater(std::make_unique<TInflater>())
{
#ifndef GLYPHBOOK_HAVE_ISAL
    if (inflateInit2(&FInflater->S, GzipWindowBits) != Z_OK)
        throw EGzipError(QCoreApplication::translate(
            "GzipStream", "Not enough memory to start the decompression."));
#endif
    FInput.resize(InputHeadroom + ChunkSize);
    setObjectName(FSourceName); // messages of the tar reader name the archive by its stream
    open(QIODevice::ReadOnly);
}

TGzipReader::~TGzipReader() = default;

bool TGzipReader::atEnd() const
{
    return (FEnded || !FError.isEmpty()) && QIODevice::bytesAvailable() == 0;
}

bool TGzipReader::seek(qint64 Pos)
{
    return Pos == 0 && FTotalOut == 0 && QIODevice::bytesAvailable() == 0;
}

qint64 TGzipReader::Fail(const QString &Message)
{
    if (FError.isEmpty())
        FError = Message;
    setErrorString(FError);
    return -1;
}

qint64 TGzipReader::FailCut()
{
    return Fail(QCoreApplication::translate("GzipStream", "The file \"%1\" is damaged: it ends "
                                                          "before the end of its compressed data.")
                    .arg(FSourceName));
}

qint64 TGzipReader::FailDamaged(const QString &Why)
{
    return Fail(
        QCoreApplication::translate("GzipStream", "The file \"%1\" is damaged: %2.")
            .arg(FSourceName,
                 Why.isEmpty() ? QCoreApplication::translate("GzipStream", "invalid data") : Why));
}

bool TGzipReader::FillInput()
{
    auto &in = FInflater->S;
    if (in.avail_in > 0 || FSourceAtEnd)
        return true;
    char *const start = FInput.data() + InputHeadroom;
    const qint64 n = FSource->read(start, ChunkSize);
    if (n < 0) {
        Fail(QCoreApplication::translate("GzipStream", "Cannot read file \"%1\". %2")
                 .arg(FSourceName, FSource->errorString()));
        return false;
    }
    // zlib would call a foreign file a damaged one; say what it is instead.
    if (FConsumed == 0 && (n < 2 || quint8(start[0]) != 0x1F || quint8(start[1]) != 0x8B)) {
        Fail(QCoreApplication::translate("GzipStream", "The file \"%1\" is not gzip-compressed.")
                 .arg(FSourceName));
        return false;
    }
    FSourceAtEnd = n == 0;
    in.next_in = reinterpret_cast<unsigned char *>(start);
    in.avail_in = decltype(in.avail_in)(n);
    FConsumed += n;
    if (Progress)
        Progress(FConsumed);
    return true;
}

bool TGzipReader::StartNextMember()
{
    auto &in = FInflater->S;
    // After a member: zero padding is tolerated, as gzip does; a further member continues the
    // data; anything else is damage.
    for (;;) {
        while (in.avail_in > 0 && *in.next_in == 0) {
            ++in.next_in;
            --in.avail_in;
        }
        if (in.avail_in > 0)
            break;
        if (FSourceAtEnd) {
            FEnded = true;
            return true;
        }
        if (!FillInput())
            return false;
    }
    if (*in.next_in != 0x1F) {
        Fail(QCoreApplication::translate(
                 "GzipStream", "The file \"%1\" is damaged: unexpected data after its end.")
                 .arg(FSourceName));
        return false;
    }
#ifdef GLYPHBOOK_HAVE_ISAL
    FInflater->Restart();
#else
    inflateReset(&in);
#endif
    return true;
}

#ifdef GLYPHBOOK_HAVE_ISAL

qint64 TGzipReader::readData(char *Data, qint64 MaxSize)
{
    using TPart = TInflater::TPart;
    if (!FError.isEmpty())
        return -1;
    TInflater &z = *FInflater;
    inflate_state &in = z.S;
    qint64 produced = 0;
    while (produced < MaxSize && !FEnded) {
        if (!FillInput())
            return -1;
        if (z.Part != TPart::Data) {
            const int done = z.Part == TPart::Header ? ReadHeader() : ReadTrailer();
            if (done < 0)
                return -1;
            if (done == 0) {
                if (FSourceAtEnd)
                    return FailCut();
            } else if (z.Part == TPart::Header) {
                z.Part = TPart::Data;
            } else if (!StartNextMember()) {
                return -1;
            }
            continue;
        }
        const uint32_t room = uint32_t(std::min<qint64>(MaxSize - produced, UINT32_MAX));
        const uint32_t inputBefore = in.avail_in;
        in.next_out = reinterpret_cast<uint8_t *>(Data + produced);
        in.avail_out = room;
        const int result = isal_inflate(&in);
        const uint32_t made = room - in.avail_out;
        produced += made;
        if (result < 0)
            return FailDamaged(result == ISAL_INVALID_LOOKBACK
                                   ? QStringLiteral("invalid distance too far back")
                                   : QString());
        if (in.block_state == ISAL_BLOCK_FINISH) {
            // Whole bytes still in the inflater's bit buffer follow the data: the trailer.
            const int ahead = std::max(in.read_in_length, 0) / 8;
            const uint64_t bits = in.read_in >> (std::max(in.read_in_length, 0) % 8);
            Q_ASSERT(in.next_in - ahead >= reinterpret_cast<uint8_t *>(FInput.data()));
            in.next_in -= ahead;
            in.avail_in += uint32_t(ahead);
            for (int i = 0; i < ahead; ++i)
                in.next_in[i] = uint8_t(bits >> (8 * i));
            in.read_in = 0;
            in.read_in_length = 0;
            z.Part = TPart::Trailer;
            z.Have = 0;
        } else if (made == 0 && in.avail_in == inputBefore) {
            // No progress: with input left that is a fault; without, a cut stream.
            if (in.avail_in > 0)
                return FailDamaged(QString());
            if (FSourceAtEnd)
                return FailCut();
        }
    }
    FTotalOut += produced;
    return produced;
}

#else

qint64 TGzipReader::readData(char *Data, qint64 MaxSize)
{
    if (!FError.isEmpty())
        return -1;
    z_stream_s &z = FInflater->S;
    qint64 produced = 0;
    while (produced < MaxSize && !FEnded) {
        if (!FillInput())
            return -1;
        const uInt room = uInt(std::min<qint64>(MaxSize - produced, UINT_MAX));
        z.next_out = reinterpret_cast<Bytef *>(Data + produced);
        z.avail_out = room;
        const int result = inflate(&z, Z_NO_FLUSH);
        produced += room - z.avail_out;
        if (result == Z_STREAM_END) {
            if (!StartNextMember())
                return -1;
        } else if (result == Z_BUF_ERROR && z.avail_in == 0) {
            // No progress without more input; at the end of the source that is a cut stream.
            if (FSourceAtEnd)
                return FailCut();
        } else if (result != Z_OK) {
            // zlib's own words stay as zlib gives them.
            return FailDamaged(z.msg ? QString::fromLatin1(z.msg) : QString());
        }
    }
    FTotalOut += produced;
    return produced;
}

#endif

void TGzipReader::ReadToEnd()
{
    char buffer[64 * 1024];
    while (read(buffer, sizeof buffer) > 0) {
    }
    RaiseIfFailed();
}

void TGzipReader::RaiseIfFailed() const
{
    if (!FError.isEmpty())
        throw EGzipError(FError);
}
