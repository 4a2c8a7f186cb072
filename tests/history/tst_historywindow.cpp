#include "core/home.h"
#include "core/ui/reportlistview.h"
#include "history/ui/daysdialog.h"
#include "history/ui/historywindow.h"
#include "staff/staffsession.h"
#include "store/database.h"
#include "store/orderstore.h"
#include "support/fakeplatform.h"
#include "support/temphome.h"
#include "support/widgetdriver.h"

#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QQueue>
#include <QSqlQuery>
#include <QStatusBar>
#include <QTest>

using namespace qm;

namespace {

QString text(QWidget& window, const char* label) {
    return child<QLabel>(window, label)->text();
}

QStringList statusTexts(QWidget& window) {
    QStringList texts;
    for (QLabel* part : child<QStatusBar>(window, "状态条1")->findChildren<QLabel*>())
        texts << part->text();
    return texts;
}

QAction* menuItem(QMenu* menu, const QString& text) {
    for (QAction* action : menu->actions()) {
        if (action->text() == text)
            return action;
    }
    qFatal("no menu item %s", qPrintable(text));
}

void filter(HistoryWindow& window, const char* item) {
    menuItem(child<QMenu>(window, "查询条件"), QString::fromUtf8(item))->trigger();
}

int scalar(Database& db, const QString& sql) {
    QSqlQuery query = db.prepare(sql);
    return query.exec() && query.next() ? query.value(0).toInt() : -1;
}

// Stores an order with two lines; the time is 3/1 09:00 plus `minutes`.
qint64 addOrder(Database& db, int minutes, const QString& telephone = {}, const QString& table = {},
                double total = 12.5) {
    StoredOrder order;
    order.number = minutes + 1;
    order.time = QDateTime(QDate(2026, 3, 1), QTime(9, 0)).addSecs(60 * minutes);
    order.telephone = telephone;
    order.address = telephone.isEmpty() ? QString() : QStringLiteral("幸福路 1 号");
    order.tableName = table;
    order.total = total;
    order.toPay = total;
    const OrderWriteResult written = insertOrder(db, order,
                                                 {{QStringLiteral("空心菜"), 1, QStringLiteral("份"), 18},
                                                  {QStringLiteral("王老吉"), 1, QStringLiteral("瓶"), 3.5}});
    return written.id.value_or(-1);
}

// A history window on a fresh home, with a scripted hand-off and modal windows.
struct History {
    TempHome home;
    FakePlatform platform;
    bool formHoldsOrder = false;
    QList<QStringList> handedOver;
    int previewRefreshes = 0;
    QQueue<std::function<void(QDialog&)>> modals;
    StaffSession* staff = nullptr;

    OrderHandOff handOff() {
        return {[this] { return formHoldsOrder; },
                [this](const QString& id, const QString& day) {
                    handedOver << QStringList{id, day};
                    return true;
                },
                [this] { ++previewRefreshes; },
                {},
                staff};
    }
    RunModal runner() {
        return [this](QDialog& dialog) {
            if (!modals.isEmpty())
                modals.dequeue()(dialog);
        };
    }
    std::unique_ptr<HistoryWindow> open(std::optional<QString> customer = std::nullopt) {
        return std::make_unique<HistoryWindow>(home.db(), platform, handOff(), runner(), customer);
    }
};

} // namespace

