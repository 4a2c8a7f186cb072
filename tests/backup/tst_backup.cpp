#include "app/ui/mainwindow.h"
#include "backup/autobackup.h"
#include "backup/backupfolder.h"
#include "backup/restore.h"
#include "backup/ui/backupcommands.h"
#include "backup/ui/restorewindow.h"
#include "order/orderform.h"
#include "staff/staffsession.h"
#include "store/databasecopy.h"
#include "store/orderstore.h"
#include "store/settings.h"
#include "support/fakeplatform.h"
#include "support/temphome.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QSignalSpy>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>

#include <csignal>
#include <sys/resource.h>

using namespace qm;

namespace {

qint64 scalar(Database& db, const QString& sql) {
    QSqlQuery query = db.prepare(sql);
    return query.exec() && query.next() ? query.value(0).toLongLong() : -1;
}

qint64 orderCount(Database& db) {
    return scalar(db, QStringLiteral("SELECT count(*) FROM 存单"));
}

// Stores an order with two lines; its table name tells it apart.
void storeOrder(Database& db, const QString& table,
                const QDateTime& time = QDateTime(QDate(2026, 3, 14), QTime(12, 0))) {
    StoredOrder order;
    order.number = 1;
    order.time = time;
    order.tableName = table;
    order.total = order.toPay = 30;
    order.settled = true;
    const OrderWriteResult written = insertOrder(db, order,
                                                 {{QStringLiteral("酸菜鱼"), 1, QStringLiteral("份"), 16},
                                                  {QStringLiteral("王老吉"), 4, QStringLiteral("瓶"), 14}});
    QVERIFY2(written, qPrintable(written.error));
}

QStringList tablesOfOrders(Database& db) {
    QStringList out;
    QSqlQuery query = db.prepare(QStringLiteral("SELECT 桌号 FROM 存单 ORDER BY ID"));
    if (query.exec()) {
        while (query.next())
            out << query.value(0).toString();
    }
    return out;
}

QStringList fileNames(const QString& folder) {
    return QDir(folder).entryList(QDir::Files, QDir::Name);
}

void writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(bytes);
}

// Overwrites the middle of the file's pages, past its header, as a failing disk might.
void damage(const QString& path) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadWrite));
    const qint64 size = file.size();
    QVERIFY(size > 8 * 4096);
    for (qint64 page = 2; page * 4096 < size; page += 3) {
        file.seek(page * 4096 + 100);
        file.write(QByteArray(600, '\x5a'));
    }
}

QList<BackupCopy> copiesOn(const QList<QDateTime>& times) {
    QList<BackupCopy> copies;
    for (const QDateTime& time : times)
        copies.append({backupFileName(time), time, 1});
    return copies;
}

// A home with a few orders and a main window on it.
struct Shop {
    TempHome home;
    FakePlatform platform;
    MainWindow* window = nullptr;
    BackupCommands* backups = nullptr;

    Shop() {
        for (const char* table : {"号牌 1", "号牌 2", "号牌 3"})
            storeOrder(home.db(), QString::fromUtf8(table));
    }
    ~Shop() { delete window; }
    void openWindow() {
        window = new MainWindow(home.db(), platform, home.home(), home.quantityDecimals());
        backups = new BackupCommands(*window, home.db(), platform, home.home());
    }
    QString folder() const { return backupFolder(home.home()); }
};

} // namespace

class BackupTest : public QObject {
    Q_OBJECT

private slots:
    void namesCarryTheirTime() {
        const QDateTime time(QDate(2026, 3, 14), QTime(9, 5, 7));
        QCOMPARE(backupFileName(time), QStringLiteral("data-2026-03-14-090507.db"));
        QCOMPARE(backupTime(backupFileName(time)), std::optional<QDateTime>(time));
        for (const char* other : {"data.db", "data-2026-03-14-090507.db.part", "data-2026-13-14-090507.db",
                                  "notes-2026-03-14-090507.db"})
            QVERIFY2(!backupTime(QString::fromUtf8(other)), other);
    }

