// The symbol list and the settings fields: adding, duplicating, deleting and selecting symbols,
// and every field's write-back into the selected symbol.
#include "WindowFixture.h"

#include "ui/SymbolImgPanels.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollArea>

class TestSymbolList : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void addNewSymbolFromAPicture();
    void cancelledPictureDialogAddsNothing();
    void doubleClickOnARowAddsANewSymbol();
    void duplicateTwice();
    void editedIdentifierMovesTheRowWhileSelected();
    void pointFieldsStopAtTheFirstNonInteger_data();
    void pointFieldsStopAtTheFirstNonInteger();
    void typedAlignment_data();
    void typedAlignment();
    void namesFollowTheShownLanguages();
    void deleteSymbol();
    void deleteRefusals_data();
    void deleteRefusals();
    void missingMainImageShowsTheErrorIcon();
    void fileThatIsNoPicture();
    void lostSelectionSwitchesEditingOff();
};

namespace
{
QString selectedCaption(const TMainForm &Window)
{
    const QList<QTreeWidgetItem *> rows =
        Named<TSymbolListPanel>(Window, "dLV_Symbols")->selectedItems();
    return rows.size() == 1 ? rows.first()->text(0)
                            : QStringLiteral("<%1 selected>").arg(rows.size());
}
} // namespace

void TestSymbolList::initTestCase()
{
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
}

void TestSymbolList::addNewSymbolFromAPicture()
{
    TWindowFixture f;
    const QString pump = f.WritePicture(u"pics/pump.png"_s, QSize(30, 20));
    TMainForm &w = f.CreateActive();
    f.Dialogs.FileAnswers = {pump};
    Named<QAction>(w, "miNewSymbol")->trigger();

    QCOMPARE(f.Dialogs.ShownDialogs.size(), 1);
    QCOMPARE(f.Dialogs.ShownDialogs[0].Name, u"sOpenPictureDialog1"_s);
    QCOMPARE(w.Document().Symbols().size(), 1);
    const TViraSymbolPtr s = w.Document().Symbols()[0];
    QCOMPARE(s->Identifier, u"pump.png"_s);
    QCOMPARE(s->Image, pump);
    QCOMPARE(s->Names, (QList<TStringPairs>{{u"en"_s, u"pump.png"_s}, {u"sv"_s, u"pump.png"_s}}));
    QVERIFY(s->Symbol);
    QCOMPARE(QList<qint32>({s->ImageX, s->ImageY, s->TextX, s->TextY}),
             QList<qint32>({0, 0, 0, 0}));
    QCOMPARE(s->TextAlign, vstaRight);
    QVERIFY(s->StateImages.isEmpty());

    QCOMPARE(RowTexts(w), Strings({"pump.png|pump.png|pump.png"}));
    QCOMPARE(IconIndex(w, Named<TSymbolListPanel>(w, "dLV_Symbols")->topLevelItem(0)), 0);
    QCOMPARE(selectedCaption(w), u"pump.png"_s);
    QCOMPARE(Named<TSymbolListPanel>(w, "dLV_Symbols")->currentItem(),
             Named<TSymbolListPanel>(w, "dLV_Symbols")->topLevelItem(0));
    QCOMPARE(w.SelectedSymbol(), s);
    QVERIFY(Named<TSymbolSettingsPanel>(w, "gbSettings")->isEnabled());
    QVERIFY(Named<TImageStripPanel>(w, "sbImagesScrollBox")->isVisible());
    QVERIFY(!Named<QPushButton>(w, "bDeleteImage")->isEnabled());
    const QList<TSymbolImgPanel *> tiles = tilesOf(w);
    QCOMPARE(tiles.size(), 1);
    QCOMPARE(tiles[0]->ImageIndex, -1);
    QVERIFY(!tiles[0]->Mark->isHidden());
    QCOMPARE(Named<QLineEdit>(w, "eIdentifier")->text(), u"pump.png"_s);
    QCOMPARE(Named<TSymbolSettingsPanel>(w, "gbSettings")->NameEdits[0]->text(), u"pump.png"_s);
    QCOMPARE(Named<QLabel>(w, "SymbolImage")->pixmap().size(), QSize(30, 20));
    QVERIFY(f.Dialogs.Errors.isEmpty());
}

