#include "core/datetimetext.h"
#include "order/orderform.h"
#include "order/settle.h"
#include "store/database.h"
#include "store/opendatabase.h"
#include "store/orderstore.h"
#include "store/settings.h"
#include "support/fakeplatform.h"
#include "support/temphome.h"

#include <QElapsedTimer>
#include <QSqlQuery>
#include <QTest>

#include <memory>

#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

using namespace qm;

namespace {

// Listens on 127.0.0.1:`port` and never accepts: a client's connection is made by the system and then
// waits for an answer that never comes.
class SilentListener {
public:
    explicit SilentListener(int port)
        : m_fd(::socket(AF_INET, SOCK_STREAM, 0)) {
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_port = htons(quint16(port));
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        const int yes = 1;
        ::setsockopt(m_fd, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof(yes));
        m_listening = m_fd >= 0 &&
                      ::bind(m_fd, reinterpret_cast<sockaddr*>(&address), sizeof(address)) == 0 &&
                      ::listen(m_fd, 16) == 0;
    }
    ~SilentListener() {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    SilentListener(const SilentListener&) = delete;
    SilentListener& operator=(const SilentListener&) = delete;
    bool listening() const { return m_listening; }

private:
    int m_fd;
    bool m_listening = false;
};

// A started form on a fresh template database, a scripted printer, and the settle commands on both.
struct Till {
    TempHome home;
    FakePlatform platform;
    std::unique_ptr<OrderForm> form;
    QList<bool> printCalls; // singleCopy of every print asked for
    QList<OrderFormValues> printedForms;
    bool printSucceeds = true;
    std::unique_ptr<SettleCommands> commands;

    Till() {
        form = std::make_unique<OrderForm>(home.db(), platform, 1);
        for (OrderField field : {OrderField::TicketHeader, OrderField::ShopName, OrderField::DiscountName,
                                 OrderField::TableName})
            form->fillChoiceList(field);
        form->loadTableCodes();
        form->restoreChoices(RecordStore(home.db()));
        form->refreshTodayTotals();
        form->loadDishCache();
        form->tick();
        commands = std::make_unique<SettleCommands>(*form, [this](bool singleCopy) {
            printCalls << singleCopy;
            printedForms << form->values();
            return printSucceeds;
        });
    }
    OrderForm* operator->() const { return form.get(); }

    void pick(const QString& code, const QString& quantity) {
        form->setText(OrderField::DishCode, code);
        platform.textAnswers.enqueue(quantity);
        QVERIFY(form->pickDish());
    }
    // A delivery order of 空心菜 × 2 and 王老吉 × 1 (36 + 3.5).
    void typeOrder(const QString& telephone, const QString& name = QStringLiteral("张三")) {
        pick(QStringLiteral("108"), QStringLiteral("2"));
        pick(QStringLiteral("105"), QStringLiteral("1"));
        form->setText(OrderField::Telephone, telephone);
        form->setText(OrderField::CustomerName, name);
        form->setText(OrderField::Address, QStringLiteral("幸福路 1 号"));
        form->setText(OrderField::Note, QStringLiteral("不要辣's"));
    }

