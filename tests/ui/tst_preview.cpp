// The preview: the picture by its anchor, the example text at its text point, the crosses, the
// arrow buttons and placing points with the mouse on the picture, the grid and the label.
// Mouse events go through the window as a user's would, so the topmost element under the
// pointer receives them and a press grabs the mouse.
#define QTEST_QPA_MOUSE_HANDLING
#include "TestPictures.h"
#include "WindowFixture.h"

#include "ui/PictureFile.h"

#include "ui/DottedLine.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFontInfo>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMovie>
#include <QRadioButton>
#include <QToolButton>

#include <limits>

class TestPreview : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void anchorPlacesThePicture_data();
    void anchorPlacesThePicture();
    void textPointPlacesLabelAndLines_data();
    void textPointPlacesLabelAndLines();
    void exampleFontHasTheDesignedCell();
    void fieldsAndRowShowTheSymbol();
    void alignmentSelectorKeepsTypedTextThatMatchesNoItem();
    void stackingOrderAndTransparentPixels();
    void crossCheckBoxesShowTheirLines();
    void exampleTextSetsLabelTextAndWidth();
    void arrowButtons_data();
    void arrowButtons();
    void arrowButtonsNeedASelectedSymbol();
    void dragThePicture();
    void dragTheLabel();
    void leavingThePictureEndsTheDrag();
    void shiftRelease_data();
    void shiftRelease();
    void shiftReleaseOnTheLabelPlacesThePointUnderThePointer();
    void plainImageIgnoresTheMouse();
    void selectingARowOfAPlainImage();
    void focusedPointFieldIsNotRewritten_data();
    void focusedPointFieldIsNotRewritten();
    void showSymbolImageChoosesTheImage_data();
    void showSymbolImageChoosesTheImage();
    void missingFileShowsTheMissingMark();
    void imagePathResolution_data();
    void imagePathResolution();
    void gifAnimatesOnlyWithLowerCaseExtension_data();
    void gifAnimatesOnlyWithLowerCaseExtension();
    void farAwayPointsStayUsable();

private:
    std::unique_ptr<TWindowFixture> f;
    TMainForm *w = nullptr;

    /// A picture file of the given size in the fixture folder.
    QString picture(const QString &Name, QSize Size) const;
    /// A symbol with a picture of Size, the anchor and text point given, aligned Right.
    TViraSymbolPtr symbolWith(QPoint Anchor, QPoint Text, QSize Size = {20, 30}) const;
    /// Puts Symbol into the list and selects its row.
    void select(const TViraSymbolPtr &Symbol);
    QStringList pointFields() const;
    QLineEdit *field(const QString &Name) const;
};

void TestPreview::init()
{
    f = std::make_unique<TWindowFixture>();
    w = &f->Create();
    w->show();
    QVERIFY(QTest::qWaitForWindowExposed(w));
}

QString TestPreview::picture(const QString &Name, QSize Size) const
{
    return f->WritePicture(Name, Size, Qt::darkGreen);
}

TViraSymbolPtr TestPreview::symbolWith(QPoint Anchor, QPoint Text, QSize Size) const
{
    auto symbol = MakeSymbol(u"Pump"_s, {{u"en"_s, u"Pump"_s}, {u"sv"_s, u"Pump"_s}});
    symbol->Image = picture(u"pump.png"_s, Size);
    symbol->ImageX = Anchor.x();
    symbol->ImageY = Anchor.y();
    symbol->TextX = Text.x();
    symbol->TextY = Text.y();
    return symbol;
}

void TestPreview::select(const TViraSymbolPtr &Symbol)
{
    AddSymbols(*w, {Symbol});
    selectSymbol(*w, Symbol);
}

QStringList TestPreview::pointFields() const
{
    return {Named<QLineEdit>(*w, "eAnchorX")->text(), Named<QLineEdit>(*w, "eAnchorY")->text(),
            Named<QLineEdit>(*w, "eTextX")->text(), Named<QLineEdit>(*w, "eTextY")->text()};
}

QLineEdit *TestPreview::field(const QString &Name) const
{
    return w->findChild<QLineEdit *>(Name);
}

void TestPreview::anchorPlacesThePicture_data()
{
    QTest::addColumn<QPoint>("anchor");
    QTest::addColumn<bool>("isSymbol");
    QTest::addColumn<QPoint>("pictureAt");
    QTest::newRow("anchor (10, 20)") << QPoint(10, 20) << true << QPoint(678, 367);
    QTest::newRow("anchor (0, 0)") << QPoint(0, 0) << true << QPoint(688, 387);
    QTest::newRow("negative anchor") << QPoint(-5, -7) << true << QPoint(693, 394);
    QTest::newRow("plain image ignores its anchor") << QPoint(10, 20) << false << QPoint(688, 387);
}