class TestHistoryWindow : public QObject {
    Q_OBJECT

private slots:
    void opensOnTheFirstPageOfAllOrders() {
        History h;
        for (int i = 0; i < 201; ++i)
            addOrder(h.home.db(), i, {}, {}, i == 0 ? 7.9 : 12.5);
        auto window = h.open();
        QCOMPARE(window->windowTitle(), QStringLiteral("历史订单"));
        QCOMPARE(text(*window, "透明标签7"), QStringLiteral("正在浏览全部数据"));
        QCOMPARE(text(*window, "透明标签_当前页位置"), QStringLiteral("1"));
        QCOMPARE(text(*window, "透明标签_总页数"), QStringLiteral("/2"));
        // 200 x 12.5 + 7.9 = 2507.9, cut to a whole number
        QCOMPARE(statusTexts(*window), (QStringList{"共有数据:201条", "合计总额:2507", "实付总额:2507"}));
        auto* list = child<ReportListView>(*window, "超级列表框2");
        QVERIFY(list->isColumnHidden(0));
        QAbstractItemModel* model = list->model();
        QCOMPARE(model->rowCount(), 200);
        QStringList last;
        for (int c = 0; c < 9; ++c)
            last << model->index(199, c).data().toString();
        QCOMPARE(last, (QStringList{"1", "1", "2026年3月1日", "7.9", "7.9", "", "", "", ""}));
        QCOMPARE(model->index(0, 0).data().toString(), QStringLiteral("200"));
        // The till that stored each order, shown only where tills share a server.
        QCOMPARE(model->index(199, 9).data().toString(), h.home.db().tillName());
        QCOMPARE(list->isColumnHidden(9), !h.home.db().isServer());

        QTest::mouseClick(child<QLabel>(*window, "透明标签4"), Qt::LeftButton);
        QCOMPARE(model->rowCount(), 1);
        QCOMPARE(model->index(0, 0).data().toString(), QStringLiteral("201"));
    }

    // The column 操作员 is there where staff sign in, or once did; a shop without staff sees none.
    void staffColumn_data() {
        QTest::addColumn<bool>("staffMode");
        QTest::addColumn<bool>("turnedOffAgain");
        QTest::addColumn<bool>("shown");
        QTest::addColumn<QString>("storedBy");
        QTest::newRow("never on") << false << false << false << "";
        QTest::newRow("on") << true << false << true << "王店主";
        QTest::newRow("on once") << true << true << true << "王店主";
    }
    void staffColumn() {
        QFETCH(bool, staffMode);
        QFETCH(bool, turnedOffAgain);
        QFETCH(bool, shown);
        QFETCH(QString, storedBy);
        History h;
        StaffSession staff(h.home.db(), h.platform);
        h.staff = &staff;
        const QString password = QStringLiteral("owner-pass-2026");
        if (staffMode)
            QVERIFY(staff.enable(QStringLiteral("王店主"), password).isEmpty());
        StoredOrder order;
        order.number = 1;
        order.time = QDateTime(QDate(2026, 3, 1), QTime(9, 0));
        order.staffName = staff.current() ? staff.current()->name : QString();
        QVERIFY(insertOrder(h.home.db(), order, {{QStringLiteral("空心菜"), 1, QStringLiteral("份"), 18}}));
        addOrder(h.home.db(), 5); // stored by nobody
        if (turnedOffAgain)
            QVERIFY(staff.disable(password).isEmpty());
        auto window = h.open();
        auto* list = child<ReportListView>(*window, "超级列表框2");
        QCOMPARE(list->model()->headerData(10, Qt::Horizontal).toString(), QStringLiteral("操作员"));
        QCOMPARE(list->isColumnHidden(10), !shown);
        QCOMPARE(list->model()->index(1, 10).data().toString(), storedBy);
        QCOMPARE(list->model()->index(0, 10).data().toString(), QString());
    }

