#pragma once

#include "store/database.h"

#include <functional>
#include <memory>
#include <optional>

// Opening the program's database: created with its first-run rows when missing, then upgraded.
namespace qm {

class Home;

struct OpenedDatabase {
    std::unique_ptr<Database> db; // null when the database could not be opened
    int quantityDecimals = 0;
    QString error;
};

// Told, before it starts, of a step of the opening that can take seconds (the kept totals counted afresh
// from every order after an upgrade), so that the user can be asked to wait.
using LongStepNotice = std::function<void(const QString& text)>;
inline const QString countingTotalsNotice =
    QStringLiteral("正在为新版本统计以往的订单（只做这一次，订单多时需要几秒钟），请稍候……");

// Creates the data folder and the database when missing, connects, upgrades an older database and reads
// the quantity decimals. An existing file is never replaced.
OpenedDatabase openDatabase(const Home& home, const LongStepNotice& notice = {});

// The schema steps of openDatabase() on a connected database: the schema of an empty file, the upgrade of
// an older one, the indexes. Returns the quantity decimals; no value (with the reason) when the schema
// could not be made.
std::optional<int> prepareDatabase(Database& db, QString* error = nullptr, const LongStepNotice& notice = {});
// The schema steps on a server, inside the caller's transaction: the schema of an empty database (with
// its first-run rows) or the upgrade of an older one.
std::optional<int> prepareServerSchema(Database& db, QString* error = nullptr,
                                       const LongStepNotice& notice = {});

// The columns that tell which till stored an order (收银机) and how often it was changed (版本, compared
// when another till changes or deletes it); added when missing.
bool addTillColumns(const Database& db);

// The version text `数据库版本` of the schema this program writes.
QString currentDatabaseVersion();

} // namespace qm
