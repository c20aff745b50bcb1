#pragma once

#include "model/JsonValue.h"

#include <QString>

/// Writes a value tree as JSON text into one string, appending as it goes.
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
    void NewLine();
    void WriteString(const QString &Text);
    void WriteInt(qint64 Value);

    QString &FOut;
    bool FIndent;
    bool FEscape;
    int FLevel = 0;
};
