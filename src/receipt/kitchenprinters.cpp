#include "receipt/kitchenprinters.h"

#include "core/home.h"
#include "core/systemerror.h"
#include "store/catalogstore.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace qm {

QString stationPrintersPath(const Home& home) {
    return home.filePath(QStringLiteral("后厨打印机.json"));
}

QList<StationPrinter> loadStationPrinters(const Home& home) {
    QFile file(stationPrintersPath(home));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QList<StationPrinter> printers;
    const QJsonArray stations = QJsonDocument::fromJson(file.readAll()).object().value("stations").toArray();
    for (const QJsonValue& value : stations) {
        const QJsonObject o = value.toObject();
        StationPrinter p;
        p.station = o.value("station").toString();
        const int kind = o.value("kind").toInt();
        if (p.station.isEmpty() || kind <= int(PrinterKind::System) || kind > int(PrinterKind::CupsRaw))
            continue;
        p.printer.kind = PrinterKind(kind);
        p.printer.host = o.value("host").toString().trimmed();
        const int port = o.value("port").toInt(defaultPrinterPort);
        p.printer.port = port >= 1 && port <= 65535 ? port : defaultPrinterPort;
        p.printer.device = o.value("device").toString().trimmed();
        p.printer.queue = o.value("queue").toString().trimmed();
        p.paperWidthMm = o.value("paper").toInt() == 58 ? 58 : 80;
        printers << p;
    }
    return printers;
}

QString saveStationPrinters(const Home& home, const QList<StationPrinter>& printers) {
    QJsonArray stations;
    for (const StationPrinter& p : printers) {
        if (!p.printer.direct() || p.station.isEmpty())
            continue;
        stations.append(QJsonObject{{"station", p.station},
                                    {"kind", int(p.printer.kind)},
                                    {"host", p.printer.host},
                                    {"port", p.printer.port},
                                    {"device", p.printer.device},
                                    {"queue", p.printer.queue},
                                    {"paper", p.paperWidthMm == 58 ? 58 : 80}});
    }
    return writeWholeFile(stationPrintersPath(home),
                          QJsonDocument(QJsonObject{{"stations", stations}}).toJson());
}

QList<StationPrinter> stationPrintersFor(const QStringList& stations, const QList<StationPrinter>& saved) {
    QList<StationPrinter> out;
    const auto savedFor = [&saved](const QString& station) -> const StationPrinter* {
        for (const StationPrinter& p : saved) {
            if (p.station == station)
                return &p;
        }
        return nullptr;
    };
    QStringList listed;
    for (const QString& station : stations) {
        if (station.isEmpty() || station == noSlipStation || listed.contains(station))
            continue;
        listed << station;
        const StationPrinter* p = savedFor(station);
        out << (p ? *p : StationPrinter{station, {}, 80});
    }
    for (const StationPrinter& p : saved) {
        if (!listed.contains(p.station)) {
            listed << p.station;
            out << p;
        }
    }
    return out;
}

QStringList stationPrinterKindNames() {
    QStringList names = printerKindNames();
    names[int(PrinterKind::System)] = QStringLiteral("不打印");
    return names;
}

QString stationPrintersText(const QList<StationPrinter>& printers) {
    QStringList lines;
    for (const StationPrinter& p : printers)
        lines << QStringLiteral("后厨打印 %1：%2，%3mm")
                     .arg(p.station, p.printer.describe())
                     .arg(p.paperWidthMm);
    return lines.join(QLatin1Char('\n'));
}

} // namespace qm
