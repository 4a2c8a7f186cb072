#include "store/staffstore.h"

#include "core/datetimetext.h"
#include "store/database.h"
#include "store/schema.h"

#include <QCryptographicHash>
#include <QSqlQuery>

namespace qm {

namespace {

const QString auditColumns =
    QStringLiteral("ID, 时间, 人员, 授权人, 收银台, 操作, 存单ID, 编号, 之前, 之后, 散列");

AuditRow auditRowFrom(const QSqlQuery& q) {
    AuditRow row;
    row.id = q.value(0).toLongLong();
    row.event.time = parseIso(q.value(1).toString()).value_or(QDateTime());
    row.event.person = q.value(2).toString();
    row.event.authoriser = q.value(3).toString();
    row.event.till = q.value(4).toString();
    row.event.action = q.value(5).toString();
    row.event.orderId = q.value(6).toLongLong();
    row.event.orderNumber = q.value(7).toInt();
    row.event.before = q.value(8).toString();
    row.event.after = q.value(9).toString();
    row.hash = q.value(10).toString();
    return row;
}

// The WHERE text and its values for a filter (on the indexed time text, never a date function).
QString auditWhere(const AuditFilter& f, QVariantList& values) {
    QStringList parts;
    if (f.first) {
        parts << QStringLiteral("时间 >= ?");
        values << isoDate(*f.first);
    }
    if (f.last) {
        parts << QStringLiteral("时间 < ?");
        values << isoDate(f.last->addDays(1));
    }
    if (!f.person.isEmpty()) {
        parts << QStringLiteral("(人员 = ? OR 授权人 = ?)");
        values << f.person << f.person;
    }
    if (!f.action.isEmpty()) {
        parts << QStringLiteral("操作 = ?");
        values << f.action;
    }
    return parts.isEmpty() ? QString() : QStringLiteral(" WHERE ") + parts.join(QStringLiteral(" AND "));
}

QSqlQuery prepared(const Database& db, const QString& sql, const QVariantList& values) {
    QSqlQuery query = db.prepare(sql);
    for (int i = 0; i < values.size(); ++i)
        query.bindValue(i, values[i]);
    return query;
}

} // namespace

bool ensureStaffSchema(const Database& db) {
    if (!createTableIfMissing(
            db, QStringLiteral("员工"),
            "ID INTEGER PRIMARY KEY AUTOINCREMENT, 姓名 TEXT UNIQUE, 角色 TEXT, 密码散列 TEXT") ||
        // The record numbers its rows itself (the hash covers the ID), so IDs are never generated.
        !createTableIfMissing(
            db, QStringLiteral("操作记录"),
            "ID BIGINT PRIMARY KEY, 时间 TEXT, 人员 TEXT, 授权人 TEXT, 收银台 TEXT, 操作 TEXT, "
            "存单ID BIGINT, 编号 INTEGER, 之前 TEXT, 之后 TEXT, 散列 TEXT") ||
        !addColumnIfMissing(db, QStringLiteral("存单"), QStringLiteral("操作员"), QStringLiteral("TEXT")))
        return false;
    // The record refuses every change and removal of a row, whoever asks.
    if (db.isServer()) {
        return db.exec(QStringLiteral(
                   "CREATE OR REPLACE FUNCTION 操作记录_只增() RETURNS trigger LANGUAGE plpgsql AS $f$ "
                   "BEGIN RAISE EXCEPTION '操作记录不可修改或删除'; END $f$")) &&
               db.exec(QStringLiteral(
                   "CREATE OR REPLACE TRIGGER 操作记录_只增 BEFORE UPDATE OR DELETE OR "
                   "TRUNCATE ON 操作记录 FOR EACH STATEMENT EXECUTE FUNCTION 操作记录_只增()"));
    }
    return db.exec(QStringLiteral("CREATE TRIGGER IF NOT EXISTS 操作记录_禁止修改 BEFORE UPDATE ON 操作记录 "
                                  "BEGIN SELECT RAISE(ABORT, '操作记录不可修改'); END")) &&
           db.exec(QStringLiteral("CREATE TRIGGER IF NOT EXISTS 操作记录_禁止删除 BEFORE DELETE ON 操作记录 "
                                  "BEGIN SELECT RAISE(ABORT, '操作记录不可删除'); END"));
}

QList<StaffRow> loadStaff(const Database& db) {
    QList<StaffRow> rows;
    QSqlQuery q = db.prepare(QStringLiteral("SELECT ID, 姓名, 角色, 密码散列 FROM 员工 ORDER BY ID"));
    if (!q.exec())
        return rows;
    while (q.next())
        rows.append(
            {q.value(0).toLongLong(), q.value(1).toString(), q.value(2).toString(), q.value(3).toString()});
    return rows;
}

std::optional<StaffRow> loadStaffMember(const Database& db, const QString& name) {
    QSqlQuery q =
        db.prepare(QStringLiteral("SELECT ID, 姓名, 角色, 密码散列 FROM 员工 WHERE 姓名 = ?"), {name});
    if (!q.exec() || !q.next())
        return std::nullopt;
    return StaffRow{q.value(0).toLongLong(), q.value(1).toString(), q.value(2).toString(),
                    q.value(3).toString()};
}

bool saveStaffMember(const Database& db, const StaffRow& row) {
    if (loadStaffMember(db, row.name)) {
        return db.exec(QStringLiteral("UPDATE 员工 SET 角色 = ?, 密码散列 = ? WHERE 姓名 = ?"),
                       {row.role, row.hash, row.name});
    }
    return db.exec(QStringLiteral("INSERT INTO 员工 (姓名, 角色, 密码散列) VALUES (?, ?, ?)"),
                   {row.name, row.role, row.hash});
}

bool removeStaffMember(const Database& db, const QString& name) {
    return db.exec(QStringLiteral("DELETE FROM 员工 WHERE 姓名 = ?"), {name});
}

namespace {

// The hash over the previous row's hash and the row's fields, the time as its stored text.
QString chainedHash(const QString& previousHash, qint64 id, const QString& timeText, const AuditEvent& e) {
    // Each field ends with a unit separator, so no two different rows give the same text.
    const QString fields[] = {previousHash,
                              QString::number(id),
                              timeText,
                              e.person,
                              e.authoriser,
                              e.till,
                              e.action,
                              QString::number(e.orderId),
                              QString::number(e.orderNumber),
                              e.before,
                              e.after};
    QCryptographicHash hash(QCryptographicHash::Sha256);
    for (const QString& field : fields) {
        hash.addData(field.toUtf8());
        hash.addData(QByteArrayView("\x1f", 1));
    }
    return QString::fromLatin1(hash.result().toHex());
}

} // namespace

QString auditHash(const QString& previousHash, qint64 id, const AuditEvent& e) {
    return chainedHash(previousHash, id, isoText(e.time), e);
}

bool appendAudit(const Database& db, const AuditEvent& e) {
    // Tills append one after the other: each row chains to the one before it.
    if (!db.lockAuditChain())
        return false;
    QSqlQuery last = db.prepare(QStringLiteral("SELECT ID, 散列 FROM 操作记录 ORDER BY ID DESC LIMIT 1"));
    if (!last.exec())
        return false;
    qint64 id = 1;
    QString previous;
    if (last.next()) {
        id = last.value(0).toLongLong() + 1;
        previous = last.value(1).toString();
    }
    last.finish();
    return db.exec(QStringLiteral("INSERT INTO 操作记录 (%1) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)")
                       .arg(auditColumns),
                   {id, isoText(e.time), e.person, e.authoriser, e.till, e.action, e.orderId, e.orderNumber,
                    e.before, e.after, auditHash(previous, id, e)});
}

std::optional<qint64> firstBrokenAuditRow(const Database& db, bool* failed) {
    if (failed)
        *failed = false;
    QSqlQuery q = db.prepare(QStringLiteral("SELECT %1 FROM 操作记录 ORDER BY ID").arg(auditColumns));
    q.setForwardOnly(true);
    if (!q.exec()) {
        if (failed)
            *failed = true;
        return std::nullopt;
    }
    QString previous;
    qint64 expectedId = 1;
    AuditEvent e;
    while (q.next()) {
        // The stored time text is hashed as it stands: no reading into a date-time and back, which cost
        // most of the check and would let a time rewritten in another spelling of the same moment pass.
        const qint64 id = q.value(0).toLongLong();
        e.person = q.value(2).toString();
        e.authoriser = q.value(3).toString();
        e.till = q.value(4).toString();
        e.action = q.value(5).toString();
        e.orderId = q.value(6).toLongLong();
        e.orderNumber = q.value(7).toInt();
        e.before = q.value(8).toString();
        e.after = q.value(9).toString();
        const QString hash = q.value(10).toString();
        // A removed row leaves a gap in the IDs and the next row's hash no longer follows.
        if (id != expectedId || hash != chainedHash(previous, id, q.value(1).toString(), e))
            return id;
        previous = hash;
        ++expectedId;
    }
    return std::nullopt;
}

std::optional<qint64> countAudit(const Database& db, const AuditFilter& filter) {
    QVariantList values;
    const QString where = auditWhere(filter, values);
    QSqlQuery q = prepared(db, QStringLiteral("SELECT count(*) FROM 操作记录") + where, values);
    if (!q.exec() || !q.next())
        return std::nullopt;
    return q.value(0).toLongLong();
}

std::optional<QList<AuditRow>> loadAuditPage(const Database& db, const AuditFilter& filter, qint64 first,
                                             int rows) {
    QVariantList values;
    const QString where = auditWhere(filter, values);
    values << rows << first;
    QSqlQuery q =
        prepared(db,
                 QStringLiteral("SELECT * FROM (SELECT %1 FROM 操作记录%2 ORDER BY ID LIMIT ? OFFSET ?) "
                                "AS page ORDER BY ID DESC")
                     .arg(auditColumns, where),
                 values);
    if (!q.exec())
        return std::nullopt;
    QList<AuditRow> out;
    while (q.next())
        out.append(auditRowFrom(q));
    return out;
}

} // namespace qm
