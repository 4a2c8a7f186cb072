#include "history/ui/pagenavigator.h"
#include "support/widgetdriver.h"

#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

using namespace qm;

namespace {

// A table of `count` rows with the IDs 1..count.
class NumberTable : public PagedTable {
public:
    qint64 count = 0;
    std::optional<PageTotals> totals() const override { return PageTotals{count, {}}; }
    std::optional<QList<QVariantList>> page(qint64 first, int rows) const override {
        QList<QVariantList> result;
        for (qint64 id = std::min(count, first + rows); id > first; --id)
            result.append(QVariantList{id});
        return result;
    }
};

QString labels(QWidget& navigator) {
    return child<QLabel>(navigator, "透明标签_当前页位置")->text() +
           child<QLabel>(navigator, "透明标签_总页数")->text();
}

} // namespace

class TestPageNavigator : public QObject {
    Q_OBJECT

private slots:
    void linksAndJumpBox() {
        NumberTable table;
        table.count = 401;
        PagedBrowser browser(table);
        PageNavigator navigator(browser);
        QSignalSpy shown(&navigator, &PageNavigator::shown);
        navigator.showPage(1);
        QCOMPARE(labels(navigator), QStringLiteral("1/3"));

        QTest::mouseClick(child<QLabel>(navigator, "透明标签3"), Qt::LeftButton);
        QCOMPARE(labels(navigator), QStringLiteral("2/3"));
        QTest::mouseClick(child<QLabel>(navigator, "透明标签4"), Qt::LeftButton);
        QCOMPARE(labels(navigator), QStringLiteral("3/3"));
        const PageView last = shown.last().first().value<PageView>();
        QCOMPARE(last.rows.size(), 1);
        QCOMPARE(last.rows.first().first().toLongLong(), 401);
        const qsizetype before = shown.size();
        QTest::mouseClick(child<QLabel>(navigator, "透明标签3"), Qt::LeftButton); // on the last page: nothing
        QCOMPARE(shown.size(), before);
        QTest::mouseClick(child<QLabel>(navigator, "透明标签1"), Qt::LeftButton);
        QCOMPARE(labels(navigator), QStringLiteral("1/3"));

        auto* box = child<QLineEdit>(navigator, "编辑框1");
        box->setText(QStringLiteral("999"));
        QTest::mouseClick(child<QPushButton>(navigator, "跳到_"), Qt::LeftButton);
        QCOMPARE(box->text(), QStringLiteral("3"));
        QCOMPARE(labels(navigator), QStringLiteral("3/3"));
        box->setText(QStringLiteral("2"));
        QTest::keyClick(box, Qt::Key_Return);
        QCOMPARE(labels(navigator), QStringLiteral("2/3"));
        box->setText(QStringLiteral("0"));
        QTest::mouseClick(child<QPushButton>(navigator, "跳到_"), Qt::LeftButton);
        QCOMPARE(box->text(), QStringLiteral("0"));
        QCOMPARE(labels(navigator), QStringLiteral("2/3"));
    }

    // Each link has a key, shown in its tooltip, that works wherever the focus is in the window, the
    // page box included; 刷新 (F5) reads the new row count.
    void keysTurnThePages() {
        NumberTable table;
        table.count = 401;
        PagedBrowser browser(table);
        QWidget window;
        auto* navigator = new PageNavigator(browser, &window);
        window.show();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        navigator->showPage(1);
        QLineEdit* box = navigator->pageBox();
        box->setFocus();
        QCOMPARE(child<QLabel>(*navigator, "透明标签3")->toolTip(), QStringLiteral("下一页（Alt+PgDown）"));
        const struct {
            Qt::Key key;
            Qt::KeyboardModifiers modifiers;
            const char* shown;
        } presses[] = {
            {Qt::Key_PageDown, Qt::AltModifier, "2/3"}, {Qt::Key_End, Qt::AltModifier, "3/3"},
            {Qt::Key_PageUp, Qt::AltModifier, "2/3"},   {Qt::Key_Home, Qt::AltModifier, "1/3"},
            {Qt::Key_F5, Qt::NoModifier, "1/4"},
        };
        for (const auto& press : presses) {
            if (press.key == Qt::Key_F5)
                table.count = 601;
            QTest::keyClick(box, press.key, press.modifiers);
            QCOMPARE(labels(*navigator), QString::fromUtf8(press.shown));
        }
    }
};

QTEST_MAIN(TestPageNavigator)
#include "tst_pagenavigator.moc"
