#include "app/ui/maincommands.h"
#include "app/ui/mainwindow.h"
#include "staff/auditrecord.h"
#include "staff/staffsession.h"
#include "staff/ui/auditwindow.h"
#include "staff/ui/staffwindow.h"
#include "store/database.h"
#include "store/staffstore.h"
#include "support/fakeplatform.h"
#include "support/temphome.h"
#include "support/widgetdriver.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QSpinBox>
#include <QSqlQuery>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>

using namespace qm;

// The staff windows driven as the shop would: 员工与权限…, the sign-in cover at start and on 锁屏/换班, and
// the 操作记录 window. Every box they open is answered by the scripted platform.
namespace {

const QString ownerPassword = QStringLiteral("owner-pass-2026");
const QString cashierPin = QStringLiteral("7351");

QStringList recordedActions(Database& db) {
    QStringList actions;
    QSqlQuery q = db.prepare(QStringLiteral("SELECT 操作 FROM 操作记录 ORDER BY ID"));
    if (q.exec()) {
        while (q.next())
            actions << q.value(0).toString();
    }
    return actions;
}

QStringList column(QTableWidget* table, int c) {
    QStringList cells;
    for (int row = 0; row < table->rowCount(); ++row)
        cells << (table->item(row, c) ? table->item(row, c)->text() : QString());
    return cells;
}

// A home with staff mode on: the owner 王店主 and the cashier 小张, nobody signed in.
struct StaffHome {
    TempHome home;
    FakePlatform platform;
    StaffHome() {
        StaffSession setUp(home.db(), platform);
        QVERIFY(setUp.enable(QStringLiteral("王店主"), ownerPassword).isEmpty());
        QVERIFY(setUp.saveMember(QStringLiteral("小张"), Role::Cashier, cashierPin).isEmpty());
    }
};

// The main window of a shop with staff, with its commands, shown.
struct Till : StaffHome {
    MainWindow window{home.db(), platform, home.home(), home.quantityDecimals()};
    MainCommands commands{window, home.db(), platform, home.home()};
    Till() {
        window.show();
        window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window));
    }
    QLabel* staffStatus() { return child<QLabel>(window, "状态条1_员工"); }
    QAction* settingsAction() {
        for (QAction* action : child<QMenu>(window, "设置菜单")->actions()) {
            if (action->text() == QStringLiteral("设置"))
                return action;
        }
        qFatal("no 设置");
    }
};

} // namespace

