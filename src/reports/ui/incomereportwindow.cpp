#include "reports/ui/incomereportwindow.h"

#include "core/platform.h"
#include "core/ui/plainbutton.h"
#include "reports/chartcapability.h"
#include "reports/incomereport.h"
#include "reports/ui/dayclosing.h"
#include "reports/ui/periodpicker.h"
#include "reports/ui/reportbody.h"

#include <QMenuBar>
#include <QPushButton>

namespace qm {

IncomeReportWindow::IncomeReportWindow(Database& db, Platform& platform, const Home& home, RunModal runPicker,
                                       QWidget* parent)
    : QDialog(parent)
    , m_db(db)
    , m_platform(platform)
    , m_home(home)
    , m_runPicker(std::move(runPicker)) {
    setObjectName(QStringLiteral("收入报表"));
    setWindowTitle(QStringLiteral("收入报表"));
    resize(949, 728);

    auto* menuBar = new QMenuBar(this);
    QMenu* kinds = menuBar->addMenu(QStringLiteral("报表类型"));
    kinds->setObjectName(QStringLiteral("报表类型"));
    kinds->addAction(QStringLiteral("日报表"), this, [this] { pick(PickerKind::Day); });
    kinds->addSeparator();
    kinds->addAction(QStringLiteral("月报表"), this, [this] { pick(PickerKind::Month); });
    kinds->addSeparator();
    kinds->addAction(QStringLiteral("季度报表"), this, [this] { pick(PickerKind::Quarter); });
    kinds->addAction(QStringLiteral("年度报表"), this, [this] { pick(PickerKind::Year); });

    m_closingButton = plainButton(QStringLiteral("按钮_打印日结"), QStringLiteral("打印日结"), this);
    m_closingButton->hide();
    connect(m_closingButton, &QPushButton::clicked, this, &IncomeReportWindow::printClosing);
    m_body = std::make_unique<ReportBody>(this, menuBar, home, QList<QWidget*>{m_closingButton});

    checkChartSupport(platform);
    showYear(QString::number(platform.now().date().year()));
}

IncomeReportWindow::~IncomeReportWindow() = default;

bool IncomeReportWindow::showYear(const QString& year) {
    return present(yearReport(m_db, year));
}

bool IncomeReportWindow::showQuarter(const QString& year, const QString& quarter) {
    return present(quarterReport(m_db, year, quarter));
}

bool IncomeReportWindow::showMonth(const QString& year, const QString& month) {
    return present(monthReport(m_db, year, month));
}

bool IncomeReportWindow::showDay(const QString& day) {
    const bool found = present(dayReport(m_db, day));
    m_day = parseDayText(day);
    m_closingButton->setVisible(true);
    return found;
}

bool IncomeReportWindow::present(const ReportOutcome& outcome) {
    m_closingButton->setVisible(false);
    return m_body->present(outcome, m_platform);
}

void IncomeReportWindow::pick(PickerKind kind) {
    PeriodPicker::Route route;
    route.confirm = [this](const PickedPeriod& p) {
        switch (p.kind) {
        case PickerKind::Year:
            return showYear(p.year);
        case PickerKind::Quarter:
            return showQuarter(p.year, p.part);
        case PickerKind::Month:
            return showMonth(p.year, p.part);
        case PickerKind::Day:
            break;
        }
        return showDay(p.dayText);
    };
    PeriodPicker picker(kind, m_platform.now().date(), route, this);
    m_runPicker(picker);
}

void IncomeReportWindow::printClosing() {
    if (m_day.isValid())
        printDayClosing(this, m_db, m_platform, m_home, m_day);
}

} // namespace qm
