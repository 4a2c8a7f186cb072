#pragma once

#include "store/tillfile.h"

#include <QString>
#include <QStringList>

#include <optional>

// Copies of the database: on SQLite a consistent, checked copy of the file, on a server a pg_dump file of
// the shop's database; checking a file, and reading what a copy holds. Each function opens its own
// short-lived connections (or runs its own client program), so it may run on any thread.
namespace qm {

class Database;

// The database a backup is taken of: the till's SQLite file, or the shop's PostgreSQL database.
struct CopySource {
    CopySource(const QString& file) // NOLINT(google-explicit-constructor): a file is the usual source
        : path(file) {}
    CopySource(const ServerSetting& setting) // NOLINT(google-explicit-constructor)
        : server(setting) {}
    QString path;
    std::optional<ServerSetting> server;
    bool isServer() const { return server.has_value(); }
};
// The database `db` is connected to.
CopySource copySourceOf(const Database& db);

// How long pg_dump (and the check of its file) may take before it is stopped and the backup told failed.
inline constexpr int serverDumpTimeoutMs = 15 * 60 * 1000;

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

// The backup of `source` at `target`: writeCheckedCopy() for a file, writeServerDump() for a server.
QString writeBackup(const CopySource& source, const QString& target, int timeoutMs = serverDumpTimeoutMs);

// Writes a pg_dump custom-format file of the server's database to `target`: written under a temporary
// name beside it, listed by pg_restore, synced, and only then renamed to `target`; on failure (the server
// unreachable, pg_dump missing, the time-out) `target` is as it was and the reason, in Chinese, is
// returned. The password comes from ~/.pgpass (or PGPASSFILE), never from the command line.
QString writeServerDump(const ServerSetting& server, const QString& target,
                        int timeoutMs = serverDumpTimeoutMs);

// The tables a pg_dump custom-format file holds, as pg_restore --list names them; no value, with the
// reason in `error`, when pg_restore cannot read it.
std::optional<QStringList> dumpTables(const QString& path, QString* error = nullptr,
                                      int timeoutMs = serverDumpTimeoutMs);

// The command that puts the dump at `file` back in place of the server's database in one transaction
// (the program first, then its arguments), and the same as a line to type in a terminal.
QStringList serverRestoreCommand(const ServerSetting& server, const QString& file);
QString shellCommandLine(const QStringList& command);

// The file names SQLite keeps beside a database in write-ahead-log mode.
QString walPath(const QString& databasePath);
QString shmPath(const QString& databasePath);

} // namespace qm