void TestPreview::anchorPlacesThePicture()
{
    QFETCH(QPoint, anchor);
    QFETCH(bool, isSymbol);
    QFETCH(QPoint, pictureAt);
    auto symbol = symbolWith(anchor, {0, 0});
    symbol->Symbol = isSymbol;
    select(symbol);
    QCOMPARE(Named<QLabel>(*w, "SymbolImage")->geometry(), QRect(pictureAt, QSize(20, 30)));
    QCOMPARE(Named<QLabel>(*w, "lExampleText")->isVisible(), isSymbol);
    for (QWidget *control : {static_cast<QWidget *>(Named<QLineEdit>(*w, "eAnchorX")),
                             static_cast<QWidget *>(Named<QLineEdit>(*w, "eAnchorY")),
                             static_cast<QWidget *>(Named<QLineEdit>(*w, "eTextX")),
                             static_cast<QWidget *>(Named<QLineEdit>(*w, "eTextY")),
                             static_cast<QWidget *>(Named<QComboBox>(*w, "cbTextAlign"))})
        QCOMPARE(control->isEnabled(), isSymbol);
    QCOMPARE(Named<QCheckBox>(*w, "cbIsSymbol")->isChecked(), isSymbol);
}

void TestPreview::textPointPlacesLabelAndLines_data()
{
    QTest::addColumn<int>("align");
    QTest::newRow("Right") << int(vstaRight);
    QTest::newRow("Center") << int(vstaCenter);
    QTest::newRow("Left") << int(vstaLeft);
    QTest::newRow("unknown") << 255;
}

void TestPreview::textPointPlacesLabelAndLines()
{
    QFETCH(int, align);
    const QPoint labelBefore = Named<QLabel>(*w, "lExampleText")->pos();
    const QPoint lineBefore = Named<TDottedLine>(*w, "shapeTX")->pos();
    auto symbol = symbolWith({10, 20}, {30, 40});
    symbol->TextAlign = TVSTextAlign(align);
    select(symbol);

    // Picture at (678, 367), so the text point is at (708, 407).
    const int width = Named<QLabel>(*w, "lExampleText")->width();
    QVERIFY(width > 40);
    QCOMPARE(Named<QLabel>(*w, "lExampleText")->y(), 395);
    switch (align) {
    case vstaRight:
        QCOMPARE(Named<QLabel>(*w, "lExampleText")->x(), 708);
        QCOMPARE(Named<TDottedLine>(*w, "shapeTX")->pos(), QPoint(708, 407));
        break;
    case vstaCenter:
        // Halving truncates: an odd width stands one pixel further right.
        QCOMPARE(Named<QLabel>(*w, "lExampleText")->x(), 708 - width / 2);
        QCOMPARE(Named<TDottedLine>(*w, "shapeTX")->pos(), QPoint(688, 407));
        break;
    case vstaLeft:
        QCOMPARE(Named<QLabel>(*w, "lExampleText")->x(), 708 - width);
        QCOMPARE(Named<TDottedLine>(*w, "shapeTX")->pos(), QPoint(668, 407));
        break;
    default:
        QCOMPARE(Named<QLabel>(*w, "lExampleText")->x(), labelBefore.x());
        QCOMPARE(Named<TDottedLine>(*w, "shapeTX")->pos(), QPoint(lineBefore.x(), 407));
    }
    QCOMPARE(Named<TDottedLine>(*w, "shapeTY")->pos(), QPoint(708, 399));
    QCOMPARE(Named<TDottedLine>(*w, "shapeTX")->size(), QSize(40, 1));
    QCOMPARE(Named<TDottedLine>(*w, "shapeTY")->size(), QSize(1, 16));
}

void TestPreview::exampleFontHasTheDesignedCell()
{
    // The label's top is placed 12 px above the text point, so the font must have that ascent.
    const QFontMetrics metrics = Named<QLabel>(*w, "lExampleText")->fontMetrics();
    QCOMPARE(metrics.ascent(), 12);
    QCOMPARE(metrics.height(), 15);
    QVERIFY(Named<QLabel>(*w, "lExampleText")->font().bold());
    QCOMPARE(Named<QLabel>(*w, "lExampleText")->height(), 15);
    QCOMPARE(Named<QLabel>(*w, "lExampleText")->width(),
             Named<QLabel>(*w, "lExampleText")->sizeHint().width());
    const QString family = QFontInfo(Named<QLabel>(*w, "lExampleText")->font()).family();
    QVERIFY2(QStringList({u"Arial"_s, u"Liberation Sans"_s, u"Arimo"_s}).contains(family),
             qPrintable(family));
}

void TestPreview::fieldsAndRowShowTheSymbol()
{
    // Names in the other order than the columns: the fields and the row follow the columns.
    auto symbol = symbolWith({3, -4}, {5, 6});
    symbol->Identifier = u"Valve"_s;
    symbol->Names = {{u"sv"_s, u"Ventil"_s}, {u"en"_s, u"Valve"_s}};
    symbol->TextAlign = vstaCenter;
    select(symbol);
    QCOMPARE(ColumnCaptions(*w), Strings({"Identifier", "en", "sv"}));
    QCOMPARE(Named<QLineEdit>(*w, "eIdentifier")->text(), u"Valve"_s);
    QCOMPARE(pointFields(), Strings({"3", "-4", "5", "6"}));
    QCOMPARE(Named<QComboBox>(*w, "cbTextAlign")->currentIndex(), 1);
    QCOMPARE(Named<QComboBox>(*w, "cbTextAlign")->currentText(), u"Center"_s);
    QCOMPARE(Named<TSymbolSettingsPanel>(*w, "gbSettings")->NameEdits[0]->text(), u"Valve"_s);
    QCOMPARE(Named<TSymbolSettingsPanel>(*w, "gbSettings")->NameEdits[1]->text(), u"Ventil"_s);
    QCOMPARE(RowTexts(*w), Strings({"Valve|Valve|Ventil"}));
    QCOMPARE(w->SelectedSymbol(), symbol);

    // A symbol with no known alignment empties the selector.
    auto unknown = symbolWith({0, 0}, {0, 0});
    unknown->TextAlign = TVSTextAlign(255);
    showSymbol(*w, unknown, -1);
    QCOMPARE(Named<QComboBox>(*w, "cbTextAlign")->currentIndex(), -1);
    QCOMPARE(Named<QComboBox>(*w, "cbTextAlign")->currentText(), QString());
}

