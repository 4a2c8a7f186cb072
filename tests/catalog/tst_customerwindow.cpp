#include "catalog/ui/customerdialog.h"
#include "catalog/ui/customerwindow.h"
#include "core/ui/reportlistview.h"
#include "store/customerstore.h"
#include "support/fakeplatform.h"
#include "support/temphome.h"
#include "support/widgetdriver.h"

#include <QAction>
#include <QClipboard>
#include <QFile>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QQueue>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>

using namespace qm;

namespace {

void fill(QDialog& dialog, const QString& telephone, const QString& name, const QString& address) {
    for (const char* box : {"编辑框3", "编辑框2"})
        child<QLineEdit>(dialog, box)->clear();
    child<QPlainTextEdit>(dialog, "编辑框1")->clear();
    typeKeys(child<QLineEdit>(dialog, "编辑框3"), telephone);
    typeKeys(child<QLineEdit>(dialog, "编辑框2"), name);
    typeKeys(child<QPlainTextEdit>(dialog, "编辑框1"), address);
}

QStringList boxes(QDialog& dialog) {
    return {child<QLineEdit>(dialog, "编辑框3")->text(), child<QLineEdit>(dialog, "编辑框2")->text(),
            child<QPlainTextEdit>(dialog, "编辑框1")->toPlainText()};
}

// Dialogs opened by the window are handed, in order, to these scripts instead of being run.
struct Modals {
    QQueue<std::function<void(QDialog&)>> scripts;
    RunModal runner() {
        return [this](QDialog& dialog) {
            if (!scripts.isEmpty())
                scripts.dequeue()(dialog);
        };
    }
};

struct Shop {
    TempHome home;
    FakePlatform platform;
    Modals modals;
    QString search; // the program's search, shared by every opening of the window
    QStringList ordersOpened;

    // Customers 1..n with the telephone 1000 + i and the name 顾客(i % 3).
    explicit Shop(int customers = 0) {
        const CustomerStore store(home.db());
        for (int i = 1; i <= customers; ++i)
            store.insert({QString::number(1000 + i), QStringLiteral("顾客%1").arg(i % 3),
                          QStringLiteral("路 %1").arg(i)});
    }
    std::unique_ptr<CustomerWindow> open(bool withOrders = true) {
        OpenCustomerOrders orders;
        if (withOrders)
            orders = [this](QWidget* over, const QString& telephone) {
                QCOMPARE(over->objectName(), QStringLiteral("客户设置"));
                ordersOpened << telephone;
            };
        return std::make_unique<CustomerWindow>(home.db(), platform, search, orders, modals.runner());
    }
};

QString statusText(CustomerWindow& window) {
    const QList<QLabel*> labels = child<QWidget>(window, "状态条1")->findChildren<QLabel*>();
    return labels.isEmpty() ? QString() : labels.first()->text();
}

QStringList telephones(CustomerWindow& window) {
    const QAbstractItemModel* model = child<ReportListView>(window, "超级列表框2")->model();
    QStringList out;
    for (int row = 0; row < model->rowCount(); ++row)
        out << model->index(row, 1).data().toString();
    return out;
}

QString pageLabels(CustomerWindow& window) {
    return child<QLabel>(window, "透明标签_当前页位置")->text() +
           child<QLabel>(window, "透明标签_总页数")->text();
}

int selectedRow(CustomerWindow& window) {
    return child<ReportListView>(window, "超级列表框2")->selectedRow();
}

void select(CustomerWindow& window, int row) {
    child<ReportListView>(window, "超级列表框2")->selectRow(row);
}

} // namespace

