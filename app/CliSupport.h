#pragma once

// What every command of the command-line tool shares: exit statuses, error output, and the
// set-up of a command's own parser.

#include "model/GlyphbookError.h"
#include "model/RawPaths.h"
#include "model/ViraSymbol.h"

#include <QCommandLineParser>
#include <QFileInfo>
#include <QList>
#include <QPair>
#include <QString>

#include <cstdio>
#include <cstdlib>
#include <optional>

constexpr int ExitFailure = 1; // the command failed: bad input, a file that cannot be written
constexpr int ExitUsage = 2;   // the command line itself is wrong
// diff and merge answer like diff(1) and git's merge drivers: 1 is a result, not a failure.
constexpr int ExitTrouble = 2;

/// Writes text and a line break to stream in UTF-8. A NUL, which a document's string may hold,
/// is shown as \x00 rather than ending the text there; paths the tool reaches by a descriptor
/// are shown as the user named them.
inline void printText(std::FILE *stream, const QString &text)
{
    QByteArray bytes = WithShownPaths(text).toUtf8();
    bytes.replace('\0', "\\x00");
    bytes.append('\n');
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stream);
}

inline void printLine(const QString &text)
{
    printText(stdout, text);
}

inline void printError(const QString &message)
{
    printText(stderr, QStringLiteral("glyphbook: ") + message);
}

/// Writes a JSON document to the standard output, paths shown as printText shows them.
inline void printJson(const QByteArray &json)
{
    const QByteArray bytes =
        WithShownPaths(QString::fromUtf8(json), TShownPathText::JsonString).toUtf8();
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stdout);
}

/// Reads the command line as QCommandLineParser::process does (--help and --version answer and
/// end the program), except that a wrong command line ends it with ExitUsage.
inline void processArguments(QCommandLineParser &parser, const QStringList &arguments)
{
    if (!parser.parse(arguments)) {
        printError(parser.errorText());
        std::exit(ExitUsage);
    }
    const QStringList given = parser.optionNames();
    for (const char *help : {"h", "?", "help", "help-all"})
        if (given.contains(QLatin1String(help)))
            parser.showHelp(0);
    if (given.contains(QStringLiteral("version")) || given.contains(QStringLiteral("v")))
        parser.showVersion();
}

/// A parser for one command: its name, then its positional arguments with their descriptions.
inline void setUpCommandParser(QCommandLineParser &parser, const QString &name,
                               const QString &description,
                               const QList<QPair<QString, QString>> &positionals)
{
    parser.setApplicationDescription(description);
    parser.addHelpOption();
    parser.addPositionalArgument(name, QStringLiteral("The command."));
    for (const auto &[argument, text] : positionals)
        parser.addPositionalArgument(argument, text);
}

/// The positional arguments after the command name, or none when their count is wrong (the
/// usage is then printed).
inline std::optional<QStringList> expectFiles(const QCommandLineParser &parser, const QString &name,
                                              const QString &expected, qsizetype count)
{
    const QStringList files = parser.positionalArguments().mid(1);
    if (files.size() == count)
        return files;
    printError(QStringLiteral("%1 expects %2; see 'glyphbook %1 --help'.").arg(name, expected));
    return std::nullopt;
}

/// The loader ignores a missing file; on the command line it is the user's mistake.
inline void requireDocumentFile(const QString &path)
{
    if (!QFileInfo(path).isFile())
        throw EFileError(
            QStringLiteral("Cannot open file \"%1\". The file does not exist.").arg(path));
}

/// Loads the document in path into book.
inline void loadDocument(TViraGlyphbook &book, const QString &path)
{
    requireDocumentFile(path);
    book.LoadFromFile(path);
}
