// The image strip: the tiles of a selected symbol, their clicks, double clicks and updates, the
// strip's height, Add Image and Delete Image, and picture files dropped on the window.
#include "WindowFixture.h"

#include "ui/SymbolImgPanels.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QUrl>

#include <algorithm>

class TestImageStrip : public QObject
{
    Q_OBJECT

private slots:
    void stateTilesMarkThemselvesWhileSelecting();
    void addImageToASymbolWithTwoStates();
    void addImageMakesAnImageASymbol_data();
    void addImageMakesAnImageASymbol();
    void addImageWithNothingSelectedDoesNothing();
    void deleteStateImageOneOfThree();
    void deleteImageWithTheMainTileMarked();
    void bareImageNamesAreFoundBesideTheProject();
    void clickOnATileWithAMissingFile();
    void doubleClickReplacesTheImage_data();
    void doubleClickReplacesTheImage();
    void updateOfTheMainTileBeeps();
    void tilesFollowTheStripHeight();
    void tilesStayWhollyVisible_data();
    void tilesStayWhollyVisible();
    void addImageKeepsNamesUnderTheirColumns();
    void stripScrollsOnlyWhileTheTilesDoNotFit();
    void droppedFiles_data();
    void droppedFiles();
};

namespace
{
/// A window with one symbol "s" whose main image is 30 x 20 px and whose state image k is a
/// (10 + k)-px square with the value Values[k].
struct TStripFixture : TWindowFixture {
    TViraSymbolPtr Symbol;

    TMainForm &CreateWithSymbol(const QStringList &Values)
    {
        TMainForm &w = CreateActive();
        Symbol = MakeSymbol(u"s"_s, {});
        Symbol->Image = WritePicture(u"main.png"_s, QSize(30, 20));
        for (int k = 0; k < Values.size(); ++k)
            Symbol->StateImages.append(
                {Values[k], WritePicture(u"state%1.png"_s.arg(k), QSize(10 + k, 10 + k))});
        AddSymbols(w, {Symbol});
        Named<TSymbolListPanel>(w, "dLV_Symbols")
            ->setCurrentItem(Named<TSymbolListPanel>(w, "dLV_Symbols")->topLevelItem(0));
        return w;
    }
};

/// The tiles' image indexes from left to right.
QList<int> indexesByPlace(const TMainForm &Window)
{
    QList<TSymbolImgPanel *> tiles = tilesOf(Window);
    std::sort(tiles.begin(), tiles.end(),
              [](const TSymbolImgPanel *a, const TSymbolImgPanel *b) { return a->x() < b->x(); });
    QList<int> indexes;
    for (const TSymbolImgPanel *tile : tiles)
        indexes.append(tile->ImageIndex);
    return indexes;
}

/// The image indexes of the marked tiles.
QList<int> markedIndexes(const TMainForm &Window)
{
    QList<int> indexes;
    for (const TSymbolImgPanel *tile : tilesOf(Window))
        if (!tile->Mark->isHidden())
            indexes.append(tile->ImageIndex);
    return indexes;
}

void clickTile(TSymbolImgPanel *Tile)
{
    QTest::mouseClick(Tile->Image, Qt::LeftButton, {}, QPoint(5, 5));
}

QSize previewSize(const TMainForm &Window)
{
    return Named<QLabel>(Window, "SymbolImage")->pixmap().size();
}

QStringList names(const QList<TStringPairs> &Pairs)
{
    QStringList list;
    for (const TStringPairs &pair : Pairs)
        list.append(pair.Name);
    return list;
}
} // namespace

void TestImageStrip::stateTilesMarkThemselvesWhileSelecting()
{
    TStripFixture f;
    TMainForm &w = f.CreateWithSymbol(Strings({"5", "7"}));
    // Building a state tile runs its click path: the last one built stays marked, while the
    // preview shows the main image and Delete Image stays off.
    QCOMPARE(markedIndexes(w), QList<int>{1});
    QCOMPARE(previewSize(w), QSize(30, 20));
    QVERIFY(!Named<QPushButton>(w, "bDeleteImage")->isEnabled());
    QCOMPARE(indexesByPlace(w), (QList<int>{-1, 0, 1}));
    QCOMPARE(names(f.Symbol->StateImages), Strings({"5", "7"}));
    QVERIFY(!f.Symbol->Error);
    QCOMPARE(f.Dialogs.Beeps, 0);
}