class CustomerWindowTest : public QObject {
    Q_OBJECT

private slots:
    void opensOnPageOneNewestFirst() {
        Shop shop(201);
        auto window = shop.open();
        QCOMPARE(window->windowTitle(), QStringLiteral("客户设置"));
        auto* list = child<ReportListView>(*window, "超级列表框2");
        QVERIFY(list->isColumnHidden(0));
        QStringList titles;
        for (int c = 1; c < 4; ++c)
            titles << list->model()->headerData(c, Qt::Horizontal).toString();
        QCOMPARE(titles, (QStringList{"电话", "姓名", "地址"}));
        QCOMPARE(statusText(*window), QStringLiteral("共有客户数据:201条"));
        QCOMPARE(pageLabels(*window), QStringLiteral("1/2"));
        const QStringList rows = telephones(*window);
        QCOMPARE(rows.size(), 200);
        QCOMPARE(rows.first(), QStringLiteral("1200"));
        QCOMPARE(rows.last(), QStringLiteral("1001"));
        QTest::mouseClick(child<QLabel>(*window, "透明标签3"), Qt::LeftButton);
        QCOMPARE(telephones(*window), QStringList{QStringLiteral("1201")});
    }

    // The search stays in force for the rest of the run, over closing and reopening the window, until
    // "浏览所有客户" clears it.
    void searchOutlivesTheWindow() {
        Shop shop(7);
        {
            auto window = shop.open();
            auto* box = child<QLineEdit>(*window, "编辑框2");
            QTest::keyClick(box, Qt::Key_Return);
            QCOMPARE(shop.platform.texts(), QStringList{QStringLiteral("请输入需要查找的客户电话或姓名。")});
            QCOMPARE(telephones(*window).size(), 7);

            typeKeys(box, QStringLiteral("顾客1"));
            QTest::keyClick(box, Qt::Key_Return);
            QCOMPARE(telephones(*window), (QStringList{"1007", "1004", "1001"}));
            QCOMPARE(statusText(*window), QStringLiteral("共有客户数据:3条"));

            box->setText(QStringLiteral("顾客1 "));
            click(*window, "查找");
            QCOMPARE(telephones(*window), QStringList());
            QCOMPARE(statusText(*window), QStringLiteral("共有客户数据:0条"));

            box->setText(QStringLiteral("1005"));
            click(*window, "查找");
            QCOMPARE(telephones(*window), QStringList{QStringLiteral("1005")});
        }
        {
            auto window = shop.open();
            QVERIFY(child<QLineEdit>(*window, "编辑框2")->text().isEmpty());
            QCOMPARE(telephones(*window), QStringList{QStringLiteral("1005")});
            click(*window, "跳到_2");
            QCOMPARE(telephones(*window).size(), 7);
        }
        QCOMPARE(telephones(*shop.open()).size(), 7);
    }

    // 客户添加 stays open for the next customer; the first customer of an empty list shows at once.
    void addStaysOpenAndShowsTheNewCustomer() {
        Shop shop;
        auto window = shop.open();
        QCOMPARE(statusText(*window), QStringLiteral("共有客户数据:0条"));
        bool accepted = true;
        shop.modals.scripts.enqueue([&](QDialog& dialog) {
            QCOMPARE(dialog.windowTitle(), QStringLiteral("客户添加"));
            QCOMPARE(child<QPushButton>(dialog, "按钮1")->text(), QStringLiteral("添加"));
            fill(dialog, QStringLiteral("138"), QStringLiteral("张三"), QStringLiteral("幸福路 1 号"));
            click(dialog, "按钮1");
            QCOMPARE(boxes(dialog), (QStringList{"", "", ""}));
            accepted = dialog.result() == QDialog::Accepted;
        });
        click(*window, "按钮1");
        QVERIFY(!accepted);
        QCOMPARE(shop.platform.texts(), QStringList{QStringLiteral("保存完成。")});
        QCOMPARE(shop.platform.shown.last().icon, MessageIcon::None);
        QCOMPARE(telephones(*window), QStringList{QStringLiteral("138")});
        QCOMPARE(pageLabels(*window), QStringLiteral("1/1"));
    }