    int count(const QString& table) {
        QSqlQuery q = home.db().prepare(QStringLiteral("SELECT count(*) FROM %1").arg(table));
        return q.exec() && q.next() ? q.value(0).toInt() : -1;
    }
    qint64 lastOrderId() {
        QSqlQuery q = home.db().prepare(QStringLiteral("SELECT max(ID) FROM 存单"));
        return q.exec() && q.next() ? q.value(0).toLongLong() : 0;
    }
    QStringList lineIds() {
        QStringList ids;
        QSqlQuery q = home.db().prepare(QStringLiteral("SELECT ID FROM 存单详单 ORDER BY ID"));
        q.exec();
        while (q.next())
            ids << q.value(0).toString();
        return ids;
    }
    void failInsertsInto(const QString& table) {
        QVERIFY(home.db().exec(QStringLiteral("CREATE TRIGGER refuse BEFORE INSERT ON %1 "
                                              "BEGIN SELECT RAISE(ABORT, 'disk is full'); END")
                                   .arg(table)));
    }
};

QStringList lineNames(const QList<StoredLine>& lines) {
    QStringList names;
    for (const StoredLine& line : lines)
        names << line.name;
    return names;
}

} // namespace

class TestSettle : public QObject {
    Q_OBJECT

private slots:
    void orderNumberAndTime_data() {
        QTest::addColumn<QString>("number");
        QTest::addColumn<QString>("time");
        QTest::addColumn<QString>("stored"); // ISO time, or the text the error must name
        QTest::addColumn<bool>("valid");
        QTest::newRow("format 0 takes the current year") << "3"
                                                         << "03-14 09:07"
                                                         << "2027-03-14 09:07:00" << true;
        QTest::newRow("format 1 keeps its year") << "3"
                                                 << "2025/12/30 01:59"
                                                 << "2025-12-30 01:59:00" << true;
        QTest::newRow("format 2 keeps its year") << "3"
                                                 << "2024-02-29 23:05"
                                                 << "2024-02-29 23:05:00" << true;
        QTest::newRow("number with blanks") << " 12 "
                                            << "03-14 09:07"
                                            << "2027-03-14 09:07:00" << true;
        QTest::newRow("full-width number") << "１２"
                                           << "03-14 09:07"
                                           << "2027-03-14 09:07:00" << true;
        QTest::newRow("decimal number") << "1.5"
                                        << "03-14 09:07"
                                        << "编号" << false;
        QTest::newRow("empty number") << ""
                                      << "03-14 09:07"
                                      << "编号" << false;
        QTest::newRow("letters") << "A1"
                                 << "03-14 09:07"
                                 << "编号" << false;
        QTest::newRow("empty time") << "3"
                                    << ""
                                    << "下单时间" << false;
        QTest::newRow("no such day") << "3"
                                     << "02-30 10:00"
                                     << "下单时间" << false;
        QTest::newRow("words") << "3"
                               << "中午"
                               << "下单时间" << false;
    }

    void orderNumberAndTime() {
        QFETCH(QString, number);
        QFETCH(QString, time);
        QFETCH(QString, stored);
        QFETCH(bool, valid);
        OrderFormValues values;
        values.orderNumber = number;
        values.orderTime = time;
        const PrepareResult result = prepareOrder(values, 2027);
        QCOMPARE(result.prepared.has_value(), valid);
        if (valid)
            QCOMPARE(isoText(result.prepared->order.time), stored);
        else
            QVERIFY2(result.error.contains(stored), qPrintable(result.error));
    }

    void formValuesAsStored() {
        OrderFormValues v;
        v.orderNumber = QStringLiteral("7");
        v.orderTime = QStringLiteral("2026/03/14 12:30");
        v.ticketHeader = QStringLiteral("饿了么(第1联)");
        v.discountName = QStringLiteral("立减优惠");
        v.discountCount = QStringLiteral("1");
        v.discountAmount = QStringLiteral("１0");
        v.total = QStringLiteral("29.5");
        v.paymentMethod = QStringLiteral("到付");
        v.toPay = QStringLiteral("0.00000001");
        v.telephone = QStringLiteral("139'01");
        v.note = QStringLiteral("O'Brien 的单");
        v.lines = {
            {QStringLiteral(" 空心菜 "), QStringLiteral("2"), QStringLiteral("份 "), QStringLiteral("36")},
            {QStringLiteral("　"), QStringLiteral("1"), QString(), QStringLiteral("5")},
            {QStringLiteral("自带菜"), QStringLiteral("x"), QString(), QString()},
            {}};
        const PreparedOrder p = *prepareOrder(v, 2026).prepared;
        QCOMPARE(p.order.number, 7);
        QCOMPARE(p.order.discountAmount, 10.0);
        QCOMPARE(p.order.total, 29.5);
        QCOMPARE(p.order.paid, 0.0);
        QVERIFY(!p.order.settled);
        QCOMPARE(p.order.telephone, v.telephone);
        QCOMPARE(p.order.note, v.note);
        QCOMPARE(lineNames(p.lines), (QStringList{"空心菜", "自带菜"}));
        QCOMPARE(p.lines[0].unit, QStringLiteral("份"));
        QCOMPARE(p.lines[0].quantity, 2.0);
        QCOMPARE(p.lines[1].quantity, 0.0);
        v.toPay = QStringLiteral("29.5");
        QVERIFY(prepareOrder(v, 2026).prepared->order.settled);
    }