void TestImageStrip::addImageToASymbolWithTwoStates()
{
    TStripFixture f;
    TMainForm &w = f.CreateWithSymbol(Strings({"5", "7"}));
    const QString added = f.WritePicture(u"added.png"_s, QSize(40, 40));
    f.Dialogs.FileAnswers = {added};
    QTest::mouseClick(Named<QPushButton>(w, "bAddImage"), Qt::LeftButton);

    QCOMPARE(f.Symbol->StateImages.size(), 3);
    QCOMPARE(f.Symbol->StateImages[2], (TStringPairs{u"1"_s, added}));
    QCOMPARE(markedIndexes(w), QList<int>{2});
    QCOMPARE(previewSize(w), QSize(40, 40));
    QVERIFY(Named<QPushButton>(w, "bDeleteImage")->isEnabled());
    // Sorted among the value tiles by its value 1.
    QCOMPARE(indexesByPlace(w), (QList<int>{-1, 2, 0, 1}));
    QCOMPARE(IconIndex(w, Named<TSymbolListPanel>(w, "dLV_Symbols")->topLevelItem(0)), 1);
}

void TestImageStrip::addImageMakesAnImageASymbol_data()
{
    QTest::addColumn<bool>("chooseFile");
    QTest::newRow("file chosen") << true;
    QTest::newRow("dialog cancelled") << false;
}

void TestImageStrip::addImageMakesAnImageASymbol()
{
    QFETCH(bool, chooseFile);
    TStripFixture f;
    TMainForm &w = f.CreateWithSymbol({});
    Named<QCheckBox>(w, "cbIsSymbol")->setChecked(false);
    QVERIFY(!f.Symbol->Symbol);
    QCOMPARE(IconIndex(w, Named<TSymbolListPanel>(w, "dLV_Symbols")->topLevelItem(0)), 2);
    QVERIFY(!Named<QLineEdit>(w, "eAnchorX")->isEnabled());

    f.Dialogs.FileAnswers = {chooseFile ? std::optional(f.WritePicture(u"a.png"_s, QSize(4, 4)))
                                        : std::nullopt};
    Named<QPushButton>(w, "bAddImage")->click();
    QVERIFY(f.Symbol->Symbol);
    QCOMPARE(f.Symbol->StateImages.size(), chooseFile ? 1 : 0);
    QCOMPARE(tilesOf(w).size(), chooseFile ? 2 : 1);
    QVERIFY(Named<QCheckBox>(w, "cbIsSymbol")->isChecked());
    QVERIFY(Named<QLineEdit>(w, "eAnchorX")->isEnabled());
    QVERIFY(Named<QLabel>(w, "lExampleText")->isVisible());
    QCOMPARE(IconIndex(w, Named<TSymbolListPanel>(w, "dLV_Symbols")->topLevelItem(0)),
             chooseFile ? 1 : 0);
}

void TestImageStrip::addImageWithNothingSelectedDoesNothing()
{
    TWindowFixture f;
    TMainForm &w = f.Create();
    f.Dialogs.FileAnswers = {f.WritePicture(u"a.png"_s, QSize(4, 4))};
    Named<QPushButton>(w, "bAddImage")->click();
    Named<QPushButton>(w, "bDeleteImage")->click();
    QVERIFY(f.Dialogs.ShownDialogs.isEmpty());
    QVERIFY(tilesOf(w).isEmpty());
    QVERIFY(f.Dialogs.Errors.isEmpty());
}

