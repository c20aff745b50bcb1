#include "render/ContactSheet.h"

#include "model/ImagePath.h"
#include "model/SymbolPlacement.h"
#include "model/ViraSymbol.h"
#include "render/ElideRight.h"
#include "render/ExampleTextFont.h"
#include "render/OrderedWork.h"
#include "render/PictureCache.h"
#include "render/PngFile.h"

#include <QFileInfo>
#include <QFontMetrics>
#include <QHash>
#include <QPainter>
#include <QUrl>

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
constexpr int kThumb = TContactSheet::ThumbnailSide;
constexpr int kTileWidth = 48;
constexpr int kTileHeight = kThumb + 18;
constexpr int kTilesPerRow = kWidth / kTileWidth;
constexpr int kFindingLine = 13;
constexpr int kListedFindings = 5;
constexpr int kPadding = 4;
// A cell shows this many rows of state pictures at most, then says how many more there are.
constexpr int kMaxStateRows = 4;
// Enough for the pictures of thousands of symbols of icon size; a library of large pictures
// reads some twice rather than holding them all.
constexpr qsizetype kPictureCacheBytes = 128 * 1024 * 1024;
// A unit of drawing work in HTML; it divides CellsPerHtmlPage, so no unit spans two pages.
constexpr int kCellsPerUnit = 20;
static_assert(TContactSheet::CellsPerHtmlPage % kCellsPerUnit == 0);

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

QRect gridRect()
{
    return {0, kHeaderHeight, kWidth, kGridHeight};
}

/// Where the picture's top left corner lands in the cell.
QPoint pictureCorner(const TSymbolPlacement &At)
{
    return {DrawableCoordinate(At.PictureLeft), DrawableCoordinate(At.PictureTop)};
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

/// The grid of every cell, drawn once: its lines took 40% of the time of drawing a cell.
const QImage &gridPicture()
{
    static const QImage picture = [] {
        const QRect grid = gridRect();
        QImage image(kWidth, grid.bottom() + 1, QImage::Format_RGB32);
        QPainter painter(&image);
        drawGrid(painter, grid, TContactSheet::CellOrigin());
        painter.end();
        return image.copy(grid);
    }();
    return picture;
}

} // namespace

TContactSheet::TContactSheet(const TViraGlyphbook &Glyphbook, const QList<TCheckFinding> &Findings,
                             const QString &ProjectFile, TSheetOptions Options,
                             std::shared_ptr<TPictureCache> Pictures)
    : FProjectFile(ProjectFile), FOptions(std::move(Options)),
      FPictures(Pictures ? std::move(Pictures) : MakePictureCache())
{
    for (const TViraSymbolPtr &symbol : Glyphbook.Symbols)
        FSymbols.append(symbol.get());
    FFindings.resize(FSymbols.size());
    for (const TCheckFinding &finding : Findings)
        if (finding.Symbol >= 0 && finding.Symbol < FSymbols.size()) {
            FFindings[finding.Symbol].append(finding);
            ++FFindingCount;
        }
    for (int i = 0; i < FSymbols.size(); ++i)
        if (!FOptions.FindingsOnly || !FFindings.at(i).isEmpty())
            FDrawn.append(i);
}

TContactSheet::~TContactSheet() = default;

std::shared_ptr<TPictureCache> TContactSheet::MakePictureCache()
{
    return std::make_shared<TPictureCache>(kPictureCacheBytes, kThumb);
}

