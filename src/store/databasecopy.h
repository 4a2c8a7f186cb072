#pragma once

#include <QString>

// Copies of the database file: writing a consistent, checked copy, checking a file, and reading what a
// copy holds. Each function opens its own short-lived connections, so it may run on any thread.
namespace qm {

// What a file offered as a copy of the database holds.
struct CopySummary {
    enum class Problem {
        None,
        Unreadable, // missing, no SQLite database, or SQLite cannot read it: `detail` says why
        NotOurs,    // a database, but without the tables of this program
    };
    Problem problem = Problem::None;
    QString detail;
    bool damaged = false; // Unreadable because SQLite found the file corrupt
    QString version;      // 记录 数据库版本; empty in a database older than the version key
    qint64 orders = 0;    // rows of 存单
    QString newestOrder;  // the latest 存单 时间 as stored; empty without orders
    explicit operator bool() const { return problem == Problem::None; }
};

// Opens the file read-only and reads its orders and version; an error when it is no SQLite database or
// lacks the tables of this program. The file is not checked for damage (see checkDatabaseFile()).
CopySummary summarizeCopy(const QString& path);

// The database's own check of the file (read-only): an empty text when it is sound, else what SQLite
// reports. `quick` runs the shorter check that leaves out the comparison of indexes with their tables.
// `damaged` tells a damaged file from one that could not be checked (missing, busy, locked, unreadable).
QString checkDatabaseFile(const QString& path, bool quick, bool* damaged = nullptr);

// Writes a consistent copy of the database at `source` (a snapshot, taken while others may write) to
// `target`. The copy is written beside `target` under a temporary name, checked and synced, and only then
// renamed to `target`; on failure `target` is as it was and the reason is returned. Empty on success.
QString writeCheckedCopy(const QString& source, const QString& target);

// The file names SQLite keeps beside a database in write-ahead-log mode.
QString walPath(const QString& databasePath);
QString shmPath(const QString& databasePath);

} // namespace qm