    void rotationKeepsFourteenDaysAndTwelveMonths() {
        // Every day from 2025-01-01 to 2026-03-14, and a second copy (before a restore) on the last day.
        QList<QDateTime> times;
        for (QDate day(2025, 1, 1); day <= QDate(2026, 3, 14); day = day.addDays(1))
            times.append(QDateTime(day, QTime(9, 0)));
        times.append(QDateTime(QDate(2026, 3, 14), QTime(15, 30)));
        const QStringList removed = copiesToRemove(copiesOn(times));

        QStringList kept;
        for (const QDateTime& time : times) {
            if (!removed.contains(backupFileName(time)))
                kept << time.toString(QStringLiteral("yyyy-MM-dd HH:mm"));
        }
        QStringList expected;
        for (int month = 4; month <= 12; ++month)
            expected << QStringLiteral("2025-%1-01 09:00").arg(month, 2, 10, QLatin1Char('0'));
        expected << QStringLiteral("2026-01-01 09:00") << QStringLiteral("2026-02-01 09:00")
                 << QStringLiteral("2026-03-01 09:00");
        for (int day = 1; day <= 14; ++day)
            expected << QStringLiteral("2026-03-%1 09:00").arg(day, 2, 10, QLatin1Char('0'));
        expected << QStringLiteral("2026-03-14 15:30");
        expected.removeDuplicates();
        QCOMPARE(kept, expected);
    }

    void rotationAfterALongCloseKeepsTheCopiesBeforeIt() {
        // The shop was closed from June to October: the last fourteen days with a copy are before the
        // break, not the calendar's last fourteen days.
        QList<QDateTime> times;
        for (QDate day(2025, 5, 1); day <= QDate(2025, 5, 31); day = day.addDays(1))
            times.append(QDateTime(day, QTime(10, 0)));
        times.append(QDateTime(QDate(2025, 11, 2), QTime(10, 0)));
        const QStringList removed = copiesToRemove(copiesOn(times));
        QCOMPARE(removed.size(), 31 - 13 - 1); // 13 May days and May's first copy stay
        QVERIFY(!removed.contains(backupFileName(QDateTime(QDate(2025, 5, 1), QTime(10, 0)))));
        QVERIFY(!removed.contains(backupFileName(QDateTime(QDate(2025, 5, 19), QTime(10, 0)))));
        QVERIFY(removed.contains(backupFileName(QDateTime(QDate(2025, 5, 18), QTime(10, 0)))));
    }

    void dailyBackupsWithAFakeClockRotateTheFolder() {
        TempHome temp;
        storeOrder(temp.db(), QStringLiteral("号牌 1"));
        for (QDate day(2026, 1, 1); day <= QDate(2026, 2, 20); day = day.addDays(1)) {
            const SafetyReport first = checkAndBackUp(temp.home(), QDateTime(day, QTime(9, 0)));
            QVERIFY2(first.backupRan && first.backup, qPrintable(first.backup.error));
            // Closing in the evening of the same day makes no second copy.
            QVERIFY(!backUpOncePerDay(temp.home(), QDateTime(day, QTime(22, 0))).backupRan);
        }
        QStringList expected{QStringLiteral("data-2026-01-01-090000.db"),
                             QStringLiteral("data-2026-02-01-090000.db")};
        for (int day = 7; day <= 20; ++day)
            expected << QStringLiteral("data-2026-02-%1-090000.db").arg(day, 2, 10, QLatin1Char('0'));
        QCOMPARE(fileNames(backupFolder(temp.home())), expected);

        // Each copy is a whole database of its own, with the order.
        const CopySummary summary = summarizeCopy(QDir(backupFolder(temp.home())).filePath(expected.last()));
        QVERIFY(summary);
        QCOMPARE(summary.orders, 1);
        QCOMPARE(summary.version, QStringLiteral("3.2"));
        QCOMPARE(checkDatabaseFile(QDir(backupFolder(temp.home())).filePath(expected.last()), false),
                 QString());
    }

