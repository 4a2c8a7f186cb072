#include "store/database.h"

#include <QFileInfo>
#include <QSqlError>
#include <QUuid>

namespace qm {

QVariant storedText(const QString& text) {
    return text.isNull() ? QVariant(QStringLiteral("")) : QVariant(text);
}

QString failureText(const QSqlError& error) {
    const QString own = error.text().trimmed();
    // SQLite's primary result codes (the low byte of an extended code).
    const int code = error.nativeErrorCode().toInt() & 0xff;
    QString cause;
    switch (code) {
    case 5: // SQLITE_BUSY
    case 6: // SQLITE_LOCKED
        cause = QStringLiteral("数据库被其他程序占用");
        break;
    case 13: // SQLITE_FULL
        cause = QStringLiteral("磁盘已满");
        break;
    case 8: // SQLITE_READONLY
        cause = QStringLiteral("数据库文件只读");
        break;
    case 3:  // SQLITE_PERM
    case 23: // SQLITE_AUTH
        cause = QStringLiteral("没有权限");
        break;
    case 14: // SQLITE_CANTOPEN
        cause = QStringLiteral("无法打开数据库文件");
        break;
    case 10: // SQLITE_IOERR
        cause = QStringLiteral("磁盘读写错误");
        break;
    case 11: // SQLITE_CORRUPT
    case 26: // SQLITE_NOTADB
        cause = QStringLiteral("数据库文件已损坏");
        break;
    default:
        cause = QStringLiteral("数据库错误");
        break;
    }
    return own.isEmpty() ? cause : cause + QStringLiteral("（") + own + QStringLiteral("）");
}

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
        return fail(failureText(db.lastError()));
    QString reason;
    if (!database->prepareConnection(db, &reason))
        return fail(reason);
    return database;
}

bool Database::prepareConnection(QSqlDatabase& db, QString* error) {
    // SQLite opens any file lazily; reading the schema tells whether the file really is a database.
    QSqlQuery probe(db);
    if (!probe.exec(QStringLiteral("SELECT count(*) FROM sqlite_master"))) {
        if (error)
            *error = failureText(probe.lastError());
        return false;
    }
    probe.finish();
    QSqlQuery pragma(db);
    pragma.exec(QStringLiteral("PRAGMA foreign_keys = OFF"));
    setBusyTime(m_busyTime);
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
        m_lastError = failureText(query.lastError());
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
            *error = failureText(db.lastError());
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
        m_lastError = failureText(query.lastError());
        return query;
    }
    int i = 0;
    for (const QVariant& value : values)
        query.bindValue(i++, value.typeId() == QMetaType::QString ? storedText(value.toString()) : value);
    return query;
}

bool Database::exec(const QString& sql, std::initializer_list<QVariant> values) const {
    QSqlQuery query = prepare(sql, values);
    if (!query.exec()) {
        m_lastError = failureText(query.lastError());
        return false;
    }
    return true;
}

bool Database::setBusyTime(int milliseconds) {
    // SQLite's own setting; a whole number, so it is safe in the statement's text.
    QSqlQuery pragma(connection());
    if (!pragma.exec(QStringLiteral("PRAGMA busy_timeout = %1").arg(milliseconds))) {
        m_lastError = failureText(pragma.lastError());
        return false;
    }
    m_busyTime = milliseconds;
    return true;
}

TypingReads::TypingReads(Database& db)
    : m_db(db)
    , m_previous(db.busyTime()) {
    m_db.setBusyTime(Database::typingBusyTime);
}

TypingReads::~TypingReads() {
    m_db.setBusyTime(m_previous);
}

bool Database::transaction(const std::function<bool()>& work) {
    QSqlDatabase db = connection();
    if (!db.transaction()) {
        m_lastError = failureText(db.lastError());
        return false;
    }
    if (!work()) {
        const QString reason = m_lastError;
        db.rollback();
        m_lastError = reason;
        return false;
    }
    if (!db.commit()) {
        m_lastError = failureText(db.lastError());
        db.rollback();
        return false;
    }
    return true;
}

} // namespace qm
