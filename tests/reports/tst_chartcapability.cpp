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

    // In a window-system application the component the program links draws.
    void chartsDrawHere() {
        FakePlatform platform;
        QVERIFY(chartsAvailable());
        QVERIFY(checkChartSupport(platform));
        QVERIFY(platform.shown.isEmpty());
    }

    void questionWhenUnavailable_data() {
        QTest::addColumn<bool>("answer");
        QTest::newRow("Yes opens the help") << true;
        QTest::newRow("No goes on") << false;
    }
    void questionWhenUnavailable() {
        QFETCH(bool, answer);
        overrideChartsAvailable(false);
        FakePlatform platform;
        platform.yesNoAnswers.enqueue(answer);
        QVERIFY(!checkChartSupport(platform));
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