    void aCopyHoldsWhatWasCommittedWhileAWriteIsUnderWay() {
        TempHome temp;
        Database& db = temp.db();
        storeOrder(db, QStringLiteral("号牌 1"));
        const QString target = QDir(temp.path()).filePath(QStringLiteral("copy.db"));
        QVERIFY(db.connection().transaction());
        QVERIFY(db.exec(QStringLiteral("INSERT INTO 存单 (编号, 桌号) VALUES (2, '未提交')")));
        QCOMPARE(writeCheckedCopy(db.path(), target), QString());
        QVERIFY(db.connection().commit());
        QCOMPARE(summarizeCopy(target).orders, 1);
        QCOMPARE(orderCount(db), 2);
        // A copy over the database itself is refused.
        QVERIFY(!writeCheckedCopy(db.path(), db.path()).isEmpty());
        QCOMPARE(orderCount(db), 2);
    }

    void restoreOfAGoodCopyReplacesTheData() {
        Shop shop;
        Database& db = shop.home.db();
        const QString copy = QDir(shop.home.path()).filePath(QStringLiteral("usb.db"));
        QCOMPARE(writeCheckedCopy(db.path(), copy), QString());
        storeOrder(db, QStringLiteral("号牌 4"));
        RecordStore(db).write(QStringLiteral("小数位数"), QStringLiteral("2"));

        const RestoreResult result = restoreDatabase(db, shop.home.home(), copy, shop.platform.clock);
        QVERIFY2(result, qPrintable(result.error));
        QCOMPARE(tablesOfOrders(db),
                 QStringList({QStringLiteral("号牌 1"), QStringLiteral("号牌 2"), QStringLiteral("号牌 3")}));
        QCOMPARE(result.quantityDecimals, 1);
        // The data in use before is a copy in the backup folder, and the connection writes on.
        QCOMPARE(summarizeCopy(result.previousCopy).orders, 4);
        storeOrder(db, QStringLiteral("号牌 5"));
        QCOMPARE(orderCount(db), 4);
        const QStringList dataFiles = fileNames(shop.home.home().dataDir());
        QVERIFY2(!dataFiles.join(' ').contains(QStringLiteral(".previous")) &&
                     !dataFiles.join(' ').contains(QStringLiteral(".restoring")),
                 qPrintable(dataFiles.join(' ')));
    }

    void restoreOfAnOlderVersionUpgradesIt() {
        Shop shop;
        Database& db = shop.home.db();
        TempHome older;
        storeOrder(older.db(), QStringLiteral("旧版"));
        RecordStore(older.db()).write(QStringLiteral("数据库版本"), QStringLiteral("3.1"));
        const QString copy = QDir(shop.home.path()).filePath(QStringLiteral("older.db"));
        QCOMPARE(writeCheckedCopy(older.db().path(), copy), QString());

        const RestoreResult result = restoreDatabase(db, shop.home.home(), copy, shop.platform.clock);
        QVERIFY2(result, qPrintable(result.error));
        QCOMPARE(tablesOfOrders(db), QStringList{QStringLiteral("旧版")});
        QCOMPARE(RecordStore(db).read(QStringLiteral("数据库版本")), QStringLiteral("3.2"));
    }

    void backupDataWritesACopyToTheChosenFolder_data() {
        QTest::addColumn<bool>("folderExists");
        QTest::newRow("USB stick") << true;
        QTest::newRow("stick pulled out") << false;
    }
    void backupDataWritesACopyToTheChosenFolder() {
        QFETCH(bool, folderExists);
        Shop shop;
        shop.openWindow();
        QTemporaryDir stick;
        const QString folder = folderExists ? stick.path() : stick.filePath(QStringLiteral("gone"));
        shop.platform.fileAnswers.enqueue(folder);
        shop.window->entry(MainWindow::Entry::BackupData)->trigger();

        const QString target = QDir(folder).filePath(QStringLiteral("data-2026-03-14-123000.db"));
        QCOMPARE(shop.platform.shown.first().kind, FakePlatform::Kind::Folder);
        const QString told = shop.platform.texts().last();
        if (folderExists) {
            QCOMPARE(told, QStringLiteral("数据已备份到：\n") + target);
            QCOMPARE(summarizeCopy(target).orders, 3);
        } else {
            QVERIFY2(told.startsWith(QStringLiteral("备份失败：")), qPrintable(told));
            QCOMPARE(shop.platform.shown.last().icon, MessageIcon::Warning);
        }
        QCOMPARE(orderCount(shop.home.db()), 3);
    }