void TestSymbolList::cancelledPictureDialogAddsNothing()
{
    TWindowFixture f;
    TMainForm &w = f.Create();
    f.Dialogs.FileAnswers = {std::nullopt};
    Named<QAction>(w, "miNewSymbol")->trigger();
    QCOMPARE(f.Dialogs.ShownDialogs.size(), 1);
    QVERIFY(w.Document().Symbols().isEmpty());
    QCOMPARE(Named<TSymbolListPanel>(w, "dLV_Symbols")->topLevelItemCount(), 0);
    QVERIFY(!w.SelectedSymbol());
}

void TestSymbolList::doubleClickOnARowAddsANewSymbol()
{
    TWindowFixture f;
    const QString valve = f.WritePicture(u"valve.png"_s, QSize(8, 8));
    TMainForm &w = f.CreateActive();
    AddSymbols(w, {MakeSymbol(u"pump"_s, {{u"en"_s, u"Pump"_s}})});
    f.Dialogs.FileAnswers = {valve};
    const QRect pumpRow =
        Named<TSymbolListPanel>(w, "dLV_Symbols")
            ->visualItemRect(Named<TSymbolListPanel>(w, "dLV_Symbols")->topLevelItem(0));
    QTest::mouseDClick(Named<TSymbolListPanel>(w, "dLV_Symbols")->viewport(), Qt::LeftButton, {},
                       pumpRow.center());

    QCOMPARE(f.Dialogs.ShownDialogs.size(), 1);
    QCOMPARE(f.Dialogs.ShownDialogs[0].Name, u"sOpenPictureDialog1"_s);
    QCOMPARE(w.Document().Symbols().size(), 2);
    QCOMPARE(w.Document().Symbols()[0]->Identifier, u"pump"_s);
    QCOMPARE(w.Document().Symbols()[0]->Names, (QList<TStringPairs>{{u"en"_s, u"Pump"_s}}));
    QCOMPARE(selectedCaption(w), u"valve.png"_s);
}

void TestSymbolList::duplicateTwice()
{
    TWindowFixture f;
    const QString pump = f.WritePicture(u"pump.png"_s, QSize(8, 8));
    TMainForm &w = f.CreateActive();
    f.Dialogs.FileAnswers = {pump};
    Named<QAction>(w, "miNewSymbol")->trigger();
    w.SelectedSymbol()->ImageX = 7;
    w.SelectedSymbol()->StateImages = {{u"1"_s, pump}};

    Named<QAction>(w, "miDupSymb")->trigger();
    const TViraSymbolPtr first = w.SelectedSymbol();
    QCOMPARE(first->Identifier, u"pump.png_cpy"_s);
    QCOMPARE(selectedCaption(w), u"pump.png_cpy"_s);
    Named<TSymbolListPanel>(w, "dLV_Symbols")
        ->setCurrentItem(Named<TSymbolListPanel>(w, "dLV_Symbols")->topLevelItem(0));
    QCOMPARE(selectedCaption(w), u"pump.png"_s);
    Named<QAction>(w, "miDupSymb")->trigger();

    // Appended copies, not required to be unique; each copy is a symbol of its own.
    QCOMPARE(w.Document().Symbols().size(), 3);
    QCOMPARE(w.Document().Symbols()[1], first);
    const TViraSymbolPtr second = w.Document().Symbols()[2];
    QCOMPARE(w.SelectedSymbol(), second);
    QCOMPARE(second->Identifier, u"pump.png_cpy"_s);
    QVERIFY(second != first);
    QCOMPARE(second->ImageX, 7);
    QCOMPARE(second->StateImages, first->StateImages);
    QCOMPARE(second->Names,
             (QList<TStringPairs>{{u"en"_s, u"pump.png"_s}, {u"sv"_s, u"pump.png"_s}}));
    QCOMPARE(RowTexts(w), Strings({"pump.png|pump.png|pump.png", "pump.png_cpy|pump.png|pump.png",
                                   "pump.png_cpy|pump.png|pump.png"}));
    QCOMPARE(static_cast<TSymbolListItem *>(
                 Named<TSymbolListPanel>(w, "dLV_Symbols")->selectedItems().value(0))
                 ->Symbol,
             second);
    // The copy's strip: the main tile and its state tile.
    QCOMPARE(tilesOf(w).size(), 2);
}

