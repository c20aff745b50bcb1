// The window's controls, menus, anchors, start-up state, the resources and the error guard.
#include "WindowFixture.h"

#include "model/GlyphbookError.h"
#include "ui/DottedLine.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QToolButton>

#include <stdexcept>

class TestWindowLayout : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void controlGeometry_data();
    void controlGeometry();
    void nameFieldsAndLabels();
    void textsAndInitialStates();
    void menus_data();
    void menus();
    void clientAreaAndCaption();
    void anchorsOnResize_data();
    void anchorsOnResize();
    void groupNeverNarrowerThanItsMinimum();
    void gridPictureFollowsTheRule();
    void listIconsAndArrowPictures();
    void symbolEditEnabledSwitchesOnlyTheEditingArea();
    void guardShowsEscapingFailures();
    void settingsCaptionStandsOnTheFrame();

private:
    std::unique_ptr<TWindowFixture> f;
};

void TestWindowLayout::init()
{
    f = std::make_unique<TWindowFixture>();
    f->Create();
}

void TestWindowLayout::controlGeometry_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QRect>("geometry");
    QTest::addColumn<bool>("inGroup");

    const auto row = [](const char *name, QRect r, bool inGroup = false) {
        QTest::newRow(name) << QString::fromLatin1(name) << r << inGroup;
    };
    row("dLV_Symbols", {8, 8, 409, 770});
    row("gbSettings", {423, 1, 680, 200});
    row("eIdentifier", {25, 33, 121, 21}, true);
    row("sbbUp", {70, 93, 20, 20}, true);
    row("sbbDown", {70, 145, 20, 20}, true);
    row("sbbLeft", {45, 119, 20, 20}, true);
    row("sbbRight", {95, 119, 20, 20}, true);
    row("srbAnchor", {133, 103, 86, 19}, true);
    row("srbText", {133, 136, 74, 19}, true);
    row("eAnchorX", {251, 102, 109, 21}, true);
    row("eAnchorY", {387, 102, 109, 21}, true);
    row("cbIsSymbol", {523, 102, 62, 19}, true);
    row("eTextX", {251, 135, 109, 21}, true);
    row("eTextY", {389, 135, 109, 21}, true);
    row("cbTextAlign", {523, 135, 145, 21}, true);
    row("eExampleText", {946, 170, 145, 21});
    row("ImageGrid", {448, 207, 641, 421});
    row("SymbolImage", {637, 336, 105, 105});
    row("shapeX", {530, 388, 320, 1});
    row("shapeY", {689, 266, 1, 240});
    row("shapeTX", {660, 336, 40, 1});
    row("shapeTY", {660, 336, 1, 16});
    row("bAddImage", {493, 634, 97, 19});
    row("bDeleteImage", {596, 634, 97, 19});
    row("cbCross", {890, 634, 84, 19});
    row("cbShowTextCross", {980, 634, 109, 19});
    row("sbImagesScrollBox", {423, 659, 680, 119});
    // Labels size themselves to their text; only their places are fixed.
    row("sLabel1", {25, 14, 0, 0}, true);
    row("sLabel2", {180, 14, 0, 0}, true);
    row("sLabel5", {239, 105, 0, 0}, true);
    row("sLabel6", {375, 105, 0, 0}, true);
    row("sLabel8", {239, 140, 0, 0}, true);
    row("sLabel9", {375, 140, 0, 0}, true);
    row("lExampleText", {660, 322, 0, 0});
    row("sLabel10", {433, 636, 0, 0});
}

void TestWindowLayout::controlGeometry()
{
    QFETCH(QString, name);
    QFETCH(QRect, geometry);
    QFETCH(bool, inGroup);
    TMainForm &w = *f->Window;
    auto *control = w.findChild<QWidget *>(name);
    QVERIFY(control);
    QCOMPARE(control->parentWidget(),
             inGroup ? static_cast<QWidget *>(Named<TSymbolSettingsPanel>(w, "gbSettings"))
                     : Named<QWidget>(w, "ClientArea"));
    if (geometry.width() == 0)
        QCOMPARE(control->pos(), geometry.topLeft());
    else
        QCOMPARE(control->geometry(), geometry);
}