class StaffWindowsTest : public QObject {
    Q_OBJECT

private slots:
    // 员工与权限…: the mode turned on with the owner's password, staff added, picked and removed, the idle
    // lock kept, the mode turned off again only with the password; every change is in the record.
    void staffWindowRunsTheStaff() {
        TempHome home;
        FakePlatform platform;
        StaffSession staff(home.db(), platform);
        StaffWindow window(staff, platform);
        auto* members = child<QTableWidget>(window, "员工列表");
        QCOMPARE(child<QLabel>(window, "员工模式_状态")->text(),
                 QStringLiteral("员工模式：未开启（不需登录）"));
        QVERIFY(!members->isEnabled());
        QVERIFY(!child<QPushButton>(window, "按钮_保存员工")->isEnabled());

        // The permission table, read-only, as the code has it.
        auto* permissions = child<QTableWidget>(window, "权限表");
        QCOMPARE(permissions->rowCount(), int(permissionTable().size()));
        const int deleteRow = int(column(permissions, 0).indexOf(actionName(Action::DeleteOrder)));
        QCOMPARE(
            (QStringList{permissions->item(deleteRow, 1)->text(), permissions->item(deleteRow, 2)->text(),
                         permissions->item(deleteRow, 3)->text()}),
            (QStringList{"✓", "✓", "需授权"}));

        platform.textAnswers.enqueue(QStringLiteral("王店主"));
        platform.secretAnswers << ownerPassword << ownerPassword;
        click(window, "按钮_员工模式");
        QVERIFY(staff.enabled());
        QCOMPARE(child<QLabel>(window, "员工模式_状态")->text(), QStringLiteral("员工模式：已开启"));
        QCOMPARE(child<QPushButton>(window, "按钮_员工模式")->text(), QStringLiteral("关闭员工模式…"));
        QCOMPARE(column(members, 0), QStringList{"王店主"});

        // A PIN typed differently twice, or of the wrong shape, adds nobody and says why.
        child<QLineEdit>(window, "员工_姓名")->setText(QStringLiteral("小张"));
        child<QComboBox>(window, "员工_角色")->setCurrentText(roleName(Role::Cashier));
        const struct {
            QString first;
            QString second;
            QString told;
        } refused[] = {
            {cashierPin, QStringLiteral("7350"), QStringLiteral("两次输入的PIN（4到8位数字）不一致。")},
            {QStringLiteral("12"), QStringLiteral("12"), QStringLiteral("PIN须为4到8位数字。")}};
        for (const auto& r : refused) {
            platform.secretAnswers << r.first << r.second;
            click(window, "按钮_保存员工");
            QCOMPARE(platform.texts().last(), r.told);
            QCOMPARE(members->rowCount(), 1);
        }
        platform.secretAnswers << cashierPin << cashierPin;
        click(window, "按钮_保存员工");
        QCOMPARE(column(members, 0), (QStringList{"王店主", "小张"}));
        QCOMPARE(column(members, 1), (QStringList{"店主", "收银员"}));

        members->selectRow(0);
        QCOMPARE(child<QLineEdit>(window, "员工_姓名")->text(), QStringLiteral("王店主"));
        QCOMPARE(child<QComboBox>(window, "员工_角色")->currentText(), QStringLiteral("店主"));
        platform.yesNoAnswers.enqueue(true);
        click(window, "按钮_删除员工");
        QCOMPARE(platform.texts().last(), QStringLiteral("至少保留一位店主。"));
        QCOMPARE(members->rowCount(), 2);

        child<QSpinBox>(window, "空闲锁屏")->setValue(5);
        click(window, "按钮_保存空闲锁屏");
        QCOMPARE(staff.idleLockMinutes(), 5);

        members->selectRow(1);
        platform.yesNoAnswers.enqueue(true);
        click(window, "按钮_删除员工");
        QCOMPARE(column(members, 0), QStringList{"王店主"});

        platform.secretAnswers.enqueue(QStringLiteral("wrong-password"));
        click(window, "按钮_员工模式");
        QCOMPARE(platform.texts().last(), QStringLiteral("店主密码错误。"));
        QVERIFY(staff.enabled());
        platform.secretAnswers.enqueue(ownerPassword);
        click(window, "按钮_员工模式");
        QVERIFY(!staff.enabled());
        QCOMPARE(child<QLabel>(window, "员工模式_状态")->text(),
                 QStringLiteral("员工模式：未开启（不需登录）"));
        QVERIFY(!members->isEnabled());

        QCOMPARE(recordedActions(home.db()),
                 (QStringList{"开启员工模式", "添加员工", "修改设置", "删除员工", "关闭员工模式"}));
    }

    // At start the sign-in cover asks until a PIN is right, telling what was wrong; the status line names
    // who is signed in. 锁屏/换班 covers the window again; leaving the cover closes the program.
    void signInCoverAtStartAndOnLock() {
        Till till;
        till.platform.signInAnswers << SignInAnswer{QStringLiteral("小张"), QStringLiteral("0000")}
                                    << SignInAnswer{QStringLiteral("小张"), cashierPin};
        QVERIFY(till.commands.signInAtStart());
        QCOMPARE(till.platform.signInNames.first(), (QStringList{"王店主", "小张"}));
        QCOMPARE(till.platform.shown.at(0).text, QString()); // the first cover tells nothing
        QCOMPARE(till.platform.shown.at(1).text, QStringLiteral("PIN错误，还可再试4次。"));
        QVERIFY(till.staffStatus()->isVisible());
        QCOMPARE(till.staffStatus()->text(), QStringLiteral("当前员工：小张（收银员）"));
        QVERIFY(till.window.entry(MainWindow::Entry::Lock)->isVisible());
        QVERIFY(till.window.entry(MainWindow::Entry::AuditRecord)->isVisible());

        till.platform.signInAnswers << SignInAnswer{QStringLiteral("王店主"), ownerPassword};
        QTest::keyClick(&till.window, Qt::Key_L, Qt::ControlModifier);
        QCOMPARE(till.staffStatus()->text(), QStringLiteral("当前员工：王店主（店主）"));

        // The cover left without signing in: the program closes.
        till.window.entry(MainWindow::Entry::Lock)->trigger();
        QVERIFY(!till.window.isVisible());
        QCOMPARE(recordedActions(till.home.db()).count(QStringLiteral("登录失败")), 1);
    }

