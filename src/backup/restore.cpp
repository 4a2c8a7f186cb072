#include "backup/restore.h"

#include "core/home.h"
#include "core/platform.h"
#include "receipt/receiptdefaults.h"
#include "store/database.h"
#include "store/databasecopy.h"
#include "store/opendatabase.h"
#include "store/settings.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QVersionNumber>

#include <cstdio>
#include <unistd.h>

namespace qm {

namespace {

bool renameOver(const QString& from, const QString& to) {
    return std::rename(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()) == 0;
}

// A second name for the file, kept while it is replaced: a hard link where the file system has them.
bool keepAs(const QString& path, const QString& kept) {
    QFile::remove(kept);
    if (::link(QFile::encodeName(path).constData(), QFile::encodeName(kept).constData()) == 0)
        return true;
    return QFile::copy(path, kept);
}

const QString damagedCopyRefusal = QStringLiteral("所选文件已损坏（完整性检查发现错误），无法恢复。");
const QString serverDumpRefusal = QStringLiteral(
    "所选文件是服务器数据库的备份（pg_dump），只能在服务器上用 pg_restore 恢复，不能恢复为本机的数据库。");

} // namespace

QString restoreRefusal(const QString& candidate) {
    if (isServerDumpFile(candidate))
        return serverDumpRefusal;
    const CopySummary summary = summarizeCopy(candidate);
    switch (summary.problem) {
    case CopySummary::Problem::Unreadable:
        return summary.damaged ? damagedCopyRefusal
                               : QStringLiteral("所选文件不是可用的数据库：") + summary.detail;
    case CopySummary::Problem::NotOurs:
        return QStringLiteral("所选文件不是本程序的数据库（没有表“%1”）。").arg(summary.detail);
    case CopySummary::Problem::None:
        break;
    }
    if (!summary.version.isEmpty()) {
        const QVersionNumber version = QVersionNumber::fromString(summary.version);
        if (version.isNull() || version > QVersionNumber::fromString(currentDatabaseVersion()))
            return QStringLiteral("所选文件的数据库版本（%1）比本程序（%2）新，无法恢复。")
                .arg(summary.version, currentDatabaseVersion());
    }
    bool damaged = false;
    const QString problem = checkDatabaseFile(candidate, false, &damaged);
    if (problem.isEmpty())
        return {};
    // The integrity check's own report is SQLite's English: it goes to the log, not into the message.
    if (damaged) {
        std::fprintf(stderr, "integrity check of %s:\n%s\n", qPrintable(candidate), qPrintable(problem));
        return damagedCopyRefusal;
    }
    return QStringLiteral("无法检查所选文件：") + problem;
}

RestoreResult restoreDatabase(Database& db, const Home& home, const QString& candidate, const QDateTime& now,
                              CurrentDatabase current) {
    const PreparedRestore prepared = prepareRestore(db.path(), home, candidate, now, current);
    if (!prepared) {
        RestoreResult result;
        result.error = prepared.error;
        return result;
    }
    return completeRestore(db, home, prepared, current);
}

PreparedRestore prepareRestore(const QString& databasePath, const Home& home, const QString& candidate,
                               const QDateTime& now, CurrentDatabase current) {
    PreparedRestore prepared;
    prepared.error = restoreRefusal(candidate);
    if (!prepared)
        return prepared;
    if (current == CurrentDatabase::BackUp) {
        const BackupResult copy = backupIntoFolder(home, CopySource(databasePath), now);
        if (!copy) {
            prepared.error = QStringLiteral("无法先备份当前数据，未恢复：") + copy.error;
            return prepared;
        }
        prepared.previousCopy = copy.path;
    }
    const QString incoming = databasePath + QStringLiteral(".restoring");
    const QString copyError = writeCheckedCopy(candidate, incoming);
    if (!copyError.isEmpty()) {
        prepared.error = QStringLiteral("无法复制所选文件，未恢复：") + copyError;
        return prepared;
    }
    prepared.incoming = incoming;
    return prepared;
}

RestoreResult completeRestore(Database& db, const Home& home, const PreparedRestore& prepared,
                              CurrentDatabase current) {
    RestoreResult result;
    result.previousCopy = prepared.previousCopy;
    const QString live = db.path();
    const QString incoming = prepared.incoming;
    db.close();
    if (current == CurrentDatabase::Discard) {
        // The log belongs to the damaged file, which is kept beside with its own copy of it.
        QFile::remove(walPath(live));
        QFile::remove(shmPath(live));
    }
    const QString previous = live + QStringLiteral(".previous");
    QString reason;
    if (QFile::exists(walPath(live)))
        reason = QStringLiteral("数据库文件仍被占用：%1").arg(live);
    else if (!keepAs(live, previous))
        reason = QStringLiteral("无法保留当前数据库文件：%1").arg(previous);
    else if (!renameOver(incoming, live))
        reason = QStringLiteral("无法替换数据库文件：%1").arg(live);
    if (!reason.isEmpty()) {
        // Nothing was replaced: the current database goes on.
        QFile::remove(incoming);
        QFile::remove(previous);
        db.reopen();
        result.error = QStringLiteral("恢复失败，当前数据未改变：") + reason;
        return result;
    }
    QFile::remove(shmPath(live));

    std::optional<int> decimals;
    if (db.reopen(&reason))
        decimals = prepareDatabase(db, &reason);
    if (!decimals) {
        // The restored file does not open: the previous one goes back in its place.
        db.close();
        QFile::remove(walPath(live));
        QFile::remove(shmPath(live));
        renameOver(previous, live);
        db.reopen();
        result.error = QStringLiteral("恢复失败，已换回原来的数据：") + reason;
        return result;
    }
    QFile::remove(previous);
    ensureReceiptDefaults(RecordStore(db), ConfigFile(home.configPath()));
    result.quantityDecimals = *decimals;
    return result;
}

QString keepDamagedFile(const Home& home, const QDateTime& now, bool inUse) {
    const QString live = home.databasePath();
    // One copy a day: a shop that goes on with the damaged file does not fill its disk with a new copy at
    // every start.
    const QString today = QStringLiteral("data.db.damaged-") + now.toString(QStringLiteral("yyyyMMdd")) +
                          QStringLiteral("-??????");
    const QStringList keptToday = QDir(home.dataDir()).entryList({today}, QDir::Files);
    if (inUse && !keptToday.isEmpty())
        return QDir(home.dataDir()).filePath(keptToday.first());
    const QString kept = live + QStringLiteral(".damaged-") + now.toString(QStringLiteral("yyyyMMdd-HHmmss"));
    if (QFile::exists(walPath(live))) {
        QFile::remove(walPath(kept));
        if (!QFile::copy(walPath(live), walPath(kept)))
            return {};
    }
    // A file in use is copied: the open connection still writes into its own file when it closes.
    if (inUse) {
        QFile::remove(kept);
        if (!QFile::copy(live, kept))
            return {};
    } else if (!keepAs(live, kept)) {
        return {};
    }
    return kept;
}

QString replaceDamagedDatabase(const Home& home, const QString& copy, const QDateTime& now, QString* kept) {
    const QString live = home.databasePath();
    const QString incoming = live + QStringLiteral(".restoring");
    const QString copyError = writeCheckedCopy(copy, incoming);
    if (!copyError.isEmpty())
        return copyError;
    const QString keptPath = keepDamagedFile(home, now, false);
    if (keptPath.isEmpty()) {
        QFile::remove(incoming);
        return QStringLiteral("无法另存损坏的文件：%1").arg(live);
    }
    if (kept)
        *kept = keptPath;
    QFile::remove(walPath(live));
    QFile::remove(shmPath(live));
    if (!renameOver(incoming, live)) {
        QFile::remove(incoming);
        return QStringLiteral("无法替换数据库文件：%1").arg(live);
    }
    return {};
}

QString sizeText(qint64 bytes) {
    if (bytes < 1024 * 1024)
        return QStringLiteral("%1 KB").arg((bytes + 1023) / 1024);
    if (bytes < 1024LL * 1024 * 1024)
        return QStringLiteral("%1 MB").arg(double(bytes) / (1024 * 1024), 0, 'f', 1);
    return QStringLiteral("%1 GB").arg(double(bytes) / (1024 * 1024 * 1024), 0, 'f', 2);
}

QList<BackupListing> listCopies(const Home& home) {
    QList<BackupListing> listings;
    for (const BackupCopy& copy : listBackups(backupFolder(home))) {
        BackupListing listing;
        listing.path = copy.path;
        listing.time = copy.time.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
        listing.size = sizeText(copy.size);
        listings.append(listing);
    }
    return listings;
}

void describeOrders(BackupListing& listing) {
    const CopySummary summary = summarizeCopy(listing.path);
    listing.orders = summary ? QString::number(summary.orders) : QStringLiteral("-");
    if (!summary)
        listing.newestOrder = isServerDumpFile(listing.path) ? QStringLiteral("服务器数据库的备份")
                                                             : QStringLiteral("无法读取");
    else
        listing.newestOrder = summary.newestOrder.isEmpty() ? QStringLiteral("无订单") : summary.newestOrder;
}

QList<BackupListing> describeBackups(const Home& home) {
    QList<BackupListing> listings = listCopies(home);
    for (BackupListing& listing : listings)
        describeOrders(listing);
    return listings;
}

QString damagedDatabaseText(const QString& damagedPath, const BackupCopy* offered) {
    QString text = QStringLiteral("数据库文件已损坏。");
    const CopySummary damaged = summarizeCopy(damagedPath);
    const QString still =
        damaged ? QStringLiteral("损坏的文件还能读出 %1 个订单，最新的订单是 %2。")
                      .arg(damaged.orders)
                      .arg(damaged.newestOrder.isEmpty() ? QStringLiteral("（无）") : damaged.newestOrder)
                : QStringLiteral("损坏的文件已读不出订单。");
    if (!offered)
        return text + QLatin1Char('\n') + still;
    const CopySummary copy = summarizeCopy(offered->path);
    text += QStringLiteral("\n最新的备份（%1）有 %2 个订单，最新的订单是 %3。")
                .arg(offered->time.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")))
                .arg(copy.orders)
                .arg(copy.newestOrder.isEmpty() ? QStringLiteral("（无）") : copy.newestOrder);
    return text + QLatin1Char('\n') + still;
}

bool offerRestoreAtStart(const Home& home, Platform& platform, const QString& damage) {
    const std::optional<BackupCopy> good = newestGoodBackup(home);
    const QString text = damagedDatabaseText(home.databasePath(), good ? &*good : nullptr);
    if (!good) {
        platform.showMessageWithDetails(
            text + QStringLiteral("\n\n没有可用的备份。数据库文件保持原样，程序将退出。"), damage,
            MessageIcon::Stop);
        return false;
    }
    const QString time = good->time.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    if (!platform.askYesNoWithDetails(text + QStringLiteral("\n\n是否恢复这个备份？损坏的文件将另存在旁边。"),
                                      damage, MessageIcon::Warning))
        return false;
    QString kept;
    const QString error = replaceDamagedDatabase(home, good->path, platform.now(), &kept);
    if (!error.isEmpty()) {
        platform.showMessageWithDetails(QStringLiteral("恢复失败，数据库文件保持原样。"), error,
                                        MessageIcon::Warning);
        return false;
    }
    platform.showMessage(QStringLiteral("数据已恢复到 %1 的备份。损坏的文件已另存为：\n%2")
                             .arg(time, QDir::toNativeSeparators(kept)),
                         MessageIcon::None);
    return true;
}

std::optional<BackupCopy> newestGoodBackup(const Home& home) {
    for (const BackupCopy& copy : listBackups(backupFolder(home))) {
        if (restoreRefusal(copy.path).isEmpty())
            return copy;
    }
    return std::nullopt;
}

QString serverRestoreInstructions(const Home& home, const ServerSetting& server, const QString& file) {
    QString dump = file;
    if (dump.isEmpty()) {
        for (const BackupCopy& copy : listBackups(backupFolder(home))) {
            if (copy.serverDump) {
                dump = copy.path;
                break;
            }
        }
    }
    if (dump.isEmpty())
        dump = QDir(backupFolder(home)).filePath(QStringLiteral("备份文件.dump"));
    return QStringLiteral(
               "各收银机共用服务器 %1 上的数据库，不能在一台收银机上恢复：其他收银机这时存入的订单会"
               "丢失或被打乱。当前数据未改变。\n\n"
               "请这样恢复：\n"
               "1. 先用“备份数据…”备份当前数据；\n"
               "2. 关闭所有收银机上的程序；\n"
               "3. 在终端中运行下面的命令（密码照常取自 ~/.pgpass），它在一个事务中恢复，"
               "出错时什么也不改变：\n\n%2\n\n"
               "4. 再打开各收银机上的程序。")
        .arg(server.describe(),
             shellCommandLine(serverRestoreCommand(server, QDir::toNativeSeparators(dump))));
}

} // namespace qm