    void restoreRefusesBadFiles_data() {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("message");
        QTest::newRow("damaged") << "damaged"
                                 << "所选文件已损坏（完整性检查发现错误），无法恢复。";
        QTest::newRow("not a database") << "text"
                                        << "所选文件不是可用的数据库：";
        QTest::newRow("another program's database") << "foreign"
                                                    << "所选文件不是本程序的数据库";
        QTest::newRow("newer version") << "newer"
                                       << "所选文件的数据库版本（4.0）比本程序（3.2）新";
        QTest::newRow("missing") << "missing"
                                 << "所选文件不是可用的数据库：";
        QTest::newRow("a server's pg_dump") << "dump"
                                            << "所选文件是服务器数据库的备份（pg_dump）";
    }
    void restoreRefusesBadFiles() {
        QFETCH(QString, kind);
        QFETCH(QString, message);
        Shop shop;
        Database& db = shop.home.db();
        const QString candidate = QDir(shop.home.path()).filePath(QStringLiteral("candidate.db"));
        if (kind == QLatin1String("damaged") || kind == QLatin1String("newer")) {
            TempHome other;
            for (int i = 0; i < 400; ++i)
                storeOrder(other.db(), QStringLiteral("别的店 %1").arg(i));
            if (kind == QLatin1String("newer"))
                RecordStore(other.db()).write(QStringLiteral("数据库版本"), QStringLiteral("4.0"));
            QCOMPARE(writeCheckedCopy(other.db().path(), candidate), QString());
            if (kind == QLatin1String("damaged"))
                damage(candidate);
        } else if (kind == QLatin1String("text")) {
            writeFile(candidate, QByteArray("电话,姓名\n13900000000,张三\n").repeated(100));
        } else if (kind == QLatin1String("dump")) {
            writeFile(candidate, QByteArray("PGDMP\x01\x0e\x04\x08\x01\x01").repeated(100));
        } else if (kind == QLatin1String("foreign")) {
            const QString name = QStringLiteral("foreign");
            {
                QSqlDatabase foreign = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
                foreign.setDatabaseName(candidate);
                QVERIFY(foreign.open());
                QSqlQuery(foreign).exec(QStringLiteral("CREATE TABLE notes (text TEXT)"));
                foreign.close();
            }
            QSqlDatabase::removeDatabase(name);
        }

        const RestoreResult result = restoreDatabase(db, shop.home.home(), candidate, shop.platform.clock);
        QVERIFY(!result);
        QVERIFY2(result.error.startsWith(message), qPrintable(result.error));
        // Told in Chinese: neither the driver's nor SQLite's English words.
        for (const char* english : {"Unable", "database", "malformed", "file is not"})
            QVERIFY2(!result.error.contains(QLatin1String(english)), qPrintable(result.error));
        // The current data is untouched and still in use; no copy was made of it for nothing.
        QCOMPARE(orderCount(db), 3);
        storeOrder(db, QStringLiteral("号牌 4"));
        QCOMPARE(orderCount(db), 4);
        QVERIFY(fileNames(shop.folder()).isEmpty());
    }

    void aFullDiskDuringTheBackupLeavesTheDatabaseWorkingAndTellsTheCashier() {
        Shop shop;
        Database& db = shop.home.db();
        for (int i = 0; i < 3000; ++i)
            storeOrder(db, QStringLiteral("号牌 %1").arg(i));
        QVERIFY(db.checkpoint());
        const qint64 size = QFileInfo(db.path()).size();
        shop.openWindow();

        // No file of this process may grow past half the database: the copy hits the limit as it would
        // a full disk.
        rlimit saved{};
        QCOMPARE(getrlimit(RLIMIT_FSIZE, &saved), 0);
        const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limited = saved;
        limited.rlim_cur = rlim_t(size / 2);
        QCOMPARE(setrlimit(RLIMIT_FSIZE, &limited), 0);
        shop.backups->startCheck();
        const bool ended = shop.backups->waitForCheck(60000);
        setrlimit(RLIMIT_FSIZE, &saved);
        std::signal(SIGXFSZ, previousHandler);
        QVERIFY(ended);

        QVERIFY2(shop.backups->statusText().startsWith(backupFailedPrefix),
                 qPrintable(shop.backups->statusText()));
        QVERIFY(shop.platform.shown.isEmpty()); // the status line only: no window stops the cashier
        QVERIFY(fileNames(shop.folder()).isEmpty());
        storeOrder(db, QStringLiteral("之后"));
        QCOMPARE(orderCount(db), 3004);
        QCOMPARE(checkDatabaseFile(db.path(), false), QString());

        // The next attempt that succeeds clears the line.
        shop.backups->startCheck();
        QVERIFY(shop.backups->waitForCheck(60000));
        QCOMPARE(shop.backups->statusText(), QString());
        QCOMPARE(fileNames(shop.folder()).size(), 1);
    }

