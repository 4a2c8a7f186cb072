#include "order/orderform.h"
#include "store/database.h"
#include "store/settings.h"
#include "support/fakeplatform.h"
#include "support/temphome.h"

#include <QSignalSpy>
#include <QTest>

#include <memory>

using namespace qm;

namespace {

// A form on a fresh template database, started as the main window starts it.
struct Form {
    TempHome home;
    FakePlatform platform;
    std::unique_ptr<OrderForm> form;

    explicit Form(int decimals = 1) {
        form = std::make_unique<OrderForm>(home.db(), platform, decimals);
        for (OrderField field : {OrderField::TicketHeader, OrderField::ShopName, OrderField::DiscountName})
            form->fillChoiceList(field);
        form->loadTableCodes();
        form->restoreChoices(RecordStore(home.db()));
        form->refreshTodayTotals();
        form->loadDishCache();
    }
    OrderForm* operator->() const { return form.get(); }

    // Types a code and picks the first candidate with this quantity answer.
    bool pick(const QString& code, const QString& quantity) {
        form->setText(OrderField::DishCode, code);
        platform.textAnswers.enqueue(quantity);
        return form->pickDish();
    }
    QStringList row(int r) const {
        QStringList cells;
        for (int c = 0; c < OrderForm::ColumnCount; ++c)
            cells << form->cell(r, c);
        return cells;
    }
    QStringList amounts() const {
        return {form->text(OrderField::Total), form->text(OrderField::Paid), form->text(OrderField::ToPay)};
    }
    void choose(OrderField field, const QString& item) {
        fillIfTable(field);
        form->chooseItem(field, int(form->choices(field).items.indexOf(item)));
    }
    void fillIfTable(OrderField field) {
        if (field != OrderField::PaymentMethod)
            form->fillChoiceList(field);
    }
    void addOrder(int number, const QString& isoTime, double paid) {
        QVERIFY(home.db().exec(QStringLiteral("INSERT INTO 存单 (编号, 时间, 实付) VALUES (?, ?, ?)"),
                               {number, isoTime, paid}));
    }
};

QStringList codes(const QList<const DishRecord*>& dishes) {
    QStringList result;
    for (const DishRecord* dish : dishes)
        result << dish->code;
    return result;
}

} // namespace

class TestOrderForm : public QObject {
    Q_OBJECT
private slots:
    void searchFindsNumberAndLetterCodes_data();
    void searchFindsNumberAndLetterCodes();
    void searchListsADishTwiceWhenBothCodesMatch();
    void candidateKeysMoveWithinTheList();

    void pickedQuantityMakesTheLine_data();
    void pickedQuantityMakesTheLine();
    void pickingNeedsASelectionAndAnAnswer();
    void quantityWithoutTheQuestion_data();
    void quantityWithoutTheQuestion();
    void editedCellsFollowTheLineRules();
    void cellsEditableByRule_data();
    void cellsEditableByRule();
    void oversizedNumbersAreRefused_data();
    void oversizedNumbersAreRefused();
    void pastedLineBreaksBecomeSpaces();
    void deleteLineAsksAndMovesRowsUp();
    void deletingALineKeepsTheOtherLinesAsTyped_data();
    void deletingALineKeepsTheOtherLinesAsTyped();

    void totalsFollowLinesDiscountAndPayment();
    void payOnDeliveryKeepsPaidEmpty();
    void typedToPayDecidesPaid();
    void writingAFieldRunsItsRuleEvenUnchanged();
    void discountChangesNeedLines();
    void deletingTheOnlyLineLeavesMinusTheDiscount();

    void customerFillsOnTheWholeNumber();
    void saveCustomerStoresOnceAndSilently();
    void telephoneTailFindsTheCustomer_data();
    void telephoneTailFindsTheCustomer();
    void tableChosenByTypedCode_data();
    void tableChosenByTypedCode();
    void choiceListsRefillAndKeepTheirText();
    void storedTextSelection_data();
    void storedTextSelection();
    void choicesSurviveARestart();

    void todayTotalsCountTheDayHalfOpen();
    void clockRollsOverAtMidnight();
    void clockLeavesTheTimeOfAnOrderOpenForChange();
    void otherTillsOrdersMoveTheFigures_data();
    void otherTillsOrdersMoveTheFigures();
    void resetKeepsTheChoicesAndEmptiesTheOrder();
    void valuesSnapshotTheFields();
};

void TestOrderForm::searchFindsNumberAndLetterCodes_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("digit 1 in catalogue order")
        << "1" << QStringList{"001", "010", "011", "012", "013", "014", "015", "016", "017",
                              "018", "019", "101", "102", "103", "104", "201", "105", "108"};
    QTest::newRow("letters") << "kxc" << QStringList{"108"};
    QTest::newRow("spaces trimmed") << "  kxc " << QStringList{"108"};
    QTest::newRow("upper case finds nothing") << "KXC" << QStringList{};
    QTest::newRow("inner substring") << "sj" << QStringList{"005", "006", "007", "017"};
    QTest::newRow("empty") << "" << QStringList{};
    QTest::newRow("blanks") << "  " << QStringList{};
    QTest::newRow("no match") << "999" << QStringList{};
}

void TestOrderForm::searchFindsNumberAndLetterCodes() {
    QFETCH(QString, typed);
    QFETCH(QStringList, expected);
    Form f;
    f->setText(OrderField::DishCode, typed);
    QCOMPARE(codes(f->candidates()), expected);
    QCOMPARE(f->currentCandidate(), expected.isEmpty() ? -1 : 0);
}

void TestOrderForm::searchListsADishTwiceWhenBothCodesMatch() {
    DishCache cache;
    cache.reset(
        {{"甲", "1", "a1", "ab1", "份"}, {"乙", "2", "b2", "xy", "份"}, {"甲", "9", "a9", "zz", "碗"}});
    const QList<const DishRecord*> found = searchDishes(cache, QStringLiteral("1"));
    QCOMPARE(found.size(), 2);
    QCOMPARE(found[0], &cache.dishes()[0]);
    QCOMPARE(found[1], &cache.dishes()[0]);
    // A name that occurs twice is found as its first row.
    QCOMPARE(cache.find(QStringLiteral("甲"))->price, QStringLiteral("1"));
    QCOMPARE(cache.find(QStringLiteral("丙")), nullptr);
}

