#include "receipt/ui/previewwindow.h"
#include "receipt/ui/receiptpreview.h"
#include "store/settings.h"
#include "support/temphome.h"

#include <QApplication>
#include <QFile>
#include <QScrollBar>
#include <QTest>

using namespace qm;

namespace {

ReceiptContent orderWithLines(int count) {
    ReceiptContent content;
    content.orderNumber = QStringLiteral("5");
    content.paymentMethod = QStringLiteral("现金");
    for (int i = 0; i < count; ++i)
        content.lines.append(
            {QStringLiteral("菜%1").arg(i), QStringLiteral("1"), QStringLiteral("份"), QStringLiteral("10")});
    content.total = QString::number(10 * count);
    return content;
}

} // namespace

class PreviewWindowTest : public QObject {
    Q_OBJECT

    QWidget m_main;
    ReceiptContent m_content = orderWithLines(3);

    QScrollBar* scrollBar(PreviewWindow& preview) {
        return preview.findChild<QScrollBar*>(QStringLiteral("纵向滚动条1"));
    }

private slots:
    void init() {
        m_main.setGeometry(100, 80, 500, 600);
        m_main.show();
        QVERIFY(QTest::qWaitForWindowExposed(&m_main));
        m_content = orderWithLines(3);
    }

    // Docked at the main window's right edge, 5 pixels taller; each follows the other's moves.
    void docksAndFollows() {
        TempHome home;
        PreviewWindow preview(&m_main, home.db(), home.home(), [this] { return m_content; });
        preview.show();
        QCOMPARE(preview.windowTitle(), QStringLiteral("打印预览"));
        QCOMPARE(preview.pos(), QPoint(m_main.x() + m_main.frameGeometry().width(), m_main.y()));
        QCOMPARE(preview.height(), m_main.height() + 5);
        QCOMPARE(preview.width(), 233);

        m_main.move(40, 30);
        QTRY_COMPARE(preview.pos(), QPoint(40 + m_main.frameGeometry().width(), 30));
        preview.move(900, 50);
        QTRY_COMPARE(m_main.pos(), QPoint(900 - m_main.frameGeometry().width(), 50));
        QCOMPARE(preview.pos(), QPoint(900, 50));
    }

    // The board holds the whole receipt however long; the scroll range reaches its last row.
    void boardAsTallAsTheReceipt() {
        TempHome home;
        const RecordStore records(home.db());
        records.update(QStringLiteral("设置类型"), QStringLiteral("0"));
        PreviewWindow preview(&m_main, home.db(), home.home(), [this] { return m_content; });
        preview.show();
        QCOMPARE(preview.boardSize().width(), 194);
        QCOMPARE(scrollBar(preview)->maximum(), 0);
        QVERIFY(preview.boardSize().height() < preview.visibleHeight());

        m_content = orderWithLines(400);
        preview.render();
        QVERIFY(preview.boardSize().height() > 5000);
        QCOMPARE(scrollBar(preview)->maximum(), preview.boardSize().height() - preview.visibleHeight());
        // The last line of the receipt is on the board.
        const QImage& board = preview.board();
        QImage white(board.width(), 30, board.format());
        white.fill(Qt::white);
        QVERIFY(board.copy(0, board.height() - 30, board.width(), 30) != white);
    }

    void widthFollowsTheReceiptType() {
        TempHome home;
        PreviewWindow preview(&m_main, home.db(), home.home(), [this] { return m_content; });
        preview.show();
        RecordStore(home.db()).update(QStringLiteral("小票类型"), QStringLiteral("1"));
        QCOMPARE(preview.width(), 233);
        preview.render();
        QCOMPARE(preview.width(), 306);
        QCOMPARE(preview.boardSize().width(), 267);
        RecordStore(home.db()).update(QStringLiteral("小票类型"), QStringLiteral("0"));
        preview.render();
        QCOMPARE(preview.width(), 233);
        QCOMPARE(preview.boardSize().width(), 194);
    }

    // The preview writes the built-in pictures when their files are missing; printing then finds them.
    void missingPicturesAreWritten() {
        TempHome home;
        const RecordStore records(home.db());
        records.update(QStringLiteral("底部图片勾选"), QStringLiteral("0"));
        PreviewWindow preview(&m_main, home.db(), home.home(), [this] { return m_content; });
        QCOMPARE(QImage(home.home().topPicturePath()).size(), QSize(430, 189));
        QVERIFY(!QFile::exists(home.home().bottomPicturePath()));
    }

    void functionKeysActivateTheMainWindow() {
        TempHome home;
        QList<int> keys;
        ReceiptPreview withKeys(
            &m_main, home.db(), home.home(), [this] { return m_content; }, [&](int key) { keys << key; });
        withKeys.open();
        PreviewWindow* preview = withKeys.window();
        preview->activateWindow();
        QTRY_COMPARE(QApplication::activeWindow(), preview);
        QTest::keyClick(preview, Qt::Key_F12);
        QCOMPARE(keys, QList<int>{Qt::Key_F12});
        QTRY_COMPARE(QApplication::activeWindow(), &m_main);
    }

    void toggleAndRefresh() {
        TempHome home;
        int drawn = 0;
        ReceiptPreview dock(&m_main, home.db(), home.home(),
                            [&] {
                                ++drawn;
                                return m_content;
                            },
                            {});
        dock.refresh();
        QCOMPARE(drawn, 0);
        dock.toggle();
        QVERIFY(dock.isOpen());
        QCOMPARE(drawn, 1);
        dock.refresh();
        QCOMPARE(drawn, 2);
        dock.toggle();
        QTRY_VERIFY(!dock.isOpen());
        dock.refresh();
        QCOMPARE(drawn, 2);
    }
};

QTEST_MAIN(PreviewWindowTest)
#include "tst_previewwindow.moc"
