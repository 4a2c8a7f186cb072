#pragma once

#include <QString>
#include <QStringList>

// Which printer receipts go to, stored in 记录 with the other receipt settings.
namespace qm {

class RecordStore;

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

PrinterChoice loadPrinterChoice(const RecordStore& records);
// Stores every field (inserting rows that are missing); false when a write failed.
bool savePrinterChoice(const RecordStore& records, const PrinterChoice& choice);

// The printer device files in `folder` (/dev/usb), such as /dev/usb/lp0, sorted.
QStringList findUsbPrinters(const QString& folder = QStringLiteral("/dev/usb"));

} // namespace qm
