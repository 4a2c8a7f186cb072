#include "order/orderform.h"
#include "order/settle.h"
#include "store/database.h"
#include "store/settings.h"
#include "support/fakeplatform.h"
#include "support/heldlock.h"
#include "support/temphome.h"

#include <QSqlQuery>
#include <QTest>

#include <memory>

using namespace qm;

// The order form while another program holds the database: reads made while typing give up at once and
// change nothing, today's figures are never invented, and a failed save names its cause.
namespace {

struct Till {
    TempHome home;
    FakePlatform platform;
    std::unique_ptr<OrderForm> form;
    std::unique_ptr<SettleCommands> commands;
    QList<QString> printedNumbers;

    Till() {
        form = std::make_unique<OrderForm>(home.db(), platform, 1);
        form->restoreChoices(RecordStore(home.db()));
        form->refreshTodayTotals();
        form->loadDishCache();
        form->tick();
        commands = std::make_unique<SettleCommands>(*form, [this](bool) {
            printedNumbers << form->text(OrderField::OrderNumber);
            return true;
        });
    }
    OrderForm* operator->() const { return form.get(); }

    void pick(const QString& code) {
        form->setText(OrderField::DishCode, code);
        platform.textAnswers.enqueue(QStringLiteral("1"));
        QVERIFY(form->pickDish());
    }
    void storeOrder(int number, const QString& time) {
        QVERIFY(home.db().exec(QStringLiteral("INSERT INTO 存单 (编号, 时间, 实付) VALUES (?, ?, 10)"),
                               {number, time}));
    }
    QList<int> numbers() {
        QList<int> out;
        QSqlQuery q = home.db().prepare(QStringLiteral("SELECT 编号 FROM 存单 ORDER BY ID"));
        q.exec();
        while (q.next())
            out << q.value(0).toInt();
        return out;
    }
};

} // namespace

class TestLockedDatabase : public QObject {
    Q_OBJECT

private slots:
    void telephoneLookupLeavesTheFieldsWhenLocked() {
        Till t;
        QVERIFY(t.home.db().exec(
            QStringLiteral("INSERT INTO 客户 (电话, 姓名, 地址) VALUES ('13912345678', '王五', '西街')")));
        t->setText(OrderField::CustomerName, QStringLiteral("李四"));
        t->setText(OrderField::Address, QStringLiteral("东街 3 号"));
        {
            HeldLock other(t.home.db());
            t->setText(OrderField::Telephone, QStringLiteral("13912345678"));
            QCOMPARE(t->text(OrderField::CustomerName), QStringLiteral("李四"));
            QCOMPARE(t->text(OrderField::Address), QStringLiteral("东街 3 号"));
            QCOMPARE(t.home.db().busyTime(), Database::storingBusyTime);
        }
        t->setText(OrderField::Telephone, QStringLiteral("13912345678"));
        QCOMPARE(t->text(OrderField::CustomerName), QStringLiteral("王五"));
        // A drop-down list opened while the database is held keeps its items and its choice.
        t->fillChoiceList(OrderField::ShopName);
        t->chooseItem(OrderField::ShopName, 2);
        const ChoiceList before = t->choices(OrderField::ShopName);
        {
            HeldLock other(t.home.db());
            t->fillChoiceList(OrderField::ShopName);
        }
        QCOMPARE(t->choices(OrderField::ShopName).items, before.items);
        QCOMPARE(t->text(OrderField::ShopName), before.text());
        QCOMPARE(t->text(OrderField::Address), QStringLiteral("西街"));
        QVERIFY(t.platform.shown.size() == 0);
    }

