#include "order/kitchentickets.h"

#include "core/numtext.h"
#include "core/platform.h"
#include "receipt/kitchenprinters.h"
#include "receipt/kitchensender.h"
#include "store/catalogstore.h"

namespace qm {

namespace {

const QString timeFormat = QStringLiteral("HH:mm");

struct Tally {
    QString station;
    KitchenSlipLine line;
};

// The lines added up per dish and unit, in the order each first appears.
QList<Tally> tally(const QList<StoredLine>& lines, const QHash<QString, QString>& stations) {
    QList<Tally> out;
    QHash<QString, qsizetype> at;
    for (const StoredLine& line : lines) {
        const QString key = line.name + QChar(0) + line.unit;
        if (const auto found = at.constFind(key); found != at.cend()) {
            out[*found].line.quantity += line.quantity;
            continue;
        }
        at.insert(key, out.size());
        out.append({stationOf(stations, line.name), {line.name, line.quantity, line.unit}});
    }
    return out;
}

KitchenSlip slipHead(const StoredOrder& order, const QString& station, KitchenSlip::Kind kind,
                     const QString& sentTime) {
    KitchenSlip slip;
    slip.kind = kind;
    slip.station = station;
    slip.orderNumber = QString::number(order.number);
    slip.place = slipPlace(order.tableName);
    slip.time = order.time.isValid() ? order.time.toString(timeFormat) : QString();
    slip.sentTime = sentTime;
    slip.ticketHeader = trimBlanks(order.ticketHeader);
    slip.note = order.note;
    return slip;
}

// The slip of each station, created when its first line comes.
KitchenSlip& slipOf(QList<KitchenSlip>& slips, const StoredOrder& order, const QString& station,
                    KitchenSlip::Kind kind, const QString& sentTime) {
    for (KitchenSlip& slip : slips) {
        if (slip.station == station)
            return slip;
    }
    slips.append(slipHead(order, station, kind, sentTime));
    return slips.last();
}

} // namespace

QString slipPlace(const QString& tableName) {
    const QString table = trimBlanks(tableName);
    return table.isEmpty() || table == QStringLiteral("无") ? takeAwayPlace : table;
}

QString stationOf(const QHash<QString, QString>& stations, const QString& dishName) {
    const QString station = trimBlanks(stations.value(dishName));
    return station.isEmpty() ? defaultStation : station;
}

QList<KitchenSlip> slipsForOrder(const StoredOrder& order, const QList<StoredLine>& lines,
                                 const QHash<QString, QString>& stations, KitchenSlip::Kind kind,
                                 const QString& sentTime) {
    QList<KitchenSlip> slips;
    for (const Tally& t : tally(lines, stations)) {
        if (t.station == noSlipStation || isZero(t.line.quantity))
            continue;
        slipOf(slips, order, t.station, kind, sentTime).added.append(t.line);
    }
    return slips;
}

QList<KitchenSlip> slipsForChange(const StoredOrder& order, const QList<StoredLine>& before,
                                  const QList<StoredLine>& after, const QHash<QString, QString>& stations,
                                  const QString& sentTime) {
    // The lines as they are now, then those that went: per dish and unit the quantity it changed by.
    QList<Tally> changes = tally(after, stations);
    const QList<Tally> old = tally(before, stations);
    for (const Tally& was : old) {
        bool found = false;
        for (Tally& now : changes) {
            if (now.line.name == was.line.name && now.line.unit == was.line.unit) {
                now.line.quantity -= was.line.quantity;
                found = true;
                break;
            }
        }
        if (!found)
            changes.append({was.station, {was.line.name, -was.line.quantity, was.line.unit}});
    }

    QList<KitchenSlip> slips;
    for (Tally& t : changes) {
        if (t.station == noSlipStation || isZero(t.line.quantity))
            continue;
        KitchenSlip& slip = slipOf(slips, order, t.station, KitchenSlip::Kind::Change, sentTime);
        if (t.line.quantity > 0) {
            slip.added.append(t.line);
        } else {
            t.line.quantity = -t.line.quantity;
            slip.removed.append(t.line);
        }
    }
    return slips;
}

KitchenTickets::KitchenTickets(const Database& db, const Home& home, Platform& platform,
                               KitchenSender& sender, const SendLimits& limits)
    : m_db(db)
    , m_home(home)
    , m_platform(platform)
    , m_sender(sender)
    , m_limits(limits) {}

bool KitchenTickets::configured() const {
    return !loadStationPrinters(m_home).isEmpty();
}

QHash<QString, QString> KitchenTickets::dishStations() const {
    return CatalogStore(m_db).loadDishStations().value_or(QHash<QString, QString>());
}

int KitchenTickets::sendNew(const StoredOrder& order, const QList<StoredLine>& lines) {
    if (!configured())
        return 0;
    return dispatch(slipsForOrder(order, lines, dishStations(), KitchenSlip::Kind::New));
}

int KitchenTickets::sendChange(const StoredOrder& order, const QList<StoredLine>& before,
                               const QList<StoredLine>& after) {
    if (!configured())
        return 0;
    return dispatch(
        slipsForChange(order, before, after, dishStations(), m_platform.now().toString(timeFormat)));
}

int KitchenTickets::reprint(qint64 id) {
    const std::optional<StoredOrder> order = loadOrder(m_db, id);
    if (!order)
        return -1;
    return dispatch(slipsForOrder(*order, loadOrderLines(m_db, id), dishStations(),
                                  KitchenSlip::Kind::Reprint, m_platform.now().toString(timeFormat)));
}

int KitchenTickets::dispatch(const QList<KitchenSlip>& slips) {
    const QList<StationPrinter> printers = loadStationPrinters(m_home);
    QList<KitchenJob> jobs;
    for (const KitchenSlip& slip : slips) {
        for (const StationPrinter& p : printers) {
            if (p.station != slip.station)
                continue;
            const QByteArray bytes = kitchenSlipJob(slip, p.paperWidthMm);
            jobs.append({slip.station, p.printer.describe(), makeSender(p.printer, m_limits), bytes});
            break;
        }
    }
    m_sender.send(jobs);
    return int(jobs.size());
}

} // namespace qm
