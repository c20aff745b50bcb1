// The window in the system's language: Swedish and German where the first UI language is one
// of them, with Qt's own dialogs alike; English, and any language without a translation, show
// the window's own texts. What goes into files is never translated.
#include "WindowFixture.h"

#include "ui/Translations.h"

#include <QAbstractItemView>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QTranslator>

class TestTranslations : public QObject
{
    Q_OBJECT

private slots:
    void windowSpeaksTheFirstUiLanguage_data();
    void windowSpeaksTheFirstUiLanguage();
    void documentsStayUntranslated();
};

namespace
{
/// Installs the translations for Language while it lives.
class TLanguage
{
public:
    explicit TLanguage(const QString &Language)
        : FInstalled(InstallTranslations(*qApp, QLocale(Language)))
    {
    }
    ~TLanguage()
    {
        for (QTranslator *translator : std::as_const(FInstalled)) {
            QCoreApplication::removeTranslator(translator);
            delete translator;
        }
    }
    TLanguage(const TLanguage &) = delete;
    TLanguage &operator=(const TLanguage &) = delete;

private:
    QList<QTranslator *> FInstalled;
};
} // namespace

void TestTranslations::windowSpeaksTheFirstUiLanguage_data()
{
    QTest::addColumn<QString>("language");
    QTest::addColumn<QStringList>("texts");
    // Qt's own texts where the system has them (Debian has no Swedish ones for the buttons).
    QTest::addColumn<QString>("cancel");
    // The File menu, the identifier's label, the settings' title, the step of typing an
    // identifier as the Undo item names it, a finding of Check Library, the error of opening a
    // file that is no project (three texts of the core in one), and Qt's own Cancel button.
    QTest::newRow("German") << u"de_DE"_s
                            << Strings({"Datei", "Bezeichner", "Symboleinstellungen",
                                        "Rückgängig Bezeichner bearbeiten",
                                        "kein Name in der Sprache \"sv\"",
                                        "Die Datei „@“ ist kein Bibliotheksdokument: der Text "
                                        "endet mitten in einem Wert in Zeile 2, Spalte 1."})
                            << u"Abbrechen"_s;
    QTest::newRow("Swedish") << u"sv_SE"_s
                             << Strings({"Arkiv", "Identifierare", "Symbolinställningar",
                                         "Ångra Redigera identifierare",
                                         "inget namn på språket \"sv\"",
                                         "Filen \"@\" är inget biblioteksdokument: texten tar "
                                         "slut mitt i ett värde på rad 2, kolumn 1."})
                             << QString();
    const QStringList english =
        Strings({"File", "Identifier", "Symbol Settings", "Undo Edit Identifier",
                 "no name in the language \"sv\"",
                 "The file \"@\" is not a library document: the text ends inside a value at "
                 "line 2, column 1."});
    QTest::newRow("English") << u"en_US"_s << english << u"Cancel"_s;
    QTest::newRow("no translation") << u"fr_FR"_s << english << u"Cancel"_s;
}

void TestTranslations::windowSpeaksTheFirstUiLanguage()
{
    QFETCH(QString, language);
    QFETCH(QStringList, texts);
    QFETCH(QString, cancel);
    const TLanguage installed(language);
    TWindowFixture f;
    TMainForm &w = f.CreateActive();
    auto symbol = MakeSymbol(u"pump"_s, {{u"en"_s, u"Pump"_s}});
    AddSymbols(w, {symbol});
    clickRow(w, u"pump"_s);
    retype(Named<QLineEdit>(w, "eIdentifier"), u"valve"_s);
    Named<QAction>(w, "miCheckLibrary")->trigger();
    auto *check = w.findChild<TCheckLibraryWindow *>();
    QVERIFY(check);
    const QAbstractItemModel *findings = check->findChild<QAbstractItemView *>()->model();
    QStringList shown{Named<QMenu>(w, "mmFileMenu")->title(), Named<QLabel>(w, "sLabel1")->text(),
                      Named<QGroupBox>(w, "gbSettings")->title(),
                      Named<QAction>(w, "miUndo")->text(), findings->index(0, 1).data().toString()};
    const QString notes = f.Path(u"notes.js"_s);
    f.WriteFile(u"notes.js"_s, "[1,");
    f.Dialogs.FileAnswers = {notes};
    Named<QAction>(w, "miOpenProject")->trigger();
    shown.append(f.Dialogs.Errors.value(0).replace(notes, u"@"_s));
    QCOMPARE(shown, texts);
    if (!cancel.isEmpty()) {
        QDialogButtonBox buttons(QDialogButtonBox::Cancel);
        QCOMPARE(buttons.button(QDialogButtonBox::Cancel)->text(), cancel);
    }
}

void TestTranslations::documentsStayUntranslated()
{
    const auto saved = [](const QString &Language) {
        const TLanguage installed(Language);
        TWindowFixture f;
        TMainForm &w = f.CreateActive();
        f.Dialogs.FileAnswers = {f.Path(u"pump.png"_s)};
        f.WritePicture(u"pump.png"_s, QSize(4, 4));
        Named<QAction>(w, "miNewSymbol")->trigger();
        QString document = QString::fromUtf8(SavedBytes(w));
        // The picture's folder differs from window to window.
        return document.replace(f.Path(QString()), u"FOLDER/"_s);
    };
    QCOMPARE(saved(u"de_DE"_s), saved(u"en_US"_s));
}

QTEST_MAIN(TestTranslations)
#include "tst_translations.moc"
