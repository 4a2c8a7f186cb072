#pragma once

#include "store/database.h"

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTest>
#include <QUuid>

namespace qm {

// Another program holding the database file: a second connection with an exclusive lock, which blocks
// reads and writes of every other connection until it is released or destroyed. The program's own
// connection writes ahead to a log, where another program's lock keeps out its writes only; it is put
// back to a rollback journal first, under which the lock keeps out its reads as well.
class HeldLock {
public:
    explicit HeldLock(Database& program)
        : m_name(QStringLiteral("held-lock-") + QUuid::createUuid().toString(QUuid::WithoutBraces)) {
        QVERIFY(program.exec(QStringLiteral("PRAGMA journal_mode = DELETE")));
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_name);
        db.setDatabaseName(program.path());
        QVERIFY(db.open());
        QSqlQuery lock(db);
        QVERIFY(lock.exec(QStringLiteral("PRAGMA locking_mode = EXCLUSIVE")));
        QVERIFY(lock.exec(QStringLiteral("BEGIN EXCLUSIVE")));
        QVERIFY(lock.exec(QStringLiteral("UPDATE 记录 SET 记录信息 = 记录信息 WHERE 1 = 0")));
    }
    ~HeldLock() { release(); }

    void release() {
        if (m_name.isEmpty())
            return;
        {
            QSqlDatabase db = QSqlDatabase::database(m_name, false);
            QSqlQuery(db).exec(QStringLiteral("ROLLBACK"));
            db.close();
        }
        QSqlDatabase::removeDatabase(m_name);
        m_name.clear();
    }

private:
    QString m_name;
};

} // namespace qm
