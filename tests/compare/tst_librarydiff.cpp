// Comparing two versions of a library: matching by identifier and occurrence, the fewest moves,
// field by field, pictures by content.
#include "CompactLibrary.h"
#include "compare/LibraryDiff.h"

#include <QCryptographicHash>
#include <QHash>
#include <QTest>

using namespace Qt::StringLiterals;

namespace
{

TViraGlyphbook document(const QByteArray &text)
{
    TViraGlyphbook book;
    book.LoadFromBytes(text, u"test.js"_s);
    return book;
}

/// Pictures of one version held in memory: path -> bytes; every picture measures 2x2.
TPictureReader picturesIn(const QHash<QString, QByteArray> &files)
{
    return [files](const QString &path) {
        TPictureInfo info;
        const auto file = files.constFind(path);
        if (file == files.cend())
            return info;
        info.Exists = true;
        info.Bytes = file->size();
        info.Sha256 = QCryptographicHash::hash(*file, QCryptographicHash::Sha256);
        info.Size = QSize(2, 2);
        return info;
    };
}

QStringList changeLines(const TLibraryDiff &diff)
{
    QStringList lines;
    for (const TFieldChange &change : diff.Changed)
        lines << u"%1 %2: %3 -> %4"_s.arg(change.Symbol.Label(), change.Field, change.Old.Shown(),
                                          change.New.Shown());
    return lines;
}

QStringList placeLines(const TLibraryDiff &diff)
{
    QStringList lines;
    for (const TSymbolPlace &place : diff.Removed)
        lines << u"removed %1 %2"_s.arg(place.Symbol.Label()).arg(place.Index + 1);
    for (const TSymbolPlace &place : diff.Added)
        lines << u"added %1 %2"_s.arg(place.Symbol.Label()).arg(place.Index + 1);
    for (const TSymbolMove &move : diff.Moved)
        lines << u"moved %1 %2->%3"_s.arg(move.Symbol.Label()).arg(move.From + 1).arg(move.To + 1);
    return lines;
}

} // namespace

