#include "catalog/tablecodes.h"

#include "core/numtext.h"

#include <algorithm>

namespace qm {

int readTableCode(const QString& text) {
    return textToInt(trimBlanks(text));
}

TableCodeList::TableCodeList(const CatalogStore& store, QObject* parent)
    : QAbstractTableModel(parent)
    , m_store(store) {}

void TableCodeList::load() {
    beginResetModel();
    m_rows = m_store.loadTableCodes().value_or(QList<StoredTableCode>());
    endResetModel();
}

QString TableCodeList::refusal(StoredTableCode& table) const {
    table.code = trimBlanks(table.code);
    table.name = trimBlanks(table.name);
    if (readTableCode(table.code) <= 0)
        return QStringLiteral("数字代号不能为空为 0，请输入代号后重试。");
    if (table.name.isEmpty())
        return QStringLiteral("桌号不能为空，请输入桌号后重试。");
    return {};
}

Outcome TableCodeList::add(const QString& code, const QString& name) {
    StoredTableCode table{code, name};
    if (const QString message = refusal(table); !message.isEmpty())
        return {false, message};
    if (const int row = findCode(table.code); row >= 0)
        return {false, QStringLiteral("代号已经存在，不能重复添加。"), row};
    if (const int row = findName(table.name); row >= 0)
        return {false, QStringLiteral("桌号已经存在，不能重复添加。"), row};
    if (!m_store.insertTableCode(table))
        return {};
    const int row = int(m_rows.size());
    beginInsertRows({}, row, row);
    m_rows.append(table);
    endInsertRows();
    return {true, QStringLiteral("保存完成。"), row};
}

Outcome TableCodeList::modify(const QString& code, const QString& name) {
    StoredTableCode table{code, name};
    if (const QString message = refusal(table); !message.isEmpty())
        return {false, message};
    if (findCode(table.code) >= 0)
        return {false, QStringLiteral("代号已存在，无法重复定义该代号。")};
    const int found = findName(table.name);
    if (!m_store.updateTableCodeByName(table.name, table.code))
        return {};
    // The statement changes every table of that name, so every row showing one follows.
    for (int row = 0; row < m_rows.size(); ++row) {
        if (m_rows[row].name == table.name) {
            m_rows[row].code = table.code;
            emit dataChanged(index(row, 0), index(row, ColumnCount - 1));
        }
    }
    return {true, QStringLiteral("修改完成。"), found};
}

Outcome TableCodeList::remove(int row, const std::function<bool(const QString&)>& confirm) {
    if (row < 0 || row >= m_rows.size())
        return {false, QStringLiteral("请选择要删除的项目。")};
    const QString name = m_rows[row].name;
    if (!confirm(QStringLiteral("是否删除桌号：") + name + QStringLiteral(" ?")))
        return {};
    if (!m_store.deleteTableCodeByName(name))
        return {};
    for (int r = int(m_rows.size()) - 1; r >= 0; --r) {
        if (m_rows[r].name == name) {
            beginRemoveRows({}, r, r);
            m_rows.removeAt(r);
            endRemoveRows();
        }
    }
    return {true, QStringLiteral("处理成功。"), std::min(row, int(m_rows.size()) - 1)};
}

int TableCodeList::findCode(const QString& code) const {
    for (int row = 0; row < m_rows.size(); ++row) {
        if (m_rows[row].code == code)
            return row;
    }
    return -1;
}

int TableCodeList::findName(const QString& name) const {
    for (int row = 0; row < m_rows.size(); ++row) {
        if (m_rows[row].name == name)
            return row;
    }
    return -1;
}

int TableCodeList::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(m_rows.size());
}

int TableCodeList::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant TableCodeList::data(const QModelIndex& index, int role) const {
    if (role != Qt::DisplayRole || !index.isValid() || index.row() >= m_rows.size())
        return {};
    switch (index.column()) {
    case Code:
        return m_rows[index.row()].code;
    case Name:
        return m_rows[index.row()].name;
    default:
        return QString();
    }
}

QVariant TableCodeList::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return {};
    switch (section) {
    case Code:
        return QStringLiteral("数字代号");
    case Name:
        return QStringLiteral("桌号");
    default:
        return QString();
    }
}

} // namespace qm
