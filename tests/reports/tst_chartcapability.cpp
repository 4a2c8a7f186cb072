#include "reports/chartcapability.h"
#include "support/fakeplatform.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace qm;

// The check asks about the chart component only when it cannot draw; Yes opens the help page on charts.
class ChartCapabilityTest : public QObject {
    Q_OBJECT

    QTemporaryDir m_temp;

private slots:
    void initTestCase() {
        QVERIFY(m_temp.isValid());
        qputenv("TMPDIR", QFile::encodeName(m_temp.path()));
    }
    void cleanup() { overrideChartsAvailable(std::nullopt); }

    // The check of start-up finds the chart module without loading it; the first chart loads it, and Qt
    // Charts with it. (This test does not link Qt Charts, as the program does not.)
    void chartComponentLoadsOnFirstUse() {
        const auto chartsMapped = [] {
            QFile maps(QStringLiteral("/proc/self/maps"));
            return maps.open(QIODevice::ReadOnly) && maps.readAll().contains("libQt6Charts");
        };
        QVERIFY(!chartsMapped());
        FakePlatform platform;
        QVERIFY(checkChartsInstalled(platform));
        QVERIFY(!chartsMapped());
        QVERIFY(chartModuleEntry());
        QVERIFY(chartsMapped());
        QVERIFY(platform.shown.isEmpty());
    }

    // In a window-system application the chart module draws.
    void chartsDrawHere() {
        FakePlatform platform;
        QVERIFY(chartsAvailable());
        QVERIFY(checkChartSupport(platform));
        QVERIFY(platform.shown.isEmpty());
    }

    void questionWhenUnavailable_data() {
        QTest::addColumn<bool>("atStart");
        QTest::addColumn<bool>("answer");
        QTest::newRow("report window, Yes opens the help") << false << true;
        QTest::newRow("report window, No goes on") << false << false;
        QTest::newRow("start-up, Yes opens the help") << true << true;
        QTest::newRow("start-up, No goes on") << true << false;
    }
    void questionWhenUnavailable() {
        QFETCH(bool, atStart);
        QFETCH(bool, answer);
        overrideChartsAvailable(false);
        FakePlatform platform;
        platform.yesNoAnswers.enqueue(answer);
        QVERIFY(!(atStart ? checkChartsInstalled(platform) : checkChartSupport(platform)));
        QCOMPARE(platform.texts(), QStringList{chartSupportQuestion});
        QCOMPARE(platform.shown.first().icon, MessageIcon::Warning);
        QVERIFY(chartSupportQuestion.contains(QStringLiteral("图表组件")));
        QVERIFY(!chartSupportQuestion.contains(QStringLiteral("Flash")));
        QCOMPARE(platform.openedUrls.size(), answer ? 1 : 0);
        if (!answer)
            return;
        const QUrl page = platform.openedUrls.first();
        QVERIFY(page.isLocalFile());
        QFile file(page.toLocalFile());
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QString text = QString::fromUtf8(file.readAll());
        QVERIFY(text.contains(QStringLiteral("libqt6charts6")));
        QVERIFY(text.contains(QStringLiteral("<title>图表显示不出来怎么办</title>")));
    }
};

QTEST_MAIN(ChartCapabilityTest)
#include "tst_chartcapability.moc"
