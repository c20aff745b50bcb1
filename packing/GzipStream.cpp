#include "packing/GzipStream.h"

#include "model/ShortWrite.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileDevice>

#include <zlib.h>

#include <algorithm>
#include <climits>

namespace
{

// Large chunks keep the per-call overhead of zlib out of the profile; the tar classes write and
// read in 512-byte blocks.
constexpr qsizetype ChunkSize = 256 * 1024;
constexpr int GzipWindowBits = 31;
constexpr int MemoryLevel = 8;

} // namespace

// ---- TGzipWriter ----

TGzipWriter::TGzipWriter(QIODevice *Target) : FTarget(Target), FZ(std::make_unique<z_stream_s>())
{
    *FZ = {};
    if (deflateInit2(FZ.get(), Z_BEST_COMPRESSION, Z_DEFLATED, GzipWindowBits, MemoryLevel,
                     Z_DEFAULT_STRATEGY) != Z_OK)
        throw EGzipError(QCoreApplication::translate(
            "GzipStream", "Not enough memory to start the compression."));
    FInput.reserve(ChunkSize);
    FOutput.resize(ChunkSize);
    // Messages of the tar writer name the archive by its stream.
    const auto file = qobject_cast<QFileDevice *>(Target);
    setObjectName(file ? QDir::toNativeSeparators(file->fileName()) : Target->objectName());
    open(QIODevice::WriteOnly | QIODevice::Unbuffered);
}

TGzipWriter::~TGzipWriter()
{
    StopCompressing();
    deflateEnd(FZ.get());
}

void TGzipWriter::StopCompressing()
{
    {
        const std::lock_guard<std::mutex> lock(FMutex);
        FStop = true;
    }
    FChanged.notify_all();
    if (FThread.joinable())
        FThread.join();
}

qint64 TGzipWriter::writeData(const char *Data, qint64 Size)
{
    if (FFinished)
        return -1;
    qint64 done = 0;
    while (done < Size) {
        const qint64 n = std::min<qint64>(Size - done, ChunkSize - FInput.size());
        FInput.append(Data + done, n);
        done += n;
        if (FInput.size() == ChunkSize && !HandOver())
            return -1;
    }
    return Size;
}

// A full chunk goes to the compressing thread, which is started with the first one.
bool TGzipWriter::HandOver()
{
    constexpr size_t MaxWaiting = 4;
    qint64 compressed = 0;
    {
        std::unique_lock<std::mutex> lock(FMutex);
        FChanged.wait(lock, [this] { return FWaiting.size() < MaxWaiting || !FError.isEmpty(); });
        if (!FError.isEmpty()) {
            setErrorString(FError);
            return false;
        }
        FWaiting.push_back(std::move(FInput));
        compressed = FCompressed;
    }
    FChanged.notify_all();
    if (!FThread.joinable())
        FThread = std::thread([this] { Compress(); });
    FInput = QByteArray();
    FInput.reserve(ChunkSize);
    if (Progress)
        Progress(compressed);
    return true;
}

void TGzipWriter::Compress()
{
    for (;;) {
        QByteArray chunk;
        {
            std::unique_lock<std::mutex> lock(FMutex);
            FBusy = false;
            FChanged.notify_all();
            FChanged.wait(lock, [this] { return FStop || !FWaiting.empty(); });
            if (FWaiting.empty())
                return; // stopped, and nothing is left
            chunk = std::move(FWaiting.front());
            FWaiting.pop_front();
            FBusy = true;
        }
        FChanged.notify_all();
        QString error;
        const bool ok = Deflate(chunk, false, error);
        const std::lock_guard<std::mutex> lock(FMutex);
        if (!ok) {
            FError = error;
            FWaiting.clear();
            FBusy = false;
            FChanged.notify_all();
            return;
        }
        FCompressed += chunk.size();
    }
}

bool TGzipWriter::Deflate(const QByteArray &Input, bool Finishing, QString &Error)
{
    FZ->next_in = reinterpret_cast<Bytef *>(const_cast<char *>(Input.constData()));
    FZ->avail_in = uInt(Input.size());
    int result;
    do {
        FZ->next_out = reinterpret_cast<Bytef *>(FOutput.data());
        FZ->avail_out = uInt(FOutput.size());
        result = deflate(FZ.get(), Finishing ? Z_FINISH : Z_NO_FLUSH);
        if (result == Z_STREAM_ERROR) {
            Error = QCoreApplication::translate("GzipStream", "The compression failed.");
            return false;
        }
        const qint64 have = FOutput.size() - qint64(FZ->avail_out);
        if (have > 0 && FTarget->write(FOutput.constData(), have) != have) {
            Error = ShortWriteReason(*FTarget);
            return false;
        }
    } while (Finishing ? result != Z_STREAM_END : FZ->avail_out == 0);
    return true;
}

