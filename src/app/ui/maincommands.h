#pragma once

#include "core/ui/runmodal.h"

#include "history/orderhistory.h"
#include "order/kitchenprinting.h"
#include "order/settle.h"
#include "receipt/ui/receiptpreview.h"
#include "staff/staffsession.h"
#include "store/changewatch.h"

#include <QObject>

class QLabel;
class QTimer;

namespace qm {

class Database;
class Home;
class MainWindow;
class Platform;

// Connects the main window's commands and toolbar entries to what serves them: settling, printing and
// clearing, the docked preview, the print settings and the master-data windows.
class MainCommands : public QObject {
    Q_OBJECT
public:
    MainCommands(MainWindow& window, Database& db, Platform& platform, const Home& home);
    ~MainCommands() override;

    SettleCommands& settleCommands() { return m_settle; }
    KitchenPrinting& kitchen() { return m_kitchen; }
    ReceiptPreview& preview() { return m_preview; }
    StaffSession& staff() { return m_staff; }
    // What the order history needs to hand an order back to the form (also when the customer window
    // opens it on one customer).
    OrderHandOff orderHandOff();
    // With staff mode on: checks the record's chain and asks who works at this till; false when the
    // cashier left the program instead of signing in. With staff mode off: true, asking nothing.
    bool signInAtStart();
    // "锁屏/换班": signs out and covers the window until someone signs in (or the program is left).
    void lockTill();
    // "开店向导": opened over the window, each page shown at once in the preview. At start only for a new
    // home that never finished or skipped it (and not with --no-setup); returns the window when opened.
    class SetupWizard* openShopSetup(const RunModal& runModal = execModal);
    class SetupWizard* offerShopSetupAtStart(bool turnedOff);
    // After a restore replaced the database: staff mode as the restored data has it, the record's chain
    // checked, and with staff mode on someone signs in again (or the program is left).
    void databaseReplaced();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool printReceipt(bool singleCopy);
    void openPrintSettings(const Authorisation& who);
    void generateSampleData();
    void connectEntries();
    void showKitchenStatus(const QString& text);
    // Another till (or this one) changed shop data on the shared server: the form's figures, caches and
    // choice lists follow.
    void followOtherTills(SharedData what);
    void showStaffStatus();
    void checkAuditChain();
    void restartIdleTimer();

    MainWindow& m_window;
    Database& m_db;
    Platform& m_platform;
    const Home& m_home;
    SettleCommands m_settle;
    ReceiptPreview m_preview;
    KitchenPrinting m_kitchen;
    QLabel* m_kitchenStatus;
    StaffSession m_staff;
    QLabel* m_staffStatus;
    // "操作记录已被改动" in red, naming the first broken row, until the owner acknowledges it.
    QLabel* m_auditStatus;
    QTimer* m_idleTimer;
    ChangeWatch* m_otherTills;
    // The customer window's search lives as long as the program.
    QString m_customerSearch;
};

} // namespace qm
