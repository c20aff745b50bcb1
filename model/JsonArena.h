#pragma once

#include <QByteArray>
#include <QString>

#include <cstddef>
#include <vector>

/// A text kept alive by an arena; values and member names point into it.
struct TJsonPin {
    QString Text;
};

/// The memory of one document: every value of a parse, or every value made in a document, is
/// carved out of a few large blocks that are released together. Nothing inside is freed one by
/// one, so a document of a million values costs a few hundred allocations instead of millions.
///
/// The arena is counted by the handles on its values and by the arenas whose containers hold one
/// of its values; it dies with the last of them. The count is not atomic: a document belongs to
/// one thread at a time.
class TJsonArena
{
public:
    /// A new arena with no holders; FirstBlock sizes its first block in bytes.
    static TJsonArena *Create(std::size_t FirstBlock);

    TJsonArena(const TJsonArena &) = delete;
    TJsonArena &operator=(const TJsonArena &) = delete;

    void Ref() { ++FRefs; }
    /// Whether anyone but the single holder still holds the arena.
    bool Shared() const { return FRefs > 1; }
    void Unref()
    {
        if (--FRefs == 0)
            Destroy();
    }

    /// Room for Size bytes, aligned for any value; lives as long as the arena.
    void *Allocate(std::size_t Size)
    {
        Size = (Size + 7) & ~std::size_t(7);
        if (std::size_t(FLimit - FPos) < Size)
            return AllocateSlow(Size);
        void *p = FPos;
        FPos += Size;
        return p;
    }

    /// Drops every value, pin and adopted arena, keeping the first block and the short texts, so
    /// that a parse that hands values over one by one reuses warm memory. Only while not Shared().
    void Rewind();

    /// Keeps Text's characters alive and unchanged as long as the arena.
    TJsonPin *Pin(const QString &Text);

    /// Name pinned like Pin, but a name that the arena pinned before is shared; Hash is the name's
    /// member hash. Objects of one document repeat the same few names.
    TJsonPin *PinName(const QString &Name, quint32 Hash);

    /// Keeps Other alive as long as this arena: one of its values went into a container here.
    void Adopt(TJsonArena *Other);

    /// The text that parsed values point into (the arena keeps a reference, not a copy).
    QByteArray Utf8Source;
    QString Utf16Source;

    /// A QString of the short text given in UTF-8; equal texts share one string, so the names
    /// and flags that repeat through a document cost one allocation each.
    QString SharedShortText(const char *Utf8, qsizetype Size);

private:
    TJsonArena() = default;
    ~TJsonArena() = default;
    void *AllocateSlow(std::size_t Size);
    void ReleaseContents();
    void Destroy();

    struct TBlock {
        TBlock *Next;
    };
    // Pins stand side by side in chunks, so that releasing them walks memory in order.
    struct TPinChunk {
        static constexpr int Size = 256;
        TPinChunk *Next;
        int Count;
        TJsonPin Pins[Size];
    };

    int FRefs = 0;
    char *FPos = nullptr;
    char *FLimit = nullptr;
    char *FFirstLimit = nullptr; // the end of the block that shares the arena's allocation
    std::size_t FNextBlock = 0;
    TBlock *FBlocks = nullptr;
    TPinChunk *FPins = nullptr; // the newest chunk first
    std::vector<TJsonArena *> FAdopted;
    QString *FShortTexts = nullptr; // 256 slots, made on first use
    TJsonPin **FNames = nullptr;    // 64 slots, made on first use
};