void TestOrderForm::candidateKeysMoveWithinTheList() {
    Form f;
    f->setText(OrderField::DishCode, QStringLiteral("10")); // 010, 101..105, 108: 7 rows
    QCOMPARE(f->candidates().size(), 7);
    f->selectPreviousCandidate();
    QCOMPARE(f->currentCandidate(), 0);
    for (int i = 0; i < 10; ++i)
        f->selectNextCandidate();
    QCOMPARE(f->currentCandidate(), 6);
    f->selectCandidate(-1);
    f->selectPreviousCandidate();
    QCOMPARE(f->currentCandidate(), -1);
    f->selectNextCandidate();
    QCOMPARE(f->currentCandidate(), 0);
}

void TestOrderForm::pickedQuantityMakesTheLine_data() {
    QTest::addColumn<int>("decimals");
    QTest::addColumn<QString>("code");
    QTest::addColumn<QString>("quantity");
    QTest::addColumn<QStringList>("line");
    QTest::newRow("two portions") << 1 << "108"
                                  << "2" << QStringList{"空心菜", "2", "份", "36"};
    QTest::newRow("zero becomes one") << 1 << "108"
                                      << "0" << QStringList{"空心菜", "1", "份", "18"};
    QTest::newRow("empty becomes one") << 1 << "108"
                                       << "" << QStringList{"空心菜", "1", "份", "18"};
    QTest::newRow("one decimal") << 1 << "108"
                                 << "1.25" << QStringList{"空心菜", "1.3", "份", "23.4"};
    QTest::newRow("no decimals") << 0 << "108"
                                 << "2.5" << QStringList{"空心菜", "3", "份", "54"};
    QTest::newRow("rounded amount") << 1 << "999"
                                    << "3" << QStringList{"测试菜", "3", "碟", "46.7"};
    QTest::newRow("single-precision price") << 1 << "005"
                                            << "3" << QStringList{"白菜肉水饺", "3", "份", "46.5"};
}

void TestOrderForm::pickedQuantityMakesTheLine() {
    QFETCH(int, decimals);
    QFETCH(QString, code);
    QFETCH(QString, quantity);
    QFETCH(QStringList, line);
    Form f(decimals);
    f.home.db().exec(QStringLiteral(
        "INSERT INTO 菜单 (代码, 字母, 菜名, 价格, 单位) VALUES ('999', 'csc', '测试菜', 15.55, '碟')"));
    f->loadDishCache();
    QSignalSpy focus(f.form.get(), &OrderForm::focusRequested);
    QVERIFY(f.pick(code, quantity));
    QCOMPARE(f.platform.shown.last().caption, QStringLiteral("菜品选择"));
    QCOMPARE(f.platform.shown.last().text, QStringLiteral("请输入菜品：") + line[0] +
                                               QStringLiteral(" 的数量。\r\n\r\n按 Esc键 取消选择。"));
    QCOMPARE(f.row(1), line);
    QCOMPARE(f->rowCount(), 3);
    QCOMPARE(f.row(2), QStringList(4, QString()));
    QCOMPARE(f->text(OrderField::Total), line[3]);
    QCOMPARE(focus.size(), 1);
    QCOMPARE(focus[0][0].value<OrderField>(), OrderField::DishCode);
    QCOMPARE(focus[0][1].toBool(), true);

    // The same dish again makes a second line; lines never merge.
    QVERIFY(f.pick(code, quantity));
    QCOMPARE(f->rowCount(), 4);
    QCOMPARE(f.row(2), line);
}

void TestOrderForm::pickingNeedsASelectionAndAnAnswer() {
    Form f;
    QVERIFY(!f->pickDish()); // no candidates
    QCOMPARE(f.platform.shown.size(), 0);
    f->setText(OrderField::DishCode, QStringLiteral("108"));
    f.platform.textAnswers.enqueue(std::nullopt); // Esc
    QVERIFY(!f->pickDish());
    QCOMPARE(f->rowCount(), 2);
    f->selectCandidate(-1);
    QVERIFY(!f->pickDish());
    QCOMPARE(f.platform.shown.size(), 1);
}

// A quantity typed after a star in the code box, or the setting "数量默认 1，不再询问", adds the line
// without the question; otherwise the question stays. A typed quantity still meets the cell's limit.
void TestOrderForm::quantityWithoutTheQuestion_data() {
    QTest::addColumn<bool>("withoutAsking");
    QTest::addColumn<QString>("code");
    QTest::addColumn<bool>("asked");
    QTest::addColumn<QString>("quantity"); // in the line; empty when no line was added
    QTest::newRow("asked as before") << false << "108" << true << "3";
    QTest::newRow("typed quantity") << false << "108*2" << false << "2";
    QTest::newRow("full-width star") << false << "108＊2" << false << "2";
    QTest::newRow("star without quantity asks") << false << "108*" << true << "3";
    QTest::newRow("setting on") << true << "108" << false << "1";
    QTest::newRow("setting on, typed quantity") << true << "108*4" << false << "4";
    QTest::newRow("typed quantity too large") << false << "108*99999999" << false << "";
}

void TestOrderForm::quantityWithoutTheQuestion() {
    QFETCH(bool, withoutAsking);
    QFETCH(QString, code);
    QFETCH(bool, asked);
    QFETCH(QString, quantity);
    Form f;
    f->setQuantityWithoutAsking(withoutAsking);
    f->setText(OrderField::DishCode, code);
    QCOMPARE(f->candidates().size(), 1);
    f.platform.textAnswers.enqueue(QStringLiteral("3"));
    QCOMPARE(f->pickDish(), !quantity.isEmpty());
    const bool questionShown =
        std::any_of(f.platform.shown.begin(), f.platform.shown.end(),
                    [](const auto& m) { return m.caption == QStringLiteral("菜品选择"); });
    QCOMPARE(questionShown, asked);
    if (quantity.isEmpty()) {
        QCOMPARE(f->rowCount(), 2);
        return;
    }
    QCOMPARE(f.row(1).mid(0, 2), (QStringList{QStringLiteral("空心菜"), quantity}));
}

