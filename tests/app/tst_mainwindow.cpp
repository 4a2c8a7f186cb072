#include "app/helpdocuments.h"
#include "app/ui/mainwindow.h"
#include "order/orderform.h"
#include "store/database.h"
#include "store/settings.h"
#include "support/fakeplatform.h"
#include "support/temphome.h"
#include "support/widgetdriver.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QSignalSpy>
#include <QSqlQuery>
#include <QTableWidget>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QTreeView>

#include <memory>

using namespace qm;

namespace {

// The main window on a fresh template database, shown and active.
struct Window {
    TempHome home;
    FakePlatform platform;
    std::unique_ptr<MainWindow> window;

    Window() {
        window = std::make_unique<MainWindow>(home.db(), platform, home.home(), home.quantityDecimals());
        window->show();
        window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window.get()));
    }
    template <typename T = QWidget> T* find(const QString& name) const {
        T* found = window->findChild<T*>(name);
        if (!found)
            qWarning() << "missing control" << name;
        return found;
    }
    QLineEdit* edit(const QString& name) const { return find<QLineEdit>(name); }
    QComboBox* combo(const QString& name) const { return find<QComboBox>(name); }
    QTableWidget* grid() const { return find<QTableWidget>(QStringLiteral("高级表格1")); }
    QString gridText(int row, int column) const {
        QTableWidgetItem* item = grid()->item(row, column);
        return item ? item->text() : QString();
    }
};

} // namespace

class TestMainWindow : public QObject {
    Q_OBJECT
private slots:
    void controlsCarryTheirNames();
    void startsWithTheSavedChoicesAndTheNextNumber();
    void typedCodeAndEnterAddLine();
    void codeBoxKeysMoveTheCandidate();
    void gridEditsGoThroughTheLineRules();
    void deliveryAndTableFieldsFillAsTyped();
    void enterMovesAlongTheForm();
    void functionKeysActOnRelease();
    void everyControlIsReachedByKeyboard();
    void choiceListsRefillWhenOpened();
    void clockBlinksAndRollsOverAtMidnight();
    void helpLinksAndAboutGoThroughThePlatform();
    void smallSettingsWindowsReachTheForm();
    void closingSavesTheChoices();
};

void TestMainWindow::controlsCarryTheirNames() {
    Window w;
    QCOMPARE(w.window->windowTitle(), QStringLiteral("Quillmenu 3.2"));
    const QStringList edits = {"编辑框_编号",     "编辑框_时间",
                               "编辑框_减免份数", "编辑框_减免金额",
                               "编辑框_合计",     "编辑框_已支付",
                               "编辑框_实付",     "编辑框_项目代号",
                               "编辑框_时间2",    "编辑框_电话",
                               "编辑框_姓名",     "编辑框_地址",
                               "编辑框_备注",     "ID"};
    for (const QString& name : edits)
        QVERIFY2(w.edit(name), qPrintable(name));
    for (const QString& name :
         QStringList{"组合框_票头", "组合框_店铺名称", "组合框_减免", "组合框_付款方式", "组合框_桌号"})
        QVERIFY2(w.combo(name), qPrintable(name));
    const QStringList buttons = {"按钮_时间设置", "按钮_保存客户",  "按钮_随机数据", "按钮_预览",
                                 "按钮_清空",     "按钮_打单结算1", "按钮_打单结算"};
    for (const QString& name : buttons)
        QVERIFY2(w.find<QPushButton>(name), qPrintable(name));
    QCOMPARE(w.find<QPushButton>("按钮_打单结算")->text(), QStringLiteral("打单结算(F12)"));
    QCOMPARE(w.find<QPushButton>("按钮_清空")->text(), QStringLiteral("清空(F10)"));
    for (const QString& caption : QStringList{"已点商品(F6)", "折扣信息(F4)", "付款信息(F5)", "点单(F1)",
                                              "桌号/号牌(F2)", "配送信息(F3)", "备注信息(F7)"})
        QCOMPARE(w.find<QGroupBox>(caption)->title(), caption);
    QVERIFY(w.grid());
    QCOMPARE(w.grid()->rowCount(), 1);
    QCOMPARE(w.grid()->horizontalHeaderItem(3)->text(), QStringLiteral("小计"));
    QCOMPARE(w.grid()->columnWidth(0), 115);
    QVERIFY(w.find<QTreeView>("超级列表框2"));
    QCOMPARE(w.find<QLabel>("透明标签13")->text(), QStringLiteral("查看使用教程"));
    QCOMPARE(w.find<QLabel>("透明标签11")->text(), QStringLiteral("无法打印怎么办？"));
    QCOMPARE(w.find<QTimer>("时钟1")->interval(), 1000);
    QVERIFY(w.find<QTimer>("时钟1")->isActive());
    QVERIFY(w.find<QWidget>("状态条1"));

    auto* bar = w.find<QToolBar>("工具条2");
    QVERIFY(bar);
    QStringList captions;
    for (QAction* action : bar->actions())
        captions << (action->isSeparator() ? QStringLiteral("|") : action->text());
    QCOMPARE(captions, (QStringList{"历史单据(L)", "收入报表(R)", "销售统计(T)", "|", "顾客管理(G)",
                                    "商品管理(P)", "桌号管理(Z)", "|", "", "", "|"}));
    QStringList settings;
    for (QAction* action : w.find<QMenu>("设置菜单")->actions())
        settings << (action->isSeparator() ? QStringLiteral("|") : action->text());
    QCOMPARE(settings, (QStringList{"票头设置", "店名设置", "减免设置", "出品部门设置", "设置", "打印设置",
                                    "打开钱箱", "开店向导…", "|", "备份数据…", "恢复数据…", "|",
                                    "员工与权限…", "操作记录", "锁屏/换班(Ctrl+L)"}));
    for (auto entry :
         {MainWindow::Entry::History, MainWindow::Entry::Dishes, MainWindow::Entry::PrintSettings})
        QVERIFY(!w.window->entry(entry)->isEnabled());
}

