// Parse, write, parse again: whatever the parser accepts, the writer's text must parse back to a
// value that is written the same way, indented and compact; and UTF-8 text parses as its UTF-16
// form does.

#include "model/JsonValue.h"

#include <QByteArray>
#include <QString>

#include <cstdio>
#include <cstdlib>

namespace
{

void checkRoundTrip(const TJsonValuePtr &value, bool indent)
{
    const QString first = value->AsJSon(indent, false);
    TJsonParseError error;
    const TJsonValuePtr again = ParseString(first, &error);
    if (!again) {
        std::fprintf(stderr, "written text does not parse (%s at %d:%d):\n%s\n",
                     qPrintable(error.Message), error.Line, error.Column, qPrintable(first));
        std::abort();
    }
    const QString second = again->AsJSon(indent, false);
    if (second != first) {
        std::fprintf(stderr, "second write differs:\n%s\n---\n%s\n", qPrintable(first),
                     qPrintable(second));
        std::abort();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *Data, size_t Size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(Data), qsizetype(Size));
    const QString text = QString::fromUtf8(bytes);
    TJsonParseError error16;
    const TJsonValuePtr value = ParseString(text, &error16);
    // The same text as UTF-8 parses to the same value, or fails at the same place. (fromUtf8
    // drops a leading byte-order mark, which the UTF-8 parse would read as text.)
    if (QByteArrayView(bytes).isValidUtf8() && !bytes.startsWith("\xEF\xBB\xBF")) {
        TJsonParseError error8;
        const TJsonValuePtr value8 = ParseUtf8(bytes, &error8);
        const QString a = value ? value->AsJSon(false, false) : error16.Message;
        const QString b = value8 ? value8->AsJSon(false, false) : error8.Message;
        if (a != b || error16.Line != error8.Line || error16.Column != error8.Column) {
            std::fprintf(stderr, "UTF-8 and UTF-16 parses differ:\n%s\n---\n%s\n", qPrintable(a),
                         qPrintable(b));
            std::abort();
        }
    }
    if (!value)
        return 0;
    checkRoundTrip(value, true);
    checkRoundTrip(value, false);
    return 0;
}
