// Tar listing and reading of arbitrary bytes, from a random-access buffer and from a sequential
// stream: every entry is read (in turn as a string and into a stream), and a damaged archive may
// only end the listing or raise the system's error.

#include "model/GlyphbookError.h"
#include "packing/LibTar.h"

#include <QBuffer>
#include <QByteArray>

#include <algorithm>
#include <cstring>

namespace
{

// A pipe-like stream: no size, no seeking, data as it comes.
class TSequentialBytes : public QIODevice
{
public:
    explicit TSequentialBytes(QByteArray bytes) : FBytes(std::move(bytes)) {}
    bool isSequential() const override { return true; }
    qint64 bytesAvailable() const override
    {
        return FBytes.size() - FPos + QIODevice::bytesAvailable();
    }

protected:
    qint64 readData(char *data, qint64 maxSize) override
    {
        const qint64 n = std::min<qint64>(maxSize, FBytes.size() - FPos);
        std::memcpy(data, FBytes.constData() + FPos, size_t(n));
        FPos += n;
        return n;
    }
    qint64 writeData(const char *, qint64) override { return -1; }

private:
    QByteArray FBytes;
    qint64 FPos = 0;
};

// Discards what is written, like an entry written to a file nobody reads.
class TDiscard : public QIODevice
{
public:
    TDiscard() { open(QIODevice::WriteOnly); }

protected:
    qint64 readData(char *, qint64) override { return -1; }
    qint64 writeData(const char *, qint64 maxSize) override { return maxSize; }
};

void listAndRead(QIODevice *stream)
{
    try {
        TTarArchive archive(stream);
        TTarDirRec rec;
        for (int entry = 0; archive.FindNext(rec); ++entry) {
            if (entry % 3 == 0) {
                (void)archive.ReadFile();
            } else if (entry % 3 == 1) {
                TDiscard sink;
                archive.ReadFile(&sink);
            } // else: the data is skipped by the next FindNext
        }
        // A second listing after Reset must work on a random-access stream as well.
        if (!stream->isSequential()) {
            archive.Reset();
            while (archive.FindNext(rec)) {
            }
        }
    } catch (const EGlyphbookError &) {
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *Data, size_t Size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(Data), qsizetype(Size));
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    listAndRead(&buffer);

    TSequentialBytes pipe(bytes);
    pipe.open(QIODevice::ReadOnly);
    listAndRead(&pipe);
    return 0;
}
