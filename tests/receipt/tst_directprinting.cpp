#include "app/ui/maincommands.h"
#include "app/ui/mainwindow.h"
#include "order/orderform.h"
#include "receipt/directprinter.h"
#include "receipt/escpos.h"
#include "receipt/printerchoice.h"
#include "receipt/rasterreceipt.h"
#include "receipt/receiptcontent.h"
#include "receipt/receiptlayout.h"
#include "receipt/receiptpictures.h"
#include "receipt/receiptsettings.h"
#include "receipt/ui/printsettingswindow.h"
#include "store/settings.h"
#include "support/escposdecode.h"
#include "support/fakeescposprinter.h"
#include "support/fakeplatform.h"
#include "support/temphome.h"
#include "support/widgetdriver.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>

using namespace qm;

namespace {

struct Shop {
    TempHome home;
    FakePlatform platform;
    MainWindow window{home.db(), platform, home.home(), home.quantityDecimals()};
    MainCommands commands{window, home.db(), platform, home.home()};

    RecordStore records() { return RecordStore(home.db()); }
    void usePrinter(PrinterKind kind, const QString& where, bool kickDrawer = false) {
        PrinterChoice choice;
        choice.kind = kind;
        if (kind == PrinterKind::Network) {
            choice.host = QStringLiteral("127.0.0.1");
            choice.port = where.toInt();
        }
        choice.device = kind == PrinterKind::Usb ? where : QString();
        choice.kickDrawer = kickDrawer;
        QVERIFY(savePrinterChoice(TillFile(home.home().tillPath()), choice));
    }
    void typeOrder(const QString& payment) {
        OrderForm& form = window.orderForm();
        form.setText(OrderField::DishCode, QStringLiteral("108"));
        platform.textAnswers.enqueue(QStringLiteral("2"));
        QVERIFY(form.pickDish());
        form.selectItemText(OrderField::PaymentMethod, payment);
        form.setText(OrderField::Paid, QStringLiteral("36"));
    }
    int orders() {
        QSqlQuery q = home.db().prepare(QStringLiteral("SELECT count(*) FROM 存单"));
        return q.exec() && q.next() ? q.value(0).toInt() : -1;
    }
    // The receipt as this program draws it on the roll, with or without the pictures.
    QImage expectedRaster(const ReceiptContent& content, bool pictures) {
        const ReceiptSettings settings =
            loadReceiptSettings(records(), ConfigFile(home.home().configPath()), true);
        const QImage top = loadPrintPicture(home.home(), PicturePlace::Top);
        const QImage bottom = loadPrintPicture(home.home(), PicturePlace::Bottom);
        return drawRaster(
            [&](ReceiptSurface& surface) {
                return drawReceipt(surface, settings, content, pictures ? &top : nullptr,
                                   pictures ? &bottom : nullptr);
            },
            settings.printWidth, rasterDots(settings.type == ReceiptType::Mm58 ? 58 : 80));
    }
};

void compareRaster(const QByteArray& job, const QImage& expected) {
    const DecodedJob decoded = decodeEscPos(job, expected.width());
    QVERIFY2(decoded.error.isEmpty(), qPrintable(decoded.error));
    QCOMPARE(decoded.commands.first(), escpos::initialize());
    QCOMPARE(decoded.commands.mid(decoded.commands.size() - 2).join(), escpos::feedAndCut());
    for (int rows : decoded.bandRows)
        QVERIFY(rows >= 1 && rows <= 255);
    QString where;
    QVERIFY2(sameDots(decoded.raster, expected, &where), qPrintable(where));
}

} // namespace