QStringList TContactSheet::PlanPictures(const TViraGlyphbook &Glyphbook, const QString &ProjectFile,
                                        TPictureCache &Pictures)
{
    // Each file once, with every way the cells show it, in the order they first show it.
    struct TUses {
        QList<QRect> Clips;
        bool Thumbnail = false;
    };
    QStringList paths;
    QHash<QString, TUses> uses;
    const auto usesOf = [&](const QString &Stored) -> TUses & {
        const QString path = ResolveImagePath(Stored, ProjectFile);
        auto found = uses.find(path);
        if (found == uses.end()) {
            paths.append(path);
            found = uses.insert(path, {});
        }
        return *found;
    };
    const QPoint origin = CellOrigin();
    for (const TViraSymbolPtr &symbol : Glyphbook.Symbols) {
        const QRect clip =
            gridRect().translated(-pictureCorner(PlaceSymbol(*symbol, origin.x(), origin.y())));
        TUses &main = usesOf(symbol->Image);
        if (!main.Clips.contains(clip))
            main.Clips.append(clip);
        // The check reads the state pictures that a cell leaves out too.
        for (int i = 0; i < symbol->StateImages.size(); ++i)
            usesOf(symbol->StateImages.at(i).Value).Thumbnail |= i < shownStates(*symbol);
    }
    for (const QString &path : std::as_const(paths))
        Pictures.Plan(path, uses.value(path).Clips, uses.value(path).Thumbnail);
    return paths;
}

void TContactSheet::PreparePictures(const QStringList &Paths, TPictureCache &Pictures, int Threads,
                                    const std::function<void(int Done, int Total)> &Progress)
{
    // Small units: a file is a few kilobytes, and a large one should not hold up the rest.
    constexpr int kPerUnit = 16;
    const int total = int(Paths.size());
    RunInOrder<int>((total + kPerUnit - 1) / kPerUnit, Threads,
                    [&](int Unit) {
                        for (int i = Unit * kPerUnit; i < std::min(total, (Unit + 1) * kPerUnit);
                             ++i)
                            Pictures.Prepare(Paths.at(i));
                        return 0;
                    },
                    [&](int Unit, int &) {
                        if (Progress)
                            Progress(std::min(total, (Unit + 1) * kPerUnit), total);
                    });
}

QPoint TContactSheet::CellOrigin()
{
    return {kOriginX, kHeaderHeight + kOriginY};
}

int TContactSheet::PageCount() const
{
    return std::max<int>(1, (DrawnCount() + CellsPerPage - 1) / CellsPerPage);
}

QString TContactSheet::ExampleText(const TViraSymbol &Symbol) const
{
    const QString name =
        FOptions.Language.isEmpty() ? QString() : Symbol.FindName(FOptions.Language);
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
    const QRect grid = gridRect();
    const int statesTop = grid.bottom() + 1 + kPadding;
    const int shown = shownStates(symbol);
    const bool statesLeftOut = shown < symbol.StateImages.size();
    const int findingsTop = statesTop + (shown + kTilesPerRow - 1) / kTilesPerRow * kTileHeight +
                            (statesLeftOut ? kFindingLine : 0);
    const int height = findingsTop + listed * kFindingLine + kPadding;

    // Opaque: written as it is, with no conversion for the PNG file.
    QImage image(kWidth, height, QImage::Format_RGB32);
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
                     ElideRight(headerMetrics, title, kWidth - 16 - kPadding));
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
    painter.drawImage(grid.topLeft(), gridPicture());
    painter.save();
    painter.setClipRect(grid);
    const TSymbolPlacement at = PlaceSymbol(symbol, origin.x(), origin.y());
    const QPoint pictureAt = pictureCorner(at);
    // Only what the grid shows of the picture is read from the cache.
    const TPictureCache::TPart picture =
        FPictures->Part(ResolveImagePath(symbol.Image, FProjectFile), grid.translated(-pictureAt));
    const QRect pictureRect(pictureAt, picture.Size.isEmpty() ? QSize(24, 24) : picture.Size);
    if (picture.Size.isEmpty())
        drawNoPicture(painter, pictureRect);
    else
        painter.drawImage(pictureAt + picture.Offset, picture.Image);
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
        const QImage thumb = FPictures->Thumbnail(ResolveImagePath(state.Value, FProjectFile));
        if (thumb.isNull()) {
            drawNoPicture(painter, box.adjusted(8, 8, -8, -8));
        } else {
            painter.drawImage(box.left() + (kThumb - thumb.width()) / 2,
                              box.top() + (kThumb - thumb.height()) / 2, thumb);
        }
        const bool marked = marks.States.at(i);
        if (marked)
            markRect(painter, box);
        painter.setPen(marked ? kMarkRed : QColor(Qt::black));
        painter.drawText(QRect(tile.left(), box.bottom() + 3, kTileWidth, 13), Qt::AlignCenter,
                         ElideRight(valueMetrics, state.Name, kTileWidth - 2));
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
            ElideRight(valueMetrics, line, kWidth - 2 * kPadding));
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
    if (FOptions.FindingsOnly)
        title += QStringLiteral(", drawn: ") +
                 counted(FDrawn.size(), "symbol with findings", "symbols with findings");
    if (!FOptions.Language.isEmpty())
        title += QStringLiteral(", names in \"%1\"").arg(FOptions.Language);
    return title;
}