void TestOrderForm::editedCellsFollowTheLineRules() {
    Form f;
    QVERIFY(f.pick("108", "2"));
    f->editCell(1, OrderForm::AmountColumn, QStringLiteral("20"));
    QCOMPARE(f.row(1), (QStringList{"空心菜", "2", "份", "20"}));
    f->editCell(1, OrderForm::AmountColumn, QStringLiteral("19.96"));
    QCOMPARE(f->cell(1, OrderForm::AmountColumn), QStringLiteral("20"));
    QCOMPARE(f->text(OrderField::Total), QStringLiteral("20"));
    f->editCell(1, OrderForm::QuantityColumn, QStringLiteral("3"));
    QCOMPARE(f.row(1), (QStringList{"空心菜", "3", "份", "54"}));

    // A name typed by hand that is not in the catalogue: no unit, amount 0 until one is typed.
    f->editCell(2, OrderForm::NameColumn, QStringLiteral("自带酒水"));
    QCOMPARE(f.row(2), (QStringList{"自带酒水", "1", "", "0"}));
    QCOMPARE(f->rowCount(), 4);
    f->editCell(2, OrderForm::AmountColumn, QStringLiteral("12"));
    QCOMPARE(f->text(OrderField::Total), QStringLiteral("66"));
    f->editCell(2, OrderForm::QuantityColumn, QStringLiteral("2"));
    QCOMPARE(f.row(2), (QStringList{"自带酒水", "2", "", "0"}));

    // Renaming a line to an unknown dish drops the old unit with the old price.
    f->editCell(1, OrderForm::NameColumn, QStringLiteral("手写菜"));
    QCOMPARE(f.row(1), (QStringList{"手写菜", "3", "", "0"}));
    // Full-width digits read as numbers.
    f->editCell(1, OrderForm::NameColumn, QStringLiteral("王老吉"));
    f->editCell(1, OrderForm::QuantityColumn, QStringLiteral("２"));
    QCOMPARE(f.row(1), (QStringList{"王老吉", "2", "瓶", "7"}));
}

// A number beyond what a line can hold is refused with the field's message and the line stays as it was;
// it never turns into infinity, and from there into 0.
void TestOrderForm::oversizedNumbersAreRefused_data() {
    QTest::addColumn<int>("column");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("message");
    const QString quantity = QStringLiteral("数量超出设定，请将数量控制在 100000 以内。");
    const QString amount = QStringLiteral("小计超出设定，请将小计控制在 1000000 以内。");
    QTest::newRow("quantity 1e308") << int(OrderForm::QuantityColumn) << "1e308" << quantity;
    QTest::newRow("quantity beyond a double") << int(OrderForm::QuantityColumn) << "1e309" << quantity;
    QTest::newRow("quantity 100001") << int(OrderForm::QuantityColumn) << "100001" << quantity;
    QTest::newRow("quantity -100001") << int(OrderForm::QuantityColumn) << "-100001" << quantity;
    QTest::newRow("quantity 100000 fits") << int(OrderForm::QuantityColumn) << "100000" << QString();
    QTest::newRow("amount 1e308") << int(OrderForm::AmountColumn) << "1e308" << amount;
    QTest::newRow("amount 1000000 fits") << int(OrderForm::AmountColumn) << "1000000" << QString();
}

void TestOrderForm::oversizedNumbersAreRefused() {
    QFETCH(int, column);
    QFETCH(QString, typed);
    QFETCH(QString, message);
    Form f;
    QVERIFY(f.pick("108", "2"));
    f->editCell(1, column, typed);
    if (message.isEmpty()) {
        QVERIFY(f.platform.texts().isEmpty());
        QCOMPARE(f->cell(1, column), typed);
        return;
    }
    QCOMPARE(f.platform.texts(), QStringList{message});
    QCOMPARE(f.row(1), (QStringList{"空心菜", "2", "份", "36"}));
    QCOMPARE(f->text(OrderField::Total), QStringLiteral("36"));
    if (column != OrderForm::QuantityColumn)
        return;
    // The quantity prompt refuses the same numbers: no line is added.
    QVERIFY(!f.pick("105", typed));
    QCOMPARE(f.platform.texts(), (QStringList{message, message}));
    QCOMPARE(f->rowCount(), 3);
}

// One-line fields turn a pasted line break into a space; the receipt would otherwise run the lines together.
void TestOrderForm::pastedLineBreaksBecomeSpaces() {
    Form f;
    f->setText(OrderField::Address, QStringLiteral("幸福路 1 号\r\n3 单元\n502"));
    QCOMPARE(f->text(OrderField::Address), QStringLiteral("幸福路 1 号 3 单元 502"));
    f->setText(OrderField::Note, QStringLiteral("少辣\r不要葱"));
    QCOMPARE(f->values().note, QStringLiteral("少辣 不要葱"));
    f->editCell(1, OrderForm::NameColumn, QStringLiteral("自带\n酒水"));
    QCOMPARE(f->cell(1, OrderForm::NameColumn), QStringLiteral("自带 酒水"));
}

void TestOrderForm::cellsEditableByRule_data() {
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("column");
    QTest::addColumn<bool>("editable");
    QTest::newRow("header") << 0 << 0 << false;
    QTest::newRow("line name") << 1 << 0 << true;
    QTest::newRow("line quantity") << 1 << 1 << true;
    QTest::newRow("line unit") << 1 << 2 << false;
    QTest::newRow("line amount") << 1 << 3 << true;
    QTest::newRow("entry row name") << 2 << 0 << true;
    QTest::newRow("entry row quantity") << 2 << 1 << false;
    QTest::newRow("entry row amount") << 2 << 3 << false;
    QTest::newRow("past the end") << 3 << 0 << false;
}