    void filtersOfTheMenu() {
        History h;
        addOrder(h.home.db(), 0, QStringLiteral("139'01"));
        addOrder(h.home.db(), 60 * 24, {}, QStringLiteral("号牌 1")); // 3/2 09:00
        addOrder(h.home.db(), 60 * 48, QStringLiteral("13902"));      // 3/3 09:00
        addOrder(h.home.db(), 60 * 15, QStringLiteral("13902"));      // 3/2 00:00: counts for 3/1
        auto window = h.open();
        auto count = [&] { return statusTexts(*window).value(0); };

        filter(*window, "外卖订单");
        QCOMPARE(text(*window, "透明标签7"), QStringLiteral("正在浏览外卖数据"));
        QCOMPARE(count(), QStringLiteral("共有数据:3条"));
        filter(*window, "店内用餐");
        QCOMPARE(text(*window, "透明标签7"), QStringLiteral("正在浏览店内数据"));
        QCOMPARE(count(), QStringLiteral("共有数据:1条"));

        h.platform.textAnswers.enqueue(QStringLiteral(" 139'01 "));
        filter(*window, "指定客户");
        QCOMPARE(h.platform.shown.last().text, QStringLiteral("请输入客户电话：按 Esc键 取消查询。"));
        QCOMPARE(text(*window, "透明标签7"), QStringLiteral("正在浏览客户：139'01 的数据"));
        QCOMPARE(count(), QStringLiteral("共有数据:1条"));
        h.platform.textAnswers.enqueue(std::nullopt); // Esc: nothing changes
        filter(*window, "指定客户");
        QCOMPARE(text(*window, "透明标签7"), QStringLiteral("正在浏览客户：139'01 的数据"));

        h.modals.enqueue([](QDialog& dialog) {
            QCOMPARE(dialog.objectName(), QStringLiteral("请选择指定时间"));
            child<QDateEdit>(dialog, "日期框1")->setDate(QDate(2026, 3, 1));
            click(dialog, "按钮2");
        });
        filter(*window, "指定时间");
        QCOMPARE(text(*window, "透明标签7"), QStringLiteral("正在浏览：2026年3月1日 的数据"));
        QCOMPARE(count(), QStringLiteral("共有数据:2条"));

        h.modals.enqueue([&](QDialog& dialog) {
            QCOMPARE(dialog.objectName(), QStringLiteral("请选择指定时间段"));
            child<QDateEdit>(dialog, "日期框1")->setDate(QDate(2026, 3, 3));
            child<QDateEdit>(dialog, "日期框2")->setDate(QDate(2026, 3, 2));
            click(dialog, "按钮2");
            QCOMPARE(h.platform.shown.last().text, QStringLiteral("起始日期不能大于结束日期。"));
            QCOMPARE(h.platform.shown.last().caption, QStringLiteral("提示"));
            QVERIFY(dialog.result() != QDialog::Accepted);
            child<QDateEdit>(dialog, "日期框1")->setDate(QDate(2026, 3, 2));
            click(dialog, "按钮2");
        });
        filter(*window, "指定时间段");
        QCOMPARE(text(*window, "透明标签7"), QStringLiteral("正在浏览从：2026年3月2日到2026年3月2日 的数据"));
        QCOMPARE(count(), QStringLiteral("共有数据:1条"));

        click(*window, "所有数据按钮");
        QCOMPARE(text(*window, "透明标签7"), QStringLiteral("正在浏览全部数据"));
        QCOMPARE(count(), QStringLiteral("共有数据:4条"));
    }

    void openedOnOneCustomer_data() {
        QTest::addColumn<QString>("telephone");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("label");
        QTest::addColumn<int>("rows");
        QTest::newRow("customer") << "13902"
                                  << "13902 的历史订单"
                                  << "正在浏览客户：13902 的数据" << 2;
        QTest::newRow("no telephone") << ""
                                      << "历史订单"
                                      << "正在浏览全部数据" << 3;
    }
    void openedOnOneCustomer() {
        QFETCH(QString, telephone);
        QFETCH(QString, caption);
        QFETCH(QString, label);
        QFETCH(int, rows);
        History h;
        addOrder(h.home.db(), 0, QStringLiteral("13902"));
        addOrder(h.home.db(), 1, QStringLiteral("13903"));
        addOrder(h.home.db(), 2, QStringLiteral("13902"));
        auto window = h.open(telephone);
        QCOMPARE(window->windowTitle(), caption);
        QCOMPARE(text(*window, "透明标签7"), label);
        QCOMPARE(child<ReportListView>(*window, "超级列表框2")->model()->rowCount(), rows);
        QVERIFY(!child<QMenu>(*window, "查询条件")->isEnabled());
        QVERIFY(!child<QPushButton>(*window, "所有数据按钮")->isEnabled());
    }

