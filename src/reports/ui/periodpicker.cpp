#include "reports/ui/periodpicker.h"

#include "core/datetimetext.h"
#include "core/ui/plainbutton.h"

#include <QComboBox>
#include <QDateEdit>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace qm {

namespace {

QComboBox* newList(const char* name, const QStringList& items, QWidget* parent) {
    auto* list = new QComboBox(parent);
    list->setObjectName(QString::fromUtf8(name));
    list->addItems(items);
    list->setMinimumWidth(90);
    return list;
}

QStringList numbers(int first, int last) {
    QStringList texts;
    for (int n = first; n <= last; ++n)
        texts << QString::number(n);
    return texts;
}

} // namespace

PeriodPicker::PeriodPicker(PickerKind kind, const QDate& today, Route route, QWidget* parent)
    : QDialog(parent)
    , m_kind(kind)
    , m_route(std::move(route)) {
    setObjectName(QStringLiteral("时间选择"));
    setWindowTitle(kind == PickerKind::Day ? QStringLiteral("请选择指定日期")
                                           : QStringLiteral("请选择指定时间段"));
    resize(380, 188);

    auto* hint = new QLabel(QStringLiteral("请选择生成报表的时间。"), this);
    hint->setObjectName(QStringLiteral("透明标签6"));
    auto* choices = new QHBoxLayout;
    choices->addStretch();
    if (kind == PickerKind::Day) {
        m_day = new QDateEdit(today, this);
        m_day->setObjectName(QStringLiteral("日期框1"));
        m_day->setCalendarPopup(true);
        m_day->setDisplayFormat(QStringLiteral("yyyy年M月d日"));
        choices->addWidget(m_day);
    } else {
        m_year = newList("组合框_年选择", pickerYears(today.year()), this);
        choices->addWidget(m_year);
        choices->addWidget(new QLabel(QStringLiteral("年"), this));
        if (kind != PickerKind::Year) {
            const bool quarter = kind == PickerKind::Quarter;
            m_part = newList("组合框_年选择1", numbers(1, quarter ? 4 : 12), this);
            m_part->setCurrentIndex(quarter ? 0 : today.month() - 1);
            choices->addSpacing(12);
            choices->addWidget(m_part);
            choices->addWidget(new QLabel(quarter ? QStringLiteral("季度") : QStringLiteral("月"), this));
        }
    }
    choices->addStretch();

    auto* confirmButton = new QPushButton(QStringLiteral("确认"), this);
    confirmButton->setObjectName(kind == PickerKind::Day ? QStringLiteral("按钮_确认")
                                                         : QStringLiteral("按钮2"));
    confirmButton->setDefault(true);
    QPushButton* cancelButton = plainButton(QStringLiteral("按钮_取消"), QStringLiteral("取消"), this);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(confirmButton);
    buttons->addWidget(cancelButton);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(20, 16, 20, 16);
    layout->addWidget(hint);
    layout->addStretch();
    layout->addLayout(choices);
    layout->addStretch();
    layout->addLayout(buttons);

    connect(confirmButton, &QPushButton::clicked, this, &PeriodPicker::confirm);
    connect(cancelButton, &QPushButton::clicked, this, &QDialog::reject);
}

PickedPeriod PeriodPicker::picked() const {
    PickedPeriod period;
    period.kind = m_kind;
    if (m_year)
        period.year = m_year->currentText();
    if (m_part)
        period.part = m_part->currentText();
    if (m_day)
        period.dayText = dateText(m_day->date());
    return period;
}

void PeriodPicker::confirm() {
    const PickedPeriod period = picked();
    if (m_route.closeFirst) {
        accept();
        m_route.confirm(period);
        return;
    }
    if (m_route.confirm(period)) {
        accept();
        return;
    }
    // The picker stays open after "no orders" was said: the cashier types the next period straight away.
    QWidget* field = m_year ? static_cast<QWidget*>(m_year) : m_day;
    activateWindow();
    field->setFocus(Qt::OtherFocusReason);
}

} // namespace qm
