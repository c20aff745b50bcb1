// A library document from arbitrary bytes: loading either succeeds or raises the system's error,
// and a loaded library saves to a document that loads and saves to the same bytes again.

#include "model/GlyphbookError.h"
#include "model/ViraSymbol.h"

#include <QByteArray>
#include <QString>

#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *Data, size_t Size)
{
    const QString source = QStringLiteral("fuzz.js");
    TViraGlyphbook book;
    try {
        book.LoadFromBytes(QByteArray(reinterpret_cast<const char *>(Data), qsizetype(Size)),
                           source);
    } catch (const EGlyphbookError &) {
        return 0;
    }
    const QByteArray saved = book.SaveToBytes();
    TViraGlyphbook reloaded;
    try {
        reloaded.LoadFromBytes(saved, source);
    } catch (const EGlyphbookError &e) {
        std::fprintf(stderr, "a saved document does not load: %s\n%s\n", e.what(),
                     saved.constData());
        std::abort();
    }
    if (reloaded.Symbols.size() != book.Symbols.size() || reloaded.SaveToBytes() != saved) {
        std::fprintf(stderr, "a saved document saves differently after loading:\n%s\n",
                     saved.constData());
        std::abort();
    }
    return 0;
}
