#include "auditbench.h"

#include "benchutil.h"

#include "core/ui/qtplatform.h"
#include "staff/auditrecord.h"
#include "staff/staffsession.h"
#include "staff/ui/auditwindow.h"
#include "store/database.h"
#include "store/staffstore.h"

#include <QTemporaryDir>

namespace qm::bench {

void benchAudit(int rows) {
    QTemporaryDir folder;
    const Home home(folder.path());
    OpenedDatabase opened = openBenchDatabase(home, "audit");
    if (!opened.db)
        return;
    Database& db = *opened.db;
    QtPlatform platform;
    StaffSession staff(db, platform);
    if (const QString error = staff.enable(QStringLiteral("王店主"), QStringLiteral("owner-pass-2026"));
        !error.isEmpty()) {
        std::fprintf(stderr, "audit: %s\n", qPrintable(error));
        return;
    }
    // A shop's years of events: mostly reprints and drawer openings, now and then a deleted order with its
    // whole text.
    const QStringList actions = {auditReprint, auditDrawerOpened, auditReprint, auditOrderDeleted};
    const QDateTime start = QDateTime::currentDateTime().addYears(-3);
    QElapsedTimer timer;
    timer.start();
    const bool filled = db.transaction([&] {
        for (int i = 1; i < rows; ++i) {
            AuditEvent e;
            e.time = start.addSecs(qint64(i) * 900);
            e.person = i % 3 ? QStringLiteral("小张") : QStringLiteral("李店长");
            e.authoriser = i % 4 == 3 ? QStringLiteral("王店主") : QString();
            e.till = QStringLiteral("一号机");
            e.action = actions[i % actions.size()];
            e.orderId = i;
            e.orderNumber = i % 200 + 1;
            if (e.action == auditOrderDeleted)
                e.before =
                    QStringLiteral("编号：%1  时间：2026-03-14 12:00:00\n合计：41  减免： 0  实付：41  "
                                   "支付方式：现金支付\n酸菜鱼 × 1份  16\n王老吉 × 2瓶  7")
                        .arg(e.orderNumber);
            if (!appendAudit(db, e))
                return false;
        }
        return true;
    });
    if (!filled) {
        std::fprintf(stderr, "audit: %s\n", qPrintable(db.lastError()));
        return;
    }
    figure(QStringLiteral("record of changes: rows written"), rows, "rows");
    figure(QStringLiteral("record of changes: writing rate"), rows / (double(timer.nsecsElapsed()) / 1e9),
           "rows/s");

    figure(QStringLiteral("操作记录 window opening (%1 rows: count, newest page)").arg(rows),
           meanMs(20, [&] { AuditWindow window(db, platform, staff); }), "ms");
    AuditFilter filter;
    filter.action = auditOrderDeleted;
    filter.person = QStringLiteral("小张");
    AuditTable table(db);
    table.setFilter(filter);
    PagedBrowser browser(table);
    figure(QStringLiteral("操作记录 search (person and action), newest page"),
           meanMs(20, [&] { browser.show(lastPage); }), "ms");
    figure(QStringLiteral("操作记录 chain check (every row)"), meanMs(3, [&] { firstBrokenAuditRow(db); }),
           "ms");
    figure(QStringLiteral("操作记录 one row appended (own transaction)"),
           meanMs(50,
                  [&] {
                      staff.record({QStringLiteral("小张"), {}}, auditDrawerOpened);
                  }),
           "ms");
}

} // namespace qm::bench
