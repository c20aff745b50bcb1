#include "app/PackCommands.h"

#include "app/CliSupport.h"
#include "model/ViraSymbol.h"
#include "packing/ArchiveNames.h"
#include "packing/GlyphbookExtract.h"
#include "packing/GlyphbookPack.h"
#include "packing/GzipStream.h"
#include "packing/LibTar.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTextStream>

#include <algorithm>
#include <functional>

#include <cstdio>

#ifdef Q_OS_WIN
#include <io.h>
#define isatty _isatty
#define fileno _fileno
#else
#include <unistd.h>
#endif

namespace
{

bool isTerminal(std::FILE *stream)
{
    return isatty(fileno(stream)) != 0;
}

/// A command's parser with --yes when asked for, processed; the positional arguments after the
/// command name must be those described, or the usage is printed.
struct TParsedCommand {
    QStringList Files;
    bool Yes = false;
    bool Json = false;
    QString Into; // --into DIR, for the commands that take it
    bool UsageOk = false;
};

using TPositionals = QList<QPair<QString, QString>>;

TParsedCommand parseCommand(const QStringList &arguments, const QString &name,
                            const QString &description, const TPositionals &positionals,
                            bool withYes, const QString &intoDescription = QString(),
                            bool withJson = false)
{
    QCommandLineParser parser;
    setUpCommandParser(parser, name, description, positionals);
    const QCommandLineOption yes({QStringLiteral("y"), QStringLiteral("yes")},
                                 QStringLiteral("Answer \"Overwrite existing?\" with yes."));
    if (withYes)
        parser.addOption(yes);
    const QCommandLineOption json(QStringLiteral("json"),
                                  QStringLiteral("Print one JSON document instead of lines."));
    if (withJson)
        parser.addOption(json);
    const QCommandLineOption into(QStringLiteral("into"), intoDescription, QStringLiteral("DIR"));
    if (!intoDescription.isEmpty())
        parser.addOption(into);
    processArguments(parser, arguments);
    TParsedCommand parsed;
    parsed.Files = parser.positionalArguments().mid(1);
    parsed.Yes = withYes && parser.isSet(yes);
    parsed.Json = withJson && parser.isSet(json);
    parsed.Into = intoDescription.isEmpty() ? QString() : parser.value(into);
    parsed.UsageOk = parsed.Files.size() == positionals.size();
    if (!parsed.UsageOk) {
        QStringList expected;
        for (const auto &positional : positionals)
            expected << positional.first;
        printError(QStringLiteral("%1 expects %2; see 'glyphbook %1 --help'.")
                       .arg(name, expected.join(QStringLiteral(" and "))));
    }
    return parsed;
}

/// Answers the core's questions and shows its messages and progress on the terminal.
class TTerminalDialog
{
public:
    TTerminalDialog(bool Yes, const QString &Activity) : FYes(Yes), FActivity(Activity) {}
    ~TTerminalDialog() { EndProgress(); }

    TPackCallbacks Callbacks()
    {
        TPackCallbacks callbacks;
        callbacks.ConfirmReplacing = [this](const QString &question, const QStringList &replaced) {
            return Confirm(question, replaced);
        };
        callbacks.Inform = [this](const QString &message) {
            EndProgress();
            printText(stderr, message);
        };
        if (isTerminal(stderr))
            callbacks.Progress = [this](qint64 done, qint64 total) { Progress(done, total); };
        FClock.start();
        return callbacks;
    }

    /// Why nothing was done after a question about Existing (what would be replaced) got no yes.
    QString Refusal(const QStringList &Existing) const
    {
        QStringList quoted;
        for (const QString &path : Existing)
            quoted << u'"' + QDir::toNativeSeparators(path) + u'"';
        const bool one = quoted.size() == 1;
        QString text =
            quoted.join(QStringLiteral(", ")) +
            (one ? QStringLiteral(" already exists.") : QStringLiteral(" already exist."));
        text += QStringLiteral(" Nothing was changed");
        if (FNoTerminal)
            text += one ? QStringLiteral("; run with --yes to replace it")
                        : QStringLiteral("; run with --yes to replace them");
        return text + u'.';
    }

    /// Clears the progress line, so that what follows starts on a clean line.
    void EndProgress()
    {
        if (FShown)
            std::fprintf(stderr, "\r%*s\r", 60, "");
        FShown = false;
    }

private:
    bool Confirm(const QString &question, const QStringList &replaced)
    {
        if (FYes)
            return true;
        if (!isTerminal(stdin) || !isTerminal(stderr)) {
            FNoTerminal = true;
            return false;
        }
        EndProgress();
        std::fprintf(stderr, "Yes replaces:\n");
        for (const QString &path : replaced)
            std::fprintf(stderr, "  %s\n",
                         qUtf8Printable(ShownPath(QDir::toNativeSeparators(path))));
        std::fprintf(stderr, "%s [y/N] ", qUtf8Printable(question));
        std::fflush(stderr);
        QTextStream in(stdin);
        const QString answer = in.readLine().trimmed();
        FClock.restart(); // the time spent answering is no work
        return answer.compare(QStringLiteral("y"), Qt::CaseInsensitive) == 0 ||
               answer.compare(QStringLiteral("yes"), Qt::CaseInsensitive) == 0;
    }