void TestImageStrip::deleteStateImageOneOfThree()
{
    TStripFixture f;
    TMainForm &w = f.CreateWithSymbol(Strings({"1", "2", "3"}));
    const QList<TStringPairs> before = f.Symbol->StateImages;
    TSymbolImgPanel *former2 = tileOf(w, 2);
    clickTile(tileOf(w, 1));
    QCOMPARE(markedIndexes(w), QList<int>{1});
    QCOMPARE(previewSize(w), QSize(11, 11));
    QVERIFY(Named<QPushButton>(w, "bDeleteImage")->isEnabled());

    QTest::mouseClick(Named<QPushButton>(w, "bDeleteImage"), Qt::LeftButton);
    QCOMPARE(f.Symbol->StateImages, (QList<TStringPairs>{before[0], before[2]}));
    QCOMPARE(tilesOf(w).size(), 3);
    QCOMPARE(former2->ImageIndex, 1);
    QCOMPARE(markedIndexes(w), QList<int>{-1});
    QCOMPARE(previewSize(w), QSize(30, 20));
    QVERIFY(!Named<QPushButton>(w, "bDeleteImage")->isEnabled());
    QCOMPARE(indexesByPlace(w), (QList<int>{-1, 0, 1}));
    // Tile n stands for pair n again: a click shows pair 1's picture, the former pair 2.
    clickTile(former2);
    QCOMPARE(previewSize(w), QSize(12, 12));
}

void TestImageStrip::deleteImageWithTheMainTileMarked()
{
    TStripFixture f;
    TMainForm &w = f.CreateWithSymbol(Strings({"1", "2"}));
    const QList<TStringPairs> before = f.Symbol->StateImages;
    clickTile(tileOf(w, 0));
    QCOMPARE(previewSize(w), QSize(10, 10));
    clickTile(tileOf(w, -1));
    QVERIFY(!Named<QPushButton>(w, "bDeleteImage")->isEnabled());
    QCOMPARE(markedIndexes(w), QList<int>{-1});

    // The button is off, but the command may still run (a shortcut, a script).
    Named<TImageStripPanel>(w, "sbImagesScrollBox")->bDeleteImageClick();
    QCOMPARE(f.Symbol->StateImages, before);
    QCOMPARE(tilesOf(w).size(), 3);
    QCOMPARE(previewSize(w), QSize(30, 20));
    QVERIFY(!Named<QPushButton>(w, "bDeleteImage")->isEnabled());
}

void TestImageStrip::bareImageNamesAreFoundBesideTheProject()
{
    TStripFixture f;
    f.WritePicture(u"project/main.png"_s, QSize(33, 22));
    f.WritePicture(u"project/s0.png"_s, QSize(14, 14));
    TMainForm &w = f.Create();
    w.show();
    QVERIFY(QTest::qWaitForWindowActive(&w));
    w.Document().SetProjectFile(f.Path(u"project/lib.js"_s));
    const TViraSymbolPtr s = MakeSymbol(u"s"_s, {});
    s->Image = u"main.png"_s;
    s->StateImages = {{u"4"_s, u"s0.png"_s}};
    AddSymbols(w, {s});
    Named<TSymbolListPanel>(w, "dLV_Symbols")
        ->setCurrentItem(Named<TSymbolListPanel>(w, "dLV_Symbols")->topLevelItem(0));
    QVERIFY(!s->Error);
    QCOMPARE(IconIndex(w, Named<TSymbolListPanel>(w, "dLV_Symbols")->topLevelItem(0)), 1);

    clickTile(tileOf(w, -1));
    clickTile(tileOf(w, 0));
    QCOMPARE(previewSize(w), QSize(14, 14));
    Named<QPushButton>(w, "bDeleteImage")->click();
    QVERIFY(s->StateImages.isEmpty());
    QCOMPARE(previewSize(w), QSize(33, 22));
}

void TestImageStrip::clickOnATileWithAMissingFile()
{
    TStripFixture f;
    TMainForm &w = f.CreateWithSymbol(Strings({"1", "2"}));
    QFile::remove(f.Symbol->StateImages[0].Value);
    Named<TSymbolListPanel>(w, "dLV_Symbols")->clearSelection();
    Named<TSymbolListPanel>(w, "dLV_Symbols")
        ->setCurrentItem(Named<TSymbolListPanel>(w, "dLV_Symbols")->topLevelItem(0));
    QVERIFY(f.Symbol->Error);
    QCOMPARE(IconIndex(w, Named<TSymbolListPanel>(w, "dLV_Symbols")->topLevelItem(0)), 3);

    clickTile(tileOf(w, -1));
    clickTile(tileOf(w, 0));
    QCOMPARE(previewSize(w), QSize(30, 20));
    QVERIFY(Named<QPushButton>(w, "bDeleteImage")->isEnabled());
    QCOMPARE(markedIndexes(w), QList<int>{0});
}

