#include "render/ContactSheet.h"

#include "model/ImagePath.h"
#include "model/SymbolPlacement.h"
#include "model/ViraSymbol.h"
#include "render/ExampleTextFont.h"
#include "render/PictureFiles.h"

#include <QBuffer>
#include <QFileInfo>
#include <QFontMetrics>
#include <QPainter>

#include <algorithm>

namespace
{
constexpr int kWidth = TContactSheet::CellWidth;
constexpr int kHeaderHeight = 20;
constexpr int kGridHeight = 160;
// Where the anchor lands in the grid: room for a picture centred on its anchor and a label
// under it.
constexpr int kOriginX = 120;
constexpr int kOriginY = 80;
constexpr int kGridStep = 10;
constexpr int kThumb = 40;
constexpr int kTileWidth = 48;
constexpr int kTileHeight = kThumb + 18;
constexpr int kTilesPerRow = kWidth / kTileWidth;
constexpr int kFindingLine = 13;
constexpr int kListedFindings = 5;
constexpr int kPadding = 4;
// A cell shows this many rows of state pictures at most, then says how many more there are.
constexpr int kMaxStateRows = 4;
constexpr qsizetype kPictureCacheBytes = 64 * 1024 * 1024;

constexpr int kPageColumns = 5;
constexpr int kPageGap = 12;
constexpr int kPageMargin = 16;
constexpr int kPageTitle = 28;

const QColor kMarkRed(0xd0, 0, 0);
const QColor kGridLine(232, 232, 232);
const QColor kStrongGridLine(184, 184, 184);

/// What of a symbol gets a red mark.
struct TMarks {
    bool Any = false;
    bool Identifier = false;
    bool Picture = false;
    bool Name = false;
    QList<bool> States;
};

TMarks marksOf(const TViraSymbol &Symbol, const QList<TCheckFinding> &Findings)
{
    TMarks marks;
    marks.States.fill(false, Symbol.StateImages.size());
    for (const TCheckFinding &finding : Findings) {
        marks.Any = true;
        if (finding.State >= 0 && finding.State < marks.States.size())
            marks.States[finding.State] = true;
        else if (finding.Kind == TCheckKind::RepeatedIdentifier)
            marks.Identifier = true;
        else if (finding.Kind == TCheckKind::MissingName)
            marks.Name = true;
        else if (CheckKindConcernsImage(finding.Kind))
            marks.Picture = true;
    }
    return marks;
}

int shownStates(const TViraSymbol &Symbol)
{
    return int(std::min<qsizetype>(Symbol.StateImages.size(), kMaxStateRows * kTilesPerRow));
}

QFont smallFont(int PixelSize, bool Bold = false)
{
    QFont font;
    font.setPixelSize(PixelSize);
    font.setBold(Bold);
    return font;
}

void markRect(QPainter &Painter, const QRect &Rect)
{
    Painter.save();
    Painter.setPen(QPen(kMarkRed, 2));
    Painter.setBrush(Qt::NoBrush);
    Painter.drawRect(Rect.adjusted(-1, -1, 1, 1));
    Painter.restore();
}

/// Stands for a picture that cannot be shown: a crossed box.
void drawNoPicture(QPainter &Painter, const QRect &Rect)
{
    Painter.save();
    Painter.setPen(QPen(kMarkRed, 1));
    Painter.setBrush(Qt::NoBrush);
    Painter.drawRect(Rect.adjusted(0, 0, -1, -1));
    Painter.drawLine(Rect.topLeft(), Rect.bottomRight());
    Painter.drawLine(Rect.topRight(), Rect.bottomLeft());
    Painter.restore();
}

void drawDotted(QPainter &Painter, const QColor &Color, QPoint From, QPoint To)
{
    Painter.save();
    Painter.setPen(QPen(Color, 1, Qt::DotLine));
    Painter.drawLine(From, To);
    Painter.restore();
}

/// The preview's grid: fine lines every 10 px, stronger ones every 80 across and 60 down, and
/// black axes through the origin.
void drawGrid(QPainter &Painter, const QRect &Grid, QPoint Origin)
{
    Painter.fillRect(Grid, Qt::white);
    for (const auto &[step, colour] : {std::pair{QPoint(kGridStep, kGridStep), kGridLine},
                                       std::pair{QPoint(80, 60), kStrongGridLine}}) {
        Painter.setPen(colour);
        for (int x = Grid.left() + (Origin.x() - Grid.left()) % step.x(); x <= Grid.right();
             x += step.x())
            Painter.drawLine(x, Grid.top(), x, Grid.bottom());
        for (int y = Grid.top() + (Origin.y() - Grid.top()) % step.y(); y <= Grid.bottom();
             y += step.y())
            Painter.drawLine(Grid.left(), y, Grid.right(), y);
    }
    Painter.setPen(Qt::black);
    Painter.drawLine(Origin.x(), Grid.top(), Origin.x(), Grid.bottom());
    Painter.drawLine(Grid.left(), Origin.y(), Grid.right(), Origin.y());
}

} // namespace

