#pragma once

#include "store/database.h"

#include <memory>

// Opening the program's database: created with its first-run rows when missing, then upgraded.
namespace qm {

class Home;

struct OpenedDatabase {
    std::unique_ptr<Database> db; // null when the database could not be opened
    int quantityDecimals = 0;
    QString error;
};

// Creates the data folder and the database when missing, connects, upgrades an older database and reads
// the quantity decimals. An existing file is never replaced.
OpenedDatabase openDatabase(const Home& home);

} // namespace qm
