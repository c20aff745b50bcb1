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

constexpr int Window = TLazyMatcher::WindowSize;
constexpr qint64 SlideAt = 2 * Window - TLazyMatcher::MinLookahead; // 65,274
constexpr int JoinSpan = 32768;  // steps of a chunk whose states are logged for the join
constexpr int AheadBytes = 1024; // bytes of the next chunk a job copies for its last matches
constexpr int Padding = 16;      // zeros after a buffer for reads past the last match
constexpr int BlockSymbols = 16383;
constexpr qint64 OutputFlush = 256 * 1024;

/// The first step with fewer than 262 bytes ahead in a stream of Total bytes.
qint64 tailFrom(qint64 Total)
{
    return Total - (TLazyMatcher::MinLookahead - 1);
}

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

/// The joining thread: the stream's symbols in zlib's order, coded into blocks on the way.
class TParallelDeflate::TJoin
{
public:
    explicit TJoin(TParallelDeflate &Owner) : FOwner(Owner)
    {
        static const QByteArray header = zlibGzipHeader();
        FWriter.Append(reinterpret_cast<const std::uint8_t *>(header.constData()),
                       std::size_t(header.size()));
    }
    /// Carries the parse so far on over Job's chunk and codes its symbols; false once the
    /// output failed.
    bool Take(TJob &Job, qint64 Total);
    /// Codes the steps with fewer than 262 bytes ahead, the last block and the trailer.
    bool Finish(qint64 Total);
    /// Where the symbols coded so far end.
    qint64 Position() const { return FPosition; }

private:
    QByteArray Chunk(qint64 Index) const
    {
        const std::lock_guard<std::mutex> lock(FOwner.FMutex);
        return FOwner.FChunks.at(Index);
    }
    void Copy(qint64 From, qint64 To, std::uint8_t *Bytes) const;
    const std::uint8_t *Raw(qint64 From, qint64 To);
    bool Sink(bool Force);
    bool FlushBlock(qint64 End, bool Last);
    bool Walk(const TDeflateSymbol *Symbols, std::size_t Count);

    TParallelDeflate &FOwner;
    TDeflateBlockWriter FWriter;
    TWindowBase FWindow;
    TLazyMatcher FMatcher;
    qint64 FPosition = 0; // where the next symbol starts
    bool FPendingLiteral = false;
    TDeflateSymbol FPending = 0;
    qint64 FBlockStart = 0;
    qint64 FStateAt = 0; // FState is in stream positions less this
    TMatchState FState;
    std::vector<TDeflateSymbol> FContinued;
    QByteArray FHeld;
    std::vector<std::uint8_t> FScratch;
    uLong FCrc = crc32(0, nullptr, 0);
    qint64 FChecked = 0; // bytes in FCrc
};

// Bytes of the stream out of the chunks still held, which are those the joiner may still need.
void TParallelDeflate::TJoin::Copy(qint64 From, qint64 To, std::uint8_t *Bytes) const
{
    for (qint64 at = From; at < To;) {
        const QByteArray piece = Chunk(at / ChunkSize);
        const qint64 n = std::min(To, (at / ChunkSize + 1) * ChunkSize) - at;
        std::memcpy(Bytes + (at - From), piece.constData() + at % ChunkSize, std::size_t(n));
        at += n;
    }
}

const std::uint8_t *TParallelDeflate::TJoin::Raw(qint64 From, qint64 To)
{
    static const std::uint8_t none = 0;
    if (From == To)
        return &none;
    if (From / ChunkSize == (To - 1) / ChunkSize) {
        FHeld = Chunk(From / ChunkSize);
        return reinterpret_cast<const std::uint8_t *>(FHeld.constData()) + From % ChunkSize;
    }
    FScratch.resize(std::size_t(To - From));
    Copy(From, To, FScratch.data());
    return FScratch.data();
}

