#include "app/NamesCommand.h"

#include "app/CliSupport.h"
#include "model/FileSave.h"
#include "model/NamesTable.h"
#include "model/ProjectFiles.h"
#include "model/ViraSymbol.h"

#include <QDir>
#include <QFile>

#include <cstdio>

namespace
{

// "-" names the standard input or output, as in any command-line tool.
bool isStandardStream(const QString &path)
{
    return path == QLatin1String("-");
}

QByteArray readWhole(const QString &path)
{
    QFile file(path);
    const bool opened = isStandardStream(path) ? file.open(stdin, QIODevice::ReadOnly)
                                               : file.open(QIODevice::ReadOnly);
    if (!opened)
        throw EFileError::CannotOpen(QDir::toNativeSeparators(path), file.errorString());
    return file.readAll();
}

void writeWhole(const QString &path, const QByteArray &bytes)
{
    if (!isStandardStream(path)) {
        SaveFileBytes(path, bytes);
        return;
    }
    QFile out;
    if (!out.open(stdout, QIODevice::WriteOnly) || out.write(bytes) != bytes.size() || !out.flush())
        throw EFileError::CannotWrite(QStringLiteral("-"), out.errorString());
}

} // namespace

int runNames(const QStringList &arguments)
{
    QCommandLineParser parser;
    setUpCommandParser(
        parser, QStringLiteral("names"),
        QStringLiteral(
            "Moves the display names of a project to and from a table for translators (CSV in "
            "UTF-8, as spreadsheets read and write it).\n\n"
            "names export PROJECT.js OUT.csv: a header row (Identifier, then one column per "
            "language of the library) and one row per symbol.\n"
            "names import PROJECT.js IN.csv: sets the names of the table. Rows match symbols by "
            "identifier; an empty cell leaves the name as it is; a new language column adds that "
            "language; rows of unknown identifiers are reported and skipped. Prints every name "
            "it changes and saves the project."),
        {{QStringLiteral("export|import"), QStringLiteral("What to do.")},
         {QStringLiteral("PROJECT.js"), QStringLiteral("The project.")},
         {QStringLiteral("TABLE.csv"),
          QStringLiteral("The table to write or read; - for the standard output or input.")}});
    const QCommandLineOption dryRun(
        QStringLiteral("dry-run"),
        QStringLiteral("import: print what would change, save nothing."));
    parser.addOption(dryRun);
    processArguments(parser, arguments);
    const QStringList words = parser.positionalArguments().mid(1);
    const QString action = words.value(0);
    if (words.size() != 3 ||
        (action != QLatin1String("export") && action != QLatin1String("import"))) {
        printError(QStringLiteral("names expects export or import, PROJECT.js and TABLE.csv; see "
                                  "'glyphbook names --help'."));
        return ExitUsage;
    }
    const QString &project = words[1];
    const QString &table = words[2];
    TViraGlyphbook book;
    loadDocument(book, project);

    if (action == QLatin1String("export")) {
        if (parser.isSet(dryRun)) {
            printError(QStringLiteral("--dry-run belongs to names import."));
            return ExitUsage;
        }
        if (!isStandardStream(table))
            RefuseProjectFileAsOutput(book, project, table);
        writeWhole(table, ExportNames(book));
        return 0;
    }

    const TNamesImport import =
        PlanNamesImport(book, readWhole(table),
                        isStandardStream(table) ? QStringLiteral("standard input")
                                                : QDir::toNativeSeparators(table));
    const bool dry = parser.isSet(dryRun);
    // Saved first: a failed save reports its reason and claims no change. Nothing changed,
    // nothing written: the project keeps its every byte.
    if (!dry && !import.Changes.isEmpty()) {
        ApplyNamesImport(book, import);
        book.SaveToFile(project);
    }
    for (const auto &[identifier, row] : import.Unknown)
        printError(QStringLiteral("row %1: no symbol has the identifier \"%2\"; skipped.")
                       .arg(row)
                       .arg(identifier));
    for (const TNameChange &change : import.Changes)
        printLine(QStringLiteral("symbol %1 \"%2\", %3: \"%4\" becomes \"%5\"")
                      .arg(change.Symbol + 1)
                      .arg(change.Identifier, change.Language, change.Before, change.After));
    QString summary =
        (dry ? QStringLiteral("Names that would change: %1") : QStringLiteral("Names changed: %1"))
            .arg(import.Changes.size());
    if (!import.NewLanguages.isEmpty())
        summary += (dry ? QStringLiteral("; languages that would be added: ")
                        : QStringLiteral("; languages added: ")) +
                   import.NewLanguages.join(QStringLiteral(", "));
    printLine(summary + u'.');
    return 0;
}
