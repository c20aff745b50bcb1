#include "ui/SymbolListItem.h"

#include <QCollator>
#include <QHeaderView>
#include <QTreeWidget>

namespace
{
const QCollator &captionCollator()
{
    static const QCollator collator = [] {
        QCollator c;
        c.setCaseSensitivity(Qt::CaseSensitive);
        return c;
    }();
    return collator;
}
} // namespace

TSymbolListItem::TSymbolListItem(TViraSymbolPtr Symbol)
    : QTreeWidgetItem(QTreeWidgetItem::UserType), Symbol(std::move(Symbol))
{
}

void TSymbolListItem::setData(int Column, int Role, const QVariant &Value)
{
    if (Column == 0 && Role == Qt::DisplayRole)
        FKey = captionCollator().sortKey(Value.toString());
    QTreeWidgetItem::setData(Column, Role, Value);
}

bool TSymbolListItem::operator<(const QTreeWidgetItem &Other) const
{
    if (Other.type() == QTreeWidgetItem::UserType) {
        const auto &other = static_cast<const TSymbolListItem &>(Other);
        if (FKey && other.FKey)
            return FKey->compare(*other.FKey) < 0;
    }
    return captionCollator().compare(text(0), Other.text(0)) < 0;
}

void TSymbolListItem::SetSubItems(const QStringList &Texts)
{
    const int used = columnCount();
    for (int k = 0; k < Texts.size(); ++k)
        setText(k + 1, Texts[k]);
    for (int column = Texts.size() + 1; column < used; ++column)
        setData(column, Qt::DisplayRole, QVariant());
}

TListSortSuspension::TListSortSuspension(QTreeWidget *List) : FList(List)
{
    FList->setSortingEnabled(false);
}

TListSortSuspension::~TListSortSuspension()
{
    SortByCaption(FList);
}

void TListSortSuspension::SortByCaption(QTreeWidget *List)
{
    List->header()->setSortIndicator(0, Qt::AscendingOrder);
    List->setSortingEnabled(true);
    // Turning sorting on makes the header clickable; the order is the captions' alone.
    List->header()->setSectionsClickable(false);
    List->header()->setSortIndicatorShown(false);
}