void TestSymbolList::editedIdentifierMovesTheRowWhileSelected()
{
    TWindowFixture f;
    TMainForm &w = f.CreateActive();
    AddSymbols(w, {MakeSymbol(u"b"_s, {}), MakeSymbol(u"m"_s, {}), MakeSymbol(u"x"_s, {})});
    Named<TSymbolListPanel>(w, "dLV_Symbols")->setCurrentItem(rowOf(w, u"x"_s));
    const TViraSymbolPtr x = w.SelectedSymbol();

    Named<QLineEdit>(w, "eIdentifier")->setFocus();
    Named<QLineEdit>(w, "eIdentifier")->selectAll();
    QTest::keyClick(Named<QLineEdit>(w, "eIdentifier"), Qt::Key_A);
    QCOMPARE(x->Identifier, u"a"_s);
    QCOMPARE(RowTexts(w), Strings({"a||", "b||", "m||"}));
    QCOMPARE(selectedCaption(w), u"a"_s);
    QCOMPARE(w.SelectedSymbol(), x);
    QTest::keyClicks(Named<QLineEdit>(w, "eIdentifier"), u"zz"_s);
    QCOMPARE(RowTexts(w), Strings({"azz||", "b||", "m||"}));
    QTest::keyClick(Named<QLineEdit>(w, "eIdentifier"), Qt::Key_Home);
    QTest::keyClick(Named<QLineEdit>(w, "eIdentifier"), Qt::Key_Delete);
    QCOMPARE(RowTexts(w), Strings({"b||", "m||", "zz||"}));
    QCOMPARE(selectedCaption(w), u"zz"_s);
    // Still the one symbol being edited: the names were brought to the shown languages.
    QCOMPARE(x->Names, (QList<TStringPairs>{{u"en"_s, QString()}, {u"sv"_s, QString()}}));
    QCOMPARE(w.Document().Symbols().size(), 3);
}

void TestSymbolList::pointFieldsStopAtTheFirstNonInteger_data()
{
    QTest::addColumn<int>("field");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("keyByKey");
    QTest::addColumn<QList<qint32>>("result");

    // The symbol holds 1, 2, 3, 4; the text goes into the focused field at once (pasted) or
    // key by key; then the other fields are set to 10, 20, 30, 40.
    QTest::newRow("anchor x 12a") << 0 << u"12a"_s << false << QList<qint32>{1, 2, 3, 4};
    QTest::newRow("anchor x 12a typed") << 0 << u"12a"_s << true << QList<qint32>{12, 2, 3, 4};
    QTest::newRow("anchor y empty") << 1 << QString() << false << QList<qint32>{10, 2, 3, 4};
    QTest::newRow("text x lone sign") << 2 << u"-"_s << false << QList<qint32>{10, 20, 3, 4};
    QTest::newRow("text y 12a") << 3 << u"12a"_s << false << QList<qint32>{10, 20, 30, 4};
    QTest::newRow("text y trailing blank") << 3 << u"5 "_s << false << QList<qint32>{10, 20, 30, 4};
    QTest::newRow("anchor x hex") << 0 << u"$1F"_s << false << QList<qint32>{31, 20, 30, 40};
    QTest::newRow("anchor y leading blanks, sign")
        << 1 << u"  -8"_s << true << QList<qint32>{10, -8, 30, 40};
}

void TestSymbolList::pointFieldsStopAtTheFirstNonInteger()
{
    QFETCH(int, field);
    QFETCH(QString, typed);
    QFETCH(bool, keyByKey);
    QFETCH(QList<qint32>, result);

    TWindowFixture f;
    TMainForm &w = f.CreateActive();
    const TViraSymbolPtr s = MakeSymbol(u"s"_s, {});
    s->ImageX = 1;
    s->ImageY = 2;
    s->TextX = 3;
    s->TextY = 4;
    AddSymbols(w, {s});
    Named<TSymbolListPanel>(w, "dLV_Symbols")
        ->setCurrentItem(Named<TSymbolListPanel>(w, "dLV_Symbols")->topLevelItem(0));

    const QList<QLineEdit *> fields = {
        Named<QLineEdit>(w, "eAnchorX"), Named<QLineEdit>(w, "eAnchorY"),
        Named<QLineEdit>(w, "eTextX"), Named<QLineEdit>(w, "eTextY")};
    if (keyByKey) {
        retype(fields[field], typed);
    } else {
        fields[field]->setFocus();
        fields[field]->setText(typed);
    }
    QCOMPARE(fields[field]->text(), typed);
    // The field being typed in keeps its text while the others change from code.
    for (int k = 0; k < 4; ++k)
        if (k != field)
            fields[k]->setText(QString::number(10 * (k + 1)));
    QCOMPARE(QList<qint32>({s->ImageX, s->ImageY, s->TextX, s->TextY}), result);
    QCOMPARE(fields[field]->text(), typed);
    QVERIFY(f.Dialogs.Errors.isEmpty());
}

