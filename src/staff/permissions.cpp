#include "staff/permissions.h"

namespace qm {

const QList<Permission>& permissionTable() {
    static const QList<Permission> table = {
        {Action::TakeOrder, QStringLiteral("点单、结算、打印"), true, true, true},
        {Action::Reprint, QStringLiteral("重打小票(F11)"), true, true, true},
        {Action::BrowseHistory, QStringLiteral("浏览历史单据"), true, true, true},
        {Action::ChangeSettled, QStringLiteral("修改已结算订单"), true, true, false},
        {Action::DeleteOrder, QStringLiteral("删除订单"), true, true, false},
        {Action::OpenDrawer, QStringLiteral("无销售打开钱箱"), true, true, false},
        {Action::LargeDiscount, QStringLiteral("超额减免"), true, true, false},
        {Action::Reports, QStringLiteral("报表"), true, true, false},
        {Action::DayClosing, QStringLiteral("日结"), true, true, false},
        {Action::CsvExport, QStringLiteral("CSV导出"), true, true, false},
        {Action::Customers, QStringLiteral("顾客管理"), true, true, false},
        {Action::AuditRecord, QStringLiteral("操作记录"), true, true, false},
        {Action::Dishes, QStringLiteral("商品管理"), true, false, false},
        {Action::Tables, QStringLiteral("桌号管理"), true, false, false},
        {Action::NamedLists, QStringLiteral("票头、店名、减免设置"), true, false, false},
        {Action::PrintSettings, QStringLiteral("打印设置"), true, false, false},
        {Action::Settings, QStringLiteral("设置"), true, false, false},
        {Action::BackupRestore, QStringLiteral("备份与恢复"), true, false, false},
        {Action::Staff, QStringLiteral("员工与权限"), true, false, false},
    };
    return table;
}

namespace {
const Permission* find(Action action) {
    for (const Permission& p : permissionTable()) {
        if (p.action == action)
            return &p;
    }
    return nullptr;
}
} // namespace

bool roleMay(Role role, Action action) {
    const Permission* p = find(action);
    if (!p)
        return false;
    switch (role) {
    case Role::Owner:
        return p->owner;
    case Role::Manager:
        return p->manager;
    case Role::Cashier:
        return p->cashier;
    }
    return false;
}

QString actionName(Action action) {
    const Permission* p = find(action);
    return p ? p->name : QString();
}

QString roleName(Role role) {
    switch (role) {
    case Role::Owner:
        return QStringLiteral("店主");
    case Role::Manager:
        return QStringLiteral("店长");
    case Role::Cashier:
        return QStringLiteral("收银员");
    }
    return {};
}

std::optional<Role> roleFromName(const QString& name) {
    for (Role role : {Role::Owner, Role::Manager, Role::Cashier}) {
        if (roleName(role) == name)
            return role;
    }
    return std::nullopt;
}

} // namespace qm
