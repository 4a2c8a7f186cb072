#include "catalog/ui/cataloglistwindow.h"

#include "catalog/ui/editbuttons.h"
#include "core/platform.h"
#include "core/ui/plainbutton.h"
#include "core/ui/reportlistview.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

namespace qm {

CatalogListWindow::CatalogListWindow(const QString& name, QSize size, Platform& platform, RunModal runModal,
                                     QWidget* parent)
    : QDialog(parent)
    , m_platform(platform)
    , m_runModal(std::move(runModal)) {
    setObjectName(name);
    setWindowTitle(name);
    resize(size);
}

void CatalogListWindow::setUpList(QAbstractItemModel* model, const QList<int>& widths, QSize minimum) {
    m_list = new ReportListView(model, widths, this);
    m_list->setObjectName(QStringLiteral("超级列表框1"));
    m_list->setMinimumSize(minimum);
    const ListEditButtons buttons = listEditButtons(this);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(9, 9, 9, 12);
    layout->addWidget(m_list, 1);
    layout->addSpacing(6);
    layout->addLayout(buttons.row);
    m_buttonRow = buttons.row;

    connect(buttons.add, &QPushButton::clicked, this, &CatalogListWindow::addEntries);
    connect(buttons.modify, &QPushButton::clicked, this, &CatalogListWindow::modifySelected);
    connect(buttons.remove, &QPushButton::clicked, this, &CatalogListWindow::deleteSelected);
    connect(m_list, &ReportListView::modifyRequested, this, &CatalogListWindow::modifySelected);
    connect(m_list, &ReportListView::deleteRequested, this, &CatalogListWindow::deleteSelected);
}

QPushButton* CatalogListWindow::addRowButton(const QString& name, const QString& caption) {
    QPushButton* button = plainButton(name, caption, this);
    m_buttonRow->insertWidget(m_buttonRow->count() - 4, button);
    return button;
}

void CatalogListWindow::selectRow(int row) {
    m_list->selectRow(row);
}

void CatalogListWindow::modifySelected() {
    const int row = m_list->selectedRow();
    if (row < 0) {
        m_platform.showMessage(QStringLiteral("请选择要修改的项目。"), MessageIcon::Information);
        return;
    }
    runModifyDialog(row);
}

void CatalogListWindow::deleteSelected() {
    const Outcome outcome = removeRow(m_list->selectedRow(), [this](const QString& question) {
        return m_platform.askYesNo(question, MessageIcon::Question);
    });
    if (tellRefusal(m_platform, outcome, [this](int row) { selectRow(row); }))
        return;
    m_list->selectRow(outcome.row);
    m_platform.showMessage(outcome.message, MessageIcon::None);
}

} // namespace qm
