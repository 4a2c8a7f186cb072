#pragma once

#include "app/programdatabase.h"
#include "core/home.h"
#include "support/testserver.h"

#include <QTemporaryDir>

// For a test of the SQLite file itself (its path, its locks, its copies): skipped on the server.
#define QM_SKIP_ON_SERVER()                                                                                  \
    do {                                                                                                     \
        if (qm::testsRunOnServer())                                                                          \
            QSKIP("a test of the SQLite file");                                                              \
    } while (false)

namespace qm {

// A fresh program home in a temporary folder, with its database opened as at start-up.
class TempHome {
public:
    // On the test server when the tests run on PostgreSQL: the home then points at a new database there.
    TempHome()
        : m_home(m_dir.path()) {
        if (testsRunOnServer()) {
            if (TestServer* server = TestServer::shared())
                TillFile(m_home.tillPath()).setServer(server->newDatabase());
        }
    }

    const Home& home() const { return m_home; }
    QString path() const { return m_dir.path(); }

    // Opens (creating on first use) the home's database.
    Database& db() {
        if (!m_opened.db)
            m_opened = openProgramDatabase(m_home);
        return *m_opened.db;
    }
    int quantityDecimals() {
        db();
        return m_opened.quantityDecimals;
    }

private:
    QTemporaryDir m_dir;
    Home m_home;
    OpenedDatabase m_opened;
};

} // namespace qm
