#include "receipt/rawsenders.h"

#include "core/systemerror.h"
#include "receipt/printerchoice.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>

#include <algorithm>
#include <cerrno>
#include <functional>

#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>
#ifdef __linux__
#include <linux/sockios.h>
#endif

namespace qm {

namespace {

// How often a waiting send looks at the cancel request.
constexpr int sliceMs = 50;

QString seconds(int ms) {
    return QString::number((ms + 999) / 1000);
}

SendResult cancelled() {
    return {SendResult::Status::Cancelled, QString()};
}

class Descriptor {
public:
    explicit Descriptor(int fd = -1)
        : m_fd(fd) {}
    ~Descriptor() {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int get() const { return m_fd; }
    void reset(int fd) {
        if (m_fd >= 0)
            ::close(m_fd);
        m_fd = fd;
    }

private:
    int m_fd;
};

enum class Wait { Ready, TimedOut, Cancelled };

// Waits until `fd` is ready for `events`, at most `timeoutMs`, looking at the cancel request meanwhile.
Wait waitFor(int fd, short events, int timeoutMs, const SendControl& control) {
    QElapsedTimer timer;
    timer.start();
    for (;;) {
        if (control.cancel)
            return Wait::Cancelled;
        const qint64 left = timeoutMs - timer.elapsed();
        if (left <= 0)
            return Wait::TimedOut;
        pollfd p{fd, events, 0};
        const int r = ::poll(&p, 1, int(std::min<qint64>(left, sliceMs)));
        if (r > 0)
            return Wait::Ready;
    }
}

// Bytes written to a connection that the printer has not acknowledged yet.
qint64 unacknowledged(int fd) {
#ifdef SIOCOUTQ
    int pending = 0;
    if (::ioctl(fd, SIOCOUTQ, &pending) == 0)
        return pending;
#else
    Q_UNUSED(fd);
#endif
    return 0;
}

// What the sender tells about a failed write.
struct WriteTexts {
    QString stalled;
    std::function<QString(int error)> failed;
};

// Writes the whole job to a non-blocking descriptor. Gives up when nothing moves for `stallMs`.
SendResult writeAll(int fd, bool socket, const QByteArray& job, SendControl& control, int stallMs,
                    const WriteTexts& texts) {
    qint64 done = 0;
    QElapsedTimer sinceProgress;
    sinceProgress.start();
    while (done < job.size()) {
        if (control.cancel)
            return cancelled();
        const char* data = job.constData() + done;
        const size_t size = size_t(job.size() - done);
        const ssize_t n = socket ? ::send(fd, data, size, MSG_NOSIGNAL) : ::write(fd, data, size);
        if (n > 0) {
            done += n;
            control.sent = socket ? done - unacknowledged(fd) : done;
            sinceProgress.restart();
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 && errno != EAGAIN && errno != EWOULDBLOCK)
            return SendResult::failed(texts.failed(errno));
        const Wait wait =
            waitFor(fd, POLLOUT, int(std::max<qint64>(1, stallMs - sinceProgress.elapsed())), control);
        if (wait == Wait::Cancelled)
            return cancelled();
        if (wait == Wait::TimedOut)
            return SendResult::failed(texts.stalled);
    }
    return {};
}

QString networkStalled(int stallMs) {
    return QStringLiteral("打印机 %1 秒没有收下数据（超时）：请检查纸张、打印机盖和网线")
        .arg(seconds(stallMs));
}

QString networkFailed(int error) {
    if (error == EPIPE || error == ECONNRESET)
        return QStringLiteral("打印机中途断开了连接");
    return QStringLiteral("发送出错：") + systemErrorText(error);
}

// The connection's pending error once it broke (a reset from the printer), or 0 while it holds.
int brokenConnection(int fd, short revents) {
    if (!(revents & (POLLERR | POLLHUP)))
        return 0;
    int error = 0;
    socklen_t length = sizeof error;
    if (::getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &length) != 0 || error == 0)
        error = ECONNRESET;
    return error;
}

// Waits until the printer has acknowledged every byte written to the connection, so that a job is
// reported as sent only once it arrived. A connection the printer drops meanwhile keeps its count of
// unacknowledged bytes, so the wait watches for the break itself.
SendResult drain(int fd, qint64 job, SendControl& control, int stallMs) {
#ifdef SIOCOUTQ
    int pending = 0;
    int last = -1;
    QElapsedTimer sinceProgress;
    sinceProgress.start();
    while (::ioctl(fd, SIOCOUTQ, &pending) == 0 && pending > 0) {
        if (control.cancel)
            return cancelled();
        if (pending != last) {
            last = pending;
            control.sent = job - pending;
            sinceProgress.restart();
        } else if (sinceProgress.elapsed() > stallMs) {
            return SendResult::failed(networkStalled(stallMs));
        }
        pollfd p{fd, 0, 0};
        if (::poll(&p, 1, 1) > 0) {
            if (const int error = brokenConnection(fd, p.revents))
                return SendResult::failed(networkFailed(error));
        }
    }
#else
    Q_UNUSED(fd);
    Q_UNUSED(stallMs);
#endif
    control.sent = job;
    return {};
}

// Asks `lpstat -r`, found beside `lp`, whether the CUPS scheduler runs; yes when it cannot tell.
bool schedulerRunning(const QString& lp, const QProcessEnvironment& environment) {
    const QFileInfo info(lp);
    QProcess lpstat;
    lpstat.setProcessEnvironment(environment);
    lpstat.start(info.isAbsolute() ? info.dir().filePath(QStringLiteral("lpstat")) : QStringLiteral("lpstat"),
                 {QStringLiteral("-r")});
    if (!lpstat.waitForFinished(2000))
        return true;
    return !lpstat.readAllStandardOutput().contains("not running");
}

} // namespace

SendResult NetworkSender::send(const QByteArray& job, SendControl& control) const {
    const QString host = m_host.trimmed();
    if (host.isEmpty())
        return SendResult::failed(QStringLiteral("没有填写网络打印机的地址"));
    const QString place = host + QLatin1Char(':') + QString::number(m_port);

    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* found = nullptr;
    if (::getaddrinfo(host.toUtf8().constData(), QByteArray::number(m_port).constData(), &hints, &found) !=
            0 ||
        !found)
        return SendResult::failed(QStringLiteral("找不到打印机“%1”：请检查地址是否写对").arg(host));
    const std::unique_ptr<addrinfo, decltype(&::freeaddrinfo)> addresses(found, &::freeaddrinfo);

    Descriptor fd;
    int error = 0;
    bool timedOut = false;
    for (const addrinfo* a = found; a; a = a->ai_next) {
        fd.reset(::socket(a->ai_family, a->ai_socktype | SOCK_NONBLOCK | SOCK_CLOEXEC, a->ai_protocol));
        if (fd.get() < 0) {
            error = errno;
            continue;
        }
        if (::connect(fd.get(), a->ai_addr, a->ai_addrlen) == 0)
            break;
        if (errno != EINPROGRESS) {
            error = errno;
            fd.reset(-1);
            continue;
        }
        const Wait wait = waitFor(fd.get(), POLLOUT, m_limits.connectMs, control);
        if (wait == Wait::Cancelled)
            return cancelled();
        socklen_t length = sizeof error;
        if (wait == Wait::TimedOut) {
            timedOut = true;
        } else if (::getsockopt(fd.get(), SOL_SOCKET, SO_ERROR, &error, &length) == 0 && error == 0) {
            break;
        }
        fd.reset(-1);
    }
    if (fd.get() < 0) {
        if (error == ECONNREFUSED)
            return SendResult::failed(QStringLiteral("%1 拒绝连接：打印机没有开机，或端口不对").arg(place));
        if (error == EHOSTUNREACH || error == ENETUNREACH || error == EHOSTDOWN || error == ENETDOWN)
            return SendResult::failed(
                QStringLiteral("到不了 %1：网络不通，请检查网线、Wi-Fi 和打印机的 IP 地址").arg(host));
        if (timedOut || error == ETIMEDOUT)
            return SendResult::failed(
                QStringLiteral("连接 %1 超时（%2 秒）：请检查打印机是否开机、IP 地址是否正确")
                    .arg(place, seconds(m_limits.connectMs)));
        return SendResult::failed(QStringLiteral("连接 %1 失败：%2").arg(place, systemErrorText(error)));
    }

    // The last small pieces (feed and cut) go out at once instead of waiting for an acknowledgement.
    const int on = 1;
    ::setsockopt(fd.get(), IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
    const WriteTexts texts{networkStalled(m_limits.stallMs), networkFailed};
    const SendResult written = writeAll(fd.get(), true, job, control, m_limits.stallMs, texts);
    if (!written.ok())
        return written;
    return drain(fd.get(), job.size(), control, m_limits.stallMs);
}

SendResult DeviceSender::send(const QByteArray& job, SendControl& control) const {
    const QString path = m_path.trimmed();
    if (path.isEmpty())
        return SendResult::failed(QStringLiteral("没有选择 USB 打印机设备"));
    Descriptor fd(::open(QFile::encodeName(path).constData(), O_WRONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    if (fd.get() < 0) {
        const int error = errno;
        switch (error) {
        case ENOENT:
            return SendResult::failed(QStringLiteral("找不到设备 %1：打印机没有接上或没有开机").arg(path));
        case ENXIO:
        case ENODEV:
            return SendResult::failed(
                QStringLiteral("设备 %1 后面没有打印机：请检查 USB 线和电源").arg(path));
        case EACCES:
        case EPERM: {
            QString user = qEnvironmentVariable("USER");
            if (user.isEmpty())
                user = QStringLiteral("用户名");
            return SendResult::failed(
                QStringLiteral("没有权限使用 %1：请把用户加入 lp 组（sudo adduser %2 lp），重新登录后再试")
                    .arg(path, user));
        }
        case EBUSY:
            return SendResult::failed(QStringLiteral("设备 %1 正被别的程序使用").arg(path));
        case EISDIR:
            return SendResult::failed(QStringLiteral("%1 不是打印机设备").arg(path));
        default:
            return SendResult::failed(QStringLiteral("打不开设备 %1：%2").arg(path, systemErrorText(error)));
        }
    }
    // A wrong path must not overwrite an ordinary file: only a device (or a pipe to one) takes the job.
    struct stat info {};
    if (::fstat(fd.get(), &info) != 0 || !(S_ISCHR(info.st_mode) || S_ISFIFO(info.st_mode)))
        return SendResult::failed(QStringLiteral("%1 不是打印机设备").arg(path));
    const WriteTexts texts{QStringLiteral("打印机 %1 秒没有收下数据（超时）：请检查纸张、打印机盖和 USB 线")
                               .arg(seconds(m_limits.stallMs)),
                           [path](int e) {
                               if (e == ENODEV || e == EPIPE)
                                   return QStringLiteral("打印机 %1 中途断开了").arg(path);
                               return QStringLiteral("写入 %1 出错：%2").arg(path, systemErrorText(e));
                           }};
    return writeAll(fd.get(), false, job, control, m_limits.stallMs, texts);
}

SendResult CupsQueueSender::send(const QByteArray& job, SendControl& control) const {
    const QString queue = m_queue.trimmed();
    if (queue.isEmpty())
        return SendResult::failed(QStringLiteral("没有选择 CUPS 队列"));
    QProcess lp;
    // Its messages in English, so that they can be told apart.
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("LC_ALL"), QStringLiteral("C"));
    environment.insert(QStringLiteral("LANG"), QStringLiteral("C"));
    lp.setProcessEnvironment(environment);
    lp.start(m_program, {QStringLiteral("-d"), queue, QStringLiteral("-o"), QStringLiteral("raw"),
                         QStringLiteral("-t"), QStringLiteral("Quillmenu")});
    if (!lp.waitForStarted(m_limits.connectMs))
        return SendResult::failed(
            QStringLiteral("找不到 CUPS 的 lp 命令：请安装 cups-client（sudo apt-get install cups-client）"));
    lp.write(job);
    lp.closeWriteChannel();

    QElapsedTimer sinceProgress;
    sinceProgress.start();
    qint64 waiting = lp.bytesToWrite();
    while (lp.state() != QProcess::NotRunning && !lp.waitForFinished(sliceMs)) {
        if (control.cancel) {
            lp.kill();
            lp.waitForFinished(m_limits.connectMs);
            return cancelled();
        }
        if (lp.bytesToWrite() != waiting) {
            waiting = lp.bytesToWrite();
            sinceProgress.restart();
        } else if (sinceProgress.elapsed() > m_limits.stallMs) {
            lp.kill();
            lp.waitForFinished(m_limits.connectMs);
            return SendResult::failed(
                QStringLiteral("CUPS 没有响应（%1 秒超时）").arg(seconds(m_limits.stallMs)));
        }
        control.sent = job.size() - waiting;
    }
    if (lp.exitStatus() == QProcess::NormalExit && lp.exitCode() == 0) {
        control.sent = job.size();
        return {};
    }

    const QString said = QString::fromLocal8Bit(lp.readAllStandardError()).trimmed();
    const QString lower = said.toLower();
    // The client says so as well when the scheduler is not running, which lpstat tells apart.
    const bool missing =
        lower.contains(QLatin1String("does not exist")) || lower.contains(QLatin1String("not found"));
    if (missing && schedulerRunning(m_program, environment))
        return SendResult::failed(
            QStringLiteral("CUPS 队列“%1”不存在：请在 http://localhost:631 查看队列的名字").arg(queue));
    if (lower.contains(QLatin1String("not accepting")))
        return SendResult::failed(
            QStringLiteral("CUPS 队列“%1”不接受新任务：请运行 cupsaccept %1").arg(queue));
    if (missing || lower.contains(QLatin1String("scheduler")) || lower.contains(QLatin1String("connect")))
        return SendResult::failed(QStringLiteral("CUPS 服务没有运行：请运行 sudo systemctl start cups"));
    const QString first = said.section(QLatin1Char('\n'), 0, 0);
    return SendResult::failed(QStringLiteral("CUPS 拒绝了打印任务") +
                              (first.isEmpty() ? QString() : QStringLiteral("：") + first));
}

std::shared_ptr<RawSender> makeSender(const PrinterChoice& choice, const SendLimits& limits) {
    switch (choice.kind) {
    case PrinterKind::System:
        return nullptr;
    case PrinterKind::Network:
        return std::make_shared<NetworkSender>(choice.host, choice.port, limits);
    case PrinterKind::Usb:
        return std::make_shared<DeviceSender>(choice.device, limits);
    case PrinterKind::CupsRaw:
        return std::make_shared<CupsQueueSender>(choice.queue, limits);
    }
    return nullptr;
}

} // namespace qm
