// The library check: what it finds, and that a re-check of one changed symbol ends where a
// whole new check ends.
#include "check/LibraryCheck.h"
#include "model/ViraSymbol.h"
#include "tests/TestFiles.h"

#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace
{

/// A symbol "id|image|state=image,state=image|lang=name,lang=name".
TViraSymbolPtr symbol(const QString &description)
{
    const QStringList parts = description.split(u'|');
    auto made = std::make_shared<TViraSymbol>();
    made->Symbol = true;
    made->Identifier = parts.value(0);
    made->Image = parts.value(1);
    const auto pairs = [](const QString &text) {
        QList<TStringPairs> list;
        for (const QString &pair : text.split(u',', Qt::SkipEmptyParts))
            list.append({pair.section(u'=', 0, 0), pair.section(u'=', 1)});
        return list;
    };
    made->StateImages = pairs(parts.value(2));
    made->Names = pairs(parts.value(3));
    return made;
}

/// A finding in short: "kind symbol[.state] path", indices from 0.
QString brief(const TCheckFinding &finding)
{
    QString text = CheckKindName(finding.Kind) + u' ' + QString::number(finding.Symbol);
    if (finding.State >= 0)
        text += u'.' + QString::number(finding.State);
    if (!finding.Path.isEmpty())
        text += u' ' + finding.Path;
    return text;
}

QStringList briefs(const QList<TCheckFinding> &findings)
{
    QStringList list;
    for (const TCheckFinding &finding : findings)
        list << brief(finding);
    return list;
}

/// An edit of one symbol of the library, applied by index.
using TEdit = std::function<void(TViraGlyphbook &, const QString &root)>;

} // namespace

Q_DECLARE_METATYPE(TEdit)

class TestLibraryCheck : public QObject
{
    Q_OBJECT

    QTemporaryDir FDir;
    QString FRoot;

    TCheckOptions options(const QStringList &languages = {})
    {
        // Stands in for the picture decoder: a file that starts with "text" is no picture.
        return {FRoot + u"/lib.js"_s, languages,
                [](const QString &path) { return !readFile(path).startsWith("text"); }};
    }

    TViraGlyphbook library(const QStringList &descriptions)
    {
        TViraGlyphbook book;
        for (QString description : descriptions)
            book.Symbols.append(symbol(description.replace(u"ROOT"_s, FRoot)));
        return book;
    }

private slots:
    void init()
    {
        static int n = 0;
        FRoot = FDir.filePath(QString::number(++n));
        writeFile(FRoot + u"/a.png"_s, "picture a");
        writeFile(FRoot + u"/b.png"_s, "picture b");
        writeFile(FRoot + u"/other/a.png"_s, "another picture a");
        writeFile(FRoot + u"/copy/a.png"_s, "picture a");
        writeFile(FRoot + u"/upper/A.PNG"_s, "upper-case picture a");
        writeFile(FRoot + u"/glyphbook.js"_s, "a picture named like the document");
        writeFile(FRoot + u"/text.png"_s, "text, not a picture");
        writeFile(FRoot + u"/"_s + QString(120, u'x') + u".png"_s, "long");
    }

