// One gzip member, as zlib writes it at level 9 from chunks of ChunkSize bytes, made on every
// processor: matching splits into chunks, coding stays in order.
//
// zlib's output is a function of its symbols, its block ends (every 16,383 symbols) and, for a
// block that could be stored, whether the block still starts inside zlib's window. The matcher
// reproduces the symbols; the joiner follows zlib's window as it slides (at the first step at
// least 65,275 bytes past the window's start, as chunks come in whole multiples of 32 KiB; at
// 65,274 in the last 261 bytes, where zlib refills at every step) to know the last.
#include "packing/ParallelDeflate.h"

#include "packing/DeflateBlocks.h"
#include "packing/DeflateMatcher.h"

#include <QCoreApplication>

#include <zlib.h>

#include <algorithm>
#include <climits>
#include <cstring>

namespace
{

constexpr int Window = 32768;
constexpr int MinLookahead = 262;
constexpr qint64 SlideAt = 2 * Window - MinLookahead; // 65,274
constexpr int JoinSpan = 32768;  // steps of a chunk whose states are logged for the join
constexpr int AheadBytes = 1024; // bytes of the next chunk a job copies for its last matches
constexpr int Padding = 16;      // zeros after a buffer for reads past the last match
constexpr int BlockSymbols = 16383;
constexpr qint64 OutputFlush = 256 * 1024;

/// Where zlib's window starts, moved on at the steps where zlib slides it.
struct TWindowBase {
    qint64 Base = 0;
    qint64 TailFrom = LLONG_MAX; // steps from here have fewer than 262 bytes ahead

    /// Returns true when the window slides at the step starting at Step.
    bool Step(qint64 Step)
    {
        if (Step - Base < SlideAt || (Step - Base == SlideAt && Step < TailFrom))
            return false;
        Base += Window;
        return true;
    }
};

/// The gzip header zlib writes, taken from zlib so that it is zlib's on every system.
QByteArray zlibGzipHeader()
{
    z_stream z{};
    QByteArray out(64, '\0');
    if (deflateInit2(&z, Z_BEST_COMPRESSION, Z_DEFLATED, 31, 8, Z_DEFAULT_STRATEGY) != Z_OK)
        return QByteArray("\x1f\x8b\x08\0\0\0\0\0\x02\x03", 10);
    z.next_out = reinterpret_cast<Bytef *>(out.data());
    z.avail_out = uInt(out.size());
    deflate(&z, Z_FINISH);
    deflateEnd(&z);
    return out.left(10);
}

} // namespace

struct TParallelDeflate::TJob {
    qint64 Index = 0;
    qint64 Base = 0; // stream position of Buffer[0]
    QByteArray Before, Own, After;
    std::vector<std::uint8_t> Buffer;
    int Start = 0;
    int Stop = 0;
    std::vector<TDeflateSymbol> Symbols;
    TMatchLog Log;
    TMatchState End;
    uLong Crc = 0;
    bool Done = false;
};

/// The joining thread's state: the stream's symbols in order, coded into blocks.
struct TParallelDeflate::TJoin {
    TDeflateBlockWriter Writer;
    TWindowBase Window;
    TLazyMatcher Matcher;
    qint64 Position = 0; // where the next symbol starts
    bool PendingLiteral = false;
    TDeflateSymbol Pending = 0;
    qint64 BlockStart = 0;
    qint64 StateAt = 0; // State is in stream positions less this
    TMatchState State;
    std::vector<TDeflateSymbol> Continued;
    std::vector<std::uint8_t> Scratch;
    uLong Crc = crc32(0, nullptr, 0);
    qint64 Checked = 0; // bytes in Crc
};

TParallelDeflate::TParallelDeflate(TSink Sink, int Threads) : FSink(std::move(Sink))
{
    if (Threads <= 0)
        Threads = int(std::max(1u, std::thread::hardware_concurrency()));
    for (int i = 0; i < Threads; ++i)
        FWorkers.emplace_back([this] { Work(); });
    FJoiner = std::thread([this] { Join(); });
}

TParallelDeflate::~TParallelDeflate()
{
    {
        const std::lock_guard<std::mutex> lock(FMutex);
        FStop = true;
    }
    FChanged.notify_all();
    if (FJoiner.joinable())
        FJoiner.join();
    for (std::thread &t : FWorkers)
        t.join();
}

QString TParallelDeflate::Error() const
{
    const std::lock_guard<std::mutex> lock(FMutex);
    return FError;
}

void TParallelDeflate::Fail(const QString &Error)
{
    {
        const std::lock_guard<std::mutex> lock(FMutex);
        if (FError.isEmpty())
            FError = Error;
        FStop = true;
    }
    FChanged.notify_all();
}

