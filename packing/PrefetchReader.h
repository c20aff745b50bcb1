#pragma once

#include <QByteArray>
#include <QIODevice>

#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

/// Reads a sequential source on a thread of its own, a few chunks ahead of whoever reads this
/// device, so that inflating an archive runs on one core while its files are written on another.
/// At most Chunks chunks of ChunkSize bytes wait at any time, whatever the source's size. The
/// source belongs to the thread from construction until Stop; a failed read of the source makes
/// reads here fail once the chunks before it are taken.
class TPrefetchReader : public QIODevice
{
public:
    static constexpr qint64 ChunkSize = qint64(1) << 20;
    static constexpr size_t Chunks = 8;

    explicit TPrefetchReader(QIODevice *Source);
    ~TPrefetchReader() override;

    bool isSequential() const override { return true; }
    bool atEnd() const override;
    /// Ends the thread; the source is the caller's again.
    void Stop();
    /// Called on the reading side each time a chunk is taken, so that progress is reported on
    /// the caller's thread.
    std::function<void()> Taken;

protected:
    qint64 readData(char *Data, qint64 MaxSize) override;
    qint64 writeData(const char *, qint64) override { return -1; }

private:
    void Run();

    QIODevice *FSource;
    std::mutex FMutex;
    std::condition_variable FChanged;
    std::deque<QByteArray> FWaiting;
    // Chunks taken, filled again: fresh memory costs the inflating thread a page fault every
    // 4 KiB.
    std::vector<QByteArray> FSpare;
    bool FStop = false;
    bool FSourceEnded = false;
    bool FSourceFailed = false;
    QByteArray FCurrent;
    qsizetype FOffset = 0;
    std::thread FThread; // last: started when everything it uses exists
};
