#include "receipt/printerchoice.h"

#include "core/numtext.h"
#include "store/settings.h"

#include <QDir>

namespace qm {

namespace {

const QString kindKey = QStringLiteral("打印机类型");
const QString hostKey = QStringLiteral("网络打印机地址");
const QString portKey = QStringLiteral("网络打印机端口");
const QString deviceKey = QStringLiteral("USB打印机设备");
const QString queueKey = QStringLiteral("CUPS原始队列");
const QString drawerKey = QStringLiteral("结算后打开钱箱");

} // namespace

QStringList printerKindNames() {
    return {QStringLiteral("系统打印机"), QStringLiteral("网络打印机"), QStringLiteral("USB 打印机"),
            QStringLiteral("CUPS 原始队列")};
}

QString PrinterChoice::describe() const {
    const QString name = printerKindNames().at(int(kind));
    switch (kind) {
    case PrinterKind::System:
        return name;
    case PrinterKind::Network:
        return name + QLatin1Char(' ') + host + QLatin1Char(':') + QString::number(port);
    case PrinterKind::Usb:
        return name + QLatin1Char(' ') + device;
    case PrinterKind::CupsRaw:
        return name + QLatin1Char(' ') + queue;
    }
    return name;
}

PrinterChoice loadPrinterChoice(const RecordStore& records) {
    PrinterChoice choice;
    const int kind = textToInt(records.read(kindKey));
    if (kind >= 0 && kind <= int(PrinterKind::CupsRaw))
        choice.kind = PrinterKind(kind);
    choice.host = records.read(hostKey).trimmed();
    const int port = textToInt(records.read(portKey));
    choice.port = port >= 1 && port <= 65535 ? port : defaultPrinterPort;
    choice.device = records.read(deviceKey).trimmed();
    choice.queue = records.read(queueKey).trimmed();
    choice.kickDrawer = records.read(drawerKey) == QStringLiteral("1");
    return choice;
}

bool savePrinterChoice(const RecordStore& records, const PrinterChoice& choice) {
    bool ok = records.write(kindKey, QString::number(int(choice.kind)));
    ok = records.write(hostKey, choice.host) && ok;
    ok = records.write(portKey, QString::number(choice.port)) && ok;
    ok = records.write(deviceKey, choice.device) && ok;
    ok = records.write(queueKey, choice.queue) && ok;
    ok = records.write(drawerKey, choice.kickDrawer ? QStringLiteral("1") : QStringLiteral("0")) && ok;
    return ok;
}

QStringList findUsbPrinters(const QString& folder) {
    const QDir dir(folder);
    QStringList found;
    for (const QString& name : dir.entryList({QStringLiteral("lp*")}, QDir::System | QDir::Files, QDir::Name))
        found << dir.filePath(name);
    return found;
}

} // namespace qm