    // A shop that never set up staff: no cover, no status, no entries of staff mode.
    void noCoverWithoutStaff() {
        TempHome home;
        FakePlatform platform;
        MainWindow window(home.db(), platform, home.home(), home.quantityDecimals());
        MainCommands commands(window, home.db(), platform, home.home());
        window.show();
        QVERIFY(commands.signInAtStart());
        QVERIFY(platform.shown.isEmpty());
        QVERIFY(!child<QLabel>(window, "状态条1_员工")->isVisible());
        QVERIFY(!window.entry(MainWindow::Entry::Lock)->isVisible());
        QVERIFY(!window.entry(MainWindow::Entry::AuditRecord)->isVisible());
    }

    // A cashier opening 设置 or 打印设置 is asked for a 店长's or 店主's PIN; without it nothing opens.
    void cashierIsAskedBeforeTheSettings() {
        Till till;
        till.platform.signInAnswers << SignInAnswer{QStringLiteral("小张"), cashierPin};
        QVERIFY(till.commands.signInAtStart());
        for (QAction* entry : {till.settingsAction(), till.window.entry(MainWindow::Entry::PrintSettings)}) {
            const qsizetype shown = till.platform.shown.size();
            entry->trigger();
            QCOMPARE(till.platform.shown.size(), shown + 2);
            QCOMPARE(till.platform.shown.at(shown).caption, authorisationTitle);
            QCOMPARE(till.platform.texts().last(), authorisationRefused);
        }
    }

