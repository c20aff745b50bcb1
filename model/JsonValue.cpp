#include "model/JsonValue.h"

#include "model/JsonWriter.h"

#include <algorithm>
#include <new>

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
    // Code units as unsigned 16-bit numbers, a proper prefix first.
    return std::lexicographical_compare(NameA.utf16(), NameA.utf16() + NameA.size(), NameB.utf16(),
                                        NameB.utf16() + NameB.size());
}

TJsonValue::TJsonValue(TJsonKind Kind) : FKind(Kind)
{
    switch (Kind) {
    case stString:
        new (&FString) QString();
        break;
    case stObject:
        new (&FMembers) std::vector<TJsonMember>();
        break;
    case stArray:
        new (&FElements) std::vector<TJsonValuePtr>();
        break;
    default:
        FInt = 0;
        break;
    }
}

TJsonValue::~TJsonValue()
{
    switch (FKind) {
    case stString:
        FString.~QString();
        break;
    case stObject:
        FMembers.~vector();
        break;
    case stArray:
        FElements.~vector();
        break;
    default:
        break;
    }
}

TJsonValuePtr TJsonValue::NewNull()
{
    return TJsonValuePtr(new TJsonValue(stNull));
}

TJsonValuePtr TJsonValue::NewBoolean(bool Value)
{
    TJsonValuePtr v(new TJsonValue(stBoolean));
    v->FBool = Value;
    return v;
}

TJsonValuePtr TJsonValue::NewInt(qint64 Value)
{
    TJsonValuePtr v(new TJsonValue(stInt));
    v->FInt = Value;
    return v;
}

TJsonValuePtr TJsonValue::NewDouble(double Value)
{
    TJsonValuePtr v(new TJsonValue(stDouble));
    v->FDouble = Value;
    return v;
}

TJsonValuePtr TJsonValue::NewCurrency(qint64 TenThousandths)
{
    TJsonValuePtr v(new TJsonValue(stCurrency));
    v->FInt = TenThousandths;
    return v;
}

TJsonValuePtr TJsonValue::NewString(const QString &Text)
{
    TJsonValuePtr v(new TJsonValue(stString));
    v->FString = Text;
    return v;
}

TJsonValuePtr TJsonValue::NewObject(qsizetype Capacity)
{
    TJsonValuePtr v(new TJsonValue(stObject));
    v->FMembers.reserve(size_t(Capacity));
    return v;
}

TJsonValuePtr TJsonValue::NewArray()
{
    return TJsonValuePtr(new TJsonValue(stArray));
}

double TJsonValue::AsDouble() const
{
    switch (FKind) {
    case stDouble:
        return FDouble;
    case stCurrency:
        return double(FInt) / 10000.0;
    case stInt:
        return double(FInt);
    default:
        return 0.0;
    }
}

QString TJsonValue::AsString() const
{
    if (FKind == stNull)
        return QString();
    if (FKind == stString)
        return FString;
    return AsJSon(false, false);
}

QString TJsonValue::AsJSon(bool Indent, bool Escape) const
{
    QString out;
    TJsonWriter(out, Indent, Escape).Write(this);
    return out;
}

const TJsonMember *TJsonValue::FindMember(QStringView Name) const
{
    if (FKind != stObject)
        return nullptr;
    const quint32 hash = JsonMemberHash(Name);
    const auto it = std::lower_bound(FMembers.begin(), FMembers.end(), Name,
                                     [hash](const TJsonMember &m, QStringView name) {
                                         return MemberLess(m.Hash, m.Name, hash, name);
                                     });
    if (it != FMembers.end() && it->Hash == hash && QStringView(it->Name) == Name)
        return &*it;
    return nullptr;
}

// The member table is a flat array kept in member order: lookups are binary searches, and the
// small objects of a document fit in one allocation each.
void TJsonValue::PutO(const QString &Name, const TJsonValuePtr &Value)
{
    if (FKind != stObject)
        return;
    const quint32 hash = JsonMemberHash(Name);
    const auto it = std::lower_bound(FMembers.begin(), FMembers.end(), QStringView(Name),
                                     [hash](const TJsonMember &m, QStringView name) {
                                         return MemberLess(m.Hash, m.Name, hash, name);
                                     });
    if (it != FMembers.end() && it->Hash == hash && it->Name == Name)
        it->Value = Value;
    else
        FMembers.insert(it, TJsonMember{hash, Name, Value});
}

void TJsonValue::PutS(const QString &Name, const QString &Text)
{
    PutO(Name, NewString(Text));
}

void TJsonValue::PutI(const QString &Name, qint64 Number)
{
    PutO(Name, NewInt(Number));
}

TJsonValuePtr TJsonValue::GetO(QStringView Name) const
{
    const TJsonMember *m = FindMember(Name);
    return m ? m->Value : TJsonValuePtr();
}

TJsonValuePtr TJsonValue::GetA(QStringView Name) const
{
    const TJsonMember *m = FindMember(Name);
    return m && m->Value && m->Value->IsArray() ? m->Value : TJsonValuePtr();
}

QString TJsonValue::GetS(QStringView Name) const
{
    const TJsonMember *m = FindMember(Name);
    return m && m->Value ? m->Value->AsString() : QString();
}

TJsonValuePtr TJsonValue::GetN(QStringView Name) const
{
    const TJsonMember *m = FindMember(Name);
    return m ? m->Value : NewNull();
}

const std::vector<TJsonMember> &TJsonValue::Members() const
{
    static const std::vector<TJsonMember> none;
    return FKind == stObject ? FMembers : none;
}

void TJsonValue::PutO(qsizetype Index, const TJsonValuePtr &Value)
{
    if (FKind != stArray || Index < 0)
        return;
    const size_t index = size_t(Index);
    if (index >= FElements.size()) {
        // Room for 32 at first, then twice the room, or just enough when doubling is not.
        if (index >= FElements.capacity())
            FElements.reserve(std::max({size_t(32), FElements.capacity() * 2, index + 1}));
        FElements.resize(index + 1);
    }
    FElements[index] = Value;
}

TJsonValuePtr TJsonValue::GetO(qsizetype Index) const
{
    if (FKind != stArray || Index < 0 || size_t(Index) >= FElements.size())
        return TJsonValuePtr();
    return FElements[size_t(Index)];
}

qsizetype TJsonValue::Length() const
{
    return FKind == stArray ? qsizetype(FElements.size()) : 0;
}

bool TJsonValue::TEnumerator::MoveNext()
{
    const qsizetype count = FValue->FKind == stArray    ? qsizetype(FValue->FElements.size())
                            : FValue->FKind == stObject ? qsizetype(FValue->FMembers.size())
                                                        : 0;
    if (FIndex < count)
        ++FIndex;
    return FIndex < count;
}

const TJsonValuePtr &TJsonValue::TEnumerator::Current() const
{
    if (FValue->FKind == stArray)
        return FValue->FElements[size_t(FIndex)];
    return FValue->FMembers[size_t(FIndex)].Value;
}