TContactSheet::TContactSheet(const TViraGlyphbook &Glyphbook, const QList<TCheckFinding> &Findings,
                             const QString &ProjectFile, const QString &Language)
    : FProjectFile(ProjectFile), FLanguage(Language), FPictures(kPictureCacheBytes)
{
    for (const TViraSymbolPtr &symbol : Glyphbook.Symbols)
        FSymbols.append(symbol.get());
    FFindings.resize(FSymbols.size());
    for (const TCheckFinding &finding : Findings)
        if (finding.Symbol >= 0 && finding.Symbol < FSymbols.size()) {
            FFindings[finding.Symbol].append(finding);
            ++FFindingCount;
        }
}

QPoint TContactSheet::CellOrigin()
{
    return {kOriginX, kHeaderHeight + kOriginY};
}

int TContactSheet::PageCount() const
{
    return std::max<int>(1, (FSymbols.size() + CellsPerPage - 1) / CellsPerPage);
}

QImage TContactSheet::Picture(const QString &StoredPath) const
{
    const QString path = ResolveImagePath(StoredPath, FProjectFile);
    if (const QImage *cached = FPictures.object(path))
        return *cached;
    const QImage picture = ReadPicture(path);
    FPictures.insert(path, new QImage(picture), std::max<qsizetype>(1, picture.sizeInBytes()));
    return picture;
}

QString TContactSheet::ExampleText(const TViraSymbol &Symbol) const
{
    const QString name = FLanguage.isEmpty() ? QString() : Symbol.FindName(FLanguage);
    return name.isEmpty() ? Symbol.Identifier : name;
}

