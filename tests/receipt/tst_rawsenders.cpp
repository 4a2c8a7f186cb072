#include "receipt/rawsenders.h"
#include "support/fakeescposprinter.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <thread>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace qm;

namespace {

// Short limits, so that the stuck printers give up within a test's patience.
const SendLimits quick{1000, 300};

QByteArray job(int size) {
    QByteArray bytes(size, '\0');
    for (int i = 0; i < size; ++i)
        bytes[i] = char(i * 31);
    return bytes;
}

// A stand-in for the CUPS client: a shell script that reads the job and does what `body` says.
QString fakeLp(const QTemporaryDir& dir, const QByteArray& body) {
    const QString path = dir.filePath(QStringLiteral("lp"));
    QFile script(path);
    script.open(QIODevice::WriteOnly);
    script.write("#!/bin/sh\n" + body);
    script.close();
    script.setPermissions(script.permissions() | QFile::ExeOwner);
    return path;
}

enum class Case {
    ClosedPort,
    NeverReads,
    MissingDevice,
    Folder,
    OrdinaryFile,
    StuckDevice,
    NoPermission,
    NoLp,
    NoQueue,
    NoCups,
    StoppedCups
};

} // namespace

class RawSendersTest : public QObject {
    Q_OBJECT

private slots:
    void failuresNameTheCause_data() {
        QTest::addColumn<Case>("which");
        QTest::addColumn<QString>("reason");
        QTest::newRow("closed port") << Case::ClosedPort << QStringLiteral("拒绝连接");
        QTest::newRow("port that accepts and never reads") << Case::NeverReads << QStringLiteral("超时");
        QTest::newRow("missing device file") << Case::MissingDevice << QStringLiteral("找不到设备");
        QTest::newRow("folder for a device") << Case::Folder << QStringLiteral("不是打印机设备");
        QTest::newRow("ordinary file for a device") << Case::OrdinaryFile << QStringLiteral("不是打印机设备");
        QTest::newRow("device that stops taking bytes") << Case::StuckDevice << QStringLiteral("超时");
        QTest::newRow("device without permission") << Case::NoPermission << QStringLiteral("lp 组");
        QTest::newRow("no CUPS client") << Case::NoLp << QStringLiteral("cups-client");
        QTest::newRow("CUPS queue missing") << Case::NoQueue << QStringLiteral("不存在");
        QTest::newRow("CUPS not running") << Case::NoCups << QStringLiteral("CUPS 服务没有运行");
        QTest::newRow("CUPS stopped, queue unknown")
            << Case::StoppedCups << QStringLiteral("CUPS 服务没有运行");
    }
    void failuresNameTheCause() {
        QFETCH(Case, which);
        QFETCH(QString, reason);
        QTemporaryDir dir;
        std::unique_ptr<FakeEscPosPrinter> printer;
        std::unique_ptr<RawSender> sender;
        int reader = -1;
        switch (which) {
        case Case::ClosedPort:
            sender = std::make_unique<NetworkSender>(QStringLiteral("127.0.0.1"), closedPort(), quick);
            break;
        case Case::NeverReads:
            printer = std::make_unique<FakeEscPosPrinter>(FakeEscPosPrinter::Mode::NeverRead);
            sender = std::make_unique<NetworkSender>(QStringLiteral("127.0.0.1"), printer->port(), quick);
            break;
        case Case::MissingDevice:
            sender = std::make_unique<DeviceSender>(dir.filePath(QStringLiteral("lp0")), quick);
            break;
        case Case::Folder:
            sender = std::make_unique<DeviceSender>(dir.path(), quick);
            break;
        case Case::OrdinaryFile: {
            QFile file(dir.filePath(QStringLiteral("notes.txt")));
            file.open(QIODevice::WriteOnly);
            file.write("keep me");
            file.close();
            sender = std::make_unique<DeviceSender>(file.fileName(), quick);
            break;
        }
        case Case::StuckDevice: {
            // A pipe whose reader never reads takes its buffer's worth, then nothing.
            const QByteArray fifo = QFile::encodeName(dir.filePath(QStringLiteral("lp0")));
            QCOMPARE(::mkfifo(fifo.constData(), 0600), 0);
            reader = ::open(fifo.constData(), O_RDONLY | O_NONBLOCK);
            sender = std::make_unique<DeviceSender>(QString::fromLocal8Bit(fifo), quick);
            break;
        }
        case Case::NoPermission: {
            if (::geteuid() == 0)
                QSKIP("root may write to any file");
            const QString path = dir.filePath(QStringLiteral("lp0"));
            QFile file(path);
            file.open(QIODevice::WriteOnly);
            file.setPermissions(QFile::ReadOwner);
            sender = std::make_unique<DeviceSender>(path, quick);
            break;
        }
        case Case::NoLp:
            sender = std::make_unique<CupsQueueSender>(QStringLiteral("receipts"), quick,
                                                       dir.filePath(QStringLiteral("no-lp")));
            break;
        case Case::NoQueue:
            sender = std::make_unique<CupsQueueSender>(
                QStringLiteral("receipts"), quick,
                fakeLp(dir, "cat >/dev/null\necho 'lp: The printer or class does not exist.' >&2\nexit 1\n"));
            break;
        case Case::StoppedCups: {
            // The client cannot tell a missing queue from a stopped scheduler; lpstat can.
            const QString lp = fakeLp(
                dir, "cat >/dev/null\necho 'lp: Error - The printer or class does not exist.' >&2\nexit 1\n");
            QFile lpstat(dir.filePath(QStringLiteral("lpstat")));
            lpstat.open(QIODevice::WriteOnly);
            lpstat.write("#!/bin/sh\necho 'scheduler is not running'\n");
            lpstat.close();
            lpstat.setPermissions(lpstat.permissions() | QFile::ExeOwner);
            sender = std::make_unique<CupsQueueSender>(QStringLiteral("receipts"), quick, lp);
            break;
        }
        case Case::NoCups:
            sender = std::make_unique<CupsQueueSender>(
                QStringLiteral("receipts"), quick,
                fakeLp(dir, "cat >/dev/null\necho 'lp: Error - Scheduler Not Responding.' >&2\nexit 1\n"));
            break;
        }

        SendControl control;
        QElapsedTimer timer;
        timer.start();
        const SendResult result = sender->send(job(1 << 20), control);
        if (reader >= 0)
            ::close(reader);
        QCOMPARE(result.status, SendResult::Status::Failed);
        QVERIFY2(result.reason.contains(reason), qPrintable(result.reason));
        QVERIFY2(timer.elapsed() < 5000, "a stuck printer must not hold the send");
        if (which == Case::OrdinaryFile) {
            QFile file(dir.filePath(QStringLiteral("notes.txt")));
            QVERIFY(file.open(QIODevice::ReadOnly));
            QCOMPARE(file.readAll(), QByteArray("keep me"));
        }
    }

