// The window for everyone: a name of its own for every control as assistive technology reads
// it, a tooltip on each, Tab in the order of the layout, menus from the keyboard, and text
// that stands out from its background in the dark skin.
#include "WindowFixture.h"

#include "ui/DarkSkin.h"

#include <QAccessible>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>
#include <QToolButton>

#include "ui/SymbolImgPanels.h"

#include <cmath>

class TestAccessibility : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void everyControlHasANameAndATooltip();
    void tabFollowsTheLayout();
    void menusOpenFromTheKeyboard();
    void tilesAnswerTheKeyboard();
    void focusIsVisible();
    void textContrast_data();
    void textContrast();

private:
    std::unique_ptr<TWindowFixture> f;
    TMainForm *w = nullptr;
};

namespace
{
/// The kinds of control a screen reader announces by name.
bool isNamedKind(const QWidget *Widget)
{
    return qobject_cast<const QAbstractButton *>(Widget) ||
           qobject_cast<const QLineEdit *>(Widget) || qobject_cast<const QComboBox *>(Widget);
}

/// Relative luminance of a colour (WCAG 2.1).
double luminance(QColor Colour)
{
    const auto channel = [](double value) {
        value /= 255.0;
        return value <= 0.03928 ? value / 12.92 : std::pow((value + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * channel(Colour.red()) + 0.7152 * channel(Colour.green()) +
           0.0722 * channel(Colour.blue());
}

double contrast(QColor A, QColor B)
{
    const double a = luminance(A);
    const double b = luminance(B);
    return (std::max(a, b) + 0.05) / (std::min(a, b) + 0.05);
}

/// The contrast of a rendered text against the background it stands on: the colour most of
/// the picture has, against the pixel that differs from it most (a glyph's full stroke).
double renderedContrast(QWidget *Widget)
{
    const QImage image = Widget->grab().toImage();
    QHash<QRgb, int> counts;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            ++counts[image.pixel(x, y)];
    QRgb background = 0;
    int most = 0;
    for (auto it = counts.cbegin(); it != counts.cend(); ++it)
        if (it.value() > most) {
            most = it.value();
            background = it.key();
        }
    double best = 1;
    for (auto it = counts.cbegin(); it != counts.cend(); ++it)
        best = std::max(best, contrast(QColor(background), QColor(it.key())));
    return best;
}
} // namespace

void TestAccessibility::initTestCase()
{
    ApplyDarkSkin(*qApp);
}

void TestAccessibility::init()
{
    f = std::make_unique<TWindowFixture>();
    w = &f->CreateActive();
    auto pump = MakeSymbol(u"pump"_s, {{u"en"_s, u"Pump"_s}, {u"sv"_s, u"Pump"_s}});
    pump->Image = f->WritePicture(u"pump.png"_s, QSize(8, 8));
    pump->StateImages = {{u"1"_s, f->WritePicture(u"pump_1.png"_s, QSize(8, 8))}};
    AddSymbols(*w, {pump});
    clickRow(*w, u"pump"_s);
    Named<QAction>(*w, "miFind")->trigger();
}

void TestAccessibility::everyControlHasANameAndATooltip()
{
    const QString groupTitle = Named<TSymbolSettingsPanel>(*w, "gbSettings")->title();
    QStringList unnamed;
    QStringList untipped;
    for (QWidget *control : w->findChildren<QWidget *>()) {
        if (!control->isVisible() || !isNamedKind(control))
            continue;
        QAccessibleInterface *read = QAccessible::queryAccessibleInterface(control);
        QVERIFY(read);
        const QString name = read->text(QAccessible::Name);
        const QString described = control->objectName().isEmpty()
                                      ? QString::fromLatin1(control->metaObject()->className())
                                      : control->objectName();
        if (name.trimmed().isEmpty() || name == groupTitle)
            unnamed.append(described);
        // The line edit inside an editable box is the box's own.
        const bool part = qobject_cast<QComboBox *>(control->parentWidget());
        if (control->toolTip().isEmpty() && !part)
            untipped.append(described);
    }
    QCOMPARE(unnamed, QStringList());
    QCOMPARE(untipped, QStringList());
    for (const char *area : {"dLV_Symbols", "ImageGrid", "sbImagesScrollBox"}) {
        auto *widget = Named<QWidget>(*w, area);
        QVERIFY2(!widget->accessibleName().isEmpty(), area);
        QVERIFY2(!widget->toolTip().isEmpty(), area);
    }
    QVERIFY(!Named<QWidget>(*w, "ImageGrid")->accessibleDescription().isEmpty());
    QCOMPARE(Named<QToolButton>(*w, "sbbUp")->accessibleName(), u"Move the point up"_s);
    QCOMPARE(Named<TSymbolSettingsPanel>(*w, "gbSettings")->NameEdits[1]->accessibleName(),
             u"Name (sv)"_s);
}

void TestAccessibility::tabFollowsTheLayout()
{
    Named<TSymbolListPanel>(*w, "dLV_Symbols")->setFocus();
    QStringList order;
    for (int k = 0; k < 40 && order.size() < 22; ++k) {
        QWidget *focus = QApplication::focusWidget();
        QVERIFY(focus);
        QString name = focus->objectName();
        if (name.isEmpty() && focus->parentWidget() == Named<QWidget>(*w, "gbSettings"))
            name = focus->accessibleName();
        if (!name.isEmpty() && !order.contains(name))
            order.append(name);
        QTest::keyClick(focus, Qt::Key_Tab);
    }
    const QStringList expected = Strings({"dLV_Symbols",    "eFind",        "cbFindMissingNames",
                                          "eIdentifier",    "Name (en)",    "Name (sv)",
                                          "sbbUp",          "sbbLeft",      "sbbRight",
                                          "sbbDown",        "srbAnchor",    "eAnchorX",
                                          "eAnchorY",       "eTextX",       "eTextY",
                                          "cbIsSymbol",     "cbTextAlign",  "eExampleText",
                                          "bAddImage",      "bDeleteImage", "cbCross",
                                          "cbShowTextCross"});
    // The find bar's clear button and the box's own line edit may take a turn too.
    QStringList seen;
    for (const QString &name : std::as_const(order))
        if (expected.contains(name))
            seen.append(name);
    QStringList expectedSeen;
    for (const QString &name : expected)
        if (order.contains(name))
            expectedSeen.append(name);
    QCOMPARE(seen, expectedSeen);
    QVERIFY(seen.size() >= 18);
}

void TestAccessibility::menusOpenFromTheKeyboard()
{
    w->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(w));
    QTest::keyClick(w, Qt::Key_F, Qt::AltModifier);
    QTRY_COMPARE(QApplication::activePopupWidget(), Named<QMenu>(*w, "mmFileMenu"));
    QTest::keyClick(QApplication::activePopupWidget(), Qt::Key_Escape);
    QTest::keyClick(w, Qt::Key_S, Qt::AltModifier);
    QTRY_COMPARE(QApplication::activePopupWidget(), Named<QMenu>(*w, "mmSymbol"));
    QTest::keyClick(QApplication::activePopupWidget(), Qt::Key_Escape);
    // In an open menu, a letter goes from item to item that starts with it, and chooses the
    // only one.
    QTest::keyClick(w, Qt::Key_F, Qt::AltModifier);
    QTRY_VERIFY(QApplication::activePopupWidget());
    QTest::keyClicks(QApplication::activePopupWidget(), u"ee"_s);
    QCOMPARE(Named<QMenu>(*w, "mmFileMenu")->activeAction(), Named<QAction>(*w, "miExportNames"));
    QTest::keyClick(QApplication::activePopupWidget(), Qt::Key_Escape);
    QTest::keyClick(w, Qt::Key_S, Qt::AltModifier);
    QTRY_VERIFY(QApplication::activePopupWidget());
    QTest::keyClick(QApplication::activePopupWidget(), Qt::Key_C);
    QTRY_VERIFY(!QApplication::activePopupWidget());
    QVERIFY(w->findChild<TCheckLibraryWindow *>());
    QVERIFY(w->findChild<TCheckLibraryWindow *>()->isVisible());
    // The titles keep their texts.
    QCOMPARE(Named<QMenu>(*w, "mmFileMenu")->title(), u"File"_s);
}

void TestAccessibility::tilesAnswerTheKeyboard()
{
    TSymbolImgPanel *state = tileOf(*w, 0);
    Named<QCheckBox>(*w, "cbShowTextCross")->setFocus();
    for (int k = 0; k < 10 && QApplication::focusWidget() != state; ++k)
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), state);
    QCOMPARE(state->accessibleName(), u"State image 1"_s);

