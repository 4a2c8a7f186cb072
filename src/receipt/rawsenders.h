#pragma once

#include <QByteArray>
#include <QString>

#include <atomic>
#include <memory>

// Senders that hand a printer's own bytes to it: over TCP (port 9100), to a device file (/dev/usb/lp0)
// or to a CUPS queue that passes them on unchanged. A send blocks its thread; it gives up when the
// printer takes no byte for a while, so a stuck printer costs a message, never the program.
namespace qm {

struct PrinterChoice;

struct SendLimits {
    int connectMs = 5000; // reaching the printer (or starting the CUPS client)
    int stallMs = 10000;  // the printer taking no byte at all
};

// Shared with the thread that waits: how far the send got, and a request to stop.
struct SendControl {
    std::atomic<qint64> sent{0}; // bytes the printer took (over the network: acknowledged)
    std::atomic<bool> cancel{false};
};

struct SendResult {
    enum class Status {
        Sent,
        Failed,
        Cancelled,
        Busy, // another send is still going on
    };
    Status status = Status::Sent;
    QString reason; // why it failed, in words the cashier can act on

    bool ok() const { return status == Status::Sent; }
    static SendResult failed(const QString& reason) { return {Status::Failed, reason}; }
};

class RawSender {
public:
    virtual ~RawSender() = default;
    // Hands every byte of `job` to the printer, as one job.
    virtual SendResult send(const QByteArray& job, SendControl& control) const = 0;
};

class NetworkSender : public RawSender {
public:
    NetworkSender(const QString& host, int port, const SendLimits& limits)
        : m_host(host)
        , m_port(port)
        , m_limits(limits) {}
    SendResult send(const QByteArray& job, SendControl& control) const override;

private:
    QString m_host;
    int m_port;
    SendLimits m_limits;
};

class DeviceSender : public RawSender {
public:
    DeviceSender(const QString& path, const SendLimits& limits)
        : m_path(path)
        , m_limits(limits) {}
    SendResult send(const QByteArray& job, SendControl& control) const override;

private:
    QString m_path;
    SendLimits m_limits;
};

// Runs the CUPS client `lp -d <queue> -o raw` with the job on its input.
class CupsQueueSender : public RawSender {
public:
    CupsQueueSender(const QString& queue, const SendLimits& limits,
                    const QString& program = QStringLiteral("lp"))
        : m_queue(queue)
        , m_limits(limits)
        , m_program(program) {}
    SendResult send(const QByteArray& job, SendControl& control) const override;

private:
    QString m_queue;
    SendLimits m_limits;
    QString m_program;
};

// The sender of a direct printer kind; null for the system printer.
std::shared_ptr<RawSender> makeSender(const PrinterChoice& choice, const SendLimits& limits = {});

} // namespace qm
