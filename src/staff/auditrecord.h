#pragma once

#include "history/csvexport.h"
#include "store/pagedtable.h"
#include "store/staffstore.h"

#include <QStringList>

// The 操作记录 window's table and its CSV export: the record under a filter, paged as the order history
// is, newest first.
namespace qm {

class Database;

// The actions the record names, as the window's action filter offers them.
const QStringList& auditActionNames();

// The list columns: ID, 时间, 人员, 授权人, 收银台, 操作, 单号, 之前, 之后.
extern const QStringList auditColumnTitles;

class AuditTable : public PagedTable {
public:
    explicit AuditTable(const Database& db)
        : m_db(db) {}
    void setFilter(const AuditFilter& filter) { m_filter = filter; }
    const AuditFilter& filter() const { return m_filter; }

    std::optional<PageTotals> totals() const override;
    std::optional<QList<QVariantList>> page(qint64 first, int rows) const override;
    QString lastError() const override;

private:
    const Database& m_db;
    AuditFilter m_filter;
};

// The before/after text of one row as the window opens it.
QString auditRowText(const AuditRow& row);

// Writes every row under the filter (oldest first) as a GBK CSV file that replaces `path` whole or not at
// all; the text fields cleaned as the order export cleans them.
CsvExportResult exportAuditCsv(const Database& db, const AuditFilter& filter, const QString& path);

} // namespace qm
