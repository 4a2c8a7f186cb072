#include "order/kitchenprinting.h"

#include "core/numtext.h"
#include "core/platform.h"
#include "order/settle.h"

namespace qm {

KitchenPrinting::KitchenPrinting(const Database& db, const Home& home, Platform& platform,
                                 const SendLimits& limits, QObject* parent)
    : QObject(parent)
    , m_platform(platform)
    , m_tickets(db, home, platform, m_sender, limits) {
    connect(&m_sender, &KitchenSender::sent, this, [this](const QString& station) { record(station, {}); });
    connect(&m_sender, &KitchenSender::failed, this, [this](const QString& station, const QString& reason) {
        record(station, reason.isEmpty() ? QStringLiteral("发送被取消") : reason);
    });
}

void KitchenPrinting::attach(SettleCommands& settle) {
    settle.setOrderStored([this](const StoredOrder& order, const QList<StoredLine>& lines,
                                 const std::optional<QList<StoredLine>>& before) {
        if (before)
            m_tickets.sendChange(order, *before, lines);
        else
            m_tickets.sendNew(order, lines);
    });
}

void KitchenPrinting::reprint(const QString& id) {
    if (!m_tickets.configured()) {
        m_platform.showMessage(QStringLiteral("还没有设置后厨打印机：请在“打印设置”的“后厨打印”页为出品部门"
                                              "选择打印机。"),
                               MessageIcon::Information, QStringLiteral("提示"));
        return;
    }
    bool ok = false;
    const qint64 key = trimBlanks(id).toLongLong(&ok);
    const int sent = ok ? m_tickets.reprint(key) : -1;
    if (sent < 0)
        m_platform.showMessage(QStringLiteral("该订单已不存在，无法重打后厨单。"), MessageIcon::Warning);
    else if (sent == 0)
        m_platform.showMessage(QStringLiteral("这张订单没有要送到已设置打印机的出品部门的菜。"),
                               MessageIcon::Information, QStringLiteral("提示"));
}

QString KitchenPrinting::statusText() const {
    QStringList parts;
    for (auto it = m_failures.cbegin(); it != m_failures.cend(); ++it)
        parts << it.key() + QStringLiteral("，") + it.value();
    if (parts.isEmpty())
        return {};
    return kitchenNotConnectedPrefix + parts.join(QStringLiteral("；")) +
           QStringLiteral("（可在历史单据里重打后厨单）");
}

void KitchenPrinting::record(const QString& station, const QString& failure) {
    const QString before = statusText();
    if (failure.isEmpty())
        m_failures.remove(station);
    else
        m_failures.insert(station, failure);
    if (const QString now = statusText(); now != before)
        emit statusChanged(now);
}

} // namespace qm
