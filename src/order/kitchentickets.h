#pragma once

#include "receipt/kitchenslip.h"
#include "receipt/rawsenders.h"
#include "store/orderstore.h"

#include <QHash>
#include <QList>
#include <QString>

// Kitchen tickets: which station makes which line of an order, what a change of the order means to each
// station, and handing the slips to the stations' printers.
namespace qm {

class Database;
class Home;
class KitchenSender;
class Platform;

// The table the order is for, or "外卖".
QString slipPlace(const QString& tableName);

// A dish's station by its name; a dish not in the list (or without a station) goes to the default one.
QString stationOf(const QHash<QString, QString>& stations, const QString& dishName);

// One slip per station that has something to make, in the order the stations first appear among the
// lines; the lines of one dish and unit are added up, dishes of "不出单" left out. `kind` is New or
// Reprint; `sentTime` is shown on a reprint.
QList<KitchenSlip> slipsForOrder(const StoredOrder& order, const QList<StoredLine>& lines,
                                 const QHash<QString, QString>& stations, KitchenSlip::Kind kind,
                                 const QString& sentTime = {});

// What a change of the order means to each station: per dish and unit the increase ("加菜") or the
// decrease ("退菜") of the quantity. A station whose lines did not change gets no slip.
QList<KitchenSlip> slipsForChange(const StoredOrder& order, const QList<StoredLine>& before,
                                  const QList<StoredLine>& after, const QHash<QString, QString>& stations,
                                  const QString& sentTime);

// Sends an order's slips to the printers of their stations, as the till has them set. A station without
// a printer gets nothing; with no station printer at all nothing is read or sent.
class KitchenTickets {
public:
    KitchenTickets(const Database& db, const Home& home, Platform& platform, KitchenSender& sender,
                   const SendLimits& limits = {});

    // Each return the number of slips handed to the printers.
    int sendNew(const StoredOrder& order, const QList<StoredLine>& lines);
    int sendChange(const StoredOrder& order, const QList<StoredLine>& before, const QList<StoredLine>& after);
    // The stored order `id` again, marked "重打"; -1 when the order is not there.
    int reprint(qint64 id);

    // How long a printer may take to answer and to take bytes.
    void setLimits(const SendLimits& limits) { m_limits = limits; }
    // Whether any station has a printer on this till.
    bool configured() const;

private:
    QHash<QString, QString> dishStations() const;
    int dispatch(const QList<KitchenSlip>& slips);

    const Database& m_db;
    const Home& m_home;
    Platform& m_platform;
    KitchenSender& m_sender;
    SendLimits m_limits;
};

} // namespace qm