void TestMainWindow::startsWithTheSavedChoicesAndTheNextNumber() {
    TempHome home;
    RecordStore records(home.db());
    records.write(QStringLiteral("付款方式"), QStringLiteral("微信支付"));
    records.write(QStringLiteral("减免"), QStringLiteral("立减优惠"));
    records.write(QStringLiteral("时间格式"), QStringLiteral("2"));
    QVERIFY(home.db().exec(
        QStringLiteral("INSERT INTO 存单 (编号, 时间, 实付) VALUES (4, '2026-03-14 08:00:00', 18)")));
    FakePlatform platform;
    MainWindow window(home.db(), platform, home.home(), home.quantityDecimals());
    auto text = [&](const char* name) { return window.findChild<QLineEdit*>(name)->text(); };
    QCOMPARE(text("编辑框_编号"), QStringLiteral("5"));
    QCOMPARE(text("编辑框_减免金额"), QString());
    QCOMPARE(text("编辑框_时间"), QStringLiteral("2026-03-14 12:30"));
    QCOMPARE(window.findChild<QComboBox*>("组合框_付款方式")->currentText(), QStringLiteral("微信支付"));
    QCOMPARE(window.findChild<QComboBox*>("组合框_减免")->currentText(), QStringLiteral("立减优惠"));
    QCOMPARE(window.findChild<QComboBox*>("组合框_票头")->currentText(), QStringLiteral("微信点餐"));
    QCOMPARE(window.findChild<QLabel*>("状态条1_数量")->text(), QStringLiteral("今日打单数量：1"));
    QCOMPARE(window.findChild<QLabel*>("状态条1_收入")->text(), QStringLiteral("今日收入总额：18"));
}

