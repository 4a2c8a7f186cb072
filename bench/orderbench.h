#pragma once

// Order entry timings: dish search per keystroke on a 10,000-dish catalogue, the telephone look-up per
// keystroke among 100,000 customers, and start-up of the main window on a given home.
namespace qm {
class Home;
}

namespace qm::bench {

// Builds its own home with the large catalogue and customer table and prints the per-keystroke figures.
void benchOrderEntry();
// Prints the time from creating the main window on `home` (database already open) until it is shown.
void benchMainWindowStart(const Home& home);

} // namespace qm::bench
