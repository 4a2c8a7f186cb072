#include "history/ui/historywindow.h"

#include "core/numtext.h"
#include "core/platform.h"
#include "core/ui/plainbutton.h"
#include "core/ui/reportlistview.h"
#include "history/csvexport.h"
#include "history/ui/daysdialog.h"
#include "history/ui/pagenavigator.h"
#include "staff/staffsession.h"
#include "store/database.h"

#include <QContextMenuEvent>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QStandardItemModel>
#include <QStatusBar>
#include <QVBoxLayout>
#include <climits>

namespace qm {

namespace {

const QStringList columnTitles = {QStringLiteral("ID"),     QStringLiteral("编号"),  QStringLiteral("时间"),
                                  QStringLiteral("合计"),   QStringLiteral("实付"),  QStringLiteral("桌号"),
                                  QStringLiteral("电话"),   QStringLiteral("姓名"),  QStringLiteral("地址"),
                                  QStringLiteral("收银机"), QStringLiteral("操作员")};
const int tillColumn = 9;
const int staffColumn = 10;

// Where a row keeps the 版本 its order had when the page was read.
constexpr int versionRole = Qt::UserRole + 1;

} // namespace

HistoryWindow::HistoryWindow(Database& db, Platform& platform, OrderHandOff handOff, RunModal runModal,
                             std::optional<QString> customerTelephone, QWidget* parent)
    : QDialog(parent)
    , m_db(db)
    , m_platform(platform)
    , m_handOff(std::move(handOff))
    , m_runModal(std::move(runModal))
    , m_history(db, customerTelephone) {
    setObjectName(QStringLiteral("历史订单"));
    setWindowTitle(m_history.caption());
    resize(814, 512);

    auto* bar = new QMenuBar(this);
    buildMenu(bar);

    m_browsing = new QLabel(m_history.browsingLabel(), this);
    m_browsing->setObjectName(QStringLiteral("透明标签7"));
    m_allButton = plainButton("所有数据按钮", "浏览所有单据", this);
    auto* top = new QHBoxLayout;
    top->addWidget(m_browsing, 1);
    top->addWidget(m_allButton);

    m_model = new QStandardItemModel(0, int(columnTitles.size()), this);
    m_model->setHorizontalHeaderLabels(columnTitles);
    m_list = new ReportListView(m_model, {50, 160, 50, 50, 100, 100, 70, 150, 80, 80}, this);
    m_list->setObjectName(QStringLiteral("超级列表框2"));
    m_list->setMinimumSize(480, 200);
    // Which till stored an order matters only where several tills share the database.
    m_list->setColumnHidden(tillColumn, !db.isServer());
    // Who stored an order matters only where staff sign in, or once did.
    m_list->setColumnHidden(staffColumn, !m_history.namesStaff(m_handOff.staff));
    m_list->viewport()->installEventFilter(this);

    m_navigator = new PageNavigator(m_history.browser(), this);
    QPushButton* modifyButton = plainButton("按钮3", "修改", this);
    QPushButton* deleteButton = plainButton("按钮2", "删除", this);
    QPushButton* exportButton = plainButton("按钮1", "导出", this);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(m_navigator, 1);
    bottom->addSpacing(12);
    bottom->addWidget(modifyButton);
    bottom->addWidget(deleteButton);
    bottom->addWidget(exportButton);

    auto* statusBar = new QStatusBar(this);
    statusBar->setObjectName(QStringLiteral("状态条1"));
    statusBar->setSizeGripEnabled(false);
    for (QLabel*& part : m_status) {
        part = new QLabel(statusBar);
        statusBar->addWidget(part, 1);
    }

    auto* layout = new QVBoxLayout(this);
    layout->setMenuBar(bar);
    layout->setContentsMargins(9, 6, 9, 0);
    layout->addLayout(top);
    layout->addWidget(m_list, 1);
    layout->addLayout(bottom);
    layout->addWidget(statusBar);

    if (m_history.customerMode()) {
        m_filterMenu->setEnabled(false);
        m_allButton->setEnabled(false);
    }
    connect(m_allButton, &QPushButton::clicked, this, [this] {
        m_history.showAll();
        showFilter();
    });
    connect(m_navigator, &PageNavigator::shown, this, &HistoryWindow::present);
    connect(modifyButton, &QPushButton::clicked, this, &HistoryWindow::modifySelected);
    connect(deleteButton, &QPushButton::clicked, this, &HistoryWindow::deleteSelected);
    connect(exportButton, &QPushButton::clicked, this, &HistoryWindow::exportOrders);
    connect(m_list, &ReportListView::modifyRequested, this, &HistoryWindow::modifySelected);
    connect(m_list, &ReportListView::deleteRequested, this, &HistoryWindow::deleteSelected);
    showPage(1);
}

HistoryWindow::~HistoryWindow() = default;

void HistoryWindow::buildMenu(QMenuBar* bar) {
    m_filterMenu = bar->addMenu(QStringLiteral("查询条件"));
    m_filterMenu->setObjectName(QStringLiteral("查询条件"));
    auto add = [this](const char* text, auto&& action) {
        m_filterMenu->addAction(QString::fromUtf8(text), this, action);
    };
    add("所有数据", [this] {
        m_history.showAll();
        showFilter();
    });
    m_filterMenu->addSeparator();
    add("指定时间", [this] { askDay(); });
    m_filterMenu->addSeparator();
    add("指定时间段", [this] { askDays(); });
    m_filterMenu->addSeparator();
    add("指定客户", [this] { askCustomer(); });
    m_filterMenu->addSeparator();
    add("外卖订单", [this] {
        m_history.showTakeAway();
        showFilter();
    });
    m_filterMenu->addSeparator();
    add("店内用餐", [this] {
        m_history.showDineIn();
        showFilter();
    });
}

void HistoryWindow::showPage(qint64 page) {
    m_navigator->showPage(page);
}

void HistoryWindow::showFilter() {
    showPage(1);
    m_browsing->setText(m_history.browsingLabel());
}

void HistoryWindow::present(const PageView& view) {
    if (m_history.filter().kind == OrderFilter::Kind::All)
        m_browsing->setText(allOrdersLabel);
    m_status[1]->setText(totalSumText(view.totals.sums.value(0)));
    m_status[2]->setText(paidSumText(view.totals.sums.value(1)));
    if (view.countShown)
        m_status[0]->setText(orderCountText(view.totals.count));
    if (view.listShown) {
        m_model->removeRows(0, m_model->rowCount());
        for (const QVariantList& row : view.rows) {
            QList<QStandardItem*> items;
            for (const QString& text : orderRowTexts(row))
                items << new QStandardItem(text);
            items.first()->setData(orderRowVersion(row), versionRole);
            m_model->appendRow(items);
        }
    }
    if (!view.ok)
        m_platform.showMessage(QStringLiteral("读取订单失败：") + view.error, MessageIcon::Warning);
}

QString HistoryWindow::selectedText(int column) const {
    const int row = m_list->selectedRow();
    return row < 0 ? QString() : m_model->item(row, column)->text();
}

void HistoryWindow::modifySelected() {
    if (m_list->selectedRow() < 0) {
        m_platform.showMessage(QStringLiteral("请选择要修改的项目。"), MessageIcon::Information);
        return;
    }
    if (m_handOff.formHoldsOrder && m_handOff.formHoldsOrder() &&
        !m_platform.askYesNo(clearFormQuestion, MessageIcon::None, QStringLiteral("提示")))
        return;
    if (!m_handOff.openForChange || !m_handOff.openForChange(selectedText(0), selectedText(2))) {
        m_platform.showMessage(QStringLiteral("该订单已不存在，无法修改。"), MessageIcon::Warning);
        m_navigator->refresh();
        return;
    }
    accept();
}

void HistoryWindow::deleteSelected() {
    const int row = m_list->selectedRow();
    if (row < 0) {
        m_platform.showMessage(QStringLiteral("请选择要删除的项目。"), MessageIcon::Information);
        return;
    }
    if (!m_platform.askYesNo(deleteQuestion(selectedText(1), selectedText(2)), MessageIcon::Question))
        return;
    std::optional<AuditEvent> event;
    if (StaffSession* staff = m_handOff.staff) {
        const std::optional<Authorisation> who = staff->authorise(Action::DeleteOrder);
        if (!who)
            return;
        event = staff->event(*who, auditOrderDeleted);
    }
    const int seenVersion = m_model->item(row, 0)->data(versionRole).toInt();
    if (const std::optional<QString> failure =
            m_history.deleteOrder(selectedText(0).toLongLong(), seenVersion, event)) {
        m_platform.showMessage(QStringLiteral("删除失败：") + *failure, MessageIcon::Warning);
        // The list shows the order as it is now, or without it.
        m_navigator->refresh();
        return;
    }
    m_navigator->refresh();
    m_list->selectRow(std::min(row, m_model->rowCount() - 1));
    m_platform.showMessage(QStringLiteral("处理成功。"), MessageIcon::None);
}

void HistoryWindow::exportOrders() {
    std::optional<Authorisation> who;
    if (m_handOff.staff && !(who = m_handOff.staff->authorise(Action::CsvExport)))
        return;
    QString path = m_platform.saveFileName(QStringLiteral("请选择需要导出的位置。"),
                                           QStringLiteral("CSV文件 (*.csv)"), QString());
    if (path.isEmpty())
        return;
    if (QFileInfo(path).suffix().isEmpty())
        path += QStringLiteral(".csv");
    const CsvSummary summary{m_browsing->text(),
                             {m_status[0]->text(), m_status[1]->text(), m_status[2]->text()}};
    const qint64 orders = m_history.browser().show(0).totals.count;
    std::unique_ptr<Progress> progress = m_platform.startProgress(
        QStringLiteral("导出"), QStringLiteral("正在导出订单……"), int(std::min<qint64>(orders, INT_MAX)));
    const CsvExportResult result = exportOrdersCsv(m_db, m_history.filter(), summary, path, [&](qint64 done) {
        return progress->advance(int(std::min<qint64>(done, INT_MAX)));
    });
    progress.reset();
    switch (result.status) {
    case CsvExportResult::Status::Written:
        if (who)
            m_handOff.staff->record(*who, QStringLiteral("CSV导出"), path);
        m_platform.showMessage(QStringLiteral("导出完成。"), MessageIcon::Information);
        break;
    case CsvExportResult::Status::Failed:
        m_platform.showMessage(QStringLiteral("导出失败：") + result.error, MessageIcon::Warning);
        break;
    case CsvExportResult::Status::Cancelled:
        break;
    }
}

void HistoryWindow::showCustomerOfSelected() {
    if (m_history.showCustomer(selectedText(6)))
        showFilter();
}

void HistoryWindow::askCustomer() {
    const std::optional<QString> answer =
        m_platform.askText(QStringLiteral("浏览客户数据"),
                           QStringLiteral("请输入客户电话：按 Esc键 取消查询。"), QString(), false);
    if (answer && m_history.showCustomer(trimBlanks(*answer)))
        showFilter();
}

void HistoryWindow::askDay() {
    DaysDialog dialog(
        DaysDialog::Mode::Day, m_platform,
        [this](QDate day, QDate) {
            m_history.showDay(day);
            showFilter();
        },
        this);
    m_runModal(dialog);
}

void HistoryWindow::askDays() {
    DaysDialog dialog(
        DaysDialog::Mode::Range, m_platform,
        [this](QDate first, QDate last) {
            m_history.showDays(first, last);
            showFilter();
        },
        this);
    m_runModal(dialog);
}

QMenu* HistoryWindow::createRowMenu() {
    QMenu* menu = m_list->createRowMenu();
    menu->addSeparator();
    QAction* customer =
        menu->addAction(QStringLiteral("查看该客户的所有订单"), this, &HistoryWindow::showCustomerOfSelected);
    customer->setEnabled(!selectedText(6).isEmpty() && !m_browsing->text().contains(customerLabelMark));
    if (m_handOff.reprintKitchen) {
        menu->addSeparator();
        menu->addAction(QStringLiteral("重打后厨单"), this,
                        [this] { m_handOff.reprintKitchen(selectedText(0)); });
    }
    return menu;
}

bool HistoryWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_list->viewport() && event->type() == QEvent::ContextMenu) {
        if (m_list->selectedRow() >= 0) {
            QMenu* menu = createRowMenu();
            menu->setAttribute(Qt::WA_DeleteOnClose);
            menu->popup(static_cast<QContextMenuEvent*>(event)->globalPos());
        }
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void openOrderHistory(QWidget* parent, Database& db, Platform& platform, const OrderHandOff& handOff,
                      std::optional<QString> customerTelephone, RunModal runModal) {
    {
        HistoryWindow window(db, platform, handOff, runModal, std::move(customerTelephone), parent);
        runModal(window);
    }
    if (handOff.refreshPreview)
        handOff.refreshPreview();
}

} // namespace qm
