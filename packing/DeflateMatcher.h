#pragma once

#include "packing/DeflateBlocks.h"

#include <cstdint>
#include <vector>

/// Where zlib's lazy matching stands at the top of one step: the position it looks at next and
/// the match found one position before it, which waits for this step to tell whether it stays.
struct TMatchState {
    int Position = 0;
    int MatchLength = 2; // under 3: none
    int MatchStart = 0;
    bool Available = false; // the byte before Position is not yet emitted
};

/// The states a parse went through over the first positions of its stretch, so that another
/// parse reaching one of them in the same state can take the rest over.
struct TMatchLog {
    struct TEntry {
        int Symbols = -1; // symbols emitted before this step; -1: no step starts here
        int MatchLength = 0;
        int MatchStart = 0;
        bool Available = false;
    };
    int From = 0;
    std::vector<TEntry> Entries;
};

/// zlib's matching at its best compression (32 KiB window, hash of 15 bits, chains of 4,096,
/// lazy evaluation up to 258, matches of 3 bytes farther than 4,096 dropped), over a buffer in
/// which position 0 and below are never a match, as the start of zlib's window is not.
/// The buffer must be readable 265 bytes beyond the last position a step starts at; bytes past
/// the 258th after a step's position are read but never count.
class TLazyMatcher
{
public:
    /// zlib's window, and the bytes it keeps ahead of a step while input lasts.
    static constexpr int WindowSize = 32768;
    static constexpr int MinLookahead = 258 + 3 + 1;

    TLazyMatcher();

    /// Positions up to this one are no longer candidates (zlib's window moved past them).
    int NilLimit = 0;

    void Reset(const std::uint8_t *Data);
    /// Hashes positions [From, To) as zlib had hashed them before the parse reaches To.
    void Insert(int From, int To);
    /// Steps from State until a step would start at or after Stop, each with at least 262 bytes
    /// ahead. Log (optional) records the states of the steps inside it; Join (optional) is
    /// another parse's log: the run ends at the first step where it is in the state Join
    /// recorded, and returns that entry's index, or -1 if it reached Stop.
    int Run(TMatchState &State, int Stop, std::vector<TDeflateSymbol> &Out, TMatchLog *Log,
            const TMatchLog *Join);
    /// One step with fewer than 262 bytes ahead, End being the end of the input: zlib's last
    /// steps, which look at no byte past End except through the window's stale bytes.
    void TailStep(TMatchState &State, int End, std::vector<TDeflateSymbol> &Out);
    /// Moves every stored position down by 32,768, as zlib does when its window slides.
    void Slide();

private:
    int Hash(int Position) const
    {
        return ((FData[Position] << 10) ^ (FData[Position + 1] << 5) ^ FData[Position + 2]) &
               0x7FFF;
    }
    int InsertOne(int Position)
    {
        const int h = Hash(Position);
        const int head = FHead[h];
        // Links hold distances in 16 bits, half of zlib's table at most, so the chains stay in
        // the cache; 0 ends a chain, and anything farther than 32 KiB is past every limit.
        const int distance = Position - head;
        FPrev[Position & 0x7FFF] = std::uint16_t(head > 0 && distance < 65536 ? distance : 0);
        FHead[h] = Position;
        return head;
    }
    int LongestMatch(int Position, int Candidate, int PrevLength, int &MatchStart, int Nice) const;

    const std::uint8_t *FData = nullptr;
    std::vector<std::int32_t> FHead;
    std::vector<std::uint16_t> FPrev;
};
