// Deflate blocks chosen and coded as zlib chooses and codes them, so that a deflate stream made
// from zlib's symbols comes out bit for bit as zlib's own.
#include "packing/DeflateBlocks.h"

#include <algorithm>
#include <cstring>

namespace
{

constexpr int Literals = 256;
constexpr int EndBlock = 256;
constexpr int LengthSymbols = 29;
constexpr int MaxBits = 15;
constexpr int MaxLengthBits = 7;
constexpr int Repeat3To6 = 16;
constexpr int Zeros3To10 = 17;
constexpr int Zeros11To138 = 18;

constexpr int ExtraLengthBits[LengthSymbols] = {0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 2, 2, 2,
                                                2, 3, 3, 3, 3, 4, 4, 4, 4, 5, 5, 5, 5, 0};
constexpr int ExtraDistanceBits[30] = {0, 0, 0, 0, 1, 1, 2, 2,  3,  3,  4,  4,  5,  5,  6,
                                       6, 7, 7, 8, 8, 9, 9, 10, 10, 11, 11, 12, 12, 13, 13};
constexpr int ExtraLengthsBits[19] = {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 2, 3, 7};
constexpr std::uint8_t LengthsOrder[19] = {16, 17, 18, 0, 8,  7, 9,  6, 10, 5,
                                           11, 4,  12, 3, 13, 2, 14, 1, 15};

unsigned reverseBits(unsigned Code, int Length)
{
    unsigned result = 0;
    for (int i = 0; i < Length; ++i, Code >>= 1)
        result = (result << 1) | (Code & 1);
    return result;
}

/// Gives the codes Nodes[0] to Nodes[Last] of the lengths they have, Count[b] of them b bits
/// long, canonically as zlib does, bit-reversed for sending; a length of 0 gets no code.
template <typename TNode> void assignCodes(TNode *Nodes, int Last, const std::uint16_t *Count)
{
    std::uint16_t next[MaxBits + 1];
    unsigned code = 0;
    for (int bits = 1; bits <= MaxBits; ++bits)
        next[bits] = std::uint16_t(code = (code + Count[bits - 1]) << 1);
    for (int n = 0; n <= Last; ++n)
        if (const int length = Nodes[n].Len)
            Nodes[n].Code = std::uint16_t(reverseBits(next[length]++, length));
}

/// The fixed tables every block shares: codes of lengths and distances.
struct TTables {
    std::uint8_t LengthCode[256];
    std::uint8_t DistanceCode[512];
    int BaseLength[LengthSymbols];
    int BaseDistance[30];

    TTables()
    {
        int length = 0;
        int code = 0;
        for (; code < LengthSymbols - 1; ++code) {
            BaseLength[code] = length;
            for (int n = 0; n < (1 << ExtraLengthBits[code]); ++n)
                LengthCode[length++] = std::uint8_t(code);
        }
        // Length 258 has two codes; the one without extra bits is used.
        LengthCode[255] = std::uint8_t(code);
        BaseLength[code] = 0;
        int distance = 0;
        for (code = 0; code < 16; ++code) {
            BaseDistance[code] = distance;
            for (int n = 0; n < (1 << ExtraDistanceBits[code]); ++n)
                DistanceCode[distance++] = std::uint8_t(code);
        }
        distance >>= 7;
        for (; code < 30; ++code) {
            BaseDistance[code] = distance << 7;
            for (int n = 0; n < (1 << (ExtraDistanceBits[code] - 7)); ++n)
                DistanceCode[256 + distance++] = std::uint8_t(code);
        }
    }

