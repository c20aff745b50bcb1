#include "app/DiffCommand.h"

#include "app/CliSupport.h"
#include "compare/LibraryDiff.h"
#include "compare/LibraryInput.h"

#include <QBuffer>
#include <QImageReader>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace
{

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
