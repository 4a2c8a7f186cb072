#pragma once

#include <QString>

// Settling on the shop's PostgreSQL server beside settling on the till's own SQLite file, in one run, and
// two tills (processes) settling on the server at once.
namespace qm::bench {

// Starts a throwaway server; false when it cannot (told on stderr). `program` is this benchmark, run
// again as each of the two tills.
bool benchTills(const QString& program);

// One till of the concurrent run: stores `orders` orders on the server at `url` as till `name` and
// prints the mean, the 95th percentile and the longest time of one, in milliseconds, on one line.
int runBenchTill(const QString& url, const QString& name, int orders);

} // namespace qm::bench
