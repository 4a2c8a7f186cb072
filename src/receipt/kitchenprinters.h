#pragma once

#include "receipt/printerchoice.h"

#include <QList>
#include <QString>

// Which printer each kitchen station's slips go to. Each till keeps its own (a file in its home): the
// kitchen printers are reached from the till, like its receipt printer.
namespace qm {

class Home;

struct StationPrinter {
    QString station;
    PrinterChoice printer; // a printer driven directly; the system printer stands for "none"
    int paperWidthMm = 80; // 58 or 80
};

// The file in the home that holds them.
QString stationPrintersPath(const Home& home);

// The stations that have a printer, in the order saved. A missing or unreadable file gives none.
QList<StationPrinter> loadStationPrinters(const Home& home);
// Keeps the stations with a printer driven directly; the cause when the file could not be written, else
// empty.
QString saveStationPrinters(const Home& home, const QList<StationPrinter>& printers);

// The saved printers as the record of changes tells them, one station a line.
QString stationPrintersText(const QList<StationPrinter>& printers);

// One entry per station of the list `stations` (but "不出单"), with its saved printer or none, followed by
// the saved stations that have left the list since.
QList<StationPrinter> stationPrintersFor(const QStringList& stations, const QList<StationPrinter>& saved);

// The kinds a station can choose: "不打印" in place of the system printer, then the direct kinds.
QStringList stationPrinterKindNames();

} // namespace qm
