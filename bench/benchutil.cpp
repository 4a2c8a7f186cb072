#include "benchutil.h"

#include "order/orderform.h"
#include "order/settle.h"

namespace qm::bench {

double timeSettles(OrderForm& form, SettleCommands& commands, int runs, QList<qint64>& stored,
                   const char* bench, const std::function<void(int n)>& extra) {
    double totalMs = 0;
    for (int n = 0; n < runs; ++n) {
        form.tick();
        form.editCell(1, OrderForm::NameColumn, QStringLiteral("空心菜"));
        form.editCell(1, OrderForm::QuantityColumn, QStringLiteral("2"));
        form.editCell(2, OrderForm::NameColumn, QStringLiteral("王老吉"));
        form.editCell(2, OrderForm::QuantityColumn, QStringLiteral("1"));
        if (extra)
            extra(n);
        QElapsedTimer timer;
        timer.start();
        const SettleOutcome outcome = commands.settle();
        totalMs += double(timer.nsecsElapsed()) / 1e6;
        if (outcome != SettleOutcome::Completed) {
            std::fprintf(stderr, "%s: settling failed\n", bench);
            break;
        }
        stored << *commands.lastStoredId();
    }
    return totalMs / runs;
}

} // namespace qm::bench
