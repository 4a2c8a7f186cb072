#pragma once

#include <QString>
#include <QStringList>

// Which printer receipts go to and whether it opens the cash drawer: this till's own, kept in its file
// 收银机.ini, since each till that shares a database has a printer of its own.
namespace qm {

class RecordStore;
class TillFile;

// The index of each kind in the print settings window's list.
enum class PrinterKind {
    System,  // "系统打印机": the print dialog and CUPS with the printer's driver
    Network, // "网络打印机": ESC/POS over TCP, host and port
    Usb,     // "USB 打印机": ESC/POS written to a device file
    CupsRaw, // "CUPS 原始队列": ESC/POS handed to a CUPS queue that passes it on unchanged
};

inline constexpr int defaultPrinterPort = 9100;

struct PrinterChoice {
    PrinterKind kind = PrinterKind::System;
    QString host;
    int port = defaultPrinterPort;
    QString device;
    QString queue;
    bool kickDrawer = false; // "结算后打开钱箱"

    // The kinds the program drives itself: the raster path, no dialog, the cash drawer.
    bool direct() const { return kind != PrinterKind::System; }
    // "网络打印机 192.168.1.50:9100" and the like, for the test page and messages.
    QString describe() const;
};

QStringList printerKindNames();

// The till's choice. A till file without one takes the choice older versions kept in 记录, once: it is
// written to the till file, which holds it from then on.
PrinterChoice loadPrinterChoice(const RecordStore& records, const TillFile& till);
// Stores every field in the till file; false when the file could not be written.
bool savePrinterChoice(const TillFile& till, const PrinterChoice& choice);

// The printer device files in `folder` (/dev/usb), such as /dev/usb/lp0, sorted.
QStringList findUsbPrinters(const QString& folder = QStringLiteral("/dev/usb"));

} // namespace qm
