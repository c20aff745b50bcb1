#include "app/SheetCommand.h"

#include "app/CliSupport.h"
#include "app/ProgressLine.h"
#include "check/LibraryCheck.h"
#include "model/FileSave.h"
#include "model/NamesTable.h"
#include "model/ProjectFiles.h"
#include "model/ShortWrite.h"
#include "model/ViraSymbol.h"
#include "packing/WorkFolder.h"
#include "render/ContactSheet.h"
#include "render/PictureCache.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cstdio>
#include <future>
#include <memory>

namespace
{

void writeAll(QIODevice &Device, const QByteArray &Bytes, const QString &Shown)
{
    if (Device.write(Bytes) != Bytes.size())
        throw EFileError::CannotWrite(QDir::toNativeSeparators(Shown), ShortWriteReason(Device));
}

/// Writes the one file of a sheet in place of an earlier one.
class TReplacingSink : public TSheetSink
{
public:
    explicit TReplacingSink(const QString &File) : FFile(File) {}
    void Begin(int) override
    {
        FTarget = std::make_unique<TFileReplacement>(FFile, QDir::toNativeSeparators(FFile), true);
    }
    void Write(const QByteArray &Bytes) override { writeAll(FTarget->Device(), Bytes, FFile); }
    void End() override
    {
        FTarget->Commit();
        FTarget.reset();
    }

private:
    QString FFile;
    std::unique_ptr<TFileReplacement> FTarget;
};

/// Writes every file of a sheet into a work folder beside them; Replace then puts them in place
/// together, the first (an HTML index that links to the others) last.
class TWorkFolderSink : public TSheetSink
{
public:
    explicit TWorkFolderSink(const QStringList &Files)
        : FFiles(Files), FFolder(QFileInfo(Files.first()).absolutePath())
    {
        for (const QString &file : Files)
            if (QFileInfo(file).isDir())
                throw EFileError::CannotCreate(QDir::toNativeSeparators(file),
                                               QStringLiteral("It is a folder."));
        TWorkFolder::ForEachDeadFolder(FFolder, QStringLiteral(".sheet-"),
                                       [](const QString &) { return true; });
        FWork = std::make_unique<TWorkFolder>(QStringLiteral("sheet"), FFolder);
    }

    void Begin(int File) override
    {
        FIndex = File;
        FTarget = std::make_unique<TFileReplacement>(WorkFile(File),
                                                     QDir::toNativeSeparators(FFiles[File]), false);
    }
    void Write(const QByteArray &Bytes) override
    {
        writeAll(FTarget->Device(), Bytes, FFiles[FIndex]);
    }
    void End() override
    {
        FTarget->Commit();
        FTarget.reset();
    }

    void Replace()
    {
        for (int i = 1; i <= FFiles.size(); ++i) {
            const int file = i % int(FFiles.size());
            if (!MoveFileOrFolder(WorkFile(file), FFiles[file]))
                throw EFileError::CannotWrite(QDir::toNativeSeparators(FFiles[file]),
                                              QStringLiteral("It cannot be replaced."));
        }
    }

private:
    QString WorkFile(int File) const { return FWork->FilePath(QString::number(File)); }

    QStringList FFiles;
    QString FFolder;
    std::unique_ptr<TWorkFolder> FWork;
    int FIndex = 0;
    std::unique_ptr<TFileReplacement> FTarget;
};

} // namespace