void TestMainWindow::typedCodeAndEnterAddLine() {
    Window w;
    QLineEdit* code = w.edit("编辑框_项目代号");
    code->setFocus();
    QTest::keyClicks(code, QStringLiteral("108"));
    auto* candidates = w.find<QTreeView>("超级列表框2");
    QCOMPARE(candidates->model()->rowCount(), 1);
    QCOMPARE(candidates->model()->index(0, 3).data().toString(), QStringLiteral("空心菜"));
    QCOMPARE(candidates->currentIndex().row(), 0);

    w.platform.textAnswers.enqueue(QStringLiteral("2"));
    QTest::keyClick(code, Qt::Key_Return);
    QCOMPARE(w.platform.shown.last().caption, QStringLiteral("菜品选择"));
    QCOMPARE(w.grid()->rowCount(), 2);
    QCOMPARE((QStringList{w.gridText(0, 0), w.gridText(0, 1), w.gridText(0, 2), w.gridText(0, 3)}),
             (QStringList{"空心菜", "2", "份", "36"}));
    QCOMPARE(w.edit("编辑框_合计")->text(), QStringLiteral("36"));
    QCOMPARE(QApplication::focusWidget(), code);
    QCOMPARE(code->selectedText(), QStringLiteral("108"));

    // Enter in the candidate list and a double click pick as well; Esc in the prompt adds nothing.
    candidates->setFocus();
    w.platform.textAnswers.enqueue(std::nullopt);
    QTest::keyClick(candidates, Qt::Key_Return);
    QCOMPARE(w.grid()->rowCount(), 2);
    w.platform.textAnswers.enqueue(QStringLiteral("1"));
    const QRect cell = candidates->visualRect(candidates->model()->index(0, 3));
    QTest::mouseClick(candidates->viewport(), Qt::LeftButton, {}, cell.center());
    QTest::mouseDClick(candidates->viewport(), Qt::LeftButton, {}, cell.center());
    QCOMPARE(w.grid()->rowCount(), 3);
    QCOMPARE(w.edit("编辑框_合计")->text(), QStringLiteral("54"));
}

void TestMainWindow::codeBoxKeysMoveTheCandidate() {
    Window w;
    QLineEdit* code = w.edit("编辑框_项目代号");
    code->setFocus();
    QTest::keyClicks(code, QStringLiteral("1.0"));
    QCOMPARE(code->text(), QStringLiteral("10"));
    auto* candidates = w.find<QTreeView>("超级列表框2");
    QCOMPARE(candidates->model()->rowCount(), 7);
    QTest::keyClick(code, Qt::Key_Down);
    QTest::keyClick(code, Qt::Key_Down);
    QCOMPARE(candidates->currentIndex().row(), 2);
    QTest::keyClick(code, Qt::Key_Up);
    QCOMPARE(candidates->currentIndex().row(), 1);
    QCOMPARE(w.window->orderForm().currentCandidate(), 1);
    QCOMPARE(code->text(), QStringLiteral("10"));
    QTest::keyClick(code, Qt::Key_Period, Qt::KeypadModifier);
    QCOMPARE(code->text(), QStringLiteral("10."));
}

void TestMainWindow::gridEditsGoThroughTheLineRules() {
    Window w;
    OrderForm& form = w.window->orderForm();
    form.setText(OrderField::DishCode, QStringLiteral("108"));
    w.platform.textAnswers.enqueue(QStringLiteral("2"));
    QVERIFY(form.pickDish());

    QTableWidget* grid = w.grid();
    grid->setFocus();
    grid->setCurrentCell(0, 3);
    grid->editItem(grid->item(0, 3));
    auto* editor = qobject_cast<QLineEdit*>(QApplication::focusWidget());
    QVERIFY(editor);
    editor->selectAll();
    QTest::keyClicks(editor, QStringLiteral("20"));
    QTest::keyClick(editor, Qt::Key_Return);
    QTRY_COMPARE(w.gridText(0, 3), QStringLiteral("20"));
    QCOMPARE(w.edit("编辑框_合计")->text(), QStringLiteral("20"));

    // No editor opens on a unit cell or on the entry row's quantity.
    grid->editItem(grid->item(0, 2));
    QCOMPARE(QApplication::focusWidget(), grid);
    grid->editItem(grid->item(1, 1));
    QCOMPARE(QApplication::focusWidget(), grid);

    // A dish name typed into the entry row becomes a line.
    grid->editItem(grid->item(1, 0));
    auto* names = grid->findChild<QComboBox*>();
    QVERIFY(names);
    QVERIFY(names->findText(QStringLiteral("王老吉")) >= 0);
    names->setEditText(QStringLiteral("王老吉"));
    QTest::keyClick(names, Qt::Key_Return);
    QTRY_COMPARE(w.gridText(1, 2), QStringLiteral("瓶"));
    QCOMPARE(grid->rowCount(), 3);
    QCOMPARE(w.edit("编辑框_合计")->text(), QStringLiteral("23.5"));

    // Delete asks, then removes the cursor row.
    grid->setCurrentCell(0, 0);
    w.platform.yesNoAnswers.enqueue(true);
    QTest::keyClick(grid, Qt::Key_Delete);
    QCOMPARE(grid->rowCount(), 2);
    QCOMPARE(w.gridText(0, 0), QStringLiteral("王老吉"));
    QCOMPARE(w.edit("编辑框_合计")->text(), QStringLiteral("3.5"));

    // F12 pressed while a cell is being edited settles with the typed value.
    QString settledQuantity;
    connect(w.window.get(), &MainWindow::settleRequested, this,
            [&] { settledQuantity = form.cell(1, OrderForm::QuantityColumn); });
    grid->editItem(grid->item(0, 1));
    editor = qobject_cast<QLineEdit*>(QApplication::focusWidget());
    QVERIFY(editor);
    editor->selectAll();
    QTest::keyClicks(editor, QStringLiteral("4"));
    QTest::keyClick(editor, Qt::Key_F12);
    QCOMPARE(settledQuantity, QStringLiteral("4"));
    QCOMPARE(w.edit("编辑框_合计")->text(), QStringLiteral("14"));
}

