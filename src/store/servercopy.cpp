#include "store/servercopy.h"

#include "store/database.h"
#include "store/opendatabase.h"
#include "store/ordertotals.h"
#include "store/salestotals.h"
#include "store/schema.h"
#include "store/settings.h"

#include <QElapsedTimer>
#include <QLocale>
#include <QSqlQuery>
#include <QVersionNumber>

#include <algorithm>
#include <cmath>
#include <optional>

namespace qm {

namespace {

// Kept by the server's own triggers: counted afresh after the copy, never copied.
const QStringList totalsTables = {QStringLiteral("存单汇总"), QStringLiteral("销售汇总")};

struct Column {
    QString name;
    QString type; // the server's type: text, integer, bigint, double precision
    bool numeric() const { return type != QStringLiteral("text"); }
    bool integral() const { return type == QStringLiteral("integer") || type == QStringLiteral("bigint"); }
};

std::optional<qint64> scalar(const Database& db, const QString& sql,
                             std::initializer_list<QVariant> values = {}) {
    QSqlQuery query = db.prepare(sql, values);
    if (!query.exec() || !query.next())
        return std::nullopt;
    return query.value(0).toLongLong();
}

QStringList names(const Database& db, const QString& sql) {
    QStringList out;
    QSqlQuery query = db.prepare(sql);
    if (query.exec()) {
        while (query.next())
            out << query.value(0).toString();
    }
    return out;
}

// The columns of `table` the file and the server both have, in the file's order, with the server's kind.
QList<Column> sharedColumns(const Database& source, const Database& target, const QString& table) {
    QSqlQuery types =
        target.prepare(QStringLiteral("SELECT column_name, data_type FROM information_schema.columns "
                                      "WHERE table_schema = current_schema() AND table_name = ?"),
                       {table.toLower()});
    QHash<QString, QString> kinds;
    if (types.exec()) {
        while (types.next())
            kinds.insert(types.value(0).toString(), types.value(1).toString());
    }
    QList<Column> columns;
    for (const QString& name : columnNames(source, table)) {
        // The server folds the Latin letters of unquoted names to lower case (存单ID is 存单id there).
        const QString type = kinds.value(name.toLower());
        if (!type.isEmpty())
            columns.append({name, type.contains(QStringLiteral("char")) ? QStringLiteral("text") : type});
    }
    return columns;
}

// A value of the file as an element of the server's array literal for its column: a quoted text, a
// number, or NULL. SQLite keeps whatever was typed into a column; a number column on the server takes a
// number or nothing (`emptied` counts the texts given up).
QString arrayElement(const QVariant& value, const Column& column, qint64& emptied) {
    if (value.isNull())
        return QStringLiteral("NULL");
    if (!column.numeric()) {
        QString text = value.toString();
        text.replace(QLatin1Char('\\'), QStringLiteral("\\\\"))
            .replace(QLatin1Char('"'), QStringLiteral("\\\""));
        return QLatin1Char('"') + text + QLatin1Char('"');
    }
    double number = 0;
    if (value.typeId() == QMetaType::QString || value.typeId() == QMetaType::QByteArray) {
        const QString text = value.toString().trimmed();
        bool ok = false;
        number = text.toDouble(&ok);
        if (!ok || !std::isfinite(number)) {
            if (!text.isEmpty())
                ++emptied;
            return QStringLiteral("NULL");
        }
    } else if (value.typeId() == QMetaType::LongLong || value.typeId() == QMetaType::Int) {
        return QString::number(value.toLongLong());
    } else {
        number = value.toDouble();
    }
    // An integer column takes a whole number, rounded as the server rounds.
    if (column.integral())
        return QString::number(std::llround(number));
    return QString::number(number, 'g', QLocale::FloatingPointShortest);
}

// Rows sent in batches, one array per column, unpacked by the server into rows: a statement prepared once
// and run again for every batch, with a few long values instead of thousands of short ones.
class BatchInsert {
public:
    BatchInsert(const Database& db, const QString& table, const QList<Column>& columns)
        : m_columns(columns)
        , m_arrays(columns.size()) {
        QStringList names;
        QStringList arrays;
        for (const Column& column : columns) {
            names << column.name;
            arrays << QStringLiteral("CAST(? AS %1[])").arg(column.type);
        }
        m_insert =
            db.prepare(QStringLiteral("INSERT INTO %1 (%2) SELECT * FROM unnest(%3)")
                           .arg(table, names.join(QStringLiteral(", ")), arrays.join(QStringLiteral(", "))));
        if (m_insert.lastError().isValid())
            m_error = failureText(m_insert.lastError());
    }

    // Adds the row read into `read`; sends a batch when it is full.
    bool add(const QSqlQuery& read, qint64& emptied) {
        if (!m_error.isEmpty())
            return false;
        for (int c = 0; c < m_columns.size(); ++c) {
            if (m_rows > 0)
                m_arrays[c] += QLatin1Char(',');
            m_arrays[c] += arrayElement(read.value(c), m_columns[c], emptied);
        }
        return ++m_rows < rowsPerBatch || send();
    }