class DirectPrintingTest : public QObject {
    Q_OBJECT

private slots:
    // An 80 mm order with both pictures and two copies, settled in cash: the printer on 127.0.0.1 gets
    // the first receipt with the pictures, the second without, then the drawer kick; each decodes to the
    // very dots the receipt is drawn with. No dialog is shown.
    void settledOrderArrivesAsRaster() {
        Shop shop;
        FakeEscPosPrinter printer;
        RecordStore records = shop.records();
        records.write(QStringLiteral("小票类型"), QStringLiteral("1"));
        records.write(QStringLiteral("打印份数"), QStringLiteral("2"));
        loadPreviewPicture(shop.home.home(), PicturePlace::Top);
        loadPreviewPicture(shop.home.home(), PicturePlace::Bottom);
        shop.usePrinter(PrinterKind::Network, QString::number(printer.port()), true);
        shop.typeOrder(QStringLiteral("现金支付"));
        const ReceiptContent content = receiptContentFrom(shop.window.orderForm().values());

        QCOMPARE(shop.commands.settleCommands().settle(), SettleOutcome::Completed);
        const QList<QByteArray> jobs = printer.waitForJobs(3);
        QCOMPARE(jobs.size(), 3);
        const QImage withPictures = shop.expectedRaster(content, true);
        QCOMPARE(withPictures.width(), 576);
        compareRaster(jobs[0], withPictures);
        compareRaster(jobs[1], shop.expectedRaster(content, false));
        QVERIFY(shop.expectedRaster(content, false).height() < withPictures.height());
        QCOMPARE(jobs[2].toHex(' '), escpos::drawerJob().toHex(' '));
        QVERIFY(shop.platform.printRequests.isEmpty());
        QCOMPARE(shop.platform.texts(), QStringList());
    }

    // An unreachable printer, or one that drops the connection in the middle of the job, is told with
    // its reason; the order is stored and the form kept, as after a cancelled print dialog, and F11
    // prints it once the printer is there.
    void unreachablePrinterKeepsTheForm_data() {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("reason");
        QTest::addColumn<bool>("resets");
        QTest::newRow("network, closed port")
            << int(PrinterKind::Network) << QStringLiteral("拒绝连接") << false;
        QTest::newRow("network, reset mid-job")
            << int(PrinterKind::Network) << QStringLiteral("：打印机中途断开了连接") << true;
        QTest::newRow("USB, no device file")
            << int(PrinterKind::Usb) << QStringLiteral("找不到设备") << false;
    }
    void unreachablePrinterKeepsTheForm() {
        QFETCH(int, kind);
        QFETCH(QString, reason);
        QFETCH(bool, resets);
        Shop shop;
        FakeEscPosPrinter resetting(FakeEscPosPrinter::Mode::ResetMidJob);
        const int port = resets ? resetting.port() : closedPort();
        shop.usePrinter(PrinterKind(kind), kind == int(PrinterKind::Network)
                                               ? QString::number(port)
                                               : shop.home.path() + QStringLiteral("/lp0"));
        shop.typeOrder(QStringLiteral("现金支付"));

        QCOMPARE(shop.commands.settleCommands().settle(), SettleOutcome::StoredNotPrinted);
        QCOMPARE(shop.orders(), 1);
        QVERIFY(shop.window.orderForm().hasLines());
        const QStringList texts = shop.platform.texts();
        QCOMPARE(texts.size(), 1);
        QVERIFY2(texts[0].startsWith(QStringLiteral("打印机未连接：")) && texts[0].contains(reason),
                 qPrintable(texts[0]));
        QCOMPARE(shop.platform.shown.last().icon, MessageIcon::Warning);

        FakeEscPosPrinter printer;
        shop.usePrinter(PrinterKind::Network, QString::number(printer.port()));
        QVERIFY(shop.commands.settleCommands().printOnly());
        QCOMPARE(printer.waitForJobs(1).size(), 1);
        QCOMPARE(shop.orders(), 1);
    }

