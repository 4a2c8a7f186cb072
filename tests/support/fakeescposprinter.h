#pragma once

#include <QByteArray>
#include <QList>

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <thread>

namespace qm {

// A receipt printer on 127.0.0.1 for the tests and the benchmark: it takes connections on a free port
// and keeps what each connection sent, until it closed, as one job.
class FakeEscPosPrinter {
public:
    enum class Mode {
        Read,        // reads every byte at once
        NeverRead,   // accepts, keeps the connection open and reads nothing, with a small buffer
        ResetMidJob, // reads the first kilobyte through a small buffer, then resets the connection
    };

    explicit FakeEscPosPrinter(Mode mode = Mode::Read);
    ~FakeEscPosPrinter();
    FakeEscPosPrinter(const FakeEscPosPrinter&) = delete;
    FakeEscPosPrinter& operator=(const FakeEscPosPrinter&) = delete;

    int port() const { return m_port; }
    // The jobs received, once `count` of them are complete or `timeoutMs` have passed.
    QList<QByteArray> waitForJobs(int count, int timeoutMs = 5000);
    // The connections accepted so far.
    int connections() const { return m_connections; }

private:
    void run();

    Mode m_mode;
    int m_listener = -1;
    int m_port = 0;
    std::atomic<bool> m_stop{false};
    std::atomic<int> m_connections{0};
    std::mutex m_mutex;
    std::condition_variable m_changed;
    QList<QByteArray> m_jobs;
    std::thread m_thread;
};

// A port on 127.0.0.1 that nobody listens on.
int closedPort();

} // namespace qm
