#include "catalog/ui/customerdialog.h"

#include "catalog/ui/editbuttons.h"
#include "core/gbk.h"
#include "core/platform.h"
#include "core/ui/gbklimitvalidator.h"

#include <algorithm>

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTimer>
#include <QVBoxLayout>

namespace qm {

CustomerDialog::CustomerDialog(Mode mode, CustomerActions& actions, const StoredCustomer& shown,
                               std::function<void(const CustomerOutcome&)> follow, Platform& platform,
                               QWidget* parent)
    : QDialog(parent)
    , m_mode(mode)
    , m_actions(actions)
    , m_follow(std::move(follow))
    , m_platform(platform) {
    const QString title = mode == Mode::Add ? QStringLiteral("客户添加") : QStringLiteral("客户修改");
    setObjectName(title);
    setWindowTitle(title);
    resize(380, 251);

    m_telephoneEdit = new QLineEdit(this);
    m_telephoneEdit->setObjectName(QStringLiteral("编辑框3"));
    limitGbkBytes(m_telephoneEdit, 16);
    m_nameEdit = new QLineEdit(this);
    m_nameEdit->setObjectName(QStringLiteral("编辑框2"));
    limitGbkBytes(m_nameEdit, 16);
    m_addressEdit = new QPlainTextEdit(this);
    m_addressEdit->setObjectName(QStringLiteral("编辑框1"));
    m_addressEdit->setTabChangesFocus(true);
    m_addressEdit->setMinimumSize(200, 88);
    connect(m_addressEdit, &QPlainTextEdit::textChanged, this, &CustomerDialog::limitAddress);
    QPushButton* okButton = addOrModifyButton(mode == Mode::Add, this);

    auto* form = new QFormLayout;
    form->setFieldGrowthPolicy(QFormLayout::AllNonFixedFieldsGrow);
    form->addRow(QStringLiteral("客户电话："), m_telephoneEdit);
    form->addRow(QStringLiteral("客户姓名："), m_nameEdit);
    form->addRow(QStringLiteral("客户地址："), m_addressEdit);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(okButton);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(24, 18, 24, 14);
    layout->addLayout(form, 1);
    layout->addLayout(buttons);

    connect(okButton, &QPushButton::clicked, this, &CustomerDialog::submit);

    m_telephoneEdit->setText(shown.telephone);
    m_nameEdit->setText(shown.name);
    setAddress(shown.address);
    if (mode == Mode::Modify)
        m_nameEdit->setFocus();
    else
        m_telephoneEdit->setFocus();
}

void CustomerDialog::submit() {
    const StoredCustomer typed{m_telephoneEdit->text(), m_nameEdit->text(), m_addressEdit->toPlainText()};
    const CustomerOutcome outcome = m_mode == Mode::Add ? m_actions.add(typed) : m_actions.saveChange(typed);
    switch (outcome.kind) {
    case CustomerOutcome::Kind::Updated:
        m_follow(outcome);
        accept();
        break;
    case CustomerOutcome::Kind::Inserted:
        m_follow(outcome);
        m_telephoneEdit->clear();
        m_nameEdit->clear();
        setAddress(QString());
        m_telephoneEdit->setFocus();
        break;
    default:
        return;
    }
    m_platform.showMessage(outcome.message, MessageIcon::None);
}

void CustomerDialog::setAddress(const QString& text) {
    m_acceptedAddress = text;
    m_addressEdit->setPlainText(text);
}

void CustomerDialog::limitAddress() {
    const QString text = m_addressEdit->toPlainText();
    if (gbkLength(text) <= addressBytes) {
        m_acceptedAddress = text;
        return;
    }
    // Typing or pasting past the limit is undone, as an edit box's byte limit refuses it.
    const qsizetype position =
        m_addressEdit->textCursor().position() - (text.size() - m_acceptedAddress.size());
    const QSignalBlocker blocker(m_addressEdit);
    m_addressEdit->setPlainText(m_acceptedAddress);
    QTextCursor cursor = m_addressEdit->textCursor();
    cursor.setPosition(int(std::clamp<qsizetype>(position, 0, m_acceptedAddress.size())));
    m_addressEdit->setTextCursor(cursor);
}

void CustomerDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    // Showing a dialog selects the text of its focused box; modifying starts with the caret at the end of
    // the name instead.
    if (m_mode == Mode::Modify)
        QTimer::singleShot(0, this, [this] { m_nameEdit->end(false); });
}

} // namespace qm