    void aDatabaseLockedByAnotherProgramIsNotTakenForDamaged() {
        TempHome temp;
        storeOrder(temp.db(), QStringLiteral("号牌 1"));
        temp.db().close();
        const QString name = QStringLiteral("locker");
        {
            QSqlDatabase locker = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
            locker.setDatabaseName(temp.db().path());
            QVERIFY(locker.open());
            QSqlQuery lock(locker);
            QVERIFY(lock.exec(QStringLiteral("PRAGMA locking_mode = EXCLUSIVE")));
            QVERIFY(lock.exec(QStringLiteral("BEGIN EXCLUSIVE")));
            QVERIFY(lock.exec(QStringLiteral("UPDATE 存单 SET 备注 = '锁'")));

            const SafetyReport report =
                checkAndBackUp(temp.home(), QDateTime(QDate(2026, 3, 14), QTime(9, 0)));
            QCOMPARE(report.damage, QString());
            QVERIFY(!report.checkProblem.isEmpty());
            QVERIFY(report.backupRan && !report.backup);
            QVERIFY(!QDir(temp.path())
                         .entryList(QDir::Files | QDir::NoDotAndDotDot)
                         .join(' ')
                         .contains("damaged"));
            lock.exec(QStringLiteral("ROLLBACK"));
            locker.close();
        }
        QSqlDatabase::removeDatabase(name);
    }

    void restoreFromTheMenuReloadsTheWindow() {
        Shop shop;
        Database& db = shop.home.db();
        shop.openWindow();
        shop.backups->startCheck();
        QVERIFY(shop.backups->waitForCheck(60000));
        QCOMPARE(fileNames(shop.folder()).size(), 1);
        QCOMPARE(shop.window->findChild<QLabel*>(QStringLiteral("状态条1_数量"))->text(),
                 QStringLiteral("今日打单数量：3"));

        storeOrder(db, QStringLiteral("号牌 4"));
        db.exec(QStringLiteral("DELETE FROM 菜单 WHERE 代码 = '108'"));
        shop.window->orderForm().loadDishCache();
        shop.window->orderForm().refreshTodayTotals();
        QCOMPARE(shop.window->findChild<QLabel*>(QStringLiteral("状态条1_数量"))->text(),
                 QStringLiteral("今日打单数量：4"));

        // A server's copy kept in the same folder is named for what it is, not as unreadable.
        writeFile(QDir(shop.folder()).filePath(QStringLiteral("data-2026-03-13-120000.dump")),
                  QByteArrayLiteral("PGDMP\x01\x0e"));
        QAction* restore = shop.window->entry(MainWindow::Entry::RestoreData);
        QVERIFY(restore->isEnabled());
        QStringList listed;
        shop.backups->setRunModal([&](QDialog& dialog) {
            auto& window = static_cast<RestoreWindow&>(dialog);
            QTRY_VERIFY(window.described());
            auto* list = window.findChild<QTreeWidget*>(QStringLiteral("列表_备份"));
            for (int row = 0; row < list->topLevelItemCount(); ++row) {
                QStringList cells;
                for (int column = 0; column < 4; ++column)
                    cells << list->topLevelItem(row)->text(column);
                listed << cells.join(QLatin1Char('|'));
            }
            window.chooseRow(0);
        });
        shop.platform.yesNoAnswers.enqueue(true);
        restore->trigger();

        QCOMPARE(listed.size(), 2);
        QVERIFY2(listed[1].endsWith(QStringLiteral("|-|服务器数据库的备份")), qPrintable(listed[1]));
        QVERIFY2(listed.first().startsWith(QStringLiteral("2026-03-14 12:30:00|")),
                 qPrintable(listed.first()));
        QVERIFY2(listed.first().endsWith(QStringLiteral("|3|2026-03-14 12:00:00")),
                 qPrintable(listed.first()));
        QCOMPARE(orderCount(db), 3);
        QCOMPARE(shop.window->findChild<QLabel*>(QStringLiteral("状态条1_数量"))->text(),
                 QStringLiteral("今日打单数量：3"));
        QVERIFY2(shop.platform.texts().last().startsWith(QStringLiteral("数据已恢复。")),
                 qPrintable(shop.platform.texts().join('\n')));
        // The dish deleted after the copy is known again to order entry.
        OrderForm& form = shop.window->orderForm();
        form.setText(OrderField::DishCode, QStringLiteral("108"));
        QCOMPARE(form.candidates().size(), 1);
    }

