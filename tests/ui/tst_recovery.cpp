// Unsaved changes survive Exit, a kill and New Project: the recovery copy, the offer at the next
// start, Restore Discarded Changes and the modified mark.
#include "WindowFixture.h"

#include "ui/RecoveryCopy.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QLockFile>
#include <QProcess>
#include <QUndoStack>

#include <csignal>

class TestRecovery : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void modifiedMarkFollowsTheSavedState();
    void copyFollowsUnsavedChangesAndSaveRemovesIt();
    void failedSaveKeepsTheCopy();
    void restoreAfterExit();
    void savedWorkIsNotOffered();
    void discardDeletesTheCopy();
    void severalCopiesAreOfferedNewestFirst();
    void copyThatDoesNotLoadIsNamedAndKept();
    void twoWindowsKeepTheirCopiesApart();
    void restoreDiscardedChanges_data();
    void restoreDiscardedChanges();
    void restoreAfterTheEditorWasKilled();

private:
    std::unique_ptr<TWindowFixture> f;

    /// Opens lib.js (symbols "a" and "b") through the File menu and retypes "a" as Typed.
    void openAndEdit(TMainForm &Window, const QString &Typed);
    /// The recovery copies in the fixture's recovery folder.
    QStringList copies() const;
    /// Ends the fixture's window as Exit does and starts a new one, shown.
    TMainForm &restart();
};

namespace
{
/// A library document with a symbol per identifier and English name.
QByteArray symbols(std::initializer_list<std::pair<const char *, const char *>> Symbols)
{
    QStringList objects;
    for (const auto &[identifier, name] : Symbols)
        objects.append(QStringLiteral("{\"Identifier\": \"%1\", \"Image\": \"%1.png\", "
                                      "\"ImageX\": 0, \"ImageY\": 0, \"Symbol\": \"true\", "
                                      "\"TextX\": 0, \"TextY\": 0, \"TextAlign\": \"Right\", "
                                      "\"StateImages\": [], \"NAME\": {\"en\": \"%2\"}}")
                           .arg(QString::fromUtf8(identifier), QString::fromUtf8(name)));
    return "{\"GLYPHBOOK\": [" + objects.join(u',').toUtf8() + "]}";
}

QByteArray twoSymbols()
{
    return symbols({{"a", "A"}, {"b", ""}});
}

QStringList identifiers(const TMainForm &Window)
{
    QStringList result;
    for (const TViraSymbolPtr &symbol : Window.Document().Symbols())
        result.append(symbol->Identifier);
    return result;
}

QString folderOf(const TMainForm &Window)
{
    return const_cast<TMainForm &>(Window).Recovery().Folder();
}
} // namespace

void TestRecovery::initTestCase()
{
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
}

void TestRecovery::init()
{
    f = std::make_unique<TWindowFixture>();
    f->WriteFile(u"lib.js"_s, twoSymbols());
}

void TestRecovery::cleanup()
{
    f.reset();
}

void TestRecovery::openAndEdit(TMainForm &Window, const QString &Typed)
{
    f->Dialogs.FileAnswers.append(f->Path(u"lib.js"_s));
    Named<QAction>(Window, "miOpenProject")->trigger();
    clickRow(Window, u"a"_s);
    retype(Named<QLineEdit>(Window, "eIdentifier"), Typed);
    QVERIFY(!Window.Document().IsSaved());
}

QStringList TestRecovery::copies() const
{
    return QDir(f->Window->Recovery().Folder()).entryList({u"*.js"_s}, QDir::Files, QDir::Name);
}

TMainForm &TestRecovery::restart()
{
    Named<QAction>(*f->Window, "E1")->trigger();
    f->Window.reset();
    return f->CreateActive();
}

