#include "reports/ui/salesstatisticswindow.h"

#include "core/platform.h"
#include "reports/chartcapability.h"
#include "reports/ui/periodpicker.h"
#include "reports/ui/reportbody.h"
#include "store/reportstore.h"

#include <QComboBox>
#include <QEvent>
#include <QLabel>
#include <QMenuBar>

namespace qm {

SalesStatisticsWindow::SalesStatisticsWindow(Database& db, Platform& platform, const Home& home,
                                             SalesState& state, RunModal runPicker, QWidget* parent)
    : QDialog(parent)
    , m_db(db)
    , m_platform(platform)
    , m_state(state)
    , m_runPicker(std::move(runPicker)) {
    setObjectName(QStringLiteral("销售统计"));
    setWindowTitle(QStringLiteral("销售统计"));
    resize(949, 728);

    auto* menuBar = new QMenuBar(this);
    QMenu* kinds = menuBar->addMenu(QStringLiteral("统计方式"));
    kinds->setObjectName(QStringLiteral("统计方式"));
    kinds->addAction(QStringLiteral("日销售统计"), this, [this] { pick(PickerKind::Day); });
    kinds->addSeparator();
    kinds->addAction(QStringLiteral("月销售统计"), this, [this] { pick(PickerKind::Month); });
    kinds->addSeparator();
    kinds->addAction(QStringLiteral("年度销售统计"), this, [this] { pick(PickerKind::Year); });

    auto* typeLabel = new QLabel(QStringLiteral("统计类型："), this);
    typeLabel->setObjectName(QStringLiteral("透明标签2"));
    m_type = new QComboBox(this);
    m_type->setObjectName(QStringLiteral("组合框_票头"));
    m_type->setFixedWidth(200);
    m_type->setMaxVisibleItems(20);
    m_type->installEventFilter(this);
    m_body = std::make_unique<ReportBody>(this, menuBar, home, QList<QWidget*>{typeLabel, m_type});

    checkChartSupport(platform);
    m_state.dish.clear();
    m_type->addItem(allDishesText);
    // The window opens on the yearly statistic whatever kind ran last; the kind itself is kept.
    const SalesKind kept = m_state.kind;
    showStatistic(SalesKind::Year, QString::number(platform.now().date().year()));
    m_state.kind = kept;
    m_type->addItems(dishNames(db));
    connect(m_type, &QComboBox::currentIndexChanged, this, &SalesStatisticsWindow::chooseType);
}

SalesStatisticsWindow::~SalesStatisticsWindow() = default;

bool SalesStatisticsWindow::showStatistic(SalesKind kind, const QString& period) {
    m_state.kind = kind;
    const ReportOutcome outcome = salesStatistic(m_db, m_state, kind, period, m_type->currentText());
    return m_body->present(outcome, m_platform);
}

bool SalesStatisticsWindow::eventFilter(QObject* watched, QEvent* event) {
    // Turning the wheel over the type list would change the dish and rerun the statistic.
    if (watched == m_type && event->type() == QEvent::Wheel)
        return true;
    return QDialog::eventFilter(watched, event);
}

void SalesStatisticsWindow::pick(PickerKind kind) {
    PeriodPicker::Route route;
    route.closeFirst = true;
    route.confirm = [this](const PickedPeriod& p) {
        switch (p.kind) {
        case PickerKind::Year:
            return showStatistic(SalesKind::Year, p.year);
        case PickerKind::Month:
            return showStatistic(SalesKind::Month, monthPeriodText(p.year, p.part));
        case PickerKind::Day:
            return showStatistic(SalesKind::Day, p.dayText);
        case PickerKind::Quarter:
            break;
        }
        return false;
    };
    PeriodPicker picker(kind, m_platform.now().date(), route, this);
    m_runPicker(picker);
}

void SalesStatisticsWindow::chooseType() {
    m_state.dish = dishOfType(m_type->currentText());
    showStatistic(m_state.kind, QString());
}

} // namespace qm
