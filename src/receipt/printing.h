#pragma once

#include "core/platform.h"

#include <functional>
#include <memory>

// Printing receipts of the current order, and any other page on the receipt printer.
namespace qm {

class ConfigFile;
class Home;
class RecordStore;
class TillFile;
struct ReceiptContent;

// The receipt printer the till's choice names: a printer driven directly (no dialog), or the system
// printer the user picks in the print dialog. `printPage` of the printer returned tells a failed send to
// the user itself when the printer is driven directly. Null when the dialog was cancelled.
std::unique_ptr<ReceiptPrinter> openReceiptPrinter(Platform& platform, const RecordStore& records,
                                                   const TillFile& till, const PrintRequest& request);

// Prints the order's receipt, one job per copy: the first copy through the print dialog with the pictures
// whose files exist, then, unless `singleCopy`, copies 2 to 打印份数 on the same printer without asking
// and without pictures. False when the dialog was cancelled or a job could not be started; copies already
// printed stay printed.
bool printReceipt(Platform& platform, const RecordStore& records, const ConfigFile& config, const Home& home,
                  const ReceiptContent& content, bool singleCopy);

} // namespace qm
