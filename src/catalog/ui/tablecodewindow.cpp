#include "catalog/ui/tablecodewindow.h"

#include "catalog/ui/reportlistview.h"
#include "catalog/ui/tablecodedialog.h"
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

TableCodeWindow::TableCodeWindow(const Database& db, Platform& platform, RunModal runModal, QWidget* parent)
    : QDialog(parent)
    , m_store(db)
    , m_tables(m_store)
    , m_platform(platform)
    , m_runModal(std::move(runModal)) {
    setObjectName(QStringLiteral("桌号设置"));
    setWindowTitle(QStringLiteral("桌号设置"));
    resize(286, 388);

    m_list = new ReportListView(&m_tables, {90, 150}, this);
    m_list->setObjectName(QStringLiteral("超级列表框1"));
    m_list->setMinimumSize(200, 160);
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

    connect(addButton, &QPushButton::clicked, this, &TableCodeWindow::addTables);
    connect(modifyButton, &QPushButton::clicked, this, &TableCodeWindow::modifyTable);
    connect(deleteButton, &QPushButton::clicked, this, &TableCodeWindow::deleteTable);
    connect(m_list, &ReportListView::modifyRequested, this, &TableCodeWindow::modifyTable);
    connect(m_list, &ReportListView::deleteRequested, this, &TableCodeWindow::deleteTable);

    m_tables.load();
}

void TableCodeWindow::addTables() {
    TableCodeDialog dialog(
        TableCodeDialog::Mode::Add, m_tables, m_platform, -1, [this](int row) { m_list->selectRow(row); },
        this);
    m_runModal(dialog);
}

void TableCodeWindow::modifyTable() {
    const int row = m_list->selectedRow();
    if (row < 0) {
        m_platform.showMessage(QStringLiteral("请选择要修改的项目。"), MessageIcon::Information);
        return;
    }
    TableCodeDialog dialog(
        TableCodeDialog::Mode::Modify, m_tables, m_platform, row,
        [this](int selected) { m_list->selectRow(selected); }, this);
    m_runModal(dialog);
}

void TableCodeWindow::deleteTable() {
    const Outcome outcome = m_tables.remove(m_list->selectedRow(), [this](const QString& question) {
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
