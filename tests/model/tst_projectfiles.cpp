// Which paths are a project's own files, whatever name they are given.
#include "model/FileLookup.h"
#include "model/ProjectFiles.h"
#include "model/ViraSymbol.h"
#include "tests/TestFiles.h"

#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

class TestProjectFiles : public QObject
{
    Q_OBJECT

    QTemporaryDir FDir;
    QString FRoot;
    TViraGlyphbook FBook;

    QString path(const QString &relative) const { return FRoot + u'/' + relative; }

private slots:
    void initTestCase()
    {
        FRoot = QDir(FDir.path()).canonicalPath();
        writeFile(path(u"proj/lib.js"_s), "{}");
        writeFile(path(u"proj/a.png"_s), "a");
        writeFile(path(u"art/on.png"_s), "on");
        writeFile(path(u"other.png"_s), "other");
        QVERIFY(QFile::link(path(u"proj/lib.js"_s), path(u"lib-link.js"_s)));
        QVERIFY(QFile::link(path(u"proj/a.png"_s), path(u"a-link.png"_s)));
        QVERIFY(QFile::link(path(u"other.png"_s), path(u"other-link.png"_s)));
        QVERIFY(QDir().mkpath(path(u"proj/inner"_s)));
        QVERIFY(QFile::link(path(u"proj/inner"_s), path(u"deep"_s)));
        QVERIFY(QFile::link(path(u"proj"_s), path(u"proj-alias"_s)));
        QVERIFY(QFile::link(path(u"proj/gone.png"_s), path(u"gone-link.png"_s)));

        auto symbol = std::make_shared<TViraSymbol>();
        symbol->Image = u"a.png"_s; // beside the project
        symbol->StateImages = {{u"1"_s, path(u"art/on.png"_s)}, {u"2"_s, u"gone.png"_s}};
        FBook.Symbols = {symbol};
    }

    void which_data()
    {
        QTest::addColumn<QString>("target");
        QTest::addColumn<int>("kind");
        QTest::newRow("the document") << u"proj/lib.js"_s << int(TProjectFiles::Document);
        QTest::newRow("the document by another path")
            << u"art/../proj/./lib.js"_s << int(TProjectFiles::Document);
        QTest::newRow("a link to the document") << u"lib-link.js"_s << int(TProjectFiles::Document);
        QTest::newRow("a bare picture name") << u"proj/a.png"_s << int(TProjectFiles::Picture);
        QTest::newRow("a state picture") << u"art/on.png"_s << int(TProjectFiles::Picture);
        QTest::newRow("a link to a picture") << u"a-link.png"_s << int(TProjectFiles::Picture);
        // The system takes ".." after a link to a folder from where the link leads, not from
        // where the link stands: "deep/.." is "proj".
        QTest::newRow("the document by a \"..\" after a link")
            << u"deep/../lib.js"_s << int(TProjectFiles::Document);
        QTest::newRow("a picture by a \"..\" after a link")
            << u"deep/../a.png"_s << int(TProjectFiles::Picture);
        // A write through these would make the missing picture.
        QTest::newRow("a link to a missing picture")
            << u"gone-link.png"_s << int(TProjectFiles::Picture);
        QTest::newRow("a missing picture through a linked folder")
            << u"proj-alias/gone.png"_s << int(TProjectFiles::Picture);
        // Written there, the output would stand in for the missing picture.
        QTest::newRow("a missing picture") << u"proj/gone.png"_s << int(TProjectFiles::Picture);
        QTest::newRow("a file of no concern") << u"other.png"_s << int(TProjectFiles::None);
        QTest::newRow("a link to a file of no concern")
            << u"other-link.png"_s << int(TProjectFiles::None);
        QTest::newRow("a new file") << u"proj/sheet.png"_s << int(TProjectFiles::None);
        QTest::newRow("the project's folder") << u"proj"_s << int(TProjectFiles::None);
    }
    void which()
    {
        QFETCH(QString, target);
        QFETCH(int, kind);
        const TProjectFiles files(FBook, path(u"proj/lib.js"_s));
        QCOMPARE(int(files.Which(path(target))), kind);
        TFileLookup lookup;
        const TProjectFiles sharing(FBook, path(u"proj/lib.js"_s), &lookup);
        QCOMPARE(int(sharing.Which(path(target))), kind);
    }

