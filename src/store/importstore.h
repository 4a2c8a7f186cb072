#pragma once

#include "store/catalogstore.h"
#include "store/customerstore.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <functional>

// Storing what an import of dishes or customers brings, in one transaction: every row or none.
namespace qm {

class Database;

struct ImportStoreResult {
    enum class Status { Stored, Cancelled, Failed };
    Status status = Status::Failed;
    QString error; // when Failed
};

// Told how many rows are stored so far (out of all inserts and updates); false cancels, and nothing stays.
using ImportProgress = std::function<bool(int done)>;

// Adds the units, the stations and the new dishes, and gives every dish with an update's number code its
// letter code, name, price, unit and station.
ImportStoreResult storeDishImport(Database& db, const QStringList& newUnits, const QList<StoredDish>& inserts,
                                  const QList<StoredDish>& updates, const ImportProgress& progress,
                                  const QStringList& newStations = {});

// Adds the new customers and gives every customer with an update's telephone its name and address.
ImportStoreResult storeCustomerImport(Database& db, const QList<StoredCustomer>& inserts,
                                      const QList<StoredCustomer>& updates, const ImportProgress& progress);

} // namespace qm