bool TParallelDeflate::Write(QByteArray Chunk)
{
    {
        std::unique_lock<std::mutex> lock(FMutex);
        const qint64 ahead = qint64(FWorkers.size()) * 2 + 2;
        FChanged.wait(lock, [&] { return FChunkCount - FJoined < ahead || FStop; });
        if (FStop)
            return false;
        FChunks[FChunkCount++] = std::move(Chunk);
        if (FChunkCount >= 2)
            StartJob(FChunkCount - 2);
    }
    FChanged.notify_all();
    return true;
}

bool TParallelDeflate::Finish(QByteArray Rest)
{
    {
        const std::lock_guard<std::mutex> lock(FMutex);
        if (!FStop) {
            FTotal = FChunkCount * ChunkSize + Rest.size();
            if (!Rest.isEmpty())
                FChunks[FChunkCount++] = std::move(Rest);
            for (qint64 k = FStarted; k < FChunkCount; ++k)
                if (k * ChunkSize < FTotal - (MinLookahead - 1))
                    StartJob(k);
            FComplete = true;
        }
    }
    FChanged.notify_all();
    if (FJoiner.joinable())
        FJoiner.join();
    const std::lock_guard<std::mutex> lock(FMutex);
    return FError.isEmpty();
}

// Called with the lock held, once the chunk after Index is in (or the stream's end is known).
void TParallelDeflate::StartJob(qint64 Index)
{
    auto job = std::make_shared<TJob>();
    job->Index = Index;
    if (Index > 0)
        job->Before = FChunks.at(Index - 1);
    job->Own = FChunks.at(Index);
    if (FChunks.count(Index + 1))
        job->After = FChunks.at(Index + 1);
    const qint64 start = Index * ChunkSize;
    job->Base = start - (Index > 0 ? Window : 0);
    job->Start = int(start - job->Base);
    qint64 stop = start + job->Own.size();
    if (FTotal >= 0)
        stop = std::min(stop, FTotal - (MinLookahead - 1));
    job->Stop = int(stop - job->Base);
    FJobs[Index] = job;
    FStarted = Index + 1;
    FQueue.push_back(std::move(job));
}

void TParallelDeflate::Work()
{
    TLazyMatcher matcher;
    for (;;) {
        std::shared_ptr<TJob> job;
        {
            std::unique_lock<std::mutex> lock(FMutex);
            FChanged.wait(lock, [this] { return FStop || !FQueue.empty(); });
            if (FStop)
                return;
            job = std::move(FQueue.front());
            FQueue.pop_front();
        }
        try {
            Match(*job, matcher);
        } catch (...) {
            Fail(QCoreApplication::translate("GzipStream", "The compression failed."));
            return;
        }
        {
            const std::lock_guard<std::mutex> lock(FMutex);
            job->Done = true;
        }
        FChanged.notify_all();
    }
}

// The 32 KiB before the chunk, the chunk, and enough after it for its last matches, matched
// from the chunk's start as if zlib had just emitted a match there.
void TParallelDeflate::Match(TJob &Job, TLazyMatcher &Matcher)
{
    std::vector<std::uint8_t> &buffer = Job.Buffer;
    const qint64 before = Job.Index > 0 ? Window : 0;
    const qint64 after = std::min<qint64>(Job.After.size(), AheadBytes);
    buffer.resize(std::size_t(before + Job.Own.size() + after + Padding));
    std::uint8_t *to = buffer.data();
    if (before > 0)
        std::memcpy(to, Job.Before.constData() + Job.Before.size() - before, std::size_t(before));
    std::memcpy(to + before, Job.Own.constData(), std::size_t(Job.Own.size()));
    std::memcpy(to + before + Job.Own.size(), Job.After.constData(), std::size_t(after));
    std::memset(to + before + Job.Own.size() + after, 0, Padding);
    Job.Crc = crc32(crc32(0, nullptr, 0), reinterpret_cast<const Bytef *>(Job.Own.constData()),
                    uInt(Job.Own.size()));
    Job.Before = Job.After = QByteArray();

    Matcher.Reset(buffer.data());
    Matcher.Insert(0, Job.Start);
    if (Job.Index > 0) {
        Job.Log.From = Job.Start;
        Job.Log.Entries.assign(std::size_t(std::clamp(Job.Stop - Job.Start, 0, JoinSpan)), {});
    }
    Job.End.Position = Job.Start;
    Job.Symbols.reserve(std::size_t(std::max(Job.Stop - Job.Start, 0)));
    Matcher.Run(Job.End, Job.Stop, Job.Symbols, Job.Index > 0 ? &Job.Log : nullptr, nullptr);
}