void TestWindowLayout::nameFieldsAndLabels()
{
    const TMainForm &w = *f->Window;
    QCOMPARE(Named<TSymbolSettingsPanel>(w, "gbSettings")->NameEdits.size(), 21);
    QCOMPARE(Named<TSymbolSettingsPanel>(w, "gbSettings")->NameLabels.size(), 21);
    for (int k = 0; k < 21; ++k) {
        QCOMPARE(Named<TSymbolSettingsPanel>(w, "gbSettings")->NameEdits[k]->parentWidget(),
                 Named<TSymbolSettingsPanel>(w, "gbSettings"));
        QCOMPARE(Named<TSymbolSettingsPanel>(w, "gbSettings")->NameEdits[k]->geometry(),
                 QRect(180 + 152 * k, 33, 120, 21));
        QCOMPARE(Named<TSymbolSettingsPanel>(w, "gbSettings")->NameLabels[k]->geometry().topLeft(),
                 QPoint(153 + 152 * k, 36));
        QCOMPARE(Named<TSymbolSettingsPanel>(w, "gbSettings")->NameLabels[k]->width(), 24);
        QVERIFY(Named<TSymbolSettingsPanel>(w, "gbSettings")->NameLabels[k]->alignment() &
                Qt::AlignRight);
        if (k >= 2) {
            QCOMPARE(Named<TSymbolSettingsPanel>(w, "gbSettings")->NameLabels[k]->text(),
                     QStringLiteral("LC"));
            QVERIFY(Named<TSymbolSettingsPanel>(w, "gbSettings")->NameEdits[k]->isHidden());
        }
    }
}