void TestPreview::alignmentSelectorKeepsTypedTextThatMatchesNoItem()
{
    auto symbol = symbolWith({0, 0}, {0, 0});
    symbol->TextAlign = TVSTextAlign(255);
    select(symbol);
    // What the user is typing ("Cen" on the way to "Center") matches no item, like the symbol.
    Named<QComboBox>(*w, "cbTextAlign")->setEditText(u"Cen"_s);
    Named<TSymbolSettingsPanel>(*w, "gbSettings")->ShowSymbolFields(*symbol);
    QCOMPARE(Named<QComboBox>(*w, "cbTextAlign")->currentText(), u"Cen"_s);
    // Item texts are compared exactly, so "center" is no alignment either.
    Named<QComboBox>(*w, "cbTextAlign")->setEditText(u"center"_s);
    Named<TSymbolSettingsPanel>(*w, "gbSettings")->ShowSymbolFields(*symbol);
    QCOMPARE(Named<QComboBox>(*w, "cbTextAlign")->currentText(), u"center"_s);
    symbol->TextAlign = vstaLeft;
    Named<TSymbolSettingsPanel>(*w, "gbSettings")->ShowSymbolFields(*symbol);
    QCOMPARE(Named<QComboBox>(*w, "cbTextAlign")->currentText(), u"Left"_s);
}