    // A new telephone becomes a customer with one order; the next order raises the count and the date and
    // keeps the stored name. An order without telephone counts for no one.
    void settleStoresOrderLinesAndCustomer() {
        Till t;
        const QString phone = QStringLiteral("13900000001");
        t.typeOrder(phone);
        QCOMPARE(t->text(OrderField::OrderNumber), QStringLiteral("1"));
        QCOMPARE(t->text(OrderField::OrderTime), QStringLiteral("03-14 12:30"));
        QCOMPARE(t.commands->settle(), SettleOutcome::Completed);
        QCOMPARE(t.printCalls, QList<bool>{false});
        QCOMPARE(t.printedForms.first().note, QStringLiteral("不要辣's"));
        QVERIFY(t.platform.texts().isEmpty());

        const qint64 id = t.lastOrderId();
        const StoredOrder stored = *loadOrder(t.home.db(), id);
        QCOMPARE(stored.number, 1);
        QCOMPARE(isoText(stored.time), QStringLiteral("2026-03-14 12:30:00"));
        QCOMPARE(stored.total, 39.5);
        QCOMPARE(stored.note, QStringLiteral("不要辣's"));
        QCOMPARE(lineNames(loadOrderLines(t.home.db(), id)), (QStringList{"空心菜", "王老吉"}));
        CustomerRecord customer = *loadCustomer(t.home.db(), phone);
        QCOMPARE(customer.orderCount, 1);
        QCOMPARE(customer.name, QStringLiteral("张三"));
        QCOMPARE(customer.lastOrder, QStringLiteral("2026-03-14 12:30:00"));

        // The form is ready for the next order.
        QCOMPARE(t->text(OrderField::OrderNumber), QStringLiteral("2"));
        QVERIFY(!t->hasLines());
        QCOMPARE(t->text(OrderField::Telephone), QString());
        QVERIFY(t->settleVisible());

        t.platform.clock = QDateTime(QDate(2026, 3, 14), QTime(18, 5));
        t->tick();
        t.typeOrder(phone, QStringLiteral("李四"));
        QCOMPARE(t.commands->settle(), SettleOutcome::Completed);
        customer = *loadCustomer(t.home.db(), phone);
        QCOMPARE(customer.orderCount, 2);
        QCOMPARE(customer.name, QStringLiteral("张三"));
        QCOMPARE(customer.lastOrder, QStringLiteral("2026-03-14 18:05:00"));
        QCOMPARE(loadOrder(t.home.db(), t.lastOrderId())->number, 2);

        t.typeOrder(QString());
        QCOMPARE(t.commands->settle(), SettleOutcome::Completed);
        QCOMPARE(t.count(QStringLiteral("客户")), 1);
        QCOMPARE(t.count(QStringLiteral("存单")), 3);
        QCOMPARE(t.count(QStringLiteral("存单详单")), 6);
    }

