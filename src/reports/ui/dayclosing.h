#pragma once

#include <QDate>

class QWidget;

// The day's closing summary (日结) printed on the receipt printer.
namespace qm {

class Database;
class Home;
class Platform;

// Prints the closing summary of `day` through the print dialog on the receipt type and width of the
// receipts. An empty day prints its zero figures. False when nothing was printed (dialog cancelled, no
// printer, the figures could not be read); a failure to read is told to the user.
bool printDayClosing(QWidget* parent, Database& db, Platform& platform, const Home& home, const QDate& day);

} // namespace qm