void TestOrderForm::cellsEditableByRule() {
    QFETCH(int, row);
    QFETCH(int, column);
    QFETCH(bool, editable);
    Form f;
    QVERIFY(f.pick("108", "1"));
    QCOMPARE(f->canEditCell(row, column), editable);
    f->setCursor(row, column);
    QCOMPARE(f->offersLineMenu(), row == 1);
}

void TestOrderForm::deleteLineAsksAndMovesRowsUp() {
    Form f;
    QVERIFY(f.pick("108", "2"));
    QVERIFY(f.pick("105", "2"));
    QVERIFY(f.pick("104", "1"));
    f->setCursor(4, 0); // the entry row: nothing to delete, no question
    QVERIFY(!f->deleteLine());
    QCOMPARE(f.platform.shown.size(), 3);

    f->setCursor(1, 0);
    f.platform.yesNoAnswers.enqueue(false);
    QVERIFY(!f->deleteLine());
    QCOMPARE(f->rowCount(), 5);
    QCOMPARE(f.platform.shown.last().text, QStringLiteral("是否删除光标所在的整行数据。"));
    QCOMPARE(f.platform.shown.last().icon, MessageIcon::Question);
    QCOMPARE(f.platform.shown.last().caption, defaultCaption);

    f.platform.yesNoAnswers.enqueue(true);
    QVERIFY(f->deleteLine());
    QCOMPARE(f->rowCount(), 4);
    QCOMPARE(f->cursorRow(), 1);
    QCOMPARE(f->cell(1, 0), QStringLiteral("王老吉"));
    QCOMPARE(f->text(OrderField::Total), QStringLiteral("12"));
}

void TestOrderForm::deletingALineKeepsTheOtherLinesAsTyped_data() {
    QTest::addColumn<int>("cursorColumn");
    QTest::newRow("cursor on the name") << int(OrderForm::NameColumn);
    QTest::newRow("cursor on the amount") << int(OrderForm::AmountColumn);
}

void TestOrderForm::deletingALineKeepsTheOtherLinesAsTyped() {
    QFETCH(int, cursorColumn);
    Form f;
    f.choose(OrderField::PaymentMethod, QStringLiteral("现金支付"));
    QVERIFY(f.pick("108", "2"));
    f->editCell(2, OrderForm::NameColumn, QStringLiteral("自带酒水"));
    f->editCell(2, OrderForm::AmountColumn, QStringLiteral("12"));
    QVERIFY(f.pick("108", "1"));
    f->editCell(3, OrderForm::AmountColumn, QStringLiteral("15"));
    QCOMPARE(f.amounts(), (QStringList{"63", "63", "63"}));

    f->setCursor(1, cursorColumn);
    f.platform.yesNoAnswers.enqueue(true);
    QVERIFY(f->deleteLine());
    QCOMPARE(f.row(1), (QStringList{"自带酒水", "1", "", "12"}));
    QCOMPARE(f.row(2), (QStringList{"空心菜", "1", "份", "15"}));
    QCOMPARE(f.amounts(), (QStringList{"27", "27", "27"}));

    // A line whose name was erased keeps its amount in the total, so it can still be deleted.
    f->editCell(1, OrderForm::NameColumn, QString());
    QCOMPARE(f.amounts(), (QStringList{"27", "27", "27"}));
    f->setCursor(1, cursorColumn);
    f.platform.yesNoAnswers.enqueue(true);
    QVERIFY(f->deleteLine());
    QCOMPARE(f.row(1), (QStringList{"空心菜", "1", "份", "15"}));
    QCOMPARE(f.amounts(), (QStringList{"15", "15", "15"}));
}

void TestOrderForm::totalsFollowLinesDiscountAndPayment() {
    Form f;
    f.choose(OrderField::PaymentMethod, QStringLiteral("现金支付"));
    f.choose(OrderField::DiscountName, QStringLiteral("立减优惠"));
    f->setText(OrderField::DiscountAmount, QStringLiteral("10"));
    QCOMPARE(f.amounts(), QStringList(3, QString())); // no lines yet: nothing changes
    QVERIFY(f.pick("108", "2"));                      // 36
    QVERIFY(f.pick("004", "1"));                      // 16
    QCOMPARE(f.amounts(), (QStringList{"42", "42", "42"}));

    // The portions never change an amount.
    f->setText(OrderField::DiscountCount, QStringLiteral("3"));
    QCOMPARE(f.amounts(), (QStringList{"42", "42", "42"}));

    // "无" is no discount: choosing it recomputes at once.
    f->fillChoiceList(OrderField::DiscountName);
    f->chooseItem(OrderField::DiscountName, 0);
    QCOMPARE(f.amounts(), (QStringList{"52", "52", "52"}));
    f.choose(OrderField::DiscountName, QStringLiteral("开业酬宾"));
    QCOMPARE(f.amounts(), (QStringList{"42", "42", "42"}));
    f->setText(OrderField::DiscountAmount, QStringLiteral("2.5"));
    QCOMPARE(f.amounts(), (QStringList{"49.5", "49.5", "49.5"}));
}

void TestOrderForm::payOnDeliveryKeepsPaidEmpty() {
    Form f;
    f.choose(OrderField::PaymentMethod, QStringLiteral("到付"));
    f->setText(OrderField::DiscountAmount, QStringLiteral("10"));
    QVERIFY(f.pick("108", "2"));
    QCOMPARE(f.amounts(), (QStringList{"36", "", "36"}));
    f.choose(OrderField::DiscountName, QStringLiteral("立减优惠"));
    QCOMPARE(f.amounts(), (QStringList{"26", "", "26"}));
    QVERIFY(f.pick("105", "2"));
    f->setCursor(2, 0);
    f.platform.yesNoAnswers.enqueue(true);
    QVERIFY(f->deleteLine());
    QCOMPARE(f.amounts(), (QStringList{"26", "", "26"}));
    f.choose(OrderField::PaymentMethod, QStringLiteral("现金支付"));
    QCOMPARE(f.amounts(), (QStringList{"26", "26", "26"}));
    // No payment method at all behaves as pay on delivery.
    f->selectItemText(OrderField::PaymentMethod, QString());
    f->setText(OrderField::ToPay, QStringLiteral("26"));
    QCOMPARE(f->text(OrderField::Paid), QString());
}

