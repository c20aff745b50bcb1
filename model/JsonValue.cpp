#include "model/JsonValue.h"

#include "model/JsonText.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <stdexcept>

namespace
{

TJsonTextRef nameOf(const TJsonMember &member)
{
    return {member.Name, qsizetype(member.NameSize & ~TJsonMember::NameUtf16Bit),
            !(member.NameSize & TJsonMember::NameUtf16Bit)};
}

// Member order with the name of the second member given as a text.
bool memberBefore(const TJsonMember &member, quint32 hash, const TJsonTextRef &name)
{
    if (member.Hash != hash)
        return member.Hash > hash;
    return CompareUnits(nameOf(member), name) < 0;
}

} // namespace

quint32 JsonMemberHash(QStringView Name)
{
    quint32 h = 0;
    for (const QChar c : Name)
        h = h * 129u + c.unicode() + 0x9E370001u;
    return h;
}

bool MemberLess(quint32 HashA, QStringView NameA, quint32 HashB, QStringView NameB)
{
    if (HashA != HashB)
        return HashA > HashB;
    return CompareUnits({NameA.utf16(), NameA.size(), false},
                        {NameB.utf16(), NameB.size(), false}) < 0;
}

TJsonValue *TJsonValue::Make(TJsonArena *Arena, TJsonKind Kind)
{
    return new (Arena->Allocate(sizeof(TJsonValue))) TJsonValue(Arena, Kind);
}

TJsonValuePtr TJsonValue::MakeAlone(TJsonKind Kind)
{
    // A value made on its own is the first of a document of its own.
    return Handle(Make(TJsonArena::Create(256), Kind));
}

TJsonValuePtr TJsonValue::NewNull()
{
    return MakeAlone(stNull);
}

TJsonValuePtr TJsonValue::NewInt(qint64 Value)
{
    TJsonValuePtr v = MakeAlone(stInt);
    v->FInt = Value;
    return v;
}

TJsonValuePtr TJsonValue::NewString(const QString &Text)
{
    TJsonValuePtr v = MakeAlone(stNull);
    return Handle(v->MakeString(Text));
}

TJsonValuePtr TJsonValue::NewObject(qsizetype Capacity)
{
    TJsonValuePtr v = MakeAlone(stObject);
    if (Capacity > 0) {
        v->FMembers =
            static_cast<TJsonMember *>(v->FArena->Allocate(size_t(Capacity) * sizeof(TJsonMember)));
        v->FCapacity = quint32(Capacity);
    }
    return v;
}

TJsonValuePtr TJsonValue::NewArray()
{
    return MakeAlone(stArray);
}

TJsonValue *TJsonValue::MakeString(const QString &Text) const
{
    TJsonValue *v = Make(FArena, stString);
    v->FForm = fPinned;
    v->FPin = FArena->Pin(Text);
    v->FSize = Text.size();
    return v;
}

const TJsonMember *TJsonValue::FindMember(QStringView Name) const
{
    if (FKind != stObject)
        return nullptr;
    const quint32 hash = JsonMemberHash(Name);
    const TJsonTextRef name{Name.utf16(), Name.size(), false};
    // Members with one hash stand together; among them the name decides.
    const TJsonMember *begin = FMembers;
    const TJsonMember *end = begin + FSize;
    const TJsonMember *it = std::lower_bound(
        begin, end, hash, [](const TJsonMember &m, quint32 h) { return m.Hash > h; });
    for (; it != end && it->Hash == hash; ++it) {
        if (SameUnits(nameOf(*it), name))
            return it;
    }
    return nullptr;
}

void TJsonValue::Hold(const TJsonValue *Value) const
{
    if (Value && Value->FArena != FArena)
        FArena->Adopt(Value->FArena);
}

// The member table is a flat array kept in member order: lookups are binary searches, and an
// object made with room for its members is filled without moving.
void TJsonValue::PutMember(const QString &Name, TJsonValue *Value)
{
    if (Name.size() >= qsizetype(TJsonMember::NameUtf16Bit))
        throw std::length_error("member name too long");
    const quint32 hash = JsonMemberHash(Name);
    const TJsonTextRef name{Name.utf16(), Name.size(), false};
    TJsonMember *end = FMembers + FSize;
    TJsonMember *it = std::lower_bound(
        FMembers, end, 0, [&](const TJsonMember &m, int) { return memberBefore(m, hash, name); });
    if (it != end && it->Hash == hash && SameUnits(nameOf(*it), name)) {
        it->Value = Value;
        return;
    }
    const size_t at = size_t(it - FMembers);
    if (quint32(FSize) == FCapacity) {
        const quint32 room = std::max<quint32>(4, FCapacity * 2);
        auto *members = static_cast<TJsonMember *>(FArena->Allocate(room * sizeof(TJsonMember)));
        if (FSize)
            std::memcpy(members, FMembers, size_t(FSize) * sizeof(TJsonMember));
        FMembers = members;
        FCapacity = room;
    }
    std::memmove(FMembers + at + 1, FMembers + at, (size_t(FSize) - at) * sizeof(TJsonMember));
    const TJsonPin *pin = FArena->PinName(Name, hash);
    FMembers[at] = TJsonMember{hash, quint32(Name.size()) | TJsonMember::NameUtf16Bit,
                               pin->Text.utf16(), Value};
    ++FSize;
}

