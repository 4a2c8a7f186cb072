#include "store/orderformstore.h"

#include "core/datetimetext.h"
#include "core/numtext.h"
#include "store/database.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

namespace qm {

namespace {

QString choiceQuery(ChoiceSource source) {
    switch (source) {
    case ChoiceSource::TicketHeaders:
        return QStringLiteral("SELECT 票头 FROM 票头设置 ORDER BY ID");
    case ChoiceSource::ShopNames:
        return QStringLiteral("SELECT 店铺名称 FROM 店名 ORDER BY ID");
    case ChoiceSource::Discounts:
        return QStringLiteral("SELECT 减免名称 FROM 减免 ORDER BY ID");
    case ChoiceSource::TableNames:
        return QStringLiteral("SELECT 桌号名称 FROM 桌号 ORDER BY ID");
    }
    return {};
}

} // namespace

QList<DishRecord> loadDishes(const Database& db) {
    QList<DishRecord> dishes;
    QSqlQuery query = db.prepare(QStringLiteral("SELECT 菜名, 价格, 代码, 字母, 单位 FROM 菜单 ORDER BY ID"));
    query.setForwardOnly(true);
    if (!query.exec())
        return dishes;
    while (query.next()) {
        dishes.append({query.value(0).toString(), singleText(query.value(1).toDouble()),
                       query.value(2).toString(), query.value(3).toString(), query.value(4).toString()});
    }
    return dishes;
}

QList<TableCodeRecord> loadTableCodes(const Database& db) {
    QList<TableCodeRecord> tables;
    QSqlQuery query = db.prepare(QStringLiteral("SELECT 代号, 桌号名称 FROM 桌号 ORDER BY ID"));
    query.setForwardOnly(true);
    if (!query.exec())
        return tables;
    while (query.next())
        tables.append({query.value(0).toString(), query.value(1).toString()});
    return tables;
}

QStringList loadChoices(const Database& db, ChoiceSource source) {
    return readChoices(db, source).value_or(QStringList());
}

std::optional<QStringList> readChoices(const Database& db, ChoiceSource source) {
    QStringList items;
    QSqlQuery query = db.prepare(choiceQuery(source));
    query.setForwardOnly(true);
    if (!query.exec())
        return std::nullopt;
    while (query.next())
        items.append(query.value(0).toString());
    if (query.lastError().isValid())
        return std::nullopt;
    return items;
}

std::optional<CustomerContact> findCustomer(const Database& db, const QString& telephone) {
    return lookUpCustomer(db, telephone).customer;
}

CustomerLookup lookUpCustomer(const Database& db, const QString& telephone) {
    CustomerLookup lookup;
    QSqlQuery query = db.prepare(
        QStringLiteral("SELECT 姓名, 地址 FROM 客户 WHERE 电话 = ? ORDER BY ID LIMIT 1"), {telephone});
    if (!query.exec())
        return lookup;
    lookup.read = true;
    if (query.next())
        lookup.customer = CustomerContact{query.value(0).toString(), query.value(1).toString()};
    else if (query.lastError().isValid())
        lookup.read = false;
    return lookup;
}

std::optional<QStringList> telephonesEndingWith(const Database& db, const QString& tail, int limit) {
    // The tail is matched as text: its wildcards stand for themselves.
    QString pattern = tail;
    pattern.replace(QLatin1Char('!'), QStringLiteral("!!"))
        .replace(QLatin1Char('%'), QStringLiteral("!%"))
        .replace(QLatin1Char('_'), QStringLiteral("!_"));
    QSqlQuery query = db.prepare(
        QStringLiteral("SELECT DISTINCT 电话 FROM 客户 WHERE 电话 LIKE ? ESCAPE '!' ORDER BY 电话 LIMIT ?"),
        {QStringLiteral("%") + pattern, limit});
    if (!query.exec())
        return std::nullopt;
    QStringList telephones;
    while (query.next())
        telephones.append(query.value(0).toString());
    if (query.lastError().isValid())
        return std::nullopt;
    return telephones;
}

bool insertCustomerIfMissing(const Database& db, const QString& telephone, const QString& name,
                             const QString& address) {
    QSqlQuery query = db.prepare(QStringLiteral("SELECT 1 FROM 客户 WHERE 电话 = ? LIMIT 1"), {telephone});
    if (!query.exec() || query.next())
        return false;
    return db.exec(QStringLiteral("INSERT INTO 客户 (电话, 姓名, 地址) VALUES (?, ?, ?)"),
                   {telephone, name, address});
}

TodayTotals todayTotals(const Database& db, QDate today) {
    return readTodayTotals(db, today).value_or(TodayTotals{});
}

std::optional<TodayTotals> readTodayTotals(const Database& db, QDate today) {
    TodayTotals totals;
    const QString from = isoDate(today) + QStringLiteral(" 00:00:00");
    const QString to = isoDate(today.addDays(1)) + QStringLiteral(" 00:00:00");
    QSqlQuery query = db.prepare(QStringLiteral("SELECT max(编号), count(*), sum(实付) FROM 存单 "
                                                "WHERE 时间 >= ? AND 时间 < ?"),
                                 {from, to});
    if (!query.exec() || !query.next())
        return std::nullopt;
    totals.maxNumber = query.value(0).toInt();
    totals.count = query.value(1).toInt();
    totals.income = query.value(2).toDouble();
    return totals;
}

} // namespace qm
