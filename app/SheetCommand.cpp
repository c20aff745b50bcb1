#include "app/SheetCommand.h"

#include "app/CliSupport.h"
#include "check/LibraryCheck.h"
#include "model/FileSave.h"
#include "model/NamesTable.h"
#include "model/ProjectFiles.h"
#include "model/ViraSymbol.h"
#include "packing/WorkFolder.h"
#include "render/ContactSheet.h"
#include "render/PictureFiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cstdio>

namespace
{

/// Writes every page into a work folder beside them before any is put in place: a page that
/// cannot be written leaves the earlier pages as they were.
void replacePages(const TContactSheet &sheet, const QStringList &pages)
{
    for (const QString &page : pages)
        if (QFileInfo(page).isDir())
            throw EFileError::CannotCreate(QDir::toNativeSeparators(page),
                                           QStringLiteral("It is a folder."));
    const QString folder = QFileInfo(pages.first()).absolutePath();
    TWorkFolder::ForEachDeadFolder(folder, QStringLiteral(".sheet-"),
                                   [](const QString &) { return true; });
    const TWorkFolder work(QStringLiteral("sheet"), folder);
    for (int i = 0; i < pages.size(); ++i)
        SaveFileBytes(work.FilePath(QString::number(i)), PngFile(sheet.Page(i)));
    for (int i = 0; i < pages.size(); ++i)
        if (!MoveFileOrFolder(work.FilePath(QString::number(i)), pages[i]))
            throw EFileError::CannotWrite(QDir::toNativeSeparators(pages[i]),
                                          QStringLiteral("It cannot be replaced."));
}

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
            "OUT.html is one self-contained page (the pictures inlined). OUT.png is one picture "
            "when the library has up to %1 symbols, else pages OUT-001.png, OUT-002.png ... of "
            "%1 each. Prints the files it writes.")
            .arg(TContactSheet::CellsPerPage),
        {{QStringLiteral("PROJECT.js"), QStringLiteral("The project to draw.")},
         {QStringLiteral("OUT.html|OUT.png"), QStringLiteral("The sheet to write.")}});
    const QCommandLineOption language(
        QStringLiteral("language"),
        QStringLiteral("Show the names in the language CODE and mark symbols without one "
                       "(default: the library's first language, nothing marked)."),
        QStringLiteral("CODE"));
    parser.addOption(language);
    processArguments(parser, arguments);
    const QStringList files = parser.positionalArguments().mid(1);
    if (files.size() != 2) {
        printError(QStringLiteral(
            "sheet expects PROJECT.js and OUT.html or OUT.png; see 'glyphbook sheet --help'."));
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

    const QStringList shown = parser.values(language);
    TLibraryCheck check({projectFile, shown, IsReadablePicture});
    check.Check(book);
    const QString exampleLanguage =
        shown.isEmpty() ? LibraryLanguages(book).value(0) : shown.constFirst();
    const TContactSheet sheet(book, check.Findings(), projectFile, exampleLanguage);

    const QStringList outputs =
        html ? QStringList{target} : SheetPageFiles(target, sheet.PageCount());
    // Pages are named after the sheet: beside a file held by its bytes there is no name.
    if (outputs.size() > 1 && IsHeldFile(target))
        throw EFileError::CannotCreate(
            QDir::toNativeSeparators(SheetPageFiles(ShownPath(target), 2).first()),
            QStringLiteral("A new file's name must be UTF-8 text."));
    const TProjectFiles ownFiles(book, projectFile);
    for (const QString &output : outputs)
        ownFiles.RefuseAsOutput(output);

    if (outputs.size() == 1)
        SaveFileBytes(outputs[0], html ? sheet.Html() : PngFile(sheet.Page(0)));
    else
        replacePages(sheet, outputs);
    for (const QString &output : outputs)
        printText(stdout, QDir::toNativeSeparators(output));
    return 0;
}