void TestImageStrip::doubleClickReplacesTheImage_data()
{
    QTest::addColumn<int>("imageIndex");
    QTest::addColumn<bool>("chooseFile");
    QTest::newRow("main tile") << -1 << true;
    QTest::newRow("state tile") << 0 << true;
    QTest::newRow("cancelled") << 0 << false;
}

void TestImageStrip::doubleClickReplacesTheImage()
{
    QFETCH(int, imageIndex);
    QFETCH(bool, chooseFile);
    TStripFixture f;
    TMainForm &w = f.CreateWithSymbol(Strings({"1"}));
    clickTile(tileOf(w, -1));
    const TViraSymbol before = *f.Symbol;
    const QString chosen = f.WritePicture(u"chosen.png"_s, QSize(50, 50));
    f.Dialogs.FileAnswers = {chooseFile ? std::optional(chosen) : std::nullopt};

    TSymbolImgPanel *tile = tileOf(w, imageIndex);
    // The first click of a double click marks the tile.
    clickTile(tile);
    QTest::mouseDClick(tile->Image, Qt::LeftButton, {}, QPoint(5, 5));

    QCOMPARE(f.Dialogs.ShownDialogs.size(), 1);
    QCOMPARE(f.Dialogs.ShownDialogs[0].PresetFileName,
             imageIndex < 0 ? before.Image : before.StateImages[0].Value);
    const QString main = f.Symbol->Image;
    const QString state = f.Symbol->StateImages[0].Value;
    QCOMPARE(main, chooseFile && imageIndex < 0 ? chosen : before.Image);
    QCOMPARE(state, chooseFile && imageIndex >= 0 ? chosen : before.StateImages[0].Value);
    const QSize expected = chooseFile       ? QSize(50, 50)
                           : imageIndex < 0 ? QSize(30, 20)
                                            : QSize(10, 10);
    QCOMPARE(tile->Image->pixmap().size(), expected);
    QCOMPARE(previewSize(w), expected);
    if (chooseFile)
        QCOMPARE(tile->Image->toolTip(), chosen);
}

void TestImageStrip::updateOfTheMainTileBeeps()
{
    TStripFixture f;
    TMainForm &w = f.CreateWithSymbol(Strings({"3"}));
    const TViraSymbol before = *f.Symbol;
    TSymbolImgPanel::UpdateProc(tileOf(w, -1));
    QCOMPARE(f.Dialogs.Beeps, 1);
    QCOMPARE(f.Symbol->StateImages, before.StateImages);
    QCOMPARE(f.Symbol->Image, before.Image);

    // A state tile's edit is written back.
    TSymbolImgPanel *state = tileOf(w, 0);
    state->Value->setText(u"12"_s);
    QCOMPARE(f.Symbol->StateImages[0].Name, u"12"_s);
    QCOMPARE(f.Dialogs.Beeps, 1);
}

void TestImageStrip::tilesFollowTheStripHeight()
{
    TStripFixture f;
    TMainForm &w = f.CreateWithSymbol(Strings({"1", "2"}));
    // Tiles fill the strip's client area, 2 px below its top, to its bottom.
    const QWidget *client = Named<TImageStripPanel>(w, "sbImagesScrollBox")->viewport();
    Named<TImageStripPanel>(w, "sbImagesScrollBox")
        ->resize(Named<TImageStripPanel>(w, "sbImagesScrollBox")->width(), 150);
    QCOMPARE(client->height(),
             150 - 2 * Named<TImageStripPanel>(w, "sbImagesScrollBox")->frameWidth());
    for (const TSymbolImgPanel *tile : tilesOf(w)) {
        QCOMPARE(tile->height(), client->height() - 2);
        QCOMPARE(tile->Mark->height(), client->height() - 4);
    }
    // The window's own resize moves the strip's bottom edge: the tiles follow.
    const int before = tilesOf(w)[0]->height();
    w.resize(w.width(), w.height() + 40);
    QTRY_VERIFY(tilesOf(w)[0]->height() != before);
    QCOMPARE(tilesOf(w)[0]->height(), client->height() - 2);
}

