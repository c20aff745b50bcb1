// Batch import: several pictures chosen in Add New Symbol become one symbol per state family,
// after a dialog has listed the symbols and let the user switch grouping off.
#include "WindowFixture.h"

#include "ui/BatchImportDialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>

class TestBatchImport : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void familiesAreShownThenAdded();
    void groupingSwitchedOff();
    void cancelAddsNothing();
    void onePictureIsAddedAsBefore();

private:
    std::unique_ptr<TWindowFixture> f;
    TMainForm *w = nullptr;
    QStringList pictures;

    /// Chooses every picture in Add New Symbol's dialog.
    void chooseAll();
};

namespace
{
QStringList dialogRows(const TBatchImportDialog &Dialog)
{
    QStringList rows;
    for (int row = 0; row < Dialog.lvFamilies->topLevelItemCount(); ++row)
        rows.append(Dialog.lvFamilies->topLevelItem(row)->text(0) + u'|' +
                    Dialog.lvFamilies->topLevelItem(row)->text(1));
    return rows;
}

void clickButton(TBatchImportDialog &Dialog, QDialogButtonBox::StandardButton Which)
{
    QTest::mouseClick(Dialog.Buttons->button(Which), Qt::LeftButton);
}
} // namespace

void TestBatchImport::initTestCase()
{
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
}

void TestBatchImport::init()
{
    f = std::make_unique<TWindowFixture>();
    w = &f->CreateActive();
    pictures.clear();
    for (const char *name :
         {"pump_1.png", "pump.png", "valve_MO.png", "pump_alarm.png", "valve_alarm.png"})
        pictures.append(f->WritePicture(u"pics/"_s + QLatin1String(name), QSize(4, 4)));
}

void TestBatchImport::chooseAll()
{
    f->Dialogs.FileAnswers = {pictures.join(u'\n')};
    pressShortcut(*w, Qt::CTRL | Qt::Key_A);
}

void TestBatchImport::familiesAreShownThenAdded()
{
    QStringList shown;
    QString summary;
    f->Dialogs.DialogScripts = {[&](QDialog &Dialog) {
        auto &batch = static_cast<TBatchImportDialog &>(Dialog);
        shown = dialogRows(batch);
        summary = batch.lSummary->text();
        clickButton(batch, QDialogButtonBox::Ok);
        return batch.result() == QDialog::Accepted;
    }};
    chooseAll();
    QCOMPARE(f->Dialogs.RunDialogs, QStringList{u"BatchImportDialog"_s});
    QCOMPARE(summary, u"5 pictures make 2 new symbols:"_s);
    QCOMPARE(shown, Strings({"pump.png|1: pump_1.png, Alarm: pump_alarm.png",
                             "valve_alarm.png|MO: valve_MO.png"}));

    QCOMPARE(w->Document().Symbols().size(), 2);
    const TViraSymbol &pump = *w->Document().Symbols()[0];
    QCOMPARE(pump.Identifier, u"pump.png"_s);
    QCOMPARE(pump.Image, pictures[1]);
    QCOMPARE(pump.StateImages,
             (QList<TStringPairs>{{u"1"_s, pictures[0]}, {u"Alarm"_s, pictures[3]}}));
    QCOMPARE(pump.Names, (QList<TStringPairs>{{u"en"_s, u"pump.png"_s}, {u"sv"_s, u"pump.png"_s}}));
    QVERIFY(pump.Symbol);
    const TViraSymbol &valve = *w->Document().Symbols()[1];
    QCOMPARE(valve.Image, pictures[4]);
    QCOMPARE(valve.StateImages, (QList<TStringPairs>{{u"MO"_s, pictures[2]}}));

    QCOMPARE(RowTexts(*w), Strings({"pump.png|pump.png|pump.png",
                                    "valve_alarm.png|valve_alarm.png|valve_alarm.png"}));
    QCOMPARE(IconIndex(*w, rowOf(*w, u"pump.png"_s)), 1);
    // The last symbol is selected and its strip built.
    QCOMPARE(w->SelectedSymbol(), w->Document().Symbols()[1]);
    QCOMPARE(tilesOf(*w).size(), 2);
}

void TestBatchImport::groupingSwitchedOff()
{
    QStringList shown;
    f->Dialogs.DialogScripts = {[&](QDialog &Dialog) {
        auto &batch = static_cast<TBatchImportDialog &>(Dialog);
        QTest::mouseClick(batch.cbGroupFamilies, Qt::LeftButton, {},
                          QPoint(6, batch.cbGroupFamilies->height() / 2));
        shown = dialogRows(batch);
        clickButton(batch, QDialogButtonBox::Ok);
        return batch.result() == QDialog::Accepted;
    }};
    chooseAll();
    QCOMPARE(shown, Strings({"pump_1.png|", "pump.png|", "valve_MO.png|", "pump_alarm.png|",
                             "valve_alarm.png|"}));
    QCOMPARE(w->Document().Symbols().size(), 5);
    for (int k = 0; k < 5; ++k) {
        QCOMPARE(w->Document().Symbols()[k]->Image, pictures[k]);
        QVERIFY(w->Document().Symbols()[k]->StateImages.isEmpty());
    }
}

void TestBatchImport::cancelAddsNothing()
{
    f->Dialogs.DialogScripts = {[](QDialog &Dialog) {
        auto &batch = static_cast<TBatchImportDialog &>(Dialog);
        clickButton(batch, QDialogButtonBox::Cancel);
        return batch.result() == QDialog::Accepted;
    }};
    chooseAll();
    QCOMPARE(f->Dialogs.RunDialogs.size(), 1);
    QVERIFY(w->Document().Symbols().isEmpty());
    QCOMPARE(Named<TSymbolListPanel>(*w, "dLV_Symbols")->topLevelItemCount(), 0);
}

void TestBatchImport::onePictureIsAddedAsBefore()
{
    f->Dialogs.FileAnswers = {pictures[0]};
    pressShortcut(*w, Qt::CTRL | Qt::Key_A);
    QVERIFY(f->Dialogs.RunDialogs.isEmpty());
    QCOMPARE(w->Document().Symbols().size(), 1);
    QCOMPARE(w->Document().Symbols()[0]->Identifier, u"pump_1.png"_s);
    QVERIFY(w->Document().Symbols()[0]->StateImages.isEmpty());
}

QTEST_MAIN(TestBatchImport)
#include "tst_batch_import.moc"
