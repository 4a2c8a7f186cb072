#pragma once

#include "store/catalogstore.h"

#include <QString>

// Reading and checking what the two dish dialogs hold.
namespace qm {

// The dish dialog's fields as they stand.
struct DishInput {
    QString code;
    QString letters;
    QString name;
    QString price;
    QString unit;
    QString station{}; // none chosen: the default station
};

// A price as typed, read as a number (full-width digits count) and rounded to one decimal, halves away
// from zero: "0.05" gives 0.1, "0.04" gives 0, letters give 0.
double readPrice(const QString& text);

struct DishCheck {
    StoredDish dish; // trimmed code, letters and name, the read price, unit and station as shown
    QString refusal; // the message of the first failed check; empty when the dish passes
    bool ok() const { return refusal.isEmpty(); }
};

// Trims the fields and checks, in order, number code, name, price and unit. The letter code may be empty.
DishCheck checkDish(const DishInput& input);

} // namespace qm
