// Undo and redo: every kind of change is one step that Ctrl+Z takes back to the very document
// it was before and Ctrl+Y makes again, wherever the focus is; the history starts afresh with
// New, Open and Extract.
#define QTEST_QPA_MOUSE_HANDLING
#include "WindowFixture.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QToolButton>
#include <QUndoStack>

#include <functional>

class TestUndo : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void everyStepUndoesAndRedoes_data();
    void everyStepUndoesAndRedoes();
    void typingInOneFieldIsOneStep();
    void historyStartsAfreshWithNewAndOpen();
};

namespace
{
/// A window over "pump" (a main image and two state images, names in en, sv and de) and
/// "valve", with "pump" selected by a click.
struct TUndoFixture : TWindowFixture {
    TViraSymbolPtr Pump;
    TViraSymbolPtr Valve;

    TMainForm &CreateWithLibrary()
    {
        TMainForm &w = CreateActive();
        Pump = MakeSymbol(u"pump"_s,
                          {{u"en"_s, u"Pump"_s}, {u"sv"_s, u"Pump"_s}, {u"de"_s, u"Pumpe"_s}});
        Pump->Image = WritePicture(u"pump.png"_s, QSize(30, 20));
        Pump->ImageX = 4;
        Pump->ImageY = 6;
        Pump->StateImages = {{u"1"_s, WritePicture(u"on.png"_s, QSize(30, 20), Qt::green)},
                             {u"2"_s, WritePicture(u"off.png"_s, QSize(30, 20), Qt::gray)}};
        Valve = MakeSymbol(u"valve"_s, {{u"en"_s, u"Valve"_s}});
        Valve->Image = WritePicture(u"valve.png"_s, QSize(20, 20));
        AddSymbols(w, {Pump, Valve});
        clickRow(w, u"pump"_s);
        return w;
    }

    /// The bytes a save of the library gives now.
    QByteArray Document() const
    {
        const QString file = Path(u"document.js"_s);
        TViraGlyphbook(Window->Document().Library()).SaveToFile(file);
        return readFile(file);
    }
};

using TStepAction = std::function<void(TUndoFixture &)>;

void pressOn(QWidget *Target, const QKeySequence &Keys)
{
    QTest::keySequence(Target, Keys);
}
} // namespace

Q_DECLARE_METATYPE(TStepAction)

void TestUndo::initTestCase()
{
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
}

