#include "catalog/importsession.h"

namespace qm {

QString ImportSummary::text() const {
    if (!missingColumns.isEmpty())
        return missingColumns;
    return QStringLiteral("共 %1 行：新增 %2，更新 %3，不变 %4，不能导入 %5。")
        .arg(rowCount)
        .arg(inserts)
        .arg(updates)
        .arg(unchanged)
        .arg(refusals.size());
}

void ImportSession::load(const QByteArray& bytes) {
    m_bytes = bytes;
    m_encoding.reset();
    m_separator.reset();
    read();
}

void ImportSession::setEncoding(std::optional<CsvEncoding> encoding) {
    m_encoding = encoding;
    read();
}

void ImportSession::setSeparator(std::optional<QChar> separator) {
    m_separator = separator;
    read();
}

void ImportSession::setColumn(int column, int fileColumn) {
    if (column < 0 || column >= m_map.size())
        return;
    m_map[column] = fileColumn < m_file.table.header.size() ? fileColumn : -1;
    replan();
}

void ImportSession::setExisting(ExistingRows existing) {
    m_existing = existing;
    replan();
}

void ImportSession::read() {
    m_file = readCsvFile(m_bytes, m_encoding, m_separator);
    m_map = mapColumns(columns(), m_file.table.header);
    replan();
}

void ImportSession::replan() {
    const QString missing = missingColumnsText(columns(), m_map);
    if (!missing.isEmpty()) {
        m_summary = ImportSummary();
        m_summary.rowCount = int(m_file.table.rows.size());
        m_summary.missingColumns = missing;
        return;
    }
    m_summary = plan();
}

} // namespace qm
