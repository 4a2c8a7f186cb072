#include "app/ui/maincommands.h"

#include "app/ui/mainwindow.h"
#include "catalog/ui/catalogwindows.h"
#include "core/home.h"
#include "core/numtext.h"
#include "history/ui/historywindow.h"
#include "order/orderform.h"
#include "receipt/printing.h"
#include "receipt/receiptcontent.h"
#include "receipt/ui/printsettingswindow.h"
#include "store/settings.h"

#include <QAction>

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
          [this](int qtKey) { m_window.functionKey(qtKey); }) {
    connect(&window, &MainWindow::settleRequested, this, [this] { m_settle.settle(); });
    connect(&window, &MainWindow::printOnlyRequested, this, [this] { m_settle.printOnly(); });
    connect(&window, &MainWindow::clearRequested, this, [this] { m_settle.clearForm(); });
    connect(&window, &MainWindow::previewToggleRequested, &m_preview, &ReceiptPreview::toggle);
    connect(&window.orderForm(), &OrderForm::previewRefreshRequested, &m_preview, &ReceiptPreview::refresh);
    connectEntries();
}

MainCommands::~MainCommands() = default;

bool MainCommands::printReceipt(bool singleCopy) {
    const ReceiptContent content = receiptContentFrom(m_window.orderForm().values());
    return qm::printReceipt(m_platform, RecordStore(m_db), ConfigFile(m_home.configPath()), m_home, content,
                            singleCopy);
}

void MainCommands::openPrintSettings() {
    m_preview.open();
    qm::openPrintSettings(&m_window, m_db, m_platform, m_home, [this] { m_preview.refresh(); });
}

OrderHandOff MainCommands::orderHandOff() {
    return {
        [this] {
            const OrderForm& form = m_window.orderForm();
            return form.hasLines() || !trimBlanks(form.text(OrderField::Telephone)).isEmpty();
        },
        [this](const QString& id, const QString& dateText) { return m_settle.openForChange(id, dateText); },
        [this] { m_preview.refresh(); }};
}

void MainCommands::connectEntries() {
    auto wire = [this](MainWindow::Entry entry, auto&& open) {
        QAction* action = m_window.entry(entry);
        action->setEnabled(true);
        connect(action, &QAction::triggered, this, open);
    };
    wire(MainWindow::Entry::Dishes, [this] {
        openDishCatalog(&m_window, m_db, m_platform);
        m_window.orderForm().loadDishCache();
    });
    wire(MainWindow::Entry::Tables, [this] {
        openTableCodes(&m_window, m_db, m_platform);
        m_window.orderForm().loadTableCodes();
    });
    wire(MainWindow::Entry::TicketHeaders,
         [this] { openNamedList(NamedList::TicketHeaders, &m_window, m_db, m_platform); });
    wire(MainWindow::Entry::ShopNames,
         [this] { openNamedList(NamedList::ShopNames, &m_window, m_db, m_platform); });
    wire(MainWindow::Entry::Discounts,
         [this] { openNamedList(NamedList::Discounts, &m_window, m_db, m_platform); });
    wire(MainWindow::Entry::PrintSettings, [this] { openPrintSettings(); });
    wire(MainWindow::Entry::History,
         [this] { openOrderHistory(&m_window, m_db, m_platform, orderHandOff()); });
}

} // namespace qm
