#pragma once

#include <QString>

#include <functional>

// What an action on one of the master-data lists came to, for its window to show.
namespace qm {

class Platform;

struct Outcome {
    bool done = false; // the database and the list were changed
    QString message;   // shown afterwards; empty when the action ends silently
    int row = -1;      // the list row to select and scroll into view; -1 leaves the selection alone
};

// A refused action: shows why (information icon; nothing when it ended silently) and selects the row it
// points at, if any. False, doing nothing, when the action was done.
bool tellRefusal(Platform& platform, const Outcome& outcome, const std::function<void(int row)>& selectRow);

} // namespace qm