    QTest::keyClick(state, Qt::Key_Space);
    QVERIFY(state->Mark->isVisible());
    QVERIFY(tileOf(*w, -1)->Mark->isHidden());

    const QString chosen = f->WritePicture(u"chosen.png"_s, QSize(12, 12));
    f->Dialogs.FileAnswers = {chosen};
    QTest::keyClick(state, Qt::Key_Return);
    QCOMPARE(f->Dialogs.ShownDialogs.size(), 1);
    QCOMPARE(w->Document().SelectedSymbol()->StateImages[0].Value, chosen);
}

void TestAccessibility::focusIsVisible()
{
    // WCAG 2.1 asks 3:1 of what marks the focus against what it replaces.
    for (const char *name : {"eIdentifier", "sbbUp", "cbIsSymbol", "cbTextAlign", "bAddImage"}) {
        auto *control = Named<QWidget>(*w, name);
        Named<TSymbolListPanel>(*w, "dLV_Symbols")->setFocus();
        const QImage unfocused = control->grab().toImage();
        control->setFocus(Qt::TabFocusReason);
        QVERIFY2(control->hasFocus(), name);
        const QImage focused = control->grab().toImage();
        double strongest = 1;
        for (int y = 0; y < focused.height(); ++y)
            for (int x = 0; x < focused.width(); ++x)
                strongest = std::max(strongest, contrast(QColor(focused.pixel(x, y)),
                                                         QColor(unfocused.pixel(x, y))));
        QVERIFY2(strongest >= 3, qPrintable(u"%1: %2:1"_s.arg(QLatin1String(name)).arg(strongest)));
    }
    TSymbolImgPanel *tile = tileOf(*w, 0);
    const QImage unfocused = tile->grab().toImage();
    tile->setFocus(Qt::TabFocusReason);
    QVERIFY(tile->grab().toImage() != unfocused);
}

