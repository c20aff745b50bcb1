// The contact sheet's drawing: placement by the preview's rules, red marks, pages and the HTML.
#include "model/ViraSymbol.h"
#include "render/ContactSheet.h"
#include "render/ElideRight.h"
#include "render/ExampleTextFont.h"
#include "render/PictureCache.h"
#include "render/PictureFiles.h"
#include "render/PngFile.h"
#include "tests/TestFiles.h"

#include <QBuffer>
#include <QFile>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QImage>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QThreadPool>

#include <atomic>
#include <cstring>

using namespace Qt::StringLiterals;

namespace
{

/// A picture whose every pixel has its own colour, so a pixel of a cell tells where it came from.
QRgb pictureColour(int x, int y)
{
    return qRgb(x * 20, y * 20, 100);
}

void writePicture(const QString &path, int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.setPixel(x, y, pictureColour(x, y));
    QVERIFY(image.save(path, "PNG"));
}

/// Keeps the files of a sheet in memory, by name.
class TMemorySink : public TSheetSink
{
public:
    explicit TMemorySink(const QStringList &Names) : FNames(Names) {}
    void Begin(int File) override
    {
        QVERIFY2(!Files.contains(FNames.at(File)), "every file is written once");
        FCurrent = FNames.at(File);
        Files.insert(FCurrent, {});
    }
    void Write(const QByteArray &Bytes) override { Files[FCurrent] += Bytes; }
    void End() override { FCurrent.clear(); }

    QMap<QString, QByteArray> Files;

private:
    QStringList FNames;
    QString FCurrent;
};

QStringList captures(const QByteArray &Html, const QString &Pattern)
{
    QStringList found;
    for (const auto &match : QRegularExpression(Pattern).globalMatch(QString::fromUtf8(Html)))
        found << match.captured(1);
    return found;
}

bool isInk(QRgb pixel)
{
    return std::max({qRed(pixel), qGreen(pixel), qBlue(pixel)}) < 100;
}

bool isMarkRed(QRgb pixel)
{
    return qRed(pixel) > 150 && qGreen(pixel) < 60 && qBlue(pixel) < 60;
}

/// The bounding box of the text's ink in the rows around a base line, leaving out the grid's
/// black axes.
QRect inkAround(const QImage &cell, int baseLine)
{
    const QPoint origin = TContactSheet::CellOrigin();
    QRect box;
    for (int y = baseLine - 14; y <= baseLine + 4; ++y)
        for (int x = 0; x < cell.width(); ++x)
            if (x != origin.x() && y != origin.y() && isInk(cell.pixel(x, y)))
                box |= QRect(x, y, 1, 1);
    return box;
}

int redPixels(const QImage &cell, const QRect &area)
{
    int count = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            count += isMarkRed(cell.pixel(x, y));
    return count;
}

} // namespace

class TestContactSheet : public QObject
{
    Q_OBJECT

    QTemporaryDir FDir;

    QString projectFile() const { return FDir.filePath(u"lib.js"_s); }

    TViraSymbolPtr addSymbol(TViraGlyphbook &book, const QString &identifier)
    {
        auto symbol = std::make_shared<TViraSymbol>();
        symbol->Identifier = identifier;
        symbol->Image = u"pic.png"_s;
        symbol->Symbol = true;
        symbol->Names = {{u"en"_s, u"WWW"_s}};
        book.Symbols.append(symbol);
        return symbol;
    }

private slots:
    void initTestCase() { writePicture(FDir.filePath(u"pic.png"_s), 9, 7); }

    void picturePlacedByItsAnchor_data()
    {
        QTest::addColumn<bool>("isSymbol");
        QTest::addColumn<QPoint>("anchor");
        // A plain image ignores its anchor: its corner lies on the origin.
        QTest::newRow("symbol") << true << QPoint(4, 3);
        QTest::newRow("anchor at the corner") << true << QPoint(0, 0);
        QTest::newRow("plain image") << false << QPoint(4, 3);
    }

    void picturePlacedByItsAnchor()
    {
        QFETCH(bool, isSymbol);
        QFETCH(QPoint, anchor);
        TViraGlyphbook book;
        TViraSymbol &symbol = *addSymbol(book, u"s"_s);
        symbol.Symbol = isSymbol;
        symbol.ImageX = anchor.x();
        symbol.ImageY = anchor.y();
        const QImage cell = TContactSheet(book, {}, projectFile(), {u"en"_s}).Cell(0, false);

        const QPoint landsOnOrigin = isSymbol ? anchor : QPoint(0, 0);
        // Off the crosses, which are drawn over the picture's origin row and column.
        for (const QPoint step : {QPoint(1, 1), QPoint(2, 1)}) {
            const QPoint inPicture = landsOnOrigin + step;
            QCOMPARE(cell.pixel(TContactSheet::CellOrigin() + step),
                     pictureColour(inPicture.x(), inPicture.y()));
        }
    }

