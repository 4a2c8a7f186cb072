#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// Moving a shop over to a shared server: the data of a till's SQLite file copied into an empty PostgreSQL
// database, IDs and all, in one transaction on the server. The file is only read.
namespace qm {

class Database;

struct CopiedTable {
    QString name;
    qint64 rows = 0; // rows read from the file, the same number counted on the server afterwards
};

struct ServerCopyResult {
    enum class Status {
        Copied,
        Refused, // the file or the server is not fit for a copy (the server already holds orders, …)
        Failed,  // a statement failed; the server is as it was
    };
    Status status = Status::Failed;
    QString error; // why, in Chinese, when not copied
    QList<CopiedTable> tables;
    QStringList leftOut;       // tables of the file the schema does not know, not copied
    qint64 emptiedNumbers = 0; // numbers in a number column that held a text no number can be read from
    double seconds = 0;
    explicit operator bool() const { return status == Status::Copied; }
};

class ServerCopy {
public:
    // `sourcePath`: the SQLite file; `target`: a connection to the PostgreSQL database to fill.
    ServerCopy(const QString& sourcePath, Database& target);

    // Makes the schema on the server when it has none, then, in the same transaction: refuses a server
    // that holds orders (or a record of changes), replaces the first-run rows with the file's rows of every
    // table, keeps the IDs, sets each ID sequence past the highest ID the file gave out, counts the
    // kept order and sales totals afresh and compares each table's row count with the file's.
    ServerCopyResult run();

    // What the copy did, for the person who ran it (several lines, Chinese).
    static QString report(const ServerCopyResult& result, const QString& sourcePath, const QString& target);

private:
    QString m_sourcePath;
    Database& m_target;
};

} // namespace qm
