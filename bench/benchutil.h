#pragma once

#include "app/programdatabase.h"
#include "core/home.h"

#include <QElapsedTimer>
#include <QString>

#include <cstdio>
#include <functional>

// Small helpers the benchmark programs share: timing a piece of work and printing one figure per line.
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

} // namespace qm::bench
