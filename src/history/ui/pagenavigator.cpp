#include "history/ui/pagenavigator.h"

#include "core/ui/plainbutton.h"

#include <QHBoxLayout>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QShortcut>

namespace qm {

LinkLabel::LinkLabel(const QString& name, const QString& text, QWidget* parent)
    : QLabel(text, parent) {
    setObjectName(name);
    setCursor(Qt::PointingHandCursor);
    setStyleSheet(QStringLiteral("color: #1a55b0;"));
}

void LinkLabel::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        emit pressed();
        return;
    }
    QLabel::mousePressEvent(event);
}

PageNavigator::PageNavigator(PagedBrowser& browser, QWidget* parent)
    : QWidget(parent)
    , m_browser(browser) {
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    const struct {
        const char* name;
        const char* text;
        void (PageNavigator::*action)();
        QKeySequence keys;
    } links[] = {
        {"透明标签1", "回首页", &PageNavigator::firstPage, QKeySequence(Qt::ALT | Qt::Key_Home)},
        {"透明标签2", "上一页", &PageNavigator::previousPage, QKeySequence(Qt::ALT | Qt::Key_PageUp)},
        {"透明标签3", "下一页", &PageNavigator::nextPage, QKeySequence(Qt::ALT | Qt::Key_PageDown)},
        {"透明标签4", "到尾页", &PageNavigator::lastPageLink, QKeySequence(Qt::ALT | Qt::Key_End)},
        {"透明标签5", "刷新", &PageNavigator::refresh, QKeySequence(Qt::Key_F5)},
    };
    for (const auto& link : links) {
        auto* label = new LinkLabel(QString::fromUtf8(link.name), QString::fromUtf8(link.text), this);
        connect(label, &LinkLabel::pressed, this, link.action);
        // From the keyboard too, anywhere in the window; the list keeps its own Page Up and Home.
        label->setToolTip(
            QStringLiteral("%1（%2）").arg(label->text(), link.keys.toString(QKeySequence::NativeText)));
        connect(new QShortcut(link.keys, this), &QShortcut::activated, this, link.action);
        layout->addWidget(label);
        layout->addSpacing(6);
    }
    layout->addStretch();
    QPushButton* jumpButton = plainButton(QStringLiteral("跳到_"), QStringLiteral("跳到"), this);
    m_pageBox = new QLineEdit(this);
    m_pageBox->setObjectName(QStringLiteral("编辑框1"));
    m_pageBox->setMaximumWidth(60);
    m_current = new QLabel(this);
    m_current->setObjectName(QStringLiteral("透明标签_当前页位置"));
    m_count = new QLabel(this);
    m_count->setObjectName(QStringLiteral("透明标签_总页数"));
    layout->addWidget(jumpButton);
    layout->addWidget(m_pageBox);
    layout->addWidget(new QLabel(QStringLiteral("页"), this));
    layout->addSpacing(12);
    auto* position = new QHBoxLayout;
    position->setSpacing(0);
    position->addWidget(m_current);
    position->addWidget(m_count);
    layout->addLayout(position);
    connect(jumpButton, &QPushButton::clicked, this, &PageNavigator::jump);
    connect(m_pageBox, &QLineEdit::returnPressed, this, &PageNavigator::jump);
}

void PageNavigator::present(const PageView& view) {
    if (view.labelsShown) {
        m_current->setText(QString::number(view.page));
        m_count->setText(QStringLiteral("/") + QString::number(view.pageCount));
    }
    emit shown(view);
}

void PageNavigator::showPage(qint64 page) {
    present(m_browser.show(page));
}

void PageNavigator::firstPage() {
    if (const std::optional<PageView> view = m_browser.first())
        present(*view);
}

void PageNavigator::previousPage() {
    if (const std::optional<PageView> view = m_browser.previous())
        present(*view);
}

void PageNavigator::nextPage() {
    if (const std::optional<PageView> view = m_browser.next())
        present(*view);
}

void PageNavigator::lastPageLink() {
    if (const std::optional<PageView> view = m_browser.last())
        present(*view);
}

void PageNavigator::refresh() {
    present(m_browser.refresh());
}

void PageNavigator::jump() {
    const PageView view = m_browser.jump(m_pageBox->text());
    m_pageBox->setText(QString::number(view.page));
    present(view);
}

} // namespace qm
