#include "app/ui/desktopintegration.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QGuiApplication>
#include <QIcon>
#include <QInputDialog>
#include <QLabel>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QtTest>

using namespace qm;

// Qt's own dialogs in Chinese, the program icon on every window.
class TestDesktopIntegration : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { setUpDesktopIntegration(*QCoreApplication::instance()); }

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

    void everyWindowCarriesTheIcon() {
        QCOMPARE(programIcon().availableSizes(), (QList<QSize>{{48, 48}, {128, 128}, {256, 256}}));
        QDialog dialog;
        QCOMPARE(dialog.windowIcon().availableSizes(), programIcon().availableSizes());
        QCOMPARE(QGuiApplication::desktopFileName(), desktopFileId);
    }
};

QTEST_MAIN(TestDesktopIntegration)
#include "tst_desktopintegration.moc"
