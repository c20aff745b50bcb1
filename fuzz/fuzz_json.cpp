// Parse, write, parse again: whatever the parser accepts, the writer's text must parse back to a
// value that is written the same way, indented and compact.

#include "model/JsonValue.h"

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
    const QString text = QString::fromUtf8(reinterpret_cast<const char *>(Data), qsizetype(Size));
    const TJsonValuePtr value = ParseString(text);
    if (!value)
        return 0;
    checkRoundTrip(value, true);
    checkRoundTrip(value, false);
    return 0;
}
