#include "app/ui/desktopintegration.h"

#include <QCalendarWidget>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QGuiApplication>
#include <QIcon>
#include <QInputDialog>
#include <QLabel>
#include <QPrintDialog>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QTableView>
#include <QToolButton>
#include <QtTest>

using namespace qm;

// Qt's own dialogs in Chinese, the program icon on every window.
class TestDesktopIntegration : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        setUpDesktopIntegration(*QCoreApplication::instance());
        setProgramIcon();
    }

    void qtDialogsSpeakChinese() {
        QDialogButtonBox buttons(QDialogButtonBox::Ok | QDialogButtonBox::Cancel | QDialogButtonBox::Save);
        QCOMPARE(buttons.button(QDialogButtonBox::Ok)->text(), QStringLiteral("确定"));
        QCOMPARE(buttons.button(QDialogButtonBox::Cancel)->text(), QStringLiteral("取消"));
        QCOMPARE(buttons.button(QDialogButtonBox::Save)->text(), QStringLiteral("保存"));

        QPrinter printer;
        QPrintDialog print(&printer);
        QCOMPARE(print.windowTitle(), QStringLiteral("打印"));

        QFileDialog save(nullptr, QStringLiteral("导出"));
        save.setOption(QFileDialog::DontUseNativeDialog);
        save.setAcceptMode(QFileDialog::AcceptSave);
        const auto* fileTypes = save.findChild<QLabel*>(QStringLiteral("fileTypeLabel"));
        QVERIFY(fileTypes);
        QCOMPARE(fileTypes->text(), QStringLiteral("文件类型："));
    }

    // The system's locale is read when the process starts, so each locale runs the calendar check in a
    // process of its own.
    void calendarsSpeakChineseUnderEveryLocale_data() {
        QTest::addColumn<QString>("lang");
        QTest::newRow("Chinese") << QStringLiteral("zh_CN.UTF-8");
        QTest::newRow("English PC") << QStringLiteral("C.UTF-8");
    }
    void calendarsSpeakChineseUnderEveryLocale() {
        QFETCH(QString, lang);
        QProcess child;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("LANG"), lang);
        environment.insert(QStringLiteral("LC_ALL"), lang);
        environment.insert(QStringLiteral("QUILLMENU_LOCALE_CHILD"), QStringLiteral("1"));
        child.setProcessEnvironment(environment);
        child.start(QCoreApplication::applicationFilePath(), {QStringLiteral("calendarInThisProcess")});
        QVERIFY(child.waitForFinished(30000));
        const QByteArray output = child.readAllStandardOutput();
        QVERIFY2(child.exitCode() == 0, output.constData());
        QVERIFY(output.contains("PASS   : TestDesktopIntegration::calendarInThisProcess"));
    }
    void calendarInThisProcess() {
        if (qEnvironmentVariableIsEmpty("QUILLMENU_LOCALE_CHILD"))
            QSKIP("run by calendarsSpeakChineseUnderEveryLocale");
        QCalendarWidget calendar;
        calendar.setSelectedDate(QDate(2026, 12, 10));
        calendar.show();
        QCOMPARE(calendar.findChild<QToolButton*>(QStringLiteral("qt_calendar_monthbutton"))->text(),
                 QStringLiteral("十二月"));
        // A Chinese week starts on Sunday (an English one here on Monday).
        QCOMPARE(calendar.firstDayOfWeek(), Qt::Sunday);
        const QAbstractItemModel* days = calendar.findChild<QTableView*>()->model();
        QCOMPARE(days->data(days->index(0, 1)).toString(), QStringLiteral("周日"));
        QCOMPARE(days->data(days->index(0, 2)).toString(), QStringLiteral("周一"));
        QCOMPARE(QLocale().toString(QDate(2026, 12, 10), QLocale::ShortFormat), QStringLiteral("2026/12/10"));
    }

    void everyWindowCarriesTheIcon() {
        QCOMPARE(programIcon().availableSizes(), (QList<QSize>{{48, 48}, {128, 128}, {256, 256}}));
        QDialog dialog;
        QCOMPARE(dialog.windowIcon().availableSizes(), programIcon().availableSizes());
        QCOMPARE(QGuiApplication::desktopFileName(), desktopFileId);
    }
};

QTEST_MAIN(TestDesktopIntegration)
#include "tst_desktopintegration.moc"
