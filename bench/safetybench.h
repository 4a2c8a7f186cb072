#pragma once

// Safety timings on a given home (the large generated database): a settled order with the sync of every
// commit (FULL) against NORMAL, the check of the file, the copy of the day and the list of copies, and
// start-up to the shown main window.
namespace qm {
class Home;
}

namespace qm::bench {

// Prints the figures. Orders stored while measuring are deleted again; the copies made are removed.
void benchSafety(const Home& home);

} // namespace qm::bench