int runSheet(const QStringList &arguments)
{
    QCommandLineParser parser;
    setUpCommandParser(
        parser, QStringLiteral("sheet"),
        QStringLiteral(
            "Draws every symbol of a project for review: its picture placed by its anchor on a "
            "small grid, the anchor and text crosses, the example text at the text point with "
            "its alignment, its state pictures with their values, and a red mark on everything "
            "'glyphbook check' reports.\n\n"
            "OUT.html is one self-contained page (the pictures inlined) that lists the findings "
            "with links to their symbols, when it shows up to %2 symbols; more get pages "
            "OUT-001.html, OUT-002.html ... of %2 each, and OUT.html lists the pages and every "
            "finding with a link to its symbol. OUT.png is one picture when it shows up to %1 "
            "symbols, else pages OUT-001.png, OUT-002.png ... of %1 each. Prints the files it "
            "writes.")
            .arg(TContactSheet::CellsPerPage)
            .arg(TContactSheet::CellsPerHtmlPage),
        {{QStringLiteral("PROJECT.js"), QStringLiteral("The project to draw.")},
         {QStringLiteral("OUT.html|OUT.png"), QStringLiteral("The sheet to write.")}});
    const QCommandLineOption language(
        QStringLiteral("language"),
        QStringLiteral("Show the names in the language CODE and mark symbols without one "
                       "(default: the library's first language, nothing marked)."),
        QStringLiteral("CODE"));
    const QCommandLineOption findingsOnly(
        QStringLiteral("findings-only"),
        QStringLiteral("Draw only the symbols with findings, for the review of a large library."));
    const QCommandLineOption threads(
        QStringLiteral("threads"),
        QStringLiteral("Draw on N threads (default: one per core). The files are the same "
                       "whatever N."),
        QStringLiteral("N"));
    parser.addOption(language);
    parser.addOption(findingsOnly);
    parser.addOption(threads);
    processArguments(parser, arguments);
    const QStringList files = parser.positionalArguments().mid(1);
    if (files.size() != 2) {
        printError(QStringLiteral(
            "sheet expects PROJECT.js and OUT.html or OUT.png; see 'glyphbook sheet --help'."));
        return ExitUsage;
    }
    bool threadsOk = true;
    const int threadCount = parser.isSet(threads) ? parser.value(threads).toInt(&threadsOk) : 0;
    if (parser.isSet(threads) && (!threadsOk || threadCount < 1)) {
        printError(QStringLiteral("--threads expects a number of threads, not \"%1\".")
                       .arg(parser.value(threads)));
        return ExitUsage;
    }
    const QString &project = files[0];
    const QString &target = files[1];
    const QString suffix = QFileInfo(QFile::decodeName(FileNameBytes(target))).suffix().toLower();
    const bool html = suffix == QLatin1String("html") || suffix == QLatin1String("htm");
    if (!html && suffix != QLatin1String("png")) {
        printError(QStringLiteral("sheet writes an .html or a .png file, not \"%1\".")
                       .arg(QDir::toNativeSeparators(target)));
        return ExitUsage;
    }
    TViraGlyphbook book;
    loadDocument(book, project);
    const QString projectFile = QFileInfo(project).absoluteFilePath();
    const TProjectFiles ownFiles(book, projectFile);
    // The pages' names depend on what the check finds; the target itself is known now.
    ownFiles.RefuseAsOutput(target);

    TProgressLine progress;
    const auto showProgress = [&progress](const char *Activity) {
        return [&progress, Activity](int Done, int Total) {
            progress.Show([&] {
                return QStringLiteral("%1: %2 of %3")
                    .arg(QLatin1String(Activity))
                    .arg(Done)
                    .arg(Total);
            });
        };
    };
    // The check and the cells share the pictures, each read once and on every core; the check
    // runs beside the reading, waiting for a picture only when it overtakes it.
    const std::shared_ptr<TPictureCache> pictures = TContactSheet::MakePictureCache();
    const QStringList pictureFiles = TContactSheet::PlanPictures(book, projectFile, *pictures);
    const QStringList shown = parser.values(language);
    TLibraryCheck check({projectFile, shown,
                         [&pictures](const QString &Path) { return pictures->IsReadable(Path); }});
    {
        std::future<void> reading = std::async(std::launch::async, [&] {
            TContactSheet::PreparePictures(pictureFiles, *pictures, threadCount,
                                           showProgress("Reading pictures"));
        });
        check.Check(book);
        reading.get();
    }
    const QString exampleLanguage =
        shown.isEmpty() ? LibraryLanguages(book).value(0) : shown.constFirst();
    const TContactSheet sheet(book, check.Findings(), projectFile,
                              {exampleLanguage, parser.isSet(findingsOnly), threadCount}, pictures);

    const TSheetFormat format = html ? TSheetFormat::Html : TSheetFormat::Png;
    const QStringList outputs = sheet.Files(target, format);
    // Pages are named after the sheet: beside a file held by its bytes there is no name.
    if (outputs.size() > 1 && IsHeldFile(target))
        throw EFileError::CannotCreate(
            QDir::toNativeSeparators(SheetPageFiles(ShownPath(target), 2).first()),
            QStringLiteral("A new file's name must be UTF-8 text."));
    for (const QString &output : outputs)
        ownFiles.RefuseAsOutput(output);

    const auto drawing = showProgress("Drawing symbols");
    if (outputs.size() == 1) {
        TReplacingSink sink(outputs[0]);
        sheet.Write(outputs, format, sink, drawing);
    } else {
        TWorkFolderSink sink(outputs);
        sheet.Write(outputs, format, sink, drawing);
        sink.Replace();
    }
    progress.End();
    if (parser.isSet(findingsOnly) && sheet.DrawnCount() == 0)
        printError(QStringLiteral("nothing was found, so the sheet shows no symbol."));
    for (const QString &output : outputs)
        printText(stdout, QDir::toNativeSeparators(output));
    return 0;
}
