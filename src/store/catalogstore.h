#pragma once

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

// The master data the maintenance windows keep: dishes (菜单), the four one-column lists (单位, 票头设置,
// 店名, 减免) and table codes (桌号). Lists are read in table order; text is stored as typed.
namespace qm {

class Database;

struct StoredDish {
    QString code;      // 代码
    QString letters;   // 字母
    QString name;      // 菜名
    double price = 0;  // 价格
    QString unit;      // 单位
    QString station{}; // 出品部门: the kitchen station that makes it
};

struct StoredTableCode {
    QString code; // 代号
    QString name; // 桌号名称
};

// The one-column lists: units, ticket headers, shop names, discount names and kitchen stations.
enum class NamedList { Units, TicketHeaders, ShopNames, Discounts, Stations };

// The station a dish has until one is chosen, and the one whose dishes print on no kitchen slip.
inline const QString defaultStation = QStringLiteral("厨房");
inline const QString noSlipStation = QStringLiteral("不出单");

class CatalogStore {
public:
    explicit CatalogStore(const Database& db)
        : m_db(db) {}

    // Every dish; no value when the table cannot be read. A price that is not a number reads as 0.
    std::optional<QList<StoredDish>> loadDishes() const;
    bool insertDish(const StoredDish& dish) const;
    // Every dish's station by dish name (the first dish of a name decides); no value when unreadable.
    std::optional<QHash<QString, QString>> loadDishStations() const;
    // Sets code, letters, price, unit and station of every dish with the record's name.
    bool updateDishByName(const StoredDish& dish) const;
    // Deletes every dish with this code and name.
    bool deleteDish(const QString& code, const QString& name) const;

    std::optional<QStringList> loadNamedList(NamedList list) const;
    bool insertNamed(NamedList list, const QString& text) const;
    // Deletes every row with this text.
    bool deleteNamed(NamedList list, const QString& text) const;

    std::optional<QList<StoredTableCode>> loadTableCodes() const;
    bool insertTableCode(const StoredTableCode& table) const;
    // Gives every table with this name the code.
    bool updateTableCodeByName(const QString& name, const QString& code) const;
    // Deletes every table with this name.
    bool deleteTableCodeByName(const QString& name) const;

private:
    const Database& m_db;
};

} // namespace qm
