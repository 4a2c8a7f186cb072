#pragma once

#include <QDateTime>
#include <QList>
#include <QString>

#include <optional>

// Staff (员工) and the record of changes (操作记录). The record is append-only: each row carries a SHA-256
// over the previous row's hash and its own content, and the database refuses to change or remove a row.
namespace qm {

class Database;

// Creates 员工 and 操作记录 (with the triggers that refuse UPDATE and DELETE on the record) when missing,
// and adds 存单.操作员. Safe to run on every start.
bool ensureStaffSchema(const Database& db);

struct StaffRow {
    qint64 id = 0;
    QString name; // 姓名
    QString role; // 角色: 店主, 店长 or 收银员
    QString hash; // 密码散列: the Argon2id hash string
};

QList<StaffRow> loadStaff(const Database& db);
std::optional<StaffRow> loadStaffMember(const Database& db, const QString& name);
// Inserts the member or, when the name exists, replaces role and hash. Part of the caller's transaction.
bool saveStaffMember(const Database& db, const StaffRow& row);
bool removeStaffMember(const Database& db, const QString& name);

// The actions of the record that the day's closing counts per cashier.
inline const QString auditOrderDeleted = QStringLiteral("删除订单");
inline const QString auditSettledChanged = QStringLiteral("修改已结算订单");
inline const QString auditReprint = QStringLiteral("重打小票");
inline const QString auditDrawerOpened = QStringLiteral("无销售打开钱箱");

// One event of the record of changes.
struct AuditEvent {
    QDateTime time;
    QString person;     // 人员: who was signed in
    QString authoriser; // 授权人: who allowed it with their PIN; empty when the person could
    QString till;       // 收银台
    QString action;     // 操作
    qint64 orderId = 0; // 存单ID; 0 when no order is concerned
    int orderNumber = 0;
    QString before; // 之前
    QString after;  // 之后
};

struct AuditRow {
    qint64 id = 0;
    AuditEvent event;
    QString hash; // 散列
};

// Appends the event, chained to the last row. Part of the caller's transaction, so the record and the
// change it tells of are stored together or not at all.
bool appendAudit(const Database& db, const AuditEvent& event);
// The hash a row must carry after `previousHash`.
QString auditHash(const QString& previousHash, qint64 id, const AuditEvent& event);

// The chain as it reads now: the ID of the first row whose hash does not follow from the rows before it
// (changed, or one before it removed); no value when the whole chain holds. `failed` is set when the table
// could not be read.
std::optional<qint64> firstBrokenAuditRow(const Database& db, bool* failed = nullptr);

// A filter of the record window: a day range (inclusive), a person (signed in or authoriser), an action.
struct AuditFilter {
    std::optional<QDate> first;
    std::optional<QDate> last;
    QString person;
    QString action;
};
std::optional<qint64> countAudit(const Database& db, const AuditFilter& filter);
// Rows ranked first + 1 .. first + rows by ascending ID, listed newest first.
std::optional<QList<AuditRow>> loadAuditPage(const Database& db, const AuditFilter& filter, qint64 first,
                                             int rows);

} // namespace qm
