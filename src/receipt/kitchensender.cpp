#include "receipt/kitchensender.h"

#include <condition_variable>
#include <csignal>
#include <deque>
#include <mutex>
#include <thread>

#include <pthread.h>

namespace qm {

struct KitchenSender::Lane {
    std::mutex mutex;
    std::condition_variable wake;
    std::deque<KitchenJob> queue;
    bool stop = false;
    SendControl* current = nullptr; // the send under way, for cancelling it
    std::thread thread;
};

KitchenSender::KitchenSender(QObject* parent)
    : QObject(parent) {}

KitchenSender::~KitchenSender() {
    for (const std::shared_ptr<Lane>& lane : std::as_const(m_lanes)) {
        const std::lock_guard lock(lane->mutex);
        lane->stop = true;
        if (lane->current)
            lane->current->cancel = true;
        lane->wake.notify_all();
    }
    for (const std::shared_ptr<Lane>& lane : std::as_const(m_lanes))
        lane->thread.join();
}

void KitchenSender::send(const QList<KitchenJob>& jobs) {
    for (const KitchenJob& job : jobs) {
        std::shared_ptr<Lane>& lane = m_lanes[job.printer];
        if (!lane) {
            lane = std::make_shared<Lane>();
            lane->thread = std::thread([this, lane = lane.get()] {
                // A printer device that is a pipe must fail with an error, not end the program.
                sigset_t pipe;
                sigemptyset(&pipe);
                sigaddset(&pipe, SIGPIPE);
                pthread_sigmask(SIG_BLOCK, &pipe, nullptr);
                for (;;) {
                    KitchenJob next;
                    SendControl control;
                    {
                        std::unique_lock lock(lane->mutex);
                        lane->wake.wait(lock, [lane] { return lane->stop || !lane->queue.empty(); });
                        if (lane->stop)
                            return;
                        next = std::move(lane->queue.front());
                        lane->queue.pop_front();
                        lane->current = &control;
                    }
                    const SendResult result =
                        next.bytes.isEmpty() ? SendResult::failed(QStringLiteral("后厨单太长，不能打印"))
                        : next.sender        ? next.sender->send(next.bytes, control)
                                             : SendResult::failed(QStringLiteral("没有设置打印机"));
                    {
                        const std::lock_guard lock(lane->mutex);
                        lane->current = nullptr;
                        if (lane->stop)
                            return;
                    }
                    QMetaObject::invokeMethod(
                        this, [this, next, result] { finished(next, result); }, Qt::QueuedConnection);
                }
            });
        }
        ++m_pending;
        const std::lock_guard lock(lane->mutex);
        lane->queue.push_back(job);
        lane->wake.notify_all();
    }
}

void KitchenSender::finished(const KitchenJob& job, const SendResult& result) {
    --m_pending;
    if (result.ok())
        emit sent(job.station);
    else
        emit failed(job.station, result.reason);
    if (m_pending == 0)
        emit allDone();
}

} // namespace qm
