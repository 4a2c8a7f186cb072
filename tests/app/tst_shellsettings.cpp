#include "app/abouttext.h"
#include "app/displaysettings.h"
#include "app/helpdocuments.h"
#include "app/ui/decimalsdialog.h"
#include "app/ui/timeformatdialog.h"
#include "store/database.h"
#include "store/settings.h"
#include "store/staffstore.h"
#include "support/fakeplatform.h"
#include "support/temphome.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QSqlQuery>
#include <QSysInfo>
#include <QtTest>

using namespace qm;

Q_DECLARE_METATYPE(qm::HelpDocument)

// The display settings windows "选择时间格式" and "设置", the help documents and the about text.
class TestShellSettings : public QObject {
    Q_OBJECT

private slots:
    void decimalsFromText_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("expected"); // -1: refused
        QTest::newRow("0") << "0" << 0;
        QTest::newRow("3") << "3" << 3;
        QTest::newRow("2.7 stores 2") << "2.7" << 2;
        QTest::newRow("3.9 stores 3") << "3.9" << 3;
        QTest::newRow("4") << "4" << -1;
        QTest::newRow("-1") << "-1" << -1;
        QTest::newRow("full-width 2") << "２" << 2;
        QTest::newRow("empty reads as 0") << "" << 0;
        QTest::newRow("no number reads as 0") << "abc" << 0;
        QTest::newRow("huge") << "99999999999" << -1;
    }

    void decimalsFromText() {
        QFETCH(QString, text);
        QFETCH(int, expected);
        QCOMPARE(quantityDecimalsFromText(text).value_or(-1), expected);
    }

    void storedTimeFormat_data() {
        QTest::addColumn<QString>("stored"); // "-": no row
        QTest::addColumn<int>("expected");
        QTest::newRow("missing") << "-" << 0;
        QTest::newRow("empty") << "" << 0;
        QTest::newRow("1") << "1" << 1;
        QTest::newRow("2") << "2" << 2;
        QTest::newRow("unknown 3") << "3" << 0;
        QTest::newRow("text") << "x" << 0;
    }

    void storedTimeFormat() {
        QFETCH(QString, stored);
        QFETCH(int, expected);
        TempHome home;
        const RecordStore records(home.db());
        if (stored != QLatin1String("-"))
            QVERIFY(records.write(QStringLiteral("时间格式"), stored));
        QCOMPARE(readTimeFormat(records), expected);
    }

    // The three boxes act as one choice, every click is stored at once, a click on the chosen box keeps
    // it chosen.
    void timeFormatWindow() {
        TempHome home;
        const RecordStore records(home.db());
        TimeFormatDialog dialog(home.db(), 2);
        QCOMPARE(dialog.windowTitle(), QStringLiteral("选择时间格式"));
        QCOMPARE(dialog.size(), QSize(340, 238));
        QSignalSpy changed(&dialog, &TimeFormatDialog::timeFormatChanged);
        QList<QCheckBox*> boxes;
        for (int i = 1; i <= 3; ++i) {
            boxes << dialog.findChild<QCheckBox*>(QStringLiteral("选择框%1").arg(i));
            QVERIFY(boxes.last());
        }
        QCOMPARE(boxes[1]->text(), QStringLiteral("年/月/日 时:分(2000/12/30 01:59)"));
        dialog.show();
        auto checked = [&] {
            return QList<bool>{boxes[0]->isChecked(), boxes[1]->isChecked(), boxes[2]->isChecked()};
        };
        QCOMPARE(checked(), (QList<bool>{false, false, true}));

        QTest::mouseClick(boxes[1], Qt::LeftButton);
        QCOMPARE(checked(), (QList<bool>{false, true, false}));
        QCOMPARE(records.read(QStringLiteral("时间格式")), QStringLiteral("1"));
        QCOMPARE(dialog.format(), 1);

        QTest::mouseClick(boxes[1], Qt::LeftButton);
        QCOMPARE(checked(), (QList<bool>{false, true, false}));

        QTest::mouseClick(boxes[0], Qt::LeftButton);
        QCOMPARE(checked(), (QList<bool>{true, false, false}));
        QCOMPARE(records.read(QStringLiteral("时间格式")), QStringLiteral("0"));
        QCOMPARE(changed.size(), 3);
        QCOMPARE(changed.last().first().toInt(), 0);

        auto* ok = dialog.findChild<QPushButton*>(QStringLiteral("按钮2"));
        QCOMPARE(ok->text(), QStringLiteral("确定"));
        QTest::mouseClick(ok, Qt::LeftButton);
        QVERIFY(!dialog.isVisible());
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
    }

    void decimalsWindow_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("accepted");
        QTest::addColumn<int>("decimals");
        QTest::newRow("2.7 stores 2") << "2.7" << true << 2;
        QTest::newRow("0") << "0" << true << 0;
        QTest::newRow("4 refused") << "4" << false << 1;
        QTest::newRow("-1 refused") << "-1" << false << 1;
    }

    void decimalsWindow() {
        QFETCH(QString, typed);
        QFETCH(bool, accepted);
        QFETCH(int, decimals);
        TempHome home;
        const RecordStore records(home.db());
        const QString before = records.read(QStringLiteral("小数位数"));
        FakePlatform platform;
        DecimalsDialog dialog(home.db(), platform, 1, home.home().tillPath());
        QCOMPARE(dialog.windowTitle(), QStringLiteral("设置"));
        dialog.show();
        QVERIFY(QTest::qWaitForWindowActive(&dialog));
        auto* edit = dialog.findChild<QLineEdit*>(QStringLiteral("小数位数_编辑框"));
        QCOMPARE(edit->text(), QStringLiteral("1"));
        QCOMPARE(edit->selectedText(), QStringLiteral("1"));
        QCOMPARE(QApplication::focusWidget(), edit);

        QTest::keyClicks(edit, typed);
        QTest::mouseClick(dialog.findChild<QPushButton*>(QStringLiteral("按钮2")), Qt::LeftButton);
        QVERIFY(dialog.isVisible());
        QVERIFY(platform.shown.isEmpty());
        QTest::mouseClick(dialog.findChild<QPushButton*>(QStringLiteral("确认")), Qt::LeftButton);
        QCOMPARE(dialog.decimals(), decimals);
        QCOMPARE(dialog.isVisible(), !accepted);
        if (accepted) {
            QVERIFY(platform.shown.isEmpty());
            QCOMPARE(records.read(QStringLiteral("小数位数")), QString::number(decimals));
            return;
        }
        QCOMPARE(platform.texts(), QStringList{quantityDecimalsRangeMessage});
        QCOMPARE(platform.shown.first().icon, MessageIcon::Information);
        QCOMPARE(platform.shown.first().caption, QStringLiteral("提示"));
        QCOMPARE(records.read(QStringLiteral("小数位数")), before);
        QCOMPARE(edit->selectedText(), typed);
    }

    // "数量默认 1，不再询问" and "电话后四位查找顾客" start off, are stored in 记录 by 确认 and show checked
    // the next time.
    void switchesStored_data() {
        QTest::addColumn<QString>("box");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("key");
        QTest::newRow("quantity") << "选择框_数量默认1"
                                  << "数量默认 1，不再询问"
                                  << "数量默认1";
        QTest::newRow("telephone tail") << "选择框_电话后四位"
                                        << "电话后四位查找顾客"
                                        << "电话后四位";
    }
    void switchesStored() {
        QFETCH(QString, box);
        QFETCH(QString, caption);
        QFETCH(QString, key);
        TempHome home;
        FakePlatform platform;
        const RecordStore records(home.db());
        QVERIFY(!readQuantityWithoutAsking(records) && !readTelephoneTail(records));
        {
            DecimalsDialog dialog(home.db(), platform, 0, home.home().tillPath());
            auto* check = dialog.findChild<QCheckBox*>(box);
            QVERIFY(check && !check->isChecked());
            QCOMPARE(check->text(), caption);
            check->setChecked(true);
            QTest::mouseClick(dialog.findChild<QPushButton*>(QStringLiteral("确认")), Qt::LeftButton);
            QCOMPARE(dialog.quantityWithoutAsking() + dialog.telephoneTail(), 1);
        }
        QCOMPARE(records.read(key), QStringLiteral("1"));
        QCOMPARE(readQuantityWithoutAsking(records) + readTelephoneTail(records), 1);
        DecimalsDialog again(home.db(), platform, 0, home.home().tillPath());
        QVERIFY(again.findChild<QCheckBox*>(box)->isChecked());
        QVERIFY(platform.shown.isEmpty());
    }

    // In staff mode a change in "设置" is recorded, before and after, with the settings it stores; a 确认
    // that changes nothing records nothing.
    void changeRecordedInStaffMode() {
        TempHome home;
        FakePlatform platform;
        AuditEvent event;
        event.person = QStringLiteral("王店主");
        event.action = QStringLiteral("修改设置");
        const auto confirm = [&](const QString& decimals) {
            DecimalsDialog dialog(home.db(), platform, 1, home.home().tillPath(), event);
            dialog.findChild<QLineEdit*>(QStringLiteral("小数位数_编辑框"))->setText(decimals);
            QTest::mouseClick(dialog.findChild<QPushButton*>(QStringLiteral("确认")), Qt::LeftButton);
        };
        const auto records = [&] {
            QStringList out;
            QSqlQuery q =
                home.db().prepare(QStringLiteral("SELECT 人员, 之前, 之后 FROM 操作记录 ORDER BY ID"));
            if (q.exec()) {
                while (q.next())
                    out << q.value(0).toString() + QLatin1Char('|') +
                               q.value(1).toString().section('\n', 0, 0) + QLatin1Char('|') +
                               q.value(2).toString().section('\n', 0, 0);
            }
            return out;
        };
        confirm(QStringLiteral("1"));
        QCOMPARE(records(), QStringList());
        confirm(QStringLiteral("2"));
        QCOMPARE(records(), QStringList{QStringLiteral("王店主|数量小数位数：1|数量小数位数：2")});
        QCOMPARE(RecordStore(home.db()).read(QStringLiteral("小数位数")), QStringLiteral("2"));
        QVERIFY(platform.shown.isEmpty());
    }

    // The till's name starts as the host name, is kept in the till's own file by 确认 and goes with the
    // orders stored from then on; the window names the database in use. An emptied name is the host's.
    void tillNameStoredAndDatabaseShown() {
        TempHome home;
        FakePlatform platform;
        const QString tillFile = home.home().tillPath();
        {
            DecimalsDialog dialog(home.db(), platform, 1, tillFile);
            auto* name = dialog.findChild<QLineEdit*>(QStringLiteral("收银机名称_编辑框"));
            QVERIFY(name);
            QCOMPARE(name->text(), QSysInfo::machineHostName());
            QCOMPARE(dialog.findChild<QLabel*>(QStringLiteral("数据库_标签"))->text(),
                     QStringLiteral("数据库：") + home.db().describe());
            name->setText(QStringLiteral(" 二号机 "));
            QTest::mouseClick(dialog.findChild<QPushButton*>(QStringLiteral("确认")), Qt::LeftButton);
        }
        QCOMPARE(TillFile(tillFile).tillName(), QStringLiteral("二号机"));
        QCOMPARE(home.db().tillName(), QStringLiteral("二号机"));
        {
            DecimalsDialog dialog(home.db(), platform, 1, tillFile);
            auto* name = dialog.findChild<QLineEdit*>(QStringLiteral("收银机名称_编辑框"));
            QCOMPARE(name->text(), QStringLiteral("二号机"));
            name->clear();
            QTest::mouseClick(dialog.findChild<QPushButton*>(QStringLiteral("确认")), Qt::LeftButton);
        }
        QCOMPARE(home.db().tillName(), QSysInfo::machineHostName());
        QVERIFY(platform.shown.isEmpty());
    }

    // Each opening writes the document afresh (an older copy is replaced) and hands it to the platform.
    void helpDocumentWrittenAndOpened_data() {
        QTest::addColumn<HelpDocument>("document");
        QTest::addColumn<QString>("fileName");
        QTest::addColumn<QStringList>("mentions");
        QTest::newRow("usage") << HelpDocument::Usage << QStringLiteral("怎样使用软件.html")
                               << QStringList{"字母代号", "桌号代码", "电话", "图片"};
        QTest::newRow("printing") << HelpDocument::PrintingTrouble << QStringLiteral("打印不了怎么办.html")
                                  << QStringList{"USB", "CUPS", "测试页", "cupsenable", "自检"};
    }

    void helpDocumentWrittenAndOpened() {
        QFETCH(HelpDocument, document);
        QFETCH(QString, fileName);
        QFETCH(QStringList, mentions);
        TempHome home;
        const QString path = home.home().filePath(fileName);
        QCOMPARE(helpDocumentFileName(document), fileName);
        {
            QFile old(path);
            QVERIFY(old.open(QIODevice::WriteOnly));
            old.write("an old copy that is longer than nothing at all");
        }
        FakePlatform platform;
        QVERIFY(openHelpDocument(document, home.home(), platform));
        QCOMPARE(platform.openedDocuments, QStringList{path});

        QFile written(path);
        QVERIFY(written.open(QIODevice::ReadOnly));
        const QString html = QString::fromUtf8(written.readAll());
        QVERIFY(html.startsWith(QStringLiteral("<!DOCTYPE html>")));
        QVERIFY(html.trimmed().endsWith(QStringLiteral("</html>")));
        for (const QString& word : mentions)
            QVERIFY2(html.contains(word), qPrintable(word));
    }

    // A document that cannot be written is still asked to open (an older copy may be there).
    void unwritableHelpDocumentStillOpens() {
        TempHome home;
        const QString path = home.home().filePath(helpDocumentFileName(HelpDocument::Usage));
        QVERIFY(QDir().mkpath(path)); // a folder where the file should go: the write fails even as root
        FakePlatform platform;
        QVERIFY(!openHelpDocument(HelpDocument::Usage, home.home(), platform));
        QCOMPARE(platform.openedDocuments, QStringList{path});
    }

    // Without a program to open it the cashier is told where the file was written.
    void helpWithoutAViewerSaysWhereItIs() {
        TempHome home;
        FakePlatform platform;
        platform.documentsOpen = false;
        QVERIFY(!openHelpDocument(HelpDocument::PrintingTrouble, home.home(), platform));
        QCOMPARE(platform.shown.size(), 1);
        QVERIFY(platform.shown.first().text.endsWith(
            home.home().filePath(helpDocumentFileName(HelpDocument::PrintingTrouble))));
        QVERIFY(platform.shown.first().text.startsWith(QStringLiteral("没有可以打开帮助文件的程序")));
    }

    void aboutNamesProgramAndVersion() { QVERIFY(aboutText().startsWith(QStringLiteral("Quillmenu 3.2\n"))); }
};

QTEST_MAIN(TestShellSettings)
#include "tst_shellsettings.moc"