    void findings_data()
    {
        QTest::addColumn<QStringList>("symbols");
        QTest::addColumn<QStringList>("languages");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("clean") << QStringList{u"s|a.png|1=b.png,$2=a.png,Alarm=b.png,MO=a.png,"
                                              "MO_Off=b.png,-3=ROOT/copy/a.png|en=S"_s,
                                              u"t|ROOT/b.png||en=T,sv=T"_s}
                               << QStringList{u"en"_s} << QStringList();
        QTest::newRow("missing and unreadable")
            << QStringList{u"s|gone.png|1=text.png,2=|"_s, u"t|ROOT/nowhere/b.png||"_s}
            << QStringList()
            << QStringList{u"missing-image 0 gone.png"_s, u"unreadable-picture 0.0 text.png"_s,
                           u"missing-image 0.1"_s, u"missing-image 1 ROOT/nowhere/b.png"_s};
        QTest::newRow("repeated identifiers")
            << QStringList{u"a|a.png||"_s, u"b|a.png||"_s, u"a|a.png||"_s,
                           u"|a.png||"_s,  u"|b.png||"_s,  u"A|b.png||"_s}
            << QStringList()
            << QStringList{u"repeated-identifier 0"_s, u"repeated-identifier 2"_s,
                           u"repeated-identifier 3"_s, u"repeated-identifier 4"_s};
        QTest::newRow("state values")
            << QStringList{u"s|a.png|1=a.png, 1=a.png,1 =a.png,mo=a.png,$1=a.png,on=a.png,"
                           "Alarm=a.png,Alarm=a.png,mo=a.png,=a.png|"_s}
            << QStringList()
            << QStringList{u"repeated-state-value 0.1"_s, u"bad-state-value 0.2"_s,
                           u"bad-state-value 0.3"_s,      u"repeated-state-value 0.4"_s,
                           u"bad-state-value 0.5"_s,      u"repeated-state-value 0.7"_s,
                           u"bad-state-value 0.8"_s,      u"repeated-state-value 0.8"_s,
                           u"bad-state-value 0.9"_s};
        QTest::newRow("names in shown languages")
            << QStringList{u"s|a.png||en=S,de="_s, u"t|a.png||sv=T"_s, u"u|a.png||"_s}
            << QStringList{u"en"_s, u"de"_s}
            << QStringList{u"missing-name 0"_s, u"missing-name 1"_s, u"missing-name 1"_s,
                           u"missing-name 2"_s, u"missing-name 2"_s};
        // Renames follow library order: the first file keeps its name, a byte-identical copy
        // shares it, another file of the same name (in any case) gets the next number.
        QTest::newRow("archive names")
            << QStringList{u"s|a.png|1=ROOT/other/a.png,2=ROOT/copy/a.png|"_s,
                           u"t|ROOT/upper/A.PNG||"_s,
                           u"u|ROOT/"_s + QString(120, u'x') + u".png|1=glyphbook.js|"_s}
            << QStringList()
            << QStringList{u"renamed-image 0.0 ROOT/other/a.png"_s,
                           u"renamed-image 1 ROOT/upper/A.PNG"_s,
                           u"renamed-image 2 ROOT/"_s + QString(120, u'x') + u".png"_s,
                           u"renamed-image 2.0 glyphbook.js"_s};
    }

    void findings()
    {
        QFETCH(QStringList, symbols);
        QFETCH(QStringList, languages);
        QFETCH(QStringList, expected);
        const TViraGlyphbook book = library(symbols);
        for (QString &line : expected)
            line.replace(u"ROOT"_s, FRoot);
        TLibraryCheck check(options(languages));
        check.Check(book);
        QCOMPARE(briefs(check.Findings()), expected);
        QCOMPARE(check.Count(), expected.size());
        for (const TCheckFinding &finding : check.Findings()) {
            QCOMPARE(finding.Identifier, book.Symbols[finding.Symbol]->Identifier);
            QVERIFY(!finding.Message.isEmpty());
        }
    }

    void messages()
    {
        TLibraryCheck check(options({u"en"_s}));
        check.Check(library(
            {u"s|"_s + QString(120, u'x') + u".png|1=b.png,$1=ROOT/other/a.png,on=text.png|"_s,
             u"s|a.png||en=S"_s}));
        QStringList messages;
        for (const TCheckFinding &finding : check.Findings())
            messages << finding.Message;
        QCOMPARE(
            messages,
            (QStringList{
                u"repeated identifier \"s\""_s,
                u"no name in the language \"en\""_s,
                u"image name too long, shortened when packed: \"%1.png\" becomes \"%2.png\""_s.arg(
                    QString(120, u'x'), QString(96, u'x')),
                u"state value \"$1\" stands for the same state as state 1"_s,
                u"state value \"on\" is neither an integer nor Alarm, MO_Off or MO"_s,
                u"image file \"text.png\" cannot be read as a picture"_s,
                u"repeated identifier \"s\""_s,
                // other/a.png was named first, so the later a.png is the renamed one
                u"image name clashes with another image's, renamed when packed: \"a.png\" "
                "becomes \"a~2.png\""_s,
            }));
    }