void TestOrderForm::typedToPayDecidesPaid() {
    Form f;
    f.choose(OrderField::PaymentMethod, QStringLiteral("现金支付"));
    QVERIFY(f.pick("108", "2"));
    QVERIFY(f.pick("004", "1"));
    f.choose(OrderField::DiscountName, QStringLiteral("立减优惠"));
    f->setText(OrderField::DiscountAmount, QStringLiteral("10"));
    f->setText(OrderField::ToPay, QStringLiteral("50"));
    QCOMPARE(f.amounts(), (QStringList{"42", "50", "50"}));
    f->setText(OrderField::ToPay, QStringLiteral("42.00"));
    QCOMPARE(f.amounts(), (QStringList{"42", "42", "42.00"}));
    // Typing into the total or paid changes no other field.
    f->setText(OrderField::Total, QStringLiteral("40"));
    f->setText(OrderField::Paid, QStringLiteral("1"));
    QCOMPARE(f.amounts(), (QStringList{"40", "1", "42.00"}));
}

void TestOrderForm::writingAFieldRunsItsRuleEvenUnchanged() {
    Form f;
    f.choose(OrderField::PaymentMethod, QStringLiteral("现金支付"));
    QVERIFY(f.pick("108", "2"));
    f->setText(OrderField::Paid, QStringLiteral("5"));
    f->setText(OrderField::ToPay, f->text(OrderField::ToPay));
    QCOMPARE(f->text(OrderField::Paid), QStringLiteral("36"));

    // Selecting an item from the program runs no rule.
    QSignalSpy preview(f.form.get(), &OrderForm::previewRefreshRequested);
    f->selectItemText(OrderField::PaymentMethod, QStringLiteral("到付"));
    QCOMPARE(f->text(OrderField::PaymentMethod), QStringLiteral("到付"));
    QCOMPARE(f->text(OrderField::Paid), QStringLiteral("36"));
    f->fillChoiceList(OrderField::DiscountName);
    f->selectItemText(OrderField::DiscountName, QStringLiteral("立减优惠"));
    QCOMPARE(f->text(OrderField::Total), QStringLiteral("36"));
    QCOMPARE(preview.size(), 0);
    // The user's choice runs it and refreshes the preview.
    f.choose(OrderField::PaymentMethod, QStringLiteral("微信支付"));
    QCOMPARE(f->text(OrderField::Paid), QStringLiteral("36"));
    QCOMPARE(preview.size(), 1);
}

void TestOrderForm::discountChangesNeedLines() {
    Form f;
    f.choose(OrderField::PaymentMethod, QStringLiteral("现金支付"));
    f.choose(OrderField::DiscountName, QStringLiteral("立减优惠"));
    f->setText(OrderField::DiscountAmount, QStringLiteral("5"));
    QCOMPARE(f.amounts(), QStringList(3, QString()));
}

void TestOrderForm::deletingTheOnlyLineLeavesMinusTheDiscount() {
    Form f;
    f.choose(OrderField::PaymentMethod, QStringLiteral("现金支付"));
    f.choose(OrderField::DiscountName, QStringLiteral("立减优惠"));
    f->setText(OrderField::DiscountAmount, QStringLiteral("10"));
    QVERIFY(f.pick("108", "1"));
    f->setCursor(1, 0);
    f.platform.yesNoAnswers.enqueue(true);
    QVERIFY(f->deleteLine());
    QCOMPARE(f->rowCount(), 2);
    QCOMPARE(f.amounts(), (QStringList{"-10", "-10", "-10"}));
    f->setText(OrderField::DiscountAmount, QStringLiteral("3"));
    QCOMPARE(f.amounts(), (QStringList{"-10", "-10", "-10"}));
}

void TestOrderForm::customerFillsOnTheWholeNumber() {
    Form f;
    Database& db = f.home.db();
    QVERIFY(
        db.exec(QStringLiteral("INSERT INTO 客户 (电话, 姓名, 地址) VALUES ('13800', '张三', '一号路')")));
    QVERIFY(
        db.exec(QStringLiteral("INSERT INTO 客户 (电话, 姓名, 地址) VALUES ('13800', '李四', '二号路')")));
    QVERIFY(
        db.exec(QStringLiteral("INSERT INTO 客户 (电话, 姓名, 地址) VALUES ('O''Neil', '欧', '三号路')")));
    const QString number = QStringLiteral("13800");
    for (int n = 1; n < number.size(); ++n) {
        f->setText(OrderField::Telephone, number.left(n));
        QCOMPARE(f->text(OrderField::CustomerName), QString());
    }
    f->setText(OrderField::Telephone, QStringLiteral(" 13800 "));
    QCOMPARE(f->text(OrderField::CustomerName), QStringLiteral("张三"));
    QCOMPARE(f->text(OrderField::Address), QStringLiteral("一号路"));
    f->setText(OrderField::CustomerName, QStringLiteral("typed"));
    f->setText(OrderField::Telephone, QStringLiteral("138001"));
    QCOMPARE(f->text(OrderField::CustomerName), QString());
    QCOMPARE(f->text(OrderField::Address), QString());
    f->setText(OrderField::Telephone, QStringLiteral("O'Neil"));
    QCOMPARE(f->text(OrderField::Address), QStringLiteral("三号路"));
    // A customer kept without a telephone is not filled in when the field is emptied.
    QVERIFY(db.exec(QStringLiteral("INSERT INTO 客户 (电话, 姓名, 地址) VALUES ('', '无名', '四号路')")));
    f->setText(OrderField::Telephone, QStringLiteral(" "));
    QCOMPARE(f->text(OrderField::CustomerName), QString());
    QCOMPARE(f->text(OrderField::Address), QString());
}