void TestMainWindow::deliveryAndTableFieldsFillAsTyped() {
    Window w;
    QVERIFY(w.home.db().exec(
        QStringLiteral("INSERT INTO 客户 (电话, 姓名, 地址) VALUES ('139', '王五', '西街')")));
    QTest::keyClicks(w.edit("编辑框_电话"), QStringLiteral("13"));
    QCOMPARE(w.edit("编辑框_姓名")->text(), QString());
    QTest::keyClicks(w.edit("编辑框_电话"), QStringLiteral("9"));
    QCOMPARE(w.edit("编辑框_姓名")->text(), QStringLiteral("王五"));
    QCOMPARE(w.edit("编辑框_地址")->text(), QStringLiteral("西街"));

    QTest::keyClicks(w.edit("编辑框_时间2"), QStringLiteral("101"));
    QComboBox* table = w.combo("组合框_桌号");
    QCOMPARE(table->currentText(), QStringLiteral("桌号 2楼1桌"));
    QCOMPARE(table->count(), 11);

    w.edit("编辑框_地址")->clear();
    typeKeys(w.edit("编辑框_地址"), QStringLiteral("东街"));
    QTest::mouseClick(w.find<QPushButton>("按钮_保存客户"), Qt::LeftButton);
    QTest::keyClicks(w.edit("编辑框_电话"), QStringLiteral("8"));
    typeKeys(w.edit("编辑框_姓名"), QStringLiteral("赵"));
    QTest::mouseClick(w.find<QPushButton>("按钮_保存客户"), Qt::LeftButton);
    QSqlQuery q = w.home.db().prepare(QStringLiteral("SELECT 电话, 姓名, 地址 FROM 客户 ORDER BY ID"));
    QVERIFY(q.exec());
    QStringList rows;
    while (q.next())
        rows << q.value(0).toString() + "|" + q.value(1).toString() + "|" + q.value(2).toString();
    QCOMPARE(rows, (QStringList{"139|王五|西街", "1398|赵|"}));
    QVERIFY(w.platform.shown.isEmpty());
}

void TestMainWindow::enterMovesAlongTheForm() {
    Window w;
    const QStringList path = {"编辑框_时间2", "组合框_桌号", "编辑框_电话",
                              "编辑框_姓名",  "编辑框_地址", "编辑框_备注"};
    w.find<QWidget>(path.first())->setFocus();
    for (int i = 1; i < path.size(); ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QCOMPARE(QApplication::focusWidget()->objectName(), path[i]);
    }
    w.edit("编辑框_已支付")->setFocus();
    QTest::keyClick(w.edit("编辑框_已支付"), Qt::Key_Return);
    QCOMPARE(QApplication::focusWidget()->objectName(), QStringLiteral("编辑框_实付"));
    QTest::keyClick(w.edit("编辑框_实付"), Qt::Key_Return);
    QCOMPARE(QApplication::focusWidget()->objectName(), QStringLiteral("编辑框_实付"));

    // Fields that select their text on getting the focus.
    QLineEdit* telephone = w.edit("编辑框_电话");
    telephone->setText(QStringLiteral("12345"));
    w.edit("编辑框_备注")->setFocus();
    QTest::mouseClick(telephone, Qt::LeftButton);
    QTRY_COMPARE(telephone->selectedText(), QStringLiteral("12345"));
}