void TJsonValue::PutO(const QString &Name, const TJsonValuePtr &Value)
{
    if (FKind != stObject)
        return;
    Hold(Value.data());
    PutMember(Name, Value.data());
}

void TJsonValue::PutS(const QString &Name, const QString &Text)
{
    if (FKind == stObject)
        PutMember(Name, MakeString(Text));
}

void TJsonValue::PutI(const QString &Name, qint64 Number)
{
    if (FKind != stObject)
        return;
    TJsonValue *v = Make(FArena, stInt);
    v->FInt = Number;
    PutMember(Name, v);
}

TJsonValuePtr TJsonValue::GetO(QStringView Name) const
{
    const TJsonMember *m = FindMember(Name);
    return m ? Handle(m->Value) : TJsonValuePtr();
}

TJsonValuePtr TJsonValue::GetA(QStringView Name) const
{
    const TJsonMember *m = FindMember(Name);
    return m && m->Value && m->Value->IsArray() ? Handle(m->Value) : TJsonValuePtr();
}

QString TJsonValue::GetS(QStringView Name) const
{
    const TJsonMember *m = FindMember(Name);
    return m && m->Value ? m->Value->AsString() : QString();
}

TJsonValuePtr TJsonValue::GetN(QStringView Name) const
{
    const TJsonMember *m = FindMember(Name);
    return m ? Handle(m->Value) : NewNull();
}

void TJsonValue::PutElement(qsizetype Index, TJsonValue *Value)
{
    if (Index >= FSize) {
        if (size_t(Index) >= FCapacity) {
            // Room for 32 at first, then twice the room, or just enough when doubling is not.
            const size_t room = std::max({size_t(32), size_t(FCapacity) * 2, size_t(Index) + 1});
            if (room > 0xFFFFFFFFu)
                throw std::length_error("array too long");
            auto *elements =
                static_cast<TJsonValue **>(FArena->Allocate(room * sizeof(TJsonValue *)));
            if (FSize)
                std::memcpy(elements, FElements, size_t(FSize) * sizeof(TJsonValue *));
            FElements = elements;
            FCapacity = quint32(room);
        }
        std::fill(FElements + FSize, FElements + Index, nullptr);
        FSize = Index + 1;
    }
    FElements[Index] = Value;
}

void TJsonValue::PutO(qsizetype Index, const TJsonValuePtr &Value)
{
    if (FKind != stArray || Index < 0)
        return;
    Hold(Value.data());
    PutElement(Index, Value.data());
}

TJsonValuePtr TJsonValue::GetO(qsizetype Index) const
{
    if (FKind != stArray || Index < 0 || Index >= FSize)
        return TJsonValuePtr();
    return Handle(FElements[Index]);
}

bool TJsonValue::TEnumerator::MoveNext()
{
    const qsizetype count =
        FValue->FKind == stArray || FValue->FKind == stObject ? FValue->FSize : 0;
    if (FIndex < count)
        ++FIndex;
    return FIndex < count;
}

TJsonValuePtr TJsonValue::TEnumerator::Current() const
{
    if (FValue->FKind == stArray)
        return Handle(FValue->FElements[FIndex]);
    return Handle(FValue->FMembers[FIndex].Value);
}

bool TJsonValue::TMemberEnumerator::MoveNext()
{
    const qsizetype count = FValue->MemberCount();
    if (FIndex < count)
        ++FIndex;
    return FIndex < count;
}

QString TJsonValue::TMemberEnumerator::Name() const
{
    const TJsonMember &member = FValue->FMembers[FIndex];
    const TJsonTextRef name = nameOf(member);
    if (name.Utf8 && name.Size <= 16)
        return FValue->FArena->SharedShortText(static_cast<const char *>(name.Data), name.Size);
    return name.ToString();
}

TJsonValuePtr TJsonValue::TMemberEnumerator::Value() const
{
    return Handle(FValue->FMembers[FIndex].Value);
}
