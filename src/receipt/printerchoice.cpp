#include "receipt/printerchoice.h"

#include "core/numtext.h"
#include "store/settings.h"
#include "store/tillfile.h"

#include <QDir>

#include <functional>

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

namespace {

PrinterChoice readChoice(const std::function<QString(const QString&)>& read) {
    PrinterChoice choice;
    const int kind = textToInt(read(kindKey));
    if (kind >= 0 && kind <= int(PrinterKind::CupsRaw))
        choice.kind = PrinterKind(kind);
    choice.host = read(hostKey).trimmed();
    const int port = textToInt(read(portKey));
    choice.port = port >= 1 && port <= 65535 ? port : defaultPrinterPort;
    choice.device = read(deviceKey).trimmed();
    choice.queue = read(queueKey).trimmed();
    choice.kickDrawer = read(drawerKey) == QStringLiteral("1");
    return choice;
}

} // namespace

PrinterChoice loadPrinterChoice(const RecordStore& records, const TillFile& till) {
    if (till.contains(kindKey))
        return readChoice([&](const QString& key) { return till.value(key); });
    const PrinterChoice old = readChoice([&](const QString& key) { return records.read(key); });
    if (!savePrinterChoice(till, old))
        qWarning("printer choice: cannot write %s", qPrintable(till.path()));
    return old;
}

bool savePrinterChoice(const TillFile& till, const PrinterChoice& choice) {
    // The kind last: a file that holds it holds the whole choice.
    bool ok = till.setValue(hostKey, choice.host);
    ok = till.setValue(portKey, QString::number(choice.port)) && ok;
    ok = till.setValue(deviceKey, choice.device) && ok;
    ok = till.setValue(queueKey, choice.queue) && ok;
    ok = till.setValue(drawerKey, choice.kickDrawer ? QStringLiteral("1") : QStringLiteral("0")) && ok;
    return ok && till.setValue(kindKey, QString::number(int(choice.kind)));
}

QStringList findUsbPrinters(const QString& folder) {
    const QDir dir(folder);
    QStringList found;
    for (const QString& name : dir.entryList({QStringLiteral("lp*")}, QDir::System | QDir::Files, QDir::Name))
        found << dir.filePath(name);
    return found;
}

} // namespace qm