    void Progress(qint64 done, qint64 total)
    {
        // Only work that takes a while gets a progress line, and at most ten updates a second.
        if (FClock.elapsed() < 1000 || (FShown && FLastShown.elapsed() < 100) || total <= 0)
            return;
        std::fprintf(stderr, "\r%s: %3d%% (%.1f of %.1f MB)", qUtf8Printable(FActivity),
                     int(std::min<qint64>(100, done * 100 / total)), done / 1e6, total / 1e6);
        std::fflush(stderr);
        FShown = true;
        FLastShown.start();
    }

    bool FYes;
    QString FActivity;
    bool FNoTerminal = false;
    bool FShown = false;
    QElapsedTimer FClock;
    QElapsedTimer FLastShown;
};

QString fileTypeName(TFileType type)
{
    static const char *const names[] = {
        "file", "hard-link",  "symbolic-link", "character-device", "block-device", "directory",
        "fifo", "contiguous", "dump-dir",      "multi-volume",     "volume-header"};
    return type < std::size(names) ? QLatin1String(names[type]) : QStringLiteral("file");
}

/// The entries of an archive, read one by one and never kept: what both forms of list print.
class TEntryReader
{
public:
    /// Raises when the archive cannot be opened.
    explicit TEntryReader(const QString &Archive) : FFile(Archive), FGzip(&FFile, Archive)
    {
        if (!FFile.open(QIODevice::ReadOnly))
            throw EFileError::CannotOpen(QDir::toNativeSeparators(Archive), FFile.errorString());
    }

    /// Calls Entry with each entry's header in archive order. The stream is read to its end, so
    /// that a cut or damaged archive is never taken for a shorter one.
    void ForEach(const std::function<void(const TTarDirRec &)> &Entry)
    {
        try {
            TTarArchive tar(&FGzip);
            TTarDirRec rec;
            while (tar.FindNext(rec))
                Entry(rec);
            FGzip.ReadToEnd();
        } catch (const EGlyphbookError &) {
            FGzip.RaiseIfFailed(); // the cause, when the tar reader only saw its effect
            throw;
        }
    }

private:
    QFile FFile;
    TGzipReader FGzip;
};

/// glyphbook list --json: the entries as they come, one object a line, so that memory stays
/// bounded; a damaged archive leaves the document unfinished and the status 1.
int listAsJson(const QString &archive)
{
    TEntryReader entries(archive);
    const QJsonObject head{{QStringLiteral("archive"), ShownPath(archive)}};
    QByteArray start = QJsonDocument(head).toJson(QJsonDocument::Compact);
    start.chop(1); // the closing brace
    std::printf("%s,\n\"entries\": [", start.constData());
    const char *separator = "\n";
    try {
        entries.ForEach([&](const TTarDirRec &rec) {
            const QJsonObject entry{
                {QStringLiteral("name"), PrintableEntryName(rec.Name)},
                {QStringLiteral("size"), rec.Size},
                {QStringLiteral("time"),
                 rec.DateTime.toUTC().toString(QStringLiteral("yyyy-MM-ddTHH:mm:ssZ"))},
                {QStringLiteral("type"), fileTypeName(rec.FileType)},
                {QStringLiteral("checksumCorrect"), rec.ChecksumOK}};
            std::printf("%s%s", separator,
                        QJsonDocument(entry).toJson(QJsonDocument::Compact).constData());
            separator = ",\n";
        });
    } catch (const EGlyphbookError &) {
        std::fflush(stdout);
        throw;
    }
    std::printf("\n]}\n");
    return 0;
}

/// The archive a typed name means: one without a suffix gets ".tar.gz", as a save dialog adds
/// it. An existing folder, device or pipe is taken as named.
QString archiveName(const QString &typed)
{
    const QFileInfo info(typed);
    const QByteArray name = FileNameBytes(typed);
    if (name.isEmpty() || name.contains('.') || (info.exists() && !info.isFile()))
        return typed;
    // An existing file whose name is not UTF-8 is reached by a descriptor, which gives no name
    // for another file beside it.
    if (IsHeldFile(typed))
        throw EFileError::CannotCreate(ShownPath(typed) + QStringLiteral(".tar.gz"),
                                       QStringLiteral("A new file's name must be UTF-8 text."));
    return typed + QStringLiteral(".tar.gz");
}

} // namespace

