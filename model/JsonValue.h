#pragma once

#include "model/JsonArena.h"

#include <QByteArray>
#include <QString>
#include <QStringView>

#include <cstdint>
#include <functional>
#include <utility>

/// The kinds of a JSON value, numbered as the document facility counts them.
enum TJsonKind : std::uint8_t {
    stNull,
    stBoolean,
    stDouble,
    stCurrency,
    stInt,
    stObject,
    stArray,
    stString
};

class TJsonValue;

/// A handle on a value: values put into containers are the very values passed in, not copies,
/// and changes through one handle are seen through every other. A null handle is "no value",
/// distinct from a value of kind stNull. A handle keeps the value's document, and so the value,
/// alive.
class TJsonValuePtr
{
public:
    TJsonValuePtr() = default;
    TJsonValuePtr(const TJsonValuePtr &Other);
    TJsonValuePtr(TJsonValuePtr &&Other) noexcept : FValue(Other.FValue) { Other.FValue = nullptr; }
    TJsonValuePtr &operator=(const TJsonValuePtr &Other);
    TJsonValuePtr &operator=(TJsonValuePtr &&Other) noexcept;
    ~TJsonValuePtr();

    TJsonValue *data() const { return FValue; }
    TJsonValue *operator->() const { return FValue; }
    TJsonValue &operator*() const { return *FValue; }
    explicit operator bool() const { return FValue != nullptr; }
    bool operator!() const { return FValue == nullptr; }

private:
    friend class TJsonValue;
    /// A handle on Value (or no value), counted on Value's arena.
    explicit TJsonValuePtr(TJsonValue *Value);

    TJsonValue *FValue = nullptr;
};

/// One member of an object: its name (UTF-8 bytes of the parsed text, or UTF-16 code units kept
/// by the arena) and its value. Members are kept in member order (see MemberLess).
struct TJsonMember {
    quint32 Hash;
    quint32 NameSize; // code units (UTF-16) or bytes (UTF-8), with NameUtf16Bit set for UTF-16
    const void *Name;
    TJsonValue *Value; // null for no value

    static constexpr quint32 NameUtf16Bit = 0x80000000u;
};

/// The hash that decides where a member stands in its object.
quint32 JsonMemberHash(QStringView Name);

/// Member order: larger hash first, equal hashes by code units with the smaller name first.
bool MemberLess(quint32 HashA, QStringView NameA, quint32 HashB, QStringView NameB);

/// A JSON value: null, boolean, double, currency, integer, object, array or string. Values live in
/// the arena of the document they belong to and are reached through TJsonValuePtr handles.
class TJsonValue
{
public:
    static TJsonValuePtr NewNull();
    static TJsonValuePtr NewInt(qint64 Value);
    static TJsonValuePtr NewString(const QString &Text);
    /// A new empty object; Capacity is room for members to come, to save regrowing.
    static TJsonValuePtr NewObject(qsizetype Capacity = 0);
    static TJsonValuePtr NewArray();

    TJsonValue(const TJsonValue &) = delete;
    TJsonValue &operator=(const TJsonValue &) = delete;

    TJsonKind Kind() const { return FKind; }
    bool IsObject() const { return FKind == stObject; }
    bool IsArray() const { return FKind == stArray; }

    /// The integer of an stInt value, 0 for any other kind.
    qint64 AsInteger() const { return FKind == stInt ? FInt : 0; }
    // A value's texts are made by the JSON writer, which knows every kind's form.
    /// The empty text for stNull, the text of a string, the compact JSON text of anything else.
    QString AsString() const;
    /// The JSON text; Indent gives the document layout, Escape writes control characters and
    /// non-ASCII characters as escapes.
    QString AsJSon(bool Indent, bool Escape) const;

    // Objects. On other kinds the getters give no value (GetS: the empty text) and the putters
    // do nothing.
    void PutO(const QString &Name, const TJsonValuePtr &Value);
    void PutS(const QString &Name, const QString &Text);
    void PutI(const QString &Name, qint64 Number);
    TJsonValuePtr GetO(QStringView Name) const;
    /// The member's value when it is an array, otherwise no value.
    TJsonValuePtr GetA(QStringView Name) const;
    QString GetS(QStringView Name) const;
    /// The member's value, or a new stNull value when there is no such member.
    TJsonValuePtr GetN(QStringView Name) const;
    /// The number of members; 0 for every kind but an object.
    qsizetype MemberCount() const { return FKind == stObject ? FSize : 0; }

    // Arrays. Putting at or beyond the length makes the length Index + 1; the gap holds no
    // values.
    void PutO(qsizetype Index, const TJsonValuePtr &Value);
    /// The element at Index, or no value beyond the end.
    TJsonValuePtr GetO(qsizetype Index) const;
    qsizetype Length() const { return FKind == stArray ? FSize : 0; }

    /// Visits an array's elements in index order or an object's member values in member
    /// order; other kinds yield nothing. Elements may be no value (gaps of an array).
    class TEnumerator
    {
    public:
        bool MoveNext();
        TJsonValuePtr Current() const;

