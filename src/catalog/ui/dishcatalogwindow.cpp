#include "catalog/ui/dishcatalogwindow.h"

#include "catalog/ui/dishdialog.h"
#include "catalog/ui/reportlistview.h"
#include "core/platform.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

namespace qm {

namespace {

QPushButton* button(const char* name, const char* text, QWidget* parent) {
    auto* button = new QPushButton(QString::fromUtf8(text), parent);
    button->setObjectName(QString::fromUtf8(name));
    button->setAutoDefault(false);
    return button;
}

} // namespace

DishCatalogWindow::DishCatalogWindow(const Database& db, Platform& platform, RunModal runModal,
                                     QWidget* parent)
    : QDialog(parent)
    , m_db(db)
    , m_store(db)
    , m_catalog(m_store)
    , m_platform(platform)
    , m_runModal(std::move(runModal)) {
    setObjectName(QStringLiteral("菜单设置"));
    setWindowTitle(QStringLiteral("菜单设置"));
    resize(491, 492);

    m_list = new ReportListView(&m_catalog, {90, 80, 130, 100, 50}, this);
    m_list->setObjectName(QStringLiteral("超级列表框1"));
    m_list->setMinimumSize(240, 160);
    QPushButton* addButton = button("按钮1", "添加", this);
    QPushButton* modifyButton = button("按钮3", "修改", this);
    QPushButton* deleteButton = button("按钮2", "删除", this);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(addButton);
    buttons->addWidget(modifyButton);
    buttons->addWidget(deleteButton);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(9, 9, 9, 12);
    layout->addWidget(m_list, 1);
    layout->addSpacing(6);
    layout->addLayout(buttons);

    connect(addButton, &QPushButton::clicked, this, &DishCatalogWindow::addDishes);
    connect(modifyButton, &QPushButton::clicked, this, &DishCatalogWindow::modifyDish);
    connect(deleteButton, &QPushButton::clicked, this, &DishCatalogWindow::deleteDish);
    connect(m_list, &ReportListView::modifyRequested, this, &DishCatalogWindow::modifyDish);
    connect(m_list, &ReportListView::deleteRequested, this, &DishCatalogWindow::deleteDish);

    m_catalog.load();
}

void DishCatalogWindow::addDishes() {
    DishDialog dialog(
        DishDialog::Mode::Add, m_catalog, m_db, m_platform, -1, [this](int row) { m_list->selectRow(row); },
        m_runModal, this);
    m_runModal(dialog);
}

void DishCatalogWindow::modifyDish() {
    const int row = m_list->selectedRow();
    if (row < 0) {
        m_platform.showMessage(QStringLiteral("请选择要修改的项目。"), MessageIcon::Information);
        return;
    }
    DishDialog dialog(
        DishDialog::Mode::Modify, m_catalog, m_db, m_platform, row,
        [this](int selected) { m_list->selectRow(selected); }, m_runModal, this);
    m_runModal(dialog);
}

void DishCatalogWindow::deleteDish() {
    const Outcome outcome = m_catalog.remove(m_list->selectedRow(), [this](const QString& question) {
        return m_platform.askYesNo(question, MessageIcon::Question);
    });
    if (outcome.done) {
        m_list->selectRow(outcome.row);
        m_platform.showMessage(outcome.message, MessageIcon::None);
    } else if (!outcome.message.isEmpty()) {
        m_platform.showMessage(outcome.message, MessageIcon::Information);
    }
}

} // namespace qm