void TestWindowLayout::textsAndInitialStates()
{
    const TMainForm &w = *f->Window;
    QCOMPARE(Named<TSymbolSettingsPanel>(w, "gbSettings")->title(),
             QStringLiteral("Symbol Settings"));
    QCOMPARE(Named<TSymbolSettingsPanel>(w, "gbSettings")->alignment(), Qt::AlignHCenter);
    QCOMPARE(Named<QLineEdit>(w, "eIdentifier")->text(), QStringLiteral("SymbolID"));
    QCOMPARE(Named<QLabel>(w, "sLabel1")->text(), QStringLiteral("Identifier"));
    QCOMPARE(Named<QLabel>(w, "sLabel2")->text(), QStringLiteral("Name"));
    QCOMPARE(Named<QRadioButton>(w, "srbAnchor")->text(), QStringLiteral("Anchorpoint"));
    QVERIFY(Named<QRadioButton>(w, "srbAnchor")->isChecked());
    QCOMPARE(Named<QRadioButton>(w, "srbText")->text(), QStringLiteral("Textpoint"));
    QVERIFY(!Named<QRadioButton>(w, "srbText")->isChecked());
    for (const QLineEdit *point : {Named<QLineEdit>(w, "eAnchorX"), Named<QLineEdit>(w, "eAnchorY"),
                                   Named<QLineEdit>(w, "eTextX"), Named<QLineEdit>(w, "eTextY")})
        QCOMPARE(point->text(), QStringLiteral("0"));
    QCOMPARE(Named<QCheckBox>(w, "cbIsSymbol")->text(), QStringLiteral("Symbol"));
    QVERIFY(Named<QCheckBox>(w, "cbIsSymbol")->isChecked());
    QCOMPARE(Named<QComboBox>(w, "cbTextAlign")->count(), 3);
    QCOMPARE(Named<QComboBox>(w, "cbTextAlign")->itemText(0), QStringLiteral("Right"));
    QCOMPARE(Named<QComboBox>(w, "cbTextAlign")->itemText(1), QStringLiteral("Center"));
    QCOMPARE(Named<QComboBox>(w, "cbTextAlign")->itemText(2), QStringLiteral("Left"));
    QCOMPARE(Named<QComboBox>(w, "cbTextAlign")->currentIndex(), -1);
    QCOMPARE(Named<QComboBox>(w, "cbTextAlign")->currentText(), QStringLiteral("Rigth"));
    QVERIFY(Named<QComboBox>(w, "cbTextAlign")->isEditable());
    QCOMPARE(Named<QLineEdit>(w, "eExampleText")->text(), QStringLiteral("Example Text"));
    QCOMPARE(Named<QLineEdit>(w, "eExampleText")->toolTip(), QStringLiteral("Example Text"));
    QCOMPARE(Named<QLabel>(w, "lExampleText")->text(), QStringLiteral("Example Text"));
    QCOMPARE(Named<QLabel>(w, "sLabel10")->text(), QStringLiteral("Images"));
    QCOMPARE(Named<QPushButton>(w, "bAddImage")->text(), QStringLiteral("Add Image"));
    QCOMPARE(Named<QPushButton>(w, "bDeleteImage")->text(), QStringLiteral("Delete Image"));
    QVERIFY(Named<QPushButton>(w, "bAddImage")->isEnabled() &&
            Named<QPushButton>(w, "bDeleteImage")->isEnabled());
    QCOMPARE(Named<QCheckBox>(w, "cbCross")->text(), QStringLiteral("Show Cross"));
    QCOMPARE(Named<QCheckBox>(w, "cbShowTextCross")->text(), QStringLiteral("Show Text Cross"));
    QVERIFY(!Named<QCheckBox>(w, "cbCross")->isChecked() &&
            !Named<QCheckBox>(w, "cbShowTextCross")->isChecked());
    QCOMPARE(Named<TSymbolListPanel>(w, "dLV_Symbols")->toolTip(),
             QStringLiteral("Double click to add new symbol"));
    QCOMPARE(Named<TSymbolListPanel>(w, "dLV_Symbols")->selectionMode(),
             QAbstractItemView::SingleSelection);
    QCOMPARE(Named<TSymbolListPanel>(w, "dLV_Symbols")->selectionBehavior(),
             QAbstractItemView::SelectRows);
    QCOMPARE(Named<TSymbolListPanel>(w, "dLV_Symbols")->editTriggers(),
             QAbstractItemView::NoEditTriggers);
    QVERIFY(Named<TSymbolListPanel>(w, "dLV_Symbols")->isSortingEnabled());
    QVERIFY(!Named<TSymbolListPanel>(w, "dLV_Symbols")->header()->sectionsClickable());
    for (const QWidget *line : {Named<TDottedLine>(w, "shapeX"), Named<TDottedLine>(w, "shapeY"),
                                Named<TDottedLine>(w, "shapeTX"), Named<TDottedLine>(w, "shapeTY")})
        QVERIFY(line->isHidden());

    // Start-up: empty library, nothing selected, the editing area off.
    QVERIFY(w.Document().Symbols().isEmpty());
    QVERIFY(!w.SelectedSymbol());
    QVERIFY(!Named<TSymbolSettingsPanel>(w, "gbSettings")->isEnabled());
    QVERIFY(Named<QLabel>(w, "SymbolImage")->isHidden() &&
            Named<QLabel>(w, "lExampleText")->isHidden());
    QVERIFY(Named<TImageStripPanel>(w, "sbImagesScrollBox")->isHidden());
    QVERIFY(Named<QLineEdit>(w, "eExampleText")->isEnabled());
    QCOMPARE(ColumnCaptions(w), Strings({"Identifier", "en", "sv"}));
    QVERIFY(f->Dialogs.Errors.isEmpty());
}

