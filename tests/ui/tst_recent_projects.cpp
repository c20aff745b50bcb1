// File -> Open Recent: the last ten projects opened, saved or extracted, newest first, kept per
// user; one whose file is gone is taken off the list. File dialogs start in the folder last used.
#include "WindowFixture.h"

#include "packing/GlyphbookPack.h"
#include "ui/QtGlyphbookDialogs.h"

#include <QApplication>
#include <QFileDialog>
#include <QTimer>

class TestRecentProjects : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void listsTheLastTenNewestFirst();
    void choosingOneOpensIt();
    void goneFileIsSaidAndTakenOff();
    void clearListEmptiesIt();
    void dialogsStartInTheFolderLastUsed();

private:
    std::unique_ptr<TWindowFixture> f;
    TMainForm *w = nullptr;

    /// Writes a one-symbol project Name and opens it through Open Project.
    void open(const QString &Name);
    /// The menu's items as it shows them: files, then Clear List.
    QList<QAction *> recentItems() const;
    QStringList recentTexts() const;
};

void TestRecentProjects::init()
{
    f = std::make_unique<TWindowFixture>();
    w = &f->CreateActive();
}

void TestRecentProjects::cleanup()
{
    f.reset();
}

void TestRecentProjects::open(const QString &Name)
{
    f->WriteFile(Name, "{\"GLYPHBOOK\": [{\"Identifier\": \"" + Name.toUtf8() +
                           "\", \"Image\": \"x.png\", \"ImageX\": 0, \"ImageY\": 0, "
                           "\"Symbol\": \"true\", \"TextX\": 0, \"TextY\": 0, \"TextAlign\": "
                           "\"Right\", \"StateImages\": [], \"NAME\": {}}]}");
    f->Dialogs.FileAnswers = {f->Path(Name)};
    Named<QAction>(*w, "miOpenProject")->trigger();
}

QList<QAction *> TestRecentProjects::recentItems() const
{
    QMenu *menu = Named<QMenu>(*w, "mmOpenRecent");
    menu->popup(w->mapToGlobal(QPoint(10, 10)));
    const QList<QAction *> items = menu->actions();
    menu->hide();
    QList<QAction *> result;
    for (QAction *item : items)
        if (!item->isSeparator())
            result.append(item);
    return result;
}

QStringList TestRecentProjects::recentTexts() const
{
    QStringList texts;
    for (QAction *item : recentItems())
        texts.append(item->text());
    return texts;
}

void TestRecentProjects::listsTheLastTenNewestFirst()
{
    QCOMPARE(recentTexts(), Strings({"Clear List"}));
    QVERIFY(!recentItems().constLast()->isEnabled());
    for (int k = 0; k < 12; ++k)
        open(u"p%1.js"_s.arg(k));
    // Saved under another name, that one is the newest.
    f->Dialogs.FileAnswers = {f->Path(u"saved.js"_s)};
    pressShortcut(*w, Qt::CTRL | Qt::Key_S);
    // Opened again, an entry moves up rather than appearing twice.
    open(u"p5.js"_s);

    QStringList expected = {f->Path(u"p5.js"_s), f->Path(u"saved.js"_s)};
    for (int k = 11; expected.size() < 10; --k)
        if (k != 5)
            expected.append(f->Path(u"p%1.js"_s.arg(k)));
    expected.append(u"Clear List"_s);
    QCOMPARE(recentTexts(), expected);

    // Kept per user: a new window lists the same.
    f->Window.reset();
    w = &f->CreateActive();
    QCOMPARE(recentTexts(), expected);
}

void TestRecentProjects::choosingOneOpensIt()
{
    open(u"a.js"_s);
    open(u"b.js"_s);
    recentItems().value(1)->trigger();
    QCOMPARE(w->Document().Symbols().value(0)->Identifier, u"a.js"_s);
    QCOMPARE(w->windowTitle(), TMainForm::BaseCaption() + u"   "_s + f->Path(u"a.js"_s));
    QCOMPARE(recentTexts().value(0), f->Path(u"a.js"_s));
    QCOMPARE(f->Dialogs.ShownDialogs.size(), 2);
}

