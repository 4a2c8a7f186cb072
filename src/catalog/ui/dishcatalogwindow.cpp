#include "catalog/ui/dishcatalogwindow.h"

#include "catalog/catalogimports.h"
#include "catalog/ui/dishdialog.h"
#include "catalog/ui/importdialog.h"
#include "core/platform.h"
#include "core/systemerror.h"
#include "store/database.h"

#include <QPushButton>

namespace qm {

DishCatalogWindow::DishCatalogWindow(Database& db, Platform& platform, RunModal runModal, QWidget* parent)
    : CatalogListWindow(QStringLiteral("菜单设置"), QSize(571, 492), platform, std::move(runModal), parent)
    , m_db(db)
    , m_store(db)
    , m_catalog(m_store) {
    setUpList(&m_catalog, {90, 80, 130, 100, 50, 80}, QSize(240, 160));
    m_catalog.load();
    connect(addRowButton(QStringLiteral("按钮_导入"), QStringLiteral("导入…")), &QPushButton::clicked, this,
            &DishCatalogWindow::importDishes);
    connect(addRowButton(QStringLiteral("按钮_导出"), QStringLiteral("导出…")), &QPushButton::clicked, this,
            &DishCatalogWindow::exportDishes);
}

void DishCatalogWindow::importDishes() {
    DishImportSession session(m_db);
    if (runImport(this, session, m_db, m_platform, m_runModal))
        m_catalog.load();
}

void DishCatalogWindow::exportDishes() {
    const QString path =
        m_platform.saveFileName(QStringLiteral("请选择需要导出的位置。"), QStringLiteral("CSV文件 (*.csv)"),
                                QStringLiteral("菜单.csv"));
    if (path.isEmpty())
        return;
    const std::optional<QList<StoredDish>> dishes = m_store.loadDishes();
    const QString error = dishes ? writeWholeFile(path, dishesCsv(*dishes)) : m_db.lastError();
    if (!error.isEmpty()) {
        m_platform.showMessage(QStringLiteral("导出失败：") + error, MessageIcon::Warning);
        return;
    }
    if (m_exported)
        m_exported(path);
    m_platform.showMessage(QStringLiteral("导出完成。"), MessageIcon::Information);
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