void TestUndo::everyStepUndoesAndRedoes_data()
{
    QTest::addColumn<TStepAction>("step");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("focus");

    const QList<std::tuple<const char *, const char *, TStepAction>> steps = {
        {"add new symbol", "Add Symbol",
         [](TUndoFixture &f) {
             f.Dialogs.FileAnswers = {f.WritePicture(u"tank.png"_s, QSize(10, 10))};
             pressShortcut(*f.Window, Qt::CTRL | Qt::Key_A);
         }},
        {"several pictures by state family", "Add Symbols",
         [](TUndoFixture &f) {
             f.Dialogs.FileAnswers = {f.WritePicture(u"fan.png"_s, QSize(8, 8)) + u'\n' +
                                      f.WritePicture(u"fan_1.png"_s, QSize(8, 8)) + u'\n' +
                                      f.WritePicture(u"lamp.png"_s, QSize(8, 8))};
             f.Dialogs.DialogScripts = {[](QDialog &) { return true; }};
             pressShortcut(*f.Window, Qt::CTRL | Qt::Key_A);
         }},
        {"duplicate symbol", "Duplicate Symbol",
         [](TUndoFixture &f) { pressShortcut(*f.Window, Qt::CTRL | Qt::Key_D); }},
        {"delete symbol from the menu", "Delete Symbol",
         [](TUndoFixture &f) { Named<QAction>(*f.Window, "miDeleteSymbol")->trigger(); }},
        {"delete symbol with the key", "Delete Symbol",
         [](TUndoFixture &f) {
             Named<TSymbolListPanel>(*f.Window, "dLV_Symbols")->setFocus();
             QTest::keyClick(Named<TSymbolListPanel>(*f.Window, "dLV_Symbols"), Qt::Key_Delete);
         }},
        {"drop of pictures on the strip", "Add Images",
         [](TUndoFixture &f) {
             dropFiles(Named<TImageStripPanel>(*f.Window, "sbImagesScrollBox")->viewport(),
                       {f.WritePicture(u"a.png"_s, QSize(8, 8)),
                        f.WritePicture(u"b.png"_s, QSize(9, 9))});
         }},
        {"add image", "Add Image",
         [](TUndoFixture &f) {
             f.Dialogs.FileAnswers = {f.WritePicture(u"alarm.png"_s, QSize(8, 8))};
             QTest::mouseClick(Named<QPushButton>(*f.Window, "bAddImage"), Qt::LeftButton);
         }},
        {"delete image", "Delete Image",
         [](TUndoFixture &f) {
             QTest::mouseClick(tileOf(*f.Window, 0), Qt::LeftButton);
             QTest::mouseClick(Named<QPushButton>(*f.Window, "bDeleteImage"), Qt::LeftButton);
         }},
        {"tile value", "Change Image Value",
         [](TUndoFixture &f) { retype(tileOf(*f.Window, 1)->Value, u"17"_s); }},
        {"tile value type", "Change Image Value",
         [](TUndoFixture &f) { QTest::keyClick(tileOf(*f.Window, 1)->ValueType, Qt::Key_Down); }},
        {"default swap", "Set Default Image",
         [](TUndoFixture &f) { QTest::keyClick(tileOf(*f.Window, 1)->ValueType, Qt::Key_Home); }},
        {"symbol flag", "Change Symbol Flag",
         [](TUndoFixture &f) {
             QTest::mouseClick(Named<QCheckBox>(*f.Window, "cbIsSymbol"), Qt::LeftButton);
         }},
        {"alignment", "Change Alignment",
         [](TUndoFixture &f) {
             retype(Named<QComboBox>(*f.Window, "cbTextAlign")->lineEdit(), u"Left"_s);
         }},
        {"shift-click", "Move Anchor",
         [](TUndoFixture &f) {
             QTest::mouseClick(Named<TSymbolPreviewPanel>(*f.Window, "ImageGrid"), Qt::LeftButton,
                               Qt::ShiftModifier, {300, 200});
         }},
        {"place point", "Place Point",
         [](TUndoFixture &f) { pressShortcut(*f.Window, Qt::CTRL | Qt::Key_3); }},
        {"arrow clicks", "Move Text Point",
         [](TUndoFixture &f) {
             QTest::mouseClick(Named<QRadioButton>(*f.Window, "srbText"), Qt::LeftButton);
             for (int k = 0; k < 3; ++k)
                 QTest::mouseClick(Named<QToolButton>(*f.Window, "sbbRight"), Qt::LeftButton);
         }},
        {"drag", "Move Anchor",
         [](TUndoFixture &f) {
             QLabel *picture = Named<QLabel>(*f.Window, "SymbolImage");
             QTest::mousePress(picture, Qt::LeftButton, {}, {10, 10});
             QTest::mouseMove(picture, {14, 12});
             QTest::mouseMove(picture, {18, 15});
             QTest::mouseRelease(picture, Qt::LeftButton, {}, {18, 15});
         }},
        {"typing the identifier", "Edit Identifier",
         [](TUndoFixture &f) { retype(Named<QLineEdit>(*f.Window, "eIdentifier"), u"pump2"_s); }},
        {"typing a name", "Edit Name",
         [](TUndoFixture &f) {
             retype(Named<TSymbolSettingsPanel>(*f.Window, "gbSettings")->NameEdits[1],
                    u"Pumpen"_s);
         }},
    };
    for (const auto &[row, name, action] : steps)
        for (const char *focus : {"list", "grid", "field"})
            QTest::addRow("%s, focus in the %s", row, focus)
                << action << QString::fromLatin1(name) << QString::fromLatin1(focus);
}