bool TParallelDeflate::TJoin::Sink(bool Force)
{
    const qint64 size = qint64(FWriter.OutputSize());
    if (size == 0 || (!Force && size < OutputFlush))
        return true;
    QString error;
    const bool ok = FOwner.FSink(reinterpret_cast<const char *>(FWriter.Output()), size, error);
    FWriter.ClearOutput();
    if (!ok)
        FOwner.Fail(error);
    return ok;
}

// A block may be stored only while it starts inside zlib's window.
bool TParallelDeflate::TJoin::FlushBlock(qint64 End, bool Last)
{
    const std::uint8_t *bytes = FBlockStart >= FWindow.Base ? Raw(FBlockStart, End) : nullptr;
    FWriter.FlushBlock(bytes, std::size_t(End - FBlockStart), Last);
    FBlockStart = End;
    return Sink(Last);
}

// zlib emits a literal at the step after its byte and a match at the step after its start; a
// step where the window slides slides it before the emission.
bool TParallelDeflate::TJoin::Walk(const TDeflateSymbol *Symbols, std::size_t Count)
{
    for (std::size_t i = 0; i < Count; ++i) {
        const TDeflateSymbol symbol = Symbols[i];
        const qint64 at = FPosition;
        FWindow.Step(at);
        if (FPendingLiteral) {
            FPendingLiteral = false;
            FWriter.Tally(FPending);
            if (FWriter.Pending() == BlockSymbols && !FlushBlock(at, false))
                return false;
        }
        if (DeflateDistance(symbol) == 0) {
            FPendingLiteral = true;
            FPending = symbol;
            FPosition = at + 1;
            continue;
        }
        const qint64 end = at + DeflateCoverage(symbol);
        FWindow.Step(at + 1);
        FWriter.Tally(symbol);
        if (FWriter.Pending() == BlockSymbols && !FlushBlock(end, false))
            return false;
        FPosition = end;
    }
    return true;
}

// The parse so far reaches into the job's chunk; it goes on over the job's buffer until it
// meets the job's own parse in the same state, and the job's symbols count from there.
bool TParallelDeflate::TJoin::Take(TJob &Job, qint64 Total)
{
    if (Total >= 0)
        FWindow.TailFrom = tailFrom(Total);
    TMatchState state = FState;
    state.Position = int(FStateAt + FState.Position - Job.Base);
    state.MatchStart = int(FStateAt + FState.MatchStart - Job.Base);
    bool ok = true;
    if (Job.Index == 0) {
        ok = Walk(Job.Symbols.data(), Job.Symbols.size());
        state = Job.End;
    } else if (state.Position < Job.Stop) {
        FMatcher.Reset(Job.Buffer.data());
        FMatcher.Insert(state.Position - Window, state.Position);
        FContinued.clear();
        const int joined = FMatcher.Run(state, Job.Stop, FContinued, nullptr, &Job.Log);
        ok = Walk(FContinued.data(), FContinued.size());
        if (joined >= 0) {
            const auto from = std::size_t(Job.Log.Entries[std::size_t(joined)].Symbols);
            ok = ok && Walk(Job.Symbols.data() + from, Job.Symbols.size() - from);
            state = Job.End;
        }
    }
    FState = state;
    FStateAt = Job.Base;
    FCrc = crc32_combine(FCrc, Job.Crc, Job.Own.size());
    FChecked += Job.Own.size();
    return ok;
}

