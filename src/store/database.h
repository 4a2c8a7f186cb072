#pragma once

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QString>
#include <QVariant>

#include "store/tillfile.h"

#include <functional>
#include <initializer_list>
#include <memory>
#include <optional>

// The one connection to the program's database: the till's own SQLite file, or the shop's PostgreSQL
// server shared by several tills. The statements are the same on both; where the engines differ, the
// store says so in one place per concern: the connection's settings and waiting times here, the column
// types, ID generation and the form of a trigger in schema.cpp, each kept total's triggers and upsert in
// ordertotals.cpp and salestotals.cpp, copies in databasecopy.cpp (SQLite) and servercopy.cpp (a SQLite
// home's data moved to a server).
namespace qm {

enum class Engine { SQLite, PostgreSQL };

// A text as it is stored: an empty text is stored as '', never as NULL.
QVariant storedText(const QString& text);

// Why a statement failed, for the user: the common causes named in Chinese (数据库被其他程序占用, 磁盘已满,
// 数据库文件只读, 没有权限, 与数据库服务器的连接中断), followed by the engine's own text in parentheses.
QString failureText(const QSqlError& error);
// True when the failure means the connection to the database server is gone.
bool connectionLost(const QSqlError& error);

class Database {
public:
    // Connects to an existing or new SQLite file and checks that it is a database; null on failure, with
    // the reason in `error`. Nothing in the file is changed here.
    static std::unique_ptr<Database> connect(const QString& path, QString* error = nullptr);
    // The same, for reading alone: nothing in the file can change through this connection.
    static std::unique_ptr<Database> connectReadOnly(const QString& path, QString* error = nullptr);
    // Connects to the shop's PostgreSQL server; null on failure, with the server and the cause in `error`.
    // The password comes from ~/.pgpass (or PGPASSFILE), read by the client library itself.
    static std::unique_ptr<Database> connectServer(const ServerSetting& server, QString* error = nullptr);
    ~Database();
    Database(const Database&) = delete;
    Database& operator=(const Database&) = delete;

    QSqlDatabase connection() const;
    // The SQLite file; empty on a server.
    QString path() const { return m_path; }
    Engine engine() const { return m_server ? Engine::PostgreSQL : Engine::SQLite; }
    bool isServer() const { return m_server.has_value(); }
    std::optional<ServerSetting> server() const { return m_server; }
    // The database in use as the 设置 window and messages name it.
    QString describe() const;
    // The name of this till, stored with each order it stores.
    QString tillName() const { return m_tillName; }
    void setTillName(const QString& name) { m_tillName = name; }

    // How long a statement waits for a lock another program (or till) holds before it fails. On a server
    // the shorter times also bound the statement itself, so that reads made while the user types give up
    // when the server is slow.
    static constexpr int storingBusyTime = 5000; // ms, the normal time: storing waits this long
    static constexpr int typingBusyTime = 40;    // ms, reads made while the user types give up sooner
    int busyTime() const { return m_busyTime; }
    bool setBusyTime(int milliseconds);

    // Prepares `sql` and binds the values to its positional placeholders, in order; an empty text is bound
    // as '' (storedText()).
    QSqlQuery prepare(const QString& sql, std::initializer_list<QVariant> values = {}) const;
    // Prepares, binds and runs a statement; false when it failed.
    bool exec(const QString& sql, std::initializer_list<QVariant> values = {}) const;
    // Runs `work` in one transaction: committed when it returns true, rolled back otherwise. On a server a
    // connection lost earlier is opened again first.
    bool transaction(const std::function<bool()>& work);
    // The last failure seen by prepare(), exec() or transaction(), as failureText() tells it.
    QString lastError() const { return m_lastError; }

    // Makes the writers of orders and order lines take turns until the end of the current transaction: two
    // tills never read the same highest number of a day, and two transactions never wait for each other's
    // rows of the kept totals (the lines of one order touch several). SQLite has one writer at a time anyway.
    bool lockOrderWrites() const;
    // The same for the writers that append to the record of changes, whose rows chain one to the next.
    bool lockAuditChain() const;

    // Writes the write-ahead log back into the database file and empties it. Runs on close too. Nothing to
    // do on a server.
    bool checkpoint();
    // Closes the connection (after a checkpoint) so that the file can be replaced, and opens it again.
    void close();
    bool reopen(QString* error = nullptr);

private:
    Database(const QString& connectionName, const QString& path, std::optional<ServerSetting> server);
    static std::unique_ptr<Database> connectFile(const QString& path, bool readOnly, QString* error);
    // Checks the file is a database and sets the connection's busy time, journal and sync modes.
    bool prepareConnection(QSqlDatabase& db, QString* error) const;
    // Sets the waiting times on the connection.
    bool applyBusyTime(int milliseconds) const;
    bool lockForTransaction(qint64 key) const;
    // Keeps the reason of a failure; a lost server connection is opened again before the next statement.
    void noteFailure(const QSqlError& error) const;
    // On a server: opens the connection again when a statement found it lost. Not while the user types:
    // a server that does not answer would hold the window for the connection's whole timeout.
    void reconnectIfLost() const;

    QString m_connectionName;
    QString m_path;
    std::optional<ServerSetting> m_server;
    mutable int m_busyTime = storingBusyTime;
    mutable bool m_lost = false;
    bool m_readOnly = false;
    QString m_tillName;
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
