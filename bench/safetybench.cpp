#include "safetybench.h"

#include "benchutil.h"

#include "app/programdatabase.h"
#include "app/ui/mainwindow.h"
#include "backup/backupfolder.h"
#include "backup/restore.h"
#include "backup/ui/backupcommands.h"
#include "core/home.h"
#include "core/ui/qtplatform.h"
#include "store/databasecopy.h"
#include "store/orderstore.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>

namespace qm::bench {

namespace {

double settleMs(Database& db, const char* synchronous, int orders) {
    db.exec(QStringLiteral("PRAGMA synchronous = %1").arg(QLatin1String(synchronous)));
    StoredOrder order;
    order.number = 1;
    order.time = QDateTime::currentDateTime();
    order.tableName = QStringLiteral("测量");
    order.telephone = QStringLiteral("13900000001");
    order.total = order.toPay = 41;
    order.settled = true;
    const QList<StoredLine> lines{{QStringLiteral("酸菜鱼"), 1, QStringLiteral("份"), 16},
                                  {QStringLiteral("王老吉"), 2, QStringLiteral("瓶"), 7},
                                  {QStringLiteral("空心菜"), 1, QStringLiteral("份"), 18}};
    QList<qint64> ids;
    const double ms = meanMs(orders, [&] {
        if (const OrderWriteResult written = insertOrder(db, order, lines))
            ids << *written.id;
    });
    for (qint64 id : ids)
        deleteOrder(db, id);
    db.exec(QStringLiteral("PRAGMA synchronous = FULL"));
    return ms;
}

} // namespace

void benchSafety(const Home& home) {
    {
        OpenedDatabase opened = openProgramDatabase(home);
        if (!opened.db)
            return;
        figure(QStringLiteral("settle one order, synchronous = FULL (WAL)"),
               settleMs(*opened.db, "FULL", 200), "ms");
        figure(QStringLiteral("settle one order, synchronous = NORMAL (WAL)"),
               settleMs(*opened.db, "NORMAL", 200), "ms");
        // As the program stored orders before: a rollback journal with NORMAL.
        opened.db->exec(QStringLiteral("PRAGMA journal_mode = DELETE"));
        figure(QStringLiteral("settle one order, synchronous = NORMAL (rollback journal)"),
               settleMs(*opened.db, "NORMAL", 200), "ms");
        figure(QStringLiteral("settle one order, synchronous = FULL (rollback journal)"),
               settleMs(*opened.db, "FULL", 200), "ms");
        opened.db->exec(QStringLiteral("PRAGMA journal_mode = WAL"));
        opened.db->checkpoint();
    }
    const QString path = home.databasePath();
    figure(QStringLiteral("database file size"), double(QFileInfo(path).size()) / (1024 * 1024), "MB");
    QElapsedTimer timer;
    timer.start();
    const QString quick = checkDatabaseFile(path, true);
    figure(QStringLiteral("quick_check of the database") +
               (quick.isEmpty() ? QString() : QStringLiteral(" (FAILED)")),
           double(timer.nsecsElapsed()) / 1e6, "ms");

    const QString folder = QDir(home.root()).filePath(QStringLiteral("bench-backup"));
    QDir().mkpath(folder);
    const QString target = QDir(folder).filePath(backupFileName(QDateTime::currentDateTime()));
    timer.restart();
    const QString error = writeCheckedCopy(path, target);
    figure(QStringLiteral("checked copy of the database (VACUUM INTO + integrity_check)") +
               (error.isEmpty() ? QString() : QStringLiteral(" (FAILED)")),
           double(timer.nsecsElapsed()) / 1e6, "ms");
    timer.restart();
    checkDatabaseFile(target, false);
    figure(QStringLiteral("  of which integrity_check of the copy"), double(timer.nsecsElapsed()) / 1e6,
           "ms");
    timer.restart();
    const CopySummary summary = summarizeCopy(target);
    figure(QStringLiteral("one row of the list of copies (orders, latest order)"),
           double(timer.nsecsElapsed()) / 1e6, "ms");
    figure(QStringLiteral("  orders in the copy"), double(summary.orders), "orders");
    QFile::remove(target);
    QDir(folder).removeRecursively();

    timer.restart();
    {
        OpenedDatabase opened = openProgramDatabase(home);
        QtPlatform platform;
        MainWindow window(*opened.db, platform, home, opened.quantityDecimals);
        BackupCommands backups(window, *opened.db, platform, home);
        window.show();
        QApplication::processEvents();
        figure(QStringLiteral("start-up: open database to the main window shown"),
               double(timer.nsecsElapsed()) / 1e6, "ms");
        // The check and the copy of the day then run behind the window: the interface keeps responding.
        QElapsedTimer background;
        background.start();
        backups.startCheck();
        qint64 longestGap = 0;
        QElapsedTimer gap;
        gap.start();
        while (!backups.waitForCheck(10)) {
            QApplication::processEvents();
            longestGap = qMax(longestGap, gap.restart());
        }
        figure(QStringLiteral("check and copy of the day behind the window"),
               double(background.nsecsElapsed()) / 1e6, "ms");
        figure(QStringLiteral("  longest pause of the window meanwhile"), double(longestGap), "ms");
        timer.restart();
        const QList<BackupListing> listed = listCopies(home);
        figure(QStringLiteral("list of copies for 恢复数据, times and sizes (%1 copies)").arg(listed.size()),
               double(timer.nsecsElapsed()) / 1e6, "ms");
    }
    QDir(backupFolder(home)).removeRecursively();
}

} // namespace qm::bench