    // A reopened order comes back into the form; storing the change keeps its ID and number, replaces all
    // its lines and leaves the customer's count alone.
    void changeKeepsIdAndNumber() {
        QFETCH(bool, printAnswer);
        Till t;
        const QString phone = QStringLiteral("13900000002");
        t->selectItemText(OrderField::TicketHeader, QStringLiteral("美团(第1联)"));
        t->chooseItem(OrderField::PaymentMethod, int(paymentMethods.indexOf(QStringLiteral("微信支付"))));
        t.typeOrder(phone);
        QCOMPARE(t.commands->settle(), SettleOutcome::Completed);
        const qint64 id = t.lastOrderId();
        const QStringList oldLines = t.lineIds();
        t.typeOrder(QString()); // an order number 2 stored after it
        QCOMPARE(t.commands->settle(), SettleOutcome::Completed);

        t.platform.clock = QDateTime(QDate(2026, 3, 15), QTime(9, 0));
        t->tick();
        QVERIFY(t.commands->openForChange(QString::number(id), dateText(QDate(2026, 3, 14))));
        QCOMPARE(t->settleCaption(), settleCaptionChange);
        QCOMPARE(t->text(OrderField::OrderId), QString::number(id));
        QCOMPARE(t->text(OrderField::OrderNumber), QStringLiteral("1"));
        QCOMPARE(t->text(OrderField::OrderTime), QStringLiteral("03-14 12:30"));
        QCOMPARE(t->text(OrderField::TicketHeader), QStringLiteral("美团(第1联)"));
        QCOMPARE(t->text(OrderField::PaymentMethod), QStringLiteral("微信支付"));
        QCOMPARE(t->text(OrderField::ToPay), QStringLiteral("39.5"));
        QCOMPARE(t->text(OrderField::CustomerName), QStringLiteral("张三"));
        QCOMPARE(t->rowCount(), 4);
        QCOMPARE(t->cell(1, 0), QStringLiteral("空心菜"));
        QCOMPARE(t->cell(1, 1), QStringLiteral("2"));
        t->tick();
        QCOMPARE(t->text(OrderField::OrderTime), QStringLiteral("03-14 12:30"));

        t.pick(QStringLiteral("001"), QStringLiteral("1"));
        t->setText(OrderField::Note, QStringLiteral("改：加一份饭"));
        t.platform.yesNoAnswers.enqueue(printAnswer);
        QCOMPARE(t.commands->settle(), SettleOutcome::Completed);
        QCOMPARE(t.platform.texts(), QStringList{changedQuestion});
        QCOMPARE(t.printCalls.size(), printAnswer ? 3 : 2);

        QCOMPARE(t.count(QStringLiteral("存单")), 2);
        const StoredOrder changed = *loadOrder(t.home.db(), id);
        QCOMPARE(changed.number, 1);
        QCOMPARE(changed.note, QStringLiteral("改：加一份饭"));
        QCOMPARE(changed.total, 57.5);
        QCOMPARE(isoText(changed.time), QStringLiteral("2026-03-14 12:30:00"));
        QCOMPARE(lineNames(loadOrderLines(t.home.db(), id)), (QStringList{"空心菜", "王老吉", "红烧排骨饭"}));
        for (const QString& old : oldLines)
            QVERIFY(!t.lineIds().contains(old));
        QCOMPARE(loadCustomer(t.home.db(), phone)->orderCount, 1);

        QCOMPARE(t->settleCaption(), settleCaptionNew);
        QVERIFY(!t->hasLines());
        QCOMPARE(t->text(OrderField::OrderNumber), QStringLiteral("1")); // the new day's first number
    }

    // A reopened order keeps its own date: the short time form shows no year, and the change is stored
    // in the order's year, to the second while the time is left as shown.
    void changeKeepsTheOrdersYear() {
        QFETCH(QString, typedTime);
        QFETCH(QString, stored);
        Till t;
        t.platform.clock = QDateTime(QDate(2025, 12, 31), QTime(23, 59, 45));
        t->tick();
        t.typeOrder(QStringLiteral("13900000003"));
        QCOMPARE(t.commands->settle(), SettleOutcome::Completed);
        const qint64 id = t.lastOrderId();
        // Orders written elsewhere (sample data, older versions) carry seconds.
        QVERIFY(t.home.db().exec(QStringLiteral("UPDATE 存单 SET 时间 = '2025-12-31 23:59:45' WHERE ID = ?"),
                                 {id}));

        t.platform.clock = QDateTime(QDate(2026, 1, 2), QTime(9, 0));
        t->tick();
        QVERIFY(t.commands->openForChange(QString::number(id), dateText(QDate(2025, 12, 31))));
        QCOMPARE(t->text(OrderField::OrderTime), QStringLiteral("12-31 23:59"));
        if (!typedTime.isEmpty())
            t->setText(OrderField::OrderTime, typedTime);
        t.platform.yesNoAnswers.enqueue(false);
        QCOMPARE(t.commands->settle(), SettleOutcome::Completed);
        QCOMPARE(isoText(loadOrder(t.home.db(), id)->time), stored);
        QCOMPARE(loadOrderLines(t.home.db(), id, QDate::fromString(stored.left(10), Qt::ISODate)).size(), 2);
    }
    void changeKeepsTheOrdersYear_data() {
        QTest::addColumn<QString>("typedTime");
        QTest::addColumn<QString>("stored");
        QTest::newRow("time as shown") << QString() << "2025-12-31 23:59:45";
        QTest::newRow("time changed") << "12-30 10:00"
                                      << "2025-12-30 10:00:00";
    }