// Beyond the function keys: the two header lists, the two drop-down menus and the two small buttons.
void TestMainWindow::everyControlIsReachedByKeyboard() {
    Window w;
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_1, Qt::AltModifier);
    QCOMPARE(QApplication::focusWidget()->objectName(), QStringLiteral("组合框_票头"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_2, Qt::AltModifier);
    QCOMPARE(QApplication::focusWidget()->objectName(), QStringLiteral("组合框_店铺名称"));

    const std::tuple<Qt::Key, Qt::KeyboardModifiers, const char*> menuKeys[] = {
        {Qt::Key_S, Qt::AltModifier, "设置菜单"},
        {Qt::Key_H, Qt::AltModifier, "帮助"},
        {Qt::Key_Menu, Qt::NoModifier, "设置菜单"}};
    for (const auto& [key, modifiers, name] : menuKeys) {
        QString opened;
        QTimer watch;
        watch.setInterval(10);
        connect(&watch, &QTimer::timeout, [&] {
            if (auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget())) {
                opened = menu->objectName();
                menu->close();
            }
        });
        watch.start();
        QTest::keyClick(QApplication::focusWidget(), key, modifiers);
        QTRY_VERIFY2(!opened.isEmpty(), name);
        QCOMPARE(opened, QString::fromUtf8(name));
    }
    QCOMPARE(w.find<QToolButton>("设置菜单")->text(), QStringLiteral("设置菜单(S)"));
    QCOMPARE(w.find<QToolButton>("帮助")->text(), QStringLiteral("帮助(H)"));
    for (const char* name : {"按钮_保存客户", "按钮_预览"})
        QVERIFY2(w.find<QPushButton>(name)->focusPolicy() & Qt::TabFocus, name);

    // The toolbar's windows open with Alt and the letter in their caption.
    const std::pair<MainWindow::Entry, Qt::Key> entryKeys[] = {
        {MainWindow::Entry::History, Qt::Key_L},         {MainWindow::Entry::IncomeReport, Qt::Key_R},
        {MainWindow::Entry::SalesStatistics, Qt::Key_T}, {MainWindow::Entry::Customers, Qt::Key_G},
        {MainWindow::Entry::Dishes, Qt::Key_P},          {MainWindow::Entry::Tables, Qt::Key_Z}};
    for (const auto& [which, key] : entryKeys) {
        QAction* action = w.window->entry(which);
        action->setEnabled(true);
        QSignalSpy triggered(action, &QAction::triggered);
        QTest::keyClick(QApplication::focusWidget(), key, Qt::AltModifier);
        QVERIFY2(triggered.size() == 1, qPrintable(action->text()));
        QVERIFY(action->text().endsWith(QStringLiteral("(%1)").arg(QChar(key))));
    }
    // Alt+3 opens the time format window, Alt+D asks for sample data; their keys are on show.
    auto* timeButton = w.find<QPushButton>("按钮_时间设置");
    QVERIFY(timeButton->toolTip().contains(QStringLiteral("Alt+3")));
    bool timeWindowOpened = false;
    QTimer closeTimeWindow;
    closeTimeWindow.setInterval(10);
    connect(&closeTimeWindow, &QTimer::timeout, [&] {
        if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
            timeWindowOpened = true;
            dialog->reject();
        }
    });
    closeTimeWindow.start();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_3, Qt::AltModifier);
    QTRY_VERIFY(timeWindowOpened);
    auto* sampleData = w.find<QPushButton>("按钮_随机数据");
    QCOMPARE(sampleData->text(), QStringLiteral("生成销售随机数据(D)"));
    sampleData->setEnabled(true);
    QSignalSpy sampleRequested(w.window.get(), &MainWindow::sampleDataRequested);
    w.window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(w.window.get()));
    QTest::keyClick(w.edit("编辑框_项目代号"), Qt::Key_D, Qt::AltModifier);
    QTRY_COMPARE(sampleRequested.size(), 1);
}

