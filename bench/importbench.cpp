#include "importbench.h"

#include "benchutil.h"

#include "catalog/catalogimports.h"
#include "core/gbk.h"
#include "store/database.h"

#include <QTemporaryDir>

namespace qm::bench {

namespace {

// A GBK file of `count` dishes with Chinese names, as a shop's spreadsheet gives it.
QByteArray dishFile(int count) {
    QString text = QStringLiteral("数字代号,品名,价格,单位\r\n");
    for (int i = 1; i <= count; ++i)
        text += QStringLiteral("%1,红烧排骨饭%2号,%3.5,份\r\n").arg(10000 + i).arg(i).arg(10 + i % 50);
    return toGbk(text);
}

} // namespace

void benchImport() {
    const QByteArray bytes = dishFile(10000);
    QTemporaryDir dir;
    const Home home(dir.path());
    OpenedDatabase opened = openBenchDatabase(home, "import bench");
    if (!opened.db)
        return;
    Database& db = *opened.db;
    // The preview: reading, detecting and checking every row, as the import window does when it opens.
    figure(QStringLiteral("import: preview of 10,000 dishes (read + check)"),
           meanMs(5,
                  [&] {
                      DishImportSession session(db);
                      session.load(bytes);
                  }),
           "ms");
    DishImportSession session(db);
    session.load(bytes);
    int calls = 0;
    QElapsedTimer timer;
    timer.start();
    const ImportStoreResult result = session.store(db, [&](int) {
        ++calls;
        return true;
    });
    figure(QStringLiteral("import: storing 10,000 dishes (one transaction)"),
           double(timer.nsecsElapsed()) / 1e6, "ms");
    figure(QStringLiteral("import: progress calls (window breathes each)"), calls, "calls");
    if (result.status != ImportStoreResult::Status::Stored)
        std::fprintf(stderr, "import bench: not stored: %s\n", qPrintable(result.error));
}

} // namespace qm::bench
