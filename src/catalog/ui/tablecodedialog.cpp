#include "catalog/ui/tablecodedialog.h"

#include "catalog/tablecodes.h"
#include "catalog/ui/editbuttons.h"
#include "core/platform.h"
#include "core/ui/gbklimitvalidator.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

namespace qm {

TableCodeDialog::TableCodeDialog(Mode mode, TableCodeList& tables, Platform& platform, int row,
                                 std::function<void(int)> selectRow, QWidget* parent)
    : QDialog(parent)
    , m_mode(mode)
    , m_tables(tables)
    , m_platform(platform)
    , m_selectRow(std::move(selectRow)) {
    const QString title = mode == Mode::Add ? QStringLiteral("桌号添加") : QStringLiteral("桌号修改");
    setObjectName(title);
    setWindowTitle(title);
    resize(340, 238);

    m_codeEdit = new QLineEdit(this);
    m_codeEdit->setObjectName(QStringLiteral("编辑框1"));
    limitGbkBytes(m_codeEdit, 8);
    m_nameEdit = new QLineEdit(this);
    m_nameEdit->setObjectName(QStringLiteral("编辑框2"));
    limitGbkBytes(m_nameEdit, 24);
    QPushButton* okButton = addOrModifyButton(mode == Mode::Add, this);

    auto* form = new QFormLayout;
    form->setFieldGrowthPolicy(QFormLayout::AllNonFixedFieldsGrow);
    form->addRow(QStringLiteral("数字代号："), m_codeEdit);
    form->addRow(QStringLiteral("桌号名称："), m_nameEdit);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(okButton);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(24, 24, 24, 18);
    layout->addStretch();
    layout->addLayout(form);
    layout->addStretch();
    layout->addLayout(buttons);

    connect(okButton, &QPushButton::clicked, this, &TableCodeDialog::submit);

    if (mode == Mode::Modify) {
        const StoredTableCode& table = m_tables.rows().at(row);
        m_codeEdit->setText(table.code);
        m_nameEdit->setText(table.name);
        m_codeEdit->end(false);
    }
    m_codeEdit->setFocus();
}

void TableCodeDialog::submit() {
    const Outcome outcome = m_mode == Mode::Add ? m_tables.add(m_codeEdit->text(), m_nameEdit->text())
                                                : m_tables.modify(m_codeEdit->text(), m_nameEdit->text());
    if (tellRefusal(m_platform, outcome, m_selectRow))
        return;
    if (outcome.row >= 0)
        m_selectRow(outcome.row);
    if (m_mode == Mode::Add) {
        m_platform.showMessage(outcome.message, MessageIcon::None);
        m_codeEdit->clear();
        m_nameEdit->clear();
    } else {
        accept();
        m_platform.showMessage(outcome.message, MessageIcon::None);
    }
}

void TableCodeDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    // Showing a dialog selects the text of its focused box; modifying starts with the caret at the end of
    // the number code instead.
    if (m_mode == Mode::Modify)
        QTimer::singleShot(0, this, [this] { m_codeEdit->end(false); });
}

} // namespace qm
