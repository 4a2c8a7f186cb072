#pragma once

#include "order/kitchentickets.h"
#include "receipt/kitchensender.h"

#include <QMap>
#include <QObject>

// The kitchen tickets of the till: settled orders send their slips, the history can send them again,
// and a printer that failed is named on the status line until its next slip gets through.
namespace qm {

class SettleCommands;

inline const QString kitchenNotConnectedPrefix = QStringLiteral("后厨打印机未连接：");

class KitchenPrinting : public QObject {
    Q_OBJECT
public:
    KitchenPrinting(const Database& db, const Home& home, Platform& platform, const SendLimits& limits = {},
                    QObject* parent = nullptr);

    // Every order `settle` stores from now on sends its slips, a change only its differences.
    void attach(SettleCommands& settle);
    // "重打后厨单": the order `id` again to every station, marked "重打". Tells the user when there is
    // nothing to send.
    void reprint(const QString& id);

    // "后厨打印机未连接：" + station + "，" + reason for each failed station; empty when none failed.
    QString statusText() const;
    KitchenSender& sender() { return m_sender; }
    KitchenTickets& tickets() { return m_tickets; }

signals:
    void statusChanged(const QString& text);

private:
    void record(const QString& station, const QString& failure);

    Platform& m_platform;
    KitchenSender m_sender;
    KitchenTickets m_tickets;
    QMap<QString, QString> m_failures; // by station
};

} // namespace qm