    // With 数量默认 1，不再询问 and 电话后四位查找顾客 on, a known customer's delivery order of two dishes
    // goes from the keyboard to the printer in 14 presses: 108 Enter, 005 Enter, F3 and the number's last
    // four digits, F12. The order and its receipt carry the whole number.
    void deliveryOrderByKeyboard() {
        Shop shop;
        FakeEscPosPrinter printer;
        shop.usePrinter(PrinterKind::Network, QString::number(printer.port()));
        QVERIFY(shop.home.db().exec(
            QStringLiteral("INSERT INTO 客户 (电话, 姓名, 地址) VALUES ('13800138000', '张三', '一号路')")));
        QVERIFY(shop.records().write(QStringLiteral("数量默认1"), QStringLiteral("1")));
        QVERIFY(shop.records().write(QStringLiteral("电话后四位"), QStringLiteral("1")));
        MainWindow window(shop.home.db(), shop.platform, shop.home.home(), shop.home.quantityDecimals());
        MainCommands commands(window, shop.home.db(), shop.platform, shop.home.home());
        window.show();
        window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        int presses = 0;
        const auto press = [&presses](Qt::Key key) {
            QTest::keyClick(QApplication::focusWidget(), key);
            ++presses;
        };
        const auto type = [&](const QString& text) {
            for (QChar c : text) {
                QTest::keyClicks(QApplication::focusWidget(), QString(c));
                ++presses;
            }
        };
        type(QStringLiteral("108"));
        press(Qt::Key_Return);
        type(QStringLiteral("005"));
        press(Qt::Key_Return);
        press(Qt::Key_F3);
        type(QStringLiteral("8000"));
        QCOMPARE(window.findChild<QLabel*>(QStringLiteral("状态条1_提示"))->text(),
                 QStringLiteral("尾号 8000：13800138000"));
        press(Qt::Key_F12);
        QCOMPARE(printer.waitForJobs(1).size(), 1);
        QSqlQuery q = shop.home.db().prepare(QStringLiteral(
            "SELECT 电话, 姓名, 地址, (SELECT count(*) FROM 存单详单 WHERE 存单ID = 存单.ID) FROM 存单"));
        QVERIFY(q.exec() && q.next());
        QCOMPARE(q.value(0).toString() + q.value(1).toString() + q.value(2).toString(),
                 QStringLiteral("13800138000张三一号路"));
        QCOMPARE(q.value(3).toInt(), 2);
        QCOMPARE(presses, 14);
        QCOMPARE(shop.platform.texts(), QStringList());
    }

    // The drawer opens after a settled order paid in cash when the setting is on, and on 打开钱箱.
    void drawerKick_data() {
        QTest::addColumn<QString>("payment");
        QTest::addColumn<bool>("setting");
        QTest::addColumn<bool>("kicked");
        QTest::newRow("cash, on") << QStringLiteral("现金支付") << true << true;
        QTest::newRow("cash, off") << QStringLiteral("现金支付") << false << false;
        QTest::newRow("WeChat, on") << QStringLiteral("微信支付") << true << false;
    }
    void drawerKick() {
        QFETCH(QString, payment);
        QFETCH(bool, setting);
        QFETCH(bool, kicked);
        Shop shop;
        FakeEscPosPrinter printer;
        shop.usePrinter(PrinterKind::Network, QString::number(printer.port()), setting);
        shop.typeOrder(payment);
        QCOMPARE(shop.commands.settleCommands().settle(), SettleOutcome::Completed);
        shop.window.entry(MainWindow::Entry::CashDrawer)->trigger();

        // The receipt, perhaps the kick after settling, and the kick of the menu command.
        const QList<QByteArray> jobs = printer.waitForJobs(kicked ? 3 : 2);
        QCOMPARE(jobs.size(), kicked ? 3 : 2);
        for (qsizetype i = 1; i < jobs.size(); ++i)
            QCOMPARE(jobs[i], escpos::drawerJob());
        QCOMPARE(shop.platform.texts(), QStringList());
    }

    void drawerNeedsADirectPrinter() {
        Shop shop;
        shop.window.entry(MainWindow::Entry::CashDrawer)->trigger();
        QCOMPARE(shop.platform.texts().size(), 1);
        QVERIFY(shop.platform.texts().first().startsWith(QStringLiteral("系统打印机不能打开钱箱")));
        QVERIFY(shop.platform.printRequests.isEmpty());
    }

