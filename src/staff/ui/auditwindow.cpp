#include "staff/ui/auditwindow.h"

#include "core/platform.h"
#include "history/ui/pagenavigator.h"
#include "staff/staffsession.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QTimer>
#include <QVBoxLayout>

namespace qm {

namespace {
const QString everyone = QStringLiteral("（全部）");
// The list cuts the before/after text to a line; the row opens it whole.
QString firstLine(const QString& text) {
    QString line = text.section(QLatin1Char('\n'), 0, 0);
    if (line.size() > 40 || line.size() < text.size())
        line = line.left(40) + QStringLiteral("…");
    return line;
}
} // namespace

AuditWindow::AuditWindow(const Database& db, Platform& platform, StaffSession& staff, QWidget* parent)
    : QDialog(parent)
    , m_db(db)
    , m_platform(platform)
    , m_staff(staff)
    , m_table(db)
    , m_browser(m_table)
    , m_navigator(new PageNavigator(m_browser, this))
    , m_byDay(new QCheckBox(QStringLiteral("按日期："), this))
    , m_from(new QDateEdit(this))
    , m_to(new QDateEdit(this))
    , m_person(new QComboBox(this))
    , m_action(new QComboBox(this))
    , m_list(new QTableWidget(0, int(auditColumnTitles.size()), this))
    , m_count(new QLabel(this))
    , m_tampered(new QLabel(this))
    , m_acknowledge(new QPushButton(QStringLiteral("店主确认"), this)) {
    setObjectName(QStringLiteral("操作记录"));
    setWindowTitle(QStringLiteral("操作记录"));
    resize(960, 600);
    const QDate today = platform.now().date();
    m_byDay->setObjectName(QStringLiteral("选择框_按日期"));
    for (QDateEdit* edit : {m_from, m_to}) {
        edit->setCalendarPopup(true);
        edit->setDisplayFormat(QStringLiteral("yyyy-MM-dd"));
        edit->setDate(today);
        edit->setEnabled(false);
    }
    m_from->setObjectName(QStringLiteral("日期_从"));
    m_to->setObjectName(QStringLiteral("日期_到"));
    m_person->setObjectName(QStringLiteral("筛选_人员"));
    m_person->addItem(everyone);
    for (const StaffRow& member : staff.members())
        m_person->addItem(member.name);
    m_action->setObjectName(QStringLiteral("筛选_操作"));
    m_action->addItem(everyone);
    m_action->addItems(auditActionNames());
    auto* search = new QPushButton(QStringLiteral("查询"), this);
    search->setObjectName(QStringLiteral("按钮_查询"));
    auto* exportButton = new QPushButton(QStringLiteral("导出"), this);
    exportButton->setObjectName(QStringLiteral("按钮_导出"));

    m_list->setObjectName(QStringLiteral("操作记录列表"));
    m_list->setHorizontalHeaderLabels(auditColumnTitles);
    m_list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_list->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    m_list->verticalHeader()->hide();
    m_list->horizontalHeader()->setStretchLastSection(true);
    m_count->setObjectName(QStringLiteral("操作记录_条数"));
    m_tampered->setObjectName(QStringLiteral("操作记录_改动"));
    m_tampered->setStyleSheet(QStringLiteral("color: #d00000; font-weight: bold;"));
    m_tampered->hide();
    m_acknowledge->setObjectName(QStringLiteral("按钮_确认改动"));
    m_acknowledge->hide();

    auto* filters = new QHBoxLayout;
    filters->addWidget(m_byDay);
    filters->addWidget(m_from);
    filters->addWidget(new QLabel(QStringLiteral("至"), this));
    filters->addWidget(m_to);
    filters->addWidget(new QLabel(QStringLiteral("人员："), this));
    filters->addWidget(m_person);
    filters->addWidget(new QLabel(QStringLiteral("操作："), this));
    filters->addWidget(m_action);
    filters->addWidget(search);
    filters->addStretch();
    filters->addWidget(exportButton);
    auto* tamperRow = new QHBoxLayout;
    tamperRow->addWidget(m_tampered, 1);
    tamperRow->addWidget(m_acknowledge);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(m_count);
    bottom->addWidget(m_navigator, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(tamperRow);
    layout->addLayout(filters);
    layout->addWidget(m_list, 1);
    layout->addLayout(bottom);

    connect(m_byDay, &QCheckBox::toggled, m_from, &QWidget::setEnabled);
    connect(m_byDay, &QCheckBox::toggled, m_to, &QWidget::setEnabled);
    connect(search, &QPushButton::clicked, this, &AuditWindow::applyFilter);
    connect(exportButton, &QPushButton::clicked, this, &AuditWindow::exportCsv);
    connect(m_acknowledge, &QPushButton::clicked, this, &AuditWindow::acknowledge);
    connect(m_list, &QTableWidget::cellDoubleClicked, this, [this](int row, int) { openRow(row); });
    connect(m_navigator, &PageNavigator::shown, this, &AuditWindow::present);
    // The newest rows first: the last page.
    m_navigator->showPage(lastPage);
    // The chain check reads every row; it runs once the window is on the screen, so opening stays quick.
    QTimer::singleShot(0, this, &AuditWindow::checkChain);
}

AuditWindow::~AuditWindow() = default;

void AuditWindow::applyFilter() {
    AuditFilter filter;
    if (m_byDay->isChecked()) {
        filter.first = std::min(m_from->date(), m_to->date());
        filter.last = std::max(m_from->date(), m_to->date());
    }
    if (m_person->currentText() != everyone)
        filter.person = m_person->currentText();
    if (m_action->currentText() != everyone)
        filter.action = m_action->currentText();
    m_table.setFilter(filter);
    m_navigator->showPage(lastPage);
}

void AuditWindow::present(const PageView& view) {
    if (!view.ok) {
        m_count->setText(QStringLiteral("无法读取操作记录：") + view.error);
        return;
    }
    m_count->setText(QStringLiteral("共 %1 条").arg(view.totals.count));
    if (!view.listShown)
        return;
    m_rows = view.rows;
    m_list->setRowCount(int(m_rows.size()));
    for (int row = 0; row < m_rows.size(); ++row) {
        const QVariantList& values = m_rows[row];
        for (int column = 0; column < values.size(); ++column) {
            const QString text = values[column].toString();
            m_list->setItem(row, column, new QTableWidgetItem(column >= 7 ? firstLine(text) : text));
        }
    }
}

void AuditWindow::openRow(int row) {
    if (row < 0 || row >= m_rows.size())
        return;
    const QVariantList& v = m_rows[row];
    AuditRow shown;
    shown.id = v.value(0).toLongLong();
    shown.event.time = QDateTime::fromString(v.value(1).toString(), QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    shown.event.person = v.value(2).toString();
    shown.event.authoriser = v.value(3).toString();
    shown.event.till = v.value(4).toString();
    shown.event.action = v.value(5).toString();
    shown.event.orderNumber = v.value(6).toInt();
    shown.event.before = v.value(7).toString();
    shown.event.after = v.value(8).toString();
    m_platform.showMessage(auditRowText(shown), MessageIcon::Information, QStringLiteral("操作记录"));
}

void AuditWindow::checkChain() {
    m_broken = m_staff.unacknowledgedBreak();
    const bool broken = m_broken.has_value();
    m_tampered->setText(
        broken ? QStringLiteral("%1：第一处改动在第%2条").arg(auditTamperedMessage).arg(*m_broken)
               : QString());
    m_tampered->setVisible(broken);
    const std::optional<Person> who = m_staff.current();
    m_acknowledge->setVisible(broken && who && who->role == Role::Owner);
}

void AuditWindow::acknowledge() {
    if (!m_broken)
        return;
    if (!m_platform.askYesNoDefaultNo(
            QStringLiteral("确认已知晓操作记录被改动（第一处在第%1条）？此确认本身也会被记录。")
                .arg(*m_broken),
            MessageIcon::Warning, QStringLiteral("操作记录")))
        return;
    if (!m_staff.acknowledgeTampering(*m_broken))
        m_platform.showMessage(QStringLiteral("只有店主可以确认。"), MessageIcon::Warning,
                               QStringLiteral("操作记录"));
    checkChain();
    m_navigator->refresh();
}

void AuditWindow::exportCsv() {
    const std::optional<Authorisation> who = m_staff.authorise(Action::CsvExport);
    if (!who)
        return;
    const QString path = m_platform.saveFileName(
        QStringLiteral("导出操作记录"), QStringLiteral("CSV 文件 (*.csv)"), QStringLiteral("操作记录.csv"));
    if (path.isEmpty())
        return;
    const CsvExportResult result = exportAuditCsv(m_db, m_table.filter(), path);
    if (result.status != CsvExportResult::Status::Written) {
        m_platform.showMessage(QStringLiteral("导出失败：") + result.error, MessageIcon::Warning);
        return;
    }
    m_staff.record(*who, QStringLiteral("CSV导出"), QStringLiteral("操作记录：") + path);
    m_platform.showMessage(QStringLiteral("导出完成。"), MessageIcon::Information);
    m_navigator->refresh();
}

void openAuditWindow(QWidget* parent, const Database& db, Platform& platform, StaffSession& staff) {
    AuditWindow window(db, platform, staff, parent);
    window.exec();
}

} // namespace qm