void TestSymbolList::typedAlignment_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("align");
    QTest::newRow("Center") << u"Center"_s << 1;
    QTest::newRow("Left") << u"Left"_s << 2;
    QTest::newRow("no item") << u"Middle"_s << 255;
    QTest::newRow("case differs") << u"center"_s << 255;
    QTest::newRow("start of an item") << u"L"_s << 255;
    QTest::newRow("empty") << QString() << 255;
}

void TestSymbolList::typedAlignment()
{
    QFETCH(QString, typed);
    QFETCH(int, align);

    TWindowFixture f;
    TMainForm &w = f.CreateActive();
    const TViraSymbolPtr s = MakeSymbol(u"s"_s, {});
    s->TextAlign = vstaCenter;
    AddSymbols(w, {s});
    Named<TSymbolListPanel>(w, "dLV_Symbols")
        ->setCurrentItem(Named<TSymbolListPanel>(w, "dLV_Symbols")->topLevelItem(0));
    QLineEdit *text = Named<QComboBox>(w, "cbTextAlign")->lineEdit();
    retype(text, u"x"_s);
    QCOMPARE(int(s->TextAlign), 255);
    // The text is taken exactly as typed, also once the focus has left the box.
    retype(text, typed);
    QCOMPARE(text->text(), typed);
    QCOMPARE(int(s->TextAlign), align);
    QTest::keyClick(text, Qt::Key_Tab);
    QVERIFY(!text->hasFocus());
    QCOMPARE(Named<QComboBox>(w, "cbTextAlign")->currentText(), typed);
    QCOMPARE(int(s->TextAlign), align);
}

void TestSymbolList::namesFollowTheShownLanguages()
{
    TWindowFixture f;
    TMainForm &w = f.CreateActive();
    const TViraSymbolPtr s = MakeSymbol(
        u"valve"_s, {{u"de"_s, u"Ventil-de"_s}, {u"sv"_s, u"Ventil"_s}, {u"en"_s, u"Valve"_s}});
    AddSymbols(w, {s});
    Named<TSymbolListPanel>(w, "dLV_Symbols")
        ->setCurrentItem(Named<TSymbolListPanel>(w, "dLV_Symbols")->topLevelItem(0));
    // Selecting writes nothing back.
    QCOMPARE(s->Names.size(), 3);
    QCOMPARE(Named<TSymbolSettingsPanel>(w, "gbSettings")->NameEdits[0]->text(), u"Valve"_s);
    QCOMPARE(Named<TSymbolSettingsPanel>(w, "gbSettings")->NameEdits[1]->text(), u"Ventil"_s);

    // The shown language's name is replaced in its place; the one without a column stays.
    retype(Named<TSymbolSettingsPanel>(w, "gbSettings")->NameEdits[0], u"Valve!"_s);
    QCOMPARE(s->Names,
             (QList<TStringPairs>{
                 {u"de"_s, u"Ventil-de"_s}, {u"sv"_s, u"Ventil"_s}, {u"en"_s, u"Valve!"_s}}));
    QCOMPARE(RowTexts(w), Strings({"valve|Valve!|Ventil"}));

    // Hiding a column shows the remaining language's name at once and writes nothing back.
    Named<QAction>(w, "miEN")->trigger();
    QCOMPARE(Named<TSymbolSettingsPanel>(w, "gbSettings")->NameLabels[0]->text(), u"sv"_s);
    QCOMPARE(Named<TSymbolSettingsPanel>(w, "gbSettings")->NameEdits[0]->text(), u"Ventil"_s);
    QVERIFY(Named<TSymbolSettingsPanel>(w, "gbSettings")->NameEdits[1]->isHidden());
    QCOMPARE(s->Names.size(), 3);
    // Edits keep every name, also after the column has gone; a language that gets a column
    // and had no name gets one.
    retype(Named<QLineEdit>(w, "eIdentifier"), u"valve2"_s);
    retype(Named<TSymbolSettingsPanel>(w, "gbSettings")->NameEdits[0], u"Ventil2"_s);
    QCOMPARE(s->Names,
             (QList<TStringPairs>{
                 {u"de"_s, u"Ventil-de"_s}, {u"sv"_s, u"Ventil2"_s}, {u"en"_s, u"Valve!"_s}}));
    QCOMPARE(RowTexts(w), Strings({"valve2|Ventil2"}));
    const TViraSymbolPtr bare = MakeSymbol(u"bare"_s, {});
    AddSymbols(w, {bare});
    clickRow(w, u"bare"_s);
    retype(Named<TSymbolSettingsPanel>(w, "gbSettings")->NameEdits[0], u"Kal"_s);
    QCOMPARE(bare->Names, (QList<TStringPairs>{{u"sv"_s, u"Kal"_s}}));
}

