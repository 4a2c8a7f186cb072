#pragma once

#include "receipt/rawsenders.h"

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QObject>
#include <QString>

#include <memory>

// Sends kitchen slips without ever making the counter wait: each printer has a thread of its own that
// takes its slips one after another, with the senders' time-outs, and tells the outcome back on the
// thread that owns the sender.
namespace qm {

struct KitchenJob {
    QString station;
    QString printer; // names the printer; the slips of one printer go out one after another
    std::shared_ptr<const RawSender> sender;
    QByteArray bytes;
};

class KitchenSender : public QObject {
    Q_OBJECT
public:
    explicit KitchenSender(QObject* parent = nullptr);
    // Cancels the sends under way (the senders notice within a moment) and waits for the threads.
    ~KitchenSender() override;

    // Queues the jobs and returns at once.
    void send(const QList<KitchenJob>& jobs);
    // Jobs queued or under way whose outcome has not been told yet.
    int pending() const { return m_pending; }

signals:
    void sent(const QString& station);
    void failed(const QString& station, const QString& reason);
    // The last outstanding outcome was told.
    void allDone();

private:
    struct Lane;
    void finished(const KitchenJob& job, const SendResult& result);

    QHash<QString, std::shared_ptr<Lane>> m_lanes;
    int m_pending = 0;
};

} // namespace qm