void TestMainWindow::functionKeysActOnRelease() {
    Window w;
    QSignalSpy settle(w.window.get(), &MainWindow::settleRequested);
    QSignalSpy clear(w.window.get(), &MainWindow::clearRequested);
    QSignalSpy printOnly(w.window.get(), &MainWindow::printOnlyRequested);
    w.edit("编辑框_时间2")->setText(QStringLiteral("12"));
    w.grid()->setFocus();

    QTest::keyPress(QApplication::focusWidget(), Qt::Key_F2);
    QCOMPARE(QApplication::focusWidget(), w.grid());
    QTest::keyRelease(QApplication::focusWidget(), Qt::Key_F2);
    QCOMPARE(QApplication::focusWidget()->objectName(), QStringLiteral("编辑框_时间2"));
    QCOMPARE(w.edit("编辑框_时间2")->selectedText(), QStringLiteral("12"));

    const std::pair<Qt::Key, const char*> focusKeys[] = {
        {Qt::Key_F1, "编辑框_项目代号"}, {Qt::Key_F3, "编辑框_电话"}, {Qt::Key_F4, "组合框_减免"},
        {Qt::Key_F5, "组合框_付款方式"}, {Qt::Key_F6, "高级表格1"},   {Qt::Key_F7, "编辑框_备注"}};
    for (const auto& [key, name] : focusKeys) {
        QTest::keyClick(QApplication::focusWidget(), key);
        QCOMPARE(QApplication::focusWidget()->objectName(), QString::fromUtf8(name));
    }
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_F9);
    QCOMPARE(QApplication::focusWidget()->objectName(), QStringLiteral("编辑框_备注"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_F12);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_F10);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_F11);
    QCOMPARE(settle.size(), 1);
    QCOMPARE(clear.size(), 1);
    QCOMPARE(printOnly.size(), 1);
}

void TestMainWindow::choiceListsRefillWhenOpened() {
    Window w;
    QComboBox* ticket = w.combo("组合框_票头");
    QCOMPARE(ticket->count(), 8);
    QVERIFY(w.home.db().exec(QStringLiteral("INSERT INTO 票头设置 (票头) VALUES ('外卖单')")));
    ticket->showPopup();
    ticket->hidePopup();
    QCOMPARE(ticket->count(), 9);
    QCOMPARE(ticket->itemText(8), QStringLiteral("外卖单"));
    QCOMPARE(ticket->currentText(), QStringLiteral("微信点餐"));

    // Choosing an item runs its rule: pay on delivery empties paid.
    OrderForm& form = w.window->orderForm();
    form.setText(OrderField::Paid, QStringLiteral("9"));
    QSignalSpy preview(&form, &OrderForm::previewRefreshRequested);
    w.combo("组合框_付款方式")->setCurrentIndex(4);
    QCOMPARE(form.text(OrderField::PaymentMethod), QStringLiteral("到付"));
    QCOMPARE(w.edit("编辑框_已支付")->text(), QString());
    QCOMPARE(preview.size(), 1);
}

void TestMainWindow::clockBlinksAndRollsOverAtMidnight() {
    Window w;
    QVERIFY(w.home.db().exec(
        QStringLiteral("INSERT INTO 存单 (编号, 时间, 实付) VALUES (8, '2026-03-14 09:00:00', 12)")));
    w.window->orderForm().refreshTodayTotals();
    QCOMPARE(w.edit("编辑框_编号")->text(), QStringLiteral("9"));
    auto* link = w.find<QLabel>("透明标签13");
    const QString before = link->styleSheet();
    w.platform.clock = QDateTime(QDate(2026, 3, 15), QTime(0, 0, 1));
    w.window->tick();
    QVERIFY(link->styleSheet() != before);
    QCOMPARE(w.find<QLabel>("透明标签11")->styleSheet(), link->styleSheet());
    QCOMPARE(w.edit("编辑框_编号")->text(), QStringLiteral("1"));
    QCOMPARE(w.find<QLabel>("状态条1_数量")->text(), QStringLiteral("今日打单数量：0"));
    QCOMPARE(w.edit("编辑框_时间")->text(), QStringLiteral("03-15 00:00"));
    w.window->tick();
    QCOMPARE(link->styleSheet(), before);

    w.window->orderForm().enterModifyMode(QStringLiteral("3"));
    QCOMPARE(w.find<QPushButton>("按钮_打单结算")->text(), QStringLiteral("修改(F12)"));
    QCOMPARE(w.edit("ID")->text(), QStringLiteral("3"));
    w.platform.clock = QDateTime(QDate(2026, 3, 15), QTime(0, 5));
    w.window->tick();
    QCOMPARE(w.edit("编辑框_时间")->text(), QStringLiteral("03-15 00:00"));
}