void TestPreview::stackingOrderAndTransparentPixels()
{
    QList<QWidget *> order;
    for (QObject *child : Named<QWidget>(*w, "ClientArea")->children())
        if (auto *widget = qobject_cast<QWidget *>(child))
            order.append(widget);
    const QList<QWidget *> preview = {Named<TSymbolPreviewPanel>(*w, "ImageGrid"),
                                      Named<QLabel>(*w, "SymbolImage"),
                                      Named<QLabel>(*w, "lExampleText"),
                                      Named<TDottedLine>(*w, "shapeY"),
                                      Named<TDottedLine>(*w, "shapeX"),
                                      Named<TDottedLine>(*w, "shapeTX"),
                                      Named<TDottedLine>(*w, "shapeTY")};
    for (int k = 1; k < preview.size(); ++k)
        QVERIFY2(order.indexOf(preview[k - 1]) < order.indexOf(preview[k]),
                 qPrintable(preview[k]->objectName()));

    // A transparent picture with one red pixel, its corner on the grid origin.
    QImage image(9, 9, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    image.setPixelColor(5, 5, Qt::red);
    QVERIFY(image.save(f->Path(u"dot.png"_s)));
    auto symbol = symbolWith({0, 0}, {200, 200});
    symbol->Image = f->Path(u"dot.png"_s);
    select(symbol);
    const QImage shot = Named<QWidget>(*w, "ClientArea")->grab().toImage();
    const QPoint origin = Named<TSymbolPreviewPanel>(*w, "ImageGrid")->pos() + QPoint(240, 180);
    QCOMPARE(shot.pixelColor(origin), QColor(Qt::black));
    QCOMPARE(shot.pixelColor(origin + QPoint(1, 1)), QColor(Qt::white));
    QCOMPARE(shot.pixelColor(origin + QPoint(10, 1)), QColor(232, 232, 232));
    QCOMPARE(shot.pixelColor(origin + QPoint(5, 5)), QColor(Qt::red));
}

void TestPreview::crossCheckBoxesShowTheirLines()
{
    select(symbolWith({0, 0}, {0, 0}));
    for (QWidget *line : {Named<TDottedLine>(*w, "shapeX"), Named<TDottedLine>(*w, "shapeY"),
                          Named<TDottedLine>(*w, "shapeTX"), Named<TDottedLine>(*w, "shapeTY")})
        QVERIFY(line->isHidden());
    QTest::mouseClick(Named<QCheckBox>(*w, "cbCross"), Qt::LeftButton);
    QVERIFY(Named<TDottedLine>(*w, "shapeX")->isVisible() &&
            Named<TDottedLine>(*w, "shapeY")->isVisible());
    QVERIFY(Named<TDottedLine>(*w, "shapeTX")->isHidden() &&
            Named<TDottedLine>(*w, "shapeTY")->isHidden());
    QTest::mouseClick(Named<QCheckBox>(*w, "cbShowTextCross"), Qt::LeftButton);
    QVERIFY(Named<TDottedLine>(*w, "shapeTX")->isVisible() &&
            Named<TDottedLine>(*w, "shapeTY")->isVisible());
    // Setting a box from code shows or hides its lines too.
    Named<QCheckBox>(*w, "cbCross")->setChecked(false);
    QVERIFY(Named<TDottedLine>(*w, "shapeX")->isHidden() &&
            Named<TDottedLine>(*w, "shapeY")->isHidden());
    QVERIFY(Named<TDottedLine>(*w, "shapeTX")->isVisible());
    QCOMPARE(Named<TDottedLine>(*w, "shapeY")->geometry(), QRect(689, 266, 1, 240));
    QCOMPARE(Named<TDottedLine>(*w, "shapeX")->geometry(), QRect(530, 388, 320, 1));
}

void TestPreview::exampleTextSetsLabelTextAndWidth()
{
    const QPoint before = Named<QLabel>(*w, "lExampleText")->pos();
    const int longWidth = Named<QLabel>(*w, "lExampleText")->width();
    Named<QLineEdit>(*w, "eExampleText")->clear();
    QTest::keyClicks(Named<QLineEdit>(*w, "eExampleText"), u"Hi"_s);
    QCOMPARE(Named<QLabel>(*w, "lExampleText")->text(), u"Hi"_s);
    QVERIFY(Named<QLabel>(*w, "lExampleText")->width() < longWidth);
    QCOMPARE(Named<QLabel>(*w, "lExampleText")->width(),
             Named<QLabel>(*w, "lExampleText")->sizeHint().width());
    // Without a selected symbol only the text changes.
    QCOMPARE(Named<QLabel>(*w, "lExampleText")->pos(), before);

    // With one, a centred label is centred again with its new width.
    auto symbol = symbolWith({10, 20}, {30, 40});
    symbol->TextAlign = vstaCenter;
    select(symbol);
    QCOMPARE(Named<QLabel>(*w, "lExampleText")->x(),
             708 - Named<QLabel>(*w, "lExampleText")->width() / 2);
    QTest::keyClicks(Named<QLineEdit>(*w, "eExampleText"), u" there, a longer text"_s);
    QCOMPARE(Named<QLabel>(*w, "lExampleText")->text(), u"Hi there, a longer text"_s);
    QVERIFY(Named<QLabel>(*w, "lExampleText")->width() > longWidth);
    QCOMPARE(Named<QLabel>(*w, "lExampleText")->x(),
             708 - Named<QLabel>(*w, "lExampleText")->width() / 2);
}

void TestPreview::arrowButtons_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<bool>("textPoint");
    QTest::addColumn<bool>("isSymbol");
    QTest::addColumn<QStringList>("fields");
    QTest::addColumn<QPoint>("moved");
    // Anchor (10, 20), text point (30, 40). The picture (anchor) or the label (text point)
    // moves one pixel in the arrow's direction.
    const auto row = [](const char *name, const char *button, bool text, QStringList fields,
                        QPoint moved, bool isSymbol = true) {
        QTest::newRow(name) << QString::fromLatin1(button) << text << isSymbol << fields << moved;
    };
    row("anchor up", "sbbUp", false, Strings({"10", "21", "30", "40"}), {0, -1});
    row("anchor down", "sbbDown", false, Strings({"10", "19", "30", "40"}), {0, 1});
    row("anchor left", "sbbLeft", false, Strings({"11", "20", "30", "40"}), {-1, 0});
    row("anchor right", "sbbRight", false, Strings({"9", "20", "30", "40"}), {1, 0});
    row("text up", "sbbUp", true, Strings({"10", "20", "30", "39"}), {0, -1});
    row("text down", "sbbDown", true, Strings({"10", "20", "30", "41"}), {0, 1});
    row("text left", "sbbLeft", true, Strings({"10", "20", "29", "40"}), {-1, 0});
    row("text right", "sbbRight", true, Strings({"10", "20", "31", "40"}), {1, 0});
    // A plain image stands on the grid origin whatever its anchor.
    row("plain image still changes", "sbbLeft", false, Strings({"11", "20", "30", "40"}), {0, 0},
        false);
}

void TestPreview::arrowButtons()
{
    QFETCH(QString, button);
    QFETCH(bool, textPoint);
    QFETCH(bool, isSymbol);
    QFETCH(QStringList, fields);
    QFETCH(QPoint, moved);
    auto symbol = symbolWith({10, 20}, {30, 40});
    symbol->Symbol = isSymbol;
    select(symbol);
    (textPoint ? Named<QRadioButton>(*w, "srbText") : Named<QRadioButton>(*w, "srbAnchor"))
        ->setChecked(true);
    QWidget *element = textPoint ? static_cast<QWidget *>(Named<QLabel>(*w, "lExampleText"))
                                 : Named<QLabel>(*w, "SymbolImage");
    const QPoint before = element->pos();
    QTest::mouseClick(w->findChild<QToolButton *>(button), Qt::LeftButton);
    QCOMPARE(pointFields(), fields);
    QCOMPARE(QStringList({QString::number(symbol->ImageX), QString::number(symbol->ImageY),
                          QString::number(symbol->TextX), QString::number(symbol->TextY)}),
             fields);
    QCOMPARE(element->pos() - before, moved);
    QCOMPARE(Named<QRadioButton>(*w, "srbText")->isChecked(), textPoint);
}