void TestOrderForm::saveCustomerStoresOnceAndSilently() {
    Form f;
    auto count = [&] {
        QSqlQuery q = f.home.db().prepare(QStringLiteral("SELECT count(*), max(姓名), max(地址) FROM 客户"));
        q.exec();
        q.next();
        return QStringList{q.value(0).toString(), q.value(1).toString(), q.value(2).toString()};
    };
    f->setText(OrderField::Telephone, QStringLiteral("  "));
    f->setText(OrderField::Address, QStringLiteral("一号路"));
    f->saveCustomer();
    f->setText(OrderField::Telephone, QStringLiteral("139"));
    f->saveCustomer(); // neither name nor address
    QCOMPARE(count()[0], QStringLiteral("0"));
    f->setText(OrderField::Address, QStringLiteral(" 汤臣'一品 "));
    f->saveCustomer();
    QCOMPARE(count(), (QStringList{"1", "", "汤臣'一品"}));
    f->setText(OrderField::CustomerName, QStringLiteral("王五"));
    f->saveCustomer();
    QCOMPARE(count(), (QStringList{"1", "", "汤臣'一品"}));
    QCOMPARE(f.platform.shown.size(), 0);
}

// With "电话后四位查找顾客" on, four digits that end exactly one customer's telephone fill the customer; the
// order takes the whole number, and the field shows it once left. Anything else finds only whole numbers.
void TestOrderForm::telephoneTailFindsTheCustomer_data() {
    QTest::addColumn<bool>("on");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("name");      // filled in while the field holds `typed`
    QTest::addColumn<QString>("telephone"); // what the order takes, and the field after leaving it
    QTest::addColumn<QString>("hint");
    QTest::newRow("one customer") << true << "8000"
                                  << "张三"
                                  << "13800138000"
                                  << "尾号 8000：13800138000";
    QTest::newRow("setting off") << false << "8000"
                                 << ""
                                 << "8000"
                                 << "";
    QTest::newRow("two customers") << true << "1234"
                                   << ""
                                   << "1234"
                                   << "尾号 1234 不止一位顾客，请输入完整号码";
    QTest::newRow("a whole number of four digits") << true << "5678"
                                                   << "门卫"
                                                   << "5678"
                                                   << "";
    QTest::newRow("five digits") << true << "38000"
                                 << ""
                                 << "38000"
                                 << "";
    QTest::newRow("nobody") << true << "9999"
                            << ""
                            << "9999"
                            << "";
    QTest::newRow("a wildcard is no digit") << true << "%000"
                                            << ""
                                            << "%000"
                                            << "";
}

void TestOrderForm::telephoneTailFindsTheCustomer() {
    QFETCH(bool, on);
    QFETCH(QString, typed);
    QFETCH(QString, name);
    QFETCH(QString, telephone);
    QFETCH(QString, hint);
    Form f;
    for (const char* row :
         {"('13800138000', '张三', '一号路')", "('13900001234', '李四', '二号路')",
          "('13700001234', '王五', '三号路')", "('5678', '门卫', '')", "('13600005678', '赵六', '四号路')"})
        QVERIFY(f.home.db().exec(QStringLiteral("INSERT INTO 客户 (电话, 姓名, 地址) VALUES ") +
                                 QString::fromUtf8(row)));
    f->setTelephoneTail(on);
    f->setText(OrderField::Telephone, typed);
    QCOMPARE(f->text(OrderField::CustomerName), name);
    QCOMPARE(f->values().telephone, telephone);
    QCOMPARE(f->statusNotice(), hint);
    f->fieldLeft(OrderField::Telephone);
    QCOMPARE(f->text(OrderField::Telephone), telephone);
    QCOMPARE(f->text(OrderField::CustomerName), name);
    // Typing on past the four digits drops what they found.
    f->setText(OrderField::Telephone, typed + QStringLiteral("0"));
    QCOMPARE(f->values().telephone, typed + QStringLiteral("0"));
    QCOMPARE(f->statusNotice(), QString());
}

void TestOrderForm::tableChosenByTypedCode_data() {
    QTest::addColumn<QString>("code");
    QTest::addColumn<int>("items");
    QTest::addColumn<QString>("chosen");
    QTest::newRow("plate 1 at once") << "1" << 1 << "号牌 1";
    QTest::newRow("plate 10") << "10" << 10 << "号牌 10";
    QTest::newRow("table 101 after the ten plates") << "101" << 11 << "桌号 2楼1桌";
    QTest::newRow("room 204, the last") << "204" << 18 << "包厢 蓬莱阁";
    QTest::newRow("unknown code") << "999" << 18 << "";
    QTest::newRow("not trimmed") << " 1" << 18 << "";
    QTest::newRow("empty") << "" << 18 << "";
}

void TestOrderForm::tableChosenByTypedCode() {
    QFETCH(QString, code);
    QFETCH(int, items);
    QFETCH(QString, chosen);
    Form f;
    f->setText(OrderField::TableCode, QStringLiteral("1"));
    f->setText(OrderField::TableCode, code);
    QCOMPARE(f->choices(OrderField::TableName).items.size(), items);
    QCOMPARE(f->text(OrderField::TableName), chosen);
    // Opening the list refills it from the table and keeps the chosen name.
    f->fillChoiceList(OrderField::TableName);
    QCOMPARE(f->choices(OrderField::TableName).items.size(), 19);
    QCOMPARE(f->text(OrderField::TableName), chosen);
}