    void changeKeepsIdAndNumber_data() {
        QTest::addColumn<bool>("printAnswer");
        QTest::newRow("print declined") << false;
        QTest::newRow("printed") << true;
    }

    // Any failing statement rolls the whole order back; the user is told why and the form keeps the order.
    void failureRollsBackAndKeepsForm_data() {
        QTest::addColumn<QString>("failingTable");
        QTest::addColumn<bool>("change");
        QTest::newRow("order row") << "存单" << false;
        QTest::newRow("a line") << "存单详单" << false;
        QTest::newRow("the customer") << "客户" << false;
        QTest::newRow("a line of a change") << "存单详单" << true;
    }

    void failureRollsBackAndKeepsForm() {
        QM_SKIP_ON_SERVER();
        QFETCH(QString, failingTable);
        QFETCH(bool, change);
        Till t;
        QString id;
        if (change) {
            t.typeOrder(QStringLiteral("13900000003"));
            QCOMPARE(t.commands->settle(), SettleOutcome::Completed);
            id = QString::number(t.lastOrderId());
            QVERIFY(t.commands->openForChange(id, QString()));
            t.pick(QStringLiteral("001"), QStringLiteral("1"));
        } else {
            t.typeOrder(QStringLiteral("13900000003"));
        }
        const int orders = t.count(QStringLiteral("存单"));
        const QStringList lines = t.lineIds();
        const int customers = t.count(QStringLiteral("客户"));
        const int printsBefore = int(t.printCalls.size());
        const OrderFormValues before = t->values();
        t.failInsertsInto(failingTable);

        QCOMPARE(t.commands->settle(), SettleOutcome::Failed);
        QCOMPARE(t.platform.texts().size(), 1);
        QVERIFY(t.platform.texts().first().startsWith(saveFailedPrefix));
        QVERIFY2(t.platform.texts().first().contains(QStringLiteral("disk is full")),
                 qPrintable(t.platform.texts().first()));
        QCOMPARE(t.platform.shown.last().icon, MessageIcon::Warning);
        QCOMPARE(t.printCalls.size(), printsBefore);
        QCOMPARE(t.count(QStringLiteral("存单")), orders);
        QCOMPARE(t.lineIds(), lines);
        QCOMPARE(t.count(QStringLiteral("客户")), customers);
        QCOMPARE(t->values().lines.size(), before.lines.size());
        QCOMPARE(t->values().telephone, before.telephone);
        QCOMPARE(t->values().note, before.note);
        QVERIFY(t->settleVisible());
        QCOMPARE(t->isModifying(), change);
        if (change)
            QCOMPARE(loadOrder(t.home.db(), id.toLongLong())->total, 39.5);
    }

    // The shop's server stops while the cashier works: typing goes on without waiting for it, the settle is
    // told with its reason and the form kept, and once the server is back the same settle stores the order
    // on a new connection.
    void aLostServerIsToldAndTheNextSettleSucceeds() {
        if (!testsRunOnServer())
            QSKIP("a till on the shop's server");
        TestServer* server = TestServer::shared();
        QVERIFY(server);
        Till t;
        t.typeOrder(QStringLiteral("13900000007"));
        QCOMPARE(t.commands->settle(), SettleOutcome::Completed);
        t.typeOrder(QStringLiteral("13900000008"));
        const OrderFormValues before = t->values();

        QVERIFY(server->stop());
        {
            // Worse than a stopped server: one that takes the connection and never answers, as a machine
            // that hangs. A new connection would wait for its whole timeout; the reads made while typing
            // open none and give up at once.
            const SilentListener silent(t.home.db().server()->port);
            QVERIFY(silent.listening());
            QElapsedTimer typing;
            typing.start();
            t->setText(OrderField::Telephone, QStringLiteral("13900000007"));
            t->setText(OrderField::DishCode, QStringLiteral("10"));
            t->refreshTodayTotals();
            t->fillChoiceList(OrderField::TableName);
            t->refreshTodayTotals();
            QVERIFY2(typing.elapsed() < 1000, qPrintable(QString::number(typing.elapsed())));
            t->setText(OrderField::Telephone, before.telephone);
        }

        QCOMPARE(t.commands->settle(), SettleOutcome::Failed);
        const QString told = t.platform.texts().last();
        QVERIFY2(told.startsWith(saveFailedPrefix + QStringLiteral("服务器未运行或拒绝连接")) ||
                     told.startsWith(saveFailedPrefix + QStringLiteral("与数据库服务器的连接中断")),
                 qPrintable(told));
        QCOMPARE(t.platform.shown.last().icon, MessageIcon::Warning);
        QCOMPARE(t->values().lines.size(), before.lines.size());
        QCOMPARE(t->values().telephone, before.telephone);
        QCOMPARE(t->values().address, before.address);
        QVERIFY(t->settleVisible());
        // Still down: told again, no freeze and no half order.
        QCOMPARE(t.commands->settle(), SettleOutcome::Failed);

        QVERIFY(server->start());
        QCOMPARE(t.commands->settle(), SettleOutcome::Completed);
        QCOMPARE(t.count(QStringLiteral("存单")), 2);
        QCOMPARE(t.count(QStringLiteral("存单详单")), 4);
    }

