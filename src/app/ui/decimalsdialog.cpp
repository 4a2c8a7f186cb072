#include "app/ui/decimalsdialog.h"

#include "app/displaysettings.h"
#include "core/platform.h"
#include "core/ui/plainbutton.h"
#include "store/database.h"
#include "store/settings.h"
#include "store/tillfile.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace qm {

DecimalsDialog::DecimalsDialog(Database& db, Platform& platform, int currentDecimals, const QString& tillFile,
                               std::optional<AuditEvent> event, QWidget* parent)
    : QDialog(parent)
    , m_db(db)
    , m_platform(platform)
    , m_tillFile(tillFile)
    , m_decimals(currentDecimals)
    , m_edit(new QLineEdit(QString::number(currentDecimals), this))
    , m_tillNameEdit(new QLineEdit(TillFile(tillFile).tillName(), this))
    , m_withoutAskingBox(new QCheckBox(QStringLiteral("数量默认 1，不再询问"), this))
    , m_withoutAsking(readQuantityWithoutAsking(RecordStore(db)))
    , m_telephoneTailBox(new QCheckBox(QStringLiteral("电话后四位查找顾客"), this))
    , m_telephoneTail(readTelephoneTail(RecordStore(db)))
    , m_event(std::move(event)) {
    setWindowTitle(QStringLiteral("设置"));
    resize(380, 300);
    m_edit->setObjectName(QStringLiteral("小数位数_编辑框"));
    m_withoutAskingBox->setObjectName(QStringLiteral("选择框_数量默认1"));
    m_withoutAskingBox->setChecked(m_withoutAsking);
    m_telephoneTailBox->setObjectName(QStringLiteral("选择框_电话后四位"));
    m_telephoneTailBox->setChecked(m_telephoneTail);
    m_telephoneTailBox->setToolTip(
        QStringLiteral("在电话框输入老顾客电话的后四位，即填出姓名和地址，离开电话框或结算时补全号码"));
    m_tillNameEdit->setObjectName(QStringLiteral("收银机名称_编辑框"));
    m_tillNameEdit->setMaxLength(40);
    auto* database = new QLabel(QStringLiteral("数据库：") + db.describe(), this);
    database->setObjectName(QStringLiteral("数据库_标签"));
    database->setWordWrap(true);
    database->setTextInteractionFlags(Qt::TextSelectableByMouse);

    QPushButton* apply = plainButton(QStringLiteral("按钮2"), QStringLiteral("应用设置"), this);
    auto* confirmButton = new QPushButton(QStringLiteral("确认"), this);
    confirmButton->setObjectName(QStringLiteral("确认"));
    confirmButton->setDefault(true);
    connect(confirmButton, &QPushButton::clicked, this, &DecimalsDialog::confirm);

    auto* row = new QHBoxLayout;
    row->addWidget(new QLabel(QStringLiteral("数量小数位数（0-3）："), this));
    row->addWidget(m_edit, 1);
    auto* tillRow = new QHBoxLayout;
    tillRow->addWidget(new QLabel(QStringLiteral("收银机名称："), this));
    tillRow->addWidget(m_tillNameEdit, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(apply);
    buttons->addWidget(confirmButton);
    auto* layout = new QVBoxLayout(this);
    layout->addStretch();
    layout->addLayout(row);
    layout->addWidget(m_withoutAskingBox);
    layout->addWidget(m_telephoneTailBox);
    layout->addLayout(tillRow);
    layout->addWidget(database);
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
    // An emptied name is the computer's host name again.
    const TillFile till(m_tillFile);
    const ShellSettings before{m_decimals, m_withoutAsking, m_telephoneTail, till.tillName()};
    if (!till.setTillName(m_tillNameEdit->text())) {
        m_platform.showMessage(QStringLiteral("无法写入 %1").arg(m_tillFile), MessageIcon::Stop);
        return;
    }
    m_db.setTillName(till.tillName());
    const ShellSettings after{*value, m_withoutAskingBox->isChecked(), m_telephoneTailBox->isChecked(),
                              till.tillName()};
    if (m_event)
        m_event->time = m_platform.now();
    if (!storeShellSettings(m_db, before, after, m_event)) {
        m_platform.showMessage(QStringLiteral("设置未能保存：") + m_db.lastError(), MessageIcon::Warning);
        return;
    }
    m_decimals = after.decimals;
    m_withoutAsking = after.withoutAsking;
    m_telephoneTail = after.telephoneTail;
    accept();
}

} // namespace qm
