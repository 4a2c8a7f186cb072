#include "store/database.h"

#include "store/clientmessages.h"

#include <QFileInfo>
#include <QSqlError>
#include <QStringList>
#include <QUuid>

namespace qm {

QVariant storedText(const QString& text) {
    return text.isNull() ? QVariant(QStringLiteral("")) : QVariant(text);
}

namespace {

// PostgreSQL reports a five-character SQLSTATE; SQLite's result codes have at most four digits.
bool isSqlState(const QString& code) {
    return code.size() == 5;
}

QString serverCause(const QString& state) {
    if (state.startsWith(QStringLiteral("08")) || state.startsWith(QStringLiteral("57P")))
        return QStringLiteral("与数据库服务器的连接中断");
    if (state == QStringLiteral("57014"))
        return QStringLiteral("数据库服务器响应超时");
    if (state == QStringLiteral("55P03") || state == QStringLiteral("40P01") ||
        state == QStringLiteral("40001"))
        return QStringLiteral("数据库被其他收银机占用");
    if (state == QStringLiteral("53100"))
        return QStringLiteral("数据库服务器磁盘已满");
    if (state.startsWith(QStringLiteral("28")) || state == QStringLiteral("42501"))
        return QStringLiteral("没有权限");
    if (state == QStringLiteral("3D000"))
        return QStringLiteral("数据库不存在");
    return QStringLiteral("数据库错误");
}

// The client library's own words when it could not reach the server (no SQLSTATE yet).
QString connectCause(const QString& text) {
    const struct {
        const char* words;
        const char* cause;
    } causes[] = {
        {"Connection refused", "服务器未运行或拒绝连接"},
        {"timeout expired", "连接超时"},
        {"could not translate host name", "找不到服务器主机"},
        {"No route to host", "网络不通"},
        {"Network is unreachable", "网络不通"},
        {"password authentication failed", "密码错误"},
        {"no password supplied", "没有密码（请写在 ~/.pgpass 中）"},
        {"does not exist", "数据库或用户不存在"},
        {"no pg_hba.conf entry", "服务器不允许本机连接"},
        {"server closed the connection", "与数据库服务器的连接中断"},
        {"no connection to the server", "与数据库服务器的连接中断"},
        {"No such file or directory", "服务器未运行"},
        {"server version mismatch", "pg_dump 的版本比服务器旧（请安装与服务器同一版本的 postgresql-client）"},
    };
    for (const auto& c : causes) {
        if (text.contains(QLatin1String(c.words), Qt::CaseInsensitive))
            return QString::fromUtf8(c.cause);
    }
    return {};
}

} // namespace

QString serverClientCause(const QString& text) {
    return connectCause(text);
}

bool connectionLost(const QSqlError& error) {
    const QString state = error.nativeErrorCode();
    if (isSqlState(state))
        return state.startsWith(QStringLiteral("08")) || state.startsWith(QStringLiteral("57P"));
    const QString text = error.text();
    return text.contains(QLatin1String("server closed the connection")) ||
           text.contains(QLatin1String("no connection to the server")) ||
           text.contains(QLatin1String("terminating connection")) ||
           (error.type() == QSqlError::ConnectionError && !connectCause(text).isEmpty());
}

QString failureText(const QSqlError& error) {
    const QString own = error.text().trimmed();
    const QString state = error.nativeErrorCode();
    QString cause;
    if (isSqlState(state)) {
        cause = serverCause(state);
    } else if (const QString lost = connectCause(own); !lost.isEmpty() && !state.toInt()) {
        cause = lost;
    } else {
        // SQLite's primary result codes (the low byte of an extended code).
        switch (state.toInt() & 0xff) {
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
    }
    // A known cause is told alone, in Chinese; for any other the engine's own words are all there is (without
    // the driver's, such as "Unable to fetch row").
    if (cause != QStringLiteral("数据库错误"))
        return cause;
    const QString engine = error.databaseText().trimmed().isEmpty() ? own : error.databaseText().trimmed();
    return engine.isEmpty() ? cause : cause + QStringLiteral("（") + engine + QStringLiteral("）");
}

Database::Database(const QString& connectionName, const QString& path, std::optional<ServerSetting> server)
    : m_connectionName(connectionName)
    , m_path(path)
    , m_server(std::move(server)) {}

namespace {

QString newConnectionName() {
    return QStringLiteral("quillmenu-") + QUuid::createUuid().toString(QUuid::WithoutBraces);
}

// The client library's options: a server that does not answer (cable pulled, machine off) is given up
// within seconds, at connection and while working, instead of leaving the till waiting on the network.
QString serverOptions(const ServerSetting& server) {
    QStringList options{QStringLiteral("connect_timeout=4"),         QStringLiteral("keepalives=1"),
                        QStringLiteral("keepalives_idle=5"),         QStringLiteral("keepalives_interval=2"),
                        QStringLiteral("keepalives_count=2"),        QStringLiteral("tcp_user_timeout=5000"),
                        QStringLiteral("application_name=quillmenu")};
    if (!server.sslmode.isEmpty())
        options << QStringLiteral("sslmode=") + server.sslmode;
    return options.join(QLatin1Char(';'));
}

} // namespace

Database::~Database() {
    close();
    QSqlDatabase::removeDatabase(m_connectionName);
}

std::unique_ptr<Database> Database::connect(const QString& path, QString* error) {
    return connectFile(path, false, error);
}

std::unique_ptr<Database> Database::connectReadOnly(const QString& path, QString* error) {
    return connectFile(path, true, error);
}

std::unique_ptr<Database> Database::connectFile(const QString& path, bool readOnly, QString* error) {
    const QString name = newConnectionName();
    std::unique_ptr<Database> database(new Database(name, path, std::nullopt));
    database->m_readOnly = readOnly;
    auto fail = [&](const QString& reason) {
        if (error)
            *error = reason;
        return std::unique_ptr<Database>();
    };
    if (QFileInfo(path).isDir())
        return fail(QStringLiteral("%1 is a folder").arg(path));
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
    db.setDatabaseName(path);
    if (readOnly)
        db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY"));
    if (!db.open())
        return fail(failureText(db.lastError()));
    QString reason;
    if (!database->prepareConnection(db, &reason))
        return fail(reason);
    return database;
}

std::unique_ptr<Database> Database::connectServer(const ServerSetting& server, QString* error) {
    const QString name = newConnectionName();
    std::unique_ptr<Database> database(new Database(name, QString(), server));
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), name);
    QString reason;
    if (!db.isValid()) {
        reason = QStringLiteral("缺少 PostgreSQL 驱动（请安装 libqt6sql6-psql）");
    } else {
        db.setHostName(server.host);
        db.setPort(server.port);
        db.setDatabaseName(server.database);
        db.setUserName(server.user);
        db.setConnectOptions(serverOptions(server));
        if (!db.open())
            reason = failureText(db.lastError());
        else if (!database->prepareConnection(db, &reason))
            db.close();
    }
    if (reason.isEmpty())
        return database;
    if (error)
        *error = QStringLiteral("无法连接数据库服务器 %1：%2").arg(server.describe(), reason);
    return nullptr;
}

