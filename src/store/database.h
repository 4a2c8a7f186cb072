#pragma once

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>
#include <QVariant>

#include <functional>
#include <initializer_list>
#include <memory>

// The one connection to the program's SQLite database.
namespace qm {

class Database {
public:
    // Connects to an existing or new SQLite file and checks that it is a database; null on failure, with
    // the reason in `error`. Nothing in the file is changed here.
    static std::unique_ptr<Database> connect(const QString& path, QString* error = nullptr);
    ~Database();
    Database(const Database&) = delete;
    Database& operator=(const Database&) = delete;

    QSqlDatabase connection() const;
    QString path() const { return m_path; }

    // Prepares `sql` and binds the values to its positional placeholders, in order.
    QSqlQuery prepare(const QString& sql, std::initializer_list<QVariant> values = {}) const;
    // Prepares, binds and runs a statement; false when it failed.
    bool exec(const QString& sql, std::initializer_list<QVariant> values = {}) const;
    // Runs `work` in one transaction: committed when it returns true, rolled back otherwise.
    bool transaction(const std::function<bool()>& work);
    // The text of the last failure seen by exec() or transaction().
    QString lastError() const { return m_lastError; }

    // Writes the write-ahead log back into the database file and empties it. Runs on close too.
    bool checkpoint();
    // Closes the connection (after a checkpoint) so that the file can be replaced, and opens it again.
    void close();
    bool reopen(QString* error = nullptr);

private:
    Database(const QString& connectionName, const QString& path);
    // Checks the file is a database and sets the connection's journal and sync modes.
    static bool prepareConnection(QSqlDatabase& db, QString* error);

    QString m_connectionName;
    QString m_path;
    mutable QString m_lastError;
};

} // namespace qm