    // A field that cannot be stored is named; nothing is stored and the form stays.
    void invalidFieldKeepsForm_data() {
        QTest::addColumn<int>("fieldNumber");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("named");
        QTest::newRow("number 1.5") << int(OrderField::OrderNumber) << "1.5"
                                    << "编号";
        QTest::newRow("number empty") << int(OrderField::OrderNumber) << ""
                                      << "编号";
        QTest::newRow("time unreadable") << int(OrderField::OrderTime) << "今天中午"
                                         << "下单时间";
        QTest::newRow("to pay 1e308") << int(OrderField::ToPay) << "1e308"
                                      << "实付超出设定";
        QTest::newRow("paid beyond a double") << int(OrderField::Paid) << "1e309"
                                              << "已付超出设定";
        QTest::newRow("total 1000001") << int(OrderField::Total) << "1000001"
                                       << "合计超出设定";
        QTest::newRow("discount amount 1e308") << int(OrderField::DiscountAmount) << "1e308"
                                               << "减免金额超出设定";
        QTest::newRow("discount count 1e308") << int(OrderField::DiscountCount) << "1e308"
                                              << "减免份数超出设定";
    }

    void invalidFieldKeepsForm() {
        QFETCH(int, fieldNumber);
        QFETCH(QString, text);
        QFETCH(QString, named);
        const auto field = OrderField(fieldNumber);
        Till t;
        t.typeOrder(QStringLiteral("13900000004"));
        t->setText(field, text);
        QCOMPARE(t.commands->settle(), SettleOutcome::Invalid);
        QCOMPARE(t.platform.texts().size(), 1);
        const QString message = t.platform.shown.last().text;
        QVERIFY(message.startsWith(saveFailedPrefix));
        QVERIFY2(message.contains(named), qPrintable(message));
        QCOMPARE(t.platform.shown.last().icon, MessageIcon::Information);
        QCOMPARE(t.count(QStringLiteral("存单")), 0);
        QVERIFY(t.printCalls.isEmpty());
        QCOMPARE(t->text(field), text);
        QCOMPARE(t->rowCount(), 4);
    }

    // Fields left empty are stored as empty texts, never as NULL: queries testing 桌号 <> '' rely on it.
    void emptyFieldsAreStoredAsEmptyTexts() {
        Till t;
        t.pick(QStringLiteral("108"), QStringLiteral("1"));
        QCOMPARE(t.commands->settle(), SettleOutcome::Completed);
        QSqlQuery q = t.home.db().prepare(QStringLiteral(
            "SELECT 票头 || '|' || 店铺名称 || '|' || 减免 || '|' || 支付方式 || '|' || 桌号 || '|' || 电话 "
            "|| '|' || 姓名 || '|' || 地址 || '|' || 备注 FROM 存单"));
        QVERIFY(q.exec() && q.next());
        QVERIFY(!q.value(0).isNull());
        QCOMPARE(q.value(0).toString().count(QLatin1Char('|')), 8);

        t->setText(OrderField::Telephone, QStringLiteral("13800000001"));
        t->setText(OrderField::Address, QStringLiteral("幸福路 1 号"));
        t->saveCustomer();
        QSqlQuery c = t.home.db().prepare(QStringLiteral("SELECT 姓名 FROM 客户 WHERE 电话 = '13800000001'"));
        QVERIFY(c.exec() && c.next());
        QVERIFY(!c.value(0).isNull());
        QCOMPARE(c.value(0).toString(), QString());
    }

