#pragma once

#include "store/orderhistorystore.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <functional>

// The CSV export of the order history: every order line under the window's filter, one block of lines per
// order, then a short summary; GBK text, lines ended by CR LF, fields separated by commas without quoting.
namespace qm {

// The header line's 21 titles.
extern const QStringList csvHeader;

// A text field made safe for the file: "," becomes "，", a line feed the two characters \ and n, a
// carriage return goes, so a field never splits a record. A field beginning with =, +, - or @ gets a
// leading apostrophe so that a spreadsheet shows it as text and never runs it as a formula.
QString cleanCsvText(const QString& text);

// Appends one export record as a line without its end: 21 fields, numbers as the list shows them, the time
// in the long Chinese form, every text field cleaned. With `withOrder` false the 17 order fields are left
// empty.
void appendCsvRecord(QString& text, const ExportRecord& record, bool withOrder);

// What the history window shows, for the summary at the end of the file.
struct CsvSummary {
    QString browsingLabel; // 透明标签7
    QStringList status;    // the three status bar texts
};
// The summary lines: an empty line, the browsing label without "正在浏览" and "：", then the status texts
// folded to ASCII with ":" turned into ",". The last line has no line end.
QString csvSummary(const CsvSummary& summary);

struct CsvExportResult {
    enum class Status { Written, Cancelled, Failed };
    Status status = Status::Failed;
    QString error; // when Failed
    qint64 lines = 0;
};

// Writes `text` as GBK to `path` through a temporary file that replaces it only once complete.
CsvExportResult writeCsvFile(const QString& path, const QString& text);

// Writes the export to `path`, streaming record by record into a temporary file in the same folder that
// replaces `path` only once complete: an existing file is replaced whole or not at all, and a failed or
// cancelled export leaves nothing behind. `progress` is told the number of orders written so far and
// returns false to cancel.
CsvExportResult exportOrdersCsv(const Database& db, const OrderFilter& filter, const CsvSummary& summary,
                                const QString& path, const std::function<bool(qint64 orders)>& progress);

} // namespace qm