    void jobArrivesWhole_data() {
        QTest::addColumn<int>("kind");
        QTest::newRow("network") << 0;
        QTest::newRow("device file") << 1;
        QTest::newRow("CUPS raw queue") << 2;
    }
    void jobArrivesWhole() {
        QFETCH(int, kind);
        QTemporaryDir dir;
        FakeEscPosPrinter printer;
        const QString device = dir.filePath(QStringLiteral("lp0"));
        const QString spooled = dir.filePath(QStringLiteral("spooled"));
        std::unique_ptr<RawSender> sender;
        if (kind == 0)
            sender = std::make_unique<NetworkSender>(QStringLiteral("127.0.0.1"), printer.port(), quick);
        else if (kind == 1)
            sender = std::make_unique<DeviceSender>(device, quick);
        else
            sender = std::make_unique<CupsQueueSender>(
                QStringLiteral("receipts"), quick,
                fakeLp(dir, QStringLiteral("echo \"$@\" > '%1.args'\ncat > '%1'\n").arg(spooled).toUtf8()));
        const QByteArray bytes = job(300000);
        // The device is a pipe that a reader drains, as the printer's driver does.
        QByteArray drained;
        std::thread reader;
        if (kind == 1) {
            QCOMPARE(::mkfifo(QFile::encodeName(device).constData(), 0600), 0);
            const int fd = ::open(QFile::encodeName(device).constData(), O_RDONLY | O_NONBLOCK);
            reader = std::thread([fd, &drained, size = bytes.size()] {
                char buffer[65536];
                // Gives up after two seconds without a byte.
                for (int idle = 0; drained.size() < size && idle < 1000;) {
                    const ssize_t n = ::read(fd, buffer, sizeof buffer);
                    if (n > 0) {
                        drained.append(buffer, n);
                        idle = 0;
                    } else {
                        ++idle;
                        ::usleep(2000);
                    }
                }
                ::close(fd);
            });
        }

        SendControl control;
        const SendResult result = sender->send(bytes, control);
        if (reader.joinable())
            reader.join();
        QVERIFY2(result.ok(), qPrintable(result.reason));
        QCOMPARE(control.sent.load(), bytes.size());

        QByteArray received = drained;
        if (kind == 0) {
            const QList<QByteArray> jobs = printer.waitForJobs(1);
            QCOMPARE(jobs.size(), 1);
            received = jobs.first();
        } else if (kind == 2) {
            QFile file(spooled);
            QVERIFY(file.open(QIODevice::ReadOnly));
            received = file.readAll();
        }
        QCOMPARE(received.size(), bytes.size());
        QVERIFY(received == bytes);
        if (kind == 2) {
            QFile args(spooled + QStringLiteral(".args"));
            QVERIFY(args.open(QIODevice::ReadOnly));
            QVERIFY(args.readAll().startsWith("-d receipts -o raw"));
        }
    }

    // A printer that resets the connection in the middle of a job is told at once, whether the job
    // still waits to be written or already sits in the connection's buffer waiting for acknowledgement.
    void resetMidJobToldAtOnce_data() {
        QTest::addColumn<int>("size");
        QTest::newRow("fits the send buffer") << 20000;
        QTest::newRow("larger than the send buffer") << (4 << 20);
    }
    void resetMidJobToldAtOnce() {
        QFETCH(int, size);
        FakeEscPosPrinter printer(FakeEscPosPrinter::Mode::ResetMidJob);
        NetworkSender sender(QStringLiteral("127.0.0.1"), printer.port(), SendLimits{});
        SendControl control;
        QElapsedTimer timer;
        timer.start();
        const SendResult result = sender.send(job(size), control);
        QCOMPARE(result.status, SendResult::Status::Failed);
        QCOMPARE(result.reason, QStringLiteral("打印机中途断开了连接"));
        QVERIFY2(timer.elapsed() < 2000, qPrintable(QString::number(timer.elapsed())));
        QVERIFY(control.sent.load() < size);
    }

    // Cancelling stops a send that waits on a stuck printer at once.
    void cancelStopsAStuckSend() {
        FakeEscPosPrinter printer(FakeEscPosPrinter::Mode::NeverRead);
        NetworkSender sender(QStringLiteral("127.0.0.1"), printer.port(), SendLimits{});
        SendControl control;
        control.cancel = true;
        QElapsedTimer timer;
        timer.start();
        QCOMPARE(sender.send(job(1 << 20), control).status, SendResult::Status::Cancelled);
        QVERIFY(timer.elapsed() < 1000);
    }
};

QTEST_MAIN(RawSendersTest)
#include "tst_rawsenders.moc"
