#include "app/singleinstance.h"
#include "app/startupchecks.h"
#include "core/home.h"
#include "reports/chartcapability.h"
#include "support/fakeplatform.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

using namespace qm;

// The start of the program: one copy per home, today's date, the chart check. The copy rule is also
// checked on the real program, started as separate processes.
class TestStartup : public QObject {
    Q_OBJECT

private:
    static QString programPath() {
        return QDir(QCoreApplication::applicationDirPath()).absoluteFilePath(QStringLiteral("../quillmenu"));
    }

    static void start(QProcess& process, const QString& home) {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        process.setProcessEnvironment(environment);
        process.start(programPath(), {QStringLiteral("--home"), home});
        QVERIFY2(process.waitForStarted(10000), qPrintable(process.errorString()));
    }

    // The pid written into the home's lock file; 0 when there is none.
    static qint64 lockHolder(const QString& home) {
        QFile file(QDir(home).filePath(SingleInstance::fileName()));
        if (!file.open(QIODevice::ReadOnly))
            return 0;
        return file.readLine().trimmed().toLongLong();
    }

    static void stop(QProcess& process) {
        if (process.state() == QProcess::NotRunning)
            return;
        process.terminate();
        if (!process.waitForFinished(5000)) {
            process.kill();
            process.waitForFinished(5000);
        }
    }

private slots:
    void init() { QVERIFY2(QFile::exists(programPath()), qPrintable(programPath())); }
    void cleanup() { overrideChartsAvailable(std::nullopt); }

    // Every option of --help is explained in Chinese as well as in English.
    void helpSpeaksChinese() {
        QProcess help;
        help.start(programPath(), {QStringLiteral("--help")});
        QVERIFY(help.waitForFinished(10000));
        const QString text = QString::fromUtf8(help.readAllStandardOutput());
        for (const char* line : {"小餐馆的点单", "显示本帮助。", "显示版本。", "程序文件夹", "检查过的副本",
                                 "从此使用店里", "空 PostgreSQL 数据库", "开店向导"})
            QVERIFY2(text.contains(QString::fromUtf8(line)), qPrintable(text));
    }

    void secondCopyIsRefusedAndFirstKeepsRunning() {
        QTemporaryDir home;
        QProcess first;
        start(first, home.path());
        QTRY_COMPARE_WITH_TIMEOUT(lockHolder(home.path()), first.processId(), 10000);
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(QDir(home.path()).filePath(QStringLiteral("data/data.db"))),
                                 10000);

        QProcess second;
        QElapsedTimer timer;
        timer.start();
        start(second, home.path());
        QVERIFY(second.waitForFinished(10000));
        QVERIFY2(timer.elapsed() < 5000, qPrintable(QString::number(timer.elapsed())));
        QCOMPARE(second.exitStatus(), QProcess::NormalExit);
        QVERIFY(second.exitCode() != 0);
        QVERIFY(QString::fromLocal8Bit(second.readAllStandardError()).contains(alreadyRunningMessage));

