// The contact sheet's drawing: placement by the preview's rules, red marks, pages and the HTML.
#include "model/ViraSymbol.h"
#include "render/ContactSheet.h"
#include "render/ExampleTextFont.h"
#include "tests/TestFiles.h"

#include <QFontMetrics>
#include <QGuiApplication>
#include <QImage>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

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
        const QImage cell = TContactSheet(book, {}, projectFile(), u"en"_s).Cell(0, false);

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
        const QImage cell = TContactSheet(book, {}, projectFile(), language).Cell(0, false);

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
        const TContactSheet sheet(book, findings, projectFile(), u"en"_s);
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
            QString::fromUtf8(TContactSheet(book, findings, projectFile(), u"en"_s).Html());

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
        QVERIFY(!html.contains(u"href="_s));

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
        const TContactSheet sheet(book, {}, projectFile(), u"en"_s);
        QCOMPARE(SheetPageFiles(target, sheet.PageCount()), files);
        const QImage last = sheet.Page(sheet.PageCount() - 1);
        QVERIFY(last.width() > 5 * TContactSheet::CellWidth);
        QVERIFY(!last.isNull());
    }
};

QTEST_MAIN(TestContactSheet)
#include "tst_contactsheet.moc"
