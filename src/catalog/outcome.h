#pragma once

#include <QString>

// What an action on one of the master-data lists came to, for its window to show.
namespace qm {

struct Outcome {
    bool done = false; // the database and the list were changed
    QString message;   // shown afterwards; empty when the action ends silently
    int row = -1;      // the list row to select and scroll into view; -1 leaves the selection alone
};

} // namespace qm
