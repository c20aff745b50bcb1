#pragma once

#include "tests/TestFiles.h"
#include "tests/support/NamedChild.h"
#include "tests/support/ScriptedDialogs.h"
#include "ui/CheckLibraryWindow.h"
#include "ui/DottedLine.h"
#include "ui/ImageStripPanel.h"
#include "ui/MainGlyphbook.h"
#include "ui/PreviewMagnifier.h"
#include "ui/SymbolImgPanels.h"
#include "ui/SymbolListItem.h"
#include "ui/SymbolListPanel.h"
#include "ui/SymbolPreviewPanel.h"
#include "ui/SymbolSettingsPanel.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QHeaderView>
#include <QImage>
#include <QKeySequence>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QScrollArea>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>
#include <QUrl>

#include <functional>
#include <initializer_list>
#include <memory>

using namespace Qt::StringLiterals;

/// A list of ASCII texts, for expected values in tables.
inline QStringList Strings(std::initializer_list<const char *> Texts)
{
    QStringList list;
    for (const char *text : Texts)
        list.append(QString::fromUtf8(text));
    return list;
}

/// A window over a temporary program folder, with scripted dialogs.
class TWindowFixture
{
public:
    QTemporaryDir Folder;
    /// The user's own folders (recovery copies, settings), never the real user's.
    QTemporaryDir Home;
    TScriptedDialogs Dialogs;
    std::unique_ptr<TMainForm> Window;

    TWindowFixture() { UseHome(Home.path()); }

    /// Points the per-user data and settings folders into Path.
    static void UseHome(const QString &Path)
    {
        qputenv("XDG_DATA_HOME", QDir(Path).filePath(QStringLiteral("data")).toLocal8Bit());
        qputenv("XDG_CONFIG_HOME", QDir(Path).filePath(QStringLiteral("config")).toLocal8Bit());
    }

    QString Path(const QString &RelativePath) const { return Folder.filePath(RelativePath); }

    void WriteFile(const QString &RelativePath, const QByteArray &Bytes) const
    {
        writeFile(Path(RelativePath), Bytes);
    }

    /// Writes a PNG picture of one colour and returns its full path.
    QString WritePicture(const QString &RelativePath, QSize Size, QColor Colour = Qt::red) const
    {
        const QString path = Path(RelativePath);
        QDir().mkpath(QFileInfo(path).path());
        QImage picture(Size, QImage::Format_ARGB32);
        picture.fill(Colour);
        if (!picture.save(path, "PNG"))
            qFatal("cannot write %s", qPrintable(path));
        return path;
    }

    TMainForm &Create()
    {
        Window = std::make_unique<TMainForm>(Dialogs, Folder.path());
        return *Window;
    }

    /// Creates the window shown and active, as the mouse and keyboard need it.
    TMainForm &CreateActive()
    {
        TMainForm &window = Create();
        window.show();
        if (!QTest::qWaitForWindowActive(&window))
            qFatal("window not active");
        return window;
    }
};

/// The Languages menu as text: each entry's caption followed by "+" when checked, "-" when
/// not, separated by blanks.
inline QString LanguageMenu(const TMainForm &Window)
{
    QStringList entries;
    for (const QAction *entry : Named<QMenu>(Window, "mmLanguages")->actions())
        entries.append(entry->text() + (entry->isChecked() ? u'+' : u'-'));
    return entries.join(u' ');
}

inline QStringList ColumnCaptions(const TMainForm &Window)
{
    QStringList captions;
    for (int column = 0; column < Named<TSymbolListPanel>(Window, "dLV_Symbols")->columnCount();
         ++column)
        captions.append(Named<TSymbolListPanel>(Window, "dLV_Symbols")->headerItem()->text(column));
    return captions;
}

/// Row texts in list order: caption, then the sub-items of the shown columns, "|" between.
inline QStringList RowTexts(const TMainForm &Window)
{
    QStringList rows;
    const QTreeWidget *list = Named<TSymbolListPanel>(Window, "dLV_Symbols");
    for (int row = 0; row < list->topLevelItemCount(); ++row) {
        QStringList cells;
        for (int column = 0; column < list->columnCount(); ++column)
            cells.append(list->topLevelItem(row)->text(column));
        rows.append(cells.join(u'|'));
    }
    return rows;
}

inline TViraSymbolPtr MakeSymbol(const QString &Identifier, QList<TStringPairs> Names)
{
    auto symbol = std::make_shared<TViraSymbol>();
    symbol->Identifier = Identifier;
    symbol->Symbol = true;
    symbol->Names = std::move(Names);
    return symbol;
}

/// The index into sILIcons of a row's icon, or -1.
inline int IconIndex(const TMainForm &Window, const QTreeWidgetItem *Row)
{
    const qint64 key = Row->icon(0).cacheKey();
    const QList<QIcon> &icons = Named<TSymbolListPanel>(Window, "dLV_Symbols")->Icons();
    for (int k = 0; k < icons.size(); ++k)
        if (icons[k].cacheKey() == key)
            return k;
    return -1;
}