void TestRecentProjects::goneFileIsSaidAndTakenOff()
{
    open(u"a.js"_s);
    open(u"b.js"_s);
    QVERIFY(QFile::remove(f->Path(u"a.js"_s)));
    recentItems().value(1)->trigger();
    QCOMPARE(f->Dialogs.Errors.size(), 1);
    QVERIFY2(f->Dialogs.Errors[0].contains(f->Path(u"a.js"_s)), qPrintable(f->Dialogs.Errors[0]));
    QCOMPARE(recentTexts(), QStringList({f->Path(u"b.js"_s), u"Clear List"_s}));
    QCOMPARE(w->Document().Symbols().value(0)->Identifier, u"b.js"_s);
}

void TestRecentProjects::clearListEmptiesIt()
{
    open(u"a.js"_s);
    recentItems().constLast()->trigger();
    QCOMPARE(recentTexts(), Strings({"Clear List"}));
}

namespace
{
/// Triggers the menu item Item of a window with the real dialogs and works the file dialog it
/// shows as a user would: Choose is chosen, or the dialog is cancelled when it is empty.
/// Returns the folder the dialog showed when it came up; any other dialog fails the test.
QString folderShownBy(TMainForm &Window, const char *Item, const QString &Choose)
{
    QString shown;
    QStringList others;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        QWidget *modal = QApplication::activeModalWidget();
        auto *dialog = qobject_cast<QFileDialog *>(modal);
        if (dialog && shown.isEmpty()) {
            shown = dialog->directory().absolutePath();
            if (Choose.isEmpty()) {
                dialog->reject();
                return;
            }
            // Typed, as the list of the folder is still being read.
            auto *name = dialog->findChild<QLineEdit *>(u"fileNameEdit"_s);
            QVERIFY(name);
            name->setText(Choose);
            QTest::keyClick(name, Qt::Key_Return);
        } else if (auto *other = qobject_cast<QDialog *>(modal)) {
            others.append(QString::fromLatin1(other->metaObject()->className()));
            other->reject();
        }
    });
    poll.start(20);
    Named<QAction>(Window, Item)->trigger();
    if (!others.isEmpty())
        qWarning("unexpected dialogs: %s", qPrintable(others.join(u", "_s)));
    return others.isEmpty() ? shown : QString();
}
} // namespace

void TestRecentProjects::dialogsStartInTheFolderLastUsed()
{
    // Each dialog is used in a folder of its own, and a start later proposes that folder again,
    // though it knows no file there: not the working folder, nor the one the last dialog used.
    const QList<std::pair<const char *, QString>> uses = {
        {"miSaveProject", u"saved/new.js"_s},
        {"miOpenProject", u"projects/lib.js"_s},
        {"miNewSymbol", u"pictures/pump.png"_s},
        {"miOpenLib", u"archives/road.tar.gz"_s},
    };
    for (const auto &[item, file] : uses)
        QDir().mkpath(QFileInfo(f->Path(file)).path());
    f->WriteFile(u"projects/lib.js"_s, "{\"GLYPHBOOK\": []}");
    f->WritePicture(u"pictures/pump.png"_s, QSize(4, 4));
    QVERIFY(PackLibrary(TViraGlyphbook(), f->Path(u"archives/road.tar.gz"_s)));
    f->Window.reset();
    TQtGlyphbookDialogs dialogs;
    {
        TMainForm first(dialogs, f->Folder.path());
        dialogs.Parent = &first;
        for (const auto &[item, file] : uses)
            QVERIFY2(!folderShownBy(first, item, f->Path(file)).isEmpty(), item);
        QVERIFY(QFileInfo::exists(f->Path(u"saved/new.js"_s)));
        QCOMPARE(first.Document().Symbols().size(), 1);
    }
    TMainForm next(dialogs, f->Folder.path());
    dialogs.Parent = &next;
    for (const auto &[item, file] : uses)
        QCOMPARE(folderShownBy(next, item, QString()), QFileInfo(f->Path(file)).path());
}

QTEST_MAIN(TestRecentProjects)
#include "tst_recent_projects.moc"
