#include "app/GitDriverCommands.h"

#include "app/CliSupport.h"
#include "compare/LibraryInput.h"
#include "compare/LibraryMerge.h"

#include <QDir>
#include <QFileInfo>

namespace
{

/// Loads a project document for the merge, which has no use for packed libraries.
void loadForMerge(TViraGlyphbook &book, const QString &path)
{
    if (QFileInfo(path).isFile() && TLibraryInput::LooksPacked(path))
        throw EDocumentError(QStringLiteral("The file \"%1\" is a packed library; merge takes "
                                            "project documents.")
                                 .arg(QDir::toNativeSeparators(path)));
    loadDocument(book, path);
}

} // namespace

int runShow(const QStringList &arguments)
{
    QCommandLineParser parser;
    setUpCommandParser(
        parser, QStringLiteral("show"),
        QStringLiteral(
            "Prints one line per symbol with every field in a fixed order: the identifier, "
            "symbol, picture, anchor, text-point and alignment, the names by language, the "
            "state pictures. Texts that are no plain word stand in double quotes with "
            "backslash escapes. Made for 'git diff' as a text conversion "
            "(diff.glyphbook.textconv)."),
        {{QStringLiteral("LIBRARY"), QStringLiteral("A project document or a packed library.")}});
    processArguments(parser, arguments);
    const std::optional<QStringList> files =
        expectFiles(parser, QStringLiteral("show"), QStringLiteral("LIBRARY"), 1);
    if (!files)
        return ExitUsage;
    const TLibraryInput input((*files)[0]);
    for (const TViraSymbolPtr &symbol : input.Library().Symbols)
        printLine(SymbolLine(*symbol));
    return 0;
}

int runMerge(const QStringList &arguments)
{
    QCommandLineParser parser;
    setUpCommandParser(
        parser, QStringLiteral("merge"),
        QStringLiteral(
            "Merges the changes from BASE to OURS and from BASE to THEIRS, symbol by symbol and "
            "field by field, with the matching of 'glyphbook diff'; picture paths merge as "
            "texts. A change on one side is taken, the same change on both sides once. A field "
            "changed two ways, a symbol removed on one side and changed on the other, and "
            "symbols of one identifier added unlike on both sides are conflicts: each is "
            "printed on stderr as one line, and OURS's value (or the changed symbol, or both "
            "added ones) is kept. Symbols added on both sides are all kept, ours before theirs. "
            "An empty BASE (git's, when both sides added the document) is an empty library. "
            "OUT is written atomically in the normal form and may be OURS. Exit status 0 when "
            "clean, 1 with conflicts (OUT written all the same), 2 for trouble (OUT untouched). "
            "As a git merge driver: glyphbook merge %O %A %B -o %A"),
        {{QStringLiteral("BASE"), QStringLiteral("The common ancestor's document.")},
         {QStringLiteral("OURS"), QStringLiteral("Our version.")},
         {QStringLiteral("THEIRS"), QStringLiteral("Their version.")}});
    const QCommandLineOption output({QStringLiteral("o"), QStringLiteral("output")},
                                    QStringLiteral("The document to write (may be OURS)."),
                                    QStringLiteral("OUT"));
    parser.addOption(output);
    processArguments(parser, arguments);
    const std::optional<QStringList> files = expectFiles(
        parser, QStringLiteral("merge"), QStringLiteral("BASE, OURS, THEIRS and -o OUT"), 3);
    if (!files)
        return ExitUsage;
    if (parser.value(output).isEmpty()) {
        printError(QStringLiteral("merge expects BASE, OURS, THEIRS and -o OUT; see 'glyphbook "
                                  "merge --help'."));
        return ExitUsage;
    }
    TMergeResult merged;
    try {
        TViraGlyphbook base;
        TViraGlyphbook ours;
        TViraGlyphbook theirs;
        // git gives an empty BASE when both sides added the document: nothing in common.
        const QFileInfo baseInfo((*files)[0]);
        if (!baseInfo.isFile() || baseInfo.size() > 0)
            loadForMerge(base, (*files)[0]);
        loadForMerge(ours, (*files)[1]);
        loadForMerge(theirs, (*files)[2]);
        merged = MergeLibraries(base, ours, theirs);
        merged.Library.SaveToFile(parser.value(output));
    } catch (const EGlyphbookError &e) {
        printError(e.message());
        return ExitTrouble;
    }
    for (const TMergeConflict &conflict : merged.Conflicts)
        printError(QStringLiteral("conflict: ") + conflict.Message());
    return merged.Conflicts.isEmpty() ? 0 : 1;
}
