#include "model/JsonWriter.h"

#include <QLocale>

#include <cmath>

namespace
{

const char16_t HexDigits[] = u"0123456789ABCDEF";

void appendUnicodeEscape(QString &out, char16_t c)
{
    const char16_t text[6] = {u'\\',
                              u'u',
                              HexDigits[(c >> 12) & 15],
                              HexDigits[(c >> 8) & 15],
                              HexDigits[(c >> 4) & 15],
                              HexDigits[c & 15]};
    out.append(reinterpret_cast<const QChar *>(text), 6);
}

} // namespace

void TJsonWriter::NewLine()
{
    // CR LF, then one blank per level.
    const qsizetype at = FOut.size();
    FOut.resize(at + 2 + FLevel);
    QChar *p = FOut.data() + at;
    *p++ = u'\r';
    *p++ = u'\n';
    for (int i = 0; i < FLevel; ++i)
        *p++ = u' ';
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
    FOut.append(reinterpret_cast<const QChar *>(p), end - p);
}

void TJsonWriter::WriteString(const QString &Text)
{
    FOut.append(u'"');
    const char16_t *begin = reinterpret_cast<const char16_t *>(Text.constData());
    const char16_t *end = begin + Text.size();
    const char16_t *run = begin; // start of the pending run written unchanged
    for (const char16_t *p = begin; p != end; ++p) {
        const char16_t c = *p;
        const bool plain = FEscape ? (c >= 0x20 && c < 0x7F && c != u'"' && c != u'\\')
                                   : (c != 0 && c != u'"' && c != u'\\');
        if (plain)
            continue;
        FOut.append(reinterpret_cast<const QChar *>(run), p - run);
        run = p + 1;
        switch (c) {
        case u'"':
            FOut.append(u"\\\"");
            break;
        case u'\\':
            FOut.append(u"\\\\");
            break;
        case u'\b':
            FOut.append(u"\\b");
            break;
        case u'\f':
            FOut.append(u"\\f");
            break;
        case u'\n':
            FOut.append(u"\\n");
            break;
        case u'\r':
            FOut.append(u"\\r");
            break;
        case u'\t':
            FOut.append(u"\\t");
            break;
        default:
            appendUnicodeEscape(FOut, c);
            break;
        }
    }
    FOut.append(reinterpret_cast<const QChar *>(run), end - run);
    FOut.append(u'"');
}

void TJsonWriter::Write(const TJsonValue *Value)
{
    if (!Value) {
        FOut.append(u"null");
        return;
    }
    switch (Value->FKind) {
    case stNull:
        FOut.append(u"null");
        break;
    case stBoolean:
        FOut.append(Value->FBool ? u"true" : u"false");
        break;
    case stInt:
        WriteInt(Value->FInt);
        break;
    case stCurrency: {
        // Integer part, a point and the decimals without trailing zeros (at least one).
        const qint64 count = Value->FInt;
        const quint64 magnitude = count < 0 ? 0 - quint64(count) : quint64(count);
        if (count < 0)
            FOut.append(u'-');
        WriteInt(qint64(magnitude / 10000));
        int fraction = int(magnitude % 10000);
        int places = 4;
        while (places > 1 && fraction % 10 == 0) {
            fraction /= 10;
            --places;
        }
        FOut.append(u'.');
        const QString decimals = QString::number(fraction);
        FOut.append(QString(places - decimals.size(), u'0'));
        FOut.append(decimals);
        break;
    }
    case stDouble:
        if (std::isfinite(Value->FDouble))
            FOut.append(QString::number(Value->FDouble, 'g', QLocale::FloatingPointShortest));
        else
            FOut.append(u"null");
        break;
    case stString:
        WriteString(Value->FString);
        break;
    case stObject: {
        if (Value->FMembers.empty()) {
            FOut.append(u"{}");
            break;
        }
        FOut.append(u'{');
        ++FLevel;
        bool first = true;
        for (const TJsonMember &member : Value->FMembers) {
            if (!first)
                FOut.append(u',');
            first = false;
            if (FIndent)
                NewLine();
            WriteString(member.Name);
            FOut.append(FIndent ? QStringView(u": ") : QStringView(u":"));
            Write(member.Value.data());
        }
        --FLevel;
        if (FIndent)
            NewLine();
        FOut.append(u'}');
        break;
    }
    case stArray: {
        if (Value->FElements.empty()) {
            FOut.append(u"[]");
            break;
        }
        // Elements start on the line after "[" and run on without breaks; "]" follows the last.
        FOut.append(u'[');
        ++FLevel;
        if (FIndent)
            NewLine();
        bool first = true;
        for (const TJsonValuePtr &element : Value->FElements) {
            if (!first)
                FOut.append(u',');
            first = false;
            Write(element.data());
        }
        --FLevel;
        FOut.append(u']');
        break;
    }
    }
}
