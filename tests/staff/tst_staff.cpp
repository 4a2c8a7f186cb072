#include "staff/permissions.h"
#include "staff/secrethash.h"
#include "staff/staffsession.h"
#include "store/database.h"
#include "store/orderstore.h"
#include "store/staffstore.h"
#include "support/fakeplatform.h"
#include "support/temphome.h"

#include <QFile>
#include <QSqlQuery>
#include <QTest>

using namespace qm;

namespace {

const QString ownerPassword = QStringLiteral("owner-pass-2026");
const QString managerPin = QStringLiteral("482913");
const QString cashierPin = QStringLiteral("7351");

StoredOrder anOrder() {
    StoredOrder order;
    order.number = 7;
    order.time = QDateTime(QDate(2026, 3, 14), QTime(12, 0));
    order.total = order.toPay = 41;
    order.paymentMethod = QStringLiteral("现金支付");
    order.settled = true;
    return order;
}

const QList<StoredLine> twoLines{{QStringLiteral("酸菜鱼"), 1, QStringLiteral("份"), 16},
                                 {QStringLiteral("王老吉"), 2, QStringLiteral("瓶"), 7}};

qint64 count(Database& db, const QString& sql) {
    QSqlQuery q = db.prepare(sql);
    return q.exec() && q.next() ? q.value(0).toLongLong() : -1;
}

// A shop with an owner (王店主), a manager (李店长) and a cashier (小张), the cashier signed in.
struct Shop {
    TempHome home;
    FakePlatform platform;
    StaffSession staff{home.db(), platform};
    Shop() {
        QVERIFY(staff.enable(QStringLiteral("王店主"), ownerPassword).isEmpty());
        QVERIFY(staff.saveMember(QStringLiteral("李店长"), Role::Manager, managerPin).isEmpty());
        QVERIFY(staff.saveMember(QStringLiteral("小张"), Role::Cashier, cashierPin).isEmpty());
        QCOMPARE(staff.signIn(QStringLiteral("小张"), cashierPin).status, SignInStatus::SignedIn);
    }
};

} // namespace

class StaffTest : public QObject {
    Q_OBJECT
private slots:
    void permissionTable_data();
    void permissionTable();
    void secretRules();
    void fiveWrongPinsLockTheName();
    void noSecretInTheDatabaseFile();
    void deletionAndItsRecordTogether();
    void changedRowBreaksTheChainThere();
    void recordRefusesUpdateAndDelete();
    void timeRespelledBreaksTheChain();
    void staffModeOffAsksNothing();
    void turningOffNeedsTheOwnersPassword();
};

void StaffTest::permissionTable_data() {
    QTest::addColumn<int>("action");
    QTest::addColumn<int>("role");
    // Each action for each role: allowed outright, or asked for a 店长's/店主's PIN.
    for (const Permission& p : qm::permissionTable()) {
        for (Role role : {Role::Owner, Role::Manager, Role::Cashier}) {
            QTest::addRow("%s %s", qPrintable(p.name), qPrintable(roleName(role)))
                << int(p.action) << int(role);
        }
    }
}

void StaffTest::permissionTable() {
    QFETCH(int, action);
    QFETCH(int, role);
    const Action a = Action(action);
    const Role r = Role(role);
    Shop shop;
    const QString name = r == Role::Owner     ? QStringLiteral("王店主")
                         : r == Role::Manager ? QStringLiteral("李店长")
                                              : QStringLiteral("小张");
    const QString secret = r == Role::Owner ? ownerPassword : r == Role::Manager ? managerPin : cashierPin;
    QCOMPARE(shop.staff.signIn(name, secret).status, SignInStatus::SignedIn);

    if (roleMay(r, a)) {
        const std::optional<Authorisation> who = shop.staff.authorise(a);
        QVERIFY(who);
        QCOMPARE(who->person, name);
        QVERIFY(who->authoriser.isEmpty());
        QVERIFY(shop.platform.shown.isEmpty());
        return;
    }
    // Asked: a wrong PIN refuses, the manager's PIN allows where a manager may, else the owner's.
    shop.platform.secretAnswers.enqueue(QStringLiteral("0000"));
    QVERIFY(!shop.staff.authorise(a));
    QCOMPARE(shop.platform.shown.first().caption, authorisationTitle);
    QCOMPARE(shop.platform.texts().last(), authorisationRefused);

    shop.platform.secretAnswers.enqueue(managerPin);
    const std::optional<Authorisation> byManager = shop.staff.authorise(a);
    QCOMPARE(bool(byManager), roleMay(Role::Manager, a));

    shop.platform.secretAnswers.enqueue(ownerPassword);
    const std::optional<Authorisation> byOwner = shop.staff.authorise(a);
    QVERIFY(byOwner);
    QCOMPARE(byOwner->person, name);
    QCOMPARE(byOwner->authoriser, QStringLiteral("王店主"));
}

