#include "app/programdatabase.h"
#include "app/ui/maincommands.h"
#include "app/ui/mainwindow.h"
#include "catalog/ui/customerwindow.h"
#include "order/orderform.h"
#include "receipt/recordingsurface.h"
#include "store/customerstore.h"
#include "store/orderformstore.h"
#include "store/orderstore.h"
#include "store/settings.h"
#include "store/tillfile.h"
#include "support/fakeplatform.h"
#include "support/temphome.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QTreeView>

#include <algorithm>

using namespace qm;

Q_DECLARE_METATYPE(qm::MainWindow::Entry)

namespace {

// Counts the receipts it is given; each page is drawn on a recording surface.
class CountingPrinter : public ReceiptPrinter {
public:
    explicit CountingPrinter(int& pages)
        : m_pages(pages) {}
    bool printPage(const std::function<int(ReceiptSurface&)>& draw) override {
        RecordingSurface surface(480, ReceiptSurface::Kind::Printer);
        draw(surface);
        ++m_pages;
        return true;
    }

private:
    int& m_pages;
};

int orderCount(Database& db) {
    QSqlQuery query = db.prepare(QStringLiteral("SELECT count(*) FROM 存单"));
    return query.exec() && query.next() ? query.value(0).toInt() : -1;
}

struct Shop {
    TempHome home;
    FakePlatform platform;
    MainWindow window{home.db(), platform, home.home(), home.quantityDecimals()};
    MainCommands commands{window, home.db(), platform, home.home()};
    int pages = 0;

    QLineEdit* edit(const char* name) { return window.findChild<QLineEdit*>(name); }
    void addDish(const QString& code, const QString& quantity) {
        QLineEdit* box = edit("编辑框_项目代号");
        box->setFocus();
        box->selectAll();
        QTest::keyClicks(box, code);
        platform.textAnswers.enqueue(quantity);
        QTest::keyClick(box, Qt::Key_Return);
    }
    void queuePrinter() {
        platform.printers.enqueue(
            [this](const PrintRequest&) { return std::make_unique<CountingPrinter>(pages); });
    }
};

// Runs `script` on the modal window that opens next (with exec(), which starts the event loop).
void onNextModal(std::function<void(QDialog&)> script) {
    QTimer::singleShot(0, [script = std::move(script)] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (!dialog)
            qFatal("no modal window");
        script(*dialog);
    });
}

void click(QWidget& window, const char* button) {
    QTest::mouseClick(window.findChild<QPushButton*>(QString::fromUtf8(button)), Qt::LeftButton);
}

} // namespace

class MainCommandsTest : public QObject {
    Q_OBJECT

private slots:
    // Two tills on one server: what the other stores or changes shows on this one's main window within
    // two seconds.
    void otherTillsAreFollowed() {
        if (!TestServer::available())
            QSKIP("PostgreSQL server programs are not installed");
        TestServer* server = TestServer::shared();
        QVERIFY(server);
        QTemporaryDir dir;
        const Home home(dir.path());
        const ServerSetting setting = server->newDatabase();
        QVERIFY(TillFile(home.tillPath()).setServer(setting));
        OpenedDatabase opened = openProgramDatabase(home);
        QVERIFY2(opened.db, qPrintable(opened.error));
        FakePlatform platform;
        MainWindow window(*opened.db, platform, home, opened.quantityDecimals);
        MainCommands commands(window, *opened.db, platform, home);
        OrderForm& form = window.orderForm();
        QCOMPARE(form.countStatusText(), QStringLiteral("今日打单数量：0"));
        QTest::qWait(1500); // the first reading of the counters

        std::unique_ptr<Database> other = Database::connectServer(setting);
        QVERIFY(other);
        other->setTillName(QStringLiteral("二号机"));
        StoredOrder order;
        order.number = 1;
        order.time = platform.clock;
        order.total = 12;
        order.toPay = 12;
        QVERIFY(insertOrder(*other, order, {{QStringLiteral("空心菜"), 1, QStringLiteral("份"), 12}}));
        QVERIFY(other->exec(QStringLiteral("UPDATE 菜单 SET 菜名 = '二号机的新菜' WHERE 代码 = '001'")));
        QVERIFY(other->exec(QStringLiteral("INSERT INTO 桌号 (代号, 桌号名称) VALUES ('301', '3楼1桌')")));
        QTRY_COMPARE_WITH_TIMEOUT(form.countStatusText(), QStringLiteral("今日打单数量：1"), 2500);
        QCOMPARE(form.text(OrderField::OrderNumber), QStringLiteral("2"));
        QTRY_VERIFY_WITH_TIMEOUT(
            std::any_of(form.dishCache().dishes().begin(), form.dishCache().dishes().end(),
                        [](const DishRecord& dish) { return dish.name == QStringLiteral("二号机的新菜"); }),
            2500);
        QTRY_VERIFY_WITH_TIMEOUT(
            std::any_of(form.tableCodes().begin(), form.tableCodes().end(),
                        [](const TableCodeRecord& table) { return table.code == QStringLiteral("301"); }),
            2500);
    }