    // The figures of a failed read stay as they were and the status says so; the clock reads them again.
    void unreadTotalsKeepTheFiguresAndAreReadAgain() {
        Till t;
        t.storeOrder(4, QStringLiteral("2026-03-14 09:00:00"));
        t->refreshTodayTotals();
        QCOMPARE(t->text(OrderField::OrderNumber), QStringLiteral("5"));
        t.storeOrder(5, QStringLiteral("2026-03-14 10:00:00"));
        {
            HeldLock other(t.home.db());
            t->resetForm();
            QCOMPARE(t->text(OrderField::OrderNumber), QStringLiteral("5"));
            QCOMPARE(t->todayTotals().count, 1);
            QVERIFY(t->todayTotalsUnread());
            QVERIFY(t->countStatusText().startsWith(QStringLiteral("今日打单数量：1（")));
            // Midnight while locked: yesterday's figures are not replaced by invented ones either.
            t.platform.clock = t.platform.clock.addDays(1);
            t->tick();
            QCOMPARE(t->text(OrderField::OrderNumber), QStringLiteral("5"));
            t.platform.clock = t.platform.clock.addDays(-1);
            t->tick();
        }
        t->tick();
        QVERIFY(!t->todayTotalsUnread());
        QCOMPARE(t->text(OrderField::OrderNumber), QStringLiteral("6"));
        QCOMPARE(t->countStatusText(), QStringLiteral("今日打单数量：2"));
    }

    // A proposed number the day already has gives way to the next free one, which is stored and printed;
    // a number typed by hand is stored as typed.
    void storingChecksTheProposedNumber_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("stored");
        QTest::newRow("proposed 2, already used") << QString() << 4;
        QTest::newRow("typed 3, already used") << "3" << 3;
        QTest::newRow("typed 9, free") << "9" << 9;
    }
    void storingChecksTheProposedNumber() {
        QFETCH(QString, typed);
        QFETCH(int, stored);
        Till t;
        t.storeOrder(1, QStringLiteral("2026-03-14 09:00:00"));
        t.storeOrder(1, QStringLiteral("2026-03-13 09:00:00"));
        t->refreshTodayTotals();
        QCOMPARE(t->text(OrderField::OrderNumber), QStringLiteral("2"));
        // Meanwhile numbers 2 and 3 were stored (read while the totals could not be read).
        t.storeOrder(2, QStringLiteral("2026-03-14 09:30:00"));
        t.storeOrder(3, QStringLiteral("2026-03-14 09:40:00"));
        if (!typed.isEmpty())
            t->setText(OrderField::OrderNumber, typed);
        t.pick(QStringLiteral("108"));
        QCOMPARE(t.commands->settle(), SettleOutcome::Completed);
        QCOMPARE(t.numbers().last(), stored);
        QCOMPARE(t.printedNumbers, QList<QString>{QString::number(stored)});
    }

    void lockedSaveNamesTheCauseInChinese() {
        Till t;
        t.pick(QStringLiteral("108"));
        t.home.db().setBusyTime(100);
        HeldLock other(t.home.db());
        QCOMPARE(t.commands->settle(), SettleOutcome::Failed);
        const QString message = t.platform.shown.last().text;
        QCOMPARE(message, saveFailedPrefix + QStringLiteral("数据库被其他程序占用"));
        other.release();
        QVERIFY(t->hasLines());
        QCOMPARE(t.commands->settle(), SettleOutcome::Completed);
    }

    void failureCausesNamedInChinese_data() {
        QTest::addColumn<QString>("code");
        QTest::addColumn<QString>("text");
        // A known cause alone: no English of the driver or the engine ends a message the cashier reads.
        QTest::newRow("busy") << "5"
                              << "数据库被其他程序占用";
        QTest::newRow("busy, extended code") << "261"
                                             << "数据库被其他程序占用";
        QTest::newRow("full") << "13"
                              << "磁盘已满";
        QTest::newRow("read-only") << "8"
                                   << "数据库文件只读";
        QTest::newRow("no permission") << "3"
                                       << "没有权限";
        QTest::newRow("other: the engine's words") << "1"
                                                   << "数据库错误（attempt to write a readonly database）";
    }
    void failureCausesNamedInChinese() {
        QFETCH(QString, code);
        QFETCH(QString, text);
        const QSqlError error(QStringLiteral("Unable to fetch row"),
                              QStringLiteral("attempt to write a readonly database"),
                              QSqlError::StatementError, code);
        QCOMPARE(failureText(error), text);
    }
};

QTEST_GUILESS_MAIN(TestLockedDatabase)
#include "tst_lockeddatabase.moc"