    void recheckMatchesWholeCheck_data()
    {
        QTest::addColumn<int>("index");
        QTest::addColumn<TEdit>("edit");
        const auto at = [](int i, std::function<void(TViraSymbol &)> change) {
            return TEdit(
                [i, change](TViraGlyphbook &book, const QString &) { change(*book.Symbols[i]); });
        };
        QTest::newRow("identifier joins a group")
            << 3 << at(3, [](TViraSymbol &s) { s.Identifier = u"a"_s; });
        QTest::newRow("identifier leaves a pair")
            << 0 << at(0, [](TViraSymbol &s) { s.Identifier = u"z"_s; });
        QTest::newRow("identifier pair made")
            << 1 << at(1, [](TViraSymbol &s) { s.Identifier = u"d"_s; });
        QTest::newRow("image now missing")
            << 1 << at(1, [](TViraSymbol &s) { s.Image = u"gone.png"_s; });
        // Without the earlier a.png, other/a.png keeps its name in both symbols that use it.
        QTest::newRow("earlier image replaced")
            << 0 << at(0, [](TViraSymbol &s) { s.Image = u"b.png"_s; });
        QTest::newRow("image renamed like a later one")
            << 1 << TEdit([](TViraGlyphbook &book, const QString &root) {
                   book.Symbols[1]->Image = root + u"/other/a.png"_s;
               });
        QTest::newRow("state value fixed and repeated") << 0 << at(0, [](TViraSymbol &s) {
            s.StateImages[1].Name = u"1"_s;
            s.StateImages.append({u"Alarm"_s, u"a.png"_s});
        });
        QTest::newRow("name given") << 2 << at(2, [](TViraSymbol &s) {
            s.Names = {{u"en"_s, u"C"_s}};
        });
        QTest::newRow("appended") << 4 << TEdit([](TViraGlyphbook &book, const QString &) {
            book.Symbols.append(symbol(u"c|text.png|x=a.png|"_s));
        });
        // Another symbol uses the file that appeared: its finding goes as well.
        QTest::newRow("missing file appears")
            << 3 << TEdit([](TViraGlyphbook &book, const QString &root) {
                   writeFile(root + u"/late.png"_s, "late");
                   book.Symbols[3]->Identifier = u"d2"_s;
               });
        QTest::newRow("file becomes unreadable")
            << 1 << TEdit([](TViraGlyphbook &, const QString &root) {
                   writeFile(root + u"/b.png"_s, "text now");
               });
    }

    void recheckMatchesWholeCheck()
    {
        QFETCH(int, index);
        QFETCH(TEdit, edit);
        TViraGlyphbook book =
            library({u"a|a.png|1=ROOT/other/a.png,on=late.png|"_s, u"a|b.png||en=B"_s,
                     u"c|ROOT/other/a.png|1=text.png|"_s, u"d|late.png||en=D"_s});
        TLibraryCheck check(options({u"en"_s}));
        check.Check(book);
        const QList<TCheckFinding> before = check.Findings();
        QList<QList<TCheckFinding>> bySymbolBefore;
        for (int i = 0; i < book.Symbols.size(); ++i)
            bySymbolBefore.append(check.FindingsOf(i));

        edit(book, FRoot);
        const QList<int> changed = check.Recheck(book, index);

        TLibraryCheck whole(options({u"en"_s}));
        whole.Check(book);
        QCOMPARE(briefs(check.Findings()), briefs(whole.Findings()));
        QCOMPARE(check.Findings(), whole.Findings());
        QCOMPARE(check.Count(), whole.Count());
        QVERIFY(check.Findings() != before);
        QList<int> differing;
        for (int i = 0; i < book.Symbols.size(); ++i)
            if (whole.FindingsOf(i) != bySymbolBefore.value(i))
                differing.append(i);
        QCOMPARE(changed, differing);
    }