    void settleStoresPrintsAndResets() {
        Shop shop;
        RecordStore(shop.home.db()).write(QStringLiteral("打印份数"), QStringLiteral("2"));
        shop.addDish(QStringLiteral("108"), QStringLiteral("2"));
        shop.queuePrinter();
        shop.window.functionKey(Qt::Key_F12);
        QCOMPARE(orderCount(shop.home.db()), 1);
        QCOMPARE(shop.pages, 2);
        QCOMPARE(shop.edit("编辑框_编号")->text(), QStringLiteral("2"));
        QCOMPARE(shop.edit("编辑框_合计")->text(), QString());

        // F11 prints one copy of the form and stores nothing.
        shop.addDish(QStringLiteral("105"), QStringLiteral("1"));
        shop.queuePrinter();
        shop.window.functionKey(Qt::Key_F11);
        QCOMPARE(shop.pages, 3);
        QCOMPARE(orderCount(shop.home.db()), 1);
        QCOMPARE(shop.edit("编辑框_合计")->text(), QStringLiteral("3.5"));
    }

    // The cashier's road with the keyboard only: every code typed after F1, after a pick or after settling
    // replaces the last one instead of being appended to it.
    void typedCodeReplacesTheLastOne() {
        Shop shop;
        shop.window.show();
        shop.window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&shop.window));
        QLineEdit* code = shop.edit("编辑框_项目代号");
        auto type = [&](const QString& keys) { QTest::keyClicks(QApplication::focusWidget(), keys); };
        auto key = [&](Qt::Key k) { QTest::keyClick(QApplication::focusWidget(), k); };

        key(Qt::Key_F1);
        type(QStringLiteral("108"));
        shop.platform.textAnswers.enqueue(QStringLiteral("2"));
        key(Qt::Key_Return);
        type(QStringLiteral("105"));
        QCOMPARE(code->text(), QStringLiteral("105"));
        // A cancelled prompt leaves the code selected as well.
        code->deselect();
        shop.platform.textAnswers.enqueue(std::nullopt);
        key(Qt::Key_Return);
        QVERIFY(code->hasSelectedText());
        type(QStringLiteral("105"));
        QCOMPARE(code->text(), QStringLiteral("105"));
        key(Qt::Key_F3);
        type(QStringLiteral("139"));
        key(Qt::Key_F1);
        type(QStringLiteral("004"));
        QCOMPARE(code->text(), QStringLiteral("004"));
        shop.platform.textAnswers.enqueue(QStringLiteral("1"));
        key(Qt::Key_Return);

        shop.queuePrinter();
        key(Qt::Key_F12);
        QCOMPARE(orderCount(shop.home.db()), 1);
        QCOMPARE(QApplication::focusWidget(), code);
        type(QStringLiteral("002"));
        QCOMPARE(code->text(), QStringLiteral("002"));
        shop.platform.textAnswers.enqueue(QStringLiteral("1"));
        key(Qt::Key_Return);
        QCOMPARE(shop.window.orderForm().cell(1, 0), QStringLiteral("茄子豆角"));
    }

    void cancelledPrintKeepsTheStoredOrderOnTheForm() {
        Shop shop;
        shop.addDish(QStringLiteral("108"), QStringLiteral("1"));
        shop.window.functionKey(Qt::Key_F12); // no printer queued: the dialog is cancelled
        QCOMPARE(orderCount(shop.home.db()), 1);
        auto* settle = shop.window.findChild<QPushButton*>("按钮_打单结算");
        QVERIFY(settle->isHidden());
        QCOMPARE(shop.edit("编辑框_合计")->text(), QStringLiteral("18"));
        // The status line says so, and today's figures count the stored order.
        const auto statusText = [&](const char* name) {
            return shop.window.findChild<QLabel*>(QString::fromUtf8(name))->text();
        };
        QCOMPARE(statusText("状态条1_提示"), QStringLiteral("已保存，未打印：按 F11 打印"));
        QCOMPARE(statusText("状态条1_数量"), QStringLiteral("今日打单数量：1"));
        QCOMPARE(shop.edit("编辑框_编号")->text(), QStringLiteral("1"));

        shop.window.functionKey(Qt::Key_F12); // stored already: nothing happens
        QCOMPARE(orderCount(shop.home.db()), 1);

        shop.platform.yesNoAnswers.enqueue(true);
        shop.window.functionKey(Qt::Key_F10);
        QCOMPARE(shop.platform.texts().last(), QStringLiteral("是否清空点单数据？"));
        QVERIFY(!settle->isHidden());
        QCOMPARE(shop.edit("编辑框_编号")->text(), QStringLiteral("2"));
        QVERIFY(statusText("状态条1_提示").isEmpty());
        QCOMPARE(shop.platform.unanswered, 0);
    }

    void previewFollowsTheButtonAndTheForm() {
        Shop shop;
        shop.window.show();
        QVERIFY(!shop.commands.preview().isOpen());
        QTest::mouseClick(shop.window.findChild<QPushButton*>("按钮_预览"), Qt::LeftButton);
        QVERIFY(shop.commands.preview().isOpen());
        const int emptyHeight = shop.commands.preview().window()->boardSize().height();
        shop.addDish(QStringLiteral("108"), QStringLiteral("1"));
        QVERIFY(shop.commands.preview().window()->boardSize().height() > emptyHeight);
        QTest::mouseClick(shop.window.findChild<QPushButton*>("按钮_预览"), Qt::LeftButton);
        QVERIFY(!shop.commands.preview().isOpen());
    }

    // The function keys of the docked preview reach the main window's commands.
    void previewKeysSettleAndClear() {
        Shop shop;
        shop.window.show();
        shop.commands.preview().open();
        PreviewWindow* preview = shop.commands.preview().window();
        shop.addDish(QStringLiteral("108"), QStringLiteral("1"));

        preview->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(preview));
        shop.queuePrinter();
        QTest::keyClick(preview, Qt::Key_F12);
        QCOMPARE(orderCount(shop.home.db()), 1);
        QCOMPARE(shop.pages, 1);
        QCOMPARE(shop.edit("编辑框_编号")->text(), QStringLiteral("2"));

        shop.addDish(QStringLiteral("108"), QStringLiteral("1"));
        preview->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(preview));
        shop.platform.yesNoAnswers.enqueue(true);
        QTest::keyClick(preview, Qt::Key_F10);
        QCOMPARE(shop.platform.texts().last(), QStringLiteral("是否清空点单数据？"));
        QCOMPARE(shop.edit("编辑框_合计")->text(), QString());
        QCOMPARE(orderCount(shop.home.db()), 1);
    }

    // "打印设置" opens the preview first, and applying a setting shows at once in the preview.
    void printSettingsOpenThePreviewFirst() {
        Shop shop;
        shop.window.show();
        bool previewOpen = false;
        int widthAfterApply = 0;
        onNextModal([&](QDialog& settings) {
            QCOMPARE(settings.objectName(), QStringLiteral("打印设置"));
            previewOpen = shop.commands.preview().isOpen();
            settings.findChild<QComboBox*>("组合框_小票类型")->setCurrentIndex(1);
            click(settings, "按钮2");
            widthAfterApply = shop.commands.preview().window()->width();
            settings.reject();
        });
        shop.window.entry(MainWindow::Entry::PrintSettings)->trigger();
        QVERIFY(previewOpen);
        QCOMPARE(widthAfterApply, 306);
        QVERIFY(shop.commands.preview().isOpen());
    }

    // A dish added in 菜单设置 is found by its number and letter code as soon as the window closes.
    void dishAddedInTheCatalogIsFoundAfterwards() {
        Shop shop;
        onNextModal([](QDialog& catalog) {
            QCOMPARE(catalog.objectName(), QStringLiteral("菜单设置"));
            onNextModal([](QDialog& add) {
                add.findChild<QLineEdit*>("编辑框3")->setText(QStringLiteral("宫保鸡丁"));
                add.findChild<QLineEdit*>("编辑框1")->setText(QStringLiteral("901"));
                add.findChild<QLineEdit*>("编辑框4")->setText(QStringLiteral("28"));
                add.findChild<QComboBox*>("组合框1")->setCurrentIndex(0);
                click(add, "按钮1");
                add.reject();
            });
            click(catalog, "按钮1");
            catalog.reject();
        });
        shop.window.entry(MainWindow::Entry::Dishes)->trigger();
        QCOMPARE(shop.platform.texts().last(), QStringLiteral("保存完成。"));

        auto* candidates = shop.window.findChild<QTreeView*>("超级列表框2");
        for (const QString& typed : {QStringLiteral("901"), QStringLiteral("gbjd")}) {
            QLineEdit* code = shop.edit("编辑框_项目代号");
            code->clear();
            QTest::keyClicks(code, typed);
            QCOMPARE(candidates->model()->rowCount(), 1);
            QCOMPARE(candidates->model()->index(0, 3).data().toString(), QStringLiteral("宫保鸡丁"));
        }
    }

    // A table code added in 桌号设置 is known to the table code entry as soon as the window closes.
    void tableCodeAddedIsKnownAfterwards() {
        Shop shop;
        onNextModal([](QDialog& tables) {
            QCOMPARE(tables.objectName(), QStringLiteral("桌号设置"));
            onNextModal([](QDialog& add) {
                add.findChild<QLineEdit*>("编辑框1")->setText(QStringLiteral("301"));
                add.findChild<QLineEdit*>("编辑框2")->setText(QStringLiteral("露台 1"));
                click(add, "按钮1");
                add.reject();
            });
            click(tables, "按钮1");
            tables.reject();
        });
        shop.window.entry(MainWindow::Entry::Tables)->trigger();
        QCOMPARE(shop.platform.texts().last(), QStringLiteral("保存完成。"));

        QTest::keyClicks(shop.edit("编辑框_时间2"), QStringLiteral("301"));
        QCOMPARE(shop.window.findChild<QComboBox*>("组合框_桌号")->currentText(), QStringLiteral("露台 1"));
    }

    // The named lists open modally over the main window, 票头设置 included.
    void namedListsOpenOverTheMainWindow() {
        QFETCH(MainWindow::Entry, entry);
        QFETCH(QString, title);
        Shop shop;
        QString opened;
        QWidget* parent = nullptr;
        onNextModal([&](QDialog& list) {
            opened = list.objectName();
            parent = list.parentWidget();
            list.reject();
        });
        shop.window.entry(entry)->trigger();
        QCOMPARE(opened, title);
        QCOMPARE(parent, &shop.window);
    }
    void namedListsOpenOverTheMainWindow_data() {
        QTest::addColumn<MainWindow::Entry>("entry");
        QTest::addColumn<QString>("title");
        QTest::newRow("票头") << MainWindow::Entry::TicketHeaders << QStringLiteral("票头设置");
        QTest::newRow("店名") << MainWindow::Entry::ShopNames << QStringLiteral("店铺名称设置");
        QTest::newRow("减免") << MainWindow::Entry::Discounts << QStringLiteral("优惠减免设置");
        QTest::newRow("出品部门") << MainWindow::Entry::Stations << QStringLiteral("出品部门设置");
    }

    // Settle, open the order from 历史单据, change it, settle again: the same ID and number, the new lines,
    // and the preview shows the order taken back.
    void historyRoundTrip() {
        Shop shop;
        shop.window.show();
        shop.addDish(QStringLiteral("108"), QStringLiteral("2"));
        shop.queuePrinter();
        shop.window.functionKey(Qt::Key_F12);
        QCOMPARE(orderCount(shop.home.db()), 1);
        shop.commands.preview().open();
        const int emptyHeight = shop.commands.preview().window()->boardSize().height();

        onNextModal([](QDialog& history) {
            QCOMPARE(history.objectName(), QStringLiteral("历史订单"));
            auto* list = history.findChild<QTreeView*>("超级列表框2");
            list->setCurrentIndex(list->model()->index(0, 1));
            click(history, "按钮3");
        });
        shop.window.entry(MainWindow::Entry::History)->trigger();
        QCOMPARE(shop.window.findChild<QPushButton*>("按钮_打单结算")->text(), QStringLiteral("修改(F12)"));
        QCOMPARE(shop.edit("ID")->text(), QStringLiteral("1"));
        QCOMPARE(shop.edit("编辑框_编号")->text(), QStringLiteral("1"));
        QCOMPARE(shop.edit("编辑框_合计")->text(), QStringLiteral("36"));
        QVERIFY(shop.commands.preview().window()->boardSize().height() > emptyHeight);
        QVERIFY(shop.platform.texts().isEmpty()); // the form was empty: no question

        shop.addDish(QStringLiteral("105"), QStringLiteral("1"));
        shop.platform.yesNoAnswers.enqueue(false);
        shop.window.functionKey(Qt::Key_F12);
        QCOMPARE(shop.platform.texts().last(), QStringLiteral("修改成功。是否打印小票？"));
        QSqlQuery order = shop.home.db().prepare(QStringLiteral("SELECT ID, 编号, 合计 FROM 存单"));
        QVERIFY(order.exec() && order.next());
        QCOMPARE(order.value(0).toInt(), 1);
        QCOMPARE(order.value(1).toInt(), 1);
        QCOMPARE(order.value(2).toDouble(), 39.5);
        QVERIFY(!order.next());
        QSqlQuery lines =
            shop.home.db().prepare(QStringLiteral("SELECT 菜名 FROM 存单详单 WHERE 存单ID = 1 ORDER BY ID"));
        QStringList names;
        QVERIFY(lines.exec());
        while (lines.next())
            names << lines.value(0).toString();
        QCOMPARE(names, (QStringList{"空心菜", "王老吉"}));
    }

    // A sample data run shows today's new totals and the next number of the day at once.
    void sampleDataButtonFillsTheYear() {
        Shop shop;
        QVERIFY(shop.window.findChild<QPushButton*>(QStringLiteral("按钮_随机数据"))->isEnabled());
        shop.platform.yesNoAnswers.enqueue(true);
        click(shop.window, "按钮_随机数据");
        QCOMPARE(shop.platform.texts(), QStringList{QStringLiteral("是否生成随机数据？")});
        QVERIFY(orderCount(shop.home.db()) > 365 * 2);
        const TodayTotals today = todayTotals(shop.home.db(), shop.platform.clock.date());
        QVERIFY(today.count > 0);
        QCOMPARE(shop.edit("编辑框_编号")->text(), QString::number(today.nextNumber()));
    }

    // "查看该客户的所有订单" opens 历史订单 over 客户设置 on the selected customer's orders.
    void customerOrdersOpenOverTheCustomerWindow() {
        Shop shop;
        CustomerStore(shop.home.db())
            .insert({QStringLiteral("138"), QStringLiteral("张三"), QStringLiteral("路")});
        QVERIFY(shop.home.db().exec(QStringLiteral("INSERT INTO 存单 (编号, 时间, 电话) VALUES "
                                                   "(1, '2026-03-14 12:00:00', '138'), "
                                                   "(2, '2026-03-14 12:10:00', '139')")));
        QString title;
        QString parent;
        int orders = -1;
        onNextModal([&](QDialog& customers) {
            customers.findChild<QTreeView*>(QStringLiteral("超级列表框2"))
                ->setCurrentIndex(
                    customers.findChild<QTreeView*>(QStringLiteral("超级列表框2"))->model()->index(0, 1));
            onNextModal([&](QDialog& history) {
                title = history.windowTitle();
                parent = history.parentWidget()->objectName();
                orders = history.findChild<QTreeView*>(QStringLiteral("超级列表框2"))->model()->rowCount();
                history.reject();
            });
            qobject_cast<CustomerWindow*>(&customers)->showOrdersOfSelected();
            customers.reject();
        });
        shop.window.entry(MainWindow::Entry::Customers)->trigger();
        QCOMPARE(title, QStringLiteral("138 的历史订单"));
        QCOMPARE(parent, QStringLiteral("客户设置"));
        QCOMPARE(orders, 1);
    }

    void masterDataEntriesAreOpen() {
        Shop shop;
        for (auto entry :
             {MainWindow::Entry::Dishes, MainWindow::Entry::Tables, MainWindow::Entry::TicketHeaders,
              MainWindow::Entry::ShopNames, MainWindow::Entry::Discounts, MainWindow::Entry::Stations,
              MainWindow::Entry::PrintSettings, MainWindow::Entry::History, MainWindow::Entry::Customers,
              MainWindow::Entry::IncomeReport, MainWindow::Entry::SalesStatistics})
            QVERIFY(shop.window.entry(entry)->isEnabled());
    }
};

QTEST_MAIN(MainCommandsTest)
#include "tst_maincommands.moc"
