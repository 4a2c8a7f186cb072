#pragma once

#include "backup/autobackup.h"
#include "core/ui/runmodal.h"
#include "staff/staffsession.h"

#include <QObject>

#include <functional>

class QLabel;
class QThread;

namespace qm {

class Database;
class Home;
class MainWindow;
class Platform;

inline const QString backupFailedPrefix = QStringLiteral("自动备份失败：");

// The safety of the data in the main window: the check of the database file and the copy of the day
// after start-up (off the interface thread), the copy at close, and the commands "备份数据…" and
// "恢复数据…" of the menu "设置菜单".
class BackupCommands : public QObject {
    Q_OBJECT
public:
    BackupCommands(MainWindow& window, Database& db, Platform& platform, const Home& home);
    ~BackupCommands() override;

    // Starts the check and the copy of the day in the background; their outcome shows when they end.
    void startCheck();
    // Waits for the background work; true when none is left.
    bool waitForCheck(int timeoutMs = -1);
    // At close: the copy of the day when none was taken yet. False when it failed (the reason printed).
    bool backUpAtClose();

    // "备份数据…": a copy into a folder the user picks.
    void backUpToFolder();
    // "恢复数据…": the list of copies, then the restore of the one chosen.
    void restore();
    // Restores `path` after asking; true when it was restored and the window reloaded.
    bool restoreFile(const QString& path);

    // Staff mode: backing up and restoring ask for the permission; a restore is recorded in the restored
    // data, and staff mode is read from it again.
    void setStaff(StaffSession* staff) { m_staff = staff; }

    // How the list of copies is run; tests drive it with their own function.
    void setRunModal(RunModal run) { m_runModal = std::move(run); }
    // The text of the line in the status bar that tells of a failed backup; empty when none failed.
    QString statusText() const;

signals:
    // The background check and copy ended and were shown.
    void checkFinished();
    // A restore replaced the database and the window was reloaded.
    void databaseReplaced();

private:
    // The background work ended: its outcome is shown once no modal window is open.
    void finishCheck(QThread* thread);
    void showReport(const SafetyReport& report);
    void offerRestoreOfDamaged(const QString& damage);
    // Reloads what the main window keeps from the database, after the database was replaced.
    void reloadWindow(int quantityDecimals);
    // Staff mode: whether the person signed in may back up and restore (asking for a PIN when not).
    std::optional<Authorisation> authorise();
    bool restoreAs(const QString& path, const Authorisation& who);
    // After a restore: staff mode read again, the restore recorded for `person` when it is on there.
    void afterRestore(const QString& person, const QString& authoriser, const QString& what);

    MainWindow& m_window;
    Database& m_db;
    Platform& m_platform;
    const Home& m_home;
    QLabel* m_status;
    QThread* m_check = nullptr;
    SafetyReport m_report;
    RunModal m_runModal = execModal;
    StaffSession* m_staff = nullptr;
};

} // namespace qm
