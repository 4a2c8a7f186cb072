#include "promptbench.h"

#include "benchutil.h"

#include "app/programdatabase.h"
#include "app/ui/mainwindow.h"
#include "core/home.h"
#include "core/ui/qtplatform.h"
#include "order/orderform.h"

#include <QApplication>
#include <QDialog>
#include <QFile>
#include <QTemporaryDir>
#include <QTimer>
#include <QWidget>

#include <unistd.h>

namespace qm::bench {

namespace {

// Resident memory of this process in kB.
double residentKb() {
    QFile statm(QStringLiteral("/proc/self/statm"));
    if (!statm.open(QIODevice::ReadOnly))
        return 0;
    const QList<QByteArray> fields = statm.readAll().split(' ');
    return fields.size() > 1 ? fields[1].toDouble() * double(::sysconf(_SC_PAGESIZE)) / 1024.0 : 0;
}

// Picks the candidate `count` times through the main window, answering every other quantity prompt
// and cancelling the rest, as Enter and Esc do; the form is cleared every ten lines.
void pickDishes(OrderForm& form, int count) {
    for (int i = 0; i < count; ++i) {
        QTimer::singleShot(0, [i] {
            if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget()))
                i % 2 ? dialog->reject() : dialog->accept();
        });
        form.pickDish();
        if (i % 20 == 19)
            form.resetForm();
    }
}

} // namespace

void benchQuantityPrompts(int prompts) {
    QTemporaryDir dir;
    const Home home(dir.path());
    OpenedDatabase opened = openProgramDatabase(home);
    QtPlatform platform;
    MainWindow window(*opened.db, platform, home, opened.quantityDecimals);
    window.show();
    window.activateWindow();
    OrderForm& form = window.orderForm();
    form.setText(OrderField::DishCode, QStringLiteral("108"));
    // Caches of fonts and styles fill during the first prompts; the growth is measured after them.
    pickDishes(form, 100);
    const double before = residentKb();
    const double ms = meanMs(1, [&] { pickDishes(form, prompts); }) / prompts;
    const double after = residentKb();
    figure(QStringLiteral("quantity prompt through the main window"), ms, "ms");
    figure(QStringLiteral("  resident memory after warm-up"), before / 1024.0, "MB");
    figure(QStringLiteral("  resident memory after %1 prompts").arg(prompts), after / 1024.0, "MB");
    figure(QStringLiteral("  growth per prompt"), (after - before) / prompts, "kB");
}

} // namespace qm::bench
