#include "catalog/ui/tablecodewindow.h"

#include "catalog/ui/tablecodedialog.h"

namespace qm {

TableCodeWindow::TableCodeWindow(const Database& db, Platform& platform, RunModal runModal, QWidget* parent)
    : CatalogListWindow(QStringLiteral("桌号设置"), QSize(286, 388), platform, std::move(runModal), parent)
    , m_store(db)
    , m_tables(m_store) {
    setUpList(&m_tables, {90, 150}, QSize(200, 160));
    m_tables.load();
}

void TableCodeWindow::addEntries() {
    TableCodeDialog dialog(
        TableCodeDialog::Mode::Add, m_tables, m_platform, -1, [this](int row) { selectRow(row); }, this);
    m_runModal(dialog);
}

void TableCodeWindow::runModifyDialog(int row) {
    TableCodeDialog dialog(
        TableCodeDialog::Mode::Modify, m_tables, m_platform, row,
        [this](int selected) { selectRow(selected); }, this);
    m_runModal(dialog);
}

Outcome TableCodeWindow::removeRow(int row, const std::function<bool(const QString&)>& confirm) {
    return m_tables.remove(row, confirm);
}

} // namespace qm
