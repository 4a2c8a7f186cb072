#pragma once

#include "catalog/csvtable.h"
#include "catalog/importcolumns.h"
#include "store/importstore.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

// One import as its window runs it: the file's bytes, the encoding, separator and column choices, what to
// do with rows already stored, and the check of every row under those choices. The kinds (dishes,
// customers) say what the columns are, how rows are checked and how they are stored.
namespace qm {

class Database;

// What an import would do under the current choices.
struct ImportSummary {
    int rowCount = 0;           // data rows in the file
    int inserts = 0;            // new rows
    int updates = 0;            // stored rows that change
    int unchanged = 0;          // stored rows the file gives as they are
    QList<QStringList> preview; // the first rows, in the kind's preview columns
    QList<RowRefusal> refusals; // rows that are not taken, and why
    QList<RowRefusal> notes;    // rows taken with a remark (merged into an earlier row)
    QString missingColumns;     // required columns the map lacks; nothing is taken then

    int taken() const { return inserts + updates; }
    // "共 10 行：新增 7，更新 1，不变 1，不能导入 1。"
    QString text() const;
};

class ImportSession {
public:
    virtual ~ImportSession() = default;

    // The title of the window: "导入菜单", "导入客户".
    virtual QString title() const = 0;
    virtual const QList<ImportColumn>& columns() const = 0;
    virtual QStringList previewTitles() const = 0;
    // The choice between skipping and updating names the key: "已有数字代号：", "已有电话：".
    virtual QString existingLabel() const = 0;

    // Takes the file's bytes, detecting encoding, separator and columns.
    void load(const QByteArray& bytes);
    // No value: detect again.
    void setEncoding(std::optional<CsvEncoding> encoding);
    void setSeparator(std::optional<QChar> separator);
    // Reads import column `column` from file column `fileColumn` (-1: none).
    void setColumn(int column, int fileColumn);
    void setExisting(ExistingRows existing);

    const CsvFile& file() const { return m_file; }
    const ColumnMap& map() const { return m_map; }
    ExistingRows existing() const { return m_existing; }
    const ImportSummary& summary() const { return m_summary; }

    // Stores what the summary says, in one transaction.
    virtual ImportStoreResult store(Database& db, const ImportProgress& progress) = 0;

protected:
    // Checks every row of the file under the map and the choice for stored rows.
    virtual ImportSummary plan() = 0;

private:
    void read();
    void replan();

    QByteArray m_bytes;
    std::optional<CsvEncoding> m_encoding;
    std::optional<QChar> m_separator;
    CsvFile m_file;
    ColumnMap m_map;
    ExistingRows m_existing = ExistingRows::Skip;
    ImportSummary m_summary;
};

} // namespace qm