void TestWindowLayout::menus_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("menu");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QKeySequence>("shortcut");

    const auto row = [](const char *name, const char *menu, const char *caption,
                        QKeySequence shortcut = {}) {
        QTest::newRow(name) << QString::fromLatin1(name) << QString::fromLatin1(menu)
                            << QString::fromLatin1(caption) << shortcut;
    };
    row("miOpenProject", "mmFileMenu", "Open Project", QKeySequence(Qt::CTRL | Qt::Key_O));
    row("miSaveProject", "mmFileMenu", "Save Project", QKeySequence(Qt::CTRL | Qt::Key_S));
    row("miOpenLib", "mmFileMenu", "Extract Glyphbook");
    row("miPackLib", "mmFileMenu", "Pack Glyphbook", QKeySequence(Qt::CTRL | Qt::Key_P));
    row("miNewProject", "mmFileMenu", "New Project");
    row("E1", "mmFileMenu", "Exit");
    row("miUndo", "mmEdit", "Undo", QKeySequence(Qt::CTRL | Qt::Key_Z));
    row("miRedo", "mmEdit", "Redo", QKeySequence(Qt::CTRL | Qt::Key_Y));
    row("miNewSymbol", "mmSymbol", "Add New Symbol", QKeySequence(Qt::CTRL | Qt::Key_A));
    row("miDupSymb", "mmSymbol", "Duplicate Symbol", QKeySequence(Qt::CTRL | Qt::Key_D));
    row("miDeleteSymbol", "mmSymbol", "Delete Symbol");
    row("miEN", "mmLanguages", "en");
    row("miSE", "mmLanguages", "sv");
    row("SmallExamplejs1", "mmExamples", "SmallExampleLib.js");
}

void TestWindowLayout::menus()
{
    QFETCH(QString, name);
    QFETCH(QString, menu);
    QFETCH(QString, caption);
    QFETCH(QKeySequence, shortcut);
    const TMainForm &w = *f->Window;
    auto *item = w.findChild<QAction *>(name);
    QVERIFY(item);
    QCOMPARE(item->text(), caption);
    QCOMPARE(item->shortcut(), shortcut);
    auto *owner = w.findChild<QMenu *>(menu);
    QVERIFY(owner);
    QVERIFY(owner->actions().contains(item));
}

void TestWindowLayout::clientAreaAndCaption()
{
    TMainForm &w = *f->Window;
    QCOMPARE(w.windowTitle(), QStringLiteral("Glyphbook Creator 1.03"));
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    QCOMPARE(w.centralWidget()->size(), QSize(1111, 786));
    QCOMPARE(w.minimumWidth(), 100);
    // The menu bar: File, Symbol, Languages, then Examples (hidden) and Help; the added Edit
    // menu stands between File and Symbol, View before Languages.
    QStringList bar;
    for (const QAction *entry : w.menuBar()->actions())
        bar.append(entry->text());
    QCOMPARE(bar, Strings({"File", "Edit", "Symbol", "View", "Languages", "Examples", "Help"}));
    QVERIFY(Named<QAction>(w, "H1")->menu() == nullptr);
}

void TestWindowLayout::anchorsOnResize_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QRect>("after");
    // The client area grows by 200 x 100.
    QTest::newRow("list: left, top, bottom") << u"dLV_Symbols"_s << QRect(8, 8, 409, 870);
    QTest::newRow("group: left, top, right") << u"gbSettings"_s << QRect(423, 1, 880, 200);
    QTest::newRow("strip: all four") << u"sbImagesScrollBox"_s << QRect(423, 659, 880, 219);
    QTest::newRow("grid stays") << u"ImageGrid"_s << QRect(448, 207, 641, 421);
    QTest::newRow("example field stays") << u"eExampleText"_s << QRect(946, 170, 145, 21);
    QTest::newRow("button stays") << u"bAddImage"_s << QRect(493, 634, 97, 19);
}

void TestWindowLayout::anchorsOnResize()
{
    QFETCH(QString, name);
    QFETCH(QRect, after);
    TMainForm &w = *f->Window;
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    auto *control = w.findChild<QWidget *>(name);
    const QRect before = control->geometry();
    w.resize(w.size() + QSize(200, 100));
    QTRY_COMPARE(Named<QWidget>(w, "ClientArea")->size(), QSize(1311, 886));
    QCOMPARE(control->geometry(), after);
    w.resize(w.size() - QSize(200, 100));
    QTRY_COMPARE(Named<QWidget>(w, "ClientArea")->size(), QSize(1111, 786));
    QCOMPARE(control->geometry(), before);
}

