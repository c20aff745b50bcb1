#pragma once

#include "check/LibraryCheck.h"

#include <QByteArray>
#include <QCache>
#include <QImage>
#include <QList>
#include <QPoint>
#include <QString>

class TViraGlyphbook;
class TViraSymbol;

/// Every symbol of a library drawn for review: one cell each, with the picture placed by its
/// anchor on a small grid, the crosses, the example text at the text point, the state pictures
/// with their values, and red marks on what the check found. Cells go on pages (PNG) or into
/// one self-contained HTML file.
class TContactSheet
{
public:
    static constexpr int CellWidth = 240;
    static constexpr int CellsPerPage = 30;

    /// Findings are those of a check of Glyphbook; bare image names are looked up beside
    /// ProjectFile. The example text is each symbol's name in Language, or its identifier where
    /// it has none (as a saved document fills it in). Glyphbook must outlive the sheet.
    TContactSheet(const TViraGlyphbook &Glyphbook, const QList<TCheckFinding> &Findings,
                  const QString &ProjectFile, const QString &Language);

    /// Where a symbol's anchor lands in its cell.
    static QPoint CellOrigin();

    /// At least one, so that an empty library still gives a page that says so.
    int PageCount() const;

    /// The cell of the symbol at Index; with ListFindings the findings' messages are written
    /// under it, for pages that have no other place for them.
    QImage Cell(int Index, bool ListFindings) const;
    QImage Page(int PageIndex) const;
    /// One HTML document with every picture inlined; it needs no other file.
    QByteArray Html() const;

private:
    /// The picture of a stored image path; null when the file is missing or no picture.
    QImage Picture(const QString &StoredPath) const;
    QString ExampleText(const TViraSymbol &Symbol) const;
    QString Title() const;

    QList<const TViraSymbol *> FSymbols;
    QList<QList<TCheckFinding>> FFindings; // per symbol
    int FFindingCount = 0;
    QString FProjectFile;
    QString FLanguage;
    // Pictures shared by many symbols are read once; bounded, as a library may hold thousands
    // of large ones. By resolved path; a null picture is kept too.
    mutable QCache<QString, QImage> FPictures;
};

/// The file names of the pages of a sheet written to Target ("sheet.png"): Target itself for one
/// page, else "sheet-001.png", "sheet-002.png" ...
QStringList SheetPageFiles(const QString &Target, int PageCount);

/// The bytes of a PNG file of Image, without its alpha channel: a sheet is drawn on white.
QByteArray PngFile(const QImage &Image);
