#include "app/ui/mainwindow.h"

#include "app/version.h"

namespace qm {

MainWindow::MainWindow(Database&, Platform&, const Home&, QWidget* parent)
    : QMainWindow(parent) {
    setWindowTitle(productTitle());
    resize(791, 723);
}

} // namespace qm
