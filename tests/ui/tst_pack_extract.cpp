// Pack Glyphbook and Extract Glyphbook in the window: their dialogs, questions and messages,
// the busy cursor and progress, the files they leave, and the list and selection afterwards.
#include "WindowFixture.h"

#include "packing/GlyphbookExtract.h"
#include "packing/GlyphbookPack.h"
#include "packing/GzipStream.h"
#include "packing/LibTar.h"
#include "ui/QtGlyphbookDialogs.h"
#include "ui/SymbolImgPanels.h"

#include <QGroupBox>
#include <QGuiApplication>
#include <QLineEdit>
#include <QPointer>
#include <QProgressDialog>
#include <QPushButton>
#include <QScrollArea>

class TestPackExtract : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void packWritesTheArchiveAndCarriesTheSelectionOver();
    void packWithAMissingImage();
    void packToAnExistingArchiveAsks_data();
    void packToAnExistingArchiveAsks();
    void packFailures_data();
    void packFailures();
    void packWithNothingSelectedSelectsNothing();
    void cancelledDialogsChangeNothing();
    void examplePacksAndExtractsAsTheWindowShowsIt();
    void extractPresetsTheDialogsAndCarriesTheSelectionOver();
    void extractAgainAsks();
    void extractBesideItsProjectOffersAnotherFolder_data();
    void extractBesideItsProjectOffersAnotherFolder();
    void extractWithoutLibraryDocument();
    void extractNamesTheFileInTheWay_data();
    void extractNamesTheFileInTheWay();
    void failedExtractKeepsThePreviousFiles_data();
    void failedExtractKeepsThePreviousFiles();
    void progressDialogAppearsAfterASecond();
};

namespace
{
const QString MissingImageText = u"One image used by a dialog is missing. The symbol library can "
                                 u"therfore not be created. "_s;

/// Points the system's temporary folder somewhere else while it lives.
class TTempFolderOverride
{
public:
    explicit TTempFolderOverride(const QString &Folder) : FFormer(qgetenv("TMPDIR"))
    {
        qputenv("TMPDIR", QFile::encodeName(Folder));
    }
    ~TTempFolderOverride() { qputenv("TMPDIR", FFormer); }

private:
    QByteArray FFormer;
};

/// A window whose library is "zeta", "alpha", "mid" in that order, each with a picture and
/// "zeta" with two state images, named in English and French; "alpha" (library index 1,
/// listed first) is selected. Its own temporary folder shows what the commands leave there.
struct TPackFixture : TWindowFixture {
    QString Scratch;
    std::unique_ptr<TTempFolderOverride> TempFolder;

    TMainForm &CreateWithLibrary()
    {
        Scratch = Path(u"scratch"_s);
        QDir().mkpath(Scratch);
        TempFolder = std::make_unique<TTempFolderOverride>(Scratch);
        TMainForm &w = CreateActive();
        QList<TViraSymbolPtr> symbols;
        for (const char *name : {"zeta", "alpha", "mid"}) {
            const QString id = QString::fromLatin1(name);
            auto symbol = MakeSymbol(id, {{u"en"_s, id + u"-en"_s}, {u"fr"_s, id + u"-fr"_s}});
            symbol->Image = WritePicture(u"pics/%1.png"_s.arg(id), QSize(20, 10));
            symbol->ImageX = 4;
            symbols.append(symbol);
        }
        symbols[0]->StateImages = {{u"1"_s, WritePicture(u"pics/on.png"_s, QSize(5, 5))},
                                   {u"Alarm"_s, WritePicture(u"pics/alarm.png"_s, QSize(6, 6))}};
        AddSymbols(w, symbols);
        Named<TSymbolListPanel>(w, "dLV_Symbols")
            ->setCurrentItem(Named<TSymbolListPanel>(w, "dLV_Symbols")->topLevelItem(0));
        if (w.SelectedSymbol() != symbols[1])
            qFatal("alpha not selected");
        return w;
    }

