#include "catalog/ui/customerwindow.h"

#include "catalog/catalogimports.h"
#include "catalog/ui/customerdialog.h"
#include "catalog/ui/editbuttons.h"
#include "catalog/ui/importdialog.h"
#include "core/platform.h"
#include "core/ui/plainbutton.h"
#include "core/ui/reportlistview.h"
#include "history/ui/pagenavigator.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QStatusBar>
#include <QVBoxLayout>

namespace qm {

CustomerWindow::CustomerWindow(Database& db, Platform& platform, QString& search,
                               OpenCustomerOrders openOrders, RunModal runModal, QWidget* parent)
    : QDialog(parent)
    , m_db(db)
    , m_platform(platform)
    , m_search(search)
    , m_openOrders(std::move(openOrders))
    , m_runModal(std::move(runModal))
    , m_actions(db, platform)
    , m_table(db)
    , m_browser(m_table) {
    setObjectName(QStringLiteral("客户设置"));
    setWindowTitle(QStringLiteral("客户设置"));
    resize(541, 489);

    auto* searchLabel = new QLabel(QStringLiteral("查找(输入客户电话或姓名)："), this);
    searchLabel->setObjectName(QStringLiteral("透明标签7"));
    m_searchEdit = new QLineEdit(this);
    m_searchEdit->setObjectName(QStringLiteral("编辑框2"));
    QPushButton* searchButton = plainButton("查找", "查找", this);
    QPushButton* allButton = plainButton("跳到_2", "浏览所有客户", this);
    auto* searchRow = new QHBoxLayout;
    searchRow->addWidget(searchLabel);
    searchRow->addWidget(m_searchEdit, 1);
    searchRow->addWidget(searchButton);
    searchRow->addWidget(allButton);

    m_list = new ReportListView(&m_model, {160, 80, 250}, this);
    m_list->setObjectName(QStringLiteral("超级列表框2"));
    m_list->setMinimumSize(360, 200);
    m_list->setContextMenuPolicy(Qt::CustomContextMenu);
    m_navigator = new PageNavigator(m_browser, this);

    const ListEditButtons buttons = listEditButtons(this);
    QPushButton* importButton = plainButton("按钮_导入", "导入…", this);
    buttons.row->insertWidget(0, importButton);

    auto* statusBar = new QStatusBar(this);
    statusBar->setObjectName(QStringLiteral("状态条1"));
    statusBar->setSizeGripEnabled(false);
    m_status = new QLabel(statusBar);
    m_status->setFixedWidth(width() / 2);
    statusBar->addWidget(m_status);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(10, 10, 10, 0);
    layout->addLayout(searchRow);
    layout->addWidget(m_list, 1);
    layout->addWidget(m_navigator);
    layout->addLayout(buttons.row);
    layout->addWidget(statusBar);

    connect(searchButton, &QPushButton::clicked, this, &CustomerWindow::search);
    connect(m_searchEdit, &QLineEdit::returnPressed, this, &CustomerWindow::search);
    connect(allButton, &QPushButton::clicked, this, &CustomerWindow::browseAll);
    connect(buttons.add, &QPushButton::clicked, this, &CustomerWindow::addCustomers);
    connect(importButton, &QPushButton::clicked, this, &CustomerWindow::importCustomers);
    connect(buttons.modify, &QPushButton::clicked, this, &CustomerWindow::modifySelected);
    connect(buttons.remove, &QPushButton::clicked, this, &CustomerWindow::deleteSelected);
    connect(m_list, &ReportListView::modifyRequested, this, &CustomerWindow::modifySelected);
    connect(m_list, &ReportListView::deleteRequested, this, &CustomerWindow::deleteSelected);
    connect(m_list, &QWidget::customContextMenuRequested, this, [this](const QPoint& position) {
        if (m_list->selectedRow() < 0)
            return;
        QMenu* menu = createRowMenu();
        menu->setAttribute(Qt::WA_DeleteOnClose);
        menu->popup(m_list->viewport()->mapToGlobal(position));
    });
    connect(m_navigator, &PageNavigator::shown, this, &CustomerWindow::present);

    m_table.setSearch(m_search);
    showPage(1);
    m_searchEdit->setFocus();
}

CustomerWindow::~CustomerWindow() = default;

void CustomerWindow::search() {
    if (const std::optional<QString> text = m_actions.search(m_searchEdit->text())) {
        setSearch(*text);
        showPage(1);
    }
}

void CustomerWindow::browseAll() {
    m_searchEdit->clear();
    setSearch(QString());
    showPage(1);
}

void CustomerWindow::setSearch(const QString& search) {
    m_search = search;
    m_table.setSearch(search);
}

void CustomerWindow::addCustomers() {
    CustomerDialog dialog(
        CustomerDialog::Mode::Add, m_actions, {}, [this](const CustomerOutcome& outcome) { follow(outcome); },
        m_platform, this);
    m_runModal(dialog);
}

void CustomerWindow::importCustomers() {
    CustomerImportSession session(m_db);
    if (runImport(this, session, m_db, m_platform, m_runModal))
        showCurrentPage();
}

void CustomerWindow::modifySelected() {
    const std::optional<StoredCustomer> selected = m_model.customerAt(m_list->selectedRow());
    if (!selected) {
        m_platform.showMessage(QStringLiteral("请选择要修改的项目。"), MessageIcon::Information);
        return;
    }
    CustomerDialog dialog(
        CustomerDialog::Mode::Modify, m_actions, *selected,
        [this](const CustomerOutcome& outcome) { follow(outcome); }, m_platform, this);
    m_runModal(dialog);
}

void CustomerWindow::deleteSelected() {
    const int row = m_list->selectedRow();
    const CustomerOutcome outcome = m_actions.remove(m_model.customerAt(row));
    if (outcome.kind != CustomerOutcome::Kind::Deleted)
        return;
    showCurrentPage();
    m_list->selectRow(std::min(row, m_model.rowCount() - 1));
    m_platform.showMessage(outcome.message, MessageIcon::None);
}

void CustomerWindow::showOrdersOfSelected() {
    const std::optional<StoredCustomer> selected = m_model.customerAt(m_list->selectedRow());
    if (selected && m_openOrders)
        m_openOrders(this, selected->telephone);
}

QMenu* CustomerWindow::createRowMenu() {
    QMenu* menu = m_list->createRowMenu();
    menu->addSeparator();
    QAction* orders =
        menu->addAction(QStringLiteral("查看该客户的所有订单"), this, &CustomerWindow::showOrdersOfSelected);
    orders->setEnabled(bool(m_openOrders));
    return menu;
}

void CustomerWindow::follow(const CustomerOutcome& outcome) {
    if (outcome.kind == CustomerOutcome::Kind::Updated) {
        // A customer not on the page shown leaves the list as it is.
        if (const int row = m_model.showChange(outcome.customer); row >= 0)
            m_list->selectRow(row);
    } else if (outcome.kind == CustomerOutcome::Kind::Inserted) {
        showCurrentPage();
    }
}

void CustomerWindow::showPage(qint64 page) {
    m_navigator->showPage(page);
}

void CustomerWindow::showCurrentPage() {
    showPage(std::max<qint64>(1, m_browser.currentPage()));
}

void CustomerWindow::present(const PageView& view) {
    if (view.countShown)
        m_status->setText(QStringLiteral("共有客户数据:%1条").arg(view.totals.count));
    if (view.listShown)
        m_model.setRows(view.rows);
    if (!view.ok)
        m_platform.showMessage(QStringLiteral("读取客户资料失败：") + view.error, MessageIcon::Warning);
}

void openCustomers(QWidget* parent, Database& db, Platform& platform, QString& search,
                   OpenCustomerOrders openOrders) {
    CustomerWindow window(db, platform, search, std::move(openOrders), execModal, parent);
    window.exec();
}

} // namespace qm