void TestImageStrip::tilesStayWhollyVisible_data()
{
    QTest::addColumn<QStringList>("values");
    QTest::addColumn<bool>("scrolls");
    QTest::newRow("tiles fit") << Strings({"1"}) << false;
    QTest::newRow("scroll bar shows") << Strings({"1", "2", "3", "4", "5", "6"}) << true;
}

void TestImageStrip::tilesStayWhollyVisible()
{
    QFETCH(QStringList, values);
    QFETCH(bool, scrolls);
    // The strip has never been shown before the symbol is selected.
    TStripFixture f;
    TMainForm &w = f.CreateWithSymbol(values);
    QTRY_COMPARE(
        Named<TImageStripPanel>(w, "sbImagesScrollBox")->horizontalScrollBar()->isVisible(),
        scrolls);
    const QWidget *client = Named<TImageStripPanel>(w, "sbImagesScrollBox")->viewport();
    for (const TSymbolImgPanel *tile : tilesOf(w)) {
        QCOMPARE(tile->y(), 2);
        QCOMPARE(tile->height(), client->height() - 2);
    }
    // Selected again, with the strip shown, the tiles are as high as before.
    const TViraSymbolPtr other = MakeSymbol(u"other"_s, {});
    AddSymbols(w, {other});
    clickRow(w, u"other"_s);
    clickRow(w, u"s"_s);
    QTRY_COMPARE(
        Named<TImageStripPanel>(w, "sbImagesScrollBox")->horizontalScrollBar()->isVisible(),
        scrolls);
    for (const TSymbolImgPanel *tile : tilesOf(w))
        QCOMPARE(tile->height(), client->height() - 2);
}

void TestImageStrip::addImageKeepsNamesUnderTheirColumns()
{
    TStripFixture f;
    TMainForm &w = f.CreateActive();
    const TViraSymbolPtr lamp =
        MakeSymbol(u"lamp"_s, {{u"sv"_s, u"Lampa"_s}, {u"en"_s, u"Lamp"_s}});
    lamp->Image = f.WritePicture(u"lamp.png"_s, QSize(8, 8));
    AddSymbols(w, {lamp});
    clickRow(w, u"lamp"_s);
    f.Dialogs.FileAnswers = {f.WritePicture(u"on.png"_s, QSize(8, 8))};
    QTest::mouseClick(Named<QPushButton>(w, "bAddImage"), Qt::LeftButton);
    QCOMPARE(lamp->StateImages.size(), 1);
    QCOMPARE(RowTexts(w), Strings({"lamp|Lamp|Lampa"}));
}

void TestImageStrip::stripScrollsOnlyWhileTheTilesDoNotFit()
{
    TStripFixture f;
    TMainForm &w = f.CreateWithSymbol(Strings({"1", "2", "3", "4", "5", "6"}));
    const QScrollBar *scroll =
        Named<TImageStripPanel>(w, "sbImagesScrollBox")->horizontalScrollBar();
    QTRY_VERIFY(scroll->maximum() > 0);
    const TViraSymbolPtr single = MakeSymbol(u"single"_s, {});
    single->Image = f.Symbol->Image;
    w.Document().AddSymbols({single}, u"Add Symbol"_s);
    w.Document().SetSelectedSymbol(single);
    QCOMPARE(scroll->maximum(), 0);

    // Back to six tiles, then down to two by Delete Image.
    Named<TSymbolListPanel>(w, "dLV_Symbols")
        ->setCurrentItem(Named<TSymbolListPanel>(w, "dLV_Symbols")->topLevelItem(0));
    QTRY_VERIFY(scroll->maximum() > 0);
    for (int k = 5; k >= 2; --k) {
        // The last state tile built is marked already; a click on a marked tile does nothing.
        clickTile(tileOf(w, -1));
        clickTile(tileOf(w, k));
        Named<QPushButton>(w, "bDeleteImage")->click();
    }
    QCOMPARE(f.Symbol->StateImages.size(), 2);
    QCOMPARE(scroll->maximum(), 0);

    // A tile added beyond the strip's right edge is scrolled into view.
    for (int k = 0; k < 6; ++k) {
        f.Dialogs.FileAnswers = {f.WritePicture(u"more%1.png"_s.arg(k), QSize(5, 5))};
        Named<QPushButton>(w, "bAddImage")->click();
    }
    TSymbolImgPanel *added = tileOf(w, 7);
    QVERIFY(scroll->maximum() > 0);
    const QRect shown(
        added->mapTo(Named<TImageStripPanel>(w, "sbImagesScrollBox")->viewport(), QPoint()),
        added->size());
    QVERIFY(Named<TImageStripPanel>(w, "sbImagesScrollBox")
                ->viewport()
                ->rect()
                .contains(QRect(shown.x(), 0, shown.width(), 1)));
}

