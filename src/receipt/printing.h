#pragma once

// Printing receipts of the current order.
namespace qm {

class ConfigFile;
class Home;
class Platform;
class RecordStore;
struct ReceiptContent;

// Prints the order's receipt, one job per copy: the first copy through the print dialog with the pictures
// whose files exist, then, unless `singleCopy`, copies 2 to 打印份数 on the same printer without asking
// and without pictures. False when the dialog was cancelled or a job could not be started; copies already
// printed stay printed.
bool printReceipt(Platform& platform, const RecordStore& records, const ConfigFile& config, const Home& home,
                  const ReceiptContent& content, bool singleCopy);

} // namespace qm