    // In staff mode a cashier restores only with the owner's PIN; the restore is recorded in the restored
    // data, naming both, and staff mode is read from that data again (everyone signs in anew).
    void restoreInStaffModeNeedsTheOwnerAndIsRecorded() {
        Shop shop;
        Database& db = shop.home.db();
        StaffSession staff(db, shop.platform);
        const QString password = QStringLiteral("owner-pass-2026");
        QVERIFY(staff.enable(QStringLiteral("王店主"), password).isEmpty());
        QVERIFY(staff.saveMember(QStringLiteral("小张"), Role::Cashier, QStringLiteral("7351")).isEmpty());
        QCOMPARE(staff.signIn(QStringLiteral("小张"), QStringLiteral("7351")).status, SignInStatus::SignedIn);
        shop.openWindow();
        shop.backups->setStaff(&staff);
        shop.backups->startCheck();
        QVERIFY(shop.backups->waitForCheck(60000));
        const QString copy = QDir(shop.folder()).filePath(fileNames(shop.folder()).first());
        storeOrder(db, QStringLiteral("号牌 4"));
        QSignalSpy replaced(shop.backups, &BackupCommands::databaseReplaced);

        shop.platform.secretAnswers.enqueue(QStringLiteral("7351")); // the cashier's own PIN allows nothing
        QVERIFY(!shop.backups->restoreFile(copy));
        QCOMPARE(shop.platform.texts().last(), authorisationRefused);
        QCOMPARE(orderCount(db), 4);
        QCOMPARE(replaced.count(), 0);

        shop.platform.secretAnswers.enqueue(password);
        shop.platform.yesNoAnswers.enqueue(true);
        QVERIFY(shop.backups->restoreFile(copy));
        QCOMPARE(orderCount(db), 3);
        QCOMPARE(replaced.count(), 1);
        QVERIFY(staff.enabled());
        QVERIFY(!staff.current());
        QSqlQuery row = db.prepare(QStringLiteral(
            "SELECT 人员, 授权人, 之后 FROM 操作记录 WHERE 操作 = '恢复数据' ORDER BY ID DESC"));
        QVERIFY(row.exec() && row.next());
        QCOMPARE(row.value(0).toString(), QStringLiteral("小张"));
        QCOMPARE(row.value(1).toString(), QStringLiteral("王店主"));
        QVERIFY2(row.value(2).toString().contains(QDir::toNativeSeparators(copy)),
                 qPrintable(row.value(2).toString()));
        QVERIFY(!firstBrokenAuditRow(db));

        // Backing up asks the same permission: refused, no folder is even asked for.
        QVERIFY(staff.signIn(QStringLiteral("小张"), QStringLiteral("7351")).status ==
                SignInStatus::SignedIn);
        const qsizetype shownBefore = shop.platform.shown.size();
        shop.backups->backUpToFolder();
        QCOMPARE(shop.platform.shown.size(), shownBefore + 2); // the PIN box and the refusal
        QCOMPARE(shop.platform.texts().last(), authorisationRefused);
    }

