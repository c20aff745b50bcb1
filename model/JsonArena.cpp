#include "model/JsonArena.h"

#include "model/JsonText.h"

#include <algorithm>
#include <cstdlib>
#include <new>

namespace
{

constexpr std::size_t LargestBlock = std::size_t(4) << 20;
constexpr std::size_t ShortTextSlots = 256;

std::size_t headerSize()
{
    return (sizeof(TJsonArena) + 15) & ~std::size_t(15);
}

} // namespace

TJsonArena *TJsonArena::Create(std::size_t FirstBlock)
{
    // The arena and its first block share one allocation: a single value costs one malloc.
    FirstBlock = (FirstBlock + 7) & ~std::size_t(7);
    char *memory = static_cast<char *>(std::malloc(headerSize() + FirstBlock));
    if (!memory)
        throw std::bad_alloc();
    TJsonArena *arena = new (memory) TJsonArena();
    arena->FPos = memory + headerSize();
    arena->FLimit = arena->FPos + FirstBlock;
    arena->FFirstLimit = arena->FLimit;
    arena->FNextBlock = std::clamp<std::size_t>(FirstBlock * 2, 4096, LargestBlock);
    return arena;
}

void *TJsonArena::AllocateSlow(std::size_t Size)
{
    const std::size_t header = (sizeof(TBlock) + 7) & ~std::size_t(7);
    // A request larger than a block gets a block of its own and leaves the current one open.
    const bool own = Size > FNextBlock / 2;
    const std::size_t capacity = own ? Size : FNextBlock;
    char *memory = static_cast<char *>(std::malloc(header + capacity));
    if (!memory)
        throw std::bad_alloc();
    auto *block = reinterpret_cast<TBlock *>(memory);
    block->Next = FBlocks;
    FBlocks = block;
    char *p = memory + header;
    if (own)
        return p;
    FNextBlock = std::min(FNextBlock * 2, LargestBlock);
    FPos = p + Size;
    FLimit = p + capacity;
    return p;
}

TJsonPin *TJsonArena::Pin(const QString &Text)
{
    if (!FPins || FPins->Count == TPinChunk::Size) {
        // The chunk's pins are made one by one as they are needed.
        auto *chunk = static_cast<TPinChunk *>(Allocate(sizeof(TPinChunk)));
        chunk->Next = FPins;
        chunk->Count = 0;
        FPins = chunk;
    }
    return new (&FPins->Pins[FPins->Count++]) TJsonPin{Text};
}

TJsonPin *TJsonArena::PinName(const QString &Name, quint32 Hash)
{
    constexpr std::size_t nameSlots = 64;
    if (!FNames) {
        FNames = static_cast<TJsonPin **>(Allocate(nameSlots * sizeof(TJsonPin *)));
        std::fill(FNames, FNames + nameSlots, nullptr);
    }
    TJsonPin *&slot = FNames[(Hash ^ (Hash >> 6) ^ (Hash >> 12)) & (nameSlots - 1)];
    if (!slot || slot->Text != Name)
        slot = Pin(Name);
    return slot;
}

void TJsonArena::Adopt(TJsonArena *Other)
{
    if (Other == this || std::find(FAdopted.begin(), FAdopted.end(), Other) != FAdopted.end())
        return;
    Other->Ref();
    FAdopted.push_back(Other);
}

QString TJsonArena::SharedShortText(const char *Utf8, qsizetype Size)
{
    if (!FShortTexts)
        FShortTexts = new QString[ShortTextSlots];
    quint32 h = 0;
    for (qsizetype i = 0; i < Size; ++i)
        h = h * 31 + quint8(Utf8[i]);
    QString &slot = FShortTexts[(h ^ (h >> 8)) & (ShortTextSlots - 1)];
    // The slot holds an ASCII text when the bytes are ASCII, so a length match and a code unit
    // comparison settle equality; anything else is converted anew.
    if (slot.size() == Size) {
        const char16_t *units = reinterpret_cast<const char16_t *>(slot.constData());
        qsizetype i = 0;
        while (i < Size && quint8(Utf8[i]) < 0x80 && units[i] == char16_t(quint8(Utf8[i])))
            ++i;
        if (i == Size)
            return slot;
    }
    QString text = StringFromUtf8(Utf8, Size);
    if (text.size() == Size) // ASCII only
        slot = text;
    return text;
}

void TJsonArena::ReleaseContents()
{
    for (TPinChunk *chunk = FPins; chunk; chunk = chunk->Next) {
        for (int i = 0; i < chunk->Count; ++i)
            chunk->Pins[i].~TJsonPin();
    }
    FPins = nullptr;
    FNames = nullptr;
    for (TJsonArena *other : FAdopted)
        other->Unref();
    FAdopted.clear();
    for (TBlock *block = FBlocks; block;) {
        TBlock *next = block->Next;
        std::free(block);
        block = next;
    }
    FBlocks = nullptr;
}

void TJsonArena::Rewind()
{
    ReleaseContents();
    FPos = reinterpret_cast<char *>(this) + headerSize();
    FLimit = FFirstLimit;
    FNextBlock = std::clamp<std::size_t>(std::size_t(FLimit - FPos) * 2, 4096, LargestBlock);
}

void TJsonArena::Destroy()
{
    ReleaseContents();
    delete[] FShortTexts;
    this->~TJsonArena();
    std::free(this);
}