    // 操作记录: newest first, filtered by action, person and day; a row opens its whole before/after text;
    // a row changed behind the program's back is named in red until the owner acknowledges it.
    void auditWindowListsFiltersAndTellsOfChanges() {
        StaffHome shop;
        Database& db = shop.home.db();
        StaffSession staff(db, shop.platform);
        QCOMPARE(staff.signIn(QStringLiteral("王店主"), ownerPassword).status, SignInStatus::SignedIn);
        QVERIFY(staff.record({QStringLiteral("小张"), QStringLiteral("王店主")}, auditDrawerOpened));
        QVERIFY(staff.record({QStringLiteral("小张"), {}}, auditReprint, QStringLiteral("第一行\n第二行")));
        shop.platform.clock = shop.platform.clock.addDays(1);
        QVERIFY(staff.record({QStringLiteral("王店主"), {}}, auditDrawerOpened));

        AuditWindow window(db, shop.platform, staff);
        auto* list = child<QTableWidget>(window, "操作记录列表");
        QCOMPARE(child<QLabel>(window, "操作记录_条数")->text(), QStringLiteral("共 5 条"));
        QCOMPARE(column(list, 5),
                 (QStringList{"无销售打开钱箱", "重打小票", "无销售打开钱箱", "添加员工", "开启员工模式"}));
        QCOMPARE(list->item(1, 8)->text(), QStringLiteral("第一行…"));

        auto search = [&](const QString& person, const QString& action) {
            child<QComboBox>(window, "筛选_人员")->setCurrentText(person);
            child<QComboBox>(window, "筛选_操作")->setCurrentText(action);
            click(window, "按钮_查询");
            return column(list, 0);
        };
        QCOMPARE(search(QStringLiteral("（全部）"), auditDrawerOpened), (QStringList{"5", "3"}));
        // A person is found as the one signed in and as the one who allowed it.
        QCOMPARE(search(QStringLiteral("王店主"), auditDrawerOpened), (QStringList{"5", "3"}));
        QCOMPARE(search(QStringLiteral("小张"), QStringLiteral("（全部）")), (QStringList{"4", "3"}));
        child<QCheckBox>(window, "选择框_按日期")->setChecked(true);
        child<QDateEdit>(window, "日期_从")->setDate(shop.platform.clock.date());
        child<QDateEdit>(window, "日期_到")->setDate(shop.platform.clock.date());
        QCOMPARE(search(QStringLiteral("（全部）"), QStringLiteral("（全部）")), QStringList{"5"});
        child<QCheckBox>(window, "选择框_按日期")->setChecked(false);

        search(QStringLiteral("小张"), auditReprint);
        emit list->cellDoubleClicked(0, 0);
        QCOMPARE(shop.platform.shown.last().caption, QStringLiteral("操作记录"));
        QVERIFY2(shop.platform.shown.last().text.contains(QStringLiteral("之后：\n第一行\n第二行")),
                 qPrintable(shop.platform.shown.last().text));

        window.checkChain();
        QVERIFY(!child<QLabel>(window, "操作记录_改动")->isVisibleTo(&window));
        QVERIFY(db.exec(QStringLiteral("DROP TRIGGER 操作记录_禁止修改")));
        QVERIFY(db.exec(QStringLiteral("UPDATE 操作记录 SET 人员 = '别人' WHERE ID = 3")));
        window.checkChain();
        QVERIFY(child<QLabel>(window, "操作记录_改动")->isVisibleTo(&window));
        QCOMPARE(child<QLabel>(window, "操作记录_改动")->text(),
                 QStringLiteral("操作记录已被改动：第一处改动在第3条"));
        shop.platform.yesNoAnswers.enqueue(true);
        click(window, "按钮_确认改动");
        QVERIFY(!child<QLabel>(window, "操作记录_改动")->isVisibleTo(&window));
        QCOMPARE(recordedActions(db).last(), QStringLiteral("确认操作记录被改动"));

        // A cashier sees the notice and cannot acknowledge it.
        QVERIFY(db.exec(QStringLiteral("UPDATE 操作记录 SET 人员 = '又一人' WHERE ID = 2")));
        QCOMPARE(staff.signIn(QStringLiteral("小张"), cashierPin).status, SignInStatus::SignedIn);
        window.checkChain();
        QVERIFY(child<QLabel>(window, "操作记录_改动")->isVisibleTo(&window));
        QVERIFY(!child<QPushButton>(window, "按钮_确认改动")->isVisibleTo(&window));
    }

    // 导出 writes the rows under the filter and is itself recorded; a cashier needs a PIN for it.
    void auditWindowExports() {
        StaffHome shop;
        Database& db = shop.home.db();
        StaffSession staff(db, shop.platform);
        QCOMPARE(staff.signIn(QStringLiteral("小张"), cashierPin).status, SignInStatus::SignedIn);
        AuditWindow window(db, shop.platform, staff);
        QTemporaryDir folder;
        const QString path = folder.filePath(QStringLiteral("操作记录.csv"));
        click(window, "按钮_导出");
        QCOMPARE(shop.platform.texts().last(), authorisationRefused);
        QVERIFY(!QFile::exists(path));

        shop.platform.secretAnswers.enqueue(ownerPassword);
        shop.platform.fileAnswers.enqueue(path);
        click(window, "按钮_导出");
        QCOMPARE(shop.platform.texts().last(), QStringLiteral("导出完成。"));
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll().count("\r\n"), 2); // the titles and the two rows before the export
        QSqlQuery row = db.prepare(
            QStringLiteral("SELECT 人员, 授权人 FROM 操作记录 WHERE 操作 = 'CSV导出' ORDER BY ID DESC"));
        QVERIFY(row.exec() && row.next());
        QCOMPARE(row.value(0).toString(), QStringLiteral("小张"));
        QCOMPARE(row.value(1).toString(), QStringLiteral("王店主"));
        QCOMPARE(child<QLabel>(window, "操作记录_条数")->text(), QStringLiteral("共 3 条"));
    }
};

QTEST_MAIN(StaffWindowsTest)
#include "tst_staffwindows.moc"
