#pragma once

#include "model/ViraSymbol.h"

#include <QHash>
#include <QIcon>
#include <QList>
#include <QTreeWidget>

class QCheckBox;
class QLineEdit;
class TAnchorLayout;
class TErrorGuard;
class TGlyphbookDocument;
class TSymbolListItem;

/// The symbol list: a row per symbol with its identifier, icon and names in the shown
/// languages, sorted by identifier, and the find bar over its bottom. It shows what the
/// document holds and selects in the document; the commands it starts (a double click, the
/// Delete key, pictures dropped) go to whoever listens.
class TSymbolListPanel : public QTreeWidget
{
    Q_OBJECT

public:
    /// The list at its designed place in Parent, with its find bar; Anchors keeps the bar at
    /// the list's bottom.
    TSymbolListPanel(TGlyphbookDocument &Document, const TErrorGuard &Guard, TAnchorLayout &Anchors,
                     QWidget *Parent);

    /// The four 16 x 16 row icons: ico_symb, ico_symbR, ico_image, ico_imageErr.
    const QList<QIcon> &Icons() const { return FIcons; }

    /// Writes Symbol's caption, icon and names into Row.
    void FillListItem(TSymbolListItem *Row, const TViraSymbolPtr &Symbol);
    /// Gives every row the icon of its symbol's kind; a missing image shows again only when the
    /// row is filled anew.
    void RefreshListIcons();
    /// The selected row, or none.
    TSymbolListItem *SelectedRow() const;
    /// Makes Symbol's row visible (closing the find bar when it hides the row).
    void RevealSymbol(const TViraSymbolPtr &Symbol);

    // The find bar.
    /// Shows the find bar and puts the focus into its field.
    void ShowFindBar();
    /// Clears and hides the find bar: every row shows again.
    void CloseFind();
    /// Shows only the rows that match the find bar; the selected row stays selected while it
    /// matches.
    void ApplyFind();

signals:
    /// A double click: the user wants a new symbol.
    void addSymbolRequested();
    /// The Delete key: the user wants the selected symbol deleted.
    void deleteSymbolRequested();
    /// Picture files dropped on the list, to become new symbols.
    void picturesDropped(const QStringList &Pictures);

protected:
    bool eventFilter(QObject *Watched, QEvent *Event) override;
    void keyPressEvent(QKeyEvent *Event) override;

private:
    TGlyphbookDocument &FDocument;
    const TErrorGuard &FGuard;
    TAnchorLayout &FAnchors;
    QList<QIcon> FIcons;
    /// The row of each symbol: a large list is not searched row by row on every change.
    QHash<const TViraSymbol *, TSymbolListItem *> FRows;
    QWidget *FFindBar = nullptr;
    QLineEdit *FFindField = nullptr;
    QCheckBox *FMissingNames = nullptr;
    /// The list follows the document's selection: its own selection events change nothing.
    bool FFollowing = false;

    void CreateFindBar();
    void OnSelectionChanged(const QItemSelection &Selected, const QItemSelection &Deselected);

    // What the document says.
    void ShowLibrary();
    void ShowInserted(const QList<int> &Places);
    void ShowRemoved(const QList<TViraSymbolPtr> &Symbols);
    void ShowSelection(const TViraSymbolPtr &Symbol);
    void ShowImageMark(const TViraSymbolPtr &Symbol);
    void ShowLanguages();
    /// Writes the caption and the names of every row of Symbol.
    void RefreshSymbolRows(const TViraSymbolPtr &Symbol);

    /// The row of Symbol, or none.
    TSymbolListItem *RowOf(const TViraSymbolPtr &Symbol) const;
    /// Makes Row the selected, focused and visible row.
    void SelectRow(QTreeWidgetItem *Row);
    /// Adds a filled row per symbol, sorting once at the end when there are many.
    void AddRows(const QList<TViraSymbolPtr> &Symbols);
    /// Removes every row without reporting the selected row's loss.
    void RemoveAllRows();
    /// Symbol's name in the language of each language column, in column order.
    QStringList NamesByColumn(const TViraSymbol &Symbol) const;
    void FillRowNamesByLanguage();
    /// Shares the list's client width between the language columns.
    void ShareColumnWidths();
    /// Filters the rows again after they were refilled, while the find bar shows.
    void ReapplyFind();
};