void TestPreview::arrowButtonsNeedASelectedSymbol()
{
    select(symbolWith({10, 20}, {30, 40}));
    // New Project leaves the editing area on with no symbol selected.
    Named<QAction>(*w, "miNewProject")->trigger();
    QVERIFY(Named<QToolButton>(*w, "sbbUp")->isEnabled());
    for (QToolButton *button :
         {Named<QToolButton>(*w, "sbbUp"), Named<QToolButton>(*w, "sbbDown"),
          Named<QToolButton>(*w, "sbbLeft"), Named<QToolButton>(*w, "sbbRight")})
        QTest::mouseClick(button, Qt::LeftButton);
    QCOMPARE(pointFields(), Strings({"10", "20", "30", "40"}));
}

void TestPreview::dragThePicture()
{
    auto symbol = symbolWith({10, 10}, {30, 40});
    select(symbol);
    Named<QRadioButton>(*w, "srbText")->setChecked(true);
    const QPoint before = Named<QLabel>(*w, "SymbolImage")->pos();
    QTest::mousePress(Named<QLabel>(*w, "SymbolImage"), Qt::LeftButton, {}, {10, 10});
    QVERIFY(Named<TSymbolPreviewPanel>(*w, "ImageGrid")->IsMoving);
    QCOMPARE(QPoint(Named<TSymbolPreviewPanel>(*w, "ImageGrid")->StartX,
                    Named<TSymbolPreviewPanel>(*w, "ImageGrid")->StartY),
             QPoint(10, 10));
    const QPoint pointer = Named<QLabel>(*w, "SymbolImage")->mapToGlobal(QPoint(13, 8));
    QTest::mouseMove(Named<QLabel>(*w, "SymbolImage"), {13, 8});
    // The anchor changes by (-3, +2) and the picture follows the pointer, which stays over the
    // pixel it pressed; the text point stays.
    QCOMPARE(pointFields(), Strings({"7", "12", "30", "40"}));
    QCOMPARE(QPoint(symbol->ImageX, symbol->ImageY), QPoint(7, 12));
    QCOMPARE(Named<QLabel>(*w, "SymbolImage")->pos(), before + QPoint(3, -2));
    QCOMPARE(Named<QLabel>(*w, "SymbolImage")->mapFromGlobal(pointer), QPoint(10, 10));
    QVERIFY(Named<QRadioButton>(*w, "srbAnchor")->isChecked());
    QTest::mouseRelease(Named<QLabel>(*w, "SymbolImage"), Qt::LeftButton, {},
                        Named<QLabel>(*w, "SymbolImage")->mapFromGlobal(pointer));
    QVERIFY(!Named<TSymbolPreviewPanel>(*w, "ImageGrid")->IsMoving);
    QCOMPARE(QPoint(symbol->ImageX, symbol->ImageY), QPoint(7, 12));
}

void TestPreview::dragTheLabel()
{
    auto symbol = symbolWith({0, 0}, {30, 40});
    select(symbol);
    const QPoint before = Named<QLabel>(*w, "lExampleText")->pos();
    QTest::mousePress(Named<QLabel>(*w, "lExampleText"), Qt::RightButton, {}, {5, 5});
    QVERIFY(Named<TSymbolPreviewPanel>(*w, "ImageGrid")->IsMoving);
    const QPoint pointer = Named<QLabel>(*w, "lExampleText")->mapToGlobal(QPoint(9, 2));
    QTest::mouseMove(Named<QLabel>(*w, "lExampleText"), {9, 2});
    QCOMPARE(pointFields(), Strings({"0", "0", "34", "37"}));
    QCOMPARE(QPoint(symbol->TextX, symbol->TextY), QPoint(34, 37));
    QCOMPARE(Named<QLabel>(*w, "lExampleText")->pos(), before + QPoint(4, -3));
    QCOMPARE(Named<QLabel>(*w, "lExampleText")->mapFromGlobal(pointer), QPoint(5, 5));
    QVERIFY(Named<QRadioButton>(*w, "srbText")->isChecked());
    QTest::mouseRelease(Named<QLabel>(*w, "lExampleText"), Qt::RightButton, {},
                        Named<QLabel>(*w, "lExampleText")->mapFromGlobal(pointer));
    QVERIFY(!Named<TSymbolPreviewPanel>(*w, "ImageGrid")->IsMoving);
    // A release without Shift only ends the drag.
    QCOMPARE(pointFields(), Strings({"0", "0", "34", "37"}));
}

void TestPreview::leavingThePictureEndsTheDrag()
{
    select(symbolWith({10, 10}, {30, 40}));
    QTest::mousePress(Named<QLabel>(*w, "SymbolImage"), Qt::LeftButton, {}, {10, 10});
    QVERIFY(Named<TSymbolPreviewPanel>(*w, "ImageGrid")->IsMoving);
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(Named<QLabel>(*w, "SymbolImage"), &leave);
    QVERIFY(!Named<TSymbolPreviewPanel>(*w, "ImageGrid")->IsMoving);
    QTest::mouseMove(Named<QLabel>(*w, "SymbolImage"), {13, 8});
    QCOMPARE(pointFields(), Strings({"10", "10", "30", "40"}));
    QTest::mouseRelease(Named<QLabel>(*w, "SymbolImage"), Qt::LeftButton, {}, {13, 8});
}

