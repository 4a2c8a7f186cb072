#pragma once

#include "backup/backupfolder.h"

#include <QDateTime>
#include <QString>

#include <optional>

// Putting a copy of the database in place of the current one, and what happens to a damaged file.
namespace qm {

class Database;
class Home;
class Platform;

// Why `candidate` cannot be restored, as the user reads it; empty when it can: it must be a database of
// this program, pass the database's integrity check and be of a version this program knows.
QString restoreRefusal(const QString& candidate);

struct RestoreResult {
    QString error;        // why nothing was restored; empty on success
    QString previousCopy; // where the database in use before was copied, when it was
    int quantityDecimals = 0;
    explicit operator bool() const { return error.isEmpty(); }
};

enum class CurrentDatabase {
    BackUp,  // a sound database: a checked copy of it goes to the backup folder first
    Discard, // a damaged one, already kept beside (keepDamagedFile()): replaced without a copy
};

// Replaces the database `db` is connected to with `candidate`. In this order: the candidate is checked;
// the current database is copied into the backup folder; the candidate is copied beside the database and
// checked; the connection is closed, the copy renamed over the database file in one step and the
// connection reopened, and the schema brought up to date. Before the rename a failure changes nothing;
// after it the previous file is put back. Either way `db` is connected to a database when this returns.
RestoreResult restoreDatabase(Database& db, const Home& home, const QString& candidate, const QDateTime& now,
                              CurrentDatabase current = CurrentDatabase::BackUp);

// restoreDatabase() in its two parts. The first is the slow one and runs on any thread: the check of the
// candidate, the copy of the current database and the copy of the candidate beside it. The second runs
// on the connection's thread and puts the copy in place.
struct PreparedRestore {
    QString error;        // why the restore cannot go on; nothing was changed
    QString incoming;     // the checked copy of the candidate beside the database
    QString previousCopy; // the copy of the current database in the backup folder
    explicit operator bool() const { return error.isEmpty(); }
};
PreparedRestore prepareRestore(const QString& databasePath, const Home& home, const QString& candidate,
                               const QDateTime& now, CurrentDatabase current);
RestoreResult completeRestore(Database& db, const Home& home, const PreparedRestore& prepared,
                              CurrentDatabase current);

// Keeps the damaged database file (with its write-ahead log) beside it as data.db.damaged-<time>, never
// to be written again: a second name for the file when nothing holds it open, else a copy. Returns the
// kept file's path, empty on failure. A file in use is copied once a day at most.
QString keepDamagedFile(const Home& home, const QDateTime& now, bool inUse);

// With no connection open: puts a checked copy of `copy` in place of the damaged database, which is kept
// beside (its path in `kept`). The database file is replaced in one step, so the home always holds one.
// Empty on success, else the reason.
QString replaceDamagedDatabase(const Home& home, const QString& copy, const QDateTime& now, QString* kept);

// One row of the list of copies: what the user chooses a copy by.
struct BackupListing {
    QString path;
    QString time;        // "2026-03-14 12:30:00"
    QString size;        // "1.2 MB"
    QString orders;      // the number of orders, or "-" when the copy cannot be read
    QString newestOrder; // the latest order's time as stored, or why the copy cannot be read
};
// The copies of the backup folder, newest first, with their time and size; orders and the latest order
// come from describeOrders(), which opens the copy.
QList<BackupListing> listCopies(const Home& home);
void describeOrders(BackupListing& listing);
// Both of the above for every copy.
QList<BackupListing> describeBackups(const Home& home);
// "512 KB", "1.2 MB", "3.40 GB".
QString sizeText(qint64 bytes);

// The short account of a damaged database: what the damaged file at `damagedPath` still shows and, when
// one is offered, what the copy holds (its time, its number of orders, its newest order).
QString damagedDatabaseText(const QString& damagedPath, const BackupCopy* offered);
// Start-up could not open the database and found it damaged: says so in short (what SQLite reports
// behind the details button) and offers the newest good copy; on Yes the copy takes the damaged file's place,
// the damaged file kept beside. True when the database was replaced; else the damaged file is as it was.
bool offerRestoreAtStart(const Home& home, Platform& platform, const QString& damage);

// On a server shared by several tills a restore is not run from one till, whose neighbours go on storing
// orders meanwhile: the message says which command restores `file` (or, when empty, the newest pg_dump
// file of the backup folder) in one transaction, with all tills closed. Nothing is changed.
QString serverRestoreInstructions(const Home& home, const ServerSetting& server, const QString& file = {});

// The newest copy of the backup folder that passes the integrity check.
std::optional<BackupCopy> newestGoodBackup(const Home& home);

} // namespace qm
