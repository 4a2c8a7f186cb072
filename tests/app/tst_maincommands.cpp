#include "app/ui/maincommands.h"
#include "app/ui/mainwindow.h"
#include "order/orderform.h"
#include "receipt/recordingsurface.h"
#include "store/settings.h"
#include "support/fakeplatform.h"
#include "support/temphome.h"

#include <QAction>
#include <QLineEdit>
#include <QPushButton>
#include <QSqlQuery>
#include <QTest>

using namespace qm;

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

} // namespace

class MainCommandsTest : public QObject {
    Q_OBJECT

private slots:
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

    void cancelledPrintKeepsTheStoredOrderOnTheForm() {
        Shop shop;
        shop.addDish(QStringLiteral("108"), QStringLiteral("1"));
        shop.window.functionKey(Qt::Key_F12); // no printer queued: the dialog is cancelled
        QCOMPARE(orderCount(shop.home.db()), 1);
        auto* settle = shop.window.findChild<QPushButton*>("按钮_打单结算");
        QVERIFY(settle->isHidden());
        QCOMPARE(shop.edit("编辑框_合计")->text(), QStringLiteral("18"));

        shop.window.functionKey(Qt::Key_F12); // stored already: nothing happens
        QCOMPARE(orderCount(shop.home.db()), 1);

        shop.platform.yesNoAnswers.enqueue(true);
        shop.window.functionKey(Qt::Key_F10);
        QCOMPARE(shop.platform.texts().last(), QStringLiteral("是否清空点单数据？"));
        QVERIFY(!settle->isHidden());
        QCOMPARE(shop.edit("编辑框_编号")->text(), QStringLiteral("2"));
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

    void masterDataEntriesAreOpen() {
        Shop shop;
        for (auto entry :
             {MainWindow::Entry::Dishes, MainWindow::Entry::Tables, MainWindow::Entry::TicketHeaders,
              MainWindow::Entry::ShopNames, MainWindow::Entry::Discounts, MainWindow::Entry::PrintSettings})
            QVERIFY(shop.window.entry(entry)->isEnabled());
        for (auto entry : {MainWindow::Entry::History, MainWindow::Entry::IncomeReport,
                           MainWindow::Entry::SalesStatistics, MainWindow::Entry::Customers})
            QVERIFY(!shop.window.entry(entry)->isEnabled());
    }
};

QTEST_MAIN(MainCommandsTest)
#include "tst_maincommands.moc"