void TestUndo::everyStepUndoesAndRedoes()
{
    QFETCH(TStepAction, step);
    QFETCH(QString, name);
    QFETCH(QString, focus);
    TUndoFixture f;
    TMainForm &w = f.CreateWithLibrary();
    const QByteArray before = f.Document();
    QVERIFY(!Named<QAction>(w, "miUndo")->isEnabled());

    step(f);
    const QByteArray after = f.Document();
    QVERIFY(after != before);
    QCOMPARE(w.Document().UndoStack()->count(), 1);
    QCOMPARE(Named<QAction>(w, "miUndo")->text(), u"Undo "_s + name);
    const TViraSymbolPtr shownAfter = w.SelectedSymbol();

    // Where the keys are pressed.
    QWidget *target = &w;
    if (focus == u"list") {
        Named<TSymbolListPanel>(w, "dLV_Symbols")->setFocus();
        target = Named<TSymbolListPanel>(w, "dLV_Symbols");
    } else if (focus == u"grid") {
        QTest::mouseClick(Named<TSymbolPreviewPanel>(w, "ImageGrid"), Qt::LeftButton, {}, {5, 5});
        if (QWidget *focused = QApplication::focusWidget())
            focused->clearFocus();
    } else {
        Named<QLineEdit>(w, "eTextY")->setFocus();
        target = Named<QLineEdit>(w, "eTextY");
    }

    pressOn(target, QKeySequence(Qt::CTRL | Qt::Key_Z));
    QCOMPARE(f.Document(), before);
    QCOMPARE(w.Document().UndoStack()->count(), 1);
    QCOMPARE(Named<QAction>(w, "miRedo")->text(), u"Redo "_s + name);
    QVERIFY(!Named<QAction>(w, "miUndo")->isEnabled());
    // The affected symbol is shown: the fields and the strip are its.
    QVERIFY(w.SelectedSymbol());
    QCOMPARE(Named<QLineEdit>(w, "eIdentifier")->text(), w.SelectedSymbol()->Identifier);
    QCOMPARE(Named<QLineEdit>(w, "eTextY")->text(), QString::number(w.SelectedSymbol()->TextY));
    QCOMPARE(tilesOf(w).size(), w.SelectedSymbol()->StateImages.size() + 1);

    pressOn(target, focus == u"grid" ? QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)
                                     : QKeySequence(Qt::CTRL | Qt::Key_Y));
    QCOMPARE(f.Document(), after);
    QCOMPARE(Named<QAction>(w, "miUndo")->text(), u"Undo "_s + name);
    QCOMPARE(w.SelectedSymbol()->Identifier, shownAfter->Identifier);
    QCOMPARE(Named<QLineEdit>(w, "eIdentifier")->text(), w.SelectedSymbol()->Identifier);
    QCOMPARE(tilesOf(w).size(), w.SelectedSymbol()->StateImages.size() + 1);
    // Showing the restored symbol recorded nothing.
    QCOMPARE(w.Document().UndoStack()->count(), 1);
    QVERIFY(!Named<QAction>(w, "miRedo")->isEnabled());
}

void TestUndo::typingInOneFieldIsOneStep()
{
    TUndoFixture f;
    TMainForm &w = f.CreateWithLibrary();
    const QByteArray before = f.Document();
    QTest::mouseDClick(Named<QLineEdit>(w, "eAnchorX"), Qt::LeftButton);
    Named<QLineEdit>(w, "eAnchorX")->selectAll();
    QTest::keyClicks(Named<QLineEdit>(w, "eAnchorX"), u"-12"_s);
    QCOMPARE(f.Pump->ImageX, -12);
    const QByteArray anchorTyped = f.Document();
    retype(Named<QLineEdit>(w, "eIdentifier"), u"big pump"_s);
    QCOMPARE(w.Document().UndoStack()->count(), 2);

    // Inside the field Ctrl+Z is the library's, not the field's own text undo.
    QTest::keyClick(Named<QLineEdit>(w, "eIdentifier"), Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(f.Document(), anchorTyped);
    QCOMPARE(Named<QLineEdit>(w, "eIdentifier")->text(), u"pump"_s);
    QTest::keyClick(Named<QLineEdit>(w, "eIdentifier"), Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(f.Document(), before);
    QCOMPARE(Named<QLineEdit>(w, "eAnchorX")->text(), u"4"_s);

    // After an undo, typing starts a step of its own.
    QTest::keyClick(Named<QLineEdit>(w, "eAnchorX"), Qt::Key_End);
    QTest::keyClicks(Named<QLineEdit>(w, "eAnchorX"), u"0"_s);
    QCOMPARE(f.Pump->ImageX, 40);
    QCOMPARE(w.Document().UndoStack()->count(), 1);
    QCOMPARE(Named<QAction>(w, "miUndo")->text(), u"Undo Edit Anchor"_s);
}

void TestUndo::historyStartsAfreshWithNewAndOpen()
{
    TUndoFixture f;
    TMainForm &w = f.CreateWithLibrary();
    retype(Named<QLineEdit>(w, "eIdentifier"), u"pump2"_s);
    // Saving keeps the history.
    f.Dialogs.FileAnswers = {f.Path(u"lib.js"_s)};
    pressShortcut(w, Qt::CTRL | Qt::Key_S);
    QCOMPARE(w.Document().UndoStack()->count(), 1);
    f.Dialogs.FileAnswers = {f.Path(u"lib.js"_s)};
    Named<QAction>(w, "miOpenProject")->trigger();
    QCOMPARE(w.Document().UndoStack()->count(), 0);
    QVERIFY(!Named<QAction>(w, "miUndo")->isEnabled());
    clickRow(w, u"pump2"_s);
    retype(Named<QLineEdit>(w, "eIdentifier"), u"pump3"_s);
    QCOMPARE(w.Document().UndoStack()->count(), 1);
    Named<QAction>(w, "miNewProject")->trigger();
    QCOMPARE(w.Document().UndoStack()->count(), 0);
}

QTEST_MAIN(TestUndo)
#include "tst_undo.moc"