void TestSymbolList::deleteSymbol()
{
    TWindowFixture f;
    TMainForm &w = f.CreateActive();
    const TViraSymbolPtr a = MakeSymbol(u"a"_s, {});
    const TViraSymbolPtr b = MakeSymbol(u"b"_s, {});
    AddSymbols(w, {b, a});
    Named<TSymbolListPanel>(w, "dLV_Symbols")->setCurrentItem(rowOf(w, u"b"_s));
    Named<TSymbolListPanel>(w, "dLV_Symbols")->setFocus();
    QTest::keyClick(Named<TSymbolListPanel>(w, "dLV_Symbols"), Qt::Key_Delete, Qt::ShiftModifier);

    QCOMPARE(w.Document().Symbols(), QList<TViraSymbolPtr>{a});
    QCOMPARE(RowTexts(w), Strings({"a||"}));
    QCOMPARE(selectedCaption(w), u"a"_s);
    QCOMPARE(w.SelectedSymbol(), a);
    QCOMPARE(tilesOf(w).size(), 1);
    QCOMPARE(tilesOf(w)[0]->Symbol, a);
    QCOMPARE(f.Dialogs.Beeps, 0);
}

void TestSymbolList::deleteRefusals_data()
{
    QTest::addColumn<int>("rows");
    QTest::addColumn<bool>("select");
    QTest::newRow("one row left") << 1 << true;
    QTest::newRow("nothing selected") << 2 << false;
    QTest::newRow("empty list") << 0 << false;
}

void TestSymbolList::deleteRefusals()
{
    QFETCH(int, rows);
    QFETCH(bool, select);
    TWindowFixture f;
    TMainForm &w = f.Create();
    QList<TViraSymbolPtr> symbols;
    for (int k = 0; k < rows; ++k)
        symbols.append(MakeSymbol(QString::number(k), {}));
    AddSymbols(w, symbols);
    if (select)
        Named<TSymbolListPanel>(w, "dLV_Symbols")
            ->setCurrentItem(Named<TSymbolListPanel>(w, "dLV_Symbols")->topLevelItem(0));
    Named<QAction>(w, "miDeleteSymbol")->trigger();
    QCOMPARE(f.Dialogs.Beeps, 1);
    QCOMPARE(w.Document().Symbols(), symbols);
    QCOMPARE(Named<TSymbolListPanel>(w, "dLV_Symbols")->topLevelItemCount(), rows);
    QCOMPARE(Named<TSymbolListPanel>(w, "dLV_Symbols")->selectedItems().size(), select ? 1 : 0);
}