    void deleteRemovesTheOrderWithItsLines() {
        History h;
        for (int i = 0; i < 3; ++i)
            addOrder(h.home.db(), i);
        auto window = h.open();
        auto* list = child<ReportListView>(*window, "超级列表框2");
        click(*window, "按钮2");
        QCOMPARE(h.platform.shown.last().text, QStringLiteral("请选择要删除的项目。"));
        QCOMPARE(h.platform.shown.last().icon, MessageIcon::Information);

        list->selectRow(2); // order 1, the oldest, at the bottom
        h.platform.yesNoAnswers.enqueue(false);
        click(*window, "按钮2");
        QCOMPARE(h.platform.shown.last().text,
                 QStringLiteral("订单编号：1\r\n订单时间：2026年3月1日\r\n\r\n是否删除该订单？"));
        QCOMPARE(scalar(h.home.db(), QStringLiteral("SELECT count(*) FROM 存单")), 3);

        h.platform.yesNoAnswers.enqueue(true);
        click(*window, "按钮2");
        QCOMPARE(h.platform.shown.last().text, QStringLiteral("处理成功。"));
        QCOMPARE(h.platform.shown.last().icon, MessageIcon::None);
        QCOMPARE(scalar(h.home.db(), QStringLiteral("SELECT count(*) FROM 存单 WHERE ID = 1")), 0);
        QCOMPARE(scalar(h.home.db(), QStringLiteral("SELECT count(*) FROM 存单详单 WHERE 存单ID = 1")), 0);
        QCOMPARE(list->model()->rowCount(), 2);
        QCOMPARE(list->selectedRow(), 1); // the page is shorter: its new last row
        QCOMPARE(statusTexts(*window).value(0), QStringLiteral("共有数据:2条"));
    }

    // A delete the database refuses keeps the order and its lines, and says why.
    void refusedDeleteIsToldAndKeepsEverything() {
        History h;
        addOrder(h.home.db(), 0);
        QVERIFY(h.home.db().exec(QStringLiteral("CREATE TRIGGER 不许删除 BEFORE DELETE ON 存单 "
                                                "BEGIN SELECT RAISE(ABORT, '订单被锁定'); END")));
        auto window = h.open();
        child<ReportListView>(*window, "超级列表框2")->selectRow(0);
        h.platform.yesNoAnswers.enqueue(true);
        click(*window, "按钮2");
        QVERIFY(h.platform.shown.last().text.startsWith(QStringLiteral("删除失败：")));
        QVERIFY(h.platform.shown.last().text.contains(QStringLiteral("订单被锁定")));
        QVERIFY(!h.platform.texts().contains(QStringLiteral("处理成功。")));
        QCOMPARE(scalar(h.home.db(), QStringLiteral("SELECT count(*) FROM 存单详单")), 2);
        QCOMPARE(scalar(h.home.db(), QStringLiteral("SELECT count(*) FROM 存单")), 1);
    }

    // The list row keeps the 版本 it was read with: an order another till changed after the page was
    // shown is not deleted; the list then shows it as it is now, and a second delete goes through.
    void deleteOfAnOrderChangedMeanwhileIsRefused() {
        History h;
        const qint64 id = addOrder(h.home.db(), 0);
        auto window = h.open();
        auto* list = child<ReportListView>(*window, "超级列表框2");
        std::optional<StoredOrder> changed = loadOrder(h.home.db(), id);
        QVERIFY(changed);
        changed->total = 30;
        QVERIFY(changeOrder(h.home.db(), id, *changed, {}));

        list->selectRow(0);
        h.platform.yesNoAnswers.enqueue(true);
        click(*window, "按钮2");
        QCOMPARE(h.platform.shown.last().text,
                 QStringLiteral("删除失败：存单ID %1 已被其他收银机修改，请刷新后再删除").arg(id));
        QCOMPARE(h.platform.shown.last().icon, MessageIcon::Warning);
        QCOMPARE(scalar(h.home.db(), QStringLiteral("SELECT count(*) FROM 存单")), 1);
        QCOMPARE(list->model()->index(0, 3).data().toString(), QStringLiteral("30"));

        list->selectRow(0);
        h.platform.yesNoAnswers.enqueue(true);
        click(*window, "按钮2");
        QCOMPARE(h.platform.shown.last().text, QStringLiteral("处理成功。"));
        QCOMPARE(scalar(h.home.db(), QStringLiteral("SELECT count(*) FROM 存单")), 0);
    }