void StaffTest::secretRules() {
    QVERIFY(isValidPin(QStringLiteral("1234")));
    QVERIFY(isValidPin(QStringLiteral("12345678")));
    QVERIFY(!isValidPin(QStringLiteral("123")));
    QVERIFY(!isValidPin(QStringLiteral("123456789")));
    QVERIFY(!isValidPin(QStringLiteral("12a4")));
    QVERIFY(!isValidOwnerPassword(QStringLiteral("1234567")));
    const QString hash = hashSecret(QStringLiteral("1234"));
    QVERIFY(hash.startsWith(QStringLiteral("$argon2id$")));
    QVERIFY(secretMatches(hash, QStringLiteral("1234")));
    QVERIFY(!secretMatches(hash, QStringLiteral("1235")));
}

void StaffTest::fiveWrongPinsLockTheName() {
    Shop shop;
    shop.staff.signOut();
    for (int i = 1; i < signInAttempts; ++i)
        QCOMPARE(shop.staff.signIn(QStringLiteral("小张"), QStringLiteral("0000")).status,
                 SignInStatus::WrongSecret);
    const SignInResult fifth = shop.staff.signIn(QStringLiteral("小张"), QStringLiteral("0000"));
    QCOMPARE(fifth.status, SignInStatus::Locked);
    QVERIFY(fifth.message.contains(QStringLiteral("锁定")));
    // Locked: even the right PIN is refused for a minute; another name is not locked.
    shop.platform.clock = shop.platform.clock.addSecs(59);
    QCOMPARE(shop.staff.signIn(QStringLiteral("小张"), cashierPin).status, SignInStatus::Locked);
    QCOMPARE(shop.staff.signIn(QStringLiteral("李店长"), managerPin).status, SignInStatus::SignedIn);
    shop.platform.clock = shop.platform.clock.addSecs(2);
    QCOMPARE(shop.staff.signIn(QStringLiteral("小张"), cashierPin).status, SignInStatus::SignedIn);
    QCOMPARE(count(shop.home.db(), QStringLiteral("SELECT count(*) FROM 操作记录 WHERE 操作 = '登录失败'")),
             qint64(signInAttempts));
}

void StaffTest::noSecretInTheDatabaseFile() {
    QM_SKIP_ON_SERVER();
    Shop shop;
    shop.staff.signOut();
    QCOMPARE(shop.staff.signIn(QStringLiteral("小张"), QStringLiteral("99887766")).status,
             SignInStatus::WrongSecret);
    Database& db = shop.home.db();
    QVERIFY(db.checkpoint());
    QFile file(db.path());
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    QVERIFY(bytes.contains(QByteArrayLiteral("$argon2id$")));
    for (const QString& secret : {ownerPassword, managerPin, cashierPin, QStringLiteral("99887766")}) {
        QVERIFY2(!bytes.contains(secret.toUtf8()), qPrintable(secret));
        QVERIFY2(!bytes.contains(secret.toUtf8().toBase64()), qPrintable(secret));
    }
}

void StaffTest::deletionAndItsRecordTogether() {
    Shop shop;
    Database& db = shop.home.db();
    const OrderWriteResult stored = insertOrder(db, anOrder(), twoLines);
    QVERIFY(stored);
    // The record cannot be written (its table is gone): the order stays with its lines.
    QVERIFY(db.exec(QStringLiteral("ALTER TABLE 操作记录 RENAME TO 旧记录")));
    QVERIFY(!deleteOrder(db, *stored.id,
                         shop.staff.event({QStringLiteral("小张"), {}}, QStringLiteral("删除订单"))));
    QCOMPARE(count(db, QStringLiteral("SELECT count(*) FROM 存单")), qint64(1));
    QCOMPARE(count(db, QStringLiteral("SELECT count(*) FROM 存单详单")), qint64(2));
    QVERIFY(db.exec(QStringLiteral("ALTER TABLE 旧记录 RENAME TO 操作记录")));

    QVERIFY(deleteOrder(
        db, *stored.id,
        shop.staff.event({QStringLiteral("小张"), QStringLiteral("王店主")}, QStringLiteral("删除订单"))));
    QCOMPARE(count(db, QStringLiteral("SELECT count(*) FROM 存单")), qint64(0));
    QSqlQuery row = db.prepare(
        QStringLiteral("SELECT 人员, 授权人, 存单ID, 编号, 之前 FROM 操作记录 WHERE 操作 = '删除订单'"));
    QVERIFY(row.exec() && row.next());
    QCOMPARE(row.value(0).toString(), QStringLiteral("小张"));
    QCOMPARE(row.value(1).toString(), QStringLiteral("王店主"));
    QCOMPARE(row.value(2).toLongLong(), *stored.id);
    QCOMPARE(row.value(3).toInt(), 7);
    QVERIFY(row.value(4).toString().contains(QStringLiteral("酸菜鱼")));
    QVERIFY(!firstBrokenAuditRow(db));
}

