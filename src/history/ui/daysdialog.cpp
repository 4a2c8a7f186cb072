#include "history/ui/daysdialog.h"

#include "core/platform.h"

#include <QDateEdit>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

namespace qm {

namespace {

QDateEdit* dayPicker(const char* name, QDate today, QWidget* parent) {
    auto* picker = new QDateEdit(today, parent);
    picker->setObjectName(QString::fromUtf8(name));
    picker->setCalendarPopup(true);
    picker->setDisplayFormat(QStringLiteral("yyyy年M月d日"));
    picker->setMinimumWidth(180);
    return picker;
}

} // namespace

DaysDialog::DaysDialog(Mode mode, Platform& platform, const std::function<void(QDate, QDate)>& apply,
                       QWidget* parent)
    : QDialog(parent)
    , m_mode(mode)
    , m_platform(platform)
    , m_apply(apply) {
    const QString name =
        mode == Mode::Day ? QStringLiteral("请选择指定时间") : QStringLiteral("请选择指定时间段");
    setObjectName(name);
    setWindowTitle(name);
    resize(380, 250);
    const QDate today = platform.now().date();
    auto* form = new QFormLayout;
    form->setFormAlignment(Qt::AlignHCenter | Qt::AlignVCenter);
    m_first = dayPicker("日期框1", today, this);
    if (mode == Mode::Day) {
        form->addRow(m_first);
    } else {
        m_last = dayPicker("日期框2", today, this);
        form->addRow(QStringLiteral("从"), m_first);
        form->addRow(QStringLiteral("到"), m_last);
    }
    auto* confirmButton = new QPushButton(QStringLiteral("确认"), this);
    confirmButton->setObjectName(QStringLiteral("按钮2"));
    confirmButton->setDefault(true);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(confirmButton);
    buttons->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->addStretch();
    layout->addLayout(form);
    layout->addStretch();
    layout->addLayout(buttons);
    connect(confirmButton, &QPushButton::clicked, this, &DaysDialog::confirm);
}

void DaysDialog::confirm() {
    const QDate first = m_first->date();
    const QDate last = m_last ? m_last->date() : first;
    if (first > last) {
        m_platform.showMessage(QStringLiteral("起始日期不能大于结束日期。"), MessageIcon::Information,
                               QStringLiteral("提示"));
        return;
    }
    m_apply(first, last);
    accept();
}

} // namespace qm