void TestOrderForm::choiceListsRefillAndKeepTheirText() {
    Form f;
    const ChoiceList& shops = f->choices(OrderField::ShopName);
    QCOMPARE(shops.items.first(), QString());
    QCOMPARE(shops.items.size(), 6);
    QCOMPARE(f->text(OrderField::ShopName), QStringLiteral("白云快餐"));
    QVERIFY(f.home.db().exec(QStringLiteral("INSERT INTO 店名 (店铺名称) VALUES ('新店')")));
    f->fillChoiceList(OrderField::ShopName);
    QCOMPARE(shops.items.last(), QStringLiteral("新店"));
    QCOMPARE(f->text(OrderField::ShopName), QStringLiteral("白云快餐"));
    QVERIFY(f.home.db().exec(QStringLiteral("DELETE FROM 店名 WHERE 店铺名称 = '白云快餐'")));
    f->fillChoiceList(OrderField::ShopName);
    QCOMPARE(f->text(OrderField::ShopName), QString());
}

void TestOrderForm::storedTextSelection_data() {
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("shown");
    QTest::newRow("an item") << "美团(第1联)"
                             << "美团(第1联)";
    QTest::newRow("empty clears") << ""
                                  << "";
    QTest::newRow("无 clears") << "无"
                               << "";
    QTest::newRow("no item keeps") << "不存在"
                                   << "微信点餐";
}

void TestOrderForm::storedTextSelection() {
    QFETCH(QString, stored);
    QFETCH(QString, shown);
    Form f;
    QCOMPARE(f->text(OrderField::TicketHeader), QStringLiteral("微信点餐"));
    f->selectItemText(OrderField::TicketHeader, stored);
    QCOMPARE(f->text(OrderField::TicketHeader), shown);
}

void TestOrderForm::choicesSurviveARestart() {
    TempHome home;
    FakePlatform platform;
    {
        OrderForm form(home.db(), platform, 1);
        for (OrderField field : {OrderField::TicketHeader, OrderField::ShopName, OrderField::DiscountName})
            form.fillChoiceList(field);
        form.restoreChoices(RecordStore(home.db()));
        // A fresh database keeps no discount amount: the field starts empty.
        QCOMPARE(form.text(OrderField::DiscountAmount), QString());
        form.chooseItem(OrderField::DiscountName, 2);
        form.chooseItem(OrderField::PaymentMethod, 4);
        form.setText(OrderField::DiscountCount, QStringLiteral("2"));
        form.setText(OrderField::DiscountAmount, QStringLiteral("8'5"));
        form.setText(OrderField::Telephone, QStringLiteral("139"));
        form.saveChoices(RecordStore(home.db()));
    }
    QVERIFY(RecordStore(home.db()).write(QStringLiteral("时间格式"), QStringLiteral("1")));
    OrderForm form(home.db(), platform, 1);
    for (OrderField field : {OrderField::TicketHeader, OrderField::ShopName, OrderField::DiscountName})
        form.fillChoiceList(field);
    form.restoreChoices(RecordStore(home.db()));
    QCOMPARE(form.text(OrderField::DiscountName), QStringLiteral("整单折扣"));
    QCOMPARE(form.text(OrderField::PaymentMethod), QStringLiteral("到付"));
    QCOMPARE(form.text(OrderField::DiscountCount), QStringLiteral("2"));
    QCOMPARE(form.text(OrderField::DiscountAmount), QStringLiteral("8'5"));
    QCOMPARE(form.text(OrderField::TicketHeader), QStringLiteral("微信点餐"));
    QCOMPARE(form.text(OrderField::Telephone), QString());
    QCOMPARE(form.timeFormat(), 1);
}

void TestOrderForm::todayTotalsCountTheDayHalfOpen() {
    Form f;
    f.addOrder(7, QStringLiteral("2026-03-13 23:59:59"), 100);
    f.addOrder(1, QStringLiteral("2026-03-14 00:00:00"), 12.5);
    f.addOrder(2, QStringLiteral("2026-03-14 12:00:00"), 30);
    f.addOrder(3, QStringLiteral("2026-03-14 23:59:59"), 0.1);
    f.addOrder(9, QStringLiteral("2026-03-15 00:00:00"), 1000);
    const TodayTotals totals = todayTotals(f.home.db(), QDate(2026, 3, 14));
    QCOMPARE(totals.maxNumber, 3);
    QCOMPARE(totals.count, 3);
    QCOMPARE(totals.income, 42.6);
    QCOMPARE(totals.nextNumber(), 4);
    const TodayTotals empty = todayTotals(f.home.db(), QDate(2026, 3, 16));
    QCOMPARE(empty.nextNumber(), 1);
    QCOMPARE(empty.count, 0);
    QCOMPARE(empty.income, 0.0);
}

void TestOrderForm::clockRollsOverAtMidnight() {
    Form f;
    f.addOrder(5, QStringLiteral("2026-03-14 11:00:00"), 20.5);
    f->refreshTodayTotals();
    QCOMPARE(f->text(OrderField::OrderNumber), QStringLiteral("6"));
    QCOMPARE(f->countStatusText(), QStringLiteral("今日打单数量：1"));
    QCOMPARE(f->incomeStatusText(), QStringLiteral("今日收入总额：20.5"));

    QVERIFY(f.pick("108", "1")); // an order half typed at midnight
    f.platform.clock = QDateTime(QDate(2026, 3, 14), QTime(23, 59, 59));
    f->tick();
    QCOMPARE(f->text(OrderField::OrderNumber), QStringLiteral("6"));
    QCOMPARE(f->text(OrderField::OrderTime), QStringLiteral("03-14 23:59"));
    QSignalSpy totals(f.form.get(), &OrderForm::todayTotalsChanged);
    f.platform.clock = QDateTime(QDate(2026, 3, 15), QTime(0, 0, 0));
    f->tick();
    QCOMPARE(totals.size(), 1);
    QCOMPARE(f->today(), QDate(2026, 3, 15));
    QCOMPARE(f->text(OrderField::OrderNumber), QStringLiteral("1"));
    QCOMPARE(f->countStatusText(), QStringLiteral("今日打单数量：0"));
    QCOMPARE(f->incomeStatusText(), QStringLiteral("今日收入总额：0"));
    QCOMPARE(f->text(OrderField::OrderTime), QStringLiteral("03-15 00:00"));
    QCOMPARE(f->cell(1, 0), QStringLiteral("空心菜"));
    f->tick();
    QCOMPARE(totals.size(), 1);
}

