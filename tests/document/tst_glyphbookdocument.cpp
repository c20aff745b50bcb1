// The document: every change is one undo step made by its command, edits of one kind join,
// typing back to where it started leaves no step, and undo shows the symbol it restores.
#include "document/GlyphbookDocument.h"

#include <QSignalSpy>
#include <QTest>
#include <QUndoStack>

using namespace Qt::StringLiterals;

class TestGlyphbookDocument : public QObject
{
    Q_OBJECT

private slots:
    void changeIsAStepThatUndoesAndRedoes();
    void editsJoin_data();
    void editsJoin();
    void addAndRemoveShowTheSymbolsAgain();
    void changesWhileAChangeIsMadeJoinIt();
    void stepsFollowTheLibraryAfterItsObjectsAreReplaced();
};

namespace
{
TViraSymbolPtr symbol(const QString &Identifier)
{
    auto made = std::make_shared<TViraSymbol>();
    made->Identifier = Identifier;
    return made;
}

/// Symbol's content with Identifier and ImageX.
TViraSymbol edited(const TViraSymbolPtr &Symbol, const QString &Identifier, qint32 ImageX)
{
    TViraSymbol after = *Symbol;
    after.Identifier = Identifier;
    after.ImageX = ImageX;
    return after;
}
} // namespace

void TestGlyphbookDocument::changeIsAStepThatUndoesAndRedoes()
{
    TGlyphbookDocument document;
    const TViraSymbolPtr pump = symbol(u"pump"_s);
    document.ResetLibrary({pump});
    pump->Error = true;
    QSignalSpy changed(&document, &TGlyphbookDocument::symbolChanged);
    QSignalSpy saved(&document, &TGlyphbookDocument::savedChanged);

    document.ChangeSymbol(pump, edited(pump, u"valve"_s, 4), {u"Edit Identifier"_s});
    QCOMPARE(pump->Identifier, u"valve"_s);
    QCOMPARE(changed.size(), 1);
    QVERIFY(!document.IsSaved());
    QCOMPARE(saved.takeFirst().value(0).toBool(), false);
    QCOMPARE(document.UndoStack()->undoText(), u"Edit Identifier"_s);

    document.UndoStack()->undo();
    QCOMPARE(pump->Identifier, u"pump"_s);
    QCOMPARE(pump->ImageX, 0);
    // The missing-image mark is the views' and no content: undo leaves it.
    QVERIFY(pump->Error);
    // Undo shows the symbol it brought back.
    QCOMPARE(document.SelectedSymbol(), pump);
    QVERIFY(document.IsSaved());
    document.UndoStack()->redo();
    QCOMPARE(pump->Identifier, u"valve"_s);
    QCOMPARE(pump->ImageX, 4);

    // A change to what the symbol holds already is no step.
    document.ChangeSymbol(pump, *pump, {u"Edit Identifier"_s});
    QCOMPARE(document.UndoStack()->count(), 1);
}

void TestGlyphbookDocument::editsJoin_data()
{
    QTest::addColumn<int>("firstId");
    QTest::addColumn<int>("secondId");
    QTest::addColumn<int>("secondDetail");
    QTest::addColumn<QString>("secondIdentifier");
    QTest::addColumn<int>("steps");
    const int name = int(TStepId::EditName);
    const int none = int(TStepId::None);
    QTest::newRow("keystrokes in one field") << name << name << 0 << u"ab"_s << 1;
    QTest::newRow("typed back to the start") << name << name << 0 << u"pump"_s << 0;
    QTest::newRow("another field") << name << name << 1 << u"ab"_s << 2;
    QTest::newRow("another kind") << name << int(TStepId::EditIdentifier) << 0 << u"ab"_s << 2;
    QTest::newRow("steps that never join") << none << none << 0 << u"ab"_s << 2;
}

void TestGlyphbookDocument::editsJoin()
{
    QFETCH(int, firstId);
    QFETCH(int, secondId);
    QFETCH(int, secondDetail);
    QFETCH(QString, secondIdentifier);
    QFETCH(int, steps);
    TGlyphbookDocument document;
    const TViraSymbolPtr pump = symbol(u"pump"_s);
    document.ResetLibrary({pump});
    document.ChangeSymbol(pump, edited(pump, u"a"_s, 0), {u"Edit"_s, TStepId(firstId), 0});
    document.ChangeSymbol(pump, edited(pump, secondIdentifier, 0),
                          {u"Edit"_s, TStepId(secondId), secondDetail});
    QCOMPARE(document.UndoStack()->count(), steps);
    QCOMPARE(document.IsSaved(), steps == 0);
    while (document.UndoStack()->canUndo())
        document.UndoStack()->undo();
    QCOMPARE(pump->Identifier, u"pump"_s);
}

