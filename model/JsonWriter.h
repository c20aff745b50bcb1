#pragma once

#include "model/JsonValue.h"

#include <QByteArray>
#include <QString>

#include <cstring>
#include <vector>

/// Writes JSON text, appending to one string: UTF-16 into a QString (Unit char16_t) or UTF-8
/// into a QByteArray (Unit char). Text goes straight into the string's buffer, which grows by
/// doubling: a document of many megabytes is written without a call per character.
///
/// A value tree is written by Write. A document can also be written as it is walked, without a
/// tree: Begin/End for containers, Name before each member's value, String and Int for values,
/// then Finish. Members must then be given in member order; the layout is the tree's.
template <typename Out, typename Unit> class TJsonWriter
{
public:
    /// CrLfBreaks writes every line break inside a string (CR LF, lone CR, lone LF) as CR LF.
    TJsonWriter(Out &Output, bool Indent, bool Escape, bool CrLfBreaks)
        : FOut(Output), FIndent(Indent), FEscape(Escape), FCrLfBreaks(CrLfBreaks)
    {
    }

    /// Appends the text of Value (no value is written "null").
    void Write(const TJsonValue *Value)
    {
        WriteValue(Value);
        Finish();
    }

    void BeginObject();
    void EndObject();
    void BeginArray();
    void EndArray();
    /// The name of the next member of the open object.
    void Name(QStringView Text) { WriteName(Text.utf16(), Text.size(), false); }
    void String(QStringView Text)
    {
        BeforeValue();
        WriteText(Text.utf16(), Text.size(), false);
    }
    void Int(qint64 Value)
    {
        BeforeValue();
        WriteInt(Value);
    }
    /// Ends the writing: the string holds exactly the text written. Writing may go on after it,
    /// appending to what the string then holds.
    void Finish();
    /// The units written into the string so far.
    qsizetype Size() const;

private:
    struct TFrame {
        bool Array;
        bool Empty;
    };

    void WriteValue(const TJsonValue *Value);
    void BeforeValue();
    void WriteName(const void *Data, qsizetype Size, bool Utf8);
    void NewLine();
    void WriteText(const void *Data, qsizetype Size, bool Utf8);
    template <typename Src> void WriteQuoted(const Src *Begin, const Src *End);
    void WriteQuotedUtf8(const char16_t *Begin, const char16_t *End);
    void AppendRun(const char *Begin, const char *End);
    void AppendRun(const char16_t *Begin, const char16_t *End);
    void WriteUnitEscape(char16_t C);
    void WriteInt(qint64 Value);
    void WriteAscii(const char *Text, qsizetype Size);
    void WriteAscii(const char *Text) { WriteAscii(Text, qsizetype(std::strlen(Text))); }
    void WriteChar(char C)
    {
        if (FPos == FLimit)
            Grow(1);
        *FPos++ = Unit(C);
    }
    void Reserve(qsizetype Count)
    {
        if (FLimit - FPos < Count)
            Grow(Count);
    }
    void Grow(qsizetype Count);

    Out &FOut;
    bool FIndent;
    bool FEscape;
    bool FCrLfBreaks;
    int FLevel = 0;
    std::vector<TFrame> FFrames; // the open containers
    Unit *FPos = nullptr;        // next unit to write, inside FOut's buffer
    Unit *FLimit = nullptr;      // end of FOut's buffer
};
