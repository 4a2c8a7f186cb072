#pragma once

#include <QDate>
#include <QString>

// The steps of start-up that come before the database is opened.
namespace qm {

class Platform;
class SingleInstance;

inline const QString alreadyRunningMessage = QStringLiteral("程序正在运行，无法重复打开！");
inline const QString databaseOpenFailedMessage = QStringLiteral("数据库打开失败。");

struct StartupChecks {
    bool proceed = false; // false: another copy runs on this home and this one must end at once
    QDate today;          // the date the clock compares against to notice midnight
    bool chartsAvailable = false;
};

// In this order: refuses a second copy (warning message, nothing else is done; a lock file that cannot be
// made gives the stop message "数据库打开失败。" with the reason instead), takes today's date from
// the platform clock, checks chart support (asking about it when unavailable; start-up goes on either way).
StartupChecks runStartupChecks(SingleInstance& instance, Platform& platform);

} // namespace qm