int runPack(const QStringList &arguments)
{
    const TParsedCommand command = parseCommand(
        arguments, QStringLiteral("pack"),
        QStringLiteral("Packs the project's document and a copy of every image it uses into the "
                       "library archive. Image names without a folder are taken from the "
                       "project's folder."),
        {{QStringLiteral("PROJECT.js"), QStringLiteral("The project to pack.")},
         {QStringLiteral("ARCHIVE"),
          QStringLiteral("The library archive to write (.tar.gz); a name without a suffix gets "
                         ".tar.gz (out gives out.tar.gz).")}},
        true);
    if (!command.UsageOk)
        return ExitUsage;
    const QString &project = command.Files[0];
    const QString archive = archiveName(command.Files[1]);
    TViraGlyphbook book;
    loadDocument(book, project);

    TTerminalDialog dialog(command.Yes, QStringLiteral("Packing"));
    const bool packed =
        PackLibrary(book, archive, dialog.Callbacks(), QFileInfo(project).absoluteFilePath());
    dialog.EndProgress();
    if (!packed) {
        printError(dialog.Refusal({archive}));
        return ExitFailure;
    }
    return 0;
}

int runExtract(const QStringList &arguments)
{
    const TParsedCommand command = parseCommand(
        arguments, QStringLiteral("extract"),
        QStringLiteral("Extracts the library archive into a folder beside it, named "
                       "after it, and writes a project document for it there "
                       "(road.tar.gz gives the folder road and road.js). Prints the "
                       "project document's path. A project document that is not the result of "
                       "an earlier extraction there is never replaced, not even with --yes."),
        {{QStringLiteral("ARCHIVE"), QStringLiteral("The library archive (.tar.gz).")}}, true,
        QStringLiteral("Extract into the folder DIR instead: DIR/road and DIR/road.js."));
    if (!command.UsageOk)
        return ExitUsage;
    const TExtractTarget target =
        TExtractTarget::ForArchive(QFileInfo(command.Files[0]).absoluteFilePath(), command.Into);
    TViraGlyphbook book;
    TTerminalDialog dialog(command.Yes, QStringLiteral("Extracting"));
    TExtractResult result;
    try {
        result = ExtractLibrary(book, command.Files[0], dialog.Callbacks(), command.Into);
    } catch (const EProjectInTheWay &e) {
        dialog.EndProgress();
        printError(e.message() + QStringLiteral(" Extract into another folder with --into DIR."));
        return ExitFailure;
    }
    dialog.EndProgress();
    switch (result) {
    case TExtractResult::Extracted:
        break;
    case TExtractResult::Declined:
        printError(dialog.Refusal(target.Existing()));
        return ExitFailure;
    case TExtractResult::NoDocument:
        return ExitFailure;
    }
    printLine(QDir::toNativeSeparators(target.ProjectDocument));
    return 0;
}

int runList(const QStringList &arguments)
{
    const TParsedCommand command = parseCommand(
        arguments, QStringLiteral("list"),
        QStringLiteral("Lists the entries of a library archive: name, size in bytes, time (UTC), "
                       "and a mark where the header's checksum is wrong."),
        {{QStringLiteral("ARCHIVE"), QStringLiteral("The library archive (.tar.gz).")}}, false,
        QString(), true);
    if (!command.UsageOk)
        return ExitUsage;
    if (command.Json)
        return listAsJson(command.Files[0]);
    TEntryReader entries(command.Files[0]);
    // Memory stays bounded whatever the archive holds: the name column is as wide as the longest
    // name of the first rows, and the rows after them are printed as they come.
    constexpr qsizetype RowsForWidth = 1000;
    QList<TTarDirRec> firstRows;
    qsizetype nameWidth = 0;
    const auto print = [&](const TTarDirRec &rec) {
        QString line = PrintableEntryName(rec.Name).leftJustified(nameWidth) +
                       QStringLiteral("  ") + QString::number(rec.Size).rightJustified(10) +
                       QStringLiteral("  ") +
                       rec.DateTime.toUTC().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
        if (!rec.ChecksumOK)
            line += QStringLiteral("  checksum wrong");
        printLine(line);
    };
    const auto printFirstRows = [&] {
        for (const TTarDirRec &rec : std::as_const(firstRows))
            print(rec);
        firstRows.clear();
    };
    bool streaming = false;
    entries.ForEach([&](const TTarDirRec &rec) {
        if (streaming) {
            print(rec);
            return;
        }
        firstRows.append(rec);
        nameWidth = std::max(nameWidth, PrintableEntryName(rec.Name).size());
        if (firstRows.size() == RowsForWidth) {
            printFirstRows();
            streaming = true;
        }
    });
    printFirstRows();
    return 0;
}