QString Database::describe() const {
    return m_server ? QStringLiteral("PostgreSQL 服务器 ") + m_server->describe()
                    : QStringLiteral("本机数据库文件 ") + m_path;
}

bool Database::prepareConnection(QSqlDatabase& db, QString* error) const {
    if (m_server) {
        QSqlQuery probe(db);
        if (!probe.exec(QStringLiteral("SELECT 1"))) {
            if (error)
                *error = failureText(probe.lastError());
            return false;
        }
        m_lost = false;
        // The server's notices (an index that already exists) are no news for the till.
        probe.exec(QStringLiteral("SET client_min_messages = warning"));
        return applyBusyTime(m_busyTime);
    }
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
    applyBusyTime(m_busyTime);
    if (m_readOnly)
        return true;
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
    if (m_server || m_readOnly)
        return true;
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

void Database::noteFailure(const QSqlError& error) const {
    m_lastError = failureText(error);
    if (m_server && connectionLost(error))
        m_lost = true;
}

void Database::reconnectIfLost() const {
    if (!m_lost || m_busyTime < storingBusyTime)
        return;
    QSqlDatabase db = connection();
    db.close();
    QString reason;
    if (!db.open())
        m_lastError = failureText(db.lastError());
    else if (!prepareConnection(db, &reason))
        m_lastError = reason;
}

QSqlQuery Database::prepare(const QString& sql, std::initializer_list<QVariant> values) const {
    reconnectIfLost();
    QSqlQuery query(connection());
    query.setForwardOnly(true);
    if (!query.prepare(sql)) {
        noteFailure(query.lastError());
        return query;
    }
    int i = 0;
    for (const QVariant& value : values)
        query.bindValue(i++, value.typeId() == QMetaType::QString ? storedText(value.toString()) : value);
    return query;
}

bool Database::exec(const QString& sql, std::initializer_list<QVariant> values) const {
    if (values.size() == 0) {
        // Without values the statement runs as it is: PostgreSQL cannot prepare a schema statement.
        reconnectIfLost();
        QSqlQuery query(connection());
        if (!query.exec(sql)) {
            noteFailure(query.lastError());
            return false;
        }
        return true;
    }
    QSqlQuery query = prepare(sql, values);
    if (!query.exec()) {
        noteFailure(query.lastError());
        return false;
    }
    return true;
}

bool Database::setBusyTime(int milliseconds) {
    // Kept even when the connection cannot take it now (a lost server): the reads made while the user
    // types must not open a new connection, and a new connection is given the time kept here.
    m_busyTime = milliseconds;
    return applyBusyTime(milliseconds);
}

bool Database::applyBusyTime(int milliseconds) const {
    // Whole numbers, so they are safe in the statement's text.
    QSqlQuery query(connection());
    const QString sql = m_server ? QStringLiteral("SELECT set_config('lock_timeout', '%1', false), "
                                                  "set_config('statement_timeout', '%2', false)")
                                       .arg(milliseconds)
                                       .arg(milliseconds < storingBusyTime ? milliseconds : 0)
                                 : QStringLiteral("PRAGMA busy_timeout = %1").arg(milliseconds);
    if (!query.exec(sql)) {
        noteFailure(query.lastError());
        return false;
    }
    return true;
}

bool Database::lockForTransaction(qint64 key) const {
    if (!m_server)
        return true;
    // A lock held until the end of the transaction; the keys are this program's own.
    return exec(QStringLiteral("SELECT pg_advisory_xact_lock(?)"), {key});
}

bool Database::lockOrderWrites() const {
    // One lock for every day and every writer.
    return lockForTransaction(0x51554d4e);
}

bool Database::lockAuditChain() const {
    return lockForTransaction(0x51415544);
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
    reconnectIfLost();
    QSqlDatabase db = connection();
    if (!db.transaction()) {
        noteFailure(db.lastError());
        // The server went away since the last statement: one new connection, then the transaction.
        if (!m_server || !m_lost)
            return false;
        reconnectIfLost();
        if (!db.transaction()) {
            noteFailure(db.lastError());
            return false;
        }
    }
    if (!work()) {
        const QString reason = m_lastError;
        if (!db.rollback())
            noteFailure(db.lastError());
        m_lastError = reason;
        return false;
    }
    if (!db.commit()) {
        noteFailure(db.lastError());
        db.rollback();
        return false;
    }
    return true;
}

} // namespace qm