QImage TContactSheet::Cell(int Index, bool ListFindings) const
{
    const TViraSymbol &symbol = *FSymbols.at(Index);
    const QList<TCheckFinding> &findings = FFindings.at(Index);
    const TMarks marks = marksOf(symbol, findings);
    const int listed =
        ListFindings ? int(std::min<qsizetype>(findings.size(), kListedFindings + 1)) : 0;

    const QRect header(0, 0, kWidth, kHeaderHeight);
    const QRect grid(0, kHeaderHeight, kWidth, kGridHeight);
    const int statesTop = grid.bottom() + 1 + kPadding;
    const int shown = shownStates(symbol);
    const bool statesLeftOut = shown < symbol.StateImages.size();
    const int findingsTop = statesTop + (shown + kTilesPerRow - 1) / kTilesPerRow * kTileHeight +
                            (statesLeftOut ? kFindingLine : 0);
    const int height = findingsTop + listed * kFindingLine + kPadding;

    QImage image(kWidth, height, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::TextAntialiasing);

    // The header: position, identifier, and a red dot when anything was found.
    painter.setFont(smallFont(11, true));
    const QFontMetrics headerMetrics(painter.font());
    QString title = QString::number(Index + 1) + QStringLiteral("  ") + symbol.Identifier;
    if (!symbol.Symbol)
        title += QStringLiteral("  (plain image)");
    painter.setPen(marks.Identifier ? kMarkRed : QColor(Qt::black));
    painter.drawText(header.adjusted(kPadding, 0, -16, 0), Qt::AlignVCenter | Qt::AlignLeft,
                     headerMetrics.elidedText(title, Qt::ElideRight, kWidth - 16 - kPadding));
    if (marks.Any) {
        painter.save();
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(Qt::NoPen);
        painter.setBrush(kMarkRed);
        painter.drawEllipse(QPoint(kWidth - 9, kHeaderHeight / 2), 5, 5);
        painter.restore();
    }

    // The grid with the picture placed by its anchor, as the preview places it.
    const QPoint origin = CellOrigin();
    drawGrid(painter, grid, origin);
    painter.save();
    painter.setClipRect(grid);
    const TSymbolPlacement at = PlaceSymbol(symbol, origin.x(), origin.y());
    const QPoint pictureAt(DrawableCoordinate(at.PictureLeft), DrawableCoordinate(at.PictureTop));
    const QImage picture = Picture(symbol.Image);
    QRect pictureRect(pictureAt, picture.isNull() ? QSize(24, 24) : picture.size());
    if (picture.isNull())
        drawNoPicture(painter, pictureRect);
    else
        painter.drawImage(pictureAt, picture);
    if (marks.Picture)
        markRect(painter, pictureRect);

    drawDotted(painter, Qt::blue, QPoint(grid.left(), origin.y()),
               QPoint(grid.right(), origin.y()));
    drawDotted(painter, Qt::blue, QPoint(origin.x(), grid.top()),
               QPoint(origin.x(), grid.bottom()));
    if (at.ShowsText) {
        // Lines of a name centred on each other, as in the preview's label, whose first base
        // line lies on the text point.
        QString text = ExampleText(symbol);
        text.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(u'\r', u'\n');
        const QStringList lines = text.split(u'\n');
        painter.setFont(ExampleTextFont());
        const QFontMetrics metrics(painter.font());
        int textWidth = 0;
        for (const QString &line : lines)
            textWidth = std::max(textWidth, metrics.horizontalAdvance(line));
        // An alignment the preview does not know leaves the text where "Right" puts it.
        const int left = DrawableCoordinate(
            AlignedLeft(symbol.TextAlign, at.TextX, textWidth).value_or(at.TextX));
        const int baseLine = DrawableCoordinate(at.TextY);
        painter.setPen(Qt::black);
        for (int i = 0; i < lines.size(); ++i)
            painter.drawText(QPoint(left + (textWidth - metrics.horizontalAdvance(lines[i])) / 2,
                                    baseLine + i * metrics.lineSpacing()),
                             lines[i]);
        if (marks.Name)
            markRect(painter, QRect(left, baseLine - metrics.ascent(), textWidth,
                                    metrics.height() + (lines.size() - 1) * metrics.lineSpacing()));

        const int textX = DrawableCoordinate(at.TextX);
        const int crossLeft =
            DrawableCoordinate(AlignedLeft(symbol.TextAlign, at.TextX, 40).value_or(at.TextX));
        drawDotted(painter, Qt::magenta, QPoint(crossLeft, baseLine),
                   QPoint(crossLeft + 39, baseLine));
        drawDotted(painter, Qt::magenta, QPoint(textX, baseLine - 8), QPoint(textX, baseLine + 7));
    }
    painter.restore();
    painter.setPen(kStrongGridLine);
    painter.drawRect(grid.adjusted(0, 0, -1, -1));

    // The state pictures, each over its value.
    painter.setFont(smallFont(10));
    const QFontMetrics valueMetrics(painter.font());
    for (int i = 0; i < shown; ++i) {
        const TStringPairs &state = symbol.StateImages.at(i);
        const QRect tile((i % kTilesPerRow) * kTileWidth,
                         statesTop + (i / kTilesPerRow) * kTileHeight, kTileWidth, kTileHeight);
        const QRect box(tile.left() + (kTileWidth - kThumb) / 2, tile.top() + 2, kThumb, kThumb);
        const QImage statePicture = Picture(state.Value);
        if (statePicture.isNull()) {
            drawNoPicture(painter, box.adjusted(8, 8, -8, -8));
        } else {
            const QImage thumb = statePicture.width() > kThumb || statePicture.height() > kThumb
                                     ? statePicture.scaled(kThumb, kThumb, Qt::KeepAspectRatio,
                                                           Qt::SmoothTransformation)
                                     : statePicture;
            painter.drawImage(box.left() + (kThumb - thumb.width()) / 2,
                              box.top() + (kThumb - thumb.height()) / 2, thumb);
        }
        const bool marked = marks.States.at(i);
        if (marked)
            markRect(painter, box);
        painter.setPen(marked ? kMarkRed : QColor(Qt::black));
        painter.drawText(QRect(tile.left(), box.bottom() + 3, kTileWidth, 13), Qt::AlignCenter,
                         valueMetrics.elidedText(state.Name, Qt::ElideRight, kTileWidth - 2));
    }
    if (statesLeftOut) {
        const bool marked = std::find(marks.States.cbegin() + shown, marks.States.cend(), true) !=
                            marks.States.cend();
        painter.setPen(marked ? kMarkRed : QColor(Qt::black));
        painter.drawText(
            QRect(kPadding, findingsTop - kFindingLine, kWidth - 2 * kPadding, kFindingLine),
            Qt::AlignVCenter | Qt::AlignLeft,
            QStringLiteral("... and %1 more state images").arg(symbol.StateImages.size() - shown));
    }

    // Pages have no other place for what was found.
    painter.setPen(kMarkRed);
    for (int i = 0; i < listed; ++i) {
        const QString line = i < kListedFindings
                                 ? findings.at(i).Message
                                 : QStringLiteral("... and %1 more").arg(findings.size() - i);
        painter.drawText(
            QRect(kPadding, findingsTop + i * kFindingLine, kWidth - 2 * kPadding, kFindingLine),
            Qt::AlignVCenter | Qt::AlignLeft,
            valueMetrics.elidedText(line, Qt::ElideRight, kWidth - 2 * kPadding));
    }

    painter.setPen(marks.Any ? QPen(kMarkRed, 2) : QPen(kStrongGridLine));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(marks.Any ? image.rect().adjusted(1, 1, -1, -1)
                               : image.rect().adjusted(0, 0, -1, -1));
    return image;
}

