#pragma once

#include "backup/backupfolder.h"

#include <QDateTime>
#include <QString>

// The automatic safety work at start-up and at close: the check of the database file and the copy of the
// day. Plain functions that run on any thread; the main window runs them off the interface thread.
namespace qm {

class Home;

struct SafetyReport {
    QString damage;         // what the database's quick check found wrong in the file; empty when sound
    QString checkProblem;   // why the check could not run, when it could not
    bool backupRan = false; // false when a copy of the day was already there (or the file is damaged)
    BackupResult backup;
    qint64 checkMs = 0;
    qint64 backupMs = 0;
};

// The quick check of the home's database file, then, when it is sound and no copy was taken on `now`'s
// day, the copy of the day with rotation. On a server only the copy: the server keeps its own files sound.
SafetyReport checkAndBackUp(const Home& home, const CopySource& source, const QDateTime& now);
// The same for the database the home's tills use (homeCopySource()).
SafetyReport checkAndBackUp(const Home& home, const QDateTime& now);

// The copy of the day, unless one was taken on `now`'s day already.
SafetyReport backUpOncePerDay(const Home& home, const CopySource& source, const QDateTime& now);
SafetyReport backUpOncePerDay(const Home& home, const QDateTime& now);

} // namespace qm
