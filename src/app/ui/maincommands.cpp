#include "app/ui/maincommands.h"

#include "app/shopsetup.h"
#include "app/ui/mainwindow.h"
#include "app/ui/setupwizard.h"
#include "catalog/ui/catalogwindows.h"
#include "catalog/ui/customerwindow.h"
#include "core/home.h"
#include "core/numtext.h"
#include "history/ui/historywindow.h"
#include "order/orderform.h"
#include "order/sampledata.h"
#include "receipt/directprinter.h"
#include "receipt/printerchoice.h"
#include "receipt/printing.h"
#include "receipt/receiptcontent.h"
#include "receipt/ui/printsettingswindow.h"
#include "reports/ui/reportwindows.h"
#include "staff/ui/auditwindow.h"
#include "staff/ui/staffwindow.h"
#include "store/settings.h"
#include "store/staffstore.h"
#include "store/tillfile.h"

#include <QAction>
#include <QApplication>
#include <QDateTime>
#include <QLabel>
#include <QPushButton>
#include <QStatusBar>
#include <QTimer>

namespace qm {

MainCommands::MainCommands(MainWindow& window, Database& db, Platform& platform, const Home& home)
    : QObject(&window)
    , m_window(window)
    , m_db(db)
    , m_platform(platform)
    , m_home(home)
    , m_settle(window.orderForm(), [this](bool singleCopy) { return printReceipt(singleCopy); })
    , m_preview(
          &window, db, home, [this] { return receiptContentFrom(m_window.orderForm().values()); },
          [this](int qtKey) { m_window.functionKey(qtKey); })
    , m_kitchen(db, home, platform)
    , m_kitchenStatus(new QLabel(window.statusBar()))
    , m_staff(db, platform)
    , m_staffStatus(new QLabel(window.statusBar()))
    , m_auditStatus(new QLabel(window.statusBar()))
    , m_idleTimer(new QTimer(this))
    , m_otherTills(new ChangeWatch(db, 1000, this)) {
    m_settle.setStaff(&m_staff);
    connect(m_otherTills, &ChangeWatch::changed, this, &MainCommands::followOtherTills);
    window.setStaff(&m_staff);
    m_staffStatus->setObjectName(QStringLiteral("状态条1_员工"));
    window.statusBar()->addWidget(m_staffStatus, 1);
    m_auditStatus->setObjectName(QStringLiteral("状态条1_操作记录"));
    m_auditStatus->setStyleSheet(QStringLiteral("color: #d00000; font-weight: bold;"));
    m_auditStatus->hide();
    window.statusBar()->addWidget(m_auditStatus, 2);
    m_idleTimer->setObjectName(QStringLiteral("空闲锁屏_计时"));
    m_idleTimer->setSingleShot(true);
    connect(m_idleTimer, &QTimer::timeout, this, [this] {
        // A window open over the main one is left alone; the till locks once it is closed and idle again.
        if (QApplication::activeModalWidget())
            restartIdleTimer();
        else if (m_staff.enabled() && m_staff.current())
            lockTill();
    });
    connect(&m_staff, &StaffSession::signedInChanged, this, &MainCommands::showStaffStatus);
    qApp->installEventFilter(this);
    // A kitchen printer that failed is named in red until its next slip gets through.
    m_kitchenStatus->setObjectName(QStringLiteral("状态条1_后厨"));
    m_kitchenStatus->setStyleSheet(QStringLiteral("color: #d00000; font-weight: bold;"));
    m_kitchenStatus->hide();
    window.statusBar()->addWidget(m_kitchenStatus, 2);
    m_kitchen.attach(m_settle);
    connect(&m_kitchen, &KitchenPrinting::statusChanged, this, &MainCommands::showKitchenStatus);
    m_settle.setCashSettled([this] {
        if (const PrinterChoice choice = loadPrinterChoice(RecordStore(m_db), TillFile(m_home.tillPath()));
            choice.kickDrawer && choice.direct())
            openCashDrawer(m_platform, choice);
    });
    connect(&window, &MainWindow::settleRequested, this, [this] { m_settle.settle(); });
    connect(&window, &MainWindow::printOnlyRequested, this, [this] { m_settle.printOnly(); });
    connect(&window, &MainWindow::clearRequested, this, [this] { m_settle.clearForm(); });
    connect(&window, &MainWindow::previewToggleRequested, &m_preview, &ReceiptPreview::toggle);
    connect(&window.orderForm(), &OrderForm::previewRefreshRequested, &m_preview, &ReceiptPreview::refresh);
    connect(&window, &MainWindow::sampleDataRequested, this, &MainCommands::generateSampleData);
    if (auto* sampleData = window.findChild<QPushButton*>(QStringLiteral("按钮_随机数据")))
        sampleData->setEnabled(true);
    connectEntries();
    showStaffStatus();
}

MainCommands::~MainCommands() {
    qApp->removeEventFilter(this);
}

bool MainCommands::signInAtStart() {
    if (!m_staff.enabled())
        return true;
    checkAuditChain();
    return m_staff.signInAtTill();
}

SetupWizard* MainCommands::offerShopSetupAtStart(bool turnedOff) {
    return ShopSetup::offeredAtStart(m_db, turnedOff) ? openShopSetup() : nullptr;
}

SetupWizard* MainCommands::openShopSetup(const RunModal& runModal) {
    m_preview.open();
    auto* wizard = new SetupWizard(
        m_db, m_home, m_platform,
        [this] {
            m_window.orderForm().reloadStoredData();
            m_preview.refresh();
        },
        runModal, &m_window);
    wizard->setAttribute(Qt::WA_DeleteOnClose);
    wizard->open();
    return wizard;
}

void MainCommands::lockTill() {
    if (!m_staff.enabled())
        return;
    m_staff.signOut();
    if (!m_staff.signInAtTill())
        m_window.close();
}

void MainCommands::databaseReplaced() {
    checkAuditChain();
    if (m_staff.enabled() && !m_staff.current() && !m_staff.signInAtTill())
        m_window.close();
}

void MainCommands::checkAuditChain() {
    const std::optional<qint64> broken = m_staff.enabled() ? m_staff.unacknowledgedBreak() : std::nullopt;
    const QString text =
        broken ? QStringLiteral("%1（第%2条起），请店主确认").arg(auditTamperedMessage).arg(*broken)
               : QString();
    m_auditStatus->setText(text);
    m_auditStatus->setVisible(!text.isEmpty());
}

void MainCommands::showStaffStatus() {
    const bool on = m_staff.enabled();
    m_staffStatus->setText(m_staff.statusText());
    m_staffStatus->setVisible(on);
    m_window.entry(MainWindow::Entry::Lock)->setVisible(on);
    m_window.entry(MainWindow::Entry::AuditRecord)->setVisible(on);
    if (!on)
        m_auditStatus->hide();
    restartIdleTimer();
}

void MainCommands::restartIdleTimer() {
    const int minutes = m_staff.enabled() && m_staff.current() ? m_staff.idleLockMinutes() : 0;
    if (minutes <= 0) {
        m_idleTimer->stop();
        return;
    }
    m_idleTimer->start(minutes * 60 * 1000);
}

bool MainCommands::eventFilter(QObject* watched, QEvent* event) {
    // Any key or click keeps the till open; only a running idle timer is restarted.
    switch (event->type()) {
    case QEvent::KeyPress:
    case QEvent::MouseButtonPress:
    case QEvent::Wheel:
        if (m_idleTimer->isActive())
            m_idleTimer->start();
        break;
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}

bool MainCommands::printReceipt(bool singleCopy) {
    m_window.orderForm().completeTelephone();
    const ReceiptContent content = receiptContentFrom(m_window.orderForm().values());
    return qm::printReceipt(m_platform, RecordStore(m_db), ConfigFile(m_home.configPath()), m_home, content,
                            singleCopy);
}

void MainCommands::openPrintSettings(const Authorisation& who) {
    m_preview.open();
    qm::openPrintSettings(
        &m_window, m_db, m_platform, m_home, [this] { m_preview.refresh(); },
        m_staff.event(who, QStringLiteral("修改打印设置")));
}

void MainCommands::generateSampleData() {
    OrderForm& form = m_window.orderForm();
    QStringList tableNames;
    for (const TableCodeRecord& table : form.tableCodes())
        tableNames << table.name;
    const SampleDataOutcome outcome =
        qm::generateSampleData(m_db, m_platform, form.dishCache().dishes(), tableNames,
                               quint32(QDateTime::currentMSecsSinceEpoch()));
    // Today has sample orders now: the status line and the next order number follow at once, so the next
    // order does not take a number of the day twice. An order open for change keeps its own number.
    if (outcome == SampleDataOutcome::Stored && !form.isModifying())
        form.refreshTodayTotals();
}

OrderHandOff MainCommands::orderHandOff() {
    return {
        [this] {
            const OrderForm& form = m_window.orderForm();
            return form.hasLines() || !trimBlanks(form.text(OrderField::Telephone)).isEmpty();
        },
        [this](const QString& id, const QString& dateText) { return m_settle.openForChange(id, dateText); },
        [this] { m_preview.refresh(); }, [this](const QString& id) { m_kitchen.reprint(id); }, &m_staff};
}

void MainCommands::followOtherTills(SharedData what) {
    OrderForm& form = m_window.orderForm();
    switch (what) {
    case SharedData::Orders:
        form.refreshAfterOtherTills();
        break;
    case SharedData::Dishes:
        form.loadDishCache();
        break;
    case SharedData::TableCodes:
        form.loadTableCodes();
        break;
    case SharedData::Lists:
        for (OrderField field : {OrderField::TicketHeader, OrderField::ShopName, OrderField::DiscountName})
            form.fillChoiceList(field);
        break;
    }
}

void MainCommands::showKitchenStatus(const QString& text) {
    m_kitchenStatus->setText(text);
    m_kitchenStatus->setToolTip(text);
    m_kitchenStatus->setVisible(!text.isEmpty());
}

void MainCommands::connectEntries() {
    // With staff mode on, each entry first asks whether the person signed in may open it; a window that
    // records what is changed in it is told who allowed it.
    auto wire = [this](MainWindow::Entry entry, Action need, auto&& open) {
        QAction* action = m_window.entry(entry);
        action->setEnabled(true);
        connect(action, &QAction::triggered, this, [this, need, open] {
            if (const std::optional<Authorisation> who = m_staff.authorise(need)) {
                if constexpr (std::is_invocable_v<decltype(open), const Authorisation&>)
                    open(*who);
                else
                    open();
            }
        });
    };
    wire(MainWindow::Entry::Dishes, Action::Dishes, [this](const Authorisation& who) {
        openDishCatalog(&m_window, m_db, m_platform, [this, who](const QString& path) {
            m_staff.record(who, QStringLiteral("CSV导出"), QStringLiteral("菜单：") + path);
        });
        m_window.orderForm().loadDishCache();
    });
    wire(MainWindow::Entry::Tables, Action::Tables, [this] {
        openTableCodes(&m_window, m_db, m_platform);
        m_window.orderForm().loadTableCodes();
    });
    wire(MainWindow::Entry::TicketHeaders, Action::NamedLists,
         [this] { openNamedList(NamedList::TicketHeaders, &m_window, m_db, m_platform); });
    wire(MainWindow::Entry::ShopNames, Action::NamedLists,
         [this] { openNamedList(NamedList::ShopNames, &m_window, m_db, m_platform); });
    wire(MainWindow::Entry::Discounts, Action::NamedLists,
         [this] { openNamedList(NamedList::Discounts, &m_window, m_db, m_platform); });
    wire(MainWindow::Entry::Stations, Action::NamedLists,
         [this] { openNamedList(NamedList::Stations, &m_window, m_db, m_platform); });
    wire(MainWindow::Entry::PrintSettings, Action::PrintSettings,
         [this](const Authorisation& who) { openPrintSettings(who); });
    wire(MainWindow::Entry::ShopSetup, Action::Settings, [this](const Authorisation& who) {
        // What the set-up changed is in the settings it stored; the record names who ran it.
        connect(openShopSetup(), &QDialog::finished, this,
                [this, who] { m_staff.record(who, QStringLiteral("开店向导")); });
    });
    wire(MainWindow::Entry::History, Action::BrowseHistory,
         [this] { openOrderHistory(&m_window, m_db, m_platform, orderHandOff()); });
    wire(MainWindow::Entry::Customers, Action::Customers, [this] {
        openCustomers(&m_window, m_db, m_platform, m_customerSearch,
                      [this](QWidget* over, const QString& telephone) {
                          openOrderHistory(over, m_db, m_platform, orderHandOff(), telephone);
                      });
    });
    wire(MainWindow::Entry::IncomeReport, Action::Reports,
         [this] { openIncomeReport(&m_window, m_db, m_platform, m_home); });
    wire(MainWindow::Entry::SalesStatistics, Action::Reports,
         [this] { openSalesStatistics(&m_window, m_db, m_platform, m_home); });
    wire(MainWindow::Entry::Staff, Action::Staff, [this] {
        openStaffWindow(&m_window, m_staff, m_platform);
        showStaffStatus();
    });
    wire(MainWindow::Entry::AuditRecord, Action::AuditRecord, [this] {
        openAuditWindow(&m_window, m_db, m_platform, m_staff);
        checkAuditChain();
    });
    QAction* lock = m_window.entry(MainWindow::Entry::Lock);
    lock->setEnabled(true);
    connect(lock, &QAction::triggered, this, &MainCommands::lockTill);
    QAction* drawer = m_window.entry(MainWindow::Entry::CashDrawer);
    drawer->setEnabled(true);
    connect(drawer, &QAction::triggered, this, [this] {
        const std::optional<Authorisation> who = m_staff.authorise(Action::OpenDrawer);
        if (!who)
            return;
        openCashDrawer(m_platform, loadPrinterChoice(RecordStore(m_db), TillFile(m_home.tillPath())));
        m_staff.record(*who, auditDrawerOpened);
    });
}

} // namespace qm
