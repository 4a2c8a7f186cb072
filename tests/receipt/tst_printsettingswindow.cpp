#include "receipt/kitchenprinters.h"
#include "receipt/ui/printsettingswindow.h"
#include "store/catalogstore.h"
#include "store/database.h"
#include "store/settings.h"
#include "store/staffstore.h"
#include "support/fakeplatform.h"
#include "support/temphome.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSqlQuery>
#include <QTabWidget>
#include <QTest>

using namespace qm;

class PrintSettingsWindowTest : public QObject {
    Q_OBJECT

    template <typename T> static T* control(QWidget& window, const QString& name) {
        T* found = window.findChild<T*>(name);
        if (!found)
            qFatal("no control %s", qPrintable(name));
        return found;
    }

private slots:
    void filledAndEnabledByStylingType() {
        TempHome home;
        FakePlatform platform;
        PrintSettingsWindow window(home.db(), platform, home.home(), {});
        QCOMPARE(window.windowTitle(), QStringLiteral("打印设置"));
        QCOMPARE(control<QComboBox>(window, "组合框_设置类型")->currentText(), QStringLiteral("自定义"));
        QCOMPARE(control<QComboBox>(window, "组合框_小票类型")->currentText(), QStringLiteral("58小票"));
        QCOMPARE(control<QLineEdit>(window, "编辑框1")->text(), QStringLiteral("订餐电话:1390000****"));
        QCOMPARE(control<QLineEdit>(window, "编辑框2")->text(), QStringLiteral("订餐微信号:kfwx****"));
        QCOMPARE(control<QLineEdit>(window, "编辑框字体大小7")->text(), QStringLiteral("12"));
        QVERIFY(control<QCheckBox>(window, "选择框_加粗_7")->isChecked());
        QVERIFY(!control<QLabel>(window, "图片框1")->pixmap().isNull());
        QCOMPARE(control<QTabWidget>(window, "选择夹1")->count(), 4);
        QCOMPARE(control<QTabWidget>(window, "选择夹1")->tabText(3), QStringLiteral("后厨打印"));

        const QStringList custom{"选择框3",         "选择框4",           "编辑框_顶部图片",
                                 "编辑框_底部图片", "顶部图片选择按钮1", "顶部图片选择按钮2",
                                 "编辑框字体大小1", "编辑框字体大小11",  "选择框_加粗_1",
                                 "选择框_加粗_11"};
        const QStringList always{"选择框1", "编辑框1", "选择框2", "编辑框2", "组合框_小票类型", "编辑框份数"};
        control<QComboBox>(window, "组合框_设置类型")->setCurrentIndex(0);
        for (const QString& name : custom)
            QVERIFY2(!control<QWidget>(window, name)->isEnabled(), qPrintable(name));
        for (const QString& name : always)
            QVERIFY2(control<QWidget>(window, name)->isEnabled(), qPrintable(name));
        control<QComboBox>(window, "组合框_设置类型")->setCurrentIndex(1);
        for (const QString& name : custom)
            QVERIFY2(control<QWidget>(window, name)->isEnabled(), qPrintable(name));
    }

    // In staff mode each 应用设置 that changes something is recorded: the receipt settings with the rows
    // that store them, the kitchen printers (a file of the till's) once they are saved.
    void appliedChangesRecordedInStaffMode() {
        TempHome home;
        FakePlatform platform;
        AuditEvent event;
        event.person = QStringLiteral("王店主");
        event.action = QStringLiteral("修改打印设置");
        PrintSettingsWindow window(home.db(), platform, home.home(), {}, event);
        const auto recorded = [&] {
            QStringList out;
            QSqlQuery q = home.db().prepare(QStringLiteral("SELECT 之后 FROM 操作记录 ORDER BY ID"));
            if (q.exec()) {
                while (q.next())
                    out << q.value(0).toString();
            }
            return out;
        };
        QTest::mouseClick(control<QPushButton>(window, "按钮2"), Qt::LeftButton);
        QCOMPARE(recorded(), QStringList());

        control<QLineEdit>(window, "编辑框份数")->setText(QStringLiteral("3"));
        QTest::mouseClick(control<QPushButton>(window, "按钮2"), Qt::LeftButton);
        QCOMPARE(recorded().size(), 1);
        QVERIFY2(recorded().last().contains(QStringLiteral("打印份数：3")), qPrintable(recorded().last()));

        auto* stations = control<QListWidget>(window, "列表_出品部门");
        QVERIFY(stations->count() > 0);
        stations->setCurrentRow(0);
        control<QComboBox>(window, "组合框_后厨打印机类型")->setCurrentIndex(1); // 网络打印机
        control<QLineEdit>(window, "编辑框_后厨打印机地址")->setText(QStringLiteral("127.0.0.1"));
        QTest::mouseClick(control<QPushButton>(window, "按钮2"), Qt::LeftButton);
        QCOMPARE(recorded().size(), 2);
        QVERIFY2(recorded().last().startsWith(QStringLiteral("后厨打印 %1：").arg(stations->item(0)->text())),
                 qPrintable(recorded().last()));
        QVERIFY(recorded().last().contains(QStringLiteral("127.0.0.1")));
        QVERIFY(platform.shown.isEmpty());
    }

