#pragma once

#include "order/orderfields.h"

#include <QHash>
#include <QMainWindow>

#include <initializer_list>

class QAction;
class QFormLayout;
class QGroupBox;
class QLabel;
class QPushButton;
class QTimer;

namespace qm {

class Database;
class FormBinder;
class Home;
class LinesGrid;
class OrderForm;
class Platform;
class StaffSession;

// The main window: the order form's controls, the toolbar with its two menus, the status line with
// today's count and income, and the one-second clock. Its rules live in OrderForm; this class places the
// controls and wires them up.
class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    // The toolbar and menu entries whose windows are opened by others. Each starts disabled; whoever
    // provides the window enables the entry and connects its triggered() signal.
    enum class Entry {
        History,         // "历史单据"
        IncomeReport,    // "收入报表"
        SalesStatistics, // "销售统计"
        Customers,       // "顾客管理"
        Dishes,          // "商品管理"
        Tables,          // "桌号管理"
        TicketHeaders,   // "票头设置"
        ShopNames,       // "店名设置"
        Discounts,       // "减免设置"
        Stations,        // "出品部门设置"
        PrintSettings,   // "打印设置"
        CashDrawer,      // "打开钱箱"
        BackupData,      // "备份数据…"
        RestoreData,     // "恢复数据…"
        Staff,           // "员工与权限…"
        AuditRecord,     // "操作记录"
        Lock,            // "锁屏/换班(Ctrl+L)"
        ShopSetup,       // "开店向导…"
    };

    // Runs the start-up steps of the form: choice lists, table codes, saved choices, today's totals and
    // the next order number, the grid, the dish cache.
    MainWindow(Database& db, Platform& platform, const Home& home, int quantityDecimals,
               QWidget* parent = nullptr);
    ~MainWindow() override;

    OrderForm& orderForm() const { return *m_form; }
    // Staff mode: "设置" asks whether the person signed in may change the settings, and records a change.
    void setStaff(StaffSession* staff) { m_staff = staff; }
    QAction* entry(Entry which) const;

    // F1..F12 as the main window's function keys act on them.
    void functionKey(int qtKey);
    // One beat of the clock: blinks the help links, rolls over at midnight, shows the order time.
    void tick();

signals:
    // The commands whose work is done by others: F10/"清空(F10)", F11/"打单(F11)", F12/"打单结算(F12)",
    // "生成销售随机数据", "预览". Nothing happens until they are connected.
    void clearRequested();
    void printOnlyRequested();
    void settleRequested();
    void sampleDataRequested();
    void previewToggleRequested();
    // The window moved (the docked preview follows it).
    void moved();

protected:
    void closeEvent(QCloseEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // One labelled control of the form: an edit box, or a drop-down list for a choice field.
    struct FieldRow {
        const char* label;
        const char* name; // the control's objectName
        OrderField field;
    };
    // Adds the rows' controls to `form`, each tied to its order field.
    void addFieldRows(QFormLayout* form, QWidget* parent, std::initializer_list<FieldRow> rows);
    // A group box holding the rows' controls under their labels.
    QGroupBox* newFieldGroup(const QString& caption, QWidget* parent, std::initializer_list<FieldRow> rows);
    QWidget* buildForm();
    QWidget* buildLeftColumn();
    QWidget* buildRightColumn();
    QWidget* buildCommandRow();
    void buildToolBar();
    void buildStatusBar();
    void startUp();
    void showTotals();
    void showMode();
    void chooseTimeFormat();
    void chooseQuantityDecimals();
    void showAbout();

    Database& m_db;
    Platform& m_platform;
    StaffSession* m_staff = nullptr;
    const Home& m_home;
    OrderForm* m_form;
    FormBinder* m_binder;
    LinesGrid* m_grid = nullptr;
    QPushButton* m_settleButton = nullptr;
    QLabel* m_usageLink = nullptr;
    QLabel* m_printingLink = nullptr;
    QLabel* m_countStatus = nullptr;
    QLabel* m_incomeStatus = nullptr;
    QLabel* m_noticeStatus = nullptr;
    QTimer* m_clock = nullptr;
    QHash<Entry, QAction*> m_entries;
    bool m_linksYellow = false;
};

} // namespace qm
