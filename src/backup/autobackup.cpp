#include "backup/autobackup.h"

#include "core/home.h"
#include "store/databasecopy.h"

#include <QElapsedTimer>

namespace qm {

SafetyReport checkAndBackUp(const Home& home, const QDateTime& now) {
    QElapsedTimer timer;
    timer.start();
    bool damaged = false;
    const QString problem = checkDatabaseFile(home.databasePath(), true, &damaged);
    const qint64 checkMs = timer.elapsed();
    if (damaged) {
        SafetyReport report;
        report.damage = problem;
        report.checkMs = checkMs;
        return report;
    }
    // A file that could not be checked (locked by another program) is no damaged file: the copy of the
    // day is tried all the same and tells its own failure.
    SafetyReport report = backUpOncePerDay(home, now);
    report.checkProblem = problem;
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