/// Puts symbols into the window's library and list as a loaded project would have them.
inline void AddSymbols(TMainForm &Window, const QList<TViraSymbolPtr> &Symbols)
{
    Window.Document().ResetLibrary(Window.Document().Symbols() + Symbols);
}

/// Shows Symbol's image Index (-1: the main image) as the selected symbol, whether the library
/// holds it or not.
inline void showSymbol(TMainForm &Window, const TViraSymbolPtr &Symbol, int Index)
{
    Window.Document().SetSelectedSymbol(Symbol);
    Named<TSymbolPreviewPanel>(Window, "ImageGrid")->ShowSymbolImage(Symbol, Index);
}

/// Changes the symbol at Index of the window's library through its document, as one step.
inline void editSymbol(TMainForm &Window, int Index, const std::function<void(TViraSymbol &)> &Edit)
{
    const TViraSymbolPtr symbol = Window.Document().Symbols().at(Index);
    TViraSymbol after = *symbol;
    Edit(after);
    Window.Document().ChangeSymbol(symbol, after, {});
}

/// The document a save of the window's library writes.
inline QByteArray SavedBytes(const TMainForm &Window)
{
    TViraGlyphbook library = Window.Document().Library();
    return library.SaveToBytes();
}

/// The row whose caption is Caption, or null unless exactly one row has it.
inline TSymbolListItem *rowOf(const TMainForm &Window, const QString &Caption)
{
    const QList<QTreeWidgetItem *> rows =
        Named<TSymbolListPanel>(Window, "dLV_Symbols")
            ->findItems(Caption, Qt::MatchExactly | Qt::MatchCaseSensitive);
    return rows.size() == 1 ? static_cast<TSymbolListItem *>(rows.first()) : nullptr;
}

/// Selects the row of Symbol in the list, as the arrow keys do; the selection handler runs.
inline void selectSymbol(TMainForm &Window, const TViraSymbolPtr &Symbol)
{
    QTreeWidget *list = Named<TSymbolListPanel>(Window, "dLV_Symbols");
    for (int row = 0; row < list->topLevelItemCount(); ++row)
        if (static_cast<TSymbolListItem *>(list->topLevelItem(row))->Symbol == Symbol) {
            list->setCurrentItem(list->topLevelItem(row));
            return;
        }
    QFAIL("the symbol has no row");
}

/// Clicks the row captioned Caption with the mouse, as a user selects it; the window must be
/// shown. Its symbol becomes the selected one.
inline void clickRow(TMainForm &Window, const QString &Caption)
{
    TSymbolListItem *row = rowOf(Window, Caption);
    QVERIFY2(row, qPrintable(Caption));
    QTreeWidget *list = Named<TSymbolListPanel>(Window, "dLV_Symbols");
    list->scrollToItem(row);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(row).center());
    QCOMPARE(Window.SelectedSymbol(), row->Symbol);
}

/// Every tile of the image strip, in no promised order.
inline QList<TSymbolImgPanel *> tilesOf(const TMainForm &Window)
{
    return Named<TImageStripPanel>(Window, "sbImagesScrollBox")
        ->widget()
        ->findChildren<TSymbolImgPanel *>(QString(), Qt::FindDirectChildrenOnly);
}

/// The strip's tile of an image index (-1: the main image), or null.
inline TSymbolImgPanel *tileOf(const TMainForm &Window, int ImageIndex)
{
    for (TSymbolImgPanel *tile : tilesOf(Window))
        if (tile->ImageIndex == ImageIndex)
            return tile;
    return nullptr;
}

/// Replaces a field's text by Text as a user does: a double click into it, everything
/// selected and erased, then Text key by key.
inline void retype(QLineEdit *Field, const QString &Text)
{
    QTest::mouseDClick(Field, Qt::LeftButton);
    Field->selectAll();
    QTest::keyClick(Field, Qt::Key_Backspace);
    QTest::keyClicks(Field, Text);
}

inline void pressShortcut(TMainForm &Window, QKeyCombination Keys)
{
    QTest::keySequence(&Window, QKeySequence(Keys));
}

/// Drops files from the desktop on Target, as a file manager does.
inline void dropFiles(QWidget *Target, const QStringList &Files)
{
    QMimeData data;
    QList<QUrl> urls;
    for (const QString &file : Files)
        urls.append(QUrl::fromLocalFile(file));
    data.setUrls(urls);
    QDragEnterEvent enter(QPoint(30, 30), Qt::CopyAction, &data, Qt::LeftButton, {});
    QCoreApplication::sendEvent(Target, &enter);
    QDropEvent drop(QPoint(30, 30), Qt::CopyAction, &data, Qt::LeftButton, {});
    QCoreApplication::sendEvent(Target, &drop);
    // Dropped files are taken once the drop has returned.
    QCoreApplication::processEvents();
}