    // Many small edits, removals and appends on names made to clash (numbered, cut, upper-case,
    // linked, byte-identical, the document's own); after each, the findings are those of a
    // whole new check, and exactly the symbols whose findings changed are reported.
    void randomEditsMatchWholeCheck()
    {
        const QString longStem = QString(110, u'y');
        const QStringList files = {u"a.png"_s,
                                   u"ROOT/other/a.png"_s,
                                   u"ROOT/copy/a.png"_s,
                                   u"ROOT/upper/A.PNG"_s,
                                   u"ROOT/n/a~2.png"_s,
                                   u"b.png"_s,
                                   u"glyphbook.js"_s,
                                   u"text.png"_s,
                                   u"gone.png"_s,
                                   u"ROOT/l1/"_s + longStem + u"1.png"_s,
                                   u"ROOT/l2/"_s + longStem + u"2.png"_s,
                                   u"ROOT/link/b-link.png"_s,
                                   u"ROOT/l3/"_s + QString(70, u'7') + u".png"_s};
        writeFile(FRoot + u"/n/a~2.png"_s, "numbered by hand");
        writeFile(FRoot + u"/l1/"_s + longStem + u"1.png"_s, "long one");
        writeFile(FRoot + u"/l2/"_s + longStem + u"2.png"_s, "long two");
        writeFile(FRoot + u"/l3/"_s + QString(70, u'7') + u".png"_s, "digits");
        QDir().mkpath(FRoot + u"/link"_s);
        QVERIFY(QFile::link(FRoot + u"/b.png"_s, FRoot + u"/link/b-link.png"_s));
        const QStringList identifiers = {u"a"_s, u"b"_s, u"c"_s, QString()};
        const QStringList values = {u"1"_s, u"$1"_s, u"Alarm"_s, u"x"_s};

        QRandomGenerator random(16);
        const auto pick = [&](const QStringList &list) {
            return QString(list.at(random.bounded(int(list.size())))).replace(u"ROOT"_s, FRoot);
        };
        const auto randomSymbol = [&] {
            auto made = std::make_shared<TViraSymbol>();
            made->Identifier = pick(identifiers);
            made->Image = pick(files);
            for (int k = random.bounded(3); k > 0; --k)
                made->StateImages.append({pick(values), pick(files)});
            if (random.bounded(2))
                made->Names = {{u"en"_s, u"N"_s}};
            return made;
        };
        TViraGlyphbook book;
        for (int i = 0; i < 8; ++i)
            book.Symbols.append(randomSymbol());
        TLibraryCheck check(options({u"en"_s}));
        check.Check(book);

        for (int step = 0; step < 300; ++step) {
            QList<QList<TCheckFinding>> before;
            for (int i = 0; i < book.Symbols.size(); ++i)
                before.append(check.FindingsOf(i));
            const int action = random.bounded(10);
            int index = random.bounded(int(book.Symbols.size()));
            QList<int> changed;
            if (action == 0 && book.Symbols.size() > 2) {
                book.Symbols.removeAt(index);
                before.removeAt(index);
                for (int i = index; i < before.size(); ++i)
                    for (TCheckFinding &finding : before[i])
                        finding.Symbol = i;
                changed = check.Remove(book, index);
            } else {
                if (action == 1) {
                    book.Symbols.append(randomSymbol());
                    index = int(book.Symbols.size()) - 1;
                } else if (action < 5) {
                    book.Symbols[index]->Identifier = pick(identifiers);
                } else if (action < 9 || book.Symbols[index]->StateImages.isEmpty()) {
                    book.Symbols[index]->Image = pick(files);
                } else {
                    TStringPairs &state = book.Symbols[index]->StateImages.first();
                    state = {pick(values), pick(files)};
                }
                changed = check.Recheck(book, index);
            }

            TLibraryCheck whole(options({u"en"_s}));
            whole.Check(book);
            QCOMPARE(briefs(check.Findings()), briefs(whole.Findings()));
            QCOMPARE(check.Findings(), whole.Findings());
            QCOMPARE(check.Count(), whole.Count());
            QList<int> differing;
            for (int i = 0; i < book.Symbols.size(); ++i)
                if (whole.FindingsOf(i) != before.value(i))
                    differing.append(i);
            QCOMPARE(changed, differing);
        }
    }

    void withoutPictureTestNothingIsUnreadable()
    {
        TLibraryCheck check({FRoot + u"/lib.js"_s, {}, {}});
        check.Check(library({u"s|text.png||"_s}));
        QCOMPARE(check.Count(), 0);
    }
};

QTEST_GUILESS_MAIN(TestLibraryCheck)
#include "tst_librarycheck.moc"