void StaffTest::changedRowBreaksTheChainThere() {
    Shop shop;
    Database& db = shop.home.db();
    for (int i = 0; i < 5; ++i)
        QVERIFY(
            shop.staff.record({QStringLiteral("小张"), {}}, QStringLiteral("重打小票"), QString::number(i)));
    QVERIFY(!firstBrokenAuditRow(db));
    const qint64 rows = count(db, QStringLiteral("SELECT count(*) FROM 操作记录"));
    const qint64 target = rows - 2;
    // A database tool that drops the triggers first can change a row; the chain shows where.
    if (db.isServer())
        QVERIFY(db.exec(QStringLiteral("ALTER TABLE 操作记录 DISABLE TRIGGER 操作记录_只增")));
    else
        QVERIFY(db.exec(QStringLiteral("DROP TRIGGER 操作记录_禁止修改")) &&
                db.exec(QStringLiteral("DROP TRIGGER 操作记录_禁止删除")));
    QVERIFY(db.exec(QStringLiteral("UPDATE 操作记录 SET 之后 = 'x' WHERE ID = ?"), {target}));
    QCOMPARE(firstBrokenAuditRow(db), std::optional<qint64>(target));
    // A removed row breaks the chain at the row after it.
    QVERIFY(db.exec(QStringLiteral("DELETE FROM 操作记录 WHERE ID = 1")));
    QCOMPARE(firstBrokenAuditRow(db), std::optional<qint64>(2));
}

void StaffTest::recordRefusesUpdateAndDelete() {
    Shop shop;
    Database& db = shop.home.db();
    QVERIFY(!db.exec(QStringLiteral("UPDATE 操作记录 SET 人员 = 'x'")));
    QVERIFY(!db.exec(QStringLiteral("DELETE FROM 操作记录")));
    QVERIFY(count(db, QStringLiteral("SELECT count(*) FROM 操作记录")) > 0);
}

// A time rewritten in another spelling of the same moment is a change like any other.
void StaffTest::timeRespelledBreaksTheChain() {
    Shop shop;
    Database& db = shop.home.db();
    QVERIFY(shop.staff.record({QStringLiteral("小张"), {}}, QStringLiteral("无销售打开钱箱")));
    const qint64 last = count(db, QStringLiteral("SELECT max(ID) FROM 操作记录"));
    if (db.isServer())
        QVERIFY(db.exec(QStringLiteral("ALTER TABLE 操作记录 DISABLE TRIGGER 操作记录_只增")));
    else
        QVERIFY(db.exec(QStringLiteral("DROP TRIGGER 操作记录_禁止修改")));
    QVERIFY(
        db.exec(QStringLiteral("UPDATE 操作记录 SET 时间 = replace(时间, ' ', 'T') WHERE ID = ?"), {last}));
    QCOMPARE(firstBrokenAuditRow(db), std::optional<qint64>(last));
}

void StaffTest::staffModeOffAsksNothing() {
    TempHome home;
    FakePlatform platform;
    StaffSession staff(home.db(), platform);
    QVERIFY(!staff.enabled());
    for (const Permission& p : qm::permissionTable())
        QVERIFY(staff.authorise(p.action));
    QVERIFY(!staff.event({}, QStringLiteral("删除订单")));
    const OrderWriteResult stored = insertOrder(home.db(), anOrder(), twoLines);
    QVERIFY(deleteOrder(home.db(), *stored.id, staff.event({}, QStringLiteral("删除订单"))));
    QVERIFY(platform.shown.isEmpty());
    QCOMPARE(count(home.db(), QStringLiteral("SELECT count(*) FROM 操作记录")), qint64(0));
}

void StaffTest::turningOffNeedsTheOwnersPassword() {
    Shop shop;
    QVERIFY(!shop.staff.disable(managerPin).isEmpty());
    QVERIFY(shop.staff.enabled());
    QVERIFY(shop.staff.disable(ownerPassword).isEmpty());
    QVERIFY(!shop.staff.enabled());
    StaffSession again(shop.home.db(), shop.platform);
    QVERIFY(!again.enabled());
}

QTEST_GUILESS_MAIN(StaffTest)
#include "tst_staff.moc"
