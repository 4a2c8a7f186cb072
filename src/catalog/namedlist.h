#pragma once

#include "catalog/outcome.h"
#include "core/filllist.h"
#include "store/catalogstore.h"

#include <QStringList>

// The one-column list windows: 计量单位设置 (units), 票头设置, 店铺名称设置, 优惠减免设置 and 出品部门设置
// (kitchen stations).
namespace qm {

// The window title of a list.
QString namedListTitle(NamedList list);

// The items of a list window's combo box and its 保存 and 删除 actions. Texts are taken untrimmed and
// compared exactly. All messages of these windows carry the information icon and the caption 提示.
class NamedListItems {
public:
    NamedListItems(const CatalogStore& store, NamedList list)
        : m_store(store)
        , m_list(list) {}

    // Units and stations are listed plain; the other lists start with an empty item (fill list from table).
    // Returns the item to select, -1 for none.
    int load(const QString& currentText);
    const QStringList& items() const { return m_items; }

    // On success the text is appended as the last item (the outcome's row).
    Outcome save(const QString& text);
    // On success the first item with the text is removed (the outcome's row).
    Outcome remove(const QString& text);

private:
    const CatalogStore& m_store;
    NamedList m_list;
    QStringList m_items;
};

} // namespace qm