void TestAccessibility::textContrast_data()
{
    QTest::addColumn<QString>("control");
    QTest::addColumn<bool>("enabled");
    QTest::addColumn<double>("least");
    // WCAG 2.1: 7:1 for text (level AAA), 4.5:1 for disabled text and placeholders.
    QTest::newRow("label") << u"label"_s << true << 7.0;
    QTest::newRow("field") << u"field"_s << true << 7.0;
    QTest::newRow("button") << u"button"_s << true << 7.0;
    QTest::newRow("check box") << u"check box"_s << true << 7.0;
    QTest::newRow("disabled label") << u"label"_s << false << 4.5;
    QTest::newRow("disabled field") << u"field"_s << false << 4.5;
    QTest::newRow("disabled button") << u"button"_s << false << 4.5;
    QTest::newRow("disabled check box") << u"check box"_s << false << 4.5;
    QTest::newRow("placeholder") << u"placeholder"_s << true << 4.5;
}

void TestAccessibility::textContrast()
{
    QFETCH(QString, control);
    QFETCH(bool, enabled);
    QFETCH(double, least);
    QWidget host;
    host.resize(240, 40);
    QWidget *shown = nullptr;
    const QString text = u"Anchorpoint Xy 0123"_s;
    if (control == u"label") {
        shown = new QLabel(text, &host);
    } else if (control == u"field") {
        shown = new QLineEdit(text, &host);
    } else if (control == u"placeholder") {
        auto *field = new QLineEdit(&host);
        field->setPlaceholderText(text);
        shown = field;
    } else if (control == u"button") {
        shown = new QPushButton(text, &host);
    } else {
        shown = new QCheckBox(text, &host);
    }
    shown->setGeometry(0, 0, 240, 30);
    shown->setEnabled(enabled);
    host.show();
    QVERIFY(QTest::qWaitForWindowExposed(&host));
    const double measured = renderedContrast(shown);
    QVERIFY2(measured >= least, qPrintable(u"%1:1"_s.arg(measured, 0, 'f', 2)));
}

QTEST_MAIN(TestAccessibility)
#include "tst_accessibility.moc"