    // A known telephone, once the user agrees, gives its row the new name and address; 客户添加 closes.
    void addOfAKnownTelephoneChangesTheRowInPlace() {
        Shop shop(3);
        auto window = shop.open();
        shop.platform.yesNoAnswers.enqueue(true);
        shop.modals.scripts.enqueue([&](QDialog& dialog) {
            fill(dialog, QStringLiteral("1002"), QStringLiteral("王五"), QStringLiteral("新址"));
            click(dialog, "按钮1");
            QCOMPARE(dialog.result(), int(QDialog::Accepted));
        });
        click(*window, "按钮1");
        QCOMPARE(shop.platform.texts().last(), QStringLiteral("修改完成。"));
        QCOMPARE(selectedRow(*window), 1);
        const QAbstractItemModel* model = child<ReportListView>(*window, "超级列表框2")->model();
        QCOMPARE(model->index(1, 2).data().toString(), QStringLiteral("王五"));
        QCOMPARE(model->index(1, 3).data().toString(), QStringLiteral("新址"));
    }

    void modifyOpensOnTheSelectedRow() {
        Shop shop(3);
        auto window = shop.open();
        click(*window, "按钮3");
        QCOMPARE(shop.platform.texts(), QStringList{QStringLiteral("请选择要修改的项目。")});
        QCOMPARE(shop.platform.shown.last().icon, MessageIcon::Information);

        // A changed telephone, once the user agrees, adds a customer and keeps the one opened.
        select(*window, 2);
        shop.platform.yesNoAnswers.enqueue(true);
        shop.modals.scripts.enqueue([&](QDialog& dialog) {
            QCOMPARE(dialog.windowTitle(), QStringLiteral("客户修改"));
            QCOMPARE(boxes(dialog), (QStringList{"1001", "顾客1", "路 1"}));
            QCOMPARE(dialog.focusWidget(), child<QLineEdit>(dialog, "编辑框2"));
            fill(dialog, QStringLiteral("1009"), QStringLiteral("顾客1"), QStringLiteral("路 1"));
            click(dialog, "按钮1");
            QCOMPARE(boxes(dialog), (QStringList{"", "", ""}));
            QVERIFY(dialog.result() != QDialog::Accepted);
        });
        emit child<ReportListView>(*window, "超级列表框2")->modifyRequested(); // a double click
        QCOMPARE(shop.platform.texts().last(), QStringLiteral("保存完成。"));
        // The current page is shown again.
        QCOMPARE(telephones(*window), (QStringList{"1009", "1003", "1002", "1001"}));
    }

    void deleteSelectsTheRowTakingItsPlace() {
        Shop shop(3);
        auto window = shop.open();
        select(*window, 2);
        shop.platform.yesNoAnswers.enqueue(true);
        QTest::keyRelease(child<ReportListView>(*window, "超级列表框2"), Qt::Key_Delete);
        QCOMPARE(shop.platform.texts().last(), QStringLiteral("处理成功。"));
        QCOMPARE(telephones(*window), (QStringList{"1003", "1002"}));
        QCOMPARE(selectedRow(*window), 1);
        QCOMPARE(statusText(*window), QStringLiteral("共有客户数据:2条"));

        select(*window, 0);
        shop.platform.yesNoAnswers.enqueue(false);
        click(*window, "按钮2");
        QCOMPARE(telephones(*window).size(), 2);
    }

    void rowMenuOpensTheCustomersOrders() {
        Shop shop(2);
        auto window = shop.open();
        select(*window, 1);
        std::unique_ptr<QMenu> menu(window->createRowMenu());
        QStringList items;
        for (QAction* action : menu->actions())
            items << (action->isSeparator() ? QStringLiteral("|") : action->text());
        QCOMPARE(items, (QStringList{"修改", "|", "删除", "|", "查看该客户的所有订单"}));
        menu->actions().last()->trigger();
        QCOMPARE(shop.ordersOpened, QStringList{QStringLiteral("1001")});

        auto withoutHistory = shop.open(false);
        select(*withoutHistory, 0);
        std::unique_ptr<QMenu> limited(withoutHistory->createRowMenu());
        QVERIFY(!limited->actions().last()->isEnabled());
    }

