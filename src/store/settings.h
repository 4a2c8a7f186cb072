#pragma once

#include <QString>

// The two settings stores: the key/value table 记录 and the configuration file 配置文件.ini.
namespace qm {

class Database;

class RecordStore {
public:
    explicit RecordStore(const Database& db)
        : m_db(db) {}

    // The value of the first row with this key; `fallback` when there is none or it is empty.
    QString read(const QString& key, const QString& fallback = {}) const;
    bool exists(const QString& key) const;
    // Sets the value of every row with this key.
    bool update(const QString& key, const QString& value) const;
    bool insert(const QString& key, const QString& value) const;
    // update() when the key exists, else insert(): how every setting is stored.
    bool write(const QString& key, const QString& value) const;
    // Why the last statement failed.
    QString lastError() const;

private:
    const Database& m_db;
};

// The configuration file: GBK text holding entries "<key> = {<value>}" + CR LF anywhere in it.
class ConfigFile {
public:
    explicit ConfigFile(const QString& path)
        : m_path(path) {}

    // The value of the first entry for `key` (letter case ignored; "#引号" in a key stands for a double
    // quote). An empty or missing value gives `fallback`; a missing entry is appended with `fallback`
    // when `create` is true.
    QString read(const QString& key, const QString& fallback, bool create) const;
    QString path() const { return m_path; }

private:
    QString m_path;
};

} // namespace qm
