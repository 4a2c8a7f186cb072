#include "catalog/ui/namedlistwindow.h"

#include "core/platform.h"
#include "core/ui/plainbutton.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

namespace qm {

NamedListWindow::NamedListWindow(NamedList list, const Database& db, Platform& platform, QWidget* parent)
    : QDialog(parent)
    , m_store(db)
    , m_items(m_store, list)
    , m_platform(platform) {
    const QString title = namedListTitle(list);
    setObjectName(title);
    setWindowTitle(title);
    resize(340, 238);

    m_box = new QComboBox(this);
    m_box->setObjectName(QStringLiteral("组合框1"));
    m_box->setEditable(true);
    m_box->setInsertPolicy(QComboBox::NoInsert);
    // Inline completion would turn a typed "a" into an existing "ab" before it is saved.
    m_box->setCompleter(nullptr);
    m_box->setMaxVisibleItems(12);
    auto* saveButton = new QPushButton(QStringLiteral("保存"), this);
    saveButton->setObjectName(QStringLiteral("按钮1"));
    saveButton->setDefault(true);
    QPushButton* deleteButton = plainButton(QStringLiteral("按钮2"), QStringLiteral("删除"), this);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(saveButton);
    buttons->addWidget(deleteButton);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(24, 24, 24, 24);
    layout->addStretch();
    layout->addWidget(m_box);
    layout->addSpacing(24);
    layout->addLayout(buttons);
    layout->addStretch();

    connect(saveButton, &QPushButton::clicked, this, &NamedListWindow::save);
    connect(deleteButton, &QPushButton::clicked, this, &NamedListWindow::remove);

    const QString current = m_box->currentText();
    const int selected = m_items.load(current);
    m_box->addItems(m_items.items());
    m_box->setCurrentIndex(selected);
}

void NamedListWindow::save() {
    const Outcome outcome = m_items.save(m_box->currentText());
    if (outcome.done)
        m_box->addItem(m_items.items().last());
    inform(outcome);
}

void NamedListWindow::remove() {
    const Outcome outcome = m_items.remove(m_box->currentText());
    if (outcome.done) {
        m_box->removeItem(outcome.row);
        m_box->setCurrentIndex(-1);
        m_box->clearEditText();
    }
    inform(outcome);
}

void NamedListWindow::inform(const Outcome& outcome) {
    if (!outcome.message.isEmpty())
        m_platform.showMessage(outcome.message, MessageIcon::Information, QStringLiteral("提示"));
}

} // namespace qm