    // Printing that does not take place leaves the stored order and the form; settling again does nothing
    // (it would store the order twice), F11 prints the form, F10 clears it.
    void cancelledPrintKeepsForm() {
        Till t;
        t.typeOrder(QStringLiteral("13900000005"));
        t.printSucceeds = false;
        const QString number = t->text(OrderField::OrderNumber);
        QCOMPARE(t.commands->settle(), SettleOutcome::StoredNotPrinted);
        QVERIFY(!t->settleVisible());
        QCOMPARE(t->rowCount(), 4);
        QCOMPARE(t->text(OrderField::Telephone), QStringLiteral("13900000005"));
        // The cashier is told, today's figures count the order, and the form keeps its number for F11.
        QCOMPARE(t->notice(), storedNotPrintedNotice);
        QCOMPARE(t->todayTotals().count, 1);
        QCOMPARE(t->text(OrderField::OrderNumber), number);

        QCOMPARE(t.commands->settle(), SettleOutcome::Ignored);
        QCOMPARE(t.count(QStringLiteral("存单")), 1);
        QCOMPARE(t.count(QStringLiteral("存单详单")), 2);
        QCOMPARE(loadCustomer(t.home.db(), QStringLiteral("13900000005"))->orderCount, 1);

        t.printSucceeds = true;
        QVERIFY(t.commands->printOnly());
        QCOMPARE(t.printCalls, (QList<bool>{false, true}));
        QCOMPARE(t->rowCount(), 4);
        QVERIFY(t->notice().isEmpty());

        t.platform.yesNoAnswers.enqueue(false);
        QVERIFY(!t.commands->clearForm());
        QCOMPARE(t->rowCount(), 4);
        t.platform.yesNoAnswers.enqueue(true);
        QVERIFY(t.commands->clearForm());
        QCOMPARE(t.platform.texts(), (QStringList{clearQuestion, clearQuestion}));
        QVERIFY(t->settleVisible());
        QVERIFY(!t->hasLines());
        QCOMPARE(t->text(OrderField::OrderNumber), QStringLiteral("2"));
    }

    // A declined print of a change leaves the form in change mode, as loaded and edited.
    void declinedChangePrintKeepsForm() {
        Till t;
        t.typeOrder(QStringLiteral("13900000006"));
        QCOMPARE(t.commands->settle(), SettleOutcome::Completed);
        QVERIFY(t.commands->openForChange(QString::number(t.lastOrderId()), QString()));
        t.printSucceeds = false;
        t.platform.yesNoAnswers.enqueue(true);
        QCOMPARE(t.commands->settle(), SettleOutcome::StoredNotPrinted);
        QVERIFY(t->isModifying());
        QCOMPARE(t->rowCount(), 4);
    }

    void noLinesNothingToDo() {
        Till t;
        QCOMPARE(t.commands->settle(), SettleOutcome::NoLines);
        QVERIFY(!t.commands->printOnly());
        QCOMPARE(t.platform.texts(), (QStringList{noLinesMessage, noLinesMessage}));
        QCOMPARE(t.platform.shown.first().icon, MessageIcon::Information);
        QCOMPARE(t.platform.shown.first().caption, QStringLiteral("提示"));
        QVERIFY(t.printCalls.isEmpty());
        QCOMPARE(t.count(QStringLiteral("存单")), 0);
    }

    // The history hands over a day: only that day's lines come back; no day, or an order that does not
    // exist, as stated.
    void loadLinesOfADay() {
        Till t;
        t.typeOrder(QString());
        QCOMPARE(t.commands->settle(), SettleOutcome::Completed);
        const qint64 id = t.lastOrderId();
        QVERIFY(
            t.home.db().exec(QStringLiteral("INSERT INTO 存单详单 (存单ID, 销售时间, 菜名, 数量, 单位, 小计) "
                                            "VALUES (?, '2026-03-15 00:00:00', '隔夜菜', 1.25, '份', 3)"),
                             {id}));
        QCOMPARE(lineNames(loadOrderLines(t.home.db(), id, QDate(2026, 3, 14))),
                 (QStringList{"空心菜", "王老吉"}));
        QCOMPARE(loadOrderLines(t.home.db(), id).size(), 3);

        QVERIFY(t.commands->loadOrderLines(QString::number(id), QStringLiteral("2026年3月15日")));
        QCOMPARE(t->rowCount(), 3);
        QCOMPARE(t->cell(1, 1), QStringLiteral("1.25"));
        QVERIFY(t.commands->loadOrderLines(QString::number(id), QString()));
        QCOMPARE(t->rowCount(), 5);
        QVERIFY(!t.commands->loadOrderHeader(QStringLiteral("9999")));
        QVERIFY(!t.commands->loadOrderHeader(QStringLiteral("x")));
        QCOMPARE(parseDateText(QStringLiteral("2026年2月30日")), std::nullopt);
    }