    void exampleTextStandsAtTheTextPoint_data()
    {
        QTest::addColumn<int>("align");
        QTest::addColumn<QString>("language");
        QTest::addColumn<QString>("text");
        QTest::newRow("right of the point") << int(vstaRight) << u"en"_s << u"WWW"_s;
        QTest::newRow("centred on it") << int(vstaCenter) << u"en"_s << u"WWW"_s;
        QTest::newRow("left of it") << int(vstaLeft) << u"en"_s << u"WWW"_s;
        // What the settings editor stores for no alignment: drawn as "Right" puts it.
        QTest::newRow("no known alignment") << 255 << u"en"_s << u"WWW"_s;
        // No name in the language: the identifier, as a saved document fills it in.
        QTest::newRow("identifier for a missing name") << int(vstaRight) << u"sv"_s << u"MM"_s;
    }

    void exampleTextStandsAtTheTextPoint()
    {
        QFETCH(int, align);
        QFETCH(QString, language);
        QFETCH(QString, text);
        TViraGlyphbook book;
        TViraSymbol &symbol = *addSymbol(book, u"MM"_s);
        symbol.ImageX = 2;
        symbol.ImageY = 2;
        symbol.TextX = 62;
        symbol.TextY = 52;
        symbol.TextAlign = TVSTextAlign(align);
        const QImage cell = TContactSheet(book, {}, projectFile(), {language}).Cell(0, false);

        const QPoint point = TContactSheet::CellOrigin() + QPoint(60, 50);
        const QRect ink = inkAround(cell, point.y());
        QVERIFY(!ink.isEmpty());
        QVERIFY2(qAbs(ink.bottom() - (point.y() - 1)) <= 1, "the base line lies on the point");
        const int width = QFontMetrics(ExampleTextFont()).horizontalAdvance(text);
        QVERIFY2(qAbs(ink.width() - width) <= 3, "the whole text is drawn");
        switch (align) {
        case vstaCenter:
            QVERIFY2(qAbs(ink.center().x() - point.x()) <= 2,
                     qPrintable(QString::number(ink.center().x())));
            break;
        case vstaLeft:
            QVERIFY2(qAbs(ink.right() - point.x()) <= 2, qPrintable(QString::number(ink.right())));
            break;
        default:
            QVERIFY2(qAbs(ink.left() - point.x()) <= 2, qPrintable(QString::number(ink.left())));
        }
    }