class TestLibraryDiff : public QObject
{
    Q_OBJECT

private slots:
    void formOfTheTextNeverMatters()
    {
        // Normal form: members in hash order, CR LF, a byte-order mark.
        TViraGlyphbook normal = document(R"({"GLYPHBOOK":[{"Identifier":"pump","Image":"p.png",
            "ImageX":12,"ImageY":-3,"NAME":{"en":"Pump","sv":"Pump"},"Symbol":"true",
            "TextAlign":"Left","TextX":4,"TextY":5,"StateImages":[{"Value":"1","Image":"r.png"}]}]})");
        normal.LoadFromBytes(normal.SaveToBytes(), u"normal.js"_s);
        // The same by hand: comments, members in another order, integers as text, LF only.
        const TViraGlyphbook byHand = document("// hand-made\n{GLYPHBOOK: [ /* one */ {\n"
                                               " StateImages: [{Image: 'r.png', Value: 1,},],\n"
                                               " TextY: '$5', TextX: '0x04', TextAlign: Left,\n"
                                               " NAME: {sv: Pump, en: Pump}, Symbol: 'true',\n"
                                               " ImageY: '-3', ImageX: 12, Image: p.png,\n"
                                               " Identifier: pump,\n}]}\n");
        const TLibraryDiff diff = CompareLibraries(normal, byHand, {}, {});
        QVERIFY2(diff.IsEmpty(), qPrintable(changeLines(diff).join(u'\n')));
    }

    void fieldChanges_data()
    {
        QTest::addColumn<QString>("before");
        QTest::addColumn<QString>("after");
        QTest::addColumn<QStringList>("changes");

        QTest::newRow("anchor") << u"a anchor=1,2"_s << u"a anchor=1,3"_s
                                << QStringList{u"a anchor: 1,2 -> 1,3"_s};
        QTest::newRow("text point and alignment")
            << u"a symbol=true text-point=1,1 alignment=Left"_s
            << u"a symbol=true text-point=2,1 alignment=Center"_s
            << QStringList{u"a text-point: 1,1 -> 2,1"_s, u"a alignment: Left -> Center"_s};
        QTest::newRow("made a plain picture: its symbol fields go")
            << u"a symbol=true text-point=1,1 state[1]=r.png"_s << u"a"_s
            << QStringList{u"a symbol: true -> false"_s, u"a text-point: 1,1 -> (none)"_s,
                           u"a alignment: Right -> (none)"_s,
                           u"a state[1]: r.png (missing) -> (none)"_s};
        QTest::newRow("names per language, in language order")
            << u"a name[en]=Pump name[sv]=Pump"_s << u"a name[en]=Pumpe name[de]=Pumpe"_s
            << QStringList{u"a name[de]: (none) -> Pumpe"_s, u"a name[en]: Pump -> Pumpe"_s,
                           u"a name[sv]: Pump -> (none)"_s};
        QTest::newRow("states by value, their order no difference")
            << u"a symbol=true state[1]=r.png state[Alarm]=al.png"_s
            << u"a symbol=true state[Alarm]=al.png state[1]=r.png"_s << QStringList();
        QTest::newRow("state picture changed, state added")
            << u"a symbol=true state[1]=r.png state[2]=s.png"_s
            << u"a symbol=true state[3]=t.png state[2]=u.png"_s
            << QStringList{u"a state[3]: (none) -> t.png (missing)"_s,
                           u"a state[2]: s.png (missing) -> u.png (missing)"_s,
                           u"a state[1]: r.png (missing) -> (none)"_s};
        QTest::newRow("a repeated state value by occurrence")
            << u"a symbol=true state[1]=r.png state[1]=s.png"_s
            << u"a symbol=true state[1]=r.png state[1]=t.png"_s
            << QStringList{u"a state[1] #2: s.png (missing) -> t.png (missing)"_s};
        QTest::newRow("a repeated identifier by occurrence")
            << u"p anchor=1,1; q; p anchor=2,2"_s << u"p anchor=1,1; q; p anchor=3,3"_s
            << QStringList{u"p #2 anchor: 2,2 -> 3,3"_s};
    }

    void fieldChanges()
    {
        QFETCH(QString, before);
        QFETCH(QString, after);
        QFETCH(QStringList, changes);
        const TLibraryDiff diff =
            CompareLibraries(compactLibrary(before), compactLibrary(after), {}, {});
        QCOMPARE(changeLines(diff), changes);
        QVERIFY(diff.Added.isEmpty() && diff.Removed.isEmpty() && diff.Moved.isEmpty());
        QCOMPARE(diff.IsEmpty(), changes.isEmpty());
    }

    void order_data()
    {
        QTest::addColumn<QString>("before");
        QTest::addColumn<QString>("after");
        QTest::addColumn<QStringList>("places");

        QTest::newRow("same") << u"a;b;c"_s << u"a;b;c"_s << QStringList();
        QTest::newRow("appended") << u"a;b"_s << u"a;b;c"_s << QStringList{u"added c 3"_s};
        QTest::newRow("inserted: nothing else moves")
            << u"a;b;c"_s << u"a;x;b;c"_s << QStringList{u"added x 2"_s};
        QTest::newRow("removed: nothing else moves")
            << u"a;b;c"_s << u"a;c"_s << QStringList{u"removed b 2"_s};
        QTest::newRow("last to first: one move")
            << u"a;b;c;d"_s << u"d;a;b;c"_s << QStringList{u"moved d 4->1"_s};
        QTest::newRow("first to last: one move")
            << u"a;b;c;d"_s << u"b;c;d;a"_s << QStringList{u"moved a 1->4"_s};
        QTest::newRow("swapped") << u"a;b"_s << u"b;a"_s << QStringList{u"moved b 2->1"_s};
        QTest::newRow("removed and moved")
            << u"a;b;c;d"_s << u"c;a;d"_s << QStringList{u"removed b 2"_s, u"moved c 3->1"_s};
        QTest::newRow("repeated identifier: the occurrence moves")
            << u"p;q;p"_s << u"p;p;q"_s << QStringList{u"moved p #2 3->2"_s};
        QTest::newRow("repeated identifier: the later one goes")
            << u"p;q;p"_s << u"p;q"_s << QStringList{u"removed p #2 3"_s};
    }

    void order()
    {
        QFETCH(QString, before);
        QFETCH(QString, after);
        QFETCH(QStringList, places);
        const TLibraryDiff diff =
            CompareLibraries(compactLibrary(before), compactLibrary(after), {}, {});
        QCOMPARE(placeLines(diff), places);
        QCOMPARE(diff.Changed.size(), 0);
    }

    void picturesByContent_data()
    {
        QTest::addColumn<QString>("before");
        QTest::addColumn<QString>("after");
        QTest::addColumn<QStringList>("changes");

        // Old pictures: old/one.png and old/two.png; new: new/one.png, new/copy.png (the bytes
        // of old/one.png) and new/two.png (other bytes than old/two.png).
        QTest::newRow("same bytes under another path")
            << u"a picture=old/one.png"_s << u"a picture=new/copy.png"_s << QStringList();
        QTest::newRow("same state bytes under another path")
            << u"a symbol=true state[1]=old/one.png"_s << u"a symbol=true state[1]=new/one.png"_s
            << QStringList();
        QTest::newRow("other bytes")
            << u"a picture=old/two.png"_s << u"a picture=new/two.png"_s
            << QStringList{u"a picture: old/two.png (2x2 pixels, #3fc4ccfe) -> new/two.png "
                           "(2x2 pixels, #7692c3ad)"_s};
        QTest::newRow("both missing under one path")
            << u"a picture=gone.png"_s << u"a picture=gone.png"_s << QStringList();
        QTest::newRow("both missing under other paths")
            << u"a picture=gone.png"_s << u"a picture=lost.png"_s
            << QStringList{u"a picture: gone.png (missing) -> lost.png (missing)"_s};
        QTest::newRow("found")
            << u"a picture=old/gone.png"_s << u"a picture=new/one.png"_s
            << QStringList{u"a picture: old/gone.png (missing) -> new/one.png (2x2 pixels, "
                           "#7692c3ad)"_s};
    }

    void picturesByContent()
    {
        QFETCH(QString, before);
        QFETCH(QString, after);
        QFETCH(QStringList, changes);
        const TPictureReader oldPictures =
            picturesIn({{u"old/one.png"_s, "one"}, {u"old/two.png"_s, "two"}});
        const TPictureReader newPictures = picturesIn(
            {{u"new/one.png"_s, "one"}, {u"new/copy.png"_s, "one"}, {u"new/two.png"_s, "one"}});
        const TLibraryDiff diff = CompareLibraries(compactLibrary(before), compactLibrary(after),
                                                   oldPictures, newPictures);
        QCOMPARE(changeLines(diff), changes);
    }

    void shownTexts_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("shown");

        QTest::newRow("plain word") << u"pump_2,Ü.png"_s << u"pump_2,Ü.png"_s;
        QTest::newRow("empty") << QString() << u"\"\""_s;
        QTest::newRow("blank") << u"big pump"_s << u"\"big pump\""_s;
        QTest::newRow("looks like no value") << u"(none)"_s << u"\"(none)\""_s;
        QTest::newRow("looks like a field") << u"a=b"_s << u"\"a=b\""_s;
        QTest::newRow("quote and backslash") << u"say \"C:\\x\""_s << u"\"say \\\"C:\\\\x\\\"\""_s;
        QTest::newRow("lines of a name") << u"Pump\r\nbig"_s << u"\"Pump\\r\\nbig\""_s;
        QTest::newRow("control character") << u"a\x1b"_s << u"\"a\\x1b\""_s;
        QTest::newRow("beyond 16 bits prints") << u"\U0001F6B0"_s << u"\U0001F6B0"_s;
    }

    void shownTexts()
    {
        QFETCH(QString, text);
        QFETCH(QString, shown);
        QCOMPARE(ShownText(text), shown);
    }

    void symbolLineHasEveryFieldInAFixedOrder()
    {
        const TViraGlyphbook book = document(R"({GLYPHBOOK: [
            {Identifier: 'big pump', Image: 'art/p.png', ImageX: 1, ImageY: 2,
             NAME: {sv: 'Pump', en: 'Big pump'}, Symbol: 'true', TextAlign: Center, TextX: 3,
             TextY: 4, StateImages: [{Value: Alarm, Image: 'a.png'}, {Value: 1, Image: 'r.png'}]},
            {Identifier: frame, Image: 'f.png', ImageX: 0, ImageY: 0, NAME: {}, Symbol: 'false',
             TextX: 9, TextY: 9}]})");
        QCOMPARE(shownLines(book),
                 QStringList({u"\"big pump\" symbol=true picture=art/p.png anchor=1,2 "
                              "text-point=3,4 alignment=Center name[en]=\"Big pump\" "
                              "name[sv]=Pump state[Alarm]=a.png state[1]=r.png"_s,
                              u"frame symbol=false picture=f.png anchor=0,0"_s}));
    }
};

QTEST_GUILESS_MAIN(TestLibraryDiff)
#include "tst_librarydiff.moc"