    int DistanceCodeOf(unsigned DistanceLess1) const
    {
        return DistanceLess1 < 256 ? DistanceCode[DistanceLess1]
                                   : DistanceCode[256 + (DistanceLess1 >> 7)];
    }
};

const TTables Tables;

/// The fixed codes, in the node layout the writer codes with.
template <typename TNode> struct TStaticTrees {
    TNode Literal[288];
    TNode Distance[30];

    TStaticTrees()
    {
        std::uint16_t count[MaxBits + 1] = {};
        for (int n = 0; n < 288; ++n) {
            Literal[n].Len = n <= 143 ? 8 : n <= 255 ? 9 : n <= 279 ? 7 : 8;
            ++count[Literal[n].Len];
        }
        assignCodes(Literal, 287, count);
        for (int n = 0; n < 30; ++n) {
            Distance[n].Code = std::uint16_t(reverseBits(unsigned(n), 5));
            Distance[n].Len = 5;
        }
    }
};

/// The codes of the lengths tree that send a tree's code lengths, as zlib sends them: a length,
/// a repeat of the last length 3 to 6 times, or a run of 3 to 138 zeros. Tree[MaxCode + 1] is a
/// guard length no code has.
template <typename TNodes, typename F>
void forEachLengthCode(const TNodes *Tree, int MaxCode, F Code)
{
    int previous = -1;
    int next = Tree[0].Len;
    int count = 0;
    int maxCount = next == 0 ? 138 : 7;
    int minCount = next == 0 ? 3 : 4;
    for (int n = 0; n <= MaxCode; ++n) {
        const int current = next;
        next = Tree[n + 1].Len;
        if (++count < maxCount && current == next)
            continue;
        if (count < minCount) {
            for (; count > 0; --count)
                Code(current, 0u, 0);
        } else if (current != 0) {
            if (current != previous) {
                Code(current, 0u, 0);
                --count;
            }
            Code(Repeat3To6, unsigned(count - 3), 2);
        } else if (count <= 10) {
            Code(Zeros3To10, unsigned(count - 3), 3);
        } else {
            Code(Zeros11To138, unsigned(count - 11), 7);
        }
        count = 0;
        previous = current;
        if (next == 0)
            maxCount = 138, minCount = 3;
        else if (current == next)
            maxCount = 6, minCount = 3;
        else
            maxCount = 7, minCount = 4;
    }
}

} // namespace

TDeflateBlockWriter::TDeflateBlockWriter()
{
    static const TStaticTrees<TNode> statics;
    FLiteralTree = {FLiteral.data(), statics.Literal, ExtraLengthBits,
                    Literals + 1,    LiteralCodes,    MaxBits};
    FDistanceTree = {FDistance.data(), statics.Distance, ExtraDistanceBits, 0,
                     DistanceCodes,    MaxBits};
    FLengthsTree = {FLengths.data(), nullptr, ExtraLengthsBits, 0, LengthCodes, MaxLengthBits};
    FSymbols.reserve(16384);
    Reserve(1 << 18);
    StartBlock();
}

void TDeflateBlockWriter::StartBlock()
{
    for (int n = 0; n < LiteralCodes; ++n)
        FLiteral[n].Freq = 0;
    for (int n = 0; n < DistanceCodes; ++n)
        FDistance[n].Freq = 0;
    for (int n = 0; n < LengthCodes; ++n)
        FLengths[n].Freq = 0;
    FLiteral[EndBlock].Freq = 1;
    FOptimalBits = FStaticBits = 0;
    FSymbols.clear();
}

void TDeflateBlockWriter::Tally(TDeflateSymbol Symbol)
{
    FSymbols.push_back(Symbol);
    const unsigned distance = DeflateDistance(Symbol);
    if (distance == 0) {
        ++FLiteral[Symbol].Freq;
    } else {
        ++FLiteral[Tables.LengthCode[Symbol & 0xFF] + Literals + 1].Freq;
        ++FDistance[Tables.DistanceCodeOf(distance - 1)].Freq;
    }
}

void TDeflateBlockWriter::Reserve(std::size_t Bytes)
{
    if (FOut.size() < FUsed + Bytes)
        FOut.resize(std::max(FUsed + Bytes, FOut.size() * 2));
}

void TDeflateBlockWriter::Append(const std::uint8_t *Bytes, std::size_t Size)
{
    Reserve(Size);
    std::memcpy(FOut.data() + FUsed, Bytes, Size);
    FUsed += Size;
}

// Room for the whole block is reserved before it is coded.
void TDeflateBlockWriter::SendBits(std::uint32_t Value, int Length)
{
    FBitBuffer |= std::uint64_t(Value) << FBitCount;
    FBitCount += Length;
    if (FBitCount >= 32) {
        std::uint8_t *to = FOut.data() + FUsed;
        to[0] = std::uint8_t(FBitBuffer);
        to[1] = std::uint8_t(FBitBuffer >> 8);
        to[2] = std::uint8_t(FBitBuffer >> 16);
        to[3] = std::uint8_t(FBitBuffer >> 24);
        FUsed += 4;
        FBitBuffer >>= 32;
        FBitCount -= 32;
    }
}

void TDeflateBlockWriter::AlignToByte()
{
    while (FBitCount > 0) {
        FOut[FUsed++] = std::uint8_t(FBitBuffer);
        FBitBuffer >>= 8;
        FBitCount -= 8;
    }
    FBitBuffer = 0;
    FBitCount = 0;
}