    void findingsMarkedInRed_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<int>("state");
        QTest::addColumn<QString>("where");
        QTest::addColumn<int>("states");
        QTest::newRow("nothing found") << -1 << -1 << QString() << 2;
        QTest::newRow("main image") << int(TCheckKind::MissingImage) << -1 << u"grid"_s << 2;
        QTest::newRow("state image") << int(TCheckKind::UnreadablePicture) << 1 << u"states"_s << 2;
        QTest::newRow("state value") << int(TCheckKind::BadStateValue) << 0 << u"states"_s << 2;
        // Beyond the tiles a cell has room for: the line that counts them is red.
        QTest::newRow("state left out")
            << int(TCheckKind::BadStateValue) << 27 << u"states"_s << 30;
        QTest::newRow("missing name") << int(TCheckKind::MissingName) << -1 << u"grid"_s << 2;
        QTest::newRow("identifier")
            << int(TCheckKind::RepeatedIdentifier) << -1 << u"header"_s << 2;
    }

    void findingsMarkedInRed()
    {
        QFETCH(int, kind);
        QFETCH(int, state);
        QFETCH(QString, where);
        QFETCH(int, states);
        TViraGlyphbook book;
        TViraSymbol &symbol = *addSymbol(book, u"s"_s);
        for (int i = 1; i <= states; ++i)
            symbol.StateImages.append({QString::number(i), u"pic.png"_s});
        QList<TCheckFinding> findings;
        if (kind >= 0)
            findings.append({TCheckKind(kind), 0, u"s"_s, state, u"pic.png"_s, u"found it"_s});
        const TContactSheet sheet(book, findings, projectFile(), {u"en"_s});
        const QImage cell = sheet.Cell(0, false);

        // Inside the cell's border, which is red whenever anything was found.
        const QPoint origin = TContactSheet::CellOrigin();
        const QMap<QString, QRect> areas{
            {u"header"_s, QRect(2, 2, cell.width() - 20, origin.y() - 80 - 4)},
            {u"grid"_s, QRect(2, origin.y() - 78, cell.width() - 4, 156)},
            {u"states"_s,
             QRect(2, origin.y() + 84, cell.width() - 4, cell.height() - origin.y() - 88)}};
        for (auto area = areas.cbegin(); area != areas.cend(); ++area)
            QVERIFY2((redPixels(cell, area.value()) > 0) == (area.key() == where),
                     qPrintable(area.key()));
        QCOMPARE(redPixels(cell, cell.rect()) > 0, kind >= 0);

        // Pages list the messages under the cell; the HTML as text.
        QVERIFY(sheet.Cell(0, true).height() > cell.height() || kind < 0);
        QCOMPARE(sheet.Html().contains("<li>found it</li>"), kind >= 0);
    }

    void htmlIsSelfContained()
    {
        TViraGlyphbook book;
        addSymbol(book, u"<b>&\"x\""_s);
        addSymbol(book, u"plain"_s)->Image = u"missing.png"_s;
        const QList<TCheckFinding> findings{{TCheckKind::MissingImage, 1, u"plain"_s, -1,
                                             u"missing.png"_s,
                                             u"missing image file \"<missing>.png\""_s}};
        const QString html =
            QString::fromUtf8(TContactSheet(book, findings, projectFile(), {u"en"_s}).Html());

        QVERIFY(html.startsWith(u"<!DOCTYPE html>"_s));
        QVERIFY(html.contains(u"alt=\"&lt;b&gt;&amp;&quot;x&quot;\""_s));
        QVERIFY(html.contains(u"<li>missing image file &quot;&lt;missing&gt;.png&quot;</li>"_s));
        const QRegularExpression source(u"src=\"([^\"]*)\""_s);
        int pictures = 0;
        for (const auto &match : source.globalMatch(html)) {
            const QString url = match.captured(1);
            QVERIFY2(url.startsWith(u"data:image/png;base64,"_s), qPrintable(url.left(40)));
            const QImage cell =
                QImage::fromData(QByteArray::fromBase64(url.mid(22).toLatin1()), "PNG");
            QCOMPARE(cell.width(), TContactSheet::CellWidth);
            ++pictures;
        }
        QCOMPARE(pictures, 2);
        // The list of findings above the cells links to the one that has it.
        const QRegularExpression link(u"href=\"([^\"]*)\""_s);
        QStringList links;
        for (const auto &match : link.globalMatch(html))
            links << match.captured(1);
        QCOMPARE(links, QStringList{u"#symbol-2"_s});
        QVERIFY(html.contains(u"<figure id=\"symbol-2\""_s));

        const QString empty =
            QString::fromUtf8(TContactSheet(TViraGlyphbook(), {}, projectFile(), {}).Html());
        QVERIFY(empty.contains(u"The library has no symbols."_s));
    }

    void pages_data()
    {
        QTest::addColumn<int>("symbols");
        QTest::addColumn<QString>("target");
        QTest::addColumn<QStringList>("files");
        QTest::newRow("empty library") << 0 << u"out.png"_s << QStringList{u"out.png"_s};
        QTest::newRow("one page") << 30 << u"out.png"_s << QStringList{u"out.png"_s};
        QTest::newRow("two pages")
            << 31 << u"/a/out.png"_s << QStringList{u"/a/out-001.png"_s, u"/a/out-002.png"_s};
        QTest::newRow("suffix kept")
            << 61 << u"out.PNG"_s
            << QStringList{u"out-001.PNG"_s, u"out-002.PNG"_s, u"out-003.PNG"_s};
        QTest::newRow("dot in a folder")
            << 31 << u"/a.b/out"_s << QStringList{u"/a.b/out-001.png"_s, u"/a.b/out-002.png"_s};
    }

    void pages()
    {
        QFETCH(int, symbols);
        QFETCH(QString, target);
        QFETCH(QStringList, files);
        TViraGlyphbook book;
        for (int i = 0; i < symbols; ++i)
            addSymbol(book, u"s%1"_s.arg(i));
        const TContactSheet sheet(book, {}, projectFile(), {u"en"_s});
        QCOMPARE(SheetPageFiles(target, sheet.PageCount()), files);
        const QImage last = sheet.Page(sheet.PageCount() - 1);
        QVERIFY(last.width() > 5 * TContactSheet::CellWidth);
        QVERIFY(!last.isNull());
    }

    // A library of more cells than a file holds gets an index of its findings and pages beside
    // it; every link of every file leads to a cell or a file that is there.
    void htmlFiles_data()
    {
        QTest::addColumn<int>("symbols");
        QTest::addColumn<QList<int>>("found"); // the symbols with a finding
        QTest::addColumn<bool>("findingsOnly");
        QTest::addColumn<QStringList>("files");
        const QStringList one{u"out.html"_s};
        const QStringList paged{u"out.html"_s, u"out-001.html"_s, u"out-002.html"_s};
        QTest::newRow("small") << 3 << QList<int>{1} << false << one;
        QTest::newRow("as many as a file holds") << 500 << QList<int>{0, 499} << false << one;
        QTest::newRow("one more") << 501 << QList<int>{0, 499, 500} << false << paged;
        QTest::newRow("findings only") << 501 << QList<int>{7, 500} << true << one;
        QTest::newRow("findings only, none") << 4 << QList<int>{} << true << one;
    }

    void htmlFiles()
    {
        QFETCH(int, symbols);
        QFETCH(QList<int>, found);
        QFETCH(bool, findingsOnly);
        QFETCH(QStringList, files);
        TViraGlyphbook book;
        QList<TCheckFinding> findings;
        for (int i = 0; i < symbols; ++i)
            addSymbol(book, u"s%1"_s.arg(i));
        for (int i : found)
            findings.append({TCheckKind::MissingName, i, u"s%1"_s.arg(i), -1, QString(),
                             u"no name for s%1"_s.arg(i)});
        const TContactSheet sheet(book, findings, projectFile(), {u"en"_s, findingsOnly});
        QCOMPARE(
            sheet.Files(u"/a/out.html"_s, TSheetFormat::Html).replaceInStrings(u"/a/"_s, QString()),
            files);
        TMemorySink sink(files);
        sheet.Write(files, TSheetFormat::Html, sink);
        QCOMPARE(sink.Files.keys(), [&] {
            QStringList sorted = files;
            sorted.sort();
            return sorted;
        }());

        // Pages hold the cells in library order, as many as a file holds; the index none.
        QList<int> drawn;
        for (int i = 0; i < symbols; ++i)
            if (!findingsOnly || found.contains(i))
                drawn.append(i);
        QStringList ids;
        for (int i : drawn)
            ids << u"symbol-%1"_s.arg(i + 1);
        QStringList shown;
        for (int k = files.size() == 1 ? 0 : 1; k < files.size(); ++k) {
            const QStringList onPage = captures(sink.Files[files[k]], u"<figure id=\"([^\"]*)\""_s);
            QVERIFY(onPage.size() <= TContactSheet::CellsPerHtmlPage);
            shown += onPage;
        }
        QCOMPARE(shown, ids);
        if (drawn.isEmpty())
            QVERIFY(sink.Files[files[0]].contains("No symbol has findings"));

        // The first file lists every finding, each with a link to its cell.
        QStringList listed;
        for (const QString &file : files) {
            for (const QString &href : captures(sink.Files[file], u"href=\"([^\"]*)\""_s)) {
                const QString target = href.section(u'#', 0, 0);
                const QString id = href.section(u'#', 1);
                const QString into = target.isEmpty() ? file : target;
                QVERIFY2(sink.Files.contains(into), qPrintable(href));
                if (!id.isEmpty()) {
                    QVERIFY2(sink.Files[into].contains(u"id=\"%1\""_s.arg(id).toUtf8()),
                             qPrintable(href));
                    if (file == files[0])
                        listed << id;
                }
            }
        }
        QStringList expected;
        for (int i : found)
            expected << u"symbol-%1"_s.arg(i + 1);
        QCOMPARE(listed, expected);
    }

    void pngFindingsOnly()
    {
        TViraGlyphbook book;
        for (int i = 0; i < 40; ++i)
            addSymbol(book, u"s%1"_s.arg(i));
        const QList<TCheckFinding> findings{
            {TCheckKind::MissingName, 33, u"s33"_s, -1, QString(), u"no name"_s}};
        const TContactSheet all(book, findings, projectFile(), {u"en"_s});
        const TContactSheet found(book, findings, projectFile(), {u"en"_s, true});
        QCOMPARE(all.PageCount(), 2);
        QCOMPARE(found.PageCount(), 1);
        QCOMPARE(found.DrawnCount(), 1);
        // The one cell on the page is symbol 34's, where the whole sheet has it on page 2.
        const QImage page = found.Page(0);
        const QImage cell = all.Cell(33, true);
        const QPoint at(16, 16 + 28);
        QCOMPARE(page.copy(QRect(at, cell.size())), cell.convertToFormat(page.format()));
    }

    // A cell elides only the head of a long text: it must come out as Qt elides the whole.
    void elideRightAsQt_data()
    {
        QTest::addColumn<QString>("text");
        const QString finding =
            u"image name clashes with another image's, renamed when packed: \"/usr/share/icons/"
            u"theme/24x24/actions/action-unavailable-symbolic.png\" becomes "
            u"\"action-unavailable-symbolic~2.png\" (symbol 1 \"actions/unavailable/16\", state 2)"_s;
        QTest::newRow("a finding") << finding;
        QTest::newRow("short") << u"symbol 12"_s;
        QTest::newRow("narrow letters, more than measured fit") << u"il|.,"_s.repeated(60);
        QTest::newRow("narrow, then wide near the end of what is measured")
            << u"i"_s.repeated(70) + u"W"_s.repeated(100);
        QTest::newRow("marks of no width") << u"e"_s + QString(300, QChar(0x0301));
        QTest::newRow("right to left") << u"\u05e9\u05dc\u05d5\u05dd "_s.repeated(50);
        QTest::newRow("digits, then right to left")
            << u"1234 "_s.repeated(30) + u"\u05e9\u05dc\u05d5\u05dd "_s.repeated(30);
        QTest::newRow("pairs of surrogates") << u"\U0001F600\u4e2d\u6587 "_s.repeated(60);
        QTest::newRow("joined letters") << u"\u0633\u0644\u0627\u0645"_s.repeated(60);
        QTest::newRow("narrow, then joined letters")
            << u"i"_s.repeated(60) + u"\u0633\u0644\u0645"_s.repeated(40);
    }

    void elideRightAsQt()
    {
        QFETCH(QString, text);
        for (const int pixels : {10, 11}) {
            QFont font;
            font.setPixelSize(pixels);
            font.setBold(pixels == 11);
            const QFontMetrics metrics(font);
            // Every width a cell uses and all below: the cut falls at each place in turn.
            for (int width = 0; width <= 240; ++width)
                QCOMPARE(ElideRight(metrics, text, width),
                         metrics.elidedText(text, Qt::ElideRight, width));
        }
    }

    // The encoder is our own: every pixel must come back, whatever the picture's format.
    void pngFileKeepsEveryPixel_data()
    {
        QTest::addColumn<QImage>("image");
        QImage dot(1, 1, QImage::Format_RGB32);
        dot.fill(Qt::black);
        QImage noise(301, 203, QImage::Format_RGB32);
        const QByteArray bytes = sampleBytes(int(noise.sizeInBytes()), 5);
        std::memcpy(noise.bits(), bytes.constData(), size_t(bytes.size()));
        QImage translucent(7, 3, QImage::Format_ARGB32);
        for (int y = 0; y < 3; ++y)
            for (int x = 0; x < 7; ++x)
                translucent.setPixel(x, y, qRgba(x * 30, y * 80, 200, x * 36));
        // Long repeats at a row's distance, past the deflate window, then noise that does
        // not shrink: a sheet page's rows are 3,400 bytes and more.
        QImage lines(1500, 90, QImage::Format_RGB32);
        lines.fill(Qt::white);
        for (int y = 0; y < lines.height(); ++y)
            for (int x = 0; x < lines.width(); ++x)
                if (x % 10 == 0 || y % 10 == 0)
                    lines.setPixel(x, y, qRgb(232, 232, x % 80 == 0 ? 184 : 232));
        std::memcpy(lines.scanLine(60), bytes.constData(), size_t(lines.bytesPerLine()) * 30);
        QTest::newRow("one pixel") << dot;
        QTest::newRow("lines, then noise") << lines;
        QTest::newRow("noise, odd width") << noise;
        QTest::newRow("alpha dropped") << translucent;
        QTest::newRow("premultiplied")
            << translucent.convertToFormat(QImage::Format_ARGB32_Premultiplied);
        QTest::newRow("grey") << noise.convertToFormat(QImage::Format_Grayscale8);
    }

    void pngFileKeepsEveryPixel()
    {
        QFETCH(QImage, image);
        const QImage read = QImage::fromData(PngFile(image), "PNG");
        QVERIFY(!read.isNull());
        QVERIFY(!read.hasAlphaChannel());
        QCOMPARE(read.convertToFormat(QImage::Format_RGB32),
                 image.convertToFormat(QImage::Format_RGB32));
    }

    // Pictures are judged by their content, read whole from memory up to a size and from the
    // disk beyond it: both must find the same.
    void readPicture_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<qint64>("padTo"); // zeros after the bytes; sparse, so cheap
        QTest::addColumn<QSize>("size");   // empty: no picture
        QByteArray png;
        {
            QBuffer buffer(&png);
            buffer.open(QIODevice::WriteOnly);
            QImage(5, 3, QImage::Format_RGB32).save(&buffer, "PNG");
        }
        QByteArray jpeg;
        {
            QBuffer buffer(&jpeg);
            buffer.open(QIODevice::WriteOnly);
            QImage(4, 6, QImage::Format_RGB32).save(&buffer, "JPEG");
        }
        QTest::newRow("png") << u"a.png"_s << png << qint64(0) << QSize(5, 3);
        QTest::newRow("jpeg named .png") << u"b.png"_s << jpeg << qint64(0) << QSize(4, 6);
        QTest::newRow("cut short")
            << u"c.png"_s << png.left(png.size() - 20) << qint64(0) << QSize();
        QTest::newRow("no picture") << u"d.png"_s << QByteArray("hello") << qint64(0) << QSize();
        QTest::newRow("larger than is read whole")
            << u"e.png"_s << png << qint64(65 * 1024 * 1024) << QSize(5, 3);
    }

    void readPicture()
    {
        QFETCH(QString, name);
        QFETCH(QByteArray, bytes);
        QFETCH(qint64, padTo);
        QFETCH(QSize, size);
        const QString path = FDir.filePath(name);
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        if (padTo > 0)
            QVERIFY(file.resize(padTo));
        file.close();
        const QImage picture = ReadPicture(path);
        QCOMPARE(picture.isNull() ? QSize() : picture.size(), size);
        QCOMPARE(IsReadablePicture(path), !size.isEmpty());
        QVERIFY(file.remove());
    }

    void readPictureNotAFile()
    {
        QVERIFY(ReadPicture(FDir.path()).isNull());
        QVERIFY(ReadPicture(FDir.filePath(u"missing.png"_s)).isNull());
    }

    // Threads asking for the same pictures at once get them decoded once; a cache too small for
    // them still gives every picture right, and keeps within its bound.
    void pictureCache_data()
    {
        QTest::addColumn<qsizetype>("maxBytes");
        QTest::newRow("room for all") << qsizetype(1 << 20);
        QTest::newRow("room for one") << qsizetype(9 * 7 * 4);
    }

    void pictureCache()
    {
        QFETCH(qsizetype, maxBytes);
        const QStringList files{FDir.filePath(u"pic.png"_s), FDir.filePath(u"wide.png"_s),
                                FDir.filePath(u"none.png"_s)};
        writePicture(files[1], 60, 20);
        TPictureCache cache(maxBytes, 10);
        QThreadPool pool;
        pool.setMaxThreadCount(4);
        const QRect clip(2, 1, 5, 4);
        std::atomic<int> wrong{0};
        for (int task = 0; task < 40; ++task)
            pool.start([&, task] {
                const QString &file = files.at(task % 3);
                const TPictureCache::TPart part = cache.Part(file, clip);
                const QImage thumbnail = cache.Thumbnail(file);
                const bool missing = task % 3 == 2;
                const QSize size = task % 3 == 0 ? QSize(9, 7) : QSize(60, 20);
                // At least what lies in the clip, placed by its offset.
                const QRect held(part.Offset, part.Image.size());
                if (missing ? !part.Size.isEmpty() || !thumbnail.isNull()
                            : part.Size != size || !held.contains(clip) ||
                                  part.Image.pixel(clip.topLeft() - part.Offset) !=
                                      pictureColour(2, 1) ||
                                  thumbnail.size() != (task % 3 == 0 ? QSize(9, 7) : QSize(10, 3)))
                    ++wrong;
            });
        pool.waitForDone();
        QCOMPARE(wrong.load(), 0);
        QVERIFY(cache.KeptBytes() <= maxBytes);
        if (maxBytes > 1000)
            QCOMPARE(cache.Decodes(), 3);
        QVERIFY(cache.IsReadable(files[0]));
        QVERIFY(!cache.IsReadable(files[2]));
    }
};

QTEST_MAIN(TestContactSheet)
#include "tst_contactsheet.moc"
