#include "core/platform.h"
#include "receipt/printing.h"
#include "receipt/receiptcontent.h"
#include "receipt/recordingsurface.h"
#include "store/settings.h"
#include "support/fakeplatform.h"
#include "support/temphome.h"

#include <QDir>
#include <QFile>
#include <QTest>

using namespace qm;

namespace {

ReceiptContent content() {
    ReceiptContent content;
    content.orderNumber = QStringLiteral("7");
    content.ticketHeader = QStringLiteral("饿了么(第1联)");
    content.lines = {
        {QStringLiteral("炒饭"), QStringLiteral("1"), QStringLiteral("份"), QStringLiteral("12")}};
    content.total = QStringLiteral("12");
    return content;
}

void writePicture(const QString& path, QSize size) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::white);
    image.save(path, "PNG");
}

int pictures(const RecordingSurface& surface) {
    return int(surface.texts().count(QStringLiteral("[picture]")));
}

} // namespace

class PrintingTest : public QObject {
    Q_OBJECT

    QList<RecordingSurface> m_jobs;

    void offerPrinter(FakePlatform& platform, int failFrom = 0) {
        platform.printers.enqueue([this, failFrom](const PrintRequest& request) {
            return std::make_unique<RecordingPrinter>(m_jobs, request.printWidth, failFrom);
        });
    }

private slots:
    void init() { m_jobs.clear(); }

    void copies_data() {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<bool>("singleCopy");
        QTest::addColumn<int>("jobs");

        QTest::newRow("settle, 3 copies") << "3" << false << 3;
        QTest::newRow("print only, 3 copies") << "3" << true << 1;
        QTest::newRow("settle, 1 copy") << "1" << false << 1;
        QTest::newRow("settle, 0 stored") << "0" << false << 1;
        QTest::newRow("settle, negative stored") << "-1" << false << 1;
    }

    // One dialog, one job per copy on the chosen printer, pictures on the first copy only, the same text
    // on every copy.
    void copies() {
        QFETCH(QString, stored);
        QFETCH(bool, singleCopy);
        QFETCH(int, jobs);

        TempHome home;
        const RecordStore records(home.db());
        records.update(QStringLiteral("打印份数"), stored);
        writePicture(home.home().topPicturePath(), QSize(430, 189));
        writePicture(home.home().bottomPicturePath(), QSize(430, 430));
        FakePlatform platform;
        offerPrinter(platform);

        QVERIFY(printReceipt(platform, records, ConfigFile(home.home().configPath()), home.home(), content(),
                             singleCopy));
        QCOMPARE(platform.printRequests.size(), 1);
        QCOMPARE(platform.printRequests[0].paperWidthMm, 58);
        QCOMPARE(platform.printRequests[0].printWidth, 480);
        QCOMPARE(m_jobs.size(), jobs);
        QCOMPARE(pictures(m_jobs[0]), 2);
        for (int copy = 1; copy < m_jobs.size(); ++copy) {
            QCOMPARE(pictures(m_jobs[copy]), 0);
            QStringList first = m_jobs[0].texts();
            first.removeAll(QStringLiteral("[picture]"));
            QCOMPARE(m_jobs[copy].texts(), first);
        }
        QVERIFY(m_jobs[0].texts().contains(QStringLiteral(" #7 饿了么(第1联) ")));
    }

    void cancelledDialogPrintsNothing() {
        TempHome home;
        const RecordStore records(home.db());
        FakePlatform platform;
        QVERIFY(!printReceipt(platform, records, ConfigFile(home.home().configPath()), home.home(), content(),
                              false));
        QCOMPARE(platform.printRequests.size(), 1);
        QVERIFY(m_jobs.isEmpty());
    }

    void failedCopyStopsTheRest() {
        TempHome home;
        const RecordStore records(home.db());
        records.update(QStringLiteral("打印份数"), QStringLiteral("4"));
        FakePlatform platform;
        offerPrinter(platform, 3);
        QVERIFY(!printReceipt(platform, records, ConfigFile(home.home().configPath()), home.home(), content(),
                              false));
        QCOMPARE(m_jobs.size(), 2);
    }

    // Printing uses only picture files that exist and writes none; the 80 mm roll takes its own width.
    void missingPicturesAndWideRoll() {
        TempHome home;
        const RecordStore records(home.db());
        records.update(QStringLiteral("小票类型"), QStringLiteral("1"));
        writePicture(home.home().bottomPicturePath(), QSize(430, 430));
        FakePlatform platform;
        offerPrinter(platform);

        QVERIFY(printReceipt(platform, records, ConfigFile(home.home().configPath()), home.home(), content(),
                             true));
        QCOMPARE(platform.printRequests[0].paperWidthMm, 80);
        QCOMPARE(platform.printRequests[0].printWidth, 700);
        QCOMPARE(pictures(m_jobs[0]), 1);
        QCOMPARE(m_jobs[0].ops.back().w, 700);
        QCOMPARE(m_jobs[0].ops.back().h, 700);
        QVERIFY(!QFile::exists(home.home().topPicturePath()));
    }
};

QTEST_MAIN(PrintingTest)
#include "tst_printing.moc"