    private:
        friend class TJsonValue;
        explicit TEnumerator(const TJsonValue *Value) : FValue(Value) {}
        const TJsonValue *FValue;
        qsizetype FIndex = -1;
    };
    TEnumerator GetEnumerator() const { return TEnumerator(this); }

    /// Visits an object's members in member order, with name and value; other kinds have none.
    class TMemberEnumerator
    {
    public:
        bool MoveNext();
        QString Name() const;
        TJsonValuePtr Value() const;

    private:
        friend class TJsonValue;
        explicit TMemberEnumerator(const TJsonValue *Value) : FValue(Value) {}
        const TJsonValue *FValue;
        qsizetype FIndex = -1;
    };
    TMemberEnumerator GetMembers() const { return TMemberEnumerator(this); }

private:
    friend class TJsonValuePtr;
    template <typename> friend class TJsonParser;
    template <typename, typename> friend class TJsonWriter;

    // How a string holds its text.
    enum TForm : quint8 { fUtf8, fUtf16, fPinned };

    TJsonValue(TJsonArena *Arena, TJsonKind Kind) : FArena(Arena), FKind(Kind), FInt(0) {}
    static TJsonValuePtr Handle(TJsonValue *Value) { return TJsonValuePtr(Value); }
    static TJsonValue *Make(TJsonArena *Arena, TJsonKind Kind);
    static TJsonValuePtr MakeAlone(TJsonKind Kind);
    TJsonValue *MakeString(const QString &Text) const;
    const TJsonMember *FindMember(QStringView Name) const;
    void PutMember(const QString &Name, TJsonValue *Value);
    void PutElement(qsizetype Index, TJsonValue *Value);
    /// Keeps Value's arena alive while this value's arena holds it.
    void Hold(const TJsonValue *Value) const;
    const char16_t *StringUtf16() const
    {
        return FForm == fPinned ? reinterpret_cast<const char16_t *>(FPin->Text.utf16()) : FUtf16;
    }

    TJsonArena *FArena;
    TJsonKind FKind;
    TForm FForm = fUtf8;   // strings
    quint32 FCapacity = 0; // objects and arrays: room in FMembers or FElements
    qsizetype FSize = 0;   // strings: code units or bytes; objects and arrays: count
    union {
        bool FBool;
        double FDouble;
        qint64 FInt; // stInt, and the ten-thousandths of stCurrency
        const char *FUtf8;
        const char16_t *FUtf16;
        TJsonPin *FPin;
        TJsonMember *FMembers;
        TJsonValue **FElements;
    };
};

/// Where and why a parse stopped. Line and Column count from 1; Column in UTF-16 code units.
struct TJsonParseError {
    qsizetype Offset = -1; // in units of the parsed text (code units, or bytes for UTF-8)
    int Line = 0;
    int Column = 0;
    QString Message;
};

/// Parses the first complete value of Text in the lenient mode (comments, single quotes,
/// unquoted names and texts, trailing commas, at most 32 levels). Gives no value when the text
/// does not parse, and then fills Error when one is given.
TJsonValuePtr ParseString(QStringView Text, TJsonParseError *Error = nullptr);

/// ParseString of UTF-8 text, which must be valid UTF-8. Strings stay views of Text (shared, not
/// copied) until they are asked for.
TJsonValuePtr ParseUtf8(const QByteArray &Text, TJsonParseError *Error = nullptr);

/// How ParseUtf8Elements went.
enum class TJsonElementsResult {
    Handed,     // the text parses, and its one array member Name was handed over element by element
    OtherShape, // the text is no object, or has no such member, or not once, or not an array
    Failed      // the text does not parse
};

/// For a document too large to hold as one tree: reads Text as ParseUtf8 does, and when it is an
/// object hands each element of its array member Name to Element as soon as the element is read,
/// each in a tree that lives only through the call. Everything else of the text is parsed and
/// dropped. Elements may have been handed before a failure, or before the text shows that it
/// has another shape (Name twice); the caller then starts again from a whole ParseUtf8.
TJsonElementsResult ParseUtf8Elements(const QByteArray &Text, QStringView Name,
                                      const std::function<void(const TJsonValuePtr &)> &Element);

inline TJsonValuePtr::TJsonValuePtr(TJsonValue *Value) : FValue(Value)
{
    if (FValue)
        FValue->FArena->Ref();
}

inline TJsonValuePtr::TJsonValuePtr(const TJsonValuePtr &Other) : TJsonValuePtr(Other.FValue) {}

inline TJsonValuePtr::~TJsonValuePtr()
{
    if (FValue)
        FValue->FArena->Unref();
}

inline TJsonValuePtr &TJsonValuePtr::operator=(const TJsonValuePtr &Other)
{
    TJsonValuePtr copy(Other);
    std::swap(FValue, copy.FValue);
    return *this;
}

inline TJsonValuePtr &TJsonValuePtr::operator=(TJsonValuePtr &&Other) noexcept
{
    std::swap(FValue, Other.FValue);
    return *this;
}