QString TContactSheet::NoCells() const
{
    return FSymbols.isEmpty() ? QStringLiteral("The library has no symbols.")
                              : QStringLiteral("No symbol has findings: there is nothing to draw.");
}

QImage TContactSheet::Page(int PageIndex) const
{
    const int first = PageIndex * CellsPerPage;
    const int end = std::min<int>(DrawnCount(), first + CellsPerPage);
    QList<QImage> cells;
    for (int i = first; i < end; ++i)
        cells.append(Cell(FDrawn.at(i), true));

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
                     .arg(FDrawn.at(first) + 1)
                     .arg(FDrawn.at(end - 1) + 1);
    painter.drawText(QRect(kPageMargin, kPageMargin, width - 2 * kPageMargin, kPageTitle),
                     Qt::AlignLeft | Qt::AlignTop, title);
    if (cells.isEmpty()) {
        painter.setFont(smallFont(12));
        painter.drawText(QPoint(kPageMargin, kPageMargin + kPageTitle + 16), NoCells());
    }
    for (int i = 0; i < cells.size(); ++i)
        painter.drawImage(kPageMargin + (i % kPageColumns) * (kWidth + kPageGap),
                          rowTops.at(i / kPageColumns), cells.at(i));
    return page;
}

namespace
{

QString htmlHead(const QString &Title)
{
    return QStringLiteral("<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\">\n"
                          "<title>%1</title>\n<style>\n"
                          "body{font-family:sans-serif;margin:16px;background:#f0f0f0}\n"
                          "h1{font-size:18px}\n"
                          "h2{font-size:15px}\n"
                          ".sheet{display:flex;flex-wrap:wrap;gap:12px;align-items:flex-start}\n"
                          "figure{margin:0;width:%2px}\n"
                          "figure img{display:block}\n"
                          "ul.findings{color:#d00000;font-size:12px;margin:4px 0 0;"
                          "padding-left:16px}\n"
                          "ul.index{font-size:13px}\n"
                          "ul.index a{color:#d00000}\n"
                          "</style>\n</head>\n<body>\n<h1>%1</h1>\n")
        .arg(Title.toHtmlEscaped(), QString::number(kWidth));
}

const QString kHtmlEnd = QStringLiteral("</body>\n</html>\n");

/// A link to a file beside the one that holds it, as an attribute value.
QString linkTo(const QString &File)
{
    return QString::fromLatin1(QUrl::toPercentEncoding(QFileInfo(File).fileName())).toHtmlEscaped();
}

QString cellId(int Index)
{
    return QStringLiteral("symbol-%1").arg(Index + 1);
}

/// Collects a sheet of one file in memory.
class TBufferSink : public TSheetSink
{
public:
    void Begin(int) override {}
    void Write(const QByteArray &Bytes) override { FBytes += Bytes; }
    void End() override {}
    QByteArray FBytes;
};

} // namespace

