// File -> Open Recent: the last ten projects opened, saved or extracted, newest first, kept per
// user; one whose file is gone is taken off the list.
#include "WindowFixture.h"

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

QTEST_MAIN(TestRecentProjects)
#include "tst_recent_projects.moc"