void TestWindowLayout::groupNeverNarrowerThanItsMinimum()
{
    TMainForm &w = *f->Window;
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    w.resize(600, w.height());
    // The client area keeps the group's minimum width and scrolls instead.
    QTRY_COMPARE(Named<QWidget>(w, "ClientArea")->width(), 423 + 454);
    QCOMPARE(Named<TSymbolSettingsPanel>(w, "gbSettings")->width(), 454);
    auto *scroll = static_cast<QScrollArea *>(w.centralWidget());
    QVERIFY(scroll->horizontalScrollBar()->maximum() > 0);
    // Three languages need a wider group than the window: the group grows to its minimum.
    w.AddLanguage(QStringLiteral("de"), true);
    w.RebuildLanguageColumns();
    QCOMPARE(Named<TSymbolSettingsPanel>(w, "gbSettings")->width(), 606);
    QTRY_COMPARE(Named<QWidget>(w, "ClientArea")->width(), 423 + 606);
    // And shrinks back when the language is hidden again.
    Named<QMenu>(w, "mmLanguages")->actions().last()->trigger();
    QTRY_COMPARE(Named<QWidget>(w, "ClientArea")->width(), 423 + 454);
    QTRY_COMPARE(Named<TSymbolSettingsPanel>(w, "gbSettings")->width(), 454);
}

void TestWindowLayout::gridPictureFollowsTheRule()
{
    QFile file(QStringLiteral(":/glyphbook/grid.bmp"));
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray header = file.read(30);
    QCOMPARE(header.left(2), QByteArray("BM"));
    QCOMPARE(static_cast<int>(header[28]), 24); // bits per pixel
    QImage grid(QStringLiteral(":/glyphbook/grid.bmp"));
    QCOMPARE(grid.size(), QSize(641, 421));
    for (int y = 0; y < 421; ++y) {
        for (int x = 0; x < 641; ++x) {
            QRgb expected = qRgb(255, 255, 255);
            if (x % 10 == 0 || y % 10 == 0) {
                if (x == 240 && y == 0)
                    expected = qRgb(184, 184, 184);
                else if (x == 240 || y == 180)
                    expected = qRgb(0, 0, 0);
                else if (x % 80 == 0 || y % 60 == 0)
                    expected = qRgb(184, 184, 184);
                else
                    expected = qRgb(232, 232, 232);
            }
            if (grid.pixel(x, y) != expected)
                QFAIL(qPrintable(QStringLiteral("pixel (%1, %2) is %3, expected %4")
                                     .arg(x)
                                     .arg(y)
                                     .arg(grid.pixel(x, y), 8, 16)
                                     .arg(expected, 8, 16)));
        }
    }
    QCOMPARE(Named<TSymbolPreviewPanel>(*f->Window, "ImageGrid")->pixmap().size(), QSize(641, 421));
}

void TestWindowLayout::listIconsAndArrowPictures()
{
    const TMainForm &w = *f->Window;
    QCOMPARE(Named<TSymbolListPanel>(w, "dLV_Symbols")->Icons().size(), 4);
    for (const char *name : {"ico_symb", "ico_symbR", "ico_image", "ico_imageErr"})
        QCOMPARE(QImage(QStringLiteral(":/glyphbook/%1.png").arg(QLatin1String(name))).size(),
                 QSize(16, 16));
    for (const QToolButton *arrow :
         {Named<QToolButton>(w, "sbbUp"), Named<QToolButton>(w, "sbbDown"),
          Named<QToolButton>(w, "sbbLeft"), Named<QToolButton>(w, "sbbRight")}) {
        QVERIFY(!arrow->icon().isNull());
        QCOMPARE(arrow->icon().availableSizes().value(0), QSize(20, 20));
    }
    QVERIFY(!w.windowIcon().isNull());
}

