#pragma once

#include "check/LibraryCheck.h"

#include <QByteArray>
#include <QImage>
#include <QList>
#include <QPoint>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>

class TPictureCache;
class TViraGlyphbook;
class TViraSymbol;

/// How a sheet is drawn.
struct TSheetOptions {
    /// The language of the example text; a symbol without a name in it shows its identifier.
    QString Language;
    /// Only the symbols with findings get a cell.
    bool FindingsOnly = false;
    /// Cells are drawn on this many threads, or on one per core when 0; the files are the same
    /// whatever the number.
    int Threads = 0;
};

enum class TSheetFormat { Html, Png };

/// Where the files of a sheet go, one after the other: Begin starts file File (an index into
/// TContactSheet::Files), Write appends to it and raises when it cannot, End finishes it.
class TSheetSink
{
public:
    virtual ~TSheetSink() = default;
    virtual void Begin(int File) = 0;
    virtual void Write(const QByteArray &Bytes) = 0;
    virtual void End() = 0;
};

/// Every symbol of a library drawn for review: one cell each, with the picture placed by its
/// anchor on a small grid, the crosses, the example text at the text point, the state pictures
/// with their values, and red marks on what the check found. Cells go on PNG pages, or into HTML
/// with every picture inlined: one file for a small library, else an index of the findings and
/// pages beside it.
class TContactSheet
{
public:
    static constexpr int CellWidth = 240;
    static constexpr int CellsPerPage = 30;
    static constexpr int CellsPerHtmlPage = 500;
    static constexpr int ThumbnailSide = 40;

    /// Findings are those of a check of Glyphbook; bare image names are looked up beside
    /// ProjectFile. Pictures are taken from Pictures when given (the check may have read them
    /// already), else the sheet keeps its own. Glyphbook must outlive the sheet.
    TContactSheet(const TViraGlyphbook &Glyphbook, const QList<TCheckFinding> &Findings,
                  const QString &ProjectFile, TSheetOptions Options,
                  std::shared_ptr<TPictureCache> Pictures = {});
    ~TContactSheet();

    /// A cache for the pictures of a sheet, bounded in memory.
    static std::shared_ptr<TPictureCache> MakePictureCache();
    /// Tells Pictures how the cells show every picture of Glyphbook; gives the pictures' files,
    /// each once, in the order the cells first show them.
    static QStringList PlanPictures(const TViraGlyphbook &Glyphbook, const QString &ProjectFile,
                                    TPictureCache &Pictures);
    /// Reads the planned pictures in Paths into Pictures on WorkThreads(Threads) threads;
    /// Progress, when set, hears how many of how many are read. The check may ask Pictures
    /// meanwhile.
    static void PreparePictures(const QStringList &Paths, TPictureCache &Pictures, int Threads,
                                const std::function<void(int Done, int Total)> &Progress = {});

    /// Where a symbol's anchor lands in its cell.
    static QPoint CellOrigin();

    /// How many symbols get a cell.
    int DrawnCount() const { return int(FDrawn.size()); }
    /// PNG pages; at least one, so that a sheet without cells still says why.
    int PageCount() const;

    /// The cell of the symbol at Index of the library; with ListFindings the findings' messages
    /// are written under it, for pages that have no other place for them.
    QImage Cell(int Index, bool ListFindings) const;
    QImage Page(int PageIndex) const;
    /// Every cell in one HTML document with every picture inlined, as a library of up to
    /// CellsPerHtmlPage symbols gets it.
    QByteArray Html() const;

    /// The files of the sheet written to Target ("sheet.html", "sheet.png"), Target first: one
    /// file, or for more cells than a file holds, PNG pages "sheet-001.png" ... or the HTML
    /// index "sheet.html" and its pages "sheet-001.html" ...
    QStringList Files(const QString &Target, TSheetFormat Format) const;
    /// Draws the sheet into the files Files(Target, Format) gave (their names make the links
    /// between them), one after the other; Progress hears how many cells of how many are drawn.
    void Write(const QStringList &Files, TSheetFormat Format, TSheetSink &Sink,
               const std::function<void(int Done, int Total)> &Progress = {}) const;

private:
    QString ExampleText(const TViraSymbol &Symbol) const;
    QString Title() const;
    QString NoCells() const;
    int HtmlPageCount() const;
    /// The figures of the drawn cells First to End - 1.
    QByteArray Figures(int First, int End) const;
    /// The list of every finding, each linking to its cell through Href(drawn position).
    QByteArray FindingsList(const std::function<QByteArray(int Drawn)> &Href) const;
    /// Writes the HTML index and pages, or with OneFile every cell into one file.
    void WriteHtml(const QStringList &Files, bool OneFile, TSheetSink &Sink,
                   const std::function<void(int, int)> &Progress) const;

    QList<const TViraSymbol *> FSymbols;
    QList<QList<TCheckFinding>> FFindings; // per symbol
    QList<int> FDrawn;                     // the symbols that get a cell
    int FFindingCount = 0;
    QString FProjectFile;
    TSheetOptions FOptions;
    std::shared_ptr<TPictureCache> FPictures;
};

/// The file names of the pages of a sheet written to Target ("sheet.png"): Target itself for one
/// page, else "sheet-001.png", "sheet-002.png" ...
QStringList SheetPageFiles(const QString &Target, int PageCount);