    void invalidSizeKeepsEverything() {
        TempHome home;
        FakePlatform platform;
        int applied = 0;
        PrintSettingsWindow window(home.db(), platform, home.home(), [&] { ++applied; });
        window.show();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        control<QComboBox>(window, "组合框_小票类型")->setCurrentIndex(1);
        auto* size3 = control<QLineEdit>(window, "编辑框字体大小3");
        size3->setText(QStringLiteral("31"));

        QTest::mouseClick(control<QPushButton>(window, "按钮2"), Qt::LeftButton);
        QCOMPARE(platform.texts(),
                 QStringList{QStringLiteral("字体大小超出设定，请将字体大小控制在数值 7-30 的范围内。")});
        QCOMPARE(QApplication::focusWidget(), size3);
        QCOMPARE(size3->selectedText(), QStringLiteral("31"));
        QCOMPARE(applied, 0);
        QCOMPARE(RecordStore(home.db()).read(QStringLiteral("小票类型")), QStringLiteral("0"));
    }

    void copiesAndConfirm() {
        TempHome home;
        FakePlatform platform;
        int applied = 0;
        PrintSettingsWindow window(home.db(), platform, home.home(), [&] { ++applied; });
        auto* copies = control<QLineEdit>(window, "编辑框份数");
        for (const QString& typed : {QStringLiteral("-"), QStringLiteral("0"), QStringLiteral("x")}) {
            copies->selectAll();
            QTest::keyClicks(copies, typed);
            QCOMPARE(copies->text(), QStringLiteral("1"));
        }
        copies->setText(QStringLiteral("7"));
        control<QLineEdit>(window, "编辑框字体大小10")->setText(QStringLiteral("0"));

        QTest::mouseClick(control<QPushButton>(window, "按钮1"), Qt::LeftButton);
        QCOMPARE(window.result(), int(QDialog::Accepted));
        QCOMPARE(copies->text(), QStringLiteral("4"));
        QCOMPARE(applied, 1);
        QVERIFY(platform.shown.isEmpty());
        const RecordStore records(home.db());
        QCOMPARE(records.read(QStringLiteral("打印份数")), QStringLiteral("4"));
        QCOMPARE(records.read(QStringLiteral("字体大小")), QStringLiteral("9|9|9|9|9|9|12|9|9|0|12"));
    }

    // A chosen picture shows at once and reaches data/ only through "应用设置".
    void chosenPictureWrittenOnApply() {
        TempHome home;
        FakePlatform platform;
        QImage image(200, 100, QImage::Format_RGB32);
        image.fill(Qt::black);
        const QString chosen = home.home().filePath(QStringLiteral("logo.png"));
        QVERIFY(image.save(chosen));
        platform.fileAnswers.enqueue(chosen);

        PrintSettingsWindow window(home.db(), platform, home.home(), {});
        QTest::mouseClick(control<QPushButton>(window, "顶部图片选择按钮1"), Qt::LeftButton);
        QCOMPARE(control<QLineEdit>(window, "编辑框_顶部图片")->text(), chosen);
        QCOMPARE(control<QLabel>(window, "图片框1")->pixmap().size(), QSize(128, 64));
        QVERIFY(!QFile::exists(home.home().topPicturePath()));

        QTest::mouseClick(control<QPushButton>(window, "按钮2"), Qt::LeftButton);
        QCOMPARE(QImage(home.home().topPicturePath()).size(), QSize(200, 100));
        QVERIFY(!QFile::exists(home.home().bottomPicturePath()));
    }

