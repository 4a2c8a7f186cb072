#pragma once

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QString>
#include <QVariant>

#include <functional>
#include <initializer_list>
#include <memory>

// The one connection to the program's SQLite database.
namespace qm {

// A text as it is stored: an empty text is stored as '', never as NULL.
QVariant storedText(const QString& text);

// Why a statement failed, for the user: the common causes named in Chinese (数据库被其他程序占用, 磁盘已满,
// 数据库文件只读, 没有权限), followed by SQLite's own text in parentheses.
QString failureText(const QSqlError& error);

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

    // How long a statement waits for a lock another program holds on the file before it fails.
    static constexpr int storingBusyTime = 5000; // ms, the normal time: storing waits this long
    static constexpr int typingBusyTime = 40;    // ms, reads made while the user types give up sooner
    int busyTime() const { return m_busyTime; }
    bool setBusyTime(int milliseconds);

    // Prepares `sql` and binds the values to its positional placeholders, in order; an empty text is bound
    // as '' (storedText()).
    QSqlQuery prepare(const QString& sql, std::initializer_list<QVariant> values = {}) const;
    // Prepares, binds and runs a statement; false when it failed.
    bool exec(const QString& sql, std::initializer_list<QVariant> values = {}) const;
    // Runs `work` in one transaction: committed when it returns true, rolled back otherwise.
    bool transaction(const std::function<bool()>& work);
    // The last failure seen by prepare(), exec() or transaction(), as failureText() tells it.
    QString lastError() const { return m_lastError; }

    // Writes the write-ahead log back into the database file and empties it. Runs on close too.
    bool checkpoint();
    // Closes the connection (after a checkpoint) so that the file can be replaced, and opens it again.
    void close();
    bool reopen(QString* error = nullptr);

private:
    Database(const QString& connectionName, const QString& path);
    // Checks the file is a database and sets the connection's busy time, journal and sync modes.
    bool prepareConnection(QSqlDatabase& db, QString* error);

    QString m_connectionName;
    QString m_path;
    int m_busyTime = storingBusyTime;
    mutable QString m_lastError;
};

// Shortens the database's busy time for the reads made while the user types, and puts it back when it
// ends: a lock held by another program then leaves the fields as they are instead of freezing the window.
class TypingReads {
public:
    explicit TypingReads(Database& db);
    ~TypingReads();
    TypingReads(const TypingReads&) = delete;
    TypingReads& operator=(const TypingReads&) = delete;

private:
    Database& m_db;
    int m_previous;
};

} // namespace qm