void TestPreview::shiftRelease_data()
{
    QTest::addColumn<QString>("element");
    QTest::addColumn<int>("button");
    QTest::addColumn<bool>("shift");
    QTest::addColumn<QPoint>("at");
    QTest::addColumn<QStringList>("fields");
    QTest::addColumn<QString>("radioBefore");
    QTest::addColumn<QString>("radioAfter");
    // Anchor (5, 5), a 10 x 12 picture and the text point (60, -40) keep the picture and the
    // label off the grid positions used.
    const auto row = [](const char *name, const char *element, Qt::MouseButton button, bool shift,
                        QPoint at, QStringList fields, const char *before, const char *after) {
        QTest::newRow(name) << QString::fromLatin1(element) << int(button) << shift << at << fields
                            << QString::fromLatin1(before) << QString::fromLatin1(after);
    };
    const QStringList unchanged = Strings({"5", "5", "60", "-40"});
    row("picture left", "SymbolImage", Qt::LeftButton, true, {7, 9},
        Strings({"7", "9", "60", "-40"}), "srbText", "srbAnchor");
    row("picture right", "SymbolImage", Qt::RightButton, true, {7, 9},
        Strings({"5", "5", "7", "9"}), "srbAnchor", "srbText");
    row("picture middle", "SymbolImage", Qt::MiddleButton, true, {7, 9}, unchanged, "srbText",
        "srbText");
    row("picture without Shift", "SymbolImage", Qt::RightButton, false, {7, 9}, unchanged,
        "srbAnchor", "srbAnchor");
    row("grid left", "ImageGrid", Qt::LeftButton, true, {250, 190},
        Strings({"15", "15", "60", "-40"}), "srbText", "srbAnchor");
    row("grid right", "ImageGrid", Qt::RightButton, true, {250, 190},
        Strings({"5", "5", "15", "15"}), "srbAnchor", "srbText");
    row("grid left of the origin", "ImageGrid", Qt::LeftButton, true, {100, 30},
        Strings({"-135", "-145", "60", "-40"}), "srbText", "srbAnchor");
    row("grid middle", "ImageGrid", Qt::MiddleButton, true, {250, 190},
        Strings({"0", "0", "0", "0"}), "srbText", "srbText");
    row("grid without Shift", "ImageGrid", Qt::RightButton, false, {250, 190}, unchanged,
        "srbAnchor", "srbAnchor");
}

void TestPreview::shiftRelease()
{
    QFETCH(QString, element);
    QFETCH(int, button);
    QFETCH(bool, shift);
    QFETCH(QPoint, at);
    QFETCH(QStringList, fields);
    QFETCH(QString, radioBefore);
    QFETCH(QString, radioAfter);
    select(symbolWith({5, 5}, {60, -40}, {10, 12}));
    w->findChild<QRadioButton *>(radioBefore)->setChecked(true);
    QWidget *target = w->findChild<QWidget *>(element);
    QTest::mouseClick(target, Qt::MouseButton(button),
                      shift ? Qt::ShiftModifier : Qt::KeyboardModifiers(), at);
    QCOMPARE(pointFields(), fields);
    QVERIFY(w->findChild<QRadioButton *>(radioAfter)->isChecked());
    QVERIFY(!Named<TSymbolPreviewPanel>(*w, "ImageGrid")->IsMoving);
}

void TestPreview::shiftReleaseOnTheLabelPlacesThePointUnderThePointer()
{
    select(symbolWith({5, 5}, {8, 40}, {60, 60}));
    const QPoint at(3, 4);
    // The picture pixel under the pointer: label and picture share one parent.
    const QPoint pixel =
        Named<QLabel>(*w, "lExampleText")->pos() + at - Named<QLabel>(*w, "SymbolImage")->pos();
    QTest::mouseClick(Named<QLabel>(*w, "lExampleText"), Qt::LeftButton, Qt::ShiftModifier, at);
    QCOMPARE(pointFields(), QStringList({QString::number(pixel.x()), QString::number(pixel.y()),
                                         u"8"_s, u"40"_s}));
    QVERIFY(Named<QRadioButton>(*w, "srbAnchor")->isChecked());
    QTest::mouseClick(Named<QLabel>(*w, "lExampleText"), Qt::MiddleButton, Qt::ShiftModifier, at);
    QCOMPARE(pointFields(), Strings({"0", "0", "0", "0"}));
}