void TestGlyphbookDocument::addAndRemoveShowTheSymbolsAgain()
{
    TGlyphbookDocument document;
    const TViraSymbolPtr pump = symbol(u"pump"_s);
    const TViraSymbolPtr valve = symbol(u"valve"_s);
    document.ResetLibrary({pump, valve});
    document.SetSelectedSymbol(valve);

    const TViraSymbolPtr fan = symbol(u"fan"_s);
    QSignalSpy inserted(&document, &TGlyphbookDocument::symbolsInserted);
    document.AddSymbols({fan}, u"Add Symbol"_s);
    QCOMPARE(document.Symbols(), (QList<TViraSymbolPtr>{pump, valve, fan}));
    QCOMPARE(inserted.takeFirst().value(0).value<QList<int>>(), QList<int>{2});
    document.SetSelectedSymbol(fan);
    document.UndoStack()->undo();
    QCOMPARE(document.Symbols(), (QList<TViraSymbolPtr>{pump, valve}));
    // The symbol selected before the addition is shown again.
    QCOMPARE(document.SelectedSymbol(), valve);
    document.UndoStack()->redo();
    QCOMPARE(document.SelectedSymbol(), fan);

    QSignalSpy removed(&document, &TGlyphbookDocument::symbolsRemoved);
    document.RemoveSymbol(0);
    QCOMPARE(document.Symbols(), (QList<TViraSymbolPtr>{valve, fan}));
    QCOMPARE(removed.takeFirst().value(0).value<QList<TViraSymbolPtr>>(),
             QList<TViraSymbolPtr>{pump});
    QCOMPARE(document.UndoStack()->undoText(), u"Delete Symbol"_s);
    document.UndoStack()->undo();
    QCOMPARE(document.Symbols(), (QList<TViraSymbolPtr>{pump, valve, fan}));
    QCOMPARE(document.SelectedSymbol(), pump);
}

void TestGlyphbookDocument::changesWhileAChangeIsMadeJoinIt()
{
    TGlyphbookDocument document;
    const TViraSymbolPtr pump = symbol(u"pump"_s);
    document.ResetLibrary({pump});
    // A view that writes back what it shows, as the settings do: a new identifier moves the
    // anchor.
    connect(&document, &TGlyphbookDocument::symbolChanged, &document, [&] {
        if (pump->ImageX == 0)
            document.ChangeSymbol(pump, edited(pump, pump->Identifier, 7), {u"Other"_s});
    });
    document.ChangeSymbol(pump, edited(pump, u"valve"_s, 0), {u"Edit Identifier"_s});
    QCOMPARE(pump->ImageX, 7);
    QCOMPARE(document.UndoStack()->count(), 1);
    document.UndoStack()->undo();
    // Undo gives back exactly what was there, whatever the views write while they show it.
    QCOMPARE(pump->Identifier, u"pump"_s);
    QCOMPARE(pump->ImageX, 0);
    QCOMPARE(document.UndoStack()->count(), 1);
    document.UndoStack()->redo();
    QCOMPARE(pump->Identifier, u"valve"_s);
    QCOMPARE(pump->ImageX, 7);
}

void TestGlyphbookDocument::stepsFollowTheLibraryAfterItsObjectsAreReplaced()
{
    TGlyphbookDocument document;
    const TViraSymbolPtr pump = symbol(u"pump"_s);
    document.ResetLibrary({symbol(u"first"_s), pump});
    document.ChangeSymbol(pump, edited(pump, u"valve"_s, 3), {u"Edit Identifier"_s});
    // Packing reloads the library: the same content as other objects.
    const TViraSymbolPtr reloaded = std::make_shared<TViraSymbol>(*pump);
    document.ReplaceSymbolObjects({document.Symbols().first(), reloaded}, 1);
    QCOMPARE(document.SelectedSymbol(), reloaded);
    document.UndoStack()->undo();
    QCOMPARE(reloaded->Identifier, u"pump"_s);
    QCOMPARE(pump->Identifier, u"valve"_s);
}

QTEST_MAIN(TestGlyphbookDocument)
#include "tst_glyphbookdocument.moc"