    // The printer chosen in 打印设置 is what the program finds after a restart.
    void printerChoiceSurvivesRestart() {
        QTemporaryDir dir;
        const Home home(dir.path());
        FakePlatform platform;
        {
            OpenedDatabase opened = openProgramDatabase(home);
            PrintSettingsWindow window(*opened.db, platform, home, {});
            child<QComboBox>(window, "组合框_打印机类型")->setCurrentIndex(int(PrinterKind::Network));
            child<QLineEdit>(window, "编辑框_打印机地址")->setText(QStringLiteral(" 127.0.0.1 "));
            QLineEdit* port = child<QLineEdit>(window, "编辑框_打印机端口");
            port->setText(QStringLiteral("70000"));
            QTest::mouseClick(child<QPushButton>(window, "按钮1"), Qt::LeftButton);
            QCOMPARE(platform.texts().size(), 1);
            QVERIFY(port->hasFocus() || window.focusWidget() == port);
            QCOMPARE(loadPrinterChoice(RecordStore(*opened.db), TillFile(home.tillPath())).kind,
                     PrinterKind::System);

            port->setText(QStringLiteral("9101"));
            child<QCheckBox>(window, "选择框_钱箱")->setChecked(true);
            QTest::mouseClick(child<QPushButton>(window, "按钮1"), Qt::LeftButton);
        }
        OpenedDatabase reopened = openProgramDatabase(home);
        const PrinterChoice choice = loadPrinterChoice(RecordStore(*reopened.db), TillFile(home.tillPath()));
        QCOMPARE(choice.kind, PrinterKind::Network);
        QCOMPARE(choice.host, QStringLiteral("127.0.0.1"));
        QCOMPARE(choice.port, 9101);
        QVERIFY(choice.kickDrawer);
        PrintSettingsWindow window(*reopened.db, platform, home, {});
        QCOMPARE(child<QComboBox>(window, "组合框_打印机类型")->currentText(), QStringLiteral("网络打印机"));
        QCOMPARE(child<QLineEdit>(window, "编辑框_打印机端口")->text(), QStringLiteral("9101"));
        QVERIFY(child<QCheckBox>(window, "选择框_钱箱")->isChecked());
    }

    // The printer and the cash drawer are the till's own: a home whose choice older versions kept in 记录
    // keeps it, moved once into 收银机.ini; from then on each till sharing the database has its own.
    void printerChoiceIsTheTills() {
        TempHome home;
        const RecordStore records(home.db());
        for (const auto& [key, value] :
             {std::pair{"打印机类型", "2"}, std::pair{"USB打印机设备", "/dev/usb/lp1"},
              std::pair{"结算后打开钱箱", "1"}, std::pair{"网络打印机端口", "9101"}})
            QVERIFY(records.write(QString::fromUtf8(key), QString::fromUtf8(value)));
        const TillFile first(home.home().tillPath());
        PrinterChoice choice = loadPrinterChoice(records, first);
        QCOMPARE(choice.kind, PrinterKind::Usb);
        QCOMPARE(choice.device, QStringLiteral("/dev/usb/lp1"));
        QCOMPARE(choice.port, 9101);
        QVERIFY(choice.kickDrawer);
        QCOMPARE(first.value(QStringLiteral("USB打印机设备")), QStringLiteral("/dev/usb/lp1"));

        QVERIFY(records.write(QStringLiteral("打印机类型"), QStringLiteral("0"))); // no longer read
        QCOMPARE(loadPrinterChoice(records, first).kind, PrinterKind::Usb);
        QTemporaryDir otherTill;
        const TillFile second(otherTill.filePath(QStringLiteral("收银机.ini")));
        choice.kind = PrinterKind::Network;
        choice.host = QStringLiteral("127.0.0.1");
        choice.kickDrawer = false;
        QVERIFY(savePrinterChoice(second, choice));
        QCOMPARE(loadPrinterChoice(records, second).kind, PrinterKind::Network);
        QVERIFY(!loadPrinterChoice(records, second).kickDrawer);
        QCOMPARE(loadPrinterChoice(records, first).kind, PrinterKind::Usb);
    }

    // Choosing 系统打印机 keeps the network printer's port as it keeps its address: applied, reopened
    // and switched back, the window shows the port the shop typed, and the stored port is not 9100.
    void systemPrinterKeepsThePort() {
        TempHome home;
        FakePlatform platform;
        PrinterChoice network;
        network.kind = PrinterKind::Network;
        network.host = QStringLiteral("127.0.0.1");
        network.port = 9101;
        QVERIFY(savePrinterChoice(TillFile(home.home().tillPath()), network));
        {
            PrintSettingsWindow window(home.db(), platform, home.home(), {});
            auto* kind = child<QComboBox>(window, "组合框_打印机类型");
            kind->setCurrentIndex(int(PrinterKind::System));
            QTest::mouseClick(child<QPushButton>(window, "按钮2"), Qt::LeftButton);
            kind->setCurrentIndex(int(PrinterKind::Network));
            QCOMPARE(child<QLineEdit>(window, "编辑框_打印机端口")->text(), QStringLiteral("9101"));
        }
        const PrinterChoice stored =
            loadPrinterChoice(RecordStore(home.db()), TillFile(home.home().tillPath()));
        QCOMPARE(stored.kind, PrinterKind::System);
        QCOMPARE(stored.host, QStringLiteral("127.0.0.1"));
        QCOMPARE(stored.port, 9101);
        PrintSettingsWindow window(home.db(), platform, home.home(), {});
        child<QComboBox>(window, "组合框_打印机类型")->setCurrentIndex(int(PrinterKind::Network));
        QCOMPARE(child<QLineEdit>(window, "编辑框_打印机地址")->text(), QStringLiteral("127.0.0.1"));
        QCOMPARE(child<QLineEdit>(window, "编辑框_打印机端口")->text(), QStringLiteral("9101"));
        QCOMPARE(platform.texts(), QStringList());
    }

