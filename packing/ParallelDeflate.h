#pragma once

#include <QByteArray>
#include <QString>

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

class TLazyMatcher;

/// Compresses a stream into one gzip member, byte for byte what zlib writes at its best
/// compression (15-bit window, memory level 8, default strategy and header) when given the
/// stream in chunks of ChunkSize bytes: each chunk is matched on a thread of its own from the
/// 32 KiB before it, and one thread joins each chunk's parse to the one before it where the two
/// meet in the same state, then codes the blocks in order. The memory held is a few chunks.
class TParallelDeflate
{
public:
    static constexpr int ChunkSize = 256 * 1024;
    /// Takes compressed bytes on the joining thread; returns false to stop with Error.
    using TSink = std::function<bool(const char *Data, qint64 Size, QString &Error)>;

    /// Threads: the matching threads; 0 for one a processor, up to eight.
    explicit TParallelDeflate(TSink Sink, int Threads = 0);
    ~TParallelDeflate();

    /// Takes a chunk of exactly ChunkSize bytes, waiting while too many wait; false once the
    /// compression has failed.
    bool Write(QByteArray Chunk);
    /// Takes the rest (less than a chunk, maybe nothing) and writes everything and the trailer;
    /// false and Error() on failure.
    bool Finish(QByteArray Rest);
    QString Error() const;
    /// Uncompressed bytes whose blocks have been written.
    qint64 Done() const { return FDone.load(); }

private:
    struct TJob;
    class TJoin;

    void StartJob(qint64 Index);
    void Work();
    void Match(TJob &Job, TLazyMatcher &Matcher);
    void Join();
    void JoinAll();
    void Fail(const QString &Error);

    TSink FSink;
    std::vector<std::thread> FWorkers;
    std::thread FJoiner;

    mutable std::mutex FMutex;
    std::condition_variable FChanged;
    std::map<qint64, QByteArray> FChunks; // by index, kept while a job or the joiner needs them
    std::map<qint64, std::shared_ptr<TJob>> FJobs;
    std::deque<std::shared_ptr<TJob>> FQueue;
    qint64 FChunkCount = 0;
    qint64 FStarted = 0; // jobs started
    qint64 FTotal = -1;  // known once finished
    qint64 FJoined = 0;  // chunks the joiner is done with
    bool FStop = false;
    QString FError;
    std::atomic<qint64> FDone{0};
};
