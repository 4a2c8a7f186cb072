#pragma once

#include "store/database.h"

#include <QTest>

#include <memory>

namespace qm {

// Another program holding the database file: a second connection with an exclusive lock, which blocks
// reads and writes of every other connection until it is released or destroyed.
class HeldLock {
public:
    explicit HeldLock(const QString& path)
        : m_db(Database::connect(path)) {
        QVERIFY(m_db);
        QVERIFY(m_db->exec(QStringLiteral("PRAGMA locking_mode = EXCLUSIVE")));
        QVERIFY(m_db->exec(QStringLiteral("BEGIN EXCLUSIVE")));
        QVERIFY(m_db->exec(QStringLiteral("UPDATE 记录 SET 记录信息 = 记录信息 WHERE 1 = 0")));
    }
    ~HeldLock() { release(); }

    void release() {
        if (!m_db)
            return;
        m_db->exec(QStringLiteral("ROLLBACK"));
        m_db.reset();
    }

private:
    std::unique_ptr<Database> m_db;
};

} // namespace qm
