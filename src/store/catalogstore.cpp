#include "store/catalogstore.h"

#include "core/numtext.h"
#include "store/database.h"

#include <QSqlQuery>
#include <QVariant>

namespace qm {

namespace {

struct NamedTable {
    const char* table;
    const char* column;
};

NamedTable namedTable(NamedList list) {
    switch (list) {
    case NamedList::Units:
        return {"单位", "单位名称"};
    case NamedList::TicketHeaders:
        return {"票头设置", "票头"};
    case NamedList::ShopNames:
        return {"店名", "店铺名称"};
    case NamedList::Discounts:
        return {"减免", "减免名称"};
    case NamedList::Stations:
        return {"出品部门", "部门名称"};
    }
    return {"单位", "单位名称"};
}

// A statement on a one-column list: %1 stands for the table, %2 for its column.
QString namedSql(const char* pattern, NamedList list) {
    const NamedTable t = namedTable(list);
    return QString::fromUtf8(pattern).arg(QString::fromUtf8(t.table), QString::fromUtf8(t.column));
}

} // namespace

std::optional<QList<StoredDish>> CatalogStore::loadDishes() const {
    QSqlQuery query =
        m_db.prepare(QStringLiteral("SELECT 代码, 字母, 菜名, 价格, 单位, 出品部门 FROM 菜单 ORDER BY ID"));
    if (!query.exec())
        return std::nullopt;
    QList<StoredDish> dishes;
    while (query.next()) {
        dishes.append({query.value(0).toString(), query.value(1).toString(), query.value(2).toString(),
                       textToNumber(query.value(3).toString()), query.value(4).toString(),
                       query.value(5).toString()});
    }
    return dishes;
}

std::optional<QHash<QString, QString>> CatalogStore::loadDishStations() const {
    QSqlQuery query = m_db.prepare(QStringLiteral("SELECT 菜名, 出品部门 FROM 菜单 ORDER BY ID"));
    if (!query.exec())
        return std::nullopt;
    QHash<QString, QString> stations;
    while (query.next()) {
        const QString name = query.value(0).toString();
        if (!stations.contains(name))
            stations.insert(name, query.value(1).toString());
    }
    return stations;
}

bool CatalogStore::insertDish(const StoredDish& dish) const {
    return m_db.exec(
        QStringLiteral("INSERT INTO 菜单 (代码, 字母, 菜名, 价格, 单位, 出品部门) VALUES (?, ?, ?, ?, ?, ?)"),
        {dish.code, dish.letters, dish.name, dish.price, dish.unit, dish.station});
}

bool CatalogStore::updateDishByName(const StoredDish& dish) const {
    return m_db.exec(
        QStringLiteral("UPDATE 菜单 SET 代码 = ?, 字母 = ?, 单位 = ?, 价格 = ?, 出品部门 = ? WHERE 菜名 = ?"),
        {dish.code, dish.letters, dish.unit, dish.price, dish.station, dish.name});
}

bool CatalogStore::deleteDish(const QString& code, const QString& name) const {
    return m_db.exec(QStringLiteral("DELETE FROM 菜单 WHERE 代码 = ? AND 菜名 = ?"), {code, name});
}

std::optional<QStringList> CatalogStore::loadNamedList(NamedList list) const {
    QSqlQuery query = m_db.prepare(namedSql("SELECT %2 FROM %1 ORDER BY ID", list));
    if (!query.exec())
        return std::nullopt;
    QStringList items;
    while (query.next())
        items.append(query.value(0).toString());
    return items;
}

bool CatalogStore::insertNamed(NamedList list, const QString& text) const {
    return m_db.exec(namedSql("INSERT INTO %1 (%2) VALUES (?)", list), {text});
}

bool CatalogStore::deleteNamed(NamedList list, const QString& text) const {
    return m_db.exec(namedSql("DELETE FROM %1 WHERE %2 = ?", list), {text});
}

std::optional<QList<StoredTableCode>> CatalogStore::loadTableCodes() const {
    QSqlQuery query = m_db.prepare(QStringLiteral("SELECT 代号, 桌号名称 FROM 桌号 ORDER BY ID"));
    if (!query.exec())
        return std::nullopt;
    QList<StoredTableCode> tables;
    while (query.next())
        tables.append({query.value(0).toString(), query.value(1).toString()});
    return tables;
}

bool CatalogStore::insertTableCode(const StoredTableCode& table) const {
    return m_db.exec(QStringLiteral("INSERT INTO 桌号 (代号, 桌号名称) VALUES (?, ?)"),
                     {table.code, table.name});
}

bool CatalogStore::updateTableCodeByName(const QString& name, const QString& code) const {
    return m_db.exec(QStringLiteral("UPDATE 桌号 SET 代号 = ? WHERE 桌号名称 = ?"), {code, name});
}

bool CatalogStore::deleteTableCodeByName(const QString& name) const {
    return m_db.exec(QStringLiteral("DELETE FROM 桌号 WHERE 桌号名称 = ?"), {name});
}

} // namespace qm
