#include "app/DiffCommands.h"

#include "app/CliSupport.h"
#include "compare/LibraryDiff.h"
#include "compare/LibraryInput.h"
#include "compare/LibraryMerge.h"

#include <QBuffer>
#include <QDir>
#include <QFileInfo>
#include <QImageReader>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <cstdio>

namespace
{

// diff and merge answer like diff(1) and git's merge drivers: 1 is a result, not a failure.
constexpr int ExitTrouble = 2;

void printLine(const QString &text)
{
    printText(stdout, text);
}

QSize pictureSize(const QByteArray &head)
{
    QBuffer buffer;
    buffer.setData(head);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    const QSize size = reader.size();
    return size.isValid() || !reader.canRead() ? size : reader.read().size();
}

QString position(int index)
{
    return QStringLiteral("(symbol %1)").arg(index + 1);
}

QStringList diffLines(const TLibraryDiff &diff)
{
    QStringList lines;
    for (const TSymbolPlace &place : diff.Removed)
        lines << QStringLiteral("removed: %1 %2").arg(place.Symbol.Label(), position(place.Index));
    for (const TSymbolPlace &place : diff.Added)
        lines << QStringLiteral("added: %1 %2").arg(place.Symbol.Label(), position(place.Index));
    for (const TSymbolMove &move : diff.Moved)
        lines << QStringLiteral("moved: %1 (symbol %2 -> %3)")
                     .arg(move.Symbol.Label(), QString::number(move.From + 1),
                          QString::number(move.To + 1));
    for (const TFieldChange &change : diff.Changed)
        lines << QStringLiteral("changed: %1 %2: %3 -> %4")
                     .arg(change.Symbol.Label(), change.Field, change.Old.Shown(),
                          change.New.Shown());
    return lines;
}

QJsonObject symbolJson(const TSymbolKey &key)
{
    return {{QStringLiteral("identifier"), key.Identifier},
            {QStringLiteral("occurrence"), key.Occurrence}};
}

QJsonValue valueJson(const TFieldValue &value)
{
    if (!value.Present)
        return QJsonValue::Null;
    if (!value.IsPicture)
        return value.Text;
    QJsonObject picture{{QStringLiteral("path"), value.Text},
                        {QStringLiteral("missing"), !value.Picture.Exists}};
    if (value.Picture.Exists) {
        picture.insert(QStringLiteral("bytes"), value.Picture.Bytes);
        picture.insert(QStringLiteral("sha256"), QString::fromLatin1(value.Picture.Sha256.toHex()));
    }
    if (value.Picture.Size.isValid()) {
        picture.insert(QStringLiteral("width"), value.Picture.Size.width());
        picture.insert(QStringLiteral("height"), value.Picture.Size.height());
    }
    return picture;
}

QByteArray diffJson(const QString &oldFile, const QString &newFile, const TLibraryDiff &diff)
{
    const auto places = [](const QList<TSymbolPlace> &list) {
        QJsonArray array;
        for (const TSymbolPlace &place : list) {
            QJsonObject item = symbolJson(place.Symbol);
            item.insert(QStringLiteral("symbol"), place.Index + 1);
            array.append(item);
        }
        return array;
    };
    QJsonArray moved;
    for (const TSymbolMove &move : diff.Moved) {
        QJsonObject item = symbolJson(move.Symbol);
        item.insert(QStringLiteral("from"), move.From + 1);
        item.insert(QStringLiteral("to"), move.To + 1);
        moved.append(item);
    }
    QJsonArray changed;
    for (const TFieldChange &change : diff.Changed) {
        QJsonObject item = symbolJson(change.Symbol);
        item.insert(QStringLiteral("field"), change.Field);
        item.insert(QStringLiteral("old"), valueJson(change.Old));
        item.insert(QStringLiteral("new"), valueJson(change.New));
        changed.append(item);
    }
    return QJsonDocument(QJsonObject{{QStringLiteral("old"), oldFile},
                                     {QStringLiteral("new"), newFile},
                                     {QStringLiteral("removed"), places(diff.Removed)},
                                     {QStringLiteral("added"), places(diff.Added)},
                                     {QStringLiteral("moved"), moved},
                                     {QStringLiteral("changed"), changed}})
        .toJson(QJsonDocument::Indented);
}

/// The positional arguments after the command name, or none when their count is wrong (the
/// usage is then printed).
std::optional<QStringList> expectFiles(const QCommandLineParser &parser, const QString &name,
                                       const QString &expected, qsizetype count)
{
    const QStringList files = parser.positionalArguments().mid(1);
    if (files.size() == count)
        return files;
    printError(QStringLiteral("%1 expects %2; see 'glyphbook %1 --help'.").arg(name, expected));
    return std::nullopt;
}

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

int runDiff(const QStringList &arguments)
{
    QCommandLineParser parser;
    setUpCommandParser(
        parser, QStringLiteral("diff"),
        QStringLiteral(
            "Compares two versions of a library, each a project document or a packed library "
            "(read in memory, never unpacked). Symbols are matched by identifier, a repeated "
            "identifier by its occurrence; pictures are compared by their content, so the same "
            "bytes under another path are no difference; the form of the document's text never "
            "matters. Prints the removed, added and moved symbols and every changed field with "
            "its old and new value. Exit status 0 when the libraries are the same, 1 when they "
            "differ, 2 for trouble."),
        {{QStringLiteral("OLD"), QStringLiteral("The old version.")},
         {QStringLiteral("NEW"), QStringLiteral("The new version.")}});
    const QCommandLineOption json(QStringLiteral("json"),
                                  QStringLiteral("Print the differences as one JSON document."));
    parser.addOption(json);
    processArguments(parser, arguments);
    const std::optional<QStringList> files =
        expectFiles(parser, QStringLiteral("diff"), QStringLiteral("OLD and NEW"), 2);
    if (!files)
        return ExitUsage;
    TLibraryDiff diff;
    try {
        const TLibraryInput oldInput((*files)[0], pictureSize);
        const TLibraryInput newInput((*files)[1], pictureSize);
        diff = CompareLibraries(oldInput.Library(), newInput.Library(), oldInput.Pictures(),
                                newInput.Pictures());
    } catch (const EGlyphbookError &e) {
        printError(e.message());
        return ExitTrouble;
    }
    if (parser.isSet(json))
        printJson(diffJson((*files)[0], (*files)[1], diff));
    else
        for (const QString &line : diffLines(diff))
            printLine(line);
    return diff.IsEmpty() ? 0 : 1;
}

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