void TestSymbolList::missingMainImageShowsTheErrorIcon()
{
    TWindowFixture f;
    const QString state = f.WritePicture(u"state.png"_s, QSize(8, 8));
    TMainForm &w = f.CreateActive();
    const TViraSymbolPtr s = MakeSymbol(u"gone"_s, {});
    s->Image = f.Path(u"missing.png"_s);
    const TViraSymbolPtr other = MakeSymbol(u"other"_s, {});
    AddSymbols(w, {s, other});
    QCOMPARE(IconIndex(w, rowOf(w, u"gone"_s)), 0);

    Named<TSymbolListPanel>(w, "dLV_Symbols")->setCurrentItem(rowOf(w, u"gone"_s));
    QVERIFY(s->Error);
    QCOMPARE(IconIndex(w, rowOf(w, u"gone"_s)), 3);
    // Moving away keeps the error; a refill of the row shows it.
    Named<TSymbolListPanel>(w, "dLV_Symbols")->setCurrentItem(rowOf(w, u"other"_s));
    QCOMPARE(IconIndex(w, rowOf(w, u"gone"_s)), 3);

    // After an image command the rows show the plain icons until filled anew.
    Named<TSymbolListPanel>(w, "dLV_Symbols")->setCurrentItem(rowOf(w, u"gone"_s));
    f.Dialogs.FileAnswers = {state};
    Named<QPushButton>(w, "bAddImage")->click();
    QCOMPARE(IconIndex(w, rowOf(w, u"gone"_s)), 1);
    retype(Named<QLineEdit>(w, "eIdentifier"), u"gone!"_s);
    QCOMPARE(IconIndex(w, rowOf(w, u"gone!"_s)), 3);
}

void TestSymbolList::fileThatIsNoPicture()
{
    TWindowFixture f;
    f.WriteFile(u"broken.png"_s, "this is text");
    const QString good = f.WritePicture(u"good.png"_s, QSize(8, 8));
    TMainForm &w = f.CreateActive();

    // As a new symbol: added, with the error icon and a message naming the file.
    f.Dialogs.FileAnswers = {f.Path(u"broken.png"_s)};
    pressShortcut(w, Qt::CTRL | Qt::Key_A);
    QCOMPARE(w.Document().Symbols().size(), 1);
    QVERIFY(w.Document().Symbols()[0]->Error);
    QCOMPARE(IconIndex(w, rowOf(w, u"broken.png"_s)), 3);
    QCOMPARE(f.Dialogs.Errors.size(), 1);
    QVERIFY2(f.Dialogs.Errors[0].contains(f.Path(u"broken.png"_s)) &&
                 f.Dialogs.Errors[0].contains(u"cannot be read as a picture"_s),
             qPrintable(f.Dialogs.Errors[0]));

    // As a state image of a good symbol: added, with the message.
    f.Dialogs.FileAnswers = {good, f.Path(u"broken.png"_s)};
    pressShortcut(w, Qt::CTRL | Qt::Key_A);
    QCOMPARE(f.Dialogs.Errors.size(), 1);
    QTest::mouseClick(Named<QPushButton>(w, "bAddImage"), Qt::LeftButton);
    QCOMPARE(w.SelectedSymbol()->StateImages.size(), 1);
    QCOMPARE(f.Dialogs.Errors.size(), 2);
    QVERIFY(f.Dialogs.Errors[1].contains(f.Path(u"broken.png"_s)));
}

void TestSymbolList::lostSelectionSwitchesEditingOff()
{
    TWindowFixture f;
    TMainForm &w = f.CreateActive();
    const TViraSymbolPtr s = MakeSymbol(u"s"_s, {});
    AddSymbols(w, {s});
    Named<TSymbolListPanel>(w, "dLV_Symbols")
        ->setCurrentItem(Named<TSymbolListPanel>(w, "dLV_Symbols")->topLevelItem(0));
    QVERIFY(Named<TSymbolSettingsPanel>(w, "gbSettings")->isEnabled());
    Named<TSymbolListPanel>(w, "dLV_Symbols")->clearSelection();
    QVERIFY(!w.SelectedSymbol());
    QVERIFY(!Named<TSymbolSettingsPanel>(w, "gbSettings")->isEnabled());
    QVERIFY(!Named<TImageStripPanel>(w, "sbImagesScrollBox")->isVisible());
    // Fields changed now write into no symbol.
    Named<QLineEdit>(w, "eIdentifier")->setText(u"other"_s);
    QCOMPARE(s->Identifier, u"s"_s);
    // The tiles stay, hidden with the strip.
    QCOMPARE(tilesOf(w).size(), 1);
}

QTEST_MAIN(TestSymbolList)
#include "tst_symbol_list.moc"
