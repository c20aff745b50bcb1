#pragma once

#include "model/JsonValue.h"

#include <QString>

/// Writes a value tree as JSON text, appending to one string. Text goes straight into the
/// string's buffer, which grows by doubling: a document of many megabytes is written without
/// a call per character.
class TJsonWriter
{
public:
    TJsonWriter(QString &Out, bool Indent, bool Escape)
        : FOut(Out), FIndent(Indent), FEscape(Escape)
    {
    }

    /// Appends the text of Value (no value is written "null").
    void Write(const TJsonValue *Value);

private:
    void WriteValue(const TJsonValue *Value);
    void NewLine();
    void WriteString(const QString &Text);
    void WriteInt(qint64 Value);
    void WriteText(QStringView Text);
    void WriteChar(char16_t C)
    {
        if (FPos == FLimit)
            Grow(1);
        *FPos++ = C;
    }
    void Reserve(qsizetype Count)
    {
        if (FLimit - FPos < Count)
            Grow(Count);
    }
    void Grow(qsizetype Count);

    QString &FOut;
    bool FIndent;
    bool FEscape;
    int FLevel = 0;
    char16_t *FPos = nullptr;   // next character to write, inside FOut's buffer
    char16_t *FLimit = nullptr; // end of FOut's buffer
};