QByteArray TContactSheet::Figures(int First, int End) const
{
    // Bytes, not text: the inlined pictures are most of a sheet.
    QByteArray html;
    for (int k = First; k < End; ++k) {
        const int i = FDrawn.at(k);
        const QImage cell = Cell(i, false);
        const QList<TCheckFinding> &findings = FFindings.at(i);
        html +=
            QStringLiteral("<figure id=\"%1\"%2><img width=\"%3\" height=\"%4\" alt=\"%5\" ")
                .arg(cellId(i), findings.isEmpty() ? QString() : QStringLiteral(" class=\"found\""),
                     QString::number(cell.width()), QString::number(cell.height()),
                     FSymbols.at(i)->Identifier.toHtmlEscaped())
                .toUtf8();
        html += "src=\"data:image/png;base64,";
        html += PngFile(cell).toBase64();
        html += "\">";
        if (!findings.isEmpty()) {
            QString list = QStringLiteral("<ul class=\"findings\">");
            for (const TCheckFinding &finding : findings)
                list += QStringLiteral("<li>%1</li>").arg(finding.Message.toHtmlEscaped());
            html += (list + QStringLiteral("</ul>")).toUtf8();
        }
        html += "</figure>\n";
    }
    return html;
}

QByteArray TContactSheet::FindingsList(const std::function<QByteArray(int Drawn)> &Href) const
{
    if (FFindingCount == 0)
        return "<p>Nothing was found.</p>\n";
    // Bytes appended in place: made of text and arguments, the index of the icon theme's 26,688
    // findings took 0.4 s on one core after the cells.
    QByteArray html = "<h2>Findings</h2>\n<ul class=\"index\">\n";
    html.reserve(qsizetype(FFindingCount) * 160);
    for (int k = 0; k < FDrawn.size(); ++k)
        for (const TCheckFinding &finding : FFindings.at(FDrawn.at(k))) {
            html += "<li><a href=\"";
            html += Href(k);
            html += "\">";
            html += FindingLine(finding).toHtmlEscaped().toUtf8();
            html += "</a></li>\n";
        }
    html += "</ul>\n";
    return html;
}

int TContactSheet::HtmlPageCount() const
{
    if (DrawnCount() <= CellsPerHtmlPage)
        return 0;
    return (DrawnCount() + CellsPerHtmlPage - 1) / CellsPerHtmlPage;
}

QStringList TContactSheet::Files(const QString &Target, TSheetFormat Format) const
{
    if (Format == TSheetFormat::Png)
        return SheetPageFiles(Target, PageCount());
    const int pages = HtmlPageCount();
    return pages == 0 ? QStringList{Target} : QStringList{Target} + SheetPageFiles(Target, pages);
}

void TContactSheet::Write(const QStringList &Files, TSheetFormat Format, TSheetSink &Sink,
                          const std::function<void(int Done, int Total)> &Progress) const
{
    if (Format == TSheetFormat::Html) {
        WriteHtml(Files, HtmlPageCount() == 0, Sink, Progress);
        return;
    }
    Q_ASSERT(Files.size() == PageCount());
    RunInOrder<QByteArray>(
        PageCount(), FOptions.Threads, [this](int Page) { return PngFile(this->Page(Page)); },
        [&](int Page, QByteArray &Bytes) {
            Sink.Begin(Page);
            Sink.Write(Bytes);
            Sink.End();
            if (Progress)
                Progress(std::min(DrawnCount(), (Page + 1) * CellsPerPage), DrawnCount());
        });
}

