#include "backup/autobackup.h"

#include "core/home.h"
#include "store/databasecopy.h"

#include <QElapsedTimer>

namespace qm {

SafetyReport checkAndBackUp(const Home& home, const QDateTime& now) {
    return checkAndBackUp(home, homeCopySource(home), now);
}

SafetyReport backUpOncePerDay(const Home& home, const QDateTime& now) {
    return backUpOncePerDay(home, homeCopySource(home), now);
}

SafetyReport checkAndBackUp(const Home& home, const CopySource& source, const QDateTime& now) {
    if (source.isServer())
        return backUpOncePerDay(home, source, now);
    QElapsedTimer timer;
    timer.start();
    bool damaged = false;
    const QString problem = checkDatabaseFile(source.path, true, &damaged);
    const qint64 checkMs = timer.elapsed();
    if (damaged) {
        SafetyReport report;
        report.damage = problem;
        report.checkMs = checkMs;
        return report;
    }
    // A file that could not be checked (locked by another program) is no damaged file: the copy of the
    // day is tried all the same and tells its own failure.
    SafetyReport report = backUpOncePerDay(home, source, now);
    report.checkProblem = problem;
    report.checkMs = checkMs;
    return report;
}

SafetyReport backUpOncePerDay(const Home& home, const CopySource& source, const QDateTime& now) {
    SafetyReport report;
    if (hasCopyOn(listBackups(backupFolder(home)), now.date(), source.isServer()))
        return report;
    QElapsedTimer timer;
    timer.start();
    report.backupRan = true;
    report.backup = backupIntoFolder(home, source, now);
    report.backupMs = timer.elapsed();
    return report;
}

} // namespace qm