    // Typing stops at 16 bytes for telephone and name and 255 for the address (a Chinese character
    // takes two); what the program writes into the boxes is not cut.
    void typingLimits() {
        Shop shop;
        CustomerActions actions(shop.home.db(), shop.platform);
        const StoredCustomer stored{QStringLiteral("1"), QStringLiteral("张"),
                                    QString(300, QLatin1Char('x'))};
        CustomerDialog dialog(
            CustomerDialog::Mode::Modify, actions, stored, [](const CustomerOutcome&) {}, shop.platform);
        QCOMPARE(boxes(dialog)[2].size(), 300);
        fill(dialog, QString(20, QLatin1Char('9')), QStringLiteral("一二三四五六七八九"),
             QString(300, QLatin1Char('a')));
        QCOMPARE(boxes(dialog)[0].size(), 16);
        QCOMPARE(boxes(dialog)[1], QStringLiteral("一二三四五六七八"));
        QCOMPARE(boxes(dialog)[2].size(), 255);
        auto* address = child<QPlainTextEdit>(dialog, "编辑框1");
        address->clear();
        typeKeys(address, QString(253, QLatin1Char('a')) + QStringLiteral("路路"));
        QCOMPARE(address->toPlainText(), QString(253, QLatin1Char('a')) + QStringLiteral("路"));
    }

    // A pasted text longer than the box takes goes in as far as it fits, as typing it would.
    void pasteKeepsThePartThatFits_data() {
        QTest::addColumn<QString>("before");
        QTest::addColumn<int>("cursor");
        QTest::addColumn<QString>("pasted");
        QTest::addColumn<QString>("after");
        QTest::newRow("empty box") << QString() << 0 << QStringLiteral("一二三四五六七八九") // 18 bytes
                                   << QStringLiteral("一二三四五六七八");
        QTest::newRow("odd byte left") << QStringLiteral("a") << 1 << QStringLiteral("一二三四五六七八")
                                       << QStringLiteral("a一二三四五六七");
        QTest::newRow("in the middle") << QStringLiteral("张三") << 1 << QStringLiteral("abcdefghijklmn")
                                       << QStringLiteral("张abcdefghijkl三");
    }
    void pasteKeepsThePartThatFits() {
        QFETCH(QString, before);
        QFETCH(int, cursor);
        QFETCH(QString, pasted);
        QFETCH(QString, after);
        Shop shop;
        CustomerActions actions(shop.home.db(), shop.platform);
        CustomerDialog dialog(
            CustomerDialog::Mode::Add, actions, {}, [](const CustomerOutcome&) {}, shop.platform);
        auto* name = child<QLineEdit>(dialog, "编辑框2");
        typeKeys(name, before);
        name->setCursorPosition(cursor);
        QGuiApplication::clipboard()->setText(pasted);
        name->paste();
        QCOMPARE(name->text(), after);
        QCOMPARE(name->cursorPosition(), int(after.size()) - int(before.size()) + cursor);
    }

    // 导入… in 客户设置: the file's customers are stored, the known telephone updated on request, and
    // the list and its count follow.
    void importsCustomersFromAFile() {
        Shop shop(2);
        QTemporaryDir dir;
        const QString file = dir.filePath("customers.csv");
        QFile out(file);
        QVERIFY(out.open(QIODevice::WriteOnly));
        out.write("\xEF\xBB\xBF电话,姓名,地址\n1001,新名字,新地址\n2001,张三,三号楼\n");
        out.close();
        auto window = shop.open();
        shop.platform.fileAnswers.enqueue(file);
        shop.modals.scripts.enqueue([](QDialog& dialog) {
            child<QRadioButton>(dialog, "单选框_更新")->click();
            child<QPushButton>(dialog, "按钮_导入")->click();
        });
        child<QPushButton>(*window, "按钮_导入")->click();
        QCOMPARE(shop.platform.texts().last(), QStringLiteral("导入完成：新增 1 行，更新 1 行。"));
        QCOMPARE(statusText(*window), QStringLiteral("共有客户数据:3条"));
        const QList<StoredCustomer> all = *CustomerStore(shop.home.db()).loadAll();
        QCOMPARE(all.first().name, QStringLiteral("新名字"));
        QCOMPARE(all.last().telephone, QStringLiteral("2001"));
    }
};

QTEST_MAIN(CustomerWindowTest)
#include "tst_customerwindow.moc"
