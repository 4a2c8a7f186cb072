#include "store/database.h"

#include <QFileInfo>
#include <QSqlError>
#include <QUuid>

namespace qm {

Database::Database(const QString& connectionName, const QString& path)
    : m_connectionName(connectionName)
    , m_path(path) {}

Database::~Database() {
    {
        QSqlDatabase db = QSqlDatabase::database(m_connectionName, false);
        if (db.isOpen())
            db.close();
    }
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
    // SQLite opens any file lazily; reading the schema tells whether the file really is a database.
    QSqlQuery probe(db);
    if (!probe.exec(QStringLiteral("SELECT count(*) FROM sqlite_master")))
        return fail(probe.lastError().text());
    probe.finish();
    QSqlQuery pragma(db);
    pragma.exec(QStringLiteral("PRAGMA foreign_keys = OFF"));
    pragma.exec(QStringLiteral("PRAGMA synchronous = NORMAL"));
    return database;
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