void TestWindowLayout::symbolEditEnabledSwitchesOnlyTheEditingArea()
{
    TMainForm &w = *f->Window;
    Named<QCheckBox>(w, "cbCross")->setChecked(true);
    Named<QPushButton>(w, "bDeleteImage")->setEnabled(false);
    w.SymbolEditEnabled(true);
    QVERIFY(Named<TSymbolSettingsPanel>(w, "gbSettings")->isEnabled());
    QVERIFY(!Named<QLabel>(w, "SymbolImage")->isHidden() &&
            !Named<QLabel>(w, "lExampleText")->isHidden());
    QVERIFY(!Named<TImageStripPanel>(w, "sbImagesScrollBox")->isHidden());
    QVERIFY(Named<QLineEdit>(w, "eIdentifier")->isEnabled());
    w.SymbolEditEnabled(false);
    QVERIFY(!Named<TSymbolSettingsPanel>(w, "gbSettings")->isEnabled());
    QVERIFY(!Named<QLineEdit>(w, "eIdentifier")->isEnabled() &&
            !Named<TSymbolSettingsPanel>(w, "gbSettings")->NameEdits[0]->isEnabled());
    QVERIFY(Named<QLabel>(w, "SymbolImage")->isHidden() &&
            Named<TImageStripPanel>(w, "sbImagesScrollBox")->isHidden());
    // What lies outside the editing area keeps its state.
    QVERIFY(Named<QLineEdit>(w, "eExampleText")->isEnabled());
    QVERIFY(Named<QCheckBox>(w, "cbCross")->isChecked());
    QVERIFY(!Named<QPushButton>(w, "bDeleteImage")->isEnabled());
    QVERIFY(!Named<TSymbolPreviewPanel>(w, "ImageGrid")->isHidden());
}

void TestWindowLayout::guardShowsEscapingFailures()
{
    TMainForm &w = *f->Window;
    bool after = false;
    w.Guard([&] {
        throw EFileError(QStringLiteral("Cannot open file \"x\". Gone"));
        after = true;
    });
    w.Guard([] { throw std::runtime_error("plain failure"); });
    QCOMPARE(f->Dialogs.Errors, Strings({"Cannot open file \"x\". Gone", "plain failure"}));
    QVERIFY(!after);
}

void TestWindowLayout::settingsCaptionStandsOnTheFrame()
{
    // As the program paints it: the skin's style, which puts captions above the frame.
    QApplication::setStyle(QStringLiteral("Fusion"));
    const QImage image = Named<TSymbolSettingsPanel>(*f->Window, "gbSettings")->grab().toImage();
    const QRgb background = image.pixel(10, 0);
    const auto ink = [&](int X, int Y) { return image.pixel(X, Y) != background; };

    int frameTop = 0;
    while (frameTop < 40 && !ink(10, frameTop))
        ++frameTop;
    QVERIFY(frameTop > 0 && frameTop < 40);

    // The caption's letters reach above and below the frame's top line, which is broken
    // behind them; they stand centred.
    int left = image.width();
    int right = -1;
    bool above = false;
    bool below = false;
    for (int x = 20; x < image.width() - 20; ++x) {
        for (int y = 0; y < frameTop + 6; ++y) {
            if (y == frameTop || y == frameTop + 1 || !ink(x, y))
                continue;
            above = above || y < frameTop;
            below = below || y > frameTop + 1;
            left = std::min(left, x);
            right = std::max(right, x);
        }
    }
    QVERIFY(above);
    QVERIFY(below);
    QVERIFY(!ink(left - 1, frameTop) && !ink(right + 1, frameTop));
    QVERIFY2(std::abs((left + right) / 2 - image.width() / 2) <= 2,
             qPrintable(u"caption from %1 to %2"_s.arg(left).arg(right)));
}

QTEST_MAIN(TestWindowLayout)
#include "tst_window_layout.moc"