    bool finish() { return m_rows == 0 || send(); }

    QString error() const { return m_error; }

private:
    bool send() {
        for (int c = 0; c < m_columns.size(); ++c) {
            m_insert.bindValue(c, QLatin1Char('{') + m_arrays[c] + QLatin1Char('}'));
            m_arrays[c].clear();
        }
        m_rows = 0;
        if (m_insert.exec())
            return true;
        m_error = failureText(m_insert.lastError());
        return false;
    }

    static constexpr int rowsPerBatch = 5000;
    QList<Column> m_columns;
    QList<QString> m_arrays;
    int m_rows = 0;
    QSqlQuery m_insert;
    QString m_error;
};

ServerCopyResult refused(const QString& why) {
    ServerCopyResult result;
    result.status = ServerCopyResult::Status::Refused;
    result.error = why;
    return result;
}

// The file's version must be this program's: an older file is upgraded by opening it once, a newer one is
// read by a newer program.
std::optional<QString> versionProblem(const Database& source) {
    const QString stored = RecordStore(source).read(QStringLiteral("数据库版本"));
    const QString current = currentDatabaseVersion();
    if (stored == current)
        return std::nullopt;
    if (!stored.isEmpty() && QVersionNumber::fromString(stored) > QVersionNumber::fromString(current))
        return QStringLiteral("数据库文件的版本（%1）比本程序（%2）新，请先把本程序更新到最新版本。")
            .arg(stored, current);
    return QStringLiteral("数据库文件是旧版本（%1），请先用本程序打开一次该程序文件夹（数据库随之升级），"
                          "然后再复制。")
        .arg(stored.isEmpty() ? QStringLiteral("无版本记录") : stored);
}

// Copies one table of the file: the server's rows of it give way to the file's, read in the order they
// were stored and sent in batches; the row counts on both sides are compared, and the ID sequence is set
// past the file's. The table's row count goes into `result`.
bool copyTable(const Database& source, const Database& target, const QString& table, ServerCopyResult& result,
               QString& error) {
    const QList<Column> columns = sharedColumns(source, target, table);
    if (columns.isEmpty()) {
        result.leftOut << table;
        return true;
    }
    // The first-run rows the new schema brought give way to the file's. (An empty record of
    // changes is left alone: its trigger refuses any delete.)
    if (scalar(target, QStringLiteral("SELECT count(*) FROM %1").arg(table)).value_or(0) > 0 &&
        !target.exec(QStringLiteral("DELETE FROM %1").arg(table)))
        return false;
    QStringList list;
    for (const Column& column : columns)
        list << column.name;
    QSqlQuery read = source.prepare(QStringLiteral("SELECT %1 FROM %2 ORDER BY %3")
                                        .arg(list.join(QStringLiteral(", ")), table, rowOrder(source)));
    if (!read.exec()) {
        error = failureText(read.lastError());
        return false;
    }
    BatchInsert insert(target, table, columns);
    qint64 rows = 0;
    while (read.next()) {
        if (!insert.add(read, result.emptiedNumbers)) {
            error = insert.error();
            return false;
        }
        ++rows;
    }
    if (read.lastError().isValid()) {
        error = failureText(read.lastError());
        return false;
    }
    if (!insert.finish()) {
        error = insert.error();
        return false;
    }
    const qint64 inFile = scalar(source, QStringLiteral("SELECT count(*) FROM %1").arg(table)).value_or(-1);
    const qint64 onServer = scalar(target, QStringLiteral("SELECT count(*) FROM %1").arg(table)).value_or(-1);
    if (inFile != rows || onServer != rows) {
        error = QStringLiteral("表 %1 的行数不一致：文件中 %2 行，读出 %3 行，服务器上 %4 行。")
                    .arg(table)
                    .arg(inFile)
                    .arg(rows)
                    .arg(onServer);
        return false;
    }
    result.tables.append({table, rows});
    // The next ID stays above every ID the file gave out, those of deleted rows included.
    if (columns.first().name != QStringLiteral("ID"))
        return true;
    const qint64 highest =
        std::max(scalar(source, QStringLiteral("SELECT max(ID) FROM %1").arg(table)).value_or(0),
                 scalar(source, QStringLiteral("SELECT seq FROM sqlite_sequence WHERE name = ?"), {table})
                     .value_or(0));
    const bool generated = scalar(target,
                                  QStringLiteral("SELECT count(*) FROM information_schema.columns "
                                                 "WHERE table_schema = current_schema() AND "
                                                 "table_name = ? AND column_name = 'id' AND "
                                                 "is_identity = 'YES'"),
                                  {table.toLower()})
                               .value_or(0) > 0;
    return !generated || raiseIdHighWater(target, table, highest);
}

} // namespace

ServerCopy::ServerCopy(const QString& sourcePath, Database& target)
    : m_sourcePath(sourcePath)
    , m_target(target) {}

ServerCopyResult ServerCopy::run() {
    QElapsedTimer timer;
    timer.start();
    if (!m_target.isServer())
        return refused(QStringLiteral("目标不是 PostgreSQL 服务器上的数据库。"));
    QString error;
    std::unique_ptr<Database> source = Database::connectReadOnly(m_sourcePath, &error);
    if (!source)
        return refused(QStringLiteral("无法读取数据库文件 %1：%2").arg(m_sourcePath, error));
    if (columnNames(*source, QStringLiteral("存单")).isEmpty() ||
        columnNames(*source, QStringLiteral("记录")).isEmpty())
        return refused(QStringLiteral("%1 不是本程序的数据库文件。").arg(m_sourcePath));
    if (const std::optional<QString> problem = versionProblem(*source))
        return refused(*problem);

    ServerCopyResult result;
    bool refusal = false;
    // One read transaction on the file: every table is read as it was at one moment, even while the
    // till's program keeps working on it.
    const bool ok = source->transaction([&] {
        return m_target.transaction([&] {
            if (!prepareServerSchema(m_target, &error) || !m_target.lockOrderWrites())
                return false;
            const qint64 orders = scalar(m_target, QStringLiteral("SELECT count(*) FROM 存单")).value_or(-1);
            const qint64 records =
                scalar(m_target, QStringLiteral("SELECT count(*) FROM 操作记录")).value_or(0);
            if (orders != 0 || records != 0) {
                refusal = true;
                error = orders > 0 ? QStringLiteral("目标数据库里已有 %1 张订单，不能把数据复制进去；"
                                                    "请复制到一个新建的空数据库。")
                                         .arg(orders)
                                   : QStringLiteral("目标数据库里已有操作记录，不能把数据复制进去；"
                                                    "请复制到一个新建的空数据库。");
                return false;
            }
            const QStringList serverTables =
                names(m_target,
                      QStringLiteral("SELECT table_name FROM information_schema.tables WHERE table_schema = "
                                     "current_schema() AND table_type = 'BASE TABLE'"));
            const QStringList fileTables =
                names(*source, QStringLiteral("SELECT name FROM sqlite_master WHERE type = 'table' AND name "
                                              "NOT LIKE 'sqlite_%' ORDER BY rowid"));
            // The rows come in without the totals and the indexes kept row by row: counted and built once
            // at the end instead.
            if (!suspendOrderTotals(m_target) || !suspendSalesTotals(m_target) || !dropIndexes(m_target))
                return false;
            for (const QString& table : fileTables) {
                if (totalsTables.contains(table))
                    continue;
                if (!serverTables.contains(table.toLower())) {
                    result.leftOut << table;
                    continue;
                }
                if (!copyTable(*source, m_target, table, result, error))
                    return false;
            }
            // The planner's statistics of the filled tables, in the same transaction: without them the
            // first queries on a million orders (one customer's history) scan instead of using the indexes.
            return keepOrderIdsAboveLines(m_target) && ensureIndexes(m_target) &&
                   ensureOrderTotals(m_target) && ensureSalesTotals(m_target) &&
                   m_target.exec(QStringLiteral("ANALYZE"));
        });
    });
    result.seconds = double(timer.nsecsElapsed()) / 1e9;
    if (ok) {
        result.status = ServerCopyResult::Status::Copied;
        return result;
    }
    result.status = refusal ? ServerCopyResult::Status::Refused : ServerCopyResult::Status::Failed;
    result.error = error.isEmpty() ? m_target.lastError() : error;
    result.tables.clear();
    return result;
}

QString ServerCopy::report(const ServerCopyResult& result, const QString& sourcePath, const QString& target) {
    if (!result)
        return result.error;
    QStringList lines;
    lines << QStringLiteral("已把数据库文件 %1 的数据复制到 %2：").arg(sourcePath, target);
    qint64 all = 0;
    for (const CopiedTable& table : result.tables) {
        lines << QStringLiteral("  %1：%2 行").arg(table.name).arg(table.rows);
        all += table.rows;
    }
    lines << QStringLiteral("共 %1 行，用时 %2 秒；每张表在服务器上的行数都与文件中的一致，ID 保持不变。")
                 .arg(all)
                 .arg(result.seconds, 0, 'f', 1);
    if (!result.leftOut.isEmpty())
        lines
            << QStringLiteral("本程序不认识、未复制的表：%1").arg(result.leftOut.join(QStringLiteral("、")));
    if (result.emptiedNumbers > 0)
        lines << QStringLiteral("有 %1 个数字栏里存的是无法读成数字的文字，在服务器上存为空。")
                     .arg(result.emptiedNumbers);
    lines << QStringLiteral("数据库文件本身没有改动。");
    return lines.join(QLatin1Char('\n'));
}

} // namespace qm
