#include "TestPictures.h"
#include "tests/TestFiles.h"
#include "ui/SymbolImgPanels.h"

#include <QComboBox>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMap>
#include <QMovie>
#include <QScrollArea>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>

namespace
{

QStringList words(const char *text)
{
    return QString::fromLatin1(text).split(u' ');
}

// Each pixel tells where it came from, so a scaled or shifted picture shows.
QRgb gradientPixel(int x, int y)
{
    return qRgb(x, y, 128);
}

} // namespace

class TestSymbolImgPanel : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir FDir;
    QScrollArea *FStrip = nullptr;
    QWidget *FContent = nullptr;
    QList<TSymbolImgPanel *> FClicked;
    QList<TSymbolImgPanel *> FUpdated;
    QList<TSymbolImgPanel *> FDblClicked;
    int FBeeps = 0;

    QString path(const QString &name) const { return FDir.filePath(name); }

    TViraSymbolPtr makeSymbol(const QString &image, const QList<TStringPairs> &states = {})
    {
        auto symbol = std::make_shared<TViraSymbol>();
        symbol->Image = image;
        symbol->Symbol = true;
        symbol->StateImages = states;
        return symbol;
    }

    TSymbolImgPanel *addTile(const TViraSymbolPtr &symbol, int index,
                             const QString &projectFile = QString())
    {
        return new TSymbolImgPanel(FContent, symbol, index, projectFile);
    }

    // A spot of the tile that no child element covers.
    static QPoint bareSpot() { return QPoint(147, 60); }

    static void doubleClick(QWidget *widget, QPoint pos)
    {
        QTest::mousePress(widget, Qt::LeftButton, {}, pos);
        QTest::mouseRelease(widget, Qt::LeftButton, {}, pos);
        QTest::mouseDClick(widget, Qt::LeftButton, {}, pos);
        QTest::mouseRelease(widget, Qt::LeftButton, {}, pos);
    }