void TestRecovery::modifiedMarkFollowsTheSavedState()
{
    TMainForm &w = f->CreateActive();
    const QString caption = u"Glyphbook Creator 1.03   "_s + f->Path(u"lib.js"_s);
    openAndEdit(w, u"pump"_s);
    QVERIFY(w.isWindowModified());
    QCOMPARE(w.windowTitle(), caption + u"[*]"_s);

    pressShortcut(w, Qt::CTRL | Qt::Key_Z);
    QCOMPARE(identifiers(w), Strings({"a", "b"}));
    QVERIFY(!w.isWindowModified());
    QCOMPARE(w.windowTitle(), caption);

    pressShortcut(w, Qt::CTRL | Qt::Key_Y);
    QVERIFY(w.isWindowModified());
    f->Dialogs.FileAnswers = {QString()};
    pressShortcut(w, Qt::CTRL | Qt::Key_S);
    QVERIFY(!w.isWindowModified());
    QCOMPARE(w.windowTitle(), caption);
}

void TestRecovery::copyFollowsUnsavedChangesAndSaveRemovesIt()
{
    TMainForm &w = f->CreateActive();
    openAndEdit(w, u"pump"_s);
    const QString copy = w.Recovery().DocumentPath();
    QVERIFY(!QFileInfo::exists(copy));
    QTRY_VERIFY_WITH_TIMEOUT(QFileInfo::exists(copy), TRecoveryCopy::WriteDelay + 2000);
    w.Recovery().Flush();
    QVERIFY(readFile(copy).contains("\"pump\""));
    // The copy keeps the library as it is: the empty name is not filled as a save fills it.
    TViraGlyphbook kept;
    kept.LoadFromFile(copy);
    QCOMPARE(kept.Symbols.value(1)->Names.value(0).Value, QString());
    const QJsonObject description =
        QJsonDocument::fromJson(readFile(QFileInfo(copy).path() + u'/' +
                                         QFileInfo(copy).completeBaseName() + u".json"_s))
            .object();
    QCOMPARE(description.value(u"project"_s).toString(), f->Path(u"lib.js"_s));
    QCOMPARE(description.value(u"owner"_s).toObject().value(u"pid"_s).toInteger(),
             QCoreApplication::applicationPid());

    // Nothing is written while nothing changes.
    const QDateTime written = QFileInfo(copy).lastModified();
    QTest::qWait(TRecoveryCopy::WriteDelay + 300);
    QCOMPARE(QFileInfo(copy).lastModified(), written);

    // Undone back to the saved state, the copy goes; a save removes it too.
    pressShortcut(w, Qt::CTRL | Qt::Key_Z);
    QVERIFY(!QFileInfo::exists(copy));
    pressShortcut(w, Qt::CTRL | Qt::Key_Y);
    w.Recovery().Flush();
    QVERIFY(QFileInfo::exists(copy));
    f->Dialogs.FileAnswers = {QString()};
    pressShortcut(w, Qt::CTRL | Qt::Key_S);
    QVERIFY(!QFileInfo::exists(copy));
    QCOMPARE(copies(), QStringList());
}

void TestRecovery::failedSaveKeepsTheCopy()
{
    TMainForm &w = f->CreateActive();
    openAndEdit(w, u"pump"_s);
    w.Recovery().Flush();
    // A folder where the file should be: the save fails.
    QDir().mkpath(f->Path(u"in the way.js"_s));
    f->Dialogs.FileAnswers = {f->Path(u"in the way.js"_s)};
    f->Dialogs.ConfirmAnswers = {true};
    pressShortcut(w, Qt::CTRL | Qt::Key_S);
    QCOMPARE(f->Dialogs.Errors.size(), 1);
    QVERIFY(!w.Document().IsSaved());
    QVERIFY(QFileInfo::exists(w.Recovery().DocumentPath()));
}

