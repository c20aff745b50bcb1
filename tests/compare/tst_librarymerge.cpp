// The three-way merge: one side's change taken, the same change once, conflicts keep ours,
// additions on both sides all kept where their side put them.
#include "CompactLibrary.h"
#include "compare/LibraryMerge.h"

#include <QTest>

using namespace Qt::StringLiterals;

class TestLibraryMerge : public QObject
{
    Q_OBJECT

private slots:
    void merge_data()
    {
        QTest::addColumn<QString>("base");
        QTest::addColumn<QString>("ours");
        QTest::addColumn<QString>("theirs");
        QTest::addColumn<QString>("merged");
        QTest::addColumn<QStringList>("conflicts");

        QTest::newRow("both add at the end")
            << u"a;b"_s << u"a;b;c anchor=1,1;d"_s << u"a;b;e;f anchor=2,2"_s
            << u"a;b;c anchor=1,1;d;e;f anchor=2,2"_s << QStringList();
        QTest::newRow("both add in one place: ours first, then theirs")
            << u"a;b"_s << u"a;c;b"_s << u"a;d;b"_s << u"a;c;d;b"_s << QStringList();
        QTest::newRow("additions stay where their side put them")
            << u"a;b;c"_s << u"x;a;b;c"_s << u"a;b;y;c"_s << u"x;a;b;y;c"_s << QStringList();
        QTest::newRow("the same addition on both sides, once")
            << u"a"_s << u"a;n anchor=1,1"_s << u"a;n anchor=1,1"_s << u"a;n anchor=1,1"_s
            << QStringList();
        QTest::newRow("one identifier added unlike on both sides: both kept")
            << u"a"_s << u"a;n anchor=1,1"_s << u"a;n anchor=2,2"_s
            << u"a;n anchor=1,1;n anchor=2,2"_s
            << QStringList{u"n: added by both sides, unlike; both kept, ours first"_s};
        QTest::newRow("a change on one side")
            << u"a anchor=1,1;b"_s << u"a anchor=1,1;b"_s << u"a anchor=5,5;b"_s
            << u"a anchor=5,5;b"_s << QStringList();
        QTest::newRow("changes of different fields")
            << u"a anchor=1,1 name[en]=A"_s << u"a anchor=2,2 name[en]=A"_s
            << u"a anchor=1,1 name[en]=Ay name[sv]=Aa"_s
            << u"a anchor=2,2 name[en]=Ay name[sv]=Aa"_s << QStringList();
        QTest::newRow("the same change on both sides")
            << u"a anchor=1,1"_s << u"a anchor=2,2"_s << u"a anchor=2,2"_s << u"a anchor=2,2"_s
            << QStringList();
        QTest::newRow("one field changed two ways: ours kept")
            << u"a anchor=1,1"_s << u"a anchor=2,2"_s << u"a anchor=3,3"_s << u"a anchor=2,2"_s
            << QStringList{u"a anchor: base 1,1, ours 2,2, theirs 3,3; ours kept"_s};
        QTest::newRow("a name added two ways")
            << u"a"_s << u"a name[en]=Pump"_s << u"a name[en]=Pumpe"_s << u"a name[en]=Pump"_s
            << QStringList{u"a name[en]: base (none), ours Pump, theirs Pumpe; ours kept"_s};
        QTest::newRow("a name removed and changed")
            << u"a name[en]=A"_s << u"a"_s << u"a name[en]=B"_s << u"a"_s
            << QStringList{u"a name[en]: base A, ours (none), theirs B; ours kept"_s};
        QTest::newRow("picture paths merge as texts")
            << u"a picture=p.png"_s << u"a picture=art/p.png"_s << u"a picture=p.png"_s
            << u"a picture=art/p.png"_s << QStringList();
        QTest::newRow("states: one added by each, one changed")
            << u"a symbol=true state[1]=r.png"_s << u"a symbol=true state[1]=s.png state[2]=t.png"_s
            << u"a symbol=true state[1]=r.png state[Alarm]=al.png"_s
            << u"a symbol=true state[1]=s.png state[2]=t.png state[Alarm]=al.png"_s
            << QStringList();
        QTest::newRow("removed on one side, unchanged on the other")
            << u"a;b;c"_s << u"a;c"_s << u"a;b;c"_s << u"a;c"_s << QStringList();
        QTest::newRow("removed by theirs, changed by ours: kept")
            << u"a;b;c"_s << u"a;b anchor=1,1;c"_s << u"a;c"_s << u"a;b anchor=1,1;c"_s
            << QStringList{u"b: removed by theirs, changed by ours; ours' symbol kept"_s};
        QTest::newRow("removed by ours, changed by theirs: kept in its place")
            << u"a;b;c"_s << u"a;c"_s << u"a;b anchor=1,1;c"_s << u"a;b anchor=1,1;c"_s
            << QStringList{u"b: removed by ours, changed by theirs; theirs' symbol kept"_s};
        QTest::newRow("removed on both sides")
            << u"a;b"_s << u"a"_s << u"a"_s << u"a"_s << QStringList();
        QTest::newRow("theirs moved, ours changed")
            << u"a;b;c"_s << u"a;b anchor=1,1;c"_s << u"c;a;b"_s << u"c;a;b anchor=1,1"_s
            << QStringList();
        QTest::newRow("both reordered unlike: ours kept")
            << u"a;b;c"_s << u"c;a;b"_s << u"b;a;c"_s << u"c;a;b"_s
            << QStringList{u"symbol order: changed by both sides, unlike; ours kept"_s};
        QTest::newRow("repeated identifier: the occurrence is the symbol")
            << u"p;p"_s << u"p;p anchor=1,1"_s << u"p name[en]=P;p"_s
            << u"p name[en]=P;p anchor=1,1"_s << QStringList();
        QTest::newRow("made plain by theirs, symbol fields changed by ours: stays a symbol")
            << u"a symbol=true text-point=1,1"_s << u"a symbol=true text-point=2,2"_s
            << u"a symbol=false"_s << u"a symbol=true text-point=2,2"_s
            << QStringList{u"a symbol: base true, ours true, theirs false; ours kept"_s,
                           u"a text-point: base 1,1, ours 2,2, theirs (none); ours kept"_s};
        QTest::newRow("made plain by ours, a state added by theirs: it goes")
            << u"a symbol=true"_s << u"a symbol=false"_s << u"a symbol=true state[1]=r.png"_s
            << u"a symbol=false"_s
            << QStringList{u"a state[1]: base (none), ours (none), theirs r.png; ours kept"_s};
        QTest::newRow("made plain by theirs alone")
            << u"a symbol=true text-point=1,1 state[1]=r.png"_s
            << u"a symbol=true text-point=1,1 state[1]=r.png"_s << u"a symbol=false"_s
            << u"a symbol=false"_s << QStringList();
    }

