#include "packing/PrefetchReader.h"

#include <cstring>

TPrefetchReader::TPrefetchReader(QIODevice *Source) : FSource(Source)
{
    setObjectName(Source->objectName()); // messages name the archive, not this device
    open(QIODevice::ReadOnly | QIODevice::Unbuffered);
    FThread = std::thread([this] { Run(); });
}

TPrefetchReader::~TPrefetchReader()
{
    Stop();
}

void TPrefetchReader::Stop()
{
    {
        const std::lock_guard<std::mutex> lock(FMutex);
        FStop = true;
    }
    FChanged.notify_all();
    if (FThread.joinable())
        FThread.join();
}

void TPrefetchReader::Run()
{
    for (;;) {
        QByteArray chunk;
        {
            const std::lock_guard<std::mutex> lock(FMutex);
            if (!FSpare.empty()) {
                chunk = std::move(FSpare.back());
                FSpare.pop_back();
            }
        }
        qint64 got = -1;
        try {
            chunk.resize(ChunkSize);
            got = FSource->read(chunk.data(), ChunkSize);
        } catch (...) {
            // Nothing may leave the thread: the reader sees a failed read instead.
        }
        std::unique_lock<std::mutex> lock(FMutex);
        if (got <= 0) {
            FSourceEnded = true;
            FSourceFailed = got < 0;
            FChanged.notify_all();
            return;
        }
        chunk.truncate(got);
        FChanged.wait(lock, [this] { return FStop || FWaiting.size() < Chunks; });
        if (FStop)
            return;
        FWaiting.push_back(std::move(chunk));
        FChanged.notify_all();
    }
}

bool TPrefetchReader::atEnd() const
{
    if (FOffset < FCurrent.size())
        return false;
    auto *self = const_cast<TPrefetchReader *>(this);
    std::unique_lock<std::mutex> lock(self->FMutex);
    self->FChanged.wait(lock, [self] { return !self->FWaiting.empty() || self->FSourceEnded; });
    return FWaiting.empty();
}

qint64 TPrefetchReader::readData(char *Data, qint64 MaxSize)
{
    qint64 done = 0;
    while (done < MaxSize) {
        if (FOffset == FCurrent.size()) {
            std::unique_lock<std::mutex> lock(FMutex);
            FChanged.wait(lock, [this] { return !FWaiting.empty() || FSourceEnded || FStop; });
            if (FWaiting.empty()) {
                if (done > 0)
                    break;
                return FSourceFailed && !FStop ? -1 : 0;
            }
            if (FSpare.size() < Chunks)
                FSpare.push_back(std::move(FCurrent));
            FCurrent = std::move(FWaiting.front());
            FWaiting.pop_front();
            FOffset = 0;
            lock.unlock();
            FChanged.notify_all();
            if (Taken)
                Taken();
        }
        const qint64 n = std::min<qint64>(MaxSize - done, FCurrent.size() - FOffset);
        std::memcpy(Data + done, FCurrent.constData() + FOffset, size_t(n));
        FOffset += n;
        done += n;
    }
    return done;
}