void TestRecovery::restoreAfterExit()
{
    openAndEdit(f->CreateActive(), u"pump"_s);
    // Exit right after the change: the copy is written on the way out.
    f->Dialogs.RestoreAnswers = {TGlyphbookDialogs::raRestore};
    TMainForm &w = restart();
    QTRY_COMPARE(f->Dialogs.RestoreQuestions.size(), 1);
    QVERIFY2(f->Dialogs.RestoreQuestions[0].startsWith(u"Changes to \""_s + f->Path(u"lib.js"_s) +
                                                       u"\" were kept at "_s),
             qPrintable(f->Dialogs.RestoreQuestions[0]));
    QCOMPARE(identifiers(w), Strings({"pump", "b"}));
    QCOMPARE(w.Document().UndoStack()->count(), 0);
    QVERIFY(!w.Document().IsSaved());
    QVERIFY(w.isWindowModified());
    QCOMPARE(w.Document().ProjectFile(), f->Path(u"lib.js"_s));
    // Restored, the changes are this window's copy until they are saved.
    QCOMPARE(copies(), QStringList(QFileInfo(w.Recovery().DocumentPath()).fileName()));

    // Save proposes the project and replaces it without a question: it is the library's own.
    f->Dialogs.FileAnswers = {QString()};
    pressShortcut(w, Qt::CTRL | Qt::Key_S);
    QCOMPARE(f->Dialogs.ShownDialogs.last().PresetFileName, f->Path(u"lib.js"_s));
    QCOMPARE(f->Dialogs.Questions, QStringList());
    QVERIFY(readFile(f->Path(u"lib.js"_s)).contains("\"pump\""));
    QCOMPARE(copies(), QStringList());

    restart();
    QTest::qWait(50);
    QCOMPARE(f->Dialogs.RestoreQuestions.size(), 1);
}

void TestRecovery::savedWorkIsNotOffered()
{
    TMainForm &first = f->CreateActive();
    openAndEdit(first, u"pump"_s);
    first.Recovery().Flush();
    f->Dialogs.FileAnswers = {QString()};
    pressShortcut(first, Qt::CTRL | Qt::Key_S);
    retype(Named<QLineEdit>(first, "eIdentifier"), u"valve"_s);
    pressShortcut(first, Qt::CTRL | Qt::Key_Z);
    restart();
    QTest::qWait(50);
    QCOMPARE(f->Dialogs.RestoreQuestions, QStringList());
}

void TestRecovery::discardDeletesTheCopy()
{
    openAndEdit(f->CreateActive(), u"pump"_s);
    f->Dialogs.RestoreAnswers = {TGlyphbookDialogs::raDiscard};
    TMainForm &w = restart();
    QTRY_COMPARE(f->Dialogs.RestoreQuestions.size(), 1);
    QCOMPARE(identifiers(w), QStringList());
    QCOMPARE(copies(), QStringList());
    QCOMPARE(QDir(folderOf(w)).entryList({u"*.json"_s}, QDir::Files), QStringList());
}

void TestRecovery::severalCopiesAreOfferedNewestFirst()
{
    // Two editors that exited with changes: the older one for lib.js, the newer a new library.
    TMainForm &w = f->Create();
    const QString folder = w.Recovery().Folder();
    auto keep = [&](const QString &Name, const QString &Project, const char *Time,
                    const QByteArray &Document) {
        writeFile(folder + u'/' + Name + u".js"_s, Document);
        QJsonObject description{{u"project"_s, Project}, {u"time"_s, QLatin1String(Time)}};
        writeFile(folder + u'/' + Name + u".json"_s, QJsonDocument(description).toJson());
    };
    keep(u"older"_s, f->Path(u"lib.js"_s), "2026-01-02T10:00:00.000Z", twoSymbols());
    keep(u"newer"_s, QString(), "2026-01-03T10:00:00.000Z", symbols({{"fresh", "F"}}));
    f->Dialogs.RestoreAnswers = {TGlyphbookDialogs::raLater, TGlyphbookDialogs::raRestore};
    w.show();
    QTRY_COMPARE(f->Dialogs.RestoreQuestions.size(), 2);
    QVERIFY2(f->Dialogs.RestoreQuestions[0].startsWith(u"Changes to a new library were kept at "_s),
             qPrintable(f->Dialogs.RestoreQuestions[0]));
    QVERIFY(f->Dialogs.RestoreQuestions[1].contains(f->Path(u"lib.js"_s)));
    QCOMPARE(identifiers(w), Strings({"a", "b"}));
    // Later keeps a copy for the next start; the restored one is now this window's.
    w.Recovery().Flush();
    QStringList kept = {u"newer.js"_s, QFileInfo(w.Recovery().DocumentPath()).fileName()};
    kept.sort();
    QCOMPARE(copies(), kept);
}

