#pragma once

#include "store/databasecopy.h"

#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

// The home's folder of automatic copies: their names, the copies it holds, and which of them are kept.
namespace qm {

class Home;

// One copy in the backup folder; its time is the one in its name.
struct BackupCopy {
    QString path;
    QDateTime time;
    qint64 size = 0;
    bool serverDump = false; // a pg_dump file of the shop's server database, not a SQLite file
};

// Copies kept by rotation: those of the latest days that have a copy, and the first copy of each of the
// latest months that have one.
inline constexpr int keptDailyCopies = 14;
inline constexpr int keptMonthlyCopies = 12;

// <home>/backup
QString backupFolder(const Home& home);
// "data-2026-03-14-123000.db": the copy taken at that local time; "….dump" for a server's pg_dump file.
QString backupFileName(const QDateTime& time, bool serverDump = false);
// The database the home's tills use: the server of its till file, else its SQLite file.
CopySource homeCopySource(const Home& home);
// Whether the file is a server's pg_dump archive (it starts with "PGDMP"), whatever its name.
bool isServerDumpFile(const QString& path);
// The time a copy's file name carries; no value for any other name.
std::optional<QDateTime> backupTime(const QString& fileName);

// The copies in `folder`, newest first. Files whose name is not a copy's are left out.
QList<BackupCopy> listBackups(const QString& folder);
// True when one of the copies (of the kind `serverDump` says) was taken on `day`.
bool hasCopyOn(const QList<BackupCopy>& copies, QDate day, bool serverDump = false);
// The paths of the copies rotation removes: all but the copies of the 14 latest days with a copy and the
// first copy of each of the 12 latest months with a copy.
QStringList copiesToRemove(const QList<BackupCopy>& copies);

// The result of one copy into the backup folder.
struct BackupResult {
    QString path;  // the copy written
    QString error; // why no copy was written; empty on success
    explicit operator bool() const { return error.isEmpty(); }
};

// Writes a checked copy of `source` (writeBackup()) into the backup folder under the name of `now`, then
// removes the copies rotation no longer keeps. Runs on any thread.
BackupResult backupIntoFolder(const Home& home, const CopySource& source, const QDateTime& now);

} // namespace qm