void TestImageStrip::droppedFiles_data()
{
    QTest::addColumn<bool>("onStrip");
    QTest::newRow("on the list") << false;
    QTest::newRow("on the strip") << true;
}

void TestImageStrip::droppedFiles()
{
    QFETCH(bool, onStrip);
    TStripFixture f;
    TMainForm &w = f.CreateWithSymbol({});
    const QString tank = f.WritePicture(u"drop/tank.png"_s, QSize(6, 6));
    const QString fan = f.WritePicture(u"drop/fan.PNG"_s, QSize(7, 7));
    f.WriteFile(u"drop/notes.txt"_s, "text");
    f.WriteFile(u"drop/fake.png"_s, "not a picture");
    const QStringList dropped = {tank, f.Path(u"drop/notes.txt"_s), fan,
                                 f.Path(u"drop/fake.png"_s)};

    QMimeData data;
    QList<QUrl> urls;
    for (const QString &file : dropped)
        urls.append(QUrl::fromLocalFile(file));
    data.setUrls(urls);
    QWidget *target = onStrip ? Named<TImageStripPanel>(w, "sbImagesScrollBox")->viewport()
                              : Named<TSymbolListPanel>(w, "dLV_Symbols")->viewport();
    // Several pictures on the list are shown as the symbols they make before they are added.
    if (!onStrip)
        f.Dialogs.DialogScripts = {[](QDialog &) { return true; }};
    const QPoint at(20, 20);
    QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, {});
    QCoreApplication::sendEvent(target, &enter);
    QVERIFY(enter.isAccepted());
    QDropEvent drop(at, Qt::CopyAction, &data, Qt::LeftButton, {});
    QCoreApplication::sendEvent(target, &drop);
    QVERIFY(drop.isAccepted());
    QTRY_COMPARE(f.Dialogs.Errors.size(), 1);

    const QString error = f.Dialogs.Errors[0];
    QVERIFY2(error.contains(QDir::toNativeSeparators(dropped[1])), qPrintable(error));
    QVERIFY2(error.contains(QDir::toNativeSeparators(dropped[3])), qPrintable(error));
    QVERIFY2(!error.contains(u"tank"_s) && !error.contains(u"fan"_s), qPrintable(error));
    if (onStrip) {
        QCOMPARE(w.Document().Symbols().size(), 1);
        QCOMPARE(f.Symbol->StateImages, (QList<TStringPairs>{{u"1"_s, tank}, {u"1"_s, fan}}));
        QCOMPARE(tilesOf(w).size(), 3);
        QCOMPARE(markedIndexes(w), QList<int>{1});
        QCOMPARE(IconIndex(w, Named<TSymbolListPanel>(w, "dLV_Symbols")->topLevelItem(0)), 1);
    } else {
        QCOMPARE(w.Document().Symbols().size(), 3);
        QCOMPARE(w.Document().Symbols()[1]->Image, tank);
        QCOMPARE(w.Document().Symbols()[2]->Identifier, u"fan.PNG"_s);
        QCOMPARE(RowTexts(w),
                 Strings({"fan.PNG|fan.PNG|fan.PNG", "s||", "tank.png|tank.png|tank.png"}));
        QCOMPARE(w.SelectedSymbol(), w.Document().Symbols()[2]);
        QVERIFY(f.Symbol->StateImages.isEmpty());
    }
}

QTEST_MAIN(TestImageStrip)
#include "tst_image_strip.moc"
