#include "store/schema.h"

#include "store/database.h"

#include <QSqlQuery>
#include <QVariant>

#include <algorithm>

namespace qm {

namespace {

struct TableDefinition {
    const char* name;
    const char* columns;
};

// The current schema. IDs never come back after a delete (AUTOINCREMENT), as the order history relies on.
const TableDefinition tables[] = {
    {"存单", "ID INTEGER PRIMARY KEY AUTOINCREMENT, 编号 INTEGER, 票头 TEXT, 店铺名称 TEXT, 时间 TEXT, "
             "减免 TEXT, 减免份数 INTEGER, 减免金额 REAL, 合计 REAL, 支付方式 TEXT, 已付 REAL, 实付 REAL, "
             "桌号 TEXT, 电话 TEXT, 姓名 TEXT, 地址 TEXT, 是否结算 INTEGER, 备注 TEXT"},
    {"存单详单", "ID INTEGER PRIMARY KEY AUTOINCREMENT, 存单ID INTEGER, 销售时间 TEXT, 菜名 TEXT, 数量 REAL, "
                 "单位 TEXT, 小计 REAL"},
    {"客户", "ID INTEGER PRIMARY KEY AUTOINCREMENT, 电话 TEXT, 姓名 TEXT, 地址 TEXT, 最近订餐日期 TEXT, "
             "订餐次数 INTEGER"},
    {"菜单", "ID INTEGER PRIMARY KEY AUTOINCREMENT, 代码 TEXT, 字母 TEXT, 菜名 TEXT, 价格 REAL, 单位 TEXT, "
             "出品部门 TEXT"},
    {"单位", "ID INTEGER PRIMARY KEY AUTOINCREMENT, 单位名称 TEXT"},
    {"店名", "ID INTEGER PRIMARY KEY AUTOINCREMENT, 店铺名称 TEXT"},
    {"减免", "ID INTEGER PRIMARY KEY AUTOINCREMENT, 减免名称 TEXT"},
    {"票头设置", "ID INTEGER PRIMARY KEY AUTOINCREMENT, 票头 TEXT"},
    {"桌号", "ID INTEGER PRIMARY KEY AUTOINCREMENT, 代号 TEXT, 桌号名称 TEXT"},
    {"出品部门", "ID INTEGER PRIMARY KEY AUTOINCREMENT, 部门名称 TEXT"},
    {"记录", "记录内容 TEXT, 记录信息 TEXT"},
};

const char* const indexes[] = {
    "CREATE INDEX IF NOT EXISTS 存单_时间 ON 存单 (时间)",
    "CREATE INDEX IF NOT EXISTS 存单详单_存单ID ON 存单详单 (存单ID)",
    "CREATE INDEX IF NOT EXISTS 存单详单_销售时间 ON 存单详单 (销售时间)",
    "CREATE INDEX IF NOT EXISTS 客户_电话 ON 客户 (电话)",
    "CREATE INDEX IF NOT EXISTS 客户_姓名 ON 客户 (姓名)",
    "CREATE INDEX IF NOT EXISTS 存单_电话 ON 存单 (电话)",
    // The income report and the sales statistics sum a period from these alone, without the table rows.
    "CREATE INDEX IF NOT EXISTS 存单_时间_实付 ON 存单 (时间, 实付)",
    "CREATE INDEX IF NOT EXISTS 存单详单_销售时间_菜名_小计 ON 存单详单 (销售时间, 菜名, 小计)",
};

struct Dish {
    const char* code;
    const char* letters;
    const char* name;
    double price;
    const char* unit;
};

const Dish dishes[] = {
    {"001", "hspgf", "红烧排骨饭", 18, "份"},
    {"002", "qzdj", "茄子豆角", 14, "份"},
    {"003", "xhscd", "西红柿炒蛋", 13, "份"},
    {"004", "jzgrp", "金针菇肉片", 16, "份"},
    {"005", "bcrsj", "白菜肉水饺", 15.5, "份"},
    {"006", "xgzrsj", "香菇猪肉水饺", 16, "碗"},
    {"007", "dczrsj", "大葱猪肉水饺", 16, "份"},
    {"008", "yxxg", "攸县香干", 14, "份"},
    {"009", "mdrp", "毛豆肉片", 15, "份"},
    {"010", "wslr", "莴笋腊肉", 16, "份"},
    {"011", "qcxg", "芹菜香干", 15, "份"},
    {"012", "zzmy", "支竹焖鸭", 18, "份"},
    {"013", "htsd", "火腿双蛋", 14, "份"},
    {"014", "hsyk", "红烧鱼块", 16, "份"},
    {"015", "scy", "酸菜鱼", 16, "份"},
    {"016", "hcrp", "花菜肉片", 15, "碗"},
    {"017", "gbsjd", "干煸四季度", 13, "份"},
    {"018", "njywx", "农家一碗香", 15, "份"},
    {"019", "yxrs", "鱼香肉丝", 13, "份"},
    {"101", "xhcs", "雪花纯生", 8, "瓶"},
    {"102", "qdcs", "青岛纯生", 8, "瓶"},
    {"103", "xplj", "小瓶郎酒", 15, "瓶"},
    {"104", "wznn", "旺仔牛奶", 5, "瓶"},
    {"201", "frwxyhs", "芙蓉王香烟黄色", 25, "包"},
    {"202", "frwxylsyh", "芙蓉王香烟蓝色硬盒", 35, "包"},
    {"203", "jpfrw", "极品芙蓉王", 65, "包"},
    {"105", "wlj", "王老吉", 3.5, "瓶"},
    {"108", "kxc", "空心菜", 18, "份"},
};

// Bottles and packs (drinks, cigarettes) are handed over at the counter; everything else is cooked.
const char* stationOf(const Dish& dish) {
    const QString unit = QString::fromUtf8(dish.unit);
    return unit == QStringLiteral("瓶") || unit == QStringLiteral("包") ? "不出单" : "厨房";
}

const char* const stations[] = {"厨房", "不出单"};
const char* const units[] = {"份", "碗", "碟", "瓶", "罐", "包", "箱", "串", "个", "盒"};
const char* const shopNames[] = {"山东手工水饺", "老北方饺子馆", "农家大碗茶", "白云快餐", "微信外卖"};
const char* const discountNames[] = {"立减优惠", "整单折扣", "开业酬宾", "开学优惠"};
const char* const ticketHeaders[] = {"饿了么(第1联)", "美团(第1联)", "百度外卖(第1联)", "淘点点",
                                     "自助快餐",      "微信点餐",    "欢迎光临"};
const std::pair<const char*, const char*> namedTables[] = {
    {"101", "桌号 2楼1桌"}, {"102", "桌号 2楼2桌"}, {"103", "桌号 2楼3桌"}, {"104", "桌号 2楼4桌"},
    {"201", "包厢 滕王阁"}, {"202", "包厢 岳阳楼"}, {"203", "包厢 黄鹤楼"}, {"204", "包厢 蓬莱阁"},
};

QString createStatement(const TableDefinition& table, const QString& name) {
    return QStringLiteral("CREATE TABLE %1 (%2)").arg(name, QString::fromUtf8(table.columns));
}

bool insertAll(const Database& db, const QString& sql, const auto& values) {
    for (const auto& value : values) {
        if (!db.exec(sql, {QString::fromUtf8(value)}))
            return false;
    }
    return true;
}

} // namespace

bool createSchema(const Database& db) {
    for (const TableDefinition& table : tables) {
        if (!db.exec(createStatement(table, QString::fromUtf8(table.name))))
            return false;
    }
    if (!ensureIndexes(db))
        return false;
    for (const Dish& d : dishes) {
        if (!db.exec(
                QStringLiteral(
                    "INSERT INTO 菜单 (代码, 字母, 菜名, 价格, 单位, 出品部门) VALUES (?, ?, ?, ?, ?, ?)"),
                {QString::fromUtf8(d.code), QString::fromUtf8(d.letters), QString::fromUtf8(d.name), d.price,
                 QString::fromUtf8(d.unit), QString::fromUtf8(stationOf(d))}))
            return false;
    }
    if (!insertAll(db, QStringLiteral("INSERT INTO 单位 (单位名称) VALUES (?)"), units) ||
        !insertAll(db, QStringLiteral("INSERT INTO 店名 (店铺名称) VALUES (?)"), shopNames) ||
        !insertAll(db, QStringLiteral("INSERT INTO 减免 (减免名称) VALUES (?)"), discountNames) ||
        !insertAll(db, QStringLiteral("INSERT INTO 票头设置 (票头) VALUES (?)"), ticketHeaders) ||
        !insertAll(db, QStringLiteral("INSERT INTO 出品部门 (部门名称) VALUES (?)"), stations))
        return false;
    const QString insertTable = QStringLiteral("INSERT INTO 桌号 (代号, 桌号名称) VALUES (?, ?)");
    for (int n = 1; n <= 10; ++n) {
        if (!db.exec(insertTable, {QString::number(n), QStringLiteral("号牌 %1").arg(n)}))
            return false;
    }
    for (const auto& [code, name] : namedTables) {
        if (!db.exec(insertTable, {QString::fromUtf8(code), QString::fromUtf8(name)}))
            return false;
    }
    return true;
}

bool ensureKitchenStations(Database& db) {
    if (!columnNames(db, QStringLiteral("菜单")).contains(QStringLiteral("出品部门"))) {
        const bool added = db.transaction([&] {
            return db.exec(QStringLiteral("ALTER TABLE 菜单 ADD COLUMN 出品部门 TEXT")) &&
                   db.exec(QStringLiteral("UPDATE 菜单 SET 出品部门 = ?"), {QStringLiteral("厨房")});
        });
        if (!added)
            return false;
    }
    if (!columnNames(db, QStringLiteral("出品部门")).isEmpty())
        return true;
    const auto definition = std::find_if(std::begin(tables), std::end(tables), [](const TableDefinition& t) {
        return QString::fromUtf8(t.name) == QStringLiteral("出品部门");
    });
    return db.transaction([&] {
        return db.exec(createStatement(*definition, QString::fromUtf8(definition->name))) &&
               insertAll(db, QStringLiteral("INSERT INTO 出品部门 (部门名称) VALUES (?)"), stations);
    });
}

bool ensureIndexes(const Database& db) {
    for (const char* sql : indexes) {
        if (!db.exec(QString::fromUtf8(sql)))
            return false;
    }
    return true;
}

QStringList columnNames(const Database& db, const QString& table) {
    QStringList names;
    QSqlQuery query = db.prepare(QStringLiteral("SELECT name FROM pragma_table_info(?)"), {table});
    if (query.exec()) {
        while (query.next())
            names << query.value(0).toString();
    }
    return names;
}

namespace {

QString declaredType(const Database& db, const QString& table, const QString& column) {
    QSqlQuery query =
        db.prepare(QStringLiteral("SELECT type FROM pragma_table_info(?) WHERE name = ?"), {table, column});
    if (query.exec() && query.next())
        return query.value(0).toString().toUpper();
    return {};
}

qint64 scalarId(const Database& db, const QString& sql, std::initializer_list<QVariant> values = {}) {
    QSqlQuery query = db.prepare(sql, values);
    return query.exec() && query.next() ? query.value(0).toLongLong() : 0;
}

// SQLite keeps the highest ID an AUTOINCREMENT table gave out in sqlite_sequence.
qint64 idHighWater(const Database& db, const QString& table) {
    return scalarId(db, QStringLiteral("SELECT seq FROM sqlite_sequence WHERE name = ?"), {table});
}

bool raiseIdHighWater(const Database& db, const QString& table, qint64 floor) {
    QSqlQuery query = db.prepare(QStringLiteral("SELECT seq FROM sqlite_sequence WHERE name = ?"), {table});
    if (!query.exec())
        return false;
    if (!query.next())
        return floor <= 0 || db.exec(QStringLiteral("INSERT INTO sqlite_sequence (name, seq) VALUES (?, ?)"),
                                     {table, floor});
    if (query.value(0).toLongLong() >= floor)
        return true;
    query.finish();
    return db.exec(QStringLiteral("UPDATE sqlite_sequence SET seq = ? WHERE name = ?"), {floor, table});
}

// SQLite cannot change a column's type: the table is rebuilt with the current definition and its rows
// copied over, IDs included. The rebuilt table keeps the old high-water mark of its IDs, so the IDs of
// deleted rows never come back.
bool rebuildTable(const Database& db, const TableDefinition& table) {
    const QString name = QString::fromUtf8(table.name);
    const QString temporary = name + QStringLiteral("_升级");
    const qint64 highWater = idHighWater(db, name);
    QStringList common;
    const QStringList oldColumns = columnNames(db, name);
    if (!db.exec(createStatement(table, temporary)))
        return false;
    for (const QString& column : columnNames(db, temporary)) {
        if (oldColumns.contains(column))
            common << column;
    }
    const QString list = common.join(QStringLiteral(", "));
    return db.exec(QStringLiteral("INSERT INTO %1 (%2) SELECT %2 FROM %3").arg(temporary, list, name)) &&
           db.exec(QStringLiteral("DROP TABLE %1").arg(name)) &&
           db.exec(QStringLiteral("ALTER TABLE %1 RENAME TO %2").arg(temporary, name)) &&
           raiseIdHighWater(db, name, highWater);
}

} // namespace

bool upgradeColumnTypes(const Database& db) {
    const struct {
        const TableDefinition& table;
        QStringList realColumns;
    } targets[] = {
        {tables[0], {QStringLiteral("减免金额"), QStringLiteral("已付"), QStringLiteral("实付")}},
        {tables[1], {QStringLiteral("数量")}},
    };
    for (const auto& target : targets) {
        const QString name = QString::fromUtf8(target.table.name);
        bool current = true;
        for (const QString& column : target.realColumns)
            current = current && declaredType(db, name, column) == QStringLiteral("REAL");
        if (!current && !rebuildTable(db, target.table))
            return false;
    }
    return true;
}

bool emptyTextsForNulls(const Database& db) {
    const std::pair<const char*, QStringList> texts[] = {
        {"存单",
         {QStringLiteral("票头"), QStringLiteral("店铺名称"), QStringLiteral("减免"),
          QStringLiteral("支付方式"), QStringLiteral("桌号"), QStringLiteral("电话"), QStringLiteral("姓名"),
          QStringLiteral("地址"), QStringLiteral("备注")}},
        {"客户", {QStringLiteral("电话"), QStringLiteral("姓名"), QStringLiteral("地址")}},
    };
    // One pass over each table: a million orders are read once, not once per column.
    for (const auto& [table, columns] : texts) {
        const QString name = QString::fromUtf8(table);
        const QStringList present = columnNames(db, name);
        QStringList set;
        QStringList where;
        for (const QString& column : columns) {
            if (!present.contains(column))
                continue;
            set << QStringLiteral("%1 = coalesce(%1, '')").arg(column);
            where << QStringLiteral("%1 IS NULL").arg(column);
        }
        if (!set.isEmpty() &&
            !db.exec(QStringLiteral("UPDATE %1 SET %2 WHERE %3")
                         .arg(name, set.join(QStringLiteral(", ")), where.join(QStringLiteral(" OR ")))))
            return false;
    }
    return true;
}

bool keepOrderIdsAboveLines(const Database& db) {
    const qint64 highest = std::max(scalarId(db, QStringLiteral("SELECT max(存单ID) FROM 存单详单")),
                                    scalarId(db, QStringLiteral("SELECT max(ID) FROM 存单")));
    return raiseIdHighWater(db, QStringLiteral("存单"), highest);
}

} // namespace qm