    void merge()
    {
        QFETCH(QString, base);
        QFETCH(QString, ours);
        QFETCH(QString, theirs);
        QFETCH(QString, merged);
        QFETCH(QStringList, conflicts);
        const TViraGlyphbook oursBook = compactLibrary(ours);
        const QStringList oursBefore = shownLines(oursBook);
        const TMergeResult result =
            MergeLibraries(compactLibrary(base), oursBook, compactLibrary(theirs));
        QCOMPARE(shownLines(result.Library), shownLines(compactLibrary(merged)));
        QStringList messages;
        for (const TMergeConflict &conflict : result.Conflicts)
            messages << conflict.Message();
        QCOMPARE(messages, conflicts);
        QCOMPARE(shownLines(oursBook), oursBefore);
        for (const TViraSymbolPtr &symbol : result.Library.Symbols)
            QVERIFY(!oursBook.Symbols.contains(symbol));
    }

    void mergingWithItselfChangesNothing()
    {
        const TViraGlyphbook book = compactLibrary(
            u"p symbol=true state[1]=a.png state[1]=b.png name[en]=P;q anchor=3,4;p"_s);
        const TMergeResult result = MergeLibraries(book, book, book);
        QCOMPARE(shownLines(result.Library), shownLines(book));
        QVERIFY(result.Conflicts.isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestLibraryMerge)
#include "tst_librarymerge.moc"
