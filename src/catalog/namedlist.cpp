#include "catalog/namedlist.h"

namespace qm {

QString namedListTitle(NamedList list) {
    switch (list) {
    case NamedList::Units:
        return QStringLiteral("计量单位设置");
    case NamedList::TicketHeaders:
        return QStringLiteral("票头设置");
    case NamedList::ShopNames:
        return QStringLiteral("店铺名称设置");
    case NamedList::Discounts:
        return QStringLiteral("优惠减免设置");
    case NamedList::Stations:
        return QStringLiteral("出品部门设置");
    }
    return {};
}

int NamedListItems::load(const QString& currentText) {
    const QStringList column = m_store.loadNamedList(m_list).value_or(QStringList());
    if (m_list == NamedList::Units || m_list == NamedList::Stations) {
        m_items = column;
        return -1;
    }
    const FilledList filled = fillListFromTable(column, currentText);
    m_items = filled.items;
    return filled.selected;
}

Outcome NamedListItems::save(const QString& text) {
    if (text.isEmpty())
        return {false, QStringLiteral("请填入要添加的内容")};
    if (m_items.contains(text))
        return {false, QStringLiteral("该项已存在")};
    if (!m_store.insertNamed(m_list, text))
        return {};
    m_items.append(text);
    return {true, QStringLiteral("保存完成"), int(m_items.size()) - 1};
}

Outcome NamedListItems::remove(const QString& text) {
    const int row = text.isEmpty() ? -1 : int(m_items.indexOf(text));
    if (row < 0)
        return {false, QStringLiteral("请填入或选择要删除的内容")};
    if (!m_store.deleteNamed(m_list, text))
        return {false, QStringLiteral("删除失败")};
    m_items.removeAt(row);
    return {true, QStringLiteral("删除完成"), row};
}

} // namespace qm