QString TContactSheet::Title() const
{
    auto counted = [](qsizetype count, const char *one, const char *many) {
        return QString::number(count) + QLatin1Char(' ') + QLatin1String(count == 1 ? one : many);
    };
    QString title = QFileInfo(FProjectFile).fileName() + QStringLiteral(": ") +
                    counted(FSymbols.size(), "symbol", "symbols") + QStringLiteral(", ") +
                    counted(FFindingCount, "finding", "findings");
    if (!FLanguage.isEmpty())
        title += QStringLiteral(", names in \"%1\"").arg(FLanguage);
    return title;
}

QImage TContactSheet::Page(int PageIndex) const
{
    const int first = PageIndex * CellsPerPage;
    const int end = std::min<int>(FSymbols.size(), first + CellsPerPage);
    QList<QImage> cells;
    for (int i = first; i < end; ++i)
        cells.append(Cell(i, true));

    // Each row is as high as its highest cell.
    QList<int> rowTops{kPageMargin + kPageTitle};
    for (int i = 0; i < cells.size(); i += kPageColumns) {
        int rowHeight = 0;
        for (int j = i; j < std::min<int>(cells.size(), i + kPageColumns); ++j)
            rowHeight = std::max(rowHeight, cells.at(j).height());
        rowTops.append(rowTops.last() + rowHeight + kPageGap);
    }
    const int width = 2 * kPageMargin + kPageColumns * kWidth + (kPageColumns - 1) * kPageGap;
    const int height = std::max(rowTops.last(), kPageMargin + kPageTitle + 40) + kPageMargin;

    QImage page(width, height, QImage::Format_RGB32);
    page.fill(QColor(240, 240, 240));
    QPainter painter(&page);
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.setFont(smallFont(14, true));
    QString title = Title();
    if (PageCount() > 1)
        title += QStringLiteral(" (page %1 of %2, symbols %3 to %4)")
                     .arg(PageIndex + 1)
                     .arg(PageCount())
                     .arg(first + 1)
                     .arg(end);
    painter.drawText(QRect(kPageMargin, kPageMargin, width - 2 * kPageMargin, kPageTitle),
                     Qt::AlignLeft | Qt::AlignTop, title);
    if (cells.isEmpty()) {
        painter.setFont(smallFont(12));
        painter.drawText(QPoint(kPageMargin, kPageMargin + kPageTitle + 16),
                         QStringLiteral("The library has no symbols."));
    }
    for (int i = 0; i < cells.size(); ++i)
        painter.drawImage(kPageMargin + (i % kPageColumns) * (kWidth + kPageGap),
                          rowTops.at(i / kPageColumns), cells.at(i));
    return page;
}

