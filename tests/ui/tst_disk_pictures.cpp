// Pictures follow the disk: a picture rewritten in place or replaced by a rename shows anew in
// the preview and the tiles, one that goes gets its missing mark and loses it when it comes
// back, and none of it is a change of the library.
#include "WindowFixture.h"

#include "ui/PictureFile.h"
#include "ui/PictureWatch.h"

#include <QUndoStack>

#include <cstdio>

class TestDiskPictures : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void shownPictureFollowsItsFile_data();
    void shownPictureFollowsItsFile();
    void pictureThatGoesGetsTheMarkAndLosesIt();
    void selectingASymbolWithoutPictureShowsTheMark();
    void watchesTheShownFilesAndTheFoldersOnly();
    void watchesTheFolderOfEveryFormOfPath();

private:
    std::unique_ptr<TWindowFixture> f;
    TMainForm *w = nullptr;

    /// Opens a project of symbols, each with Identifier + ".png" (written, 20 x 30) in Folder.
    void open(const QStringList &Identifiers, const QString &Folder = QString());
    QLabel *preview() const { return Named<QLabel>(*w, "SymbolImage"); }
};

namespace
{
/// Writes Path's new content in place, as a simple program saves.
void rewriteInPlace(const QString &Path, QSize Size)
{
    QImage picture(Size, QImage::Format_ARGB32);
    picture.fill(Qt::blue);
    QFile file(Path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QVERIFY(picture.save(&file, "PNG"));
}

/// Writes a new file beside Path and renames it over Path, as image editors save.
void replaceByRename(const QString &Path, QSize Size)
{
    const QString fresh = Path + u".new"_s;
    QImage picture(Size, QImage::Format_ARGB32);
    picture.fill(Qt::green);
    QVERIFY(picture.save(fresh, "PNG"));
    QCOMPARE(std::rename(qPrintable(fresh), qPrintable(Path)), 0);
}
} // namespace

void TestDiskPictures::init()
{
    f = std::make_unique<TWindowFixture>();
    w = &f->CreateActive();
}

void TestDiskPictures::cleanup()
{
    f.reset();
}

void TestDiskPictures::open(const QStringList &Identifiers, const QString &Folder)
{
    QStringList objects;
    for (const QString &identifier : Identifiers) {
        const QString image = Folder.isEmpty() ? identifier + u".png"_s
                                               : f->Path(Folder + u'/' + identifier + u".png"_s);
        f->WritePicture(Folder.isEmpty() ? identifier + u".png"_s
                                         : Folder + u'/' + identifier + u".png"_s,
                        {20, 30});
        objects.append(u"{\"Identifier\": \"%1\", \"Image\": \"%2\", \"ImageX\": 0, "
                       "\"ImageY\": 0, \"Symbol\": \"true\", \"TextX\": 0, \"TextY\": 0, "
                       "\"TextAlign\": \"Right\", \"StateImages\": [], \"NAME\": {}}"_s.arg(
                           identifier, image));
    }
    f->WriteFile(u"lib.js"_s, "{\"GLYPHBOOK\": [" + objects.join(u',').toUtf8() + "]}");
    f->Dialogs.FileAnswers = {f->Path(u"lib.js"_s)};
    Named<QAction>(*w, "miOpenProject")->trigger();
    QCOMPARE(f->Dialogs.Errors, QStringList());
}

void TestDiskPictures::shownPictureFollowsItsFile_data()
{
    QTest::addColumn<bool>("byRename");
    QTest::newRow("rewritten in place") << false;
    QTest::newRow("replaced by a rename") << true;
}

void TestDiskPictures::shownPictureFollowsItsFile()
{
    QFETCH(bool, byRename);
    open(Strings({"pump", "valve"}));
    clickRow(*w, u"pump"_s);
    QCOMPARE(preview()->size(), QSize(20, 30));
    const auto change = byRename ? replaceByRename : rewriteInPlace;

    change(f->Path(u"pump.png"_s), {40, 50});
    QTRY_COMPARE_WITH_TIMEOUT(preview()->size(), QSize(40, 50), 1000);
    QTRY_COMPARE_WITH_TIMEOUT(tileOf(*w, -1)->Image->pixmap().size(), QSize(40, 50), 1000);
    // The watch holds on after the first change: a second one shows as well.
    change(f->Path(u"pump.png"_s), {44, 55});
    QTRY_COMPARE_WITH_TIMEOUT(preview()->size(), QSize(44, 55), 1000);
    QVERIFY(w->Document().IsSaved());
    QCOMPARE(w->Document().UndoStack()->count(), 0);
}

void TestDiskPictures::pictureThatGoesGetsTheMarkAndLosesIt()
{
    open(Strings({"pump", "valve"}));
    clickRow(*w, u"pump"_s);
    const int plain = IconIndex(*w, rowOf(*w, u"valve"_s));

    // The shown symbol's picture goes: the preview and its row show the mark.
    QVERIFY(QFile::remove(f->Path(u"pump.png"_s)));
    QTRY_COMPARE_WITH_TIMEOUT(preview()->pixmap().toImage(), MissingPictureMark().toImage(), 1000);
    QTRY_COMPARE_WITH_TIMEOUT(IconIndex(*w, rowOf(*w, u"pump"_s)), 3, 1000);
    // Another symbol's picture goes: its row shows the mark.
    QVERIFY(QFile::remove(f->Path(u"valve.png"_s)));
    QTRY_COMPARE_WITH_TIMEOUT(IconIndex(*w, rowOf(*w, u"valve"_s)), 3, 1000);

    f->WritePicture(u"pump.png"_s, {21, 31});
    f->WritePicture(u"valve.png"_s, {21, 31});
    QTRY_COMPARE_WITH_TIMEOUT(preview()->size(), QSize(21, 31), 1000);
    QTRY_COMPARE_WITH_TIMEOUT(IconIndex(*w, rowOf(*w, u"pump"_s)), plain, 1000);
    QTRY_COMPARE_WITH_TIMEOUT(IconIndex(*w, rowOf(*w, u"valve"_s)), plain, 1000);
    QVERIFY(w->Document().IsSaved());
}

void TestDiskPictures::selectingASymbolWithoutPictureShowsTheMark()
{
    open(Strings({"pump", "valve"}));
    QVERIFY(QFile::remove(f->Path(u"valve.png"_s)));
    clickRow(*w, u"pump"_s);
    clickRow(*w, u"valve"_s);
    QCOMPARE(preview()->pixmap().toImage(), MissingPictureMark().toImage());
}

void TestDiskPictures::watchesTheShownFilesAndTheFoldersOnly()
{
    QStringList many;
    for (int k = 0; k < 300; ++k)
        many.append(u"s%1"_s.arg(k, 3, 10, QLatin1Char('0')));
    open(many.mid(0, 150), u"one"_s);
    const TPictureWatch &watch = w->PictureWatch();
    QCOMPARE(watch.WatchedFiles(), QStringList());
    QCOMPARE(watch.WatchedFolders(), QStringList(f->Path(u"one"_s)));
    clickRow(*w, u"s007"_s);
    QCOMPARE(watch.WatchedFiles(), QStringList(f->Path(u"one/s007.png"_s)));
    clickRow(*w, u"s008"_s);
    QCOMPARE(watch.WatchedFiles(), QStringList(f->Path(u"one/s008.png"_s)));
    // Another library: the former folder is no longer watched.
    open(many.mid(150), u"two"_s);
    QCOMPARE(watch.WatchedFolders(), QStringList(f->Path(u"two"_s)));
    QCOMPARE(watch.WatchedFiles(), QStringList());
}

// Stored paths may be bare names, absolute, relative to the working folder, with "\" and "..":
// each picture's own folder is watched, whatever form its path has.
void TestDiskPictures::watchesTheFolderOfEveryFormOfPath()
{
    const QString before = QDir::currentPath();
    QVERIFY(QDir::setCurrent(f->Path(u"."_s)));
    for (const QString &picture : {u"a.png"_s, u"one/b.png"_s, u"two/c.png"_s, u"two/d.png"_s})
        f->WritePicture(picture, {20, 30});
    const QStringList stored = {u"a.png"_s, f->Path(u"one/b.png"_s), u"one\\..\\two\\c.png"_s,
                                u"two/d.png"_s};
    QStringList objects;
    for (const QString &image : stored)
        objects.append(
            u"{\"Identifier\": \"s%1\", \"Image\": \"%2\", \"ImageX\": 0, "
            "\"ImageY\": 0, \"Symbol\": \"true\", \"TextX\": 0, \"TextY\": 0, "
            "\"TextAlign\": \"Right\", \"StateImages\": [], \"NAME\": {}}"_s.arg(objects.size())
                .arg(QString(image).replace(u"\\"_s, u"\\\\"_s)));
    f->WriteFile(u"lib.js"_s, "{\"GLYPHBOOK\": [" + objects.join(u',').toUtf8() + "]}");
    f->Dialogs.FileAnswers = {f->Path(u"lib.js"_s)};
    Named<QAction>(*w, "miOpenProject")->trigger();
    QDir::setCurrent(before);
    QCOMPARE(f->Dialogs.Errors, QStringList());
    QStringList folders = w->PictureWatch().WatchedFolders();
    folders.sort();
    const QString root = QDir::cleanPath(f->Path(u"."_s));
    QCOMPARE(folders, (QStringList{root, root + u"/one"_s, root + u"/two"_s}));
    for (int row = 0; row < stored.size(); ++row)
        QVERIFY2(!w->Document().Symbols().at(row)->Error, qPrintable(stored[row]));
}

QTEST_MAIN(TestDiskPictures)
#include "tst_disk_pictures.moc"
