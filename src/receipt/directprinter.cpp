#include "receipt/directprinter.h"

#include "receipt/escpos.h"
#include "receipt/printerchoice.h"
#include "receipt/rasterreceipt.h"

#include <QElapsedTimer>
#include <QScopeGuard>

#include <chrono>
#include <condition_variable>
#include <csignal>
#include <mutex>
#include <thread>

#include <pthread.h>

namespace qm {

namespace {

// A send that ends within this time shows no progress window at all.
constexpr int progressDelayMs = 150;
// After Cancel, how long the send may take to notice before it is left to finish on its own.
constexpr int cancelGraceMs = 1000;

struct SendTask {
    SendControl control;
    std::mutex mutex;
    std::condition_variable finished;
    bool done = false;
    SendResult result;
};

} // namespace

SendResult sendJob(Platform& platform, const std::shared_ptr<const RawSender>& sender,
                   const QByteArray& job) {
    // The wait lets the windows breathe; a key that reaches the main window before the progress window
    // shows must not start a second send in the middle of this one.
    static bool sending = false;
    if (sending)
        return {SendResult::Status::Busy, QString()};
    sending = true;
    const auto done = qScopeGuard([] { sending = false; });

    auto task = std::make_shared<SendTask>();
    std::thread worker([task, sender, job] {
        // A device that is a pipe must fail with an error, not end the program.
        sigset_t pipe;
        sigemptyset(&pipe);
        sigaddset(&pipe, SIGPIPE);
        pthread_sigmask(SIG_BLOCK, &pipe, nullptr);
        SendResult result = sender->send(job, task->control);
        {
            const std::lock_guard lock(task->mutex);
            task->result = std::move(result);
            task->done = true;
        }
        task->finished.notify_all();
    });

    QElapsedTimer timer;
    timer.start();
    std::unique_ptr<Progress> progress;
    QElapsedTimer sinceCancel;
    for (;;) {
        {
            std::unique_lock lock(task->mutex);
            if (task->finished.wait_for(lock, std::chrono::milliseconds(20), [&task] { return task->done; }))
                break;
        }
        if (sinceCancel.isValid()) {
            // A name lookup cannot be interrupted: it finishes on its own while the window goes on.
            if (sinceCancel.elapsed() > cancelGraceMs) {
                worker.detach();
                return {SendResult::Status::Cancelled, QString()};
            }
            continue;
        }
        if (!progress && timer.elapsed() >= progressDelayMs) {
            progress = platform.startProgress(QStringLiteral("打印"),
                                              QStringLiteral("正在把小票发送到打印机……"), int(job.size()));
            // The window counts its delay from a first step at zero; a Cancel is seen on the next step.
            progress->advance(0);
        }
        if (progress && !progress->advance(int(task->control.sent))) {
            task->control.cancel = true;
            sinceCancel.start();
        }
    }
    worker.join();
    return task->result;
}

void tellSendFailure(Platform& platform, const SendResult& result) {
    if (result.status == SendResult::Status::Failed)
        platform.showMessage(notConnectedPrefix + result.reason, MessageIcon::Warning);
    else if (result.status == SendResult::Status::Busy)
        platform.showMessage(QStringLiteral("打印机正忙：上一张小票还在发送，请稍后再试。"),
                             MessageIcon::Information);
}

DirectPrinter::DirectPrinter(Platform& platform, std::shared_ptr<const RawSender> sender, int printWidth,
                             int dots)
    : m_platform(platform)
    , m_sender(std::move(sender))
    , m_printWidth(printWidth)
    , m_dots(dots) {}

bool DirectPrinter::printPage(const std::function<int(ReceiptSurface&)>& draw) {
    const QImage raster = drawRaster(draw, m_printWidth, m_dots);
    if (raster.isNull()) {
        m_last = SendResult::failed(QStringLiteral("小票长过 %1 米，不能打印").arg(maxRasterRows / 8000));
        return false;
    }
    m_last = sendJob(m_platform, m_sender, escpos::receiptJob(raster));
    return m_last.ok();
}

bool openCashDrawer(Platform& platform, const PrinterChoice& choice, const SendLimits& limits) {
    const std::shared_ptr<const RawSender> sender = makeSender(choice, limits);
    if (!sender) {
        platform.showMessage(
            QStringLiteral("系统打印机不能打开钱箱：请在“打印设置”的“打印机”页选用网络打印机、"
                           "USB 打印机或 CUPS 原始队列。"),
            MessageIcon::Information, QStringLiteral("提示"));
        return false;
    }
    const SendResult result = sendJob(platform, sender, escpos::drawerJob());
    tellSendFailure(platform, result);
    return result.ok();
}

} // namespace qm