        QTest::qWait(300);
        QCOMPARE(first.state(), QProcess::Running);
        QCOMPARE(lockHolder(home.path()), first.processId());
        stop(first);
    }

    void lockOfKilledCopyDoesNotBlock() {
        QTemporaryDir home;
        QProcess crashed;
        start(crashed, home.path());
        QTRY_COMPARE_WITH_TIMEOUT(lockHolder(home.path()), crashed.processId(), 10000);
        crashed.kill();
        QVERIFY(crashed.waitForFinished(5000));
        QVERIFY(QFile::exists(QDir(home.path()).filePath(SingleInstance::fileName())));

        QProcess next;
        start(next, home.path());
        QTRY_COMPARE_WITH_TIMEOUT(lockHolder(home.path()), next.processId(), 10000);
        QTest::qWait(300);
        QCOMPARE(next.state(), QProcess::Running);
        stop(next);
    }

    // Logout or shutdown sends SIGTERM: the program closes as by its close button and leaves the
    // database whole, its write-ahead log folded in.
    void terminationClosesLikeTheCloseButton() {
        QTemporaryDir home;
        QProcess program;
        start(program, home.path());
        QTRY_COMPARE_WITH_TIMEOUT(lockHolder(home.path()), program.processId(), 10000);
        QTest::qWait(500);
        program.terminate();
        QVERIFY(program.waitForFinished(30000));
        QCOMPARE(program.exitStatus(), QProcess::NormalExit);
        QCOMPARE(program.exitCode(), 0);
        const QFileInfo log(QDir(home.path()).filePath(QStringLiteral("data/data.db-wal")));
        QVERIFY2(!log.exists() || log.size() == 0, qPrintable(QString::number(log.size())));
    }

    // A refused copy ends before the database: the home gains no data folder.
    void refusedCopyLeavesDatabaseAlone() {
        QTemporaryDir home;
        SingleInstance holder{Home(home.path())};
        QVERIFY(holder.acquire());

        QProcess refused;
        start(refused, home.path());
        QVERIFY(refused.waitForFinished(10000));
        QVERIFY(refused.exitCode() != 0);
        QVERIFY(!QDir(home.path()).exists(QStringLiteral("data")));
    }

    void lockIsHeldUntilReleased() {
        QTemporaryDir parent;
        const Home home(QDir(parent.path()).filePath(QStringLiteral("not yet made")));
        {
            SingleInstance first(home);
            QVERIFY(first.acquire());
            QVERIFY(first.acquire());
            SingleInstance second(home);
            QVERIFY(!second.acquire());
            QVERIFY(!second.held());
        }
        SingleInstance later(home);
        QVERIFY(later.acquire());
    }

    // Whatever a lock file holds, only a running copy blocks: an empty file (a power cut), a garbled one,
    // or one written by a copy on another computer.
    void leftoverLockFilesDoNotBlock_data() {
        QTest::addColumn<QByteArray>("content");
        QTest::newRow("empty") << QByteArray();
        QTest::newRow("garbled") << QByteArray("\x89\x00\xff garbage\n\n");
        QTest::newRow("another computer") << QByteArray("4242\nquillmenu\nkitchen-pc\n");
    }
    void leftoverLockFilesDoNotBlock() {
        QFETCH(QByteArray, content);
        QTemporaryDir dir;
        const Home home(dir.path());
        QFile file(home.filePath(SingleInstance::fileName()));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(content);
        file.close();
        SingleInstance instance(home);
        QVERIFY(instance.acquire());
        QCOMPARE(lockHolder(dir.path()), QCoreApplication::applicationPid());
    }

    // A home where no lock file can be made is a failure to open, not a running copy.
    void homeThatCannotHoldTheLockFails_data() {
        QTest::addColumn<QString>("home");
        QTest::newRow("home is a plain file") << "file";
        QTest::newRow("home inside a plain file") << "file/home";
    }
    void homeThatCannotHoldTheLockFails() {
        QFETCH(QString, home);
        QTemporaryDir dir;
        QFile plain(dir.filePath(QStringLiteral("file")));
        QVERIFY(plain.open(QIODevice::WriteOnly));
        plain.close();
        SingleInstance instance{Home(dir.filePath(home))};
        FakePlatform platform;
        const StartupChecks checks = runStartupChecks(instance, platform);
        QVERIFY(!checks.proceed);
        QCOMPARE(instance.state(), SingleInstance::State::Failed);
        QCOMPARE(platform.shown.size(), 1);
        QVERIFY2(platform.shown.first().text.startsWith(databaseOpenFailedMessage + QLatin1Char('\n')),
                 qPrintable(platform.shown.first().text));
        QVERIFY(platform.shown.first().text.contains(QStringLiteral("程序目录不是文件夹")));
        QCOMPARE(platform.shown.first().icon, MessageIcon::Stop);

        QProcess program;
        start(program, dir.filePath(home));
        QVERIFY(program.waitForFinished(10000));
        QVERIFY(program.exitCode() != 0);
        const QString said = QString::fromLocal8Bit(program.readAllStandardError());
        QVERIFY2(said.contains(databaseOpenFailedMessage) && !said.contains(alreadyRunningMessage),
                 qPrintable(said));
    }

    void checksRunInOrder_data() {
        QTest::addColumn<bool>("otherCopy");
        QTest::addColumn<bool>("charts");
        QTest::addColumn<bool>("answer");
        QTest::addColumn<QStringList>("texts");
        QTest::addColumn<int>("pagesOpened");

        const QStringList question{chartSupportQuestion};
        QTest::newRow("charts available: nothing asked") << false << true << false << QStringList() << 0;
        QTest::newRow("no charts, Yes opens the page") << false << false << true << question << 1;
        QTest::newRow("no charts, No goes on") << false << false << false << question << 0;
        QTest::newRow("second copy: message only")
            << true << false << true << QStringList{alreadyRunningMessage} << 0;
    }

    void checksRunInOrder() {
        QFETCH(bool, otherCopy);
        QFETCH(bool, charts);
        QFETCH(bool, answer);
        QFETCH(QStringList, texts);
        QFETCH(int, pagesOpened);

        QTemporaryDir dir;
        const Home home(dir.path());
        SingleInstance running(home);
        if (otherCopy)
            QVERIFY(running.acquire());
        overrideChartsAvailable(charts);
        FakePlatform platform;
        platform.clock = QDateTime(QDate(2026, 5, 3), QTime(23, 59, 58));
        platform.yesNoAnswers.enqueue(answer);

        SingleInstance instance(home);
        const StartupChecks checks = runStartupChecks(instance, platform);

        QCOMPARE(platform.texts(), texts);
        QCOMPARE(platform.openedUrls.size(), pagesOpened);
        QCOMPARE(checks.proceed, !otherCopy);
        QCOMPARE(instance.held(), !otherCopy);
        if (otherCopy) {
            QCOMPARE(platform.shown.first().icon, MessageIcon::Warning);
            QCOMPARE(platform.shown.first().caption, defaultCaption);
            return;
        }
        QCOMPARE(checks.today, QDate(2026, 5, 3));
        QCOMPARE(checks.chartsAvailable, charts);
        if (!charts) {
            QCOMPARE(platform.shown.first().kind, FakePlatform::Kind::Question);
            QCOMPARE(platform.shown.first().icon, MessageIcon::Warning);
        }
    }
};

QTEST_GUILESS_MAIN(TestStartup)
#include "tst_startup.moc"
