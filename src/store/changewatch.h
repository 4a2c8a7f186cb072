#pragma once

#include "store/tillfile.h"

#include <QHash>
#include <QObject>
#include <QString>
#include <QThread>

#include <optional>

// Tills sharing a server see each other's changes: a counter per kind of shop data, raised by the server's
// own triggers in the transaction that changes the data, and read every second on a connection of its
// own in a thread of its own, so that a slow or lost server never holds the window. A till on its own
// SQLite file has no one else to follow: nothing is watched there.
namespace qm {

class Database;

enum class SharedData {
    Orders,     // 存单: today's count, income and next number
    Dishes,     // 菜单, 单位: the dish cache
    TableCodes, // 桌号
    Lists,      // 票头设置, 店名, 减免, 出品部门: the choice lists
};

// The counters on a server: their table, a row per kind and the triggers that raise them; made when
// missing. Nothing on SQLite. In the caller's transaction.
bool ensureChangeCounters(const Database& db);

class ChangeWatch : public QObject {
    Q_OBJECT
public:
    // Watches the server `db` uses; on SQLite it never starts.
    explicit ChangeWatch(const Database& db, int intervalMs = 1000, QObject* parent = nullptr);
    ~ChangeWatch() override;

    bool watching() const { return m_thread.isRunning(); }

signals:
    // Some till (this one included) changed this kind of data since the last reading.
    void changed(qm::SharedData what);

private:
    QThread m_thread;
};

} // namespace qm
