#pragma once

#include <QExplicitlySharedDataPointer>
#include <QSharedData>
#include <QString>
#include <QStringView>

#include <cstdint>
#include <vector>

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

/// A shared handle: values put into containers are the very values passed in, not copies. A null
/// handle is "no value", distinct from a value of kind stNull.
using TJsonValuePtr = QExplicitlySharedDataPointer<TJsonValue>;

/// One member of an object. Members are kept in member order (see MemberLess).
struct TJsonMember {
    quint32 Hash = 0;
    QString Name;
    TJsonValuePtr Value;
};

/// The hash that decides where a member stands in its object.
quint32 JsonMemberHash(QStringView Name);

/// Member order: larger hash first, equal hashes by code units with the smaller name first.
bool MemberLess(quint32 HashA, QStringView NameA, quint32 HashB, QStringView NameB);

/// A JSON value: null, boolean, double, currency, integer, object, array or string.
class TJsonValue : public QSharedData
{
public:
    static TJsonValuePtr NewNull();
    static TJsonValuePtr NewBoolean(bool Value);
    static TJsonValuePtr NewInt(qint64 Value);
    static TJsonValuePtr NewDouble(double Value);
    /// A fixed-point number given as a count of ten-thousandths.
    static TJsonValuePtr NewCurrency(qint64 TenThousandths);
    static TJsonValuePtr NewString(const QString &Text);
    /// A new empty object; Capacity is room for members to come, to save regrowing.
    static TJsonValuePtr NewObject(qsizetype Capacity = 0);
    static TJsonValuePtr NewArray();

    TJsonValue(const TJsonValue &) = delete;
    TJsonValue &operator=(const TJsonValue &) = delete;
    ~TJsonValue();

    TJsonKind Kind() const { return FKind; }
    bool IsObject() const { return FKind == stObject; }
    bool IsArray() const { return FKind == stArray; }

    bool AsBoolean() const { return FKind == stBoolean && FBool; }
    /// The integer of an stInt value, 0 for any other kind.
    qint64 AsInteger() const { return FKind == stInt ? FInt : 0; }
    /// The number of an stDouble, stCurrency or stInt value, 0 for any other kind.
    double AsDouble() const;
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
    /// The members in member order; empty for every kind but an object.
    const std::vector<TJsonMember> &Members() const;

    // Arrays. Putting at or beyond the length makes the length Index + 1; the gap holds no
    // values.
    void PutO(qsizetype Index, const TJsonValuePtr &Value);
    /// The element at Index, or no value beyond the end.
    TJsonValuePtr GetO(qsizetype Index) const;
    qsizetype Length() const;

    /// Visits an array's elements in index order or an object's member values in member
    /// order; other kinds yield nothing. Elements may be no value (gaps of an array).
    class TEnumerator
    {
    public:
        bool MoveNext();
        const TJsonValuePtr &Current() const;

    private:
        friend class TJsonValue;
        explicit TEnumerator(const TJsonValue *Value) : FValue(Value) {}
        const TJsonValue *FValue;
        qsizetype FIndex = -1;
    };
    TEnumerator GetEnumerator() const { return TEnumerator(this); }

private:
    friend class TJsonParser;
    friend class TJsonWriter;

    explicit TJsonValue(TJsonKind Kind);
    const TJsonMember *FindMember(QStringView Name) const;

    TJsonKind FKind;
    union {
        bool FBool;
        double FDouble;
        qint64 FInt; // stInt, and the ten-thousandths of stCurrency
        QString FString;
        std::vector<TJsonMember> FMembers;
        std::vector<TJsonValuePtr> FElements;
    };
};

/// Where and why a parse stopped. Line and Column count from 1; Column in UTF-16 code units.
struct TJsonParseError {
    qsizetype Offset = -1;
    int Line = 0;
    int Column = 0;
    QString Message;
};

/// Parses the first complete value of Text in the lenient mode (comments, single quotes,
/// unquoted names and texts, trailing commas, at most 32 levels). Gives no value when the text
/// does not parse, and then fills Error when one is given.
TJsonValuePtr ParseString(QStringView Text, TJsonParseError *Error = nullptr);