// The last steps, with fewer than 262 bytes ahead, read zlib's window itself: past the end of
// the stream it holds the bytes it held 32 KiB before (zeros before it first slid), and it
// slides as zlib slides it, refilled from the stream.
bool TParallelDeflate::TJoin::Finish(qint64 Total)
{
    // Chunks without a job, the stream's last bytes, join the check value here.
    for (qint64 at = FChecked; at < Total; at += ChunkSize) {
        const QByteArray piece = Chunk(at / ChunkSize);
        FCrc = crc32(FCrc, reinterpret_cast<const Bytef *>(piece.constData()), uInt(piece.size()));
    }

    const qint64 position = FStateAt + FState.Position;
    TWindowBase base = FWindow;
    base.TailFrom = tailFrom(Total);
    if (FState.Available)
        base.Step(position - 1);
    std::vector<std::uint8_t> window(std::size_t(2 * Window + Padding), 0);
    qint64 windowEnd = base.Base + std::min<qint64>(Total - base.Base, 2 * Window);
    Copy(base.Base, windowEnd, window.data());
    if (base.Base >= Window && windowEnd < base.Base + 2 * Window)
        Copy(windowEnd - Window, base.Base + Window, window.data() + (windowEnd - base.Base));
    FMatcher.Reset(window.data());
    TMatchState tail = FState;
    tail.Position = int(position - base.Base);
    tail.MatchStart = int(FStateAt + FState.MatchStart - base.Base);
    FMatcher.Insert(std::max(1, tail.Position - Window), tail.Position);
    FContinued.clear();
    for (;;) {
        const qint64 at = base.Base + tail.Position;
        if (base.Step(at)) {
            const qint64 kept = windowEnd - base.Base;
            if (kept > 0)
                std::memmove(window.data(), window.data() + Window, std::size_t(kept));
            const qint64 filled = std::min(Total, base.Base + 2 * Window);
            if (filled > windowEnd) {
                Copy(windowEnd, filled, window.data() + (windowEnd - base.Base));
                windowEnd = filled;
            }
            FMatcher.Slide();
            tail.Position -= Window;
            tail.MatchStart -= Window;
        }
        if (at >= Total)
            break;
        FMatcher.TailStep(tail, int(Total - base.Base), FContinued);
    }
    if (tail.Available)
        FContinued.push_back(DeflateLiteral(window[std::size_t(tail.Position - 1)]));
    if (!Walk(FContinued.data(), FContinued.size()))
        return false;
    FWindow.Step(Total);
    if (FPendingLiteral)
        FWriter.Tally(FPending);
    if (!FlushBlock(Total, true))
        return false;
    const std::uint8_t trailer[8] = {std::uint8_t(FCrc),        std::uint8_t(FCrc >> 8),
                                     std::uint8_t(FCrc >> 16),  std::uint8_t(FCrc >> 24),
                                     std::uint8_t(Total),       std::uint8_t(Total >> 8),
                                     std::uint8_t(Total >> 16), std::uint8_t(Total >> 24)};
    FWriter.Append(trailer, sizeof trailer);
    return Sink(true);
}

TParallelDeflate::TParallelDeflate(TSink Sink, int Threads) : FSink(std::move(Sink))
{
    // Each matching thread keeps about two chunks' worth of buffers in flight; past eight the
    // joining thread sets the pace anyway.
    if (Threads <= 0)
        Threads = int(std::clamp(std::thread::hardware_concurrency(), 1u, 8u));
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
                if (k * ChunkSize < tailFrom(FTotal))
                    StartJob(k);
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
        stop = std::min(stop, tailFrom(FTotal));
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
    TJoin join(*this);
    qint64 total = -1;
    for (qint64 k = 0;; ++k) {
        std::shared_ptr<TJob> job;
        {
            std::unique_lock<std::mutex> lock(FMutex);
            FChanged.wait(lock, [&] {
                const auto found = FJobs.find(k);
                return FStop || (found != FJobs.end() ? found->second->Done : FTotal >= 0);
            });
            if (FStop)
                return;
            total = FTotal;
            const auto found = FJobs.find(k);
            if (found == FJobs.end())
                break;
            job = found->second;
        }
        if (!join.Take(*job, total))
            return;
        FDone.store(std::min(join.Position(), (k + 1) * ChunkSize));
        {
            // The joiner may still read the chunk before this one (a block stored across the
            // chunks' border, the window of the last steps).
            const std::lock_guard<std::mutex> lock(FMutex);
            FJobs.erase(k);
            FChunks.erase(k - 2);
            FJoined = k + 1;
        }
        FChanged.notify_all();
    }
    if (join.Finish(total))
        FDone.store(total);
}
