#include "staff/ui/staffwindow.h"

#include "core/platform.h"
#include "staff/staffsession.h"

#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QVBoxLayout>

namespace qm {

namespace {

const QString staffTitle = QStringLiteral("员工与权限");

QTableWidget* newTable(QWidget* parent, const char* name, const QStringList& headers) {
    auto* table = new QTableWidget(0, int(headers.size()), parent);
    table->setObjectName(QString::fromUtf8(name));
    table->setHorizontalHeaderLabels(headers);
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->setSelectionMode(QAbstractItemView::SingleSelection);
    table->verticalHeader()->hide();
    table->horizontalHeader()->setStretchLastSection(true);
    return table;
}

void setRow(QTableWidget* table, int row, const QStringList& cells) {
    for (int column = 0; column < cells.size(); ++column)
        table->setItem(row, column, new QTableWidgetItem(cells[column]));
}

} // namespace

StaffWindow::StaffWindow(StaffSession& staff, Platform& platform, QWidget* parent)
    : QDialog(parent)
    , m_staff(staff)
    , m_platform(platform)
    , m_modeLabel(new QLabel(this))
    , m_modeButton(new QPushButton(this))
    , m_members(newTable(this, "员工列表", {QStringLiteral("姓名"), QStringLiteral("角色")}))
    , m_name(new QLineEdit(this))
    , m_role(new QComboBox(this))
    , m_save(new QPushButton(QStringLiteral("保存员工"), this))
    , m_remove(new QPushButton(QStringLiteral("删除员工"), this))
    , m_idle(new QSpinBox(this)) {
    setObjectName(staffTitle);
    setWindowTitle(staffTitle);
    resize(720, 520);
    m_modeLabel->setObjectName(QStringLiteral("员工模式_状态"));
    m_modeButton->setObjectName(QStringLiteral("按钮_员工模式"));
    m_name->setObjectName(QStringLiteral("员工_姓名"));
    m_name->setMaxLength(20);
    m_role->setObjectName(QStringLiteral("员工_角色"));
    for (Role role : {Role::Cashier, Role::Manager, Role::Owner})
        m_role->addItem(roleName(role), int(role));
    m_save->setObjectName(QStringLiteral("按钮_保存员工"));
    m_remove->setObjectName(QStringLiteral("按钮_删除员工"));
    m_idle->setObjectName(QStringLiteral("空闲锁屏"));
    m_idle->setRange(0, 240);
    m_idle->setSuffix(QStringLiteral(" 分钟"));
    m_idle->setSpecialValueText(QStringLiteral("不锁屏"));
    auto* idleSave = new QPushButton(QStringLiteral("保存"), this);
    idleSave->setObjectName(QStringLiteral("按钮_保存空闲锁屏"));

    // The permission table: what each role may do outright, and what needs a 店长's or 店主's PIN.
    auto* permissions = newTable(
        this, "权限表",
        {QStringLiteral("操作"), roleName(Role::Owner), roleName(Role::Manager), roleName(Role::Cashier)});
    permissions->setSelectionMode(QAbstractItemView::NoSelection);
    permissions->setRowCount(int(permissionTable().size()));
    auto mark = [](bool may) { return may ? QStringLiteral("✓") : QStringLiteral("需授权"); };
    for (int row = 0; row < permissionTable().size(); ++row) {
        const Permission& p = permissionTable()[row];
        setRow(permissions, row, {p.name, mark(p.owner), mark(p.manager), mark(p.cashier)});
    }
    permissions->resizeColumnsToContents();

    auto* modeRow = new QHBoxLayout;
    modeRow->addWidget(m_modeLabel, 1);
    modeRow->addWidget(m_modeButton);

    auto* edit = new QFormLayout;
    edit->addRow(QStringLiteral("姓名："), m_name);
    edit->addRow(QStringLiteral("角色："), m_role);
    auto* editButtons = new QHBoxLayout;
    editButtons->addWidget(m_save);
    editButtons->addWidget(m_remove);
    auto* idleRow = new QHBoxLayout;
    idleRow->addWidget(m_idle, 1);
    idleRow->addWidget(idleSave);
    edit->addRow(QStringLiteral("空闲锁屏："), idleRow);
    auto* staffColumn = new QVBoxLayout;
    staffColumn->addWidget(m_members, 1);
    staffColumn->addLayout(edit);
    staffColumn->addLayout(editButtons);
    auto* staffBox = new QGroupBox(QStringLiteral("员工"), this);
    staffBox->setLayout(staffColumn);
    auto* permissionColumn = new QVBoxLayout;
    permissionColumn->addWidget(permissions);
    auto* permissionBox = new QGroupBox(QStringLiteral("权限（只读）"), this);
    permissionBox->setLayout(permissionColumn);
    auto* columns = new QHBoxLayout;
    columns->addWidget(staffBox, 1);
    columns->addWidget(permissionBox, 1);
    auto* close = new QPushButton(QStringLiteral("关闭"), this);
    close->setObjectName(QStringLiteral("按钮_关闭"));
    auto* closeRow = new QHBoxLayout;
    closeRow->addStretch();
    closeRow->addWidget(close);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(modeRow);
    layout->addLayout(columns, 1);
    layout->addLayout(closeRow);

    connect(m_modeButton, &QPushButton::clicked, this, &StaffWindow::toggleMode);
    connect(m_save, &QPushButton::clicked, this, &StaffWindow::saveMember);
    connect(m_remove, &QPushButton::clicked, this, &StaffWindow::removeMember);
    connect(idleSave, &QPushButton::clicked, this, &StaffWindow::saveIdleLock);
    connect(m_members, &QTableWidget::itemSelectionChanged, this, &StaffWindow::pickMember);
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
    refresh();
}

void StaffWindow::refresh() {
    const bool on = m_staff.enabled();
    m_modeLabel->setText(on ? QStringLiteral("员工模式：已开启")
                            : QStringLiteral("员工模式：未开启（不需登录）"));
    m_modeButton->setText(on ? QStringLiteral("关闭员工模式…") : QStringLiteral("开启员工模式…"));
    const QList<StaffRow> members = on ? m_staff.members() : QList<StaffRow>();
    m_members->setRowCount(int(members.size()));
    for (int row = 0; row < members.size(); ++row)
        setRow(m_members, row, {members[row].name, members[row].role});
    for (QWidget* w : std::initializer_list<QWidget*>{m_members, m_name, m_role, m_save, m_remove, m_idle})
        w->setEnabled(on);
    m_idle->setValue(m_staff.idleLockMinutes());
}

std::optional<QString> StaffWindow::askNewSecret(const QString& title, const QString& what) {
    const std::optional<QString> first = m_platform.askSecret(title, QStringLiteral("请输入%1：").arg(what));
    if (!first)
        return std::nullopt;
    const std::optional<QString> second =
        m_platform.askSecret(title, QStringLiteral("请再次输入%1：").arg(what));
    if (!second)
        return std::nullopt;
    if (*first != *second) {
        m_platform.showMessage(QStringLiteral("两次输入的%1不一致。").arg(what), MessageIcon::Warning, title);
        return std::nullopt;
    }
    return first;
}

void StaffWindow::toggleMode() {
    if (m_staff.enabled()) {
        const std::optional<QString> password =
            m_platform.askSecret(QStringLiteral("关闭员工模式"), QStringLiteral("请输入店主密码："));
        if (!password)
            return;
        if (const QString error = m_staff.disable(*password); !error.isEmpty())
            m_platform.showMessage(error, MessageIcon::Warning, QStringLiteral("关闭员工模式"));
        refresh();
        return;
    }
    const QString title = QStringLiteral("开启员工模式");
    const std::optional<QString> name = m_platform.askText(title, QStringLiteral("店主姓名："), {}, false);
    if (!name || name->trimmed().isEmpty())
        return;
    const std::optional<QString> password = askNewSecret(title, QStringLiteral("店主密码（至少8个字符）"));
    if (!password)
        return;
    if (const QString error = m_staff.enable(*name, *password); !error.isEmpty())
        m_platform.showMessage(error, MessageIcon::Warning, title);
    refresh();
}

void StaffWindow::pickMember() {
    const int row = m_members->currentRow();
    if (row < 0 || !m_members->item(row, 0))
        return;
    m_name->setText(m_members->item(row, 0)->text());
    m_role->setCurrentText(m_members->item(row, 1)->text());
}

void StaffWindow::saveMember() {
    const QString title = QStringLiteral("保存员工");
    const QString name = m_name->text().trimmed();
    if (name.isEmpty()) {
        m_platform.showMessage(QStringLiteral("请输入员工姓名。"), MessageIcon::Information, title);
        return;
    }
    const Role role = Role(m_role->currentData().toInt());
    const std::optional<QString> secret =
        askNewSecret(title, role == Role::Owner ? QStringLiteral("店主密码（至少8个字符）")
                                                : QStringLiteral("PIN（4到8位数字）"));
    if (!secret)
        return;
    if (const QString error = m_staff.saveMember(name, role, *secret); !error.isEmpty())
        m_platform.showMessage(error, MessageIcon::Warning, title);
    refresh();
}

void StaffWindow::removeMember() {
    const QString name = m_name->text().trimmed();
    if (name.isEmpty())
        return;
    if (!m_platform.askYesNoDefaultNo(QStringLiteral("删除员工“%1”？").arg(name), MessageIcon::Question,
                                      QStringLiteral("删除员工")))
        return;
    if (const QString error = m_staff.removeMember(name); !error.isEmpty())
        m_platform.showMessage(error, MessageIcon::Warning, QStringLiteral("删除员工"));
    else
        m_name->clear();
    refresh();
}

void StaffWindow::saveIdleLock() {
    if (const QString error = m_staff.setIdleLockMinutes(m_idle->value()); !error.isEmpty())
        m_platform.showMessage(error, MessageIcon::Warning, QStringLiteral("空闲锁屏"));
}

void openStaffWindow(QWidget* parent, StaffSession& staff, Platform& platform) {
    StaffWindow window(staff, platform, parent);
    window.exec();
}

} // namespace qm