void TGzipWriter::Finish()
{
    if (FFinished)
        return;
    // Every chunk handed over is compressed before the rest and the trailer.
    {
        std::unique_lock<std::mutex> lock(FMutex);
        FChanged.wait(lock, [this] { return (FWaiting.empty() && !FBusy) || !FError.isEmpty(); });
    }
    StopCompressing();
    QString error = FError;
    if (error.isEmpty() && Deflate(FInput, true, error)) {
        FFinished = true;
        if (Progress)
            Progress(FCompressed + FInput.size());
        return;
    }
    setErrorString(error);
    throw EGzipError(
        QCoreApplication::translate("GzipStream", "Cannot write the compressed data. %1")
            .arg(errorString()));
}

// ---- TGzipReader ----

TGzipReader::TGzipReader(QIODevice *Source, const QString &SourceName)
    : FSource(Source), FSourceName(QDir::toNativeSeparators(SourceName)),
      FZ(std::make_unique<z_stream_s>())
{
    *FZ = {};
    if (inflateInit2(FZ.get(), GzipWindowBits) != Z_OK)
        throw EGzipError(QCoreApplication::translate(
            "GzipStream", "Not enough memory to start the decompression."));
    FInput.resize(ChunkSize);
    setObjectName(FSourceName); // messages of the tar reader name the archive by its stream
    open(QIODevice::ReadOnly);
}

TGzipReader::~TGzipReader()
{
    inflateEnd(FZ.get());
}

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

bool TGzipReader::FillInput()
{
    if (FZ->avail_in > 0 || FSourceAtEnd)
        return true;
    const qint64 n = FSource->read(FInput.data(), FInput.size());
    if (n < 0) {
        Fail(QCoreApplication::translate("GzipStream", "Cannot read file \"%1\". %2")
                 .arg(FSourceName, FSource->errorString()));
        return false;
    }
    // zlib would call a foreign file a damaged one; say what it is instead.
    if (FConsumed == 0 && (n < 2 || quint8(FInput[0]) != 0x1F || quint8(FInput[1]) != 0x8B)) {
        Fail(QCoreApplication::translate("GzipStream", "The file \"%1\" is not gzip-compressed.")
                 .arg(FSourceName));
        return false;
    }
    FSourceAtEnd = n == 0;
    FZ->next_in = reinterpret_cast<Bytef *>(FInput.data());
    FZ->avail_in = uInt(n);
    FConsumed += n;
    if (Progress)
        Progress(FConsumed);
    return true;
}

bool TGzipReader::StartNextMember()
{
    // After a member: zero padding is tolerated, as gzip does; a further member continues the
    // data; anything else is damage.
    for (;;) {
        while (FZ->avail_in > 0 && *FZ->next_in == 0) {
            ++FZ->next_in;
            --FZ->avail_in;
        }
        if (FZ->avail_in > 0)
            break;
        if (FSourceAtEnd) {
            FEnded = true;
            return true;
        }
        if (!FillInput())
            return false;
    }
    if (*FZ->next_in != 0x1F) {
        Fail(QCoreApplication::translate(
                 "GzipStream", "The file \"%1\" is damaged: unexpected data after its end.")
                 .arg(FSourceName));
        return false;
    }
    inflateReset(FZ.get());
    return true;
}

qint64 TGzipReader::readData(char *Data, qint64 MaxSize)
{
    if (!FError.isEmpty())
        return -1;
    qint64 produced = 0;
    while (produced < MaxSize && !FEnded) {
        if (!FillInput())
            return -1;
        const uInt room = uInt(std::min<qint64>(MaxSize - produced, UINT_MAX));
        FZ->next_out = reinterpret_cast<Bytef *>(Data + produced);
        FZ->avail_out = room;
        const int result = inflate(FZ.get(), Z_NO_FLUSH);
        produced += room - FZ->avail_out;
        if (result == Z_STREAM_END) {
            if (!StartNextMember())
                return -1;
        } else if (result == Z_BUF_ERROR && FZ->avail_in == 0) {
            // No progress without more input; at the end of the source that is a cut stream.
            if (FSourceAtEnd)
                return Fail(QCoreApplication::translate(
                                "GzipStream", "The file \"%1\" is damaged: it ends before the "
                                              "end of its compressed data.")
                                .arg(FSourceName));
        } else if (result != Z_OK) {
            // zlib's own words stay as zlib gives them.
            return Fail(QCoreApplication::translate("GzipStream", "The file \"%1\" is damaged: %2.")
                            .arg(FSourceName, FZ->msg ? QString::fromLatin1(FZ->msg)
                                                      : QCoreApplication::translate(
                                                            "GzipStream", "invalid data")));
        }
    }
    FTotalOut += produced;
    return produced;
}

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
