#include "support/fakeescposprinter.h"

#include <chrono>
#include <vector>

#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace qm {

namespace {

// What a printer that drops the connection takes before it does.
constexpr qsizetype resetAfterBytes = 1024;

int listenOnLoopback(int receiveBuffer, int* port) {
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (receiveBuffer > 0)
        ::setsockopt(fd, SOL_SOCKET, SO_RCVBUF, &receiveBuffer, sizeof receiveBuffer);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = 0;
    ::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address);
    socklen_t length = sizeof address;
    ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length);
    *port = ntohs(address.sin_port);
    return fd;
}

} // namespace

FakeEscPosPrinter::FakeEscPosPrinter(Mode mode)
    : m_mode(mode) {
    // A printer that reads nothing takes only its small buffer's worth before the sender has to wait.
    m_listener = listenOnLoopback(mode == Mode::Read ? 0 : 2048, &m_port);
    ::listen(m_listener, 8);
    m_thread = std::thread([this] { run(); });
}

FakeEscPosPrinter::~FakeEscPosPrinter() {
    m_stop = true;
    m_thread.join();
    ::close(m_listener);
}

void FakeEscPosPrinter::run() {
    struct Connection {
        int fd;
        QByteArray received;
    };
    std::vector<Connection> open;
    while (!m_stop) {
        std::vector<pollfd> watched{{m_listener, POLLIN, 0}};
        if (m_mode != Mode::NeverRead) {
            for (const Connection& c : open)
                watched.push_back({c.fd, POLLIN, 0});
        }
        if (::poll(watched.data(), watched.size(), 10) <= 0)
            continue;
        if (watched[0].revents & POLLIN) {
            const int fd = ::accept4(m_listener, nullptr, nullptr, SOCK_CLOEXEC);
            if (fd >= 0) {
                open.push_back({fd, {}});
                ++m_connections;
            }
        }
        for (size_t i = 1; i < watched.size(); ++i) {
            if (!(watched[i].revents & (POLLIN | POLLHUP | POLLERR)))
                continue;
            Connection& c = open[i - 1];
            char buffer[65536];
            const bool resets = m_mode == Mode::ResetMidJob;
            const size_t wanted = resets ? size_t(resetAfterBytes - c.received.size()) : sizeof buffer;
            const ssize_t n = ::read(c.fd, buffer, wanted);
            if (n > 0)
                c.received.append(buffer, n);
            if (n > 0 && !(resets && c.received.size() >= resetAfterBytes))
                continue;
            if (resets) {
                // Closing with a zero linger time sends a reset instead of an orderly end.
                const linger abort{1, 0};
                ::setsockopt(c.fd, SOL_SOCKET, SO_LINGER, &abort, sizeof abort);
            }
            ::close(c.fd);
            c.fd = -1;
            {
                const std::lock_guard lock(m_mutex);
                m_jobs.append(c.received);
            }
            m_changed.notify_all();
        }
        std::erase_if(open, [](const Connection& c) { return c.fd < 0; });
    }
    for (const Connection& c : open)
        ::close(c.fd);
}

QList<QByteArray> FakeEscPosPrinter::waitForJobs(int count, int timeoutMs) {
    std::unique_lock lock(m_mutex);
    m_changed.wait_for(lock, std::chrono::milliseconds(timeoutMs), [&] { return m_jobs.size() >= count; });
    return m_jobs;
}

int closedPort() {
    int port = 0;
    const int fd = listenOnLoopback(0, &port);
    ::close(fd);
    return port;
}

} // namespace qm
