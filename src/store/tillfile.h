#pragma once

#include <QString>

#include <optional>

// What belongs to this till rather than to the shop: its name, the database server it uses and its own
// printer settings, kept in a file of the program home (收银机.ini) so that tills sharing one database
// each keep their own.
namespace qm {

// Where the shop's shared PostgreSQL database is. The password is never kept here: the server's client
// library reads it from ~/.pgpass (or the file PGPASSFILE names).
struct ServerSetting {
    QString host;
    int port = 5432;
    QString database;
    QString user;
    QString sslmode; // empty: the client library's own default

    // postgresql://user@host:port/database[?sslmode=…]
    QString url() const;
    // user@host:port/database, as messages name the server.
    QString describe() const;
    bool operator==(const ServerSetting&) const = default;
};

// Reads a postgresql:// (or postgres://) address; no value, with the reason in `error`, when it is not
// one or when it carries a password.
std::optional<ServerSetting> parseServerUrl(const QString& url, QString* error = nullptr);

class TillFile {
public:
    explicit TillFile(const QString& path)
        : m_path(path) {}

    // The server setting; no value when the till uses its own SQLite file.
    std::optional<ServerSetting> server() const;
    bool setServer(const ServerSetting& setting) const;

    // The till's name; the computer's host name until one is set.
    QString tillName() const;
    bool setTillName(const QString& name) const;

    // One of the till's own settings (printer choice, cash drawer, print widths); `fallback` when missing.
    QString value(const QString& key, const QString& fallback = {}) const;
    bool contains(const QString& key) const;
    bool setValue(const QString& key, const QString& value) const;

    QString path() const { return m_path; }

private:
    QString m_path;
};

} // namespace qm
