#include "core/ui/functionkeys.h"

#include <QComboBox>
#include <QDialog>
#include <QLineEdit>
#include <QMenu>
#include <QTableWidget>
#include <QVBoxLayout>
#include <QtTest>

using namespace qm;

namespace {

// A window with the kinds of controls the order form has, and the keys its FunctionKeys reported.
struct KeyedWindow {
    QWidget window;
    QLineEdit* edit = new QLineEdit(&window);
    QComboBox* combo = new QComboBox(&window);
    QTableWidget* table = new QTableWidget(3, 2, &window);
    QList<int> acted;
    FunctionKeys keys{&window, [this](int key) { acted << key; }};

    KeyedWindow() {
        auto* layout = new QVBoxLayout(&window);
        layout->addWidget(edit);
        layout->addWidget(combo);
        layout->addWidget(table);
        combo->addItems({QStringLiteral("现金支付"), QStringLiteral("到付")});
        table->setCurrentCell(1, 1);
    }

    bool show() {
        window.show();
        window.activateWindow();
        return QTest::qWaitForWindowActive(&window);
    }
};

void sendKey(QWidget* target, QEvent::Type type, int key, bool autoRepeat = false) {
    QKeyEvent event(type, key, Qt::NoModifier, QString(), autoRepeat);
    QApplication::sendEvent(target, &event);
}

} // namespace

class TestFunctionKeys : public QObject {
    Q_OBJECT

private slots:
    // Whichever control has the focus, F1..F12 act once, on release, and the control never sees them
    // (F4 would open the combo's list, F2 would start editing the table cell).
    void actsOnReleaseWhateverHasFocus_data() {
        QTest::addColumn<QString>("focus");
        QTest::addColumn<int>("key");
        for (const char* focus : {"edit", "combo", "table"}) {
            for (int key : {int(Qt::Key_F1), int(Qt::Key_F2), int(Qt::Key_F4), int(Qt::Key_F12)})
                QTest::addRow("%s F%d", focus, key - Qt::Key_F1 + 1) << QString::fromLatin1(focus) << key;
        }
    }

    void actsOnReleaseWhateverHasFocus() {
        QFETCH(QString, focus);
        QFETCH(int, key);
        KeyedWindow w;
        QVERIFY(w.show());
        QWidget* target = focus == QLatin1String("edit")    ? static_cast<QWidget*>(w.edit)
                          : focus == QLatin1String("combo") ? static_cast<QWidget*>(w.combo)
                                                            : static_cast<QWidget*>(w.table);
        target->setFocus();
        QTRY_COMPARE(QApplication::focusWidget(), target);

        QTest::keyPress(target, Qt::Key(key));
        QVERIFY(w.acted.isEmpty());
        QTest::keyRelease(target, Qt::Key(key));
        QCOMPARE(w.acted, QList<int>{key});

        QVERIFY(!w.combo->view()->isVisible());
        QCOMPARE(QApplication::focusWidget(), target);
    }

    void otherKeysReachTheControls() {
        KeyedWindow w;
        QVERIFY(w.show());
        w.edit->setFocus();
        QTest::keyClicks(w.edit, QStringLiteral("108"));
        QTest::keyClick(w.edit, Qt::Key_F13);
        QTest::keyClick(w.edit, Qt::Key_Escape);
        QCOMPARE(w.edit->text(), QStringLiteral("108"));
        QVERIFY(w.acted.isEmpty());
    }

    // Holding a key down repeats press and release; only the final release acts.
    void autoRepeatActsOnce() {
        KeyedWindow w;
        QVERIFY(w.show());
        w.edit->setFocus();
        sendKey(w.edit, QEvent::KeyPress, Qt::Key_F6);
        for (int i = 0; i < 3; ++i) {
            sendKey(w.edit, QEvent::KeyRelease, Qt::Key_F6, true);
            sendKey(w.edit, QEvent::KeyPress, Qt::Key_F6, true);
        }
        QVERIFY(w.acted.isEmpty());
        sendKey(w.edit, QEvent::KeyRelease, Qt::Key_F6);
        QCOMPARE(w.acted, QList<int>{Qt::Key_F6});
    }

    // A modal window in front (a message box, a settings window) takes the keys away from the window
    // behind it, even keys sent straight to one of its controls; afterwards they act again.
    void nothingWhileModalInFront() {
        KeyedWindow w;
        QVERIFY(w.show());
        QDialog modal(&w.window);
        modal.setModal(true);
        modal.show();
        QVERIFY(QTest::qWaitForWindowActive(&modal));
        QCOMPARE(QApplication::activeModalWidget(), &modal);

        QTest::keyClick(w.edit, Qt::Key_F12);
        QTest::keyClick(&modal, Qt::Key_F12);
        QVERIFY(w.acted.isEmpty());

        modal.close();
        w.window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&w.window));
        QTest::keyClick(w.edit, Qt::Key_F12);
        QCOMPARE(w.acted, QList<int>{Qt::Key_F12});
    }

    // An open menu or drop-down list is in front of the window as well.
    void nothingWhileAMenuIsOpen() {
        KeyedWindow w;
        QVERIFY(w.show());
        w.edit->setFocus();
        QMenu menu(&w.window);
        menu.addAction(QStringLiteral("删除行"));
        menu.popup(w.window.mapToGlobal(QPoint(10, 10)));
        QTRY_COMPARE(QApplication::activePopupWidget(), &menu);
        QTest::keyClick(w.edit, Qt::Key_F12);
        QVERIFY(w.acted.isEmpty());

        menu.close();
        QTRY_VERIFY(!QApplication::activePopupWidget());
        QTest::keyClick(w.edit, Qt::Key_F12);
        QCOMPARE(w.acted, QList<int>{Qt::Key_F12});
    }

    // Two windows with their own keys (the main window and the preview): only the active one acts, and a
    // key pressed in one window and released in the other acts in neither.
    void onlyTheActiveWindowActs() {
        KeyedWindow main;
        KeyedWindow preview;
        QVERIFY(main.show());
        QVERIFY(preview.show());

        QTest::keyClick(preview.edit, Qt::Key_F10);
        QCOMPARE(preview.acted, QList<int>{Qt::Key_F10});
        QVERIFY(main.acted.isEmpty());

        QTest::keyPress(preview.edit, Qt::Key_F11);
        QVERIFY(main.show());
        QTest::keyRelease(main.edit, Qt::Key_F11);
        QVERIFY(main.acted.isEmpty());
        QCOMPARE(preview.acted, QList<int>{Qt::Key_F10});

        QTest::keyClick(main.table, Qt::Key_F11);
        QCOMPARE(main.acted, QList<int>{Qt::Key_F11});
    }

    // On a bare X server (no window manager) the window is never reported active, nor made active again
    // after a dialog: the keys still act when they reach it.
    void keysReachingTheWindowActWithoutActivation() {
        KeyedWindow w;
        QVERIFY(w.show());
        QWidget elsewhere;
        elsewhere.show();
        elsewhere.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&elsewhere));
        QTest::keyClick(w.edit, Qt::Key_F3);
        QCOMPARE(w.acted, QList<int>{Qt::Key_F3});
    }
};

QTEST_MAIN(TestFunctionKeys)
#include "tst_functionkeys.moc"
