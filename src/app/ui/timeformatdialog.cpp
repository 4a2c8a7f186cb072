#include "app/ui/timeformatdialog.h"

#include "app/displaysettings.h"
#include "core/datetimetext.h"
#include "store/settings.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

namespace qm {

TimeFormatDialog::TimeFormatDialog(const Database& db, int currentFormat, QWidget* parent)
    : QDialog(parent)
    , m_db(db)
    , m_format(normalizedTimeFormat(currentFormat)) {
    setWindowTitle(QStringLiteral("选择时间格式"));
    resize(340, 238);

    auto* layout = new QVBoxLayout(this);
    layout->addStretch();
    const QStringList captions = timeFormatCaptions();
    for (int format = 0; format < captions.size(); ++format) {
        auto* box = new QCheckBox(captions[format], this);
        box->setObjectName(QStringLiteral("选择框%1").arg(format + 1));
        box->setChecked(format == m_format);
        connect(box, &QCheckBox::clicked, this, [this, format] { choose(format); });
        layout->addWidget(box);
        m_boxes << box;
    }
    layout->addStretch();

    auto* ok = new QPushButton(QStringLiteral("确定"), this);
    ok->setObjectName(QStringLiteral("按钮2"));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    layout->addLayout(buttons);
}

void TimeFormatDialog::choose(int format) {
    // A click on the checked box keeps it checked: one of the three is always chosen.
    for (int i = 0; i < m_boxes.size(); ++i)
        m_boxes[i]->setChecked(i == format);
    m_format = format;
    writeTimeFormat(RecordStore(m_db), format);
    emit timeFormatChanged(format);
}

} // namespace qm
