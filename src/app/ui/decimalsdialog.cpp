#include "app/ui/decimalsdialog.h"

#include "app/displaysettings.h"
#include "core/platform.h"
#include "core/ui/plainbutton.h"
#include "store/settings.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace qm {

DecimalsDialog::DecimalsDialog(const Database& db, Platform& platform, int currentDecimals, QWidget* parent)
    : QDialog(parent)
    , m_db(db)
    , m_platform(platform)
    , m_decimals(currentDecimals)
    , m_edit(new QLineEdit(QString::number(currentDecimals), this))
    , m_withoutAskingBox(new QCheckBox(QStringLiteral("数量默认 1，不再询问"), this))
    , m_withoutAsking(readQuantityWithoutAsking(RecordStore(db))) {
    setWindowTitle(QStringLiteral("设置"));
    resize(340, 238);
    m_edit->setObjectName(QStringLiteral("小数位数_编辑框"));
    m_withoutAskingBox->setObjectName(QStringLiteral("选择框_数量默认1"));
    m_withoutAskingBox->setChecked(m_withoutAsking);

    QPushButton* apply = plainButton(QStringLiteral("按钮2"), QStringLiteral("应用设置"), this);
    auto* confirmButton = new QPushButton(QStringLiteral("确认"), this);
    confirmButton->setObjectName(QStringLiteral("确认"));
    confirmButton->setDefault(true);
    connect(confirmButton, &QPushButton::clicked, this, &DecimalsDialog::confirm);

    auto* row = new QHBoxLayout;
    row->addWidget(new QLabel(QStringLiteral("数量小数位数（0-3）："), this));
    row->addWidget(m_edit, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(apply);
    buttons->addWidget(confirmButton);
    auto* layout = new QVBoxLayout(this);
    layout->addStretch();
    layout->addLayout(row);
    layout->addWidget(m_withoutAskingBox);
    layout->addStretch();
    layout->addLayout(buttons);

    m_edit->setFocus();
    m_edit->selectAll();
}

void DecimalsDialog::confirm() {
    const std::optional<int> value = quantityDecimalsFromText(m_edit->text());
    if (!value) {
        m_edit->setFocus();
        m_edit->selectAll();
        m_platform.showMessage(quantityDecimalsRangeMessage, MessageIcon::Information,
                               QStringLiteral("提示"));
        return;
    }
    m_decimals = *value;
    writeQuantityDecimals(RecordStore(m_db), m_decimals);
    m_withoutAsking = m_withoutAskingBox->isChecked();
    writeQuantityWithoutAsking(RecordStore(m_db), m_withoutAsking);
    accept();
}

} // namespace qm