void TestRecovery::copyThatDoesNotLoadIsNamedAndKept()
{
    TMainForm &w = f->Create();
    const QString broken = w.Recovery().Folder() + u"/broken.js"_s;
    writeFile(broken, "{\"GLYPHBOOK\": [");
    w.show();
    QTRY_COMPARE(f->Dialogs.Errors.size(), 1);
    QVERIFY2(f->Dialogs.Errors[0].contains(broken), qPrintable(f->Dialogs.Errors[0]));
    QCOMPARE(f->Dialogs.RestoreQuestions, QStringList());
    QVERIFY(QFileInfo::exists(broken));
}

void TestRecovery::twoWindowsKeepTheirCopiesApart()
{
    TMainForm &first = f->CreateActive();
    openAndEdit(first, u"pump"_s);
    first.Recovery().Flush();

    // A second window while the first lives: it takes nothing of the first's.
    TScriptedDialogs dialogs;
    TMainForm second(dialogs, f->Folder.path());
    second.show();
    QVERIFY(QTest::qWaitForWindowActive(&second));
    QTest::qWait(50);
    QCOMPARE(dialogs.RestoreQuestions, QStringList());
    QVERIFY(second.Recovery().DocumentPath() != first.Recovery().DocumentPath());
    dialogs.FileAnswers = {f->Path(u"lib.js"_s)};
    Named<QAction>(second, "miOpenProject")->trigger();
    clickRow(second, u"b"_s);
    retype(Named<QLineEdit>(second, "eIdentifier"), u"valve"_s);
    second.Recovery().Flush();
    QCOMPARE(copies().size(), 2);

    // The second saves: only its own copy goes.
    dialogs.FileAnswers = {f->Path(u"other.js"_s)};
    pressShortcut(second, Qt::CTRL | Qt::Key_S);
    QCOMPARE(copies(), QStringList(QFileInfo(first.Recovery().DocumentPath()).fileName()));
    QVERIFY(readFile(first.Recovery().DocumentPath()).contains("\"pump\""));
}

void TestRecovery::restoreDiscardedChanges_data()
{
    QTest::addColumn<QString>("command");
    QTest::newRow("New Project") << u"miNewProject"_s;
    QTest::newRow("Open Project") << u"miOpenProject"_s;
}