QByteArray TContactSheet::Html() const
{
    QString html =
        QStringLiteral("<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\">\n"
                       "<title>%1</title>\n<style>\n"
                       "body{font-family:sans-serif;margin:16px;background:#f0f0f0}\n"
                       "h1{font-size:18px}\n"
                       ".sheet{display:flex;flex-wrap:wrap;gap:12px;align-items:flex-start}\n"
                       "figure{margin:0;width:%2px}\n"
                       "figure img{display:block}\n"
                       "ul.findings{color:#d00000;font-size:12px;margin:4px 0 0;"
                       "padding-left:16px}\n"
                       "</style>\n</head>\n<body>\n<h1>%1</h1>\n<div class=\"sheet\">\n")
            .arg(Title().toHtmlEscaped(), QString::number(kWidth));
    if (FSymbols.isEmpty())
        html += QStringLiteral("<p>The library has no symbols.</p>\n");
    for (int i = 0; i < FSymbols.size(); ++i) {
        const QImage cell = Cell(i, false);
        const QList<TCheckFinding> &findings = FFindings.at(i);
        html += QStringLiteral("<figure id=\"symbol-%1\"%2><img width=\"%3\" height=\"%4\" "
                               "alt=\"%5\" src=\"data:image/png;base64,%6\">")
                    .arg(QString::number(i + 1),
                         findings.isEmpty() ? QString() : QStringLiteral(" class=\"found\""),
                         QString::number(cell.width()), QString::number(cell.height()),
                         FSymbols.at(i)->Identifier.toHtmlEscaped(),
                         QString::fromLatin1(PngFile(cell).toBase64()));
        if (!findings.isEmpty()) {
            html += QStringLiteral("<ul class=\"findings\">");
            for (const TCheckFinding &finding : findings)
                html += QStringLiteral("<li>%1</li>").arg(finding.Message.toHtmlEscaped());
            html += QStringLiteral("</ul>");
        }
        html += QStringLiteral("</figure>\n");
    }
    html += QStringLiteral("</div>\n</body>\n</html>\n");
    return html.toUtf8();
}

QStringList SheetPageFiles(const QString &Target, int PageCount)
{
    if (PageCount <= 1)
        return {Target};
    const QFileInfo target(Target);
    const QString suffix = target.suffix();
    const QString stem = Target.left(Target.size() - suffix.size() - (suffix.isEmpty() ? 0 : 1));
    QStringList files;
    for (int page = 1; page <= PageCount; ++page)
        files.append(stem + QLatin1Char('-') +
                     QStringLiteral("%1").arg(page, 3, 10, QLatin1Char('0')) + QLatin1Char('.') +
                     (suffix.isEmpty() ? QStringLiteral("png") : suffix));
    return files;
}

QByteArray PngFile(const QImage &Image)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    Image.convertToFormat(QImage::Format_RGB32).save(&buffer, "PNG");
    return bytes;
}
