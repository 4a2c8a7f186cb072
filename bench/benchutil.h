#pragma once

#include "app/programdatabase.h"
#include "core/home.h"

#include <QElapsedTimer>
#include <QList>
#include <QString>

#include <cstdio>
#include <functional>

// Small helpers the benchmark programs share: timing a piece of work and printing one figure per line.
namespace qm {
class OrderForm;
class SettleCommands;
} // namespace qm

namespace qm::bench {

// Runs `work` `runs` times and returns the mean time of one run in milliseconds.
inline double meanMs(int runs, const std::function<void()>& work) {
    QElapsedTimer timer;
    timer.start();
    for (int i = 0; i < runs; ++i)
        work();
    return double(timer.nsecsElapsed()) / 1e6 / runs;
}

inline void figure(const QString& what, double value, const char* unit) {
    std::printf("%-58s %12.3f %s\n", qPrintable(what), value, unit);
    std::fflush(stdout);
}

// The home's database as start-up opens it. When it cannot be opened, `bench` says so with the cause and
// the result holds no database.
inline OpenedDatabase openBenchDatabase(const Home& home, const char* bench) {
    OpenedDatabase opened = openProgramDatabase(home);
    if (!opened.db)
        std::fprintf(stderr, "%s: cannot open %s: %s\n", bench, qPrintable(home.databasePath()),
                     qPrintable(opened.error));
    return opened;
}

// Settles `runs` orders with F12 on `form`, each typed afresh as 空心菜 × 2 and 王老吉 × 1 and then given
// what `extra(n)` adds; only the settle command is timed. Returns the mean time of one settle in
// milliseconds over `runs` and appends the stored order IDs to `stored`. A settle that fails ends the
// runs, told as `bench`.
double timeSettles(OrderForm& form, SettleCommands& commands, int runs, QList<qint64>& stored,
                   const char* bench, const std::function<void(int n)>& extra = {});

} // namespace qm::bench