    /// Packs Library with the core into Archive.
    void PackWithCore(const TViraGlyphbook &Library, const QString &Archive) const
    {
        QVERIFY(PackLibrary(Library, Archive));
    }
};

/// The symbols of the rows, in row order.
QList<TViraSymbolPtr> rowSymbols(const TMainForm &Window)
{
    QList<TViraSymbolPtr> symbols;
    for (int row = 0; row < Named<TSymbolListPanel>(Window, "dLV_Symbols")->topLevelItemCount();
         ++row)
        symbols.append(static_cast<TSymbolListItem *>(
                           Named<TSymbolListPanel>(Window, "dLV_Symbols")->topLevelItem(row))
                           ->Symbol);
    return symbols;
}

/// The rows, the selection, the strip and the fields refer to the library's symbols, the one
/// at Index selected, and an edit lands in the library.
void verifySelectionCarriedOver(TMainForm &Window, int Index, const QString &Identifier)
{
    const QList<TViraSymbolPtr> rows = rowSymbols(Window);
    QCOMPARE(rows.size(), Window.Document().Symbols().size());
    for (const TViraSymbolPtr &symbol : rows)
        QVERIFY(Window.Document().Symbols().contains(symbol));
    const TViraSymbolPtr expected = Window.Document().Symbols().at(Index);
    QCOMPARE(expected->Identifier, Identifier);
    const QList<QTreeWidgetItem *> selected =
        Named<TSymbolListPanel>(Window, "dLV_Symbols")->selectedItems();
    QCOMPARE(selected.size(), 1);
    QCOMPARE(static_cast<TSymbolListItem *>(selected.first())->Symbol, expected);
    QCOMPARE(Window.SelectedSymbol(), expected);
    const QList<TSymbolImgPanel *> tiles = tilesOf(Window);
    QCOMPARE(tiles.size(), 1 + expected->StateImages.size());
    for (const TSymbolImgPanel *tile : tiles)
        QCOMPARE(tile->Symbol, expected);
    QCOMPARE(Named<QLineEdit>(Window, "eIdentifier")->text(), Identifier);

    Named<QLineEdit>(Window, "eIdentifier")->setText(Identifier + u"-edited"_s);
    QCOMPARE(Window.Document().Symbols().at(Index)->Identifier, Identifier + u"-edited"_s);
}

/// The most recent progress feedback was fed to its end with the busy cursor on, and closed.
void verifyProgressShown(const TScriptedDialogs &Dialogs, const QString &Text)
{
    QVERIFY(!Dialogs.Progresses.isEmpty());
    const TScriptedDialogs::TShownProgress &progress = Dialogs.Progresses.last();
    QCOMPARE(progress.Text, Text);
    QVERIFY(!progress.Steps.isEmpty());
    qint64 done = 0;
    for (const auto &[stepDone, total] : progress.Steps) {
        QVERIFY(stepDone >= done);
        QVERIFY(stepDone <= total);
        done = stepDone;
    }
    QCOMPARE(progress.Steps.last().first, progress.Steps.last().second);
    QVERIFY(progress.BusyCursor);
    QVERIFY(progress.Closed);
}

/// A gzip-compressed tar archive holding the given entries.
void writeArchive(const QString &Path, const QList<std::pair<QByteArray, QByteArray>> &Entries)
{
    QFile file(Path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    TGzipWriter gzip(&file);
    {
        TTarWriter tar(&gzip);
        for (const auto &[name, bytes] : Entries)
            tar.AddString(bytes, name, QDateTime::currentDateTimeUtc());
        tar.Finalize();
    }
    gzip.Finish();
}
} // namespace

void TestPackExtract::initTestCase()
{
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
}

void TestPackExtract::packWritesTheArchiveAndCarriesTheSelectionOver()
{
    TPackFixture f;
    TMainForm &w = f.CreateWithLibrary();
    w.Document().SetProjectFile(f.Path(u"lib.js"_s));
    w.sSaveDialog1.FileName = f.Path(u"lib.js"_s);
    w.setWindowTitle(u"caption"_s);
    const QByteArray documentBefore = SavedBytes(w);
    const QString archive = f.Path(u"out/road.tar.gz"_s);
    QDir().mkpath(f.Path(u"out"_s));

    f.Dialogs.FileAnswers = {archive};
    Named<QAction>(w, "miPackLib")->trigger();

    QVERIFY2(f.Dialogs.Errors.isEmpty(), qPrintable(f.Dialogs.Errors.join(u'\n')));
    QVERIFY(f.Dialogs.ErrorCancels.isEmpty());
    QVERIFY(f.Dialogs.Questions.isEmpty());
    QCOMPARE(f.Dialogs.ShownDialogs.last().Name, u"sSaveDialog2"_s);
    QCOMPARE(f.Dialogs.ShownDialogs.last().Filter, u"Symbol library|*.tar.gz"_s);
    QVERIFY(!QGuiApplication::overrideCursor());
    verifyProgressShown(f.Dialogs, u"Packing the symbol library..."_s);

    // Only the archive is left: nothing beside it, nothing in the temporary folder.
    QCOMPARE(snapshot(f.Path(u"out"_s)).keys(), Strings({"road.tar.gz"}));
    QCOMPARE(snapshot(f.Scratch).keys(), QStringList());
    // The archive holds the library with its images.
    TViraGlyphbook extracted;
    QCOMPARE(ExtractLibrary(extracted, archive), TExtractResult::Extracted);
    QVERIFY(extracted.LoadFromFile(f.Path(u"out/road.js"_s)));
    QCOMPARE(extracted.Symbols.size(), 3);
    QCOMPARE(extracted.Symbols[0]->StateImages.size(), 2);
    QCOMPARE(readFile(extracted.Symbols[0]->StateImages[1].Value),
             readFile(f.Path(u"pics/alarm.png"_s)));

    // The library is what it was, the caption and the other dialogs too.
    QCOMPARE(SavedBytes(w), documentBefore);
    // Each name under its language's column, although the document keeps them in another order.
    QCOMPARE(RowTexts(w), Strings({"alpha|alpha-en|", "mid|mid-en|", "zeta|zeta-en|"}));
    QCOMPARE(w.windowTitle(), u"caption"_s);
    QCOMPARE(w.sSaveDialog1.FileName, f.Path(u"lib.js"_s));
    QCOMPARE(w.sOpenDialog1.FileName, f.Path(u"lib.js"_s));
    QCOMPARE(w.sSaveDialog2.FileName, archive);
    verifySelectionCarriedOver(w, 1, u"alpha"_s);
}

void TestPackExtract::packWithAMissingImage()
{
    TPackFixture f;
    TMainForm &w = f.CreateWithLibrary();
    const QString missing = f.Path(u"pics/gone.png"_s);
    editSymbol(w, 2, [&](TViraSymbol &Symbol) { Symbol.StateImages = {{u"3"_s, missing}}; });
    const QByteArray documentBefore = SavedBytes(w);
    const QString archive = f.Path(u"road.tar.gz"_s);

    f.Dialogs.FileAnswers = {archive};
    Named<QAction>(w, "miPackLib")->trigger();

    QCOMPARE(f.Dialogs.ErrorCancels,
             QStringList(MissingImageText + u"File \"%1\" is missing"_s.arg(missing)));
    QVERIFY(f.Dialogs.Errors.isEmpty());
    QVERIFY(!QGuiApplication::overrideCursor());
    QVERIFY(!QFileInfo::exists(archive));
    QCOMPARE(snapshot(f.Scratch).keys(), QStringList());
    QCOMPARE(SavedBytes(w), documentBefore);
    verifySelectionCarriedOver(w, 1, u"alpha"_s);
}

void TestPackExtract::packToAnExistingArchiveAsks_data()
{
    QTest::addColumn<bool>("yes");
    QTest::newRow("no") << false;
    QTest::newRow("yes") << true;
}

void TestPackExtract::packToAnExistingArchiveAsks()
{
    QFETCH(bool, yes);
    TPackFixture f;
    TMainForm &w = f.CreateWithLibrary();
    const QString archive = f.Path(u"road.tar.gz"_s);
    f.Dialogs.FileAnswers = {archive};
    Named<QAction>(w, "miPackLib")->trigger();
    QVERIFY(f.Dialogs.Questions.isEmpty());
    const QByteArray first = readFile(archive);
    QVERIFY(!first.isEmpty());

    editSymbol(w, 0, [](TViraSymbol &Symbol) { Symbol.Identifier = u"renamed"_s; });
    f.Dialogs.FileAnswers = {archive};
    f.Dialogs.ConfirmAnswers = {yes};
    Named<QAction>(w, "miPackLib")->trigger();

    QCOMPARE(f.Dialogs.Questions, Strings({"Overwrite existing?"}));
    QVERIFY(f.Dialogs.Errors.isEmpty());
    QVERIFY(!QGuiApplication::overrideCursor());
    QCOMPARE(readFile(archive) == first, !yes);
    QCOMPARE(snapshot(f.Scratch).keys(), QStringList());
    // Refilled either way.
    QCOMPARE(w.Document().Symbols()[0]->Identifier, u"renamed"_s);
    verifySelectionCarriedOver(w, 1, u"alpha"_s);
}

void TestPackExtract::packFailures_data()
{
    QTest::addColumn<QString>("target");
    QTest::addColumn<bool>("noTempFolder");
    QTest::addColumn<QString>("error");
    QTest::addColumn<bool>("refilled");
    // Reported after the library is back and the list refilled.
    QTest::newRow("archive is a folder")
        << u"folder.tar.gz"_s << false << u"Cannot create file \"{archive}\". It is a folder."_s
        << true;
    // Nothing else happens: the library and its rows stay as they were.
    QTest::newRow("no temporary folder")
        << u"road.tar.gz"_s << true << u"Cannot create a temporary folder in \"{temp}\"."_s
        << false;
}

void TestPackExtract::packFailures()
{
    QFETCH(QString, target);
    QFETCH(bool, noTempFolder);
    QFETCH(QString, error);
    QFETCH(bool, refilled);
    TPackFixture f;
    TMainForm &w = f.CreateWithLibrary();
    const QString archive = f.Path(target);
    QDir().mkpath(f.Path(u"folder.tar.gz"_s));
    // A file where the temporary folder should be: nothing can be created in it.
    const QString notAFolder = f.Path(u"not-a-folder"_s);
    f.WriteFile(u"not-a-folder"_s, "x");
    TTempFolderOverride tempFolder(noTempFolder ? notAFolder : f.Scratch);
    const QList<TViraSymbolPtr> rowsBefore = rowSymbols(w);

    f.Dialogs.FileAnswers = {archive};
    Named<QAction>(w, "miPackLib")->trigger();

    QCOMPARE(f.Dialogs.Errors.size(), 1);
    error.replace(u"{archive}"_s, archive).replace(u"{temp}"_s, notAFolder);
    QVERIFY2(f.Dialogs.Errors.first().startsWith(error), qPrintable(f.Dialogs.Errors.first()));
    QVERIFY(f.Dialogs.ErrorCancels.isEmpty());
    QVERIFY(!QGuiApplication::overrideCursor());
    QVERIFY(!QFileInfo(archive).isFile());
    QCOMPARE(snapshot(f.Scratch).keys(), QStringList());
    QCOMPARE(rowSymbols(w) != rowsBefore, refilled);
    verifySelectionCarriedOver(w, 1, u"alpha"_s);
}

void TestPackExtract::packWithNothingSelectedSelectsNothing()
{
    TPackFixture f;
    TMainForm &w = f.CreateWithLibrary();
    Named<TSymbolListPanel>(w, "dLV_Symbols")->clearSelection();
    QVERIFY(!w.SelectedSymbol());

    f.Dialogs.FileAnswers = {f.Path(u"road.tar.gz"_s)};
    Named<QAction>(w, "miPackLib")->trigger();

    QVERIFY(f.Dialogs.Errors.isEmpty());
    QCOMPARE(Named<TSymbolListPanel>(w, "dLV_Symbols")->topLevelItemCount(), 3);
    QVERIFY(Named<TSymbolListPanel>(w, "dLV_Symbols")->selectedItems().isEmpty());
    QVERIFY(!w.SelectedSymbol());
    QVERIFY(tilesOf(w).isEmpty());
    QVERIFY(!Named<TSymbolSettingsPanel>(w, "gbSettings")->isEnabled());
}

void TestPackExtract::cancelledDialogsChangeNothing()
{
    TPackFixture f;
    TMainForm &w = f.CreateWithLibrary();
    const QList<TViraSymbolPtr> rowsBefore = rowSymbols(w);
    const TViraSymbolPtr selected = w.SelectedSymbol();

    f.Dialogs.FileAnswers = {std::nullopt, std::nullopt};
    Named<QAction>(w, "miPackLib")->trigger();
    Named<QAction>(w, "miOpenLib")->trigger();

    QCOMPARE(f.Dialogs.ShownDialogs.size(), 2);
    QCOMPARE(f.Dialogs.ShownDialogs[0].Name, u"sSaveDialog2"_s);
    QCOMPARE(f.Dialogs.ShownDialogs[1].Name, u"sOpenDialog2"_s);
    QCOMPARE(f.Dialogs.ShownDialogs[1].Filter, QString());
    QCOMPARE(rowSymbols(w), rowsBefore);
    QCOMPARE(w.SelectedSymbol(), selected);
    QVERIFY(f.Dialogs.Progresses.isEmpty());
    QVERIFY(f.Dialogs.Questions.isEmpty());
    QVERIFY(f.Dialogs.Errors.isEmpty());
    QVERIFY(f.Dialogs.ErrorCancels.isEmpty());
    QVERIFY(!QGuiApplication::overrideCursor());
    QCOMPARE(snapshot(f.Scratch).keys(), QStringList());
}

void TestPackExtract::examplePacksAndExtractsAsTheWindowShowsIt()
{
    // The example project names its images without folders, beside the project file.
    TPackFixture f;
    TMainForm &w = f.CreateWithLibrary();
    f.Dialogs.FileAnswers = {QStringLiteral(GLYPHBOOK_EXAMPLES "/Examples/SmallExampleLib.js"),
                             f.Path(u"example.tar.gz"_s), f.Path(u"example.tar.gz"_s)};
    Named<QAction>(w, "miOpenProject")->trigger();
    const int symbols = int(w.Document().Symbols().size());
    QVERIFY(symbols > 0);
    Named<QAction>(w, "miPackLib")->trigger();
    QVERIFY2(f.Dialogs.ErrorCancels.isEmpty(), qPrintable(f.Dialogs.ErrorCancels.join(u'\n')));
    Named<QAction>(w, "miOpenLib")->trigger();
    QVERIFY2(f.Dialogs.Errors.isEmpty(), qPrintable(f.Dialogs.Errors.join(u'\n')));
    QCOMPARE(w.sSaveDialog1.FileName, u"example.js"_s);

    TViraGlyphbook extracted;
    QVERIFY(extracted.LoadFromFile(f.Path(u"example.js"_s)));
    QCOMPARE(extracted.Symbols.size(), symbols);
    for (const TViraSymbolPtr &symbol : std::as_const(extracted.Symbols)) {
        QVERIFY2(QFileInfo(symbol->Image).isFile(), qPrintable(symbol->Image));
        QCOMPARE(QFileInfo(symbol->Image).absolutePath(), f.Path(u"example"_s));
        for (const TStringPairs &state : std::as_const(symbol->StateImages))
            QVERIFY2(QFileInfo(state.Value).isFile(), qPrintable(state.Value));
    }
}

void TestPackExtract::extractPresetsTheDialogsAndCarriesTheSelectionOver()
{
    TPackFixture f;
    TMainForm &w = f.CreateWithLibrary();
    QCOMPARE(ColumnCaptions(w), Strings({"Identifier", "en", "sv"}));
    const QByteArray documentBefore = SavedBytes(w);
    w.setWindowTitle(u"caption"_s);
    TViraGlyphbook packed;
    auto symbol = MakeSymbol(u"packed"_s, {{u"de"_s, u"Gepackt"_s}});
    symbol->Image = f.WritePicture(u"pics/packed.png"_s, QSize(8, 8));
    packed.Symbols.append(symbol);
    const QString archive = f.Path(u"libs/road.tar.gz"_s);
    QDir().mkpath(f.Path(u"libs"_s));
    f.PackWithCore(packed, archive);

    f.Dialogs.FileAnswers = {archive};
    Named<QAction>(w, "miOpenLib")->trigger();

    QVERIFY2(f.Dialogs.Errors.isEmpty(), qPrintable(f.Dialogs.Errors.join(u'\n')));
    QVERIFY(f.Dialogs.Questions.isEmpty());
    QVERIFY(f.Dialogs.QuestionOks.isEmpty());
    QVERIFY(!QGuiApplication::overrideCursor());
    verifyProgressShown(f.Dialogs, u"Extracting the symbol library..."_s);
    QCOMPARE(snapshot(f.Path(u"libs"_s)).keys(),
             Strings({"road.js", "road.tar.gz", "road/glyphbook.js", "road/packed.png"}));
    QCOMPARE(snapshot(f.Scratch).keys(), QStringList());
    TViraGlyphbook project;
    QVERIFY(project.LoadFromFile(f.Path(u"libs/road.js"_s)));
    QCOMPARE(project.Symbols[0]->Image, f.Path(u"libs/road/packed.png"_s));

    QCOMPARE(w.sSaveDialog1.FileName, u"road.js"_s);
    QCOMPARE(w.sSaveDialog2.FileName, archive);
    QCOMPARE(w.windowTitle(), u"caption"_s);
    // The library being edited is what it was, and its languages are shown.
    QCOMPARE(SavedBytes(w), documentBefore);
    QCOMPARE(ColumnCaptions(w), Strings({"Identifier", "en", "sv", "fr"}));
    QCOMPARE(RowTexts(w),
             Strings({"alpha|alpha-en||alpha-fr", "mid|mid-en||mid-fr", "zeta|zeta-en||zeta-fr"}));
    verifySelectionCarriedOver(w, 1, u"alpha"_s);
    QCOMPARE(Named<TSymbolSettingsPanel>(w, "gbSettings")->NameEdits[2]->text(), u"alpha-fr"_s);
}

void TestPackExtract::extractAgainAsks()
{
    TPackFixture f;
    TMainForm &w = f.CreateWithLibrary();
    const QString archive = f.Path(u"road.tar.gz"_s);
    f.PackWithCore(w.Document().Library(), archive);
    f.Dialogs.FileAnswers = {archive, archive};
    f.Dialogs.ConfirmAnswers = {false};
    Named<QAction>(w, "miOpenLib")->trigger();
    const QByteArray project = readFile(f.Path(u"road.js"_s));
    const QFileInfo before(f.Path(u"road.js"_s));
    w.sSaveDialog1.FileName.clear();

    Named<QAction>(w, "miOpenLib")->trigger();

    QCOMPARE(f.Dialogs.Questions, Strings({"Overwrite existing?"}));
    QCOMPARE(f.Dialogs.QuestionDetails,
             QStringList{u"Yes replaces:\n%1\n%2"_s.arg(f.Path(u"road"_s), f.Path(u"road.js"_s))});
    QVERIFY(f.Dialogs.Errors.isEmpty());
    QCOMPARE(readFile(f.Path(u"road.js"_s)), project);
    QCOMPARE(QFileInfo(f.Path(u"road.js"_s)).lastModified(), before.lastModified());
    // Declining is no failure: the dialogs are preset all the same.
    QCOMPARE(w.sSaveDialog1.FileName, u"road.js"_s);
    verifySelectionCarriedOver(w, 1, u"alpha"_s);
}

void TestPackExtract::extractBesideItsProjectOffersAnotherFolder_data()
{
    QTest::addColumn<bool>("choose"); // the user takes up the offer of another folder
    QTest::newRow("another folder") << true;
    QTest::newRow("declined") << false;
}

void TestPackExtract::extractBesideItsProjectOffersAnotherFolder()
{
    QFETCH(bool, choose);
    TPackFixture f;
    TMainForm &w = f.CreateWithLibrary();
    // The project road.js and the archive packed from it beside it, as Pack proposes.
    QVERIFY(TViraGlyphbook(w.Document().Library()).SaveToFile(f.Path(u"road.js"_s)));
    const QByteArray project = readFile(f.Path(u"road.js"_s));
    const QString archive = f.Path(u"road.tar.gz"_s);
    f.PackWithCore(w.Document().Library(), archive);
    const QString elsewhere = f.Path(u"elsewhere"_s);
    QDir().mkpath(elsewhere);
    f.Dialogs.FileAnswers = {archive};
    f.Dialogs.ConfirmAnswers = {choose};
    f.Dialogs.FolderAnswers = {elsewhere};

    Named<QAction>(w, "miOpenLib")->trigger();

    QCOMPARE(f.Dialogs.Questions.size(), 1);
    QVERIFY2(f.Dialogs.Questions[0].startsWith(u"The project \"%1\" is not the result of an "
                                               u"earlier extraction"_s.arg(f.Path(u"road.js"_s))),
             qPrintable(f.Dialogs.Questions[0]));
    QVERIFY(f.Dialogs.Questions[0].endsWith(u"Choose another folder to extract into?"_s));
    QVERIFY(f.Dialogs.Errors.isEmpty());
    QVERIFY(!QGuiApplication::overrideCursor());
    QCOMPARE(readFile(f.Path(u"road.js"_s)), project);
    QVERIFY(!QFileInfo::exists(f.Path(u"road"_s)));
    QCOMPARE(f.Dialogs.FolderAnswers.isEmpty(), choose);
    if (choose) {
        TViraGlyphbook extracted;
        QVERIFY(extracted.LoadFromFile(elsewhere + u"/road.js"_s));
        QCOMPARE(extracted.Symbols[0]->Image, elsewhere + u"/road/zeta.png"_s);
    } else {
        QCOMPARE(snapshot(elsewhere).keys(), QStringList());
    }
    verifySelectionCarriedOver(w, 1, u"alpha"_s);
}

void TestPackExtract::extractWithoutLibraryDocument()
{
    TPackFixture f;
    TMainForm &w = f.CreateWithLibrary();
    const QString archive = f.Path(u"road.tar.gz"_s);
    writeArchive(archive, {{"readme.txt", "no library here"}});

    f.Dialogs.FileAnswers = {archive};
    Named<QAction>(w, "miOpenLib")->trigger();

    QCOMPARE(f.Dialogs.QuestionOks,
             Strings({"Glyphbook.js not found. Could not open symbol library."}));
    QVERIFY(f.Dialogs.Errors.isEmpty());
    QVERIFY(f.Dialogs.Progresses.last().Closed);
    QVERIFY(!QGuiApplication::overrideCursor());
    QCOMPARE(readFile(f.Path(u"road/readme.txt"_s)), QByteArray("no library here"));
    QVERIFY(!QFileInfo::exists(f.Path(u"road.js"_s)));
    QCOMPARE(w.sSaveDialog1.FileName, u"road.js"_s);
    QCOMPARE(w.sSaveDialog2.FileName, archive);
    verifySelectionCarriedOver(w, 1, u"alpha"_s);
}

void TestPackExtract::extractNamesTheFileInTheWay_data()
{
    QTest::addColumn<QString>("folder"); // where the extraction goes, relative; empty: beside
    QTest::addColumn<bool>("link");      // a link to nothing is in the way, not a file
    QTest::newRow("beside the archive") << QString() << false;
    QTest::newRow("in the folder chosen instead") << u"elsewhere"_s << false;
    QTest::newRow("a link to nothing") << QString() << true;
}

void TestPackExtract::extractNamesTheFileInTheWay()
{
    QFETCH(QString, folder);
    QFETCH(bool, link);
    TPackFixture f;
    TMainForm &w = f.CreateWithLibrary();
    const QString archive = f.Path(u"road.tar.gz"_s);
    f.PackWithCore(w.Document().Library(), archive);
    const QString inTheWay = f.Path(folder.isEmpty() ? u"road"_s : folder + u"/road"_s);
    QDir().mkpath(QFileInfo(inTheWay).path());
    if (link)
        QVERIFY(QFile::link(f.Path(u"nowhere"_s), inTheWay));
    else
        writeFile(inTheWay, "mine");
    f.Dialogs.FileAnswers = {archive};
    if (!folder.isEmpty()) {
        // The project the archive was packed from stands beside it.
        QVERIFY(TViraGlyphbook(w.Document().Library()).SaveToFile(f.Path(u"road.js"_s)));
        f.Dialogs.ConfirmAnswers = {true};
        f.Dialogs.FolderAnswers = {f.Path(folder)};
    }

    Named<QAction>(w, "miOpenLib")->trigger();

    // The archive's name is fine; the message sends the user to the file that has to go.
    QCOMPARE(f.Dialogs.Errors,
             QStringList{u"Cannot extract \"%1\": the file \"%2\" stands where its library "
                         u"folder would be. Move or rename that file, or extract into another "
                         u"folder."_s.arg(archive, inTheWay)});
    if (link)
        QCOMPARE(QFileInfo(inTheWay).symLinkTarget(), f.Path(u"nowhere"_s));
    else
        QCOMPARE(readFile(inTheWay), QByteArray("mine"));
    QVERIFY(!QFileInfo::exists(QFileInfo(inTheWay).path() + u"/road.js"_s));
    verifySelectionCarriedOver(w, 1, u"alpha"_s);
}

void TestPackExtract::failedExtractKeepsThePreviousFiles_data()
{
    QTest::addColumn<bool>("cut");
    QTest::newRow("not gzip") << false;
    QTest::newRow("cut short") << true;
}

void TestPackExtract::failedExtractKeepsThePreviousFiles()
{
    QFETCH(bool, cut);
    TPackFixture f;
    TMainForm &w = f.CreateWithLibrary();
    const QString archive = f.Path(u"libs/road.tar.gz"_s);
    QDir().mkpath(f.Path(u"libs"_s));
    f.PackWithCore(w.Document().Library(), archive);
    f.Dialogs.FileAnswers = {archive};
    Named<QAction>(w, "miOpenLib")->trigger();
    QVERIFY(f.Dialogs.Errors.isEmpty());
    const QStringList files = snapshot(f.Path(u"libs"_s)).keys();
    const QByteArray project = readFile(f.Path(u"libs/road.js"_s));
    const QByteArray image = readFile(f.Path(u"libs/road/on.png"_s));
    QVERIFY(!image.isEmpty());

    const QByteArray packed = readFile(archive);
    QFile damaged(archive);
    QVERIFY(damaged.open(QIODevice::WriteOnly));
    damaged.write(cut ? packed.left(packed.size() / 2) : QByteArray("not an archive at all"));
    damaged.close();
    w.sSaveDialog1.FileName = u"kept.js"_s;
    w.sSaveDialog2.FileName = u"kept.tar.gz"_s;
    const QStringList rowsBefore = RowTexts(w);
    f.Dialogs.FileAnswers = {archive};
    f.Dialogs.ConfirmAnswers = {true};

    Named<QAction>(w, "miOpenLib")->trigger();

    QCOMPARE(f.Dialogs.Errors.size(), 1);
    QVERIFY(!QGuiApplication::overrideCursor());
    QVERIFY(f.Dialogs.Progresses.last().Closed);
    QCOMPARE(snapshot(f.Path(u"libs"_s)).keys(), files);
    QCOMPARE(readFile(f.Path(u"libs/road.js"_s)), project);
    QCOMPARE(readFile(f.Path(u"libs/road/on.png"_s)), image);
    QCOMPARE(snapshot(f.Scratch).keys(), QStringList());
    QCOMPARE(w.sSaveDialog1.FileName, u"kept.js"_s);
    QCOMPARE(w.sSaveDialog2.FileName, u"kept.tar.gz"_s);
    QCOMPARE(RowTexts(w), rowsBefore);
    verifySelectionCarriedOver(w, 1, u"alpha"_s);
}

void TestPackExtract::progressDialogAppearsAfterASecond()
{
    QWidget parent;
    TQtGlyphbookDialogs dialogs;
    dialogs.Parent = &parent;
    std::unique_ptr<TProgressFeedback> progress = dialogs.StartProgress(u"Packing"_s);
    const QPointer<QProgressDialog> dialog = parent.findChild<QProgressDialog *>();
    QVERIFY(dialog);
    QCOMPARE(dialog->labelText(), u"Packing"_s);
    QCOMPARE(dialog->minimumDuration(), 1000);

    // Work that is nearly done shows nothing.
    progress->SetProgress(900, 1000);
    progress->SetProgress(950, 1000);
    QVERIFY(!dialog->isVisible());
    // Work that goes on past a second does, and can't be cancelled halfway.
    QTest::qWait(1100);
    progress->SetProgress(960, 1000);
    QVERIFY(dialog->isVisible());
    QCOMPARE(dialog->value(), 960);
    QVERIFY(!dialog->findChild<QPushButton *>());
    // It stays up to the end of the work, and goes with it.
    progress->SetProgress(1000, 1000);
    QVERIFY(dialog->isVisible());
    progress.reset();
    QVERIFY(!dialog);
}

QTEST_MAIN(TestPackExtract)
#include "tst_pack_extract.moc"
