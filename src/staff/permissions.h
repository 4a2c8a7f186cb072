#pragma once

#include <QList>
#include <QString>

#include <optional>

// Who may do what once staff mode is on: one table, action → the roles that may do it without asking.
namespace qm {

enum class Role { Owner, Manager, Cashier };

enum class Action {
    TakeOrder,     // take, settle and print orders
    Reprint,       // 打单(F11)
    BrowseHistory, // 历史单据
    ChangeSettled, // store the change of a settled order
    DeleteOrder,   // delete an order from the history
    OpenDrawer,    // 打开钱箱 without a sale
    LargeDiscount, // a discount above the set amount
    Reports,       // 收入报表, 销售统计
    DayClosing,    // 日结
    CsvExport,     // 导出
    Customers,     // 顾客管理
    AuditRecord,   // 操作记录
    Dishes,        // 商品管理
    Tables,        // 桌号管理
    NamedLists,    // 票头设置, 店名设置, 减免设置
    PrintSettings, // 打印设置
    Settings,      // 设置
    BackupRestore, // 备份数据…, 恢复数据…
    Staff,         // 员工与权限…
};

struct Permission {
    Action action;
    QString name; // as the staff window and the record of changes name it
    bool owner;
    bool manager;
    bool cashier;
};

// Every action, in the order the staff window lists them.
const QList<Permission>& permissionTable();
// True when `role` may do `action` without another person's PIN.
bool roleMay(Role role, Action action);
QString actionName(Action action);

// "店主", "店长", "收银员".
QString roleName(Role role);
std::optional<Role> roleFromName(const QString& name);

} // namespace qm
