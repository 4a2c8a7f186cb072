#pragma once

#include "app/programdatabase.h"
#include "core/home.h"

#include <QTemporaryDir>

namespace qm {

// A fresh program home in a temporary folder, with its database opened as at start-up.
class TempHome {
public:
    TempHome()
        : m_home(m_dir.path()) {}

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
