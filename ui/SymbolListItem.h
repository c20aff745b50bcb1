#pragma once

#include "model/ViraSymbol.h"

#include <QCollatorSortKey>
#include <QTreeWidgetItem>

#include <optional>

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