void TestPreview::plainImageIgnoresTheMouse()
{
    auto symbol = symbolWith({5, 5}, {60, -40});
    symbol->Symbol = false;
    select(symbol);
    QVERIFY(!Named<QLabel>(*w, "lExampleText")->isVisible());
    QTest::mousePress(Named<QLabel>(*w, "SymbolImage"), Qt::LeftButton, {}, {10, 10});
    QVERIFY(!Named<TSymbolPreviewPanel>(*w, "ImageGrid")->IsMoving);
    QTest::mouseMove(Named<QLabel>(*w, "SymbolImage"), {13, 8});
    QTest::mouseRelease(Named<QLabel>(*w, "SymbolImage"), Qt::LeftButton, Qt::ShiftModifier,
                        {13, 8});
    QTest::mouseClick(Named<TSymbolPreviewPanel>(*w, "ImageGrid"), Qt::RightButton,
                      Qt::ShiftModifier, {100, 30});
    QTest::mouseClick(Named<TSymbolPreviewPanel>(*w, "ImageGrid"), Qt::MiddleButton,
                      Qt::ShiftModifier, {100, 30});
    QCOMPARE(pointFields(), Strings({"5", "5", "60", "-40"}));
    QVERIFY(Named<QRadioButton>(*w, "srbAnchor")->isChecked());
}

void TestPreview::selectingARowOfAPlainImage()
{
    auto plain = symbolWith({10, 20}, {30, 40});
    plain->Symbol = false;
    AddSymbols(*w, {plain, MakeSymbol(u"Other"_s, {})});
    Named<TSymbolListPanel>(*w, "dLV_Symbols")
        ->setCurrentItem(Named<TSymbolListPanel>(*w, "dLV_Symbols")
                             ->findItems(u"Pump"_s, Qt::MatchExactly)
                             .value(0));
    QCOMPARE(w->SelectedSymbol(), plain);
    QVERIFY(Named<QLabel>(*w, "SymbolImage")->isVisible());
    QCOMPARE(Named<QLabel>(*w, "SymbolImage")->pos(), QPoint(688, 387));
    QVERIFY(!Named<QLabel>(*w, "lExampleText")->isVisible());
    QVERIFY(!Named<QLineEdit>(*w, "eAnchorX")->isEnabled() &&
            !Named<QComboBox>(*w, "cbTextAlign")->isEnabled());
    QVERIFY(Named<QLineEdit>(*w, "eIdentifier")->isEnabled() &&
            Named<QToolButton>(*w, "sbbUp")->isEnabled());

    // Ticking Symbol makes it a symbol: placed by its anchor, with its example text.
    QTest::mouseClick(Named<QCheckBox>(*w, "cbIsSymbol"), Qt::LeftButton);
    QVERIFY(plain->Symbol);
    QCOMPARE(Named<QLabel>(*w, "SymbolImage")->pos(), QPoint(678, 367));
    QVERIFY(Named<QLabel>(*w, "lExampleText")->isVisible());
    QVERIFY(Named<QLineEdit>(*w, "eAnchorX")->isEnabled() &&
            Named<QComboBox>(*w, "cbTextAlign")->isEnabled());
}

void TestPreview::focusedPointFieldIsNotRewritten_data()
{
    QTest::addColumn<QString>("focused");
    for (const char *name : {"eAnchorX", "eAnchorY", "eTextX", "eTextY"})
        QTest::newRow(name) << QString::fromLatin1(name);
}

void TestPreview::focusedPointFieldIsNotRewritten()
{
    QFETCH(QString, focused);
    const int index =
        QStringList({u"eAnchorX"_s, u"eAnchorY"_s, u"eTextX"_s, u"eTextY"_s}).indexOf(focused);
    auto symbol = symbolWith({1, 2}, {3, 4});
    select(symbol);
    w->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(w));
    QLineEdit *typing = field(focused);
    typing->setFocus();
    QVERIFY(typing->hasFocus());

    // A lone minus sign on the way to a negative number stays while the symbol is placed again.
    typing->selectAll();
    QTest::keyClicks(typing, u"-"_s);
    QStringList expected = Strings({"1", "2", "3", "4"});
    expected[index] = u"-"_s;
    QCOMPARE(pointFields(), expected);
    QTest::keyClicks(typing, u"9"_s);
    QCOMPARE(typing->text(), u"-9"_s);

    // Showing another symbol fills the three other fields only.
    auto other = symbolWith({11, 12}, {13, 14});
    showSymbol(*w, other, -1);
    expected = Strings({"11", "12", "13", "14"});
    expected[index] = u"-9"_s;
    QCOMPARE(pointFields(), expected);
}

void TestPreview::showSymbolImageChoosesTheImage_data()
{
    QTest::addColumn<int>("stateImages");
    QTest::addColumn<int>("index");
    QTest::addColumn<int>("shownSize");
    // The main image is 11 px square, state image k is 20 + k px square.
    QTest::newRow("main") << 2 << -1 << 11;
    QTest::newRow("first state image") << 2 << 0 << 20;
    QTest::newRow("last state image") << 2 << 1 << 21;
    QTest::newRow("index = count") << 2 << 2 << 11;
    QTest::newRow("below -1") << 2 << -2 << 11;
    QTest::newRow("no state images") << 0 << 0 << 11;
}