    // 后厨打印: a station's network printer reaches the till's file on 应用设置; a port out of range is
    // refused with its station shown and the port focused, and nothing is stored.
    void kitchenStationPrinterAppliedToTheTillFile() {
        TempHome home;
        QVERIFY(CatalogStore(home.db()).insertNamed(NamedList::Stations, QStringLiteral("面点")));
        FakePlatform platform;
        PrintSettingsWindow window(home.db(), platform, home.home(), {});
        window.show();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        auto* stations = control<QListWidget>(window, "列表_出品部门");
        QCOMPARE(stations->count(), 2);
        QCOMPARE(stations->item(0)->text(), QStringLiteral("厨房"));
        QCOMPARE(stations->item(1)->text(), QStringLiteral("面点"));
        auto* kind = control<QComboBox>(window, "组合框_后厨打印机类型");
        auto* host = control<QLineEdit>(window, "编辑框_后厨打印机地址");
        auto* port = control<QLineEdit>(window, "编辑框_后厨打印机端口");
        auto* paper = control<QComboBox>(window, "组合框_后厨纸宽");

        stations->setCurrentRow(1);
        kind->setCurrentIndex(int(PrinterKind::Network));
        host->setText(QStringLiteral("127.0.0.1"));
        port->setText(QStringLiteral("9102"));
        paper->setCurrentIndex(0);  // 58 毫米
        stations->setCurrentRow(0); // the typed values stay with 面点
        QCOMPARE(kind->currentIndex(), int(PrinterKind::System));
        QTest::mouseClick(control<QPushButton>(window, "按钮2"), Qt::LeftButton);
        QCOMPARE(platform.texts(), QStringList());
        const QList<StationPrinter> saved = loadStationPrinters(home.home());
        QCOMPARE(saved.size(), 1);
        QCOMPARE(saved[0].station, QStringLiteral("面点"));
        QCOMPARE(saved[0].printer.kind, PrinterKind::Network);
        QCOMPARE(saved[0].printer.host, QStringLiteral("127.0.0.1"));
        QCOMPARE(saved[0].printer.port, 9102);
        QCOMPARE(saved[0].paperWidthMm, 58);

        // A window opened afresh shows what was stored.
        {
            PrintSettingsWindow again(home.db(), platform, home.home(), {});
            control<QListWidget>(again, "列表_出品部门")->setCurrentRow(1);
            QCOMPARE(control<QComboBox>(again, "组合框_后厨打印机类型")->currentIndex(),
                     int(PrinterKind::Network));
            QCOMPARE(control<QLineEdit>(again, "编辑框_后厨打印机端口")->text(), QStringLiteral("9102"));
            QCOMPARE(control<QComboBox>(again, "组合框_后厨纸宽")->currentIndex(), 0);
        }

        stations->setCurrentRow(1);
        port->setText(QStringLiteral("70000"));
        auto* copies = control<QLineEdit>(window, "编辑框份数");
        copies->setText(QStringLiteral("3"));
        stations->setCurrentRow(0);
        QTest::mouseClick(control<QPushButton>(window, "按钮2"), Qt::LeftButton);
        QCOMPARE(platform.texts(),
                 QStringList{QStringLiteral("端口须是 1 到 65535 之间的整数，一般是 9100。")});
        QCOMPARE(control<QTabWidget>(window, "选择夹1")->currentWidget()->objectName(),
                 QStringLiteral("后厨打印"));
        QCOMPARE(stations->currentRow(), 1);
        QCOMPARE(QApplication::focusWidget(), port);
        QCOMPARE(port->selectedText(), QStringLiteral("70000"));
        QCOMPARE(loadStationPrinters(home.home())[0].printer.port, 9102);
        // Nothing of the refused apply is stored, the receipt settings neither.
        QCOMPARE(RecordStore(home.db()).read(QStringLiteral("打印份数")), QStringLiteral("1"));
    }
};

QTEST_MAIN(PrintSettingsWindowTest)
#include "tst_printsettingswindow.moc"