void TestRecovery::restoreDiscardedChanges()
{
    QFETCH(QString, command);
    TMainForm &w = f->CreateActive();
    QAction *restore = Named<QAction>(w, "miRestoreDiscarded");
    QVERIFY(!restore->isEnabled());
    openAndEdit(w, u"pump"_s);
    f->WriteFile(u"other.js"_s, symbols({{"c", "C"}}));
    f->Dialogs.FileAnswers = {f->Path(u"other.js"_s)};
    Named<QAction>(w, qPrintable(command))->trigger();
    QVERIFY(w.Document().IsSaved());
    QVERIFY(restore->isEnabled());

    restore->trigger();
    QCOMPARE(identifiers(w), Strings({"pump", "b"}));
    QVERIFY(!w.Document().IsSaved());
    QCOMPARE(w.Document().UndoStack()->count(), 0);
    QVERIFY(!restore->isEnabled());
    f->Dialogs.FileAnswers = {QString()};
    pressShortcut(w, Qt::CTRL | Qt::Key_S);
    QCOMPARE(f->Dialogs.ShownDialogs.last().PresetFileName, f->Path(u"lib.js"_s));
    QVERIFY(readFile(f->Path(u"lib.js"_s)).contains("\"pump\""));

    // Discarded again, the work stays offered until the new library changes.
    clickRow(w, u"pump"_s);
    retype(Named<QLineEdit>(w, "eIdentifier"), u"gauge"_s);
    f->Dialogs.FileAnswers = {f->Path(u"other.js"_s)};
    Named<QAction>(w, qPrintable(command))->trigger();
    QVERIFY(restore->isEnabled());
    f->Dialogs.FileAnswers = {f->WritePicture(u"valve.png"_s, {4, 4})};
    pressShortcut(w, Qt::CTRL | Qt::Key_A);
    QVERIFY(!w.Document().IsSaved());
    QVERIFY(!restore->isEnabled());
    w.Recovery().Flush();
    QVERIFY(!readFile(w.Recovery().DocumentPath()).contains("\"gauge\""));
}

void TestRecovery::restoreAfterTheEditorWasKilled()
{
#ifndef GLYPHBOOK_CREATOR
    QSKIP("the editor is not built");
#else
    QTemporaryDir runtime;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(u"HOME"_s, f->Home.path());
    environment.insert(u"XDG_DATA_HOME"_s, f->Home.filePath(u"data"_s));
    environment.insert(u"XDG_CONFIG_HOME"_s, f->Home.filePath(u"config"_s));
    environment.insert(u"XDG_RUNTIME_DIR"_s, runtime.path());
    environment.insert(u"QT_QPA_PLATFORM"_s, u"offscreen"_s);
    QProcess editor;
    editor.setProcessEnvironment(environment);
    editor.start(QStringLiteral(GLYPHBOOK_CREATOR), {});
    QVERIFY(editor.waitForStarted());
    const auto stop = qScopeGuard([&] {
        editor.kill();
        editor.waitForFinished();
    });

    // The editor's folder, as the editor names itself.
    const QString name = QCoreApplication::applicationName();
    QCoreApplication::setApplicationName(u"Glyphbook Creator"_s);
    const auto rename = qScopeGuard([&] { QCoreApplication::setApplicationName(name); });
    const QString folder = TRecoveryCopy::DefaultFolder();
    QVERIFY(folder.startsWith(f->Home.path()));
    QStringList locks;
    QTRY_VERIFY_WITH_TIMEOUT(
        !(locks = QDir(folder).entryList({u"*.lock"_s}, QDir::Files)).isEmpty(), 10000);
    // What the editor keeps once its library has changes.
    const QString kept = folder + u'/' + QFileInfo(locks[0]).completeBaseName();
    writeFile(kept + u".js"_s, twoSymbols());
    writeFile(kept + u".json"_s,
              QJsonDocument(QJsonObject{{u"project"_s, f->Path(u"lib.js"_s)}}).toJson());

    // While the editor runs, its changes are its own.
    TMainForm &w = f->CreateActive();
    QTest::qWait(50);
    QCOMPARE(f->Dialogs.RestoreQuestions, QStringList());
    f->Window.reset();

    ::kill(pid_t(editor.processId()), SIGKILL);
    QVERIFY(editor.waitForFinished());
    f->Dialogs.RestoreAnswers = {TGlyphbookDialogs::raRestore};
    TMainForm &next = f->CreateActive();
    QTRY_COMPARE(f->Dialogs.RestoreQuestions.size(), 1);
    QVERIFY(f->Dialogs.RestoreQuestions[0].contains(f->Path(u"lib.js"_s)));
    QCOMPARE(identifiers(next), Strings({"a", "b"}));
    QVERIFY(!QFileInfo::exists(kept + u".js"_s));
    Q_UNUSED(w);
#endif
}

QTEST_MAIN(TestRecovery)
#include "tst_recovery.moc"