void TestPreview::showSymbolImageChoosesTheImage()
{
    QFETCH(int, stateImages);
    QFETCH(int, index);
    QFETCH(int, shownSize);
    auto symbol = symbolWith({0, 0}, {0, 0}, {11, 11});
    for (int k = 0; k < stateImages; ++k)
        symbol->StateImages.append(
            {QString::number(k + 1), picture(u"state%1.png"_s.arg(k), QSize(20 + k, 20 + k))});
    AddSymbols(*w, {symbol});
    showSymbol(*w, symbol, index);
    QCOMPARE(Named<QLabel>(*w, "SymbolImage")->size(), QSize(shownSize, shownSize));
    QCOMPARE(Named<QLabel>(*w, "SymbolImage")->pixmap().size(), QSize(shownSize, shownSize));
    QCOMPARE(w->SelectedSymbol(), symbol);
}

void TestPreview::missingFileShowsTheMissingMark()
{
    select(symbolWith({0, 0}, {0, 0}, {11, 11}));
    auto missing = symbolWith({10, 20}, {0, 0});
    missing->Image = f->Path(u"gone.png"_s);
    showSymbol(*w, missing, -1);
    // Placed by the new anchor, as the earlier picture was, but never that picture.
    QLabel *image = Named<QLabel>(*w, "SymbolImage");
    QCOMPARE(image->geometry(), QRect(QPoint(678, 367), MissingPictureMark().size()));
    QCOMPARE(image->pixmap().toImage(), MissingPictureMark().toImage());
    QCOMPARE(w->SelectedSymbol(), missing);
    QVERIFY(f->Dialogs.Errors.isEmpty());
}

void TestPreview::imagePathResolution_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("projectFile");
    QTest::addColumn<int>("shownSize");
    // "pic.png" lies in the project folder and is 17 px square; a picture not found there shows
    // the missing mark, not the 11 px square shown before.
    const int missing = MissingPictureMark().width();
    QTest::newRow("bare name beside the project") << u"pic.png"_s << u"proj/lib.js"_s << 17;
    QTest::newRow("bare name, no project file") << u"pic.png"_s << QString() << missing;
    QTest::newRow("bare name, project elsewhere") << u"pic.png"_s << u"other/lib.js"_s << missing;
    QTest::newRow("full path used unchanged") << u"@proj/pic.png"_s << u"other/lib.js"_s << 17;
}

void TestPreview::imagePathResolution()
{
    QFETCH(QString, stored);
    QFETCH(QString, projectFile);
    QFETCH(int, shownSize);
    picture(u"proj/pic.png"_s, {17, 17});
    select(symbolWith({0, 0}, {0, 0}, {11, 11}));
    if (stored.startsWith(u'@'))
        stored = f->Path(stored.mid(1));
    w->Document().SetProjectFile(projectFile.isEmpty() ? QString() : f->Path(projectFile));
    auto symbol = symbolWith({0, 0}, {0, 0}, {11, 11});
    symbol->Image = stored;
    showSymbol(*w, symbol, -1);
    QCOMPARE(Named<QLabel>(*w, "SymbolImage")->size(), QSize(shownSize, shownSize));
}

void TestPreview::gifAnimatesOnlyWithLowerCaseExtension_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("animated");
    QTest::newRow(".gif") << u"blink.gif"_s << true;
    QTest::newRow(".GIF") << u"blink.GIF"_s << false;
    QTest::newRow(".Gif") << u"blink.Gif"_s << false;
}

void TestPreview::gifAnimatesOnlyWithLowerCaseExtension()
{
    QFETCH(QString, name);
    QFETCH(bool, animated);
    f->WriteFile(name, twoFrameGif());
    auto symbol = symbolWith({0, 0}, {0, 0});
    symbol->Image = f->Path(name);
    select(symbol);
    QCOMPARE(Named<QLabel>(*w, "SymbolImage")->size(), QSize(1, 1));
    if (animated) {
        QVERIFY(Named<QLabel>(*w, "SymbolImage")->movie());
        QCOMPARE(Named<QLabel>(*w, "SymbolImage")->movie()->state(), QMovie::Running);
        QCOMPARE(Named<QLabel>(*w, "SymbolImage")->movie()->frameCount(), 2);
    } else {
        QVERIFY(!Named<QLabel>(*w, "SymbolImage")->movie());
        QCOMPARE(Named<QLabel>(*w, "SymbolImage")->pixmap().size(), QSize(1, 1));
    }
}

void TestPreview::farAwayPointsStayUsable()
{
    // Extreme points place the elements far off the grid, never at wrapped-around positions.
    auto symbol = symbolWith({std::numeric_limits<qint32>::min(), 0},
                             {std::numeric_limits<qint32>::max(), 0});
    select(symbol);
    QVERIFY(Named<QLabel>(*w, "SymbolImage")->x() > 100000);
    QVERIFY(Named<QLabel>(*w, "lExampleText")->x() > 100000);
    QCOMPARE(pointFields(), Strings({"-2147483648", "0", "2147483647", "0"}));
    // One more step would leave the 32-bit range: the value is refused, it does not wrap.
    Named<QRadioButton>(*w, "srbText")->setChecked(true);
    QTest::mouseClick(Named<QToolButton>(*w, "sbbRight"), Qt::LeftButton);
    QCOMPARE(symbol->TextX, std::numeric_limits<qint32>::max());
    QCOMPARE(Named<QLineEdit>(*w, "eTextX")->text(), u"2147483647"_s);
}

QTEST_MAIN(TestPreview)
#include "tst_preview.moc"