    void aDamagedFileFoundAfterStartIsKeptAndTheNewestGoodCopyRestored() {
        Shop shop;
        Database& db = shop.home.db();
        for (int i = 0; i < 400; ++i)
            storeOrder(db, QStringLiteral("号牌 %1").arg(i));
        QCOMPARE(
            backupIntoFolder(shop.home.home(), db.path(), QDateTime(QDate(2026, 3, 13), QTime(9, 0))).error,
            QString());
        QVERIFY(db.checkpoint());
        shop.openWindow();
        damage(db.path());
        const QByteArray damagedBytes = [&] {
            QFile file(db.path());
            return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
        }();

        shop.platform.yesNoAnswers.enqueue(true);
        shop.backups->startCheck();
        QVERIFY(shop.backups->waitForCheck(60000));

        // The question fits on the screen; SQLite's report is behind the details button.
        const QStringList texts = shop.platform.texts();
        QVERIFY2(texts.size() == 2 &&
                     texts.first().startsWith(
                         QStringLiteral("数据库文件已损坏。\n最新的备份（2026-03-13 09:00:00）有 "
                                        "403 个订单")) &&
                     texts.first().count(QLatin1Char('\n')) <= 8,
                 qPrintable(texts.join('\n')));
        QVERIFY(!shop.platform.shown.first().details.isEmpty());
        QVERIFY(!texts.first().contains(shop.platform.shown.first().details));
        QCOMPARE(orderCount(db), 403);
        QCOMPARE(checkDatabaseFile(db.path(), false), QString());
        // The damaged file is kept beside under its own name, byte for byte.
        const QStringList kept =
            QDir(shop.home.home().dataDir()).entryList({QStringLiteral("data.db.damaged-*")}, QDir::Files);
        QVERIFY2(kept.contains(QStringLiteral("data.db.damaged-20260314-123000")),
                 qPrintable(kept.join(' ')));
        QFile keptFile(QDir(shop.home.home().dataDir()).filePath(kept.first()));
        QVERIFY(keptFile.open(QIODevice::ReadOnly));
        QCOMPARE(keptFile.readAll(), damagedBytes);
    }

    void aDamagedFileAtStartIsReplacedOnlyOnYes() {
        TempHome temp;
        for (int i = 0; i < 400; ++i)
            storeOrder(temp.db(), QStringLiteral("号牌 %1").arg(i));
        QCOMPARE(
            backupIntoFolder(temp.home(), temp.db().path(), QDateTime(QDate(2026, 3, 13), QTime(9, 0))).error,
            QString());
        const QString path = temp.db().path();
        storeOrder(temp.db(), QStringLiteral("晚到"));
        QVERIFY(temp.db().checkpoint());
        temp.db().close();
        damage(path);
        const QString found = checkDatabaseFile(path, true);
        QVERIFY(!found.isEmpty());

        FakePlatform platform;
        platform.yesNoAnswers.enqueue(false);
        QVERIFY(!offerRestoreAtStart(temp.home(), platform, found));
        // One short account on the screen, SQLite's report behind the details button.
        const FakePlatform::Shown question = platform.shown.first();
        QVERIFY2(
            question.text.startsWith(QStringLiteral("数据库文件已损坏。\n最新的备份（2026-03-13 09:00:00）有 "
                                                    "400 个订单，最新的订单是 ")),
            qPrintable(question.text));
        QVERIFY(question.text.contains(QStringLiteral("损坏的文件")));
        QVERIFY(question.text.endsWith(QStringLiteral("是否恢复这个备份？损坏的文件将另存在旁边。")));
        QVERIFY(question.text.count(QLatin1Char('\n')) <= 6);
        QCOMPARE(question.details, found);
        QCOMPARE(checkDatabaseFile(path, true), found); // as it was

        platform.yesNoAnswers.enqueue(true);
        QVERIFY(offerRestoreAtStart(temp.home(), platform, found));
        QCOMPARE(checkDatabaseFile(path, false), QString());
        QCOMPARE(summarizeCopy(path).orders, 400);
        const QString kept = path + QStringLiteral(".damaged-20260314-123000");
        QCOMPARE(checkDatabaseFile(kept, true), found);
    }
};

QTEST_MAIN(BackupTest)
#include "tst_backup.moc"