private slots:
    void initTestCase()
    {
        QVERIFY(FDir.isValid());
        QImage gradient(200, 150, QImage::Format_RGB32);
        for (int y = 0; y < gradient.height(); ++y)
            for (int x = 0; x < gradient.width(); ++x)
                gradient.setPixel(x, y, gradientPixel(x, y));
        QVERIFY(gradient.save(path(QStringLiteral("m.png"))));
        QImage small(10, 10, QImage::Format_RGB32);
        small.fill(Qt::red);
        for (const char *name : {"s.png", "a.png", "b.png", "beside.png"})
            QVERIFY(small.save(path(QLatin1String(name))));
        for (const char *name : {"anim.gif", "anim.GIF"})
            writeFile(path(QLatin1String(name)), twoFrameGif());
    }

    void init()
    {
        FStrip = new QScrollArea;
        FStrip->resize(680, 119);
        FContent = new QWidget;
        FStrip->setWidget(FContent);
        FStrip->setWidgetResizable(true);
        FStrip->show();
        QVERIFY(QTest::qWaitForWindowExposed(FStrip));

        FClicked.clear();
        FUpdated.clear();
        FDblClicked.clear();
        FBeeps = 0;
        // As the main window does: a click hides the other marks, an update writes the
        // tile's pair back, and the main image tile refuses updates.
        TSymbolImgPanel::ClickProc = [this](TSymbolImgPanel *tile) {
            FClicked.append(tile);
            for (auto *other : tile->parentWidget()->findChildren<TSymbolImgPanel *>())
                if (other != tile)
                    other->Mark->setVisible(false);
        };
        TSymbolImgPanel::UpdateProc = [this](TSymbolImgPanel *tile) {
            FUpdated.append(tile);
            if (tile->ImageIndex < 0)
                ++FBeeps;
            else
                tile->UpdatePanel(tile->Symbol->StateImages[tile->ImageIndex]);
        };
        TSymbolImgPanel::DblClickProc = [this](TSymbolImgPanel *tile) { FDblClicked.append(tile); };
    }

    void cleanup()
    {
        delete FStrip;
        FStrip = nullptr;
        FContent = nullptr;
        TSymbolImgPanel::ClickProc = nullptr;
        TSymbolImgPanel::UpdateProc = nullptr;
        TSymbolImgPanel::DblClickProc = nullptr;
    }

    void mainTile()
    {
        const TViraSymbolPtr symbol = makeSymbol(path(QStringLiteral("m.png")));
        TSymbolImgPanel *tile = addTile(symbol, -1);

        QCOMPARE(tile->ImageIndex, -1);
        QCOMPARE(tile->FileName, symbol->Image);
        QCOMPARE(tile->toolTip(), symbol->Image);
        QCOMPARE(tile->Image->toolTip(), symbol->Image);
        QVERIFY(!symbol->Error);
        QCOMPARE(tile->ValueType->currentIndex(), TSymbolImgPanel::vtDefault);
        QVERIFY(!tile->ValueType->isEnabled());
        QVERIFY(tile->Value->isHidden());
        QCOMPARE(tile->Value->text(), QStringLiteral("0"));
        QVERIFY(FClicked.isEmpty());
        QVERIFY(FUpdated.isEmpty());
        QVERIFY(tile->isHidden());
        QVERIFY(tile->Mark->isHidden());

        const int stripHeight = FContent->height();
        QCOMPARE(tile->geometry(), QRect(2, 2, 150, stripHeight - 2));
        QCOMPARE(tile->Mark->geometry(), QRect(1, 1, 148, stripHeight - 4));
        QCOMPARE(tile->Image->geometry(), QRect(4, 25, 142, 104));
        QCOMPARE(tile->Value->geometry(), QRect(105, 2, 40, 21));
        QCOMPARE(tile->ValueType->geometry(), QRect(2, 2, 100, 21));
        QCOMPARE(tile->Value->toolTip(), QStringLiteral("Värde"));
        QCOMPARE(tile->ValueType->toolTip(), QStringLiteral("When is image shown?"));
        QStringList items;
        for (int i = 0; i < tile->ValueType->count(); ++i)
            items << tile->ValueType->itemText(i);
        QCOMPARE(items, (QStringList{QStringLiteral("Default"), QStringLiteral("Value"),
                                     QStringLiteral("Alarm"), QStringLiteral("MO_Off"),
                                     QStringLiteral("MO")}));

        // The 200 x 150 picture is shown from its top-left corner, clipped, not scaled.
        tile->SortAndSpace();
        QVERIFY(tile->isVisible());
        const QImage shown = tile->Image->grab().toImage();
        QCOMPARE(shown.size(), QSize(142, 104));
        QCOMPARE(shown.pixel(0, 0), gradientPixel(0, 0));
        QCOMPARE(shown.pixel(141, 103), gradientPixel(141, 103));

        // The mark is a 1-px yellow outline without fill.
        tile->Mark->setVisible(true);
        const QImage marked = tile->grab().toImage();
        QCOMPARE(QColor(marked.pixel(1, 60)), QColor(Qt::yellow));
        QCOMPARE(QColor(marked.pixel(148, 60)), QColor(Qt::yellow));
        QVERIFY(QColor(marked.pixel(2, 60)) != QColor(Qt::yellow));
    }

    void gifAnimation_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("animated");
        QTest::newRow("lower-case .gif") << "anim.gif" << true;
        QTest::newRow("upper-case .GIF") << "anim.GIF" << false;
    }

    void gifAnimation()
    {
        QFETCH(QString, name);
        QFETCH(bool, animated);
        TSymbolImgPanel *tile = addTile(makeSymbol(path(name)), -1);
        QCOMPARE(tile->Image->movie() != nullptr, animated);
        if (animated)
            QCOMPARE(tile->Image->movie()->state(), QMovie::Running);
        else
            QVERIFY(!tile->Image->pixmap().isNull());
    }

    void stateTile_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("valueType");
        QTest::addColumn<QString>("valueText");
        QTest::addColumn<QString>("pairName");
        QTest::addColumn<bool>("runsUpdate");
        QTest::newRow("1") << "1" << int(TSymbolImgPanel::vtValue) << "1"
                           << "1" << true;
        QTest::newRow("0") << "0" << int(TSymbolImgPanel::vtValue) << "0"
                           << "0" << false;
        QTest::newRow("Alarm") << "Alarm" << int(TSymbolImgPanel::vtAlarm) << "0"
                               << "Alarm" << true;
        QTest::newRow("MO_Off") << "MO_Off" << int(TSymbolImgPanel::vtMO_Off) << "0"
                                << "MO_Off" << true;
        QTest::newRow("MO") << "MO" << int(TSymbolImgPanel::vtMO) << "0"
                            << "MO" << true;
        QTest::newRow("Default") << "Default" << int(TSymbolImgPanel::vtValue) << "0"
                                 << "0" << true;
        QTest::newRow("007") << "007" << int(TSymbolImgPanel::vtValue) << "7"
                             << "7" << true;
        QTest::newRow("hex") << "$1F" << int(TSymbolImgPanel::vtValue) << "31"
                             << "31" << true;
        QTest::newRow("negative") << " -12" << int(TSymbolImgPanel::vtValue) << "-12"
                                  << "-12" << true;
        QTest::newRow("lower-case word") << "alarm" << int(TSymbolImgPanel::vtValue) << "0"
                                         << "0" << true;
        QTest::newRow("empty") << "" << int(TSymbolImgPanel::vtValue) << "0"
                               << "0" << true;
    }

    void stateTile()
    {
        QFETCH(QString, name);
        QFETCH(int, valueType);
        QFETCH(QString, valueText);
        QFETCH(QString, pairName);
        QFETCH(bool, runsUpdate);

        const TViraSymbolPtr symbol =
            makeSymbol(path(QStringLiteral("m.png")), {{name, path(QStringLiteral("s.png"))}});
        TSymbolImgPanel *mainTile = addTile(symbol, -1);
        TSymbolImgPanel *tile = addTile(symbol, 0);

        QCOMPARE(tile->ImageIndex, 0);
        QCOMPARE(tile->FileName, path(QStringLiteral("s.png")));
        QCOMPARE(tile->ValueType->currentIndex(), valueType);
        QVERIFY(tile->ValueType->isEnabled());
        QCOMPARE(tile->Value->text(), valueText);
        QCOMPARE(tile->Value->isHidden(), valueType != TSymbolImgPanel::vtValue);
        QCOMPARE(symbol->StateImages.at(0).Name, pairName);
        QCOMPARE(symbol->StateImages.at(0).Value, path(QStringLiteral("s.png")));
        QVERIFY(!symbol->Error);

        if (runsUpdate) {
            QVERIFY(FUpdated.contains(tile));
            QCOMPARE(FClicked, QList<TSymbolImgPanel *>{tile});
            QVERIFY(!tile->Mark->isHidden());
            QVERIFY(!tile->isHidden());
            QCOMPARE(mainTile->x(), 2);
            QCOMPARE(tile->x(), 154);
        } else {
            QVERIFY(FUpdated.isEmpty());
            QVERIFY(FClicked.isEmpty());
            QVERIFY(tile->Mark->isHidden());
            QVERIFY(tile->isHidden());
        }
    }

    void typing_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("selectAll");
        QTest::addColumn<QString>("keys");
        QTest::addColumn<QString>("expected");
        QTest::newRow("non-number") << "5" << true << "abc"
                                    << "0";
        QTest::newRow("number") << "5" << true << "42"
                                << "42";
        QTest::newRow("digit after 0") << "0" << false << "7"
                                       << "7";
        QTest::newRow("letter after number") << "12" << false << "x"
                                             << "0";
    }

    void typing()
    {
        QFETCH(QString, name);
        QFETCH(bool, selectAll);
        QFETCH(QString, keys);
        QFETCH(QString, expected);

        const TViraSymbolPtr symbol =
            makeSymbol(path(QStringLiteral("m.png")), {{name, path(QStringLiteral("s.png"))}});
        TSymbolImgPanel *tile = addTile(symbol, 0);
        tile->SortAndSpace();
        if (selectAll)
            tile->Value->selectAll();
        else
            tile->Value->end(false);
        QTest::keyClicks(tile->Value, keys);

        QCOMPARE(tile->Value->text(), expected);
        QCOMPARE(symbol->StateImages.at(0).Name, expected);
        QCOMPARE(tile->ValueType->currentIndex(), TSymbolImgPanel::vtValue);
        QVERIFY(!tile->Mark->isHidden());
    }

    void choosingValueType_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("valueType");
        QTest::addColumn<QString>("pairName");
        QTest::addColumn<QString>("valueText");
        QTest::addColumn<int>("left");
        QTest::newRow("MO") << "3" << int(Qt::Key_End) << int(TSymbolImgPanel::vtMO) << "MO"
                            << "3" << 306;
        QTest::newRow("Alarm") << "3" << int(Qt::Key_Down) << int(TSymbolImgPanel::vtAlarm)
                               << "Alarm"
                               << "3" << 306;
        QTest::newRow("Value again")
            << "Alarm" << int(Qt::Key_Up) << int(TSymbolImgPanel::vtValue) << "0"
            << "0" << 154;
    }

    void choosingValueType()
    {
        QFETCH(QString, name);
        QFETCH(int, key);
        QFETCH(int, valueType);
        QFETCH(QString, pairName);
        QFETCH(QString, valueText);
        QFETCH(int, left);

        const TViraSymbolPtr symbol = makeSymbol(
            path(QStringLiteral("m.png")), {{name, path(QStringLiteral("s.png"))},
                                            {QStringLiteral("5"), path(QStringLiteral("a.png"))}});
        addTile(symbol, -1);
        TSymbolImgPanel *tile = addTile(symbol, 0);
        TSymbolImgPanel *other = addTile(symbol, 1);
        FUpdated.clear();

        QTest::keyClick(tile->ValueType, Qt::Key(key));

        QCOMPARE(tile->ValueType->currentIndex(), valueType);
        QCOMPARE(symbol->StateImages.at(0).Name, pairName);
        QCOMPARE(tile->Value->text(), valueText);
        QCOMPARE(tile->Value->isHidden(), valueType != TSymbolImgPanel::vtValue);
        QVERIFY(FUpdated.contains(tile));
        QCOMPARE(tile->x(), left);
        QCOMPARE(other->x(), left == 154 ? 306 : 154);
        QCOMPARE(symbol->StateImages.at(1).Name, QStringLiteral("5"));
    }

    void valueTypeFromCodeIsSilent()
    {
        const TViraSymbolPtr symbol = makeSymbol(
            path(QStringLiteral("m.png")), {{QStringLiteral("3"), path(QStringLiteral("s.png"))}});
        TSymbolImgPanel *tile = addTile(symbol, 0);
        FUpdated.clear();
        tile->ValueType->setCurrentIndex(TSymbolImgPanel::vtMO);
        QVERIFY(FUpdated.isEmpty());
        QCOMPARE(symbol->StateImages.at(0).Name, QStringLiteral("3"));
    }

    void defaultSwap()
    {
        const QString m = path(QStringLiteral("m.png"));
        const QString a = path(QStringLiteral("a.png"));
        const QString b = path(QStringLiteral("b.png"));
        const QString s = path(QStringLiteral("s.png"));
        const TViraSymbolPtr symbol = makeSymbol(
            m, {{QStringLiteral("1"), a}, {QStringLiteral("5"), b}, {QStringLiteral("7"), s}});
        TSymbolImgPanel *mainTile = addTile(symbol, -1);
        TSymbolImgPanel *tile0 = addTile(symbol, 0);
        TSymbolImgPanel *tile1 = addTile(symbol, 1);
        TSymbolImgPanel *tile2 = addTile(symbol, 2);
        // Building marks the last tile; mark another one so the choice has to mark it.
        QTest::mouseClick(tile0, Qt::LeftButton, {}, bareSpot());
        QVERIFY(tile2->Mark->isHidden());
        FClicked.clear();

        QTest::keyClick(tile2->ValueType, Qt::Key_Home);

        QCOMPARE(symbol->Image, s);
        QCOMPARE(symbol->StateImages.at(2), (TStringPairs{QStringLiteral("Default"), m}));
        QCOMPARE(symbol->StateImages.at(0), (TStringPairs{QStringLiteral("1"), a}));
        QCOMPARE(symbol->StateImages.at(1), (TStringPairs{QStringLiteral("5"), b}));

        QCOMPARE(tile2->ImageIndex, -1);
        QCOMPARE(tile2->ValueType->currentIndex(), TSymbolImgPanel::vtDefault);
        QVERIFY(!tile2->ValueType->isEnabled());
        QVERIFY(tile2->Value->isHidden());

        QCOMPARE(mainTile->ImageIndex, 2);
        QCOMPARE(mainTile->ValueType->currentIndex(), TSymbolImgPanel::vtValue);
        QVERIFY(mainTile->ValueType->isEnabled());
        QVERIFY(!mainTile->Value->isHidden());
        QCOMPARE(mainTile->Value->text(), QStringLiteral("0"));

        QCOMPARE(tile2->x(), 2);
        QCOMPARE(mainTile->x(), 154);
        QCOMPARE(tile0->x(), 306);
        QCOMPARE(tile1->x(), 458);

        QCOMPARE(FClicked, QList<TSymbolImgPanel *>{tile2});
        QVERIFY(!tile2->Mark->isHidden());
        QVERIFY(tile0->Mark->isHidden());
        QCOMPARE(FBeeps, 0);

        // The former main tile now writes into pair 2, the chosen one counts as the main tile.
        mainTile->Value->end(false);
        QTest::keyClicks(mainTile->Value, QStringLiteral("9"));
        QCOMPARE(symbol->StateImages.at(2), (TStringPairs{QStringLiteral("9"), m}));
        tile2->OnUpdate(tile2);
        QCOMPARE(FBeeps, 1);
    }

    void defaultSwapKeepsFormerMainImageWithoutMainTile()
    {
        const QString m = path(QStringLiteral("m.png"));
        const QString s = path(QStringLiteral("s.png"));
        const TViraSymbolPtr symbol = makeSymbol(m, {{QStringLiteral("1"), s}});
        TSymbolImgPanel *tile = addTile(symbol, 0);

        QTest::keyClick(tile->ValueType, Qt::Key_Home);

        QCOMPARE(symbol->Image, s);
        QCOMPARE(symbol->StateImages.at(0), (TStringPairs{QStringLiteral("Default"), m}));
        QCOMPARE(tile->ImageIndex, -1);
    }

    void layoutOrder_data()
    {
        // "main" is the main image tile, "beyond" a tile past the last state image; every other
        // entry is the Name of a state pair. Tiles are built in the given order.
        QTest::addColumn<QStringList>("built");
        QTest::addColumn<QStringList>("laidOut");
        QTest::newRow("values and Alarm")
            << words("main 10 2 Alarm 1") << words("main 1 2 10 Alarm");
        QTest::newRow("word groups")
            << words("MO Alarm MO_Off 5 main") << words("main 5 Alarm MO_Off MO");
        QTest::newRow("signed and hex values") << words("$10 -3 2 main") << words("main -3 2 $10");
        QTest::newRow("no item selected before Value")
            << words("3 beyond main") << words("main beyond 3");
    }

    void layoutOrder()
    {
        QFETCH(QStringList, built);
        QFETCH(QStringList, laidOut);

        const TViraSymbolPtr symbol = makeSymbol(path(QStringLiteral("m.png")));
        for (const QString &entry : built)
            if (entry != u"main" && entry != u"beyond")
                symbol->StateImages.append({entry, path(QStringLiteral("s.png"))});
        QMap<QString, TSymbolImgPanel *> tiles;
        int pairIndex = 0;
        for (const QString &entry : built) {
            const int index = entry == u"main"     ? -1
                              : entry == u"beyond" ? int(symbol->StateImages.size())
                                                   : pairIndex++;
            tiles.insert(entry, addTile(symbol, index));
        }
        tiles.first()->SortAndSpace();

        for (int i = 0; i < laidOut.size(); ++i) {
            TSymbolImgPanel *tile = tiles.value(laidOut.at(i));
            QVERIFY2(!tile->isHidden(), qPrintable(laidOut.at(i)));
            QCOMPARE(tile->x(), 2 + i * 152);
            QCOMPARE(tile->y(), 2);
        }

        // The strip scrolls exactly when the tiles are wider than it.
        const int tilesWidth = 2 + int(laidOut.size()) * 152;
        QCOMPARE(FContent->minimumWidth(), tilesWidth);
        QTRY_COMPARE(FStrip->horizontalScrollBar()->maximum() > 0,
                     tilesWidth > FStrip->maximumViewportSize().width());
    }

    void clicks()
    {
        TSymbolImgPanel *tile = addTile(makeSymbol(path(QStringLiteral("m.png"))), -1);
        tile->SortAndSpace();

        // Only the left button clicks; the tile leaves other buttons to its parent.
        QTest::ignoreMessage(QtWarningMsg,
                             "Mouse event \"MousePress\" not accepted by receiving widget");
        QTest::ignoreMessage(QtWarningMsg,
                             "Mouse event \"MouseRelease\" not accepted by receiving widget");
        QTest::mouseClick(tile, Qt::RightButton, {}, bareSpot());
        QVERIFY(FClicked.isEmpty());
        QTest::mouseClick(tile, Qt::LeftButton, {}, bareSpot());
        QCOMPARE(FClicked, QList<TSymbolImgPanel *>{tile});
        QVERIFY(!tile->Mark->isHidden());

        // The marked tile ignores further clicks, on itself and on its picture.
        QTest::mouseClick(tile, Qt::LeftButton, {}, bareSpot());
        QTest::mouseClick(tile->Image, Qt::LeftButton, {}, QPoint(5, 5));
        QCOMPARE(FClicked.size(), 1);

        tile->Mark->setVisible(false);
        QTest::mouseClick(tile->Image, Qt::LeftButton, {}, QPoint(5, 5));
        QCOMPARE(FClicked.size(), 2);

        doubleClick(tile, bareSpot());
        doubleClick(tile->Image, QPoint(5, 5));
        QCOMPARE(FDblClicked, (QList<TSymbolImgPanel *>{tile, tile}));
        QCOMPARE(FClicked.size(), 2);

        // Without a click callback no tile gets marked.
        TSymbolImgPanel::ClickProc = nullptr;
        tile->Mark->setVisible(false);
        QTest::mouseClick(tile, Qt::LeftButton, {}, bareSpot());
        QVERIFY(tile->Mark->isHidden());
    }

    void missingFileSetsErrorThatStays()
    {
        const QString later = path(QStringLiteral("later.png"));
        const TViraSymbolPtr symbol = makeSymbol(later);
        TSymbolImgPanel *tile = addTile(symbol, -1);
        QVERIFY(symbol->Error);
        QVERIFY(tile->Image->pixmap().isNull());
        QVERIFY(!tile->Image->movie());
        QCOMPARE(tile->toolTip(), later);
        QCOMPARE(tile->Image->toolTip(), QString());

        QVERIFY(QFile::copy(path(QStringLiteral("s.png")), later));
        TSymbolImgPanel *rebuilt = addTile(symbol, -1);
        QVERIFY(!rebuilt->Image->pixmap().isNull());
        QVERIFY(symbol->Error);
    }

    void indexBeyondStateImages()
    {
        const TViraSymbolPtr symbol = makeSymbol(
            path(QStringLiteral("m.png")), {{QStringLiteral("1"), path(QStringLiteral("s.png"))}});
        TSymbolImgPanel *tile = addTile(symbol, 1);
        QVERIFY(symbol->Error);
        QVERIFY(tile->FileName.isEmpty());
        QVERIFY(tile->Image->pixmap().isNull());
        QCOMPARE(tile->ValueType->currentIndex(), -1);
        QCOMPARE(tile->ValueType->currentText(), QString());
        QVERIFY(tile->ValueType->isEnabled());
        QCOMPARE(tile->Value->text(), QStringLiteral("0"));
        QVERIFY(tile->Value->isHidden());
        QVERIFY(FUpdated.isEmpty());
        QVERIFY(FClicked.isEmpty());
    }

    void bareNameBesideProject_data()
    {
        QTest::addColumn<bool>("withProject");
        QTest::newRow("project beside the picture") << true;
        QTest::newRow("no project file") << false;
    }

    void bareNameBesideProject()
    {
        QFETCH(bool, withProject);
        const QString bare = QStringLiteral("beside.png");
        const TViraSymbolPtr symbol = makeSymbol(bare, {{QStringLiteral("1"), bare}});
        const QString project = withProject ? path(QStringLiteral("project.js")) : QString();
        TSymbolImgPanel *mainTile = addTile(symbol, -1, project);
        TSymbolImgPanel *stateTile = addTile(symbol, 0, project);

        QCOMPARE(symbol->Error, !withProject);
        for (TSymbolImgPanel *tile : {mainTile, stateTile}) {
            QCOMPARE(!tile->Image->pixmap().isNull(), withProject);
            QCOMPARE(tile->FileName, bare);
            QCOMPARE(tile->toolTip(), bare);
            QCOMPARE(tile->Image->toolTip(), withProject ? bare : QString());
        }
    }

    void resizeFitsMark()
    {
        TSymbolImgPanel *tile = addTile(makeSymbol(path(QStringLiteral("m.png"))), -1);
        // A hidden tile catches up when it is shown.
        tile->SetHeight(144);
        tile->SortAndSpace();
        QCOMPARE(tile->geometry(), QRect(2, 2, 150, 144));
        QCOMPARE(tile->Mark->geometry(), QRect(1, 1, 148, 142));

        tile->resize(200, 100);
        QCOMPARE(tile->Mark->geometry(), QRect(1, 1, 148, 98));
    }
};

QTEST_MAIN(TestSymbolImgPanel)
#include "tst_symbolimgpanel.moc"
