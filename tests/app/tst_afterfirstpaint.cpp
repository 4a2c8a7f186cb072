#include "app/ui/afterfirstpaint.h"

#include <QElapsedTimer>
#include <QPainter>
#include <QTest>
#include <QWidget>

using namespace qm;

namespace {

// Notes the time of its first paint.
class PaintedWindow : public QWidget {
public:
    QElapsedTimer clock;
    qint64 firstPaintMs = -1;

protected:
    void paintEvent(QPaintEvent*) override {
        if (firstPaintMs < 0)
            firstPaintMs = clock.elapsed();
        QPainter(this).fillRect(rect(), Qt::white);
    }
};

} // namespace

// Work that start-up leaves for later runs once the window has painted its first frame, and not before.
class TestAfterFirstPaint : public QObject {
    Q_OBJECT

private slots:
    void runsAfterTheFirstFrame() {
        PaintedWindow window;
        window.clock.start();
        window.resize(200, 100);
        window.show();
        AfterFirstPaint afterPaint(window);
        QList<qint64> ranAtMs;
        afterPaint.run([&] { ranAtMs << (window.firstPaintMs < 0 ? -1 : window.clock.elapsed()); });
        afterPaint.run([&] { ranAtMs << (window.firstPaintMs < 0 ? -1 : window.clock.elapsed()); });
        QVERIFY(ranAtMs.isEmpty());
        QTRY_COMPARE(ranAtMs.size(), 2);
        QVERIFY(ranAtMs[0] >= window.firstPaintMs);
        QVERIFY(ranAtMs[1] >= 0);
        // Once painted, later work runs from the event loop at once.
        bool late = false;
        afterPaint.run([&] { late = true; });
        QVERIFY(!late);
        QTRY_VERIFY(late);
        // Work that ran is not run again.
        QTest::qWait(50);
        QCOMPARE(ranAtMs.size(), 2);
    }

    // A window that is never painted (not shown, or shown minimised) holds the work back a second at most.
    void unpaintedWindowStillRuns() {
        QWidget window;
        AfterFirstPaint afterPaint(window);
        bool ran = false;
        afterPaint.run([&] { ran = true; });
        QTest::qWait(100);
        QVERIFY(!ran);
        QTRY_VERIFY_WITH_TIMEOUT(ran, 3000);
    }
};

QTEST_MAIN(TestAfterFirstPaint)
#include "tst_afterfirstpaint.moc"
