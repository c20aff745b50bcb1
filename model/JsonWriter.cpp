#include "model/JsonWriter.h"

#include <QLocale>

#include <algorithm>
#include <cmath>
#include <cstring>

namespace
{

const char16_t HexDigits[] = u"0123456789ABCDEF";

} // namespace

void TJsonWriter::Grow(qsizetype Count)
{
    // FOut holds the written text up to FPos and spare room after it until Write ends.
    const qsizetype used = FPos ? FPos - reinterpret_cast<char16_t *>(FOut.data()) : FOut.size();
    FOut.resize(std::max(used + Count, std::max<qsizetype>(2 * FOut.size(), 4096)));
    char16_t *begin = reinterpret_cast<char16_t *>(FOut.data());
    FPos = begin + used;
    FLimit = begin + FOut.size();
}

void TJsonWriter::Write(const TJsonValue *Value)
{
    WriteValue(Value);
    if (FPos)
        FOut.truncate(FPos - reinterpret_cast<const char16_t *>(FOut.constData()));
    FPos = FLimit = nullptr;
}

void TJsonWriter::WriteText(QStringView Text)
{
    Reserve(Text.size());
    std::memcpy(FPos, Text.utf16(), size_t(Text.size()) * 2);
    FPos += Text.size();
}

void TJsonWriter::NewLine()
{
    // CR LF, then one blank per level.
    Reserve(2 + FLevel);
    *FPos++ = u'\r';
    *FPos++ = u'\n';
    for (int i = 0; i < FLevel; ++i)
        *FPos++ = u' ';
}

void TJsonWriter::WriteInt(qint64 Value)
{
    char16_t digits[24];
    char16_t *end = digits + 24;
    char16_t *p = end;
    // Work on the magnitude as unsigned so the smallest 64-bit number needs no special case.
    quint64 magnitude = Value < 0 ? 0 - quint64(Value) : quint64(Value);
    do {
        *--p = char16_t(u'0' + magnitude % 10);
        magnitude /= 10;
    } while (magnitude);
    if (Value < 0)
        *--p = u'-';
    WriteText(QStringView(p, end - p));
}

void TJsonWriter::WriteString(const QString &Text)
{
    WriteChar(u'"');
    const char16_t *begin = reinterpret_cast<const char16_t *>(Text.constData());
    const char16_t *end = begin + Text.size();
    const char16_t *run = begin; // start of the pending run written unchanged
    for (const char16_t *p = begin; p != end; ++p) {
        const char16_t c = *p;
        // Most text needs no escape at all: test the cheap common case first.
        if (c > u'\\' && (!FEscape || c < 0x7F))
            continue;
        const bool plain = FEscape ? (c >= 0x20 && c < 0x7F && c != u'"' && c != u'\\')
                                   : (c != 0 && c != u'"' && c != u'\\');
        if (plain)
            continue;
        WriteText(QStringView(run, p - run));
        run = p + 1;
        switch (c) {
        case u'"':
            WriteText(u"\\\"");
            break;
        case u'\\':
            WriteText(u"\\\\");
            break;
        case u'\b':
            WriteText(u"\\b");
            break;
        case u'\f':
            WriteText(u"\\f");
            break;
        case u'\n':
            WriteText(u"\\n");
            break;
        case u'\r':
            WriteText(u"\\r");
            break;
        case u'\t':
            WriteText(u"\\t");
            break;
        default: {
            const char16_t text[6] = {u'\\',
                                      u'u',
                                      HexDigits[(c >> 12) & 15],
                                      HexDigits[(c >> 8) & 15],
                                      HexDigits[(c >> 4) & 15],
                                      HexDigits[c & 15]};
            WriteText(QStringView(text, 6));
            break;
        }
        }
    }
    WriteText(QStringView(run, end - run));
    WriteChar(u'"');
}

void TJsonWriter::WriteValue(const TJsonValue *Value)
{
    if (!Value) {
        WriteText(u"null");
        return;
    }
    switch (Value->FKind) {
    case stNull:
        WriteText(u"null");
        break;
    case stBoolean:
        WriteText(Value->FBool ? u"true" : u"false");
        break;
    case stInt:
        WriteInt(Value->FInt);
        break;
    case stCurrency: {
        // Integer part, a point and the decimals without trailing zeros (at least one).
        const qint64 count = Value->FInt;
        const quint64 magnitude = count < 0 ? 0 - quint64(count) : quint64(count);
        if (count < 0)
            WriteChar(u'-');
        WriteInt(qint64(magnitude / 10000));
        int fraction = int(magnitude % 10000);
        int places = 4;
        while (places > 1 && fraction % 10 == 0) {
            fraction /= 10;
            --places;
        }
        WriteChar(u'.');
        const QString decimals = QString::number(fraction);
        WriteText(QString(places - decimals.size(), u'0'));
        WriteText(decimals);
        break;
    }
    case stDouble:
        if (std::isfinite(Value->FDouble))
            WriteText(QString::number(Value->FDouble, 'g', QLocale::FloatingPointShortest));
        else
            WriteText(u"null");
        break;
    case stString:
        WriteString(Value->FString);
        break;
    case stObject: {
        if (Value->FMembers.empty()) {
            WriteText(u"{}");
            break;
        }
        WriteChar(u'{');
        ++FLevel;
        bool first = true;
        for (const TJsonMember &member : Value->FMembers) {
            if (!first)
                WriteChar(u',');
            first = false;
            if (FIndent)
                NewLine();
            WriteString(member.Name);
            WriteText(FIndent ? QStringView(u": ") : QStringView(u":"));
            WriteValue(member.Value.data());
        }
        --FLevel;
        if (FIndent)
            NewLine();
        WriteChar(u'}');
        break;
    }
    case stArray: {
        if (Value->FElements.empty()) {
            WriteText(u"[]");
            break;
        }
        // Elements start on the line after "[" and run on without breaks; "]" follows the last.
        WriteChar(u'[');
        ++FLevel;
        if (FIndent)
            NewLine();
        bool first = true;
        for (const TJsonValuePtr &element : Value->FElements) {
            if (!first)
                WriteChar(u',');
            first = false;
            WriteValue(element.data());
        }
        --FLevel;
        WriteChar(u']');
        break;
    }
    }
}