// Ties between equal frequencies go to the shallower subtree, as in zlib.
void TDeflateBlockWriter::DownHeap(const TNode *Tree, int K)
{
    const auto smaller = [&](int n, int m) {
        return Tree[n].Freq < Tree[m].Freq ||
               (Tree[n].Freq == Tree[m].Freq && FDepth[n] <= FDepth[m]);
    };
    const int v = FHeap[K];
    int j = K << 1;
    while (j <= FHeapLength) {
        if (j < FHeapLength && smaller(FHeap[j + 1], FHeap[j]))
            ++j;
        if (smaller(v, FHeap[j]))
            break;
        FHeap[K] = FHeap[j];
        K = j;
        j <<= 1;
    }
    FHeap[K] = v;
}

void TDeflateBlockWriter::GenerateLengths(TTree &Tree)
{
    TNode *tree = Tree.Nodes;
    FLengthCount.fill(0);
    tree[FHeap[FHeapMax]].Len = 0;
    int overflow = 0;
    int h = FHeapMax + 1;
    for (; h < HeapSize; ++h) {
        const int n = FHeap[h];
        int bits = tree[tree[n].Dad].Len + 1;
        if (bits > Tree.MaxLength)
            bits = Tree.MaxLength, ++overflow;
        tree[n].Len = std::uint16_t(bits);
        if (n > Tree.MaxCode)
            continue;
        ++FLengthCount[bits];
        const int extra = n >= Tree.ExtraBase ? Tree.ExtraBits[n - Tree.ExtraBase] : 0;
        const std::uint64_t f = tree[n].Freq;
        FOptimalBits += f * unsigned(bits + extra);
        if (Tree.Static)
            FStaticBits += f * unsigned(Tree.Static[n].Len + extra);
    }
    if (overflow == 0)
        return;
    // Lengths over the limit: move leaves down until the counts fit, then hand the lengths out
    // again in order of frequency.
    do {
        int bits = Tree.MaxLength - 1;
        while (FLengthCount[bits] == 0)
            --bits;
        --FLengthCount[bits];
        FLengthCount[bits + 1] += 2;
        --FLengthCount[Tree.MaxLength];
        overflow -= 2;
    } while (overflow > 0);
    for (int bits = Tree.MaxLength; bits != 0; --bits) {
        int n = FLengthCount[bits];
        while (n != 0) {
            const int m = FHeap[--h];
            if (m > Tree.MaxCode)
                continue;
            if (tree[m].Len != unsigned(bits)) {
                FOptimalBits += (std::uint64_t(bits) - tree[m].Len) * tree[m].Freq;
                tree[m].Len = std::uint16_t(bits);
            }
            --n;
        }
    }
}

void TDeflateBlockWriter::BuildTree(TTree &Tree)
{
    TNode *tree = Tree.Nodes;
    const int elements = Tree.Elements;
    int maxCode = -1;
    FHeapLength = 0;
    FHeapMax = HeapSize;
    for (int n = 0; n < elements; ++n) {
        if (tree[n].Freq != 0) {
            FHeap[++FHeapLength] = maxCode = n;
            FDepth[n] = 0;
        } else {
            tree[n].Len = 0;
        }
    }
    // At least two codes, so that every code has at least one bit.
    while (FHeapLength < 2) {
        const int node = FHeap[++FHeapLength] = maxCode < 2 ? ++maxCode : 0;
        tree[node].Freq = 1;
        FDepth[node] = 0;
        --FOptimalBits;
        if (Tree.Static)
            FStaticBits -= Tree.Static[node].Len;
    }
    Tree.MaxCode = maxCode;
    for (int n = FHeapLength / 2; n >= 1; --n)
        DownHeap(tree, n);
    int node = elements;
    do {
        const int n = FHeap[1];
        FHeap[1] = FHeap[FHeapLength--];
        DownHeap(tree, 1);
        const int m = FHeap[1];
        FHeap[--FHeapMax] = n;
        FHeap[--FHeapMax] = m;
        tree[node].Freq = std::uint16_t(tree[n].Freq + tree[m].Freq);
        FDepth[node] = std::uint8_t(std::max(FDepth[n], FDepth[m]) + 1);
        tree[n].Dad = tree[m].Dad = std::uint16_t(node);
        FHeap[1] = node++;
        DownHeap(tree, 1);
    } while (FHeapLength >= 2);
    FHeap[--FHeapMax] = FHeap[1];
    GenerateLengths(Tree);
    assignCodes(tree, maxCode, FLengthCount.data());
}