    // Another program holding the database: the delete gives up after the busy time and says so in Chinese.
    void deleteWhileTheDatabaseIsHeld() {
        History h;
        addOrder(h.home.db(), 0);
        auto window = h.open();
        child<ReportListView>(*window, "超级列表框2")->selectRow(0);
        QVERIFY(h.home.db().setBusyTime(50));
        {
            QSqlDatabase other =
                QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("other"));
            other.setDatabaseName(h.home.home().databasePath());
            QVERIFY(other.open());
            QSqlQuery hold(other);
            QVERIFY(hold.exec(QStringLiteral("BEGIN EXCLUSIVE")));
            h.platform.yesNoAnswers.enqueue(true);
            click(*window, "按钮2");
            hold.exec(QStringLiteral("ROLLBACK"));
            other.close();
        }
        QSqlDatabase::removeDatabase(QStringLiteral("other"));
        QVERIFY(h.platform.shown.last().text.startsWith(QStringLiteral("删除失败：数据库被其他程序占用")));
        QCOMPARE(scalar(h.home.db(), QStringLiteral("SELECT count(*) FROM 存单详单")), 2);
    }

    void modifyHandsTheOrderOver_data() {
        QTest::addColumn<bool>("formHoldsOrder");
        QTest::addColumn<QList<bool>>("answers");
        QTest::addColumn<bool>("handedOver");
        QTest::newRow("empty form: no question") << false << QList<bool>{} << true;
        QTest::newRow("filled form, yes") << true << QList<bool>{true} << true;
        QTest::newRow("filled form, no") << true << QList<bool>{false} << false;
    }
    void modifyHandsTheOrderOver() {
        QFETCH(bool, formHoldsOrder);
        QFETCH(QList<bool>, answers);
        QFETCH(bool, handedOver);
        History h;
        addOrder(h.home.db(), 0);
        h.formHoldsOrder = formHoldsOrder;
        h.platform.yesNoAnswers.append(answers);
        auto window = h.open();
        child<ReportListView>(*window, "超级列表框2")->selectRow(0);
        click(*window, "按钮3");
        QCOMPARE(h.platform.texts().size(), answers.size());
        if (!answers.isEmpty()) {
            QCOMPARE(h.platform.shown.last().text, clearFormQuestion);
            QCOMPARE(h.platform.shown.last().icon, MessageIcon::None);
            QCOMPARE(h.platform.shown.last().caption, QStringLiteral("提示"));
        }
        const QList<QStringList> expected{{QStringLiteral("1"), QStringLiteral("2026年3月1日")}};
        QCOMPARE(h.handedOver, handedOver ? expected : QList<QStringList>());
        QCOMPARE(window->result() == QDialog::Accepted, handedOver);
    }

    void rowMenuOffersTheCustomersOrders() {
        History h;
        addOrder(h.home.db(), 0, QStringLiteral("13902"));
        addOrder(h.home.db(), 1, {}, QStringLiteral("号牌 1"));
        addOrder(h.home.db(), 2, QStringLiteral("13902"));
        auto window = h.open();
        auto* list = child<ReportListView>(*window, "超级列表框2");
        list->selectRow(1); // the eat-in order: no telephone
        std::unique_ptr<QMenu> menu(window->createRowMenu());
        QVERIFY(!menuItem(menu.get(), QStringLiteral("查看该客户的所有订单"))->isEnabled());
        list->selectRow(0);
        menu.reset(window->createRowMenu());
        QAction* customer = menuItem(menu.get(), QStringLiteral("查看该客户的所有订单"));
        QVERIFY(customer->isEnabled());
        customer->trigger();
        QCOMPARE(text(*window, "透明标签7"), QStringLiteral("正在浏览客户：13902 的数据"));
        QCOMPARE(list->model()->rowCount(), 2);
        list->selectRow(0);
        menu.reset(window->createRowMenu());
        QVERIFY(!menuItem(menu.get(), QStringLiteral("查看该客户的所有订单"))->isEnabled());
    }

    void closingRefreshesThePreview() {
        History h;
        openOrderHistory(nullptr, h.home.db(), h.platform, h.handOff(), std::nullopt,
                         [](QDialog& d) { d.reject(); });
        QCOMPARE(h.previewRefreshes, 1);
    }
};

QTEST_MAIN(TestHistoryWindow)
#include "tst_historywindow.moc"