void TestMainWindow::helpLinksAndAboutGoThroughThePlatform() {
    Window w;
    QTest::mouseClick(w.find<QLabel>("透明标签13"), Qt::LeftButton);
    QTest::mouseClick(w.find<QLabel>("透明标签11"), Qt::LeftButton);
    QCOMPARE(w.platform.openedDocuments.size(), 2);
    QVERIFY(w.platform.openedDocuments[0].endsWith(helpDocumentFileName(HelpDocument::Usage)));
    QVERIFY(w.platform.openedDocuments[1].endsWith(helpDocumentFileName(HelpDocument::PrintingTrouble)));

    QAction* about = nullptr;
    for (QAction* action : w.find<QMenu>("帮助")->actions()) {
        if (action->text() == QStringLiteral("关于"))
            about = action;
    }
    QVERIFY(about);
    about->trigger();
    QCOMPARE(w.platform.shown.size(), 1);
    QVERIFY(w.platform.shown[0].text.contains(QStringLiteral("Quillmenu 3.2")));
}

void TestMainWindow::smallSettingsWindowsReachTheForm() {
    Window w;
    OrderForm& form = w.window->orderForm();
    QSignalSpy preview(&form, &OrderForm::previewRefreshRequested);
    // Answers the modal window once it is up: clicks `choice`, then `close`.
    auto answer = [](const char* choice, const char* close, const QString& text = {}) {
        QTimer::singleShot(0, [=] {
            QWidget* dialog = QApplication::activeModalWidget();
            QVERIFY(dialog);
            if (!text.isEmpty())
                dialog->findChild<QLineEdit*>(choice)->setText(text);
            else
                QTest::mouseClick(dialog->findChild<QAbstractButton*>(choice), Qt::LeftButton);
            QTest::mouseClick(dialog->findChild<QAbstractButton*>(close), Qt::LeftButton);
        });
    };
    answer("选择框3", "按钮2");
    QTest::mouseClick(w.find<QPushButton>("按钮_时间设置"), Qt::LeftButton);
    QCOMPARE(form.timeFormat(), 2);
    QCOMPARE(preview.size(), 1);
    w.window->tick();
    QCOMPARE(w.edit("编辑框_时间")->text(), QStringLiteral("2026-03-14 12:30"));

    QAction* decimals = nullptr;
    for (QAction* action : w.find<QMenu>("设置菜单")->actions()) {
        if (action->text() == QStringLiteral("设置"))
            decimals = action;
    }
    QVERIFY(decimals && decimals->isEnabled());
    answer("小数位数_编辑框", "确认", QStringLiteral("2.7"));
    decimals->trigger();
    QCOMPARE(form.quantityDecimals(), 2);
}

void TestMainWindow::closingSavesTheChoices() {
    Window w;
    w.combo("组合框_付款方式")->setCurrentIndex(1);
    w.combo("组合框_店铺名称")->setCurrentIndex(1);
    QTest::keyClicks(w.edit("编辑框_减免金额"), QStringLiteral("6"));
    QTest::keyClicks(w.edit("编辑框_电话"), QStringLiteral("139"));
    QVERIFY(w.window->close());
    const RecordStore records(w.home.db());
    QCOMPARE(records.read(QStringLiteral("付款方式")), QStringLiteral("微信支付"));
    QCOMPARE(records.read(QStringLiteral("店铺名称")), QStringLiteral("山东手工水饺"));
    QCOMPARE(records.read(QStringLiteral("减免金额")), QStringLiteral("6"));
    QCOMPARE(records.read(QStringLiteral("票头")), QStringLiteral("微信点餐"));
    QVERIFY(!records.exists(QStringLiteral("电话")));
}

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