// Runs of code lengths, counted into the lengths tree (ScanTree) or sent with it (SendTree).
void TDeflateBlockWriter::ScanTree(TNode *Tree, int MaxCode)
{
    Tree[MaxCode + 1].Len = 0xFFFF; // guard, for SendTree too
    forEachLengthCode(Tree, MaxCode, [&](int Code, unsigned, int) { ++FLengths[Code].Freq; });
}

void TDeflateBlockWriter::SendTree(const TNode *Tree, int MaxCode)
{
    forEachLengthCode(Tree, MaxCode, [&](int Code, unsigned Extra, int ExtraBits) {
        SendCode(Code, FLengths.data());
        if (ExtraBits != 0)
            SendBits(Extra, ExtraBits);
    });
}

int TDeflateBlockWriter::BuildLengthsTree()
{
    ScanTree(FLiteral.data(), FLiteralTree.MaxCode);
    ScanTree(FDistance.data(), FDistanceTree.MaxCode);
    BuildTree(FLengthsTree);
    int maxIndex = LengthCodes - 1;
    for (; maxIndex >= 3; --maxIndex)
        if (FLengths[LengthsOrder[maxIndex]].Len != 0)
            break;
    FOptimalBits += 3 * (std::uint64_t(maxIndex) + 1) + 5 + 5 + 4;
    return maxIndex;
}

void TDeflateBlockWriter::SendAllTrees(int LiteralCount, int DistanceCount, int LengthCount)
{
    SendBits(unsigned(LiteralCount - 257), 5);
    SendBits(unsigned(DistanceCount - 1), 5);
    SendBits(unsigned(LengthCount - 4), 4);
    for (int rank = 0; rank < LengthCount; ++rank)
        SendBits(FLengths[LengthsOrder[rank]].Len, 3);
    SendTree(FLiteral.data(), LiteralCount - 1);
    SendTree(FDistance.data(), DistanceCount - 1);
}

void TDeflateBlockWriter::CompressBlock(const TNode *LiteralTree, const TNode *DistanceTree)
{
    const TTables &t = Tables;
    for (const TDeflateSymbol symbol : FSymbols) {
        unsigned distance = DeflateDistance(symbol);
        if (distance == 0) {
            SendCode(int(symbol), LiteralTree);
            continue;
        }
        int length = int(symbol & 0xFF);
        int code = t.LengthCode[length];
        SendCode(code + Literals + 1, LiteralTree);
        if (const int extra = ExtraLengthBits[code])
            SendBits(unsigned(length - t.BaseLength[code]), extra);
        --distance;
        code = t.DistanceCodeOf(distance);
        SendCode(code, DistanceTree);
        if (const int extra = ExtraDistanceBits[code])
            SendBits(distance - unsigned(t.BaseDistance[code]), extra);
    }
    SendCode(EndBlock, LiteralTree);
}

void TDeflateBlockWriter::FlushBlock(const std::uint8_t *Raw, std::size_t RawSize, bool Last)
{
    BuildTree(FLiteralTree);
    BuildTree(FDistanceTree);
    const int maxIndex = BuildLengthsTree();
    std::uint64_t optimalBytes = (FOptimalBits + 3 + 7) >> 3;
    const std::uint64_t staticBytes = (FStaticBits + 3 + 7) >> 3;
    if (staticBytes <= optimalBytes)
        optimalBytes = staticBytes;

    // A symbol takes at most 48 bits, the trees a few hundred bytes.
    Reserve(FSymbols.size() * 6 + 1024 + (Raw ? RawSize : 0));
    if (RawSize + 4 <= optimalBytes && Raw) {
        SendBits(Last ? 1 : 0, 3);
        AlignToByte();
        std::uint8_t *to = FOut.data() + FUsed;
        to[0] = std::uint8_t(RawSize);
        to[1] = std::uint8_t(RawSize >> 8);
        to[2] = std::uint8_t(~RawSize);
        to[3] = std::uint8_t(~RawSize >> 8);
        std::memcpy(to + 4, Raw, RawSize);
        FUsed += 4 + RawSize;
    } else if (staticBytes == optimalBytes) {
        SendBits((1u << 1) + (Last ? 1 : 0), 3);
        CompressBlock(FLiteralTree.Static, FDistanceTree.Static);
    } else {
        SendBits((2u << 1) + (Last ? 1 : 0), 3);
        SendAllTrees(FLiteralTree.MaxCode + 1, FDistanceTree.MaxCode + 1, maxIndex + 1);
        CompressBlock(FLiteral.data(), FDistance.data());
    }
    StartBlock();
    if (Last)
        AlignToByte();
}