void TestOrderForm::clockLeavesTheTimeOfAnOrderOpenForChange() {
    Form f;
    f->setTimeFormat(2);
    f->enterModifyMode(QStringLiteral("17"));
    QVERIFY(f->isModifying());
    QCOMPARE(f->settleCaption(), QStringLiteral("修改(F12)"));
    QCOMPARE(f->text(OrderField::OrderId), QStringLiteral("17"));
    f->showOrderTime(QDateTime(QDate(2025, 1, 2), QTime(3, 4)));
    f.platform.clock = QDateTime(QDate(2026, 3, 15), QTime(9, 0));
    f->tick();
    QCOMPARE(f->text(OrderField::OrderTime), QStringLiteral("2025-01-02 03:04"));
    QCOMPARE(f->text(OrderField::OrderNumber), QStringLiteral("1"));
    f->resetForm();
    QCOMPARE(f->modifyingId(), QStringLiteral("17"));
    QVERIFY(!f->isModifying());
    f->tick();
    QCOMPARE(f->text(OrderField::OrderTime), QStringLiteral("2026-03-15 09:00"));
}

void TestOrderForm::resetKeepsTheChoicesAndEmptiesTheOrder() {
    Form f;
    f.choose(OrderField::PaymentMethod, QStringLiteral("现金支付"));
    f.choose(OrderField::DiscountName, QStringLiteral("立减优惠"));
    f->setText(OrderField::DiscountAmount, QStringLiteral("3"));
    QVERIFY(f.pick("108", "1"));
    f->setText(OrderField::TableCode, QStringLiteral("101"));
    f->setText(OrderField::Telephone, QStringLiteral("139"));
    f->setText(OrderField::CustomerName, QStringLiteral("王"));
    f->setText(OrderField::Address, QStringLiteral("路"));
    f->setText(OrderField::Note, QStringLiteral("少辣"));
    f->setSettleVisible(false);
    f.addOrder(3, QStringLiteral("2026-03-14 10:00:00"), 9);
    f->resetForm();
    QCOMPARE(f->rowCount(), 2);
    QCOMPARE(f.amounts(), QStringList(3, QString()));
    for (OrderField field : {OrderField::TableCode, OrderField::TableName, OrderField::Telephone,
                             OrderField::CustomerName, OrderField::Address, OrderField::Note})
        QCOMPARE(f->text(field), QString());
    QCOMPARE(f->choices(OrderField::TableName).items.size(), 18);
    QCOMPARE(f->text(OrderField::OrderNumber), QStringLiteral("4"));
    QVERIFY(f->settleVisible());
    QCOMPARE(f->settleCaption(), QStringLiteral("打单结算(F12)"));
    QCOMPARE(f->text(OrderField::PaymentMethod), QStringLiteral("现金支付"));
    QCOMPARE(f->text(OrderField::DiscountName), QStringLiteral("立减优惠"));
    QCOMPARE(f->text(OrderField::DiscountAmount), QStringLiteral("3"));
    QCOMPARE(f->text(OrderField::DishCode), QStringLiteral("108"));
    QCOMPARE(f->candidates().size(), 1);
}

void TestOrderForm::valuesSnapshotTheFields() {
    Form f;
    QVERIFY(f.pick("108", "2"));
    f->setText(OrderField::TableCode, QStringLiteral("201"));
    f->setText(OrderField::Note, QStringLiteral("多饭"));
    f->setLoadedLines({{"甲", "1", "份", "5"}});
    const OrderFormValues v = f->values();
    QCOMPARE(v.lines.size(), 2);
    QCOMPARE(v.lines[0].name, QStringLiteral("甲"));
    QCOMPARE(v.lines[1].name, QString());
    QCOMPARE(v.total, QStringLiteral("36")); // loaded lines are not recalculated
    QCOMPARE(v.tableCode, QStringLiteral("201"));
    QCOMPARE(v.tableName, QStringLiteral("包厢 滕王阁"));
    QCOMPARE(v.ticketHeader, QStringLiteral("微信点餐"));
    QCOMPARE(v.note, QStringLiteral("多饭"));
    QCOMPARE(v.orderNumber, QStringLiteral("1"));
}

void TestOrderForm::otherTillsOrdersMoveTheFigures_data() {
    QTest::addColumn<QString>("form"); // what the form shows when another till stores an order
    QTest::addColumn<QString>("number");
    QTest::newRow("the proposed number of a new order") << "proposed"
                                                        << "3";
    QTest::newRow("a number typed by the cashier") << "typed"
                                                   << "8";
    QTest::newRow("an order open for change") << "change"
                                              << "2";
    QTest::newRow("an order stored, not printed") << "stored"
                                                  << "2";
}

// Another till stored an order: today's figures follow at once; the number shown follows only while it is
// the program's own proposal for a new order.
void TestOrderForm::otherTillsOrdersMoveTheFigures() {
    QFETCH(QString, form);
    QFETCH(QString, number);
    Form f;
    f.addOrder(1, QStringLiteral("2026-03-14 11:00:00"), 20);
    f->refreshTodayTotals();
    QCOMPARE(f->text(OrderField::OrderNumber), QStringLiteral("2"));
    if (form == QStringLiteral("typed"))
        f->setText(OrderField::OrderNumber, QStringLiteral("8"));
    if (form == QStringLiteral("change"))
        f->enterModifyMode(QStringLiteral("1"));
    if (form == QStringLiteral("stored"))
        f->setNotice(QStringLiteral("已保存，未打印：按 F11 打印"));
    f.addOrder(2, QStringLiteral("2026-03-14 11:05:00"), 10.5);
    f->refreshAfterOtherTills();
    QCOMPARE(f->countStatusText(), QStringLiteral("今日打单数量：2"));
    QCOMPARE(f->incomeStatusText(), QStringLiteral("今日收入总额：30.5"));
    QCOMPARE(f->text(OrderField::OrderNumber), number);
}

QTEST_GUILESS_MAIN(TestOrderForm)
#include "tst_orderform.moc"
