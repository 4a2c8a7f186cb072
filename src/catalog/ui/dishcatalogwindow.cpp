#include "catalog/ui/dishcatalogwindow.h"

#include "catalog/ui/dishdialog.h"

namespace qm {

DishCatalogWindow::DishCatalogWindow(const Database& db, Platform& platform, RunModal runModal,
                                     QWidget* parent)
    : CatalogListWindow(QStringLiteral("菜单设置"), QSize(571, 492), platform, std::move(runModal), parent)
    , m_db(db)
    , m_store(db)
    , m_catalog(m_store) {
    setUpList(&m_catalog, {90, 80, 130, 100, 50, 80}, QSize(240, 160));
    m_catalog.load();
}

void DishCatalogWindow::addEntries() {
    DishDialog dialog(
        DishDialog::Mode::Add, m_catalog, m_db, m_platform, -1, [this](int row) { selectRow(row); },
        m_runModal, this);
    m_runModal(dialog);
}

void DishCatalogWindow::runModifyDialog(int row) {
    DishDialog dialog(
        DishDialog::Mode::Modify, m_catalog, m_db, m_platform, row,
        [this](int selected) { selectRow(selected); }, m_runModal, this);
    m_runModal(dialog);
}

Outcome DishCatalogWindow::removeRow(int row, const std::function<bool(const QString&)>& confirm) {
    return m_catalog.remove(row, confirm);
}

} // namespace qm
