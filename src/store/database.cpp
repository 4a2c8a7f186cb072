#include "store/database.h"

#include <QFileInfo>
#include <QSqlError>
#include <QUuid>

namespace qm {

Database::Database(const QString& connectionName, const QString& path)
    : m_connectionName(connectionName)
    , m_path(path) {}

Database::~Database() {
    close();
    QSqlDatabase::removeDatabase(m_connectionName);
}

std::unique_ptr<Database> Database::connect(const QString& path, QString* error) {
    const QString name = QStringLiteral("quillmenu-") + QUuid::createUuid().toString(QUuid::WithoutBraces);
    std::unique_ptr<Database> database(new Database(name, path));
    auto fail = [&](const QString& reason) {
        if (error)
            *error = reason;
        return std::unique_ptr<Database>();
    };
    if (QFileInfo(path).isDir())
        return fail(QStringLiteral("%1 is a folder").arg(path));
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
    db.setDatabaseName(path);
    if (!db.open())
        return fail(db.lastError().text());
    QString reason;
    if (!prepareConnection(db, &reason))
        return fail(reason);
    return database;
}

bool Database::prepareConnection(QSqlDatabase& db, QString* error) {
    // SQLite opens any file lazily; reading the schema tells whether the file really is a database.
    QSqlQuery probe(db);
    if (!probe.exec(QStringLiteral("SELECT count(*) FROM sqlite_master"))) {
        if (error)
            *error = probe.lastError().text();
        return false;
    }
    probe.finish();
    QSqlQuery pragma(db);
    pragma.exec(QStringLiteral("PRAGMA foreign_keys = OFF"));
    // A commit reaches the disk before it is reported: an order stored survives a power cut. The
    // write-ahead log keeps those syncs short and lets a backup read while the cashier writes.
    pragma.exec(QStringLiteral("PRAGMA journal_mode = WAL"));
    pragma.exec(QStringLiteral("PRAGMA synchronous = FULL"));
    return true;
}

bool Database::checkpoint() {
    QSqlDatabase db = connection();
    if (!db.isOpen())
        return false;
    QSqlQuery query(db);
    if (!query.exec(QStringLiteral("PRAGMA wal_checkpoint(TRUNCATE)"))) {
        m_lastError = query.lastError().text();
        return false;
    }
    // The first column is 1 when a reader kept the checkpoint from finishing.
    return query.next() && query.value(0).toInt() == 0;
}

void Database::close() {
    QSqlDatabase db = connection();
    if (!db.isOpen())
        return;
    checkpoint();
    db.close();
}

bool Database::reopen(QString* error) {
    close();
    QSqlDatabase db = connection();
    if (!db.open()) {
        if (error)
            *error = db.lastError().text();
        return false;
    }
    if (!prepareConnection(db, error)) {
        db.close();
        return false;
    }
    return true;
}

QSqlDatabase Database::connection() const {
    return QSqlDatabase::database(m_connectionName, false);
}

QSqlQuery Database::prepare(const QString& sql, std::initializer_list<QVariant> values) const {
    QSqlQuery query(connection());
    query.setForwardOnly(true);
    if (!query.prepare(sql)) {
        m_lastError = query.lastError().text();
        return query;
    }
    int i = 0;
    for (const QVariant& value : values)
        query.bindValue(i++, value);
    return query;
}

bool Database::exec(const QString& sql, std::initializer_list<QVariant> values) const {
    QSqlQuery query = prepare(sql, values);
    if (!query.exec()) {
        m_lastError = query.lastError().text();
        return false;
    }
    return true;
}

bool Database::transaction(const std::function<bool()>& work) {
    QSqlDatabase db = connection();
    if (!db.transaction()) {
        m_lastError = db.lastError().text();
        return false;
    }
    if (!work()) {
        const QString reason = m_lastError;
        db.rollback();
        m_lastError = reason;
        return false;
    }
    if (!db.commit()) {
        m_lastError = db.lastError().text();
        db.rollback();
        return false;
    }
    return true;
}

} // namespace qm