    // The look-up resolves a folder once and a file by one lstat: it must still say what
    // QFileInfo says, links and dot parts included.
    void lookupAgreesWithFileInfo_data()
    {
        QTest::addColumn<QString>("target");
        QTest::newRow("a file") << path(u"proj/a.png"_s);
        QTest::newRow("a missing file") << path(u"proj/gone.png"_s);
        QTest::newRow("a missing folder") << path(u"nowhere/a.png"_s);
        QTest::newRow("below a file") << path(u"other.png/a.png"_s);
        QTest::newRow("a folder") << path(u"proj"_s);
        QTest::newRow("a link to a file") << path(u"a-link.png"_s);
        QTest::newRow("a file in a linked folder") << path(u"proj-link/on.png"_s);
        QTest::newRow("a dangling link") << path(u"dangling.png"_s);
        QTest::newRow("dot parts after a linked folder") << path(u"proj-link/../other.png"_s);
        QTest::newRow("doubled slashes") << FRoot + u"//proj//a.png"_s;
        QTest::newRow("the root") << u"/"_s;
        QTest::newRow("a file of the root's folder") << u"/etc"_s;
    }
    void lookupAgreesWithFileInfo()
    {
        QFETCH(QString, target);
        QVERIFY(QFile::exists(path(u"proj-link"_s)) ||
                QFile::link(path(u"art"_s), path(u"proj-link"_s)));
        QVERIFY(QFileInfo(path(u"dangling.png"_s)).isSymLink() ||
                QFile::link(path(u"gone"_s), path(u"dangling.png"_s)));
        TFileLookup lookup;
        lookup.Of(path(u"proj/a.png"_s)); // its folder known before
        for (int twice = 0; twice < 2; ++twice) {
            const TFileFacts &facts = lookup.Of(target);
            const QFileInfo info(target);
            QCOMPARE(facts.Canonical, info.canonicalFilePath());
            QCOMPARE(facts.Exists, info.exists());
            QCOMPARE(facts.IsFile, info.isFile());
            QCOMPARE(facts.Size, info.isFile() ? info.size() : 0);
        }
    }

    void relativeTargetsAreTakenFromTheWorkingFolder()
    {
        const TProjectFiles files(FBook, path(u"proj/lib.js"_s));
        const QString before = QDir::currentPath();
        QVERIFY(QDir::setCurrent(path(u"art"_s)));
        const int document = files.Which(u"../proj/lib.js"_s);
        const int picture = files.Which(u"on.png"_s);
        const int none = files.Which(u"lib.js"_s);
        QVERIFY(QDir::setCurrent(before));
        QCOMPARE(document, int(TProjectFiles::Document));
        QCOMPARE(picture, int(TProjectFiles::Picture));
        QCOMPARE(none, int(TProjectFiles::None));
    }

    void unsavedProjectHasNoDocument()
    {
        TViraGlyphbook book;
        auto symbol = std::make_shared<TViraSymbol>();
        symbol->Image = path(u"art/on.png"_s);
        book.Symbols = {symbol};
        const TProjectFiles files(book, QString());
        QCOMPARE(int(files.Which(path(u"proj/lib.js"_s))), int(TProjectFiles::None));
        QCOMPARE(int(files.Which(path(u"art/on.png"_s))), int(TProjectFiles::Picture));
        QCOMPARE(int(files.Which(QString())), int(TProjectFiles::None));
    }

    void documentWinsOverAPicture()
    {
        TViraGlyphbook book;
        auto symbol = std::make_shared<TViraSymbol>();
        symbol->Image = u"lib.js"_s;
        book.Symbols = {symbol};
        const TProjectFiles files(book, path(u"proj/lib.js"_s));
        QCOMPARE(int(files.Which(path(u"proj/lib.js"_s))), int(TProjectFiles::Document));
    }
};

QTEST_GUILESS_MAIN(TestProjectFiles)
#include "tst_projectfiles.moc"
