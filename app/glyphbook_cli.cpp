// The command-line tool: library documents and packed libraries without a window.
//
// Every command is one function in the table below; it receives its own arguments (its name
// first) and returns the exit status. Failures are raised as EGlyphbookError and reported by
// main with the same texts the editor shows.
//
// It is built twice. The tool itself links Qt's core only and hands check, sheet and diff,
// which decode or draw pictures, to PicturesProgram.cpp; the second build, with
// GLYPHBOOK_CLI_PICTURES and every command, is the program they run in.

#include "app/CheckCommand.h"
#include "app/CliSupport.h"
#include "app/DiffCommand.h"
#include "app/GitDriverCommands.h"
#include "app/NamesCommand.h"
#include "app/PackCommands.h"
#include "app/SheetCommand.h"
#include "model/ProjectFiles.h"
#include "model/RawPaths.h"
#include "model/ViraSymbol.h"

#include "GlyphbookVersion.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFileInfo>
#include <QLoggingCategory>
#ifdef GLYPHBOOK_CLI_PICTURES
#include <QGuiApplication>
#endif

#include <cstdio>
#include <cstring>
#include <memory>

namespace
{

// glyphbook format IN.js OUT.js
int runFormat(const QStringList &arguments)
{
    QCommandLineParser parser;
    setUpCommandParser(
        parser, QStringLiteral("format"),
        QStringLiteral("Loads a library document and saves it again in the normal form."),
        {{QStringLiteral("IN.js"), QStringLiteral("The document to load.")},
         {QStringLiteral("OUT.js"), QStringLiteral("The file to save it in (may be IN.js).")}});
    processArguments(parser, arguments);
    const QStringList files = parser.positionalArguments().mid(1);
    if (files.size() != 2) {
        printError(
            QStringLiteral("format expects IN.js and OUT.js; see 'glyphbook format --help'."));
        return ExitUsage;
    }
    const QString &in = files[0];
    const QString &out = files[1];
    requireDocumentFile(in);
    // The document itself may be formatted in place; its pictures are never written over.
    std::function<void(const TViraSymbol &)> refusePictures;
    if (TProjectFiles(TViraGlyphbook(), in).Which(out) != TProjectFiles::Document)
        refusePictures = [guard = TPictureOutputGuard(in, out)](const TViraSymbol &symbol) {
            guard.Check(symbol);
        };
    TViraGlyphbook::FormatFile(in, out, refusePictures);
    return 0;
}

struct TCliCommand {
    const char *Name;
    const char *Summary;
    int (*Run)(const QStringList &arguments);
};

const TCliCommand Commands[] = {
    {"format", "Load a library document and save it again in the normal form.", runFormat},
    {"pack", "Pack a project and its images into a library archive (.tar.gz).", runPack},
    {"extract", "Extract a library archive into a folder and a project document.", runExtract},
    {"list", "List the entries of a library archive.", runList},
    {"check", "Report what in a project would fail or change when packed.", runCheck},
    {"names", "Export the display names to a table for translators, or import them.", runNames},
    {"sheet", "Draw every symbol (or those with findings) on a contact sheet for review.",
     runSheet},
    {"diff", "Compare two versions of a library, symbol by symbol.", runDiff},
    {"show", "Print one line per symbol with every field (a text conversion for git).", runShow},
    {"merge", "Merge two versions of a library document with their common ancestor.", runMerge},
};

/// The arguments after the program's name as the paths they name: bytes that are not UTF-8
/// would turn into U+FFFD and lead nowhere, so such an argument, or the value of such an option
/// (--into=DIR), is reached through PathFromBytes. Raises when it cannot be.
QStringList argumentsFromBytes(int argc, char *argv[])
{
    QStringList arguments{QCoreApplication::applicationFilePath()};
    for (int i = 1; i < argc; ++i) {
        const QByteArray raw(argv[i]);
        const QString decoded = QString::fromLocal8Bit(raw);
        if (decoded.toLocal8Bit() == raw) {
            arguments.append(decoded);
            continue;
        }
        const qsizetype equals = raw.startsWith("--") ? raw.indexOf('=') : -1;
        const QByteArray path = raw.mid(equals + 1);
        const QString reached = PathFromBytes(path);
        if (reached.isEmpty())
            throw EFileError(QStringLiteral("Cannot use \"%1\": no such file, and a new file's "
                                            "name must be UTF-8 text.")
                                 .arg(PrintableBytes(path)));
        arguments.append(QString::fromLocal8Bit(raw.left(equals + 1)) + reached);
    }
    return arguments;
}

QString commandList()
{
    QString text = QStringLiteral("Symbol library documents and packed libraries.\n\nCommands:");
    for (const TCliCommand &command : Commands)
        text += QStringLiteral("\n  %1  %2")
                    .arg(QString::fromLatin1(command.Name).leftJustified(8),
                         QLatin1String(command.Summary));
    text += QStringLiteral("\n\nRun 'glyphbook COMMAND --help' for a command's arguments.");
    return text;
}

} // namespace

int main(int argc, char *argv[])
{
    std::unique_ptr<QCoreApplication> app;
    // The platform's set-up notes (no runtime folder, ...) and the picture decoders' complaints
    // about a file that check reports anyway are no business of a pipeline.
    QLoggingCategory::setFilterRules(
        QStringLiteral("default.warning=false\nqt.gui.imageio.warning=false"));
#ifdef GLYPHBOOK_CLI_PICTURES
    // Drawing text needs the GUI side of Qt, though never a display.
    // The command comes first: any option before it ends the program, and "--" may end them.
    const int commandAt = argc > 1 && std::strcmp(argv[1], "--") == 0 ? 2 : 1;
    if (commandAt < argc && std::strcmp(argv[commandAt], "sheet") == 0) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        app = std::make_unique<QGuiApplication>(argc, argv);
    }
#endif
    if (!app)
        app = std::make_unique<QCoreApplication>(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("glyphbook"));
    QCoreApplication::setApplicationVersion(QStringLiteral(GLYPHBOOK_VERSION));

    QCommandLineParser parser;
    parser.setApplicationDescription(commandList());
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addPositionalArgument(QStringLiteral("command"), QStringLiteral("The command to run."),
                                 QStringLiteral("COMMAND [ARGUMENTS...]"));
    // Everything after the command belongs to the command, its --help included.
    parser.setOptionsAfterPositionalArgumentsMode(QCommandLineParser::ParseAsPositionalArguments);
    // The application has taken its own options out of argv by now.
    QStringList given;
    try {
        given = argumentsFromBytes(argc, argv);
    } catch (const EGlyphbookError &e) {
        printError(e.message());
        return ExitFailure;
    }
    processArguments(parser, given);

    const QStringList arguments = parser.positionalArguments();
    if (arguments.isEmpty()) {
        printError(QStringLiteral("no command given; see 'glyphbook --help'."));
        return ExitUsage;
    }
    for (const TCliCommand &command : Commands) {
        if (arguments.first() != QLatin1String(command.Name))
            continue;
        try {
            // The command's parser takes the first element as the program's name.
            return command.Run(QStringList{QCoreApplication::applicationFilePath()} + arguments);
        } catch (const EGlyphbookError &e) {
            printError(e.message());
            return ExitFailure;
        }
    }
    printError(
        QStringLiteral("unknown command '%1'; see 'glyphbook --help'.").arg(arguments.first()));
    return ExitUsage;
}