    // A change of an order deleted meanwhile is refused instead of leaving lines without an order.
    void changeOfDeletedOrderFails() {
        Till t;
        t.typeOrder(QString());
        QCOMPARE(t.commands->settle(), SettleOutcome::Completed);
        const qint64 id = t.lastOrderId();
        QVERIFY(t.commands->openForChange(QString::number(id), QString()));
        QVERIFY(deleteOrder(t.home.db(), id));
        QCOMPARE(t.count(QStringLiteral("存单详单")), 0);
        QCOMPARE(t.commands->settle(), SettleOutcome::Failed);
        QCOMPARE(t.count(QStringLiteral("存单详单")), 0);
        QCOMPARE(t.count(QStringLiteral("存单")), 0);
        QVERIFY(t->isModifying());
    }

    // A delete from the history compares the 版本 its row was read with: an order another till changed or
    // deleted since is kept as that till left it, and the refusal says why.
    void deleteOfAnOrderChangedMeanwhileIsRefused_data() {
        QTest::addColumn<QString>("meanwhile"); // what the other till did: nothing, "change", "delete"
        QTest::addColumn<QString>("refusal");   // empty: the delete goes through
        QTest::addColumn<int>("ordersLeft");
        QTest::addColumn<int>("linesLeft");
        QTest::newRow("untouched") << QString() << QString() << 0 << 0;
        QTest::newRow("changed by another till")
            << "change" << QStringLiteral("已被其他收银机修改，请刷新后再删除") << 1 << 1;
        QTest::newRow("deleted by another till")
            << "delete" << QStringLiteral("已不存在，可能已被其他收银机删除") << 0 << 0;
    }
    void deleteOfAnOrderChangedMeanwhileIsRefused() {
        QFETCH(QString, meanwhile);
        QFETCH(QString, refusal);
        QFETCH(int, ordersLeft);
        QFETCH(int, linesLeft);
        Till t;
        t.typeOrder(QString());
        QCOMPARE(t.commands->settle(), SettleOutcome::Completed);
        const qint64 id = t.lastOrderId();
        const std::optional<StoredOrder> seen = loadOrder(t.home.db(), id);
        QVERIFY(seen);

        // The other till: a connection of its own to the same database.
        OpenedDatabase other = openDatabase(t.home.home());
        QVERIFY2(other.db, qPrintable(other.error));
        if (meanwhile == QStringLiteral("change")) {
            StoredOrder changed = *seen;
            changed.note = QStringLiteral("二号机改过");
            QVERIFY(changeOrder(*other.db, id, changed,
                                {{QStringLiteral("空心菜"), 1, QStringLiteral("份"), 18}}));
        } else if (meanwhile == QStringLiteral("delete")) {
            QVERIFY(deleteOrder(*other.db, id));
        }

        const OrderWriteResult deleted = deleteOrder(t.home.db(), id, std::nullopt, seen->version);
        QCOMPARE(bool(deleted), refusal.isEmpty());
        QCOMPARE(deleted.error,
                 refusal.isEmpty() ? QString() : QStringLiteral("存单ID %1 ").arg(id) + refusal);
        QCOMPARE(t.count(QStringLiteral("存单")), ordersLeft);
        QCOMPARE(t.count(QStringLiteral("存单详单")), linesLeft);
        if (ordersLeft)
            QCOMPARE(loadOrder(t.home.db(), id)->note, QStringLiteral("二号机改过"));
    }
};

QTEST_GUILESS_MAIN(TestSettle)
#include "tst_settle.moc"
