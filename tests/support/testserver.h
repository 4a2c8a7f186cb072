#pragma once

#include "store/tillfile.h"

#include <QString>
#include <QTemporaryDir>

#include <memory>

// In initTestCase() of a test that needs the shared throwaway server: skipped when the server programs are
// not installed, failed when the server cannot start; `server` receives it.
#define QM_REQUIRE_TEST_SERVER(server)                                                                       \
    do {                                                                                                     \
        if (!qm::TestServer::available())                                                                    \
            QSKIP("PostgreSQL server programs are not installed");                                           \
        QString why_;                                                                                        \
        (server) = qm::TestServer::shared(&why_);                                                            \
        QVERIFY2((server), qPrintable(why_));                                                                \
    } while (false)

// A throwaway PostgreSQL server for tests: a new cluster in a temporary folder, listening on 127.0.0.1
// (and a socket in that folder) on a free port, run as an unprivileged user when the tests run as root.
// Stopped and removed when the test program ends.
namespace qm {

class TestServer {
public:
    // The server of this test program, started on first use; null when it cannot be started, with the
    // reason in `why`.
    static TestServer* shared(QString* why = nullptr);
    // True when Debian's server programs are installed.
    static bool available();
    // Before the first shared(): the server syncs its commits to the disk as a shop's does (benchmarks);
    // tests run it without, for speed.
    static void setDurable(bool durable);

    ~TestServer();
    TestServer(const TestServer&) = delete;
    TestServer& operator=(const TestServer&) = delete;

    // A new, empty database on the server.
    ServerSetting newDatabase();
    // Stops the server (as a lost server) and starts it again on the same port.
    bool stop();
    bool start();

private:
    TestServer() = default;
    bool initialise(QString* why);
    // Runs one of the server's programs as the server's user; its output goes to `output`.
    bool runAsServerUser(const QString& program, const QStringList& arguments, QString* output = nullptr);

    QTemporaryDir m_dir;
    int m_port = 0;
    int m_databases = 0;
    bool m_running = false;
};

// The engine the store's tests run on: PostgreSQL when QUILLMENU_TEST_ENGINE is "postgresql".
bool testsRunOnServer();

} // namespace qm
