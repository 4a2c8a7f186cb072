#include "backup/autobackup.h"

#include "core/home.h"
#include "store/databasecopy.h"

#include <QElapsedTimer>

namespace qm {

SafetyReport checkAndBackUp(const Home& home, const QDateTime& now) {
    QElapsedTimer timer;
    timer.start();
    const QString damage = checkDatabaseFile(home.databasePath(), true);
    const qint64 checkMs = timer.elapsed();
    if (!damage.isEmpty()) {
        SafetyReport report;
        report.damage = damage;
        report.checkMs = checkMs;
        return report;
    }
    SafetyReport report = backUpOncePerDay(home, now);
    report.checkMs = checkMs;
    return report;
}

SafetyReport backUpOncePerDay(const Home& home, const QDateTime& now) {
    SafetyReport report;
    if (hasCopyOn(listBackups(backupFolder(home)), now.date()))
        return report;
    QElapsedTimer timer;
    timer.start();
    report.backupRan = true;
    report.backup = backupIntoFolder(home, home.databasePath(), now);
    report.backupMs = timer.elapsed();
    return report;
}

} // namespace qm
