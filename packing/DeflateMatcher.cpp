// zlib's lazy matching at level 9, step for step, so that its symbols are zlib's symbols.
#include "packing/DeflateMatcher.h"

#include <algorithm>
#include <cstring>

namespace
{

constexpr int WindowSize = TLazyMatcher::WindowSize;
constexpr int MaxMatch = 258;
constexpr int MinLookahead = TLazyMatcher::MinLookahead;
constexpr int MaxDistance = WindowSize - MinLookahead;
constexpr int GoodLength = 32;
constexpr int MaxChain = 4096;
constexpr int TooFar = 4096;

std::uint64_t load64(const std::uint8_t *p)
{
    std::uint64_t v;
    std::memcpy(&v, p, sizeof v);
    return v;
}

std::uint16_t load16(const std::uint8_t *p)
{
    std::uint16_t v;
    std::memcpy(&v, p, sizeof v);
    return v;
}

} // namespace

TLazyMatcher::TLazyMatcher() : FHead(WindowSize), FPrev(WindowSize) {}

void TLazyMatcher::Reset(const std::uint8_t *Data)
{
    FData = Data;
    std::fill(FHead.begin(), FHead.end(), 0);
    NilLimit = 0;
}

void TLazyMatcher::Insert(int From, int To)
{
    for (int p = std::max(From, 0); p < To; ++p)
        InsertOne(p);
}

void TLazyMatcher::Slide()
{
    for (std::int32_t &p : FHead)
        p = p >= WindowSize ? p - WindowSize : 0;
}

// Bytes 0 and 1 are compared, byte 2 follows from the equal hash, the rest eight at a time;
// a match counts up to 258 bytes, as zlib's byte loop does.
int TLazyMatcher::LongestMatch(int Position, int Candidate, int PrevLength, int &MatchStart,
                               int Nice) const
{
    const std::uint8_t *scan = FData + Position;
    int chain = PrevLength >= GoodLength ? MaxChain >> 2 : MaxChain;
    int best = PrevLength;
    const int limit = std::max(Position - MaxDistance, NilLimit);
    std::uint16_t scanEnd = load16(scan + best - 1);
    const std::uint16_t scanStart = load16(scan);
    do {
        const std::uint8_t *match = FData + Candidate;
        if (load16(match + best - 1) != scanEnd || load16(match) != scanStart)
            continue;
        int len = 3;
        while (len < MaxMatch) {
            const std::uint64_t diff = load64(scan + len) ^ load64(match + len);
            if (diff != 0) {
#if defined(__BYTE_ORDER__) && __BYTE_ORDER__ == __ORDER_BIG_ENDIAN__
                len += __builtin_clzll(diff) >> 3;
#else
                len += __builtin_ctzll(diff) >> 3;
#endif
                break;
            }
            len += 8;
        }
        len = std::min(len, MaxMatch);
        if (len > best) {
            MatchStart = Candidate;
            best = len;
            if (len >= Nice)
                break;
            scanEnd = load16(scan + best - 1);
        }
    } while (FPrev[Candidate & 0x7FFF] != 0 && (Candidate -= FPrev[Candidate & 0x7FFF]) > limit &&
             --chain != 0);
    return best;
}

int TLazyMatcher::Run(TMatchState &State, int Stop, std::vector<TDeflateSymbol> &Out,
                      TMatchLog *Log, const TMatchLog *Join)
{
    int s = State.Position;
    int matchLength = State.MatchLength;
    int matchStart = State.MatchStart;
    bool available = State.Available;
    const int logEnd = Log ? Log->From + int(Log->Entries.size()) : 0;
    const int joinEnd = Join ? Join->From + int(Join->Entries.size()) : 0;
    int joined = -1;
    while (s < Stop) {
        if (s < logEnd && s >= Log->From)
            Log->Entries[std::size_t(s - Log->From)] = {int(Out.size()), matchLength, matchStart,
                                                        available};
        if (s < joinEnd && s >= Join->From) {
            // Two parses in the same state at the same step go on alike; a match under 3 bytes
            // is none, wherever it started.
            const TMatchLog::TEntry &e = Join->Entries[std::size_t(s - Join->From)];
            if (e.Symbols >= 0 && e.Available == available && e.MatchLength == matchLength &&
                (matchLength < 3 || e.MatchStart == matchStart)) {
                joined = s - Join->From;
                break;
            }
        }
        const int head = InsertOne(s);
        const int prevLength = matchLength;
        const int prevMatch = matchStart;
        matchLength = 2;
        if (head > NilLimit && prevLength < MaxMatch && s - head <= MaxDistance) {
            matchLength = LongestMatch(s, head, prevLength, matchStart, MaxMatch);
            if (matchLength == 3 && s - matchStart > TooFar)
                matchLength = 2;
        }
        if (prevLength >= 3 && matchLength <= prevLength) {
            Out.push_back(DeflateMatch(unsigned(s - 1 - prevMatch), unsigned(prevLength)));
            for (int p = s + 1, last = s + prevLength - 2; p <= last; ++p)
                InsertOne(p);
            available = false;
            matchLength = 2;
            s += prevLength - 1;
        } else {
            if (available)
                Out.push_back(DeflateLiteral(FData[s - 1]));
            available = true;
            ++s;
        }
    }
    State = {s, matchLength, matchStart, available};
    return joined;
}

void TLazyMatcher::TailStep(TMatchState &State, int End, std::vector<TDeflateSymbol> &Out)
{
    const int s = State.Position;
    const int lookahead = End - s;
    int head = 0;
    if (lookahead >= 3)
        head = InsertOne(s);
    const int prevLength = State.MatchLength;
    const int prevMatch = State.MatchStart;
    int matchLength = 2;
    if (head > NilLimit && prevLength < MaxMatch && s - head <= MaxDistance) {
        matchLength = std::min(
            LongestMatch(s, head, prevLength, State.MatchStart, std::min(MaxMatch, lookahead)),
            lookahead);
        if (matchLength == 3 && s - State.MatchStart > TooFar)
            matchLength = 2;
    }
    if (prevLength >= 3 && matchLength <= prevLength) {
        Out.push_back(DeflateMatch(unsigned(s - 1 - prevMatch), unsigned(prevLength)));
        const int maxInsert = s + lookahead - 3;
        for (int p = s + 1, last = s + prevLength - 2; p <= last; ++p)
            if (p <= maxInsert)
                InsertOne(p);
        State.Available = false;
        State.MatchLength = 2;
        State.Position = s + prevLength - 1;
    } else {
        if (State.Available)
            Out.push_back(DeflateLiteral(FData[s - 1]));
        State.Available = true;
        State.MatchLength = matchLength;
        State.Position = s + 1;
    }
}
