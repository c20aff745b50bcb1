#pragma once

#include <array>
#include <cstdint>
#include <vector>

/// One deflate symbol: a literal byte, or a match of 3 to 258 bytes at a distance of 1 to 32768.
/// Packed as (distance << 8) | (length - 3) for a match and the byte itself for a literal.
using TDeflateSymbol = std::uint32_t;

inline TDeflateSymbol DeflateLiteral(std::uint8_t Byte)
{
    return Byte;
}
inline TDeflateSymbol DeflateMatch(unsigned Distance, unsigned Length)
{
    return (Distance << 8) | (Length - 3);
}
inline unsigned DeflateDistance(TDeflateSymbol Symbol)
{
    return Symbol >> 8;
}
/// The bytes a symbol stands for.
inline unsigned DeflateCoverage(TDeflateSymbol Symbol)
{
    return Symbol >> 8 ? (Symbol & 0xFF) + 3 : 1;
}

/// Writes deflate blocks as zlib's best compression writes them: the same choice between stored,
/// fixed and dynamic codes, the same Huffman trees, so the same bits for the same symbols.
class TDeflateBlockWriter
{
public:
    TDeflateBlockWriter();

    /// Counts one symbol into the block being gathered.
    void Tally(TDeflateSymbol Symbol);
    /// Symbols gathered since the last block.
    int Pending() const { return int(FSymbols.size()); }
    /// Writes the gathered symbols as one block. Raw holds the block's RawSize input bytes, or is
    /// null when they have left the window, which rules out a stored block.
    void FlushBlock(const std::uint8_t *Raw, std::size_t RawSize, bool Last);

    /// Adds bytes to the output as they stand (between blocks: a header or a trailer).
    void Append(const std::uint8_t *Bytes, std::size_t Size);
    /// Finished bytes, which the caller takes before it clears them.
    const std::uint8_t *Output() const { return FOut.data(); }
    std::size_t OutputSize() const { return FUsed; }
    void ClearOutput() { FUsed = 0; }

private:
    struct TNode {
        std::uint16_t Freq = 0; // frequency; the code once the lengths are known
        std::uint16_t Code = 0;
        std::uint16_t Dad = 0;
        std::uint16_t Len = 0;
    };
    struct TTree {
        TNode *Nodes;
        const TNode *Static; // zlib's fixed code, or null
        const int *ExtraBits;
        int ExtraBase;
        int Elements;
        int MaxLength;
        int MaxCode = 0;
    };

    void SendBits(std::uint32_t Value, int Length);
    void SendCode(int Code, const TNode *Tree) { SendBits(Tree[Code].Code, Tree[Code].Len); }
    void AlignToByte();
    void Reserve(std::size_t Bytes);
    void BuildTree(TTree &Tree);
    void DownHeap(const TNode *Tree, int K);
    void GenerateLengths(TTree &Tree);
    void ScanTree(TNode *Tree, int MaxCode);
    void SendTree(const TNode *Tree, int MaxCode);
    int BuildLengthsTree();
    void SendAllTrees(int LiteralCodes, int DistanceCodes, int LengthCodes);
    void CompressBlock(const TNode *LiteralTree, const TNode *DistanceTree);
    void StartBlock();

    static constexpr int LiteralCodes = 286;
    static constexpr int DistanceCodes = 30;
    static constexpr int LengthCodes = 19;
    static constexpr int HeapSize = 2 * LiteralCodes + 1;

    std::array<TNode, HeapSize> FLiteral{};
    std::array<TNode, 2 * DistanceCodes + 1> FDistance{};
    std::array<TNode, 2 * LengthCodes + 1> FLengths{};
    TTree FLiteralTree;
    TTree FDistanceTree;
    TTree FLengthsTree;

    std::array<int, HeapSize> FHeap{};
    int FHeapLength = 0;
    int FHeapMax = 0;
    std::array<std::uint8_t, HeapSize> FDepth{};
    std::array<std::uint16_t, 16> FLengthCount{};
    std::uint64_t FOptimalBits = 0;
    std::uint64_t FStaticBits = 0;

    std::vector<TDeflateSymbol> FSymbols;
    std::uint64_t FBitBuffer = 0;
    int FBitCount = 0;
    std::vector<std::uint8_t> FOut; // FUsed bytes written, the rest room for the next block
    std::size_t FUsed = 0;
};