void TParallelDeflate::Join()
{
    try {
        JoinAll();
    } catch (...) {
        Fail(QCoreApplication::translate("GzipStream", "The compression failed."));
    }
}

void TParallelDeflate::JoinAll()
{
    TJoin j;
    const QByteArray header = zlibGzipHeader();
    QString error;
    TDeflateBlockWriter &writer = j.Writer;
    const auto sink = [&](bool Force) {
        const qint64 size = qint64(writer.OutputSize());
        if (size == 0 || (!Force && size < OutputFlush))
            return true;
        const bool ok = FSink(reinterpret_cast<const char *>(writer.Output()), size, error);
        writer.ClearOutput();
        if (!ok)
            Fail(error);
        return ok;
    };
    writer.Append(reinterpret_cast<const std::uint8_t *>(header.constData()),
                  std::size_t(header.size()));

    // Chunks stay in the store until the joiner has passed them; a copy shares the bytes.
    const auto chunk = [this](qint64 Index) {
        const std::lock_guard<std::mutex> lock(FMutex);
        return FChunks.at(Index);
    };
    QByteArray held;
    const auto raw = [&](qint64 From, qint64 To) -> const std::uint8_t * {
        static const std::uint8_t none = 0;
        if (From == To)
            return &none;
        const qint64 first = From / ChunkSize;
        if (first == (To - 1) / ChunkSize) {
            held = chunk(first);
            return reinterpret_cast<const std::uint8_t *>(held.constData()) + From % ChunkSize;
        }
        j.Scratch.resize(std::size_t(To - From));
        for (qint64 at = From; at < To;) {
            const QByteArray piece = chunk(at / ChunkSize);
            const qint64 n = std::min(To, (at / ChunkSize + 1) * ChunkSize) - at;
            std::memcpy(j.Scratch.data() + (at - From), piece.constData() + at % ChunkSize,
                        std::size_t(n));
            at += n;
        }
        return j.Scratch.data();
    };
    const auto flushBlock = [&](qint64 End, bool Last) {
        const std::uint8_t *bytes =
            j.BlockStart >= j.Window.Base ? raw(j.BlockStart, End) : nullptr;
        j.Writer.FlushBlock(bytes, std::size_t(End - j.BlockStart), Last);
        j.BlockStart = End;
        return sink(Last);
    };
    // zlib emits a literal at the step after its byte and a match at the step after its start;
    // a step where the window slides slides it before the emission.
    bool ok = true;
    const auto walk = [&](const TDeflateSymbol *Symbols, std::size_t Count) {
        for (std::size_t i = 0; i < Count && ok; ++i) {
            const TDeflateSymbol symbol = Symbols[i];
            const qint64 at = j.Position;
            j.Window.Step(at);
            if (j.PendingLiteral) {
                j.PendingLiteral = false;
                j.Writer.Tally(j.Pending);
                if (j.Writer.Pending() == BlockSymbols)
                    ok = flushBlock(at, false);
            }
            if (DeflateDistance(symbol) == 0) {
                j.PendingLiteral = true;
                j.Pending = symbol;
                j.Position = at + 1;
                continue;
            }
            const qint64 end = at + DeflateCoverage(symbol);
            j.Window.Step(at + 1);
            j.Writer.Tally(symbol);
            if (j.Writer.Pending() == BlockSymbols)
                ok = ok && flushBlock(end, false);
            j.Position = end;
        }
    };

    qint64 total = -1;
    for (qint64 k = 0; ok; ++k) {
        std::shared_ptr<TJob> job;
        {
            std::unique_lock<std::mutex> lock(FMutex);
            FChanged.wait(lock, [&] {
                if (FStop)
                    return true;
                const auto found = FJobs.find(k);
                if (found != FJobs.end())
                    return found->second->Done;
                return FTotal >= 0;
            });
            if (FStop)
                return;
            total = FTotal;
            const auto found = FJobs.find(k);
            if (found == FJobs.end())
                break;
            job = found->second;
        }
        if (total >= 0)
            j.Window.TailFrom = total - (MinLookahead - 1);
        // The parse so far reaches into this chunk; carry it on over the job's buffer until it
        // meets the job's own parse in the same state, and take the job's symbols from there.
        TMatchState state = j.State;
        state.Position = int(j.StateAt + j.State.Position - job->Base);
        state.MatchStart = int(j.StateAt + j.State.MatchStart - job->Base);
        if (k == 0) {
            walk(job->Symbols.data(), job->Symbols.size());
            state = job->End;
        } else if (state.Position < job->Stop) {
            j.Matcher.Reset(job->Buffer.data());
            j.Matcher.Insert(state.Position - Window, state.Position);
            j.Continued.clear();
            const int joined = j.Matcher.Run(state, job->Stop, j.Continued, nullptr, &job->Log);
            walk(j.Continued.data(), j.Continued.size());
            if (joined >= 0) {
                const std::size_t from = std::size_t(job->Log.Entries[std::size_t(joined)].Symbols);
                walk(job->Symbols.data() + from, job->Symbols.size() - from);
                state = job->End;
            }
        }
        j.State = state;
        j.StateAt = job->Base;
        j.Crc = crc32_combine(j.Crc, job->Crc, job->Own.size());
        j.Checked += job->Own.size();
        FDone.store(std::min<qint64>(j.Position, (k + 1) * ChunkSize));
        {
            const std::lock_guard<std::mutex> lock(FMutex);
            FJobs.erase(k);
            FChunks.erase(k - 2);
            FJoined = k + 1;
        }
        FChanged.notify_all();
        if (!ok)
            return;
    }
    if (!ok)
        return;

    // Bytes from First to Last of the stream, out of the chunks still held.
    const auto copyRange = [&](qint64 First, qint64 Last, std::uint8_t *To) {
        for (qint64 at = First; at < Last;) {
            const QByteArray piece = chunk(at / ChunkSize);
            const qint64 n = std::min(Last, (at / ChunkSize + 1) * ChunkSize) - at;
            std::memcpy(To + (at - First), piece.constData() + at % ChunkSize, std::size_t(n));
            at += n;
        }
    };
    // Chunks without a job, the stream's last bytes, join the check value here.
    for (qint64 at = j.Checked; at < total; at += ChunkSize) {
        const QByteArray piece = chunk(at / ChunkSize);
        j.Crc =
            crc32(j.Crc, reinterpret_cast<const Bytef *>(piece.constData()), uInt(piece.size()));
    }

    // The last steps, with fewer than 262 bytes ahead, read zlib's window itself: past the end
    // of the stream it holds the bytes it held 32 KiB before (zeros before it first slid), and
    // it slides as zlib slides it.
    const qint64 statePosition = j.StateAt + j.State.Position;
    TWindowBase base = j.Window;
    base.TailFrom = total - (MinLookahead - 1);
    if (j.State.Available)
        base.Step(statePosition - 1);
    std::vector<std::uint8_t> window(std::size_t(2 * Window + Padding), 0);
    const qint64 inside = std::min<qint64>(total - base.Base, 2 * Window);
    copyRange(base.Base, base.Base + inside, window.data());
    if (base.Base >= Window && inside < 2 * Window)
        copyRange(base.Base + inside - Window, base.Base + Window, window.data() + inside);
    TLazyMatcher &m = j.Matcher;
    m.Reset(window.data());
    TMatchState tail = j.State;
    tail.Position = int(statePosition - base.Base);
    tail.MatchStart = int(j.StateAt + j.State.MatchStart - base.Base);
    m.Insert(std::max(1, tail.Position - Window), tail.Position);
    j.Continued.clear();
    qint64 windowEnd = base.Base + inside;
    for (;;) {
        const qint64 at = base.Base + tail.Position;
        if (base.Step(at)) {
            const qint64 keep = windowEnd - base.Base;
            if (keep > 0)
                std::memmove(window.data(), window.data() + Window, std::size_t(keep));
            const qint64 filled = std::min(total, base.Base + 2 * Window);
            copyRange(windowEnd, filled, window.data() + (windowEnd - base.Base));
            windowEnd = std::max(windowEnd, filled);
            m.Slide();
            tail.Position -= Window;
            tail.MatchStart -= Window;
        }
        if (at >= total)
            break;
        m.TailStep(tail, int(total - base.Base), j.Continued);
    }
    if (tail.Available)
        j.Continued.push_back(DeflateLiteral(window[std::size_t(tail.Position - 1)]));
    walk(j.Continued.data(), j.Continued.size());
    if (!ok)
        return;
    j.Window.Step(total);
    if (j.PendingLiteral)
        j.Writer.Tally(j.Pending);
    const std::uint8_t trailer[8] = {std::uint8_t(j.Crc),       std::uint8_t(j.Crc >> 8),
                                     std::uint8_t(j.Crc >> 16), std::uint8_t(j.Crc >> 24),
                                     std::uint8_t(total),       std::uint8_t(total >> 8),
                                     std::uint8_t(total >> 16), std::uint8_t(total >> 24)};
    j.Writer.FlushBlock(j.BlockStart >= j.Window.Base ? raw(j.BlockStart, total) : nullptr,
                        std::size_t(total - j.BlockStart), true);
    writer.Append(trailer, sizeof trailer);
    if (sink(true))
        FDone.store(total);
}
