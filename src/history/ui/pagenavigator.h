#pragma once

#include "history/pagedbrowser.h"

#include <QLabel>
#include <QWidget>

class QLineEdit;
class QPushButton;

// The navigation row of a paged list window: the links 透明标签1 "回首页", 透明标签2 "上一页", 透明标签3
// "下一页", 透明标签4 "到尾页" and 透明标签5 "刷新", the button 跳到_ "跳到" with the page box 编辑框1 and
// the label "页", and the labels 透明标签_当前页位置 (current page) and 透明标签_总页数 ("/" + page count).
namespace qm {

// A text that acts when the left mouse button goes down on it.
class LinkLabel : public QLabel {
    Q_OBJECT
public:
    LinkLabel(const QString& name, const QString& text, QWidget* parent);

signals:
    void pressed();

protected:
    void mousePressEvent(QMouseEvent* event) override;
};

class PageNavigator : public QWidget {
    Q_OBJECT
public:
    PageNavigator(PagedBrowser& browser, QWidget* parent = nullptr);

    PagedBrowser& browser() const { return m_browser; }

    // Shows page p (lastPage: the last) and tells the window through shown().
    void showPage(qint64 page);
    void firstPage();
    void previousPage();
    void nextPage();
    void lastPageLink();
    void refresh();
    // 跳到 (or Enter in the page box): shows the typed page and writes the page handed back into the box.
    void jump();

    QLineEdit* pageBox() const { return m_pageBox; }

signals:
    // A page was shown: the window fills its list and status texts from the view.
    void shown(const qm::PageView& view);

private:
    void present(const PageView& view);

    PagedBrowser& m_browser;
    QLineEdit* m_pageBox = nullptr;
    QLabel* m_current = nullptr;
    QLabel* m_count = nullptr;
};

} // namespace qm