    // "打印测试页" prints on the printer the window shows, before it is applied: a 58 mm raster ending
    // in the ruler, whose two ends reach the first and the last dot.
    void testPageOnTheShownPrinter() {
        TempHome home;
        FakePlatform platform;
        FakeEscPosPrinter printer;
        PrintSettingsWindow window(home.db(), platform, home.home(), {});
        child<QComboBox>(window, "组合框_打印机类型")->setCurrentIndex(int(PrinterKind::Network));
        child<QLineEdit>(window, "编辑框_打印机地址")->setText(QStringLiteral("127.0.0.1"));
        child<QLineEdit>(window, "编辑框_打印机端口")->setText(QString::number(printer.port()));
        QTest::mouseClick(child<QPushButton>(window, "按钮_打印测试页"), Qt::LeftButton);

        const QList<QByteArray> jobs = printer.waitForJobs(1);
        QCOMPARE(jobs.size(), 1);
        const DecodedJob page = decodeEscPos(jobs.first(), 384);
        QVERIFY2(page.error.isEmpty(), qPrintable(page.error));
        QCOMPARE(page.raster.width(), 384);
        bool leftEnd = false;
        bool rightEnd = false;
        for (int y = page.raster.height() / 2; y < page.raster.height(); ++y) {
            leftEnd = leftEnd || qGray(page.raster.pixel(0, y)) < 128;
            rightEnd = rightEnd || qGray(page.raster.pixel(383, y)) < 128;
        }
        QVERIFY(leftEnd && rightEnd);
        QCOMPARE(loadPrinterChoice(RecordStore(home.db()), TillFile(home.home().tillPath())).kind,
                 PrinterKind::System);
        QCOMPARE(platform.texts(), QStringList());
    }

    // A printer that takes nothing shows the progress window after a moment; its Cancel ends the wait
    // at once, and a cancel needs no message.
    void stuckSendCanBeCancelled() {
        FakePlatform platform;
        platform.cancelProgressAt = 0;
        FakeEscPosPrinter printer(FakeEscPosPrinter::Mode::NeverRead);
        const auto sender =
            std::make_shared<NetworkSender>(QStringLiteral("127.0.0.1"), printer.port(), SendLimits{});
        QElapsedTimer timer;
        timer.start();
        const SendResult result = sendJob(platform, sender, QByteArray(1 << 22, '\0'));
        QCOMPARE(result.status, SendResult::Status::Cancelled);
        QVERIFY(timer.elapsed() < 3000);
        QCOMPARE(platform.progressReached.size(), 1);
        tellSendFailure(platform, result);
        QCOMPARE(platform.texts(), QStringList());
    }

    // The CUPS client runs from the sending thread as well.
    void cupsQueueFromTheSendThread() {
        QTemporaryDir dir;
        const QString spooled = dir.filePath(QStringLiteral("spooled"));
        QFile script(dir.filePath(QStringLiteral("lp")));
        QVERIFY(script.open(QIODevice::WriteOnly));
        script.write(QStringLiteral("#!/bin/sh\ncat > '%1'\n").arg(spooled).toUtf8());
        script.close();
        script.setPermissions(script.permissions() | QFile::ExeOwner);
        FakePlatform platform;
        const auto sender =
            std::make_shared<CupsQueueSender>(QStringLiteral("receipts"), SendLimits{}, script.fileName());
        QVERIFY(sendJob(platform, sender, escpos::drawerJob()).ok());
        QFile file(spooled);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), escpos::drawerJob());
    }
};

QTEST_MAIN(DirectPrintingTest)
#include "tst_directprinting.moc"
