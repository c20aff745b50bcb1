#pragma once

#include "model/ViraSymbol.h"

#include <QCollatorSortKey>
#include <QTreeWidgetItem>

#include <optional>

class QTreeWidget;

/// A row of the symbol list: refers to its symbol and sorts by caption with the locale-aware,
/// case-sensitive comparison. The caption's sort key is computed once per caption change, so
/// sorting many rows compares keys rather than collating strings again and again.
class TSymbolListItem : public QTreeWidgetItem
{
public:
    explicit TSymbolListItem(TViraSymbolPtr Symbol);

    TViraSymbolPtr Symbol;

    void setData(int Column, int Role, const QVariant &Value) override;
    bool operator<(const QTreeWidgetItem &Other) const override;

    /// Replaces the sub-items (columns 1 and up) by Texts; columns beyond them become empty.
    void SetSubItems(const QStringList &Texts);

private:
    std::optional<QCollatorSortKey> FKey;
};

/// Keeps a symbol list's rows unsorted while many of them are added or rewritten, and sorts
/// them once by caption when it ends. The list always sorts by its captions, ascending; its
/// header offers no other order.
class TListSortSuspension
{
public:
    explicit TListSortSuspension(QTreeWidget *List);
    ~TListSortSuspension();
    TListSortSuspension(const TListSortSuspension &) = delete;
    TListSortSuspension &operator=(const TListSortSuspension &) = delete;

    /// Turns on sorting by caption, ascending, with a header that cannot change it.
    static void SortByCaption(QTreeWidget *List);

private:
    QTreeWidget *FList;
};
