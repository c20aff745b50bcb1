// Extraction of arbitrary bytes. The first byte chooses the form: even, the rest is the archive
// file as it stands (the gzip reader sees the bytes); odd, the rest is a tar archive that the
// harness compresses first (the extraction sees the entries). Extraction either succeeds or
// raises the system's error; it never changes anything outside the archive's folder (WriteGuard),
// leaves no temporary files, creates no links and no file with execute or set-id bits.

#include "fuzz/WriteGuard.h"
#include "model/GlyphbookError.h"
#include "model/ViraSymbol.h"
#include "packing/GlyphbookExtract.h"
#include "packing/GzipStream.h"

#include <QBuffer>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>

#include <climits>
#include <cstdio>
#include <cstdlib>
#include <sys/stat.h>

namespace
{

QString gRoot; // the sandbox: "work" holds the archive and what extraction writes, "tmp" is TMPDIR

[[noreturn]] void fail(const QString &message)
{
    std::fprintf(stderr, "%s\n", qPrintable(message));
    std::abort();
}

QByteArray gzipped(const QByteArray &tar)
{
    QByteArray out;
    QBuffer buffer(&out);
    buffer.open(QIODevice::WriteOnly);
    TGzipWriter gzip(&buffer);
    gzip.write(tar);
    gzip.Finish();
    return out;
}

void checkResults(const QString &work)
{
    const QStringList tops = QDir(gRoot).entryList(QDir::AllEntries | QDir::NoDotAndDotDot |
                                                   QDir::Hidden | QDir::System);
    if (tops != QStringList{QStringLiteral("tmp"), QStringLiteral("work")})
        fail(QStringLiteral("unexpected entries in the sandbox: ") + tops.join(u' '));
    if (!QDir(gRoot + QStringLiteral("/tmp"))
             .isEmpty(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System))
        fail(QStringLiteral("temporary files were left behind"));
    const QStringList expected{QStringLiteral("lib"), QStringLiteral("lib.js"),
                               QStringLiteral("lib.tar.gz")};
    for (const QString &name : QDir(work).entryList(QDir::AllEntries | QDir::NoDotAndDotDot |
                                                    QDir::Hidden | QDir::System))
        if (!expected.contains(name))
            fail(QStringLiteral("unexpected entry beside the archive: ") + name);
    QDirIterator it(work + QStringLiteral("/lib"),
                    QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QFileInfo info(it.next());
        if (info.isSymLink() || (!info.isFile() && !info.isDir()))
            fail(QStringLiteral("not a plain file or folder: ") + info.filePath());
        const QFile::Permissions execute =
            QFile::ExeOwner | QFile::ExeUser | QFile::ExeGroup | QFile::ExeOther;
        if (info.isFile() && (info.permissions() & execute))
            fail(QStringLiteral("an extracted file is executable: ") + info.filePath());
        const QByteArray path = QFile::encodeName(info.filePath());
        struct stat st;
        if (::lstat(path.constData(), &st) == 0 && (st.st_mode & (S_ISUID | S_ISGID)))
            fail(QStringLiteral("an extracted entry has a set-id bit: ") + info.filePath());
    }
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    char pattern[] = "/tmp/glyphbook-fuzz-extract-XXXXXX";
    if (!mkdtemp(pattern))
        fail(QStringLiteral("cannot create the sandbox"));
    char resolved[PATH_MAX];
    gRoot = QFile::decodeName(realpath(pattern, resolved));
    QDir().mkdir(gRoot + QStringLiteral("/tmp"));
    qputenv("TMPDIR", QFile::encodeName(gRoot + QStringLiteral("/tmp")));
    std::atexit([] { QDir(gRoot).removeRecursively(); });
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *Data, size_t Size)
{
    if (Size == 0)
        return 0;
    const QByteArray rest(reinterpret_cast<const char *>(Data) + 1, qsizetype(Size - 1));
    const QString work = gRoot + QStringLiteral("/work");
    QDir(work).removeRecursively();
    QDir().mkdir(work);
    const QString archive = work + QStringLiteral("/lib.tar.gz");
    {
        QFile file(archive);
        if (!file.open(QIODevice::WriteOnly) || file.write(Data[0] % 2 ? gzipped(rest) : rest) < 0)
            fail(QStringLiteral("cannot write the archive"));
    }

    TViraGlyphbook book;
    auto symbol = std::make_shared<TViraSymbol>();
    symbol->Identifier = QStringLiteral("kept");
    book.Symbols = {symbol};
    TPackCallbacks callbacks;
    callbacks.Confirm = [](const QString &) { return true; };

    WriteGuard::Arm(QFile::encodeName(gRoot).toStdString());
    try {
        ExtractLibrary(book, archive, callbacks);
    } catch (const EGlyphbookError &) {
    }
    WriteGuard::Disarm();

    if (book.Symbols.size() != 1 || book.Symbols[0]->Identifier != u"kept")
        fail(QStringLiteral("the library being edited was not restored"));
    checkResults(work);
    return 0;
}