void TContactSheet::WriteHtml(const QStringList &Files, bool OneFile, TSheetSink &Sink,
                              const std::function<void(int, int)> &Progress) const
{
    const int pages = OneFile ? 0 : HtmlPageCount();
    Q_ASSERT(Files.size() == 1 + pages);
    const int drawn = DrawnCount();
    const QString title = Title();
    const auto pageOf = [](int Drawn) { return Drawn / CellsPerHtmlPage; };
    const QString sheetStart = QStringLiteral("<div class=\"sheet\">\n");
    const QString sheetEnd = QStringLiteral("</div>\n");

    // One file: the findings link into it. Else each page is a file of its own, begun with its
    // first unit and ended with its last, and the index comes last.
    if (pages == 0) {
        Sink.Begin(0);
        QByteArray head =
            htmlHead(title).toUtf8() +
            FindingsList([&](int Drawn) { return "#" + cellId(FDrawn.at(Drawn)).toUtf8(); }) +
            sheetStart.toUtf8();
        if (drawn == 0)
            head += QStringLiteral("<p>%1</p>\n").arg(NoCells()).toUtf8();
        Sink.Write(head);
    }
    const auto pageHead = [&](int Page) {
        const int first = Page * CellsPerHtmlPage;
        const int last = std::min(drawn, first + CellsPerHtmlPage) - 1;
        QString head = htmlHead(QStringLiteral("%1 (page %2 of %3, symbols %4 to %5)")
                                    .arg(title)
                                    .arg(Page + 1)
                                    .arg(pages)
                                    .arg(FDrawn.at(first) + 1)
                                    .arg(FDrawn.at(last) + 1));
        head += QStringLiteral("<p><a href=\"%1\">Index and findings</a>").arg(linkTo(Files[0]));
        if (Page > 0)
            head += QStringLiteral(" | <a href=\"%1\">Previous page</a>").arg(linkTo(Files[Page]));
        if (Page + 1 < pages)
            head += QStringLiteral(" | <a href=\"%1\">Next page</a>").arg(linkTo(Files[Page + 2]));
        return head + QStringLiteral("</p>\n") + sheetStart;
    };

    const int units = (drawn + kCellsPerUnit - 1) / kCellsPerUnit;
    RunInOrder<QByteArray>(
        units, FOptions.Threads,
        [&](int Unit) {
            return Figures(Unit * kCellsPerUnit, std::min(drawn, (Unit + 1) * kCellsPerUnit));
        },
        [&](int Unit, QByteArray &Figures) {
            const int first = Unit * kCellsPerUnit;
            const int end = std::min(drawn, first + kCellsPerUnit);
            const int page = pageOf(first);
            if (pages > 0 && first % CellsPerHtmlPage == 0) {
                Sink.Begin(page + 1);
                Sink.Write(pageHead(page).toUtf8());
            }
            Sink.Write(Figures);
            if (pages > 0 && (end == drawn || end % CellsPerHtmlPage == 0)) {
                Sink.Write((sheetEnd + kHtmlEnd).toUtf8());
                Sink.End();
            }
            if (Progress)
                Progress(end, drawn);
        });

    if (pages == 0) {
        Sink.Write((sheetEnd + kHtmlEnd).toUtf8());
        Sink.End();
        return;
    }
    QString index = htmlHead(title) + QStringLiteral("<h2>Pages</h2>\n<ul>\n");
    QList<QByteArray> pageLinks;
    for (int page = 0; page < pages; ++page) {
        const int first = page * CellsPerHtmlPage;
        const int last = std::min(drawn, first + CellsPerHtmlPage) - 1;
        const QString link = linkTo(Files[page + 1]);
        index += QStringLiteral("<li><a href=\"%1\">Symbols %2 to %3</a></li>\n")
                     .arg(link)
                     .arg(FDrawn.at(first) + 1)
                     .arg(FDrawn.at(last) + 1);
        pageLinks.append(link.toUtf8() + '#');
    }
    index += QStringLiteral("</ul>\n");
    Sink.Begin(0);
    Sink.Write(index.toUtf8());
    Sink.Write(FindingsList([&](int Drawn) {
        return pageLinks.at(pageOf(Drawn)) + cellId(FDrawn.at(Drawn)).toUtf8();
    }));
    Sink.Write(kHtmlEnd.toUtf8());
    Sink.End();
}

QByteArray TContactSheet::Html() const
{
    TBufferSink sink;
    WriteHtml({QString()}, true, sink, {});
    return sink.FBytes;
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
