#include "store/databasecopy.h"

#include "core/systemerror.h"
#include "store/clientmessages.h"
#include "store/database.h"

#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QProcessEnvironment>
#include <QRegularExpression>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QStringList>
#include <QUuid>

#include <optional>

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <unistd.h>

namespace qm {

namespace {

// A connection of its own for one task, closed and removed when it goes out of scope. Queries made on it
// must end before it does.
class OwnConnection {
public:
    OwnConnection(const QString& path, bool readOnly)
        : m_name(QStringLiteral("quillmenu-copy-") + QUuid::createUuid().toString(QUuid::WithoutBraces)) {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_name);
        db.setDatabaseName(path);
        QStringList options{QStringLiteral("QSQLITE_BUSY_TIMEOUT=5000")};
        if (readOnly)
            options << QStringLiteral("QSQLITE_OPEN_READONLY");
        db.setConnectOptions(options.join(QLatin1Char(';')));
        if (!db.open())
            m_error = db.lastError();
    }
    ~OwnConnection() {
        {
            QSqlDatabase db = QSqlDatabase::database(m_name, false);
            db.close();
        }
        QSqlDatabase::removeDatabase(m_name);
    }
    OwnConnection(const OwnConnection&) = delete;
    OwnConnection& operator=(const OwnConnection&) = delete;

    QSqlDatabase db() const { return QSqlDatabase::database(m_name, false); }
    bool isOpen() const { return !m_error.isValid(); }
    QSqlError error() const { return m_error; }

private:
    QString m_name;
    QSqlError m_error;
};

// True when SQLite's failure means the file itself is damaged: SQLITE_CORRUPT or SQLITE_NOTADB. A busy,
// locked or unreadable file is not damaged.
bool isDamage(const QSqlError& error) {
    const int code = error.nativeErrorCode().toInt() & 0xff;
    return code == 11 || code == 26;
}

// A damaged file's report keeps what SQLite said (it goes behind a details button); any other failure is
// told by its cause.
QString checkFailure(const QSqlError& error) {
    if (!isDamage(error))
        return failureText(error);
    return error.databaseText().isEmpty() ? error.text() : error.databaseText();
}

// Runs a one-column statement and gives its rows as text; no value (with the reason) when it failed.
std::optional<QStringList> rows(const QSqlDatabase& db, const QString& sql, const QVariantList& values,
                                QSqlError* error) {
    QSqlQuery query(db);
    query.setForwardOnly(true);
    if (!query.prepare(sql)) {
        *error = query.lastError();
        return std::nullopt;
    }
    for (int i = 0; i < values.size(); ++i)
        query.bindValue(i, values.at(i));
    if (!query.exec()) {
        *error = query.lastError();
        return std::nullopt;
    }
    QStringList out;
    while (query.next())
        out << query.value(0).toString();
    if (query.lastError().isValid()) {
        *error = query.lastError();
        return std::nullopt;
    }
    return out;
}

bool syncPath(const QString& path, bool directory) {
    const int fd = ::open(QFile::encodeName(path).constData(), directory ? O_RDONLY | O_DIRECTORY : O_RDWR);
    if (fd < 0)
        return false;
    const bool synced = ::fsync(fd) == 0;
    ::close(fd);
    return synced;
}

// Makes the finished copy `part` durable and gives it its name `target`, then makes the name durable: the
// reason on failure, else empty.
QString putInPlace(const QString& part, const QString& target) {
    if (!syncPath(part, false))
        return QStringLiteral("无法写入磁盘：%1").arg(part);
    if (std::rename(QFile::encodeName(part).constData(), QFile::encodeName(target).constData()) != 0)
        return QStringLiteral("%1: %2").arg(target, systemErrorText(errno));
    syncPath(QFileInfo(target).absolutePath(), true);
    return {};
}

// The connection to the server for the client programs, in the client library's own environment
// variables: nothing of it (and no password) on their command line, where any user of the computer could
// read it. The password file the till uses (PGPASSFILE or ~/.pgpass) is inherited as it is.
QProcessEnvironment clientEnvironment(const ServerSetting& server) {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("PGHOST"), server.host);
    environment.insert(QStringLiteral("PGPORT"), QString::number(server.port));
    environment.insert(QStringLiteral("PGDATABASE"), server.database);
    environment.insert(QStringLiteral("PGUSER"), server.user);
    environment.insert(QStringLiteral("PGCONNECT_TIMEOUT"), QStringLiteral("4"));
    environment.insert(QStringLiteral("PGAPPNAME"), QStringLiteral("quillmenu-backup"));
    if (server.sslmode.isEmpty())
        environment.remove(QStringLiteral("PGSSLMODE"));
    else
        environment.insert(QStringLiteral("PGSSLMODE"), server.sslmode);
    // Messages in English, so that the known causes are found in them.
    environment.insert(QStringLiteral("LC_MESSAGES"), QStringLiteral("C"));
    environment.insert(QStringLiteral("LANGUAGE"), QStringLiteral("C"));
    return environment;
}

// Runs one of the client programs to its end; empty on success, else why it failed, in Chinese. Its
// standard output goes to `output`.
QString runClient(const QString& program, const QStringList& arguments,
                  const QProcessEnvironment& environment, int timeoutMs, QByteArray* output = nullptr) {
    QProcess process;
    process.setProcessEnvironment(environment);
    process.start(program, arguments);
    if (!process.waitForStarted(10000))
        return QStringLiteral("无法运行 %1（请安装 postgresql-client）").arg(program);
    if (!process.waitForFinished(timeoutMs)) {
        process.kill();
        process.waitForFinished(5000);
        return QStringLiteral("%1 超时（超过 %2 秒）").arg(program).arg(timeoutMs / 1000);
    }
    if (output)
        *output = process.readAllStandardOutput();
    if (process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0)
        return {};
    // The program's first error line, without its name: "pg_dump: error: connection to server … failed: …".
    QString said;
    const QStringList lines = QString::fromLocal8Bit(process.readAllStandardError()).split(QLatin1Char('\n'));
    for (const QString& line : lines) {
        if (!line.trimmed().isEmpty()) {
            said = line.trimmed();
            break;
        }
    }
    static const QRegularExpression name(QStringLiteral("^[a-z_]+: (error: )?"));
    said.remove(name);
    const QString cause = serverClientCause(said);
    const QString failed = QStringLiteral("%1 出错").arg(program);
    if (said.isEmpty())
        return failed + QStringLiteral("（退出码 %1）").arg(process.exitCode());
    return (cause.isEmpty() ? failed : cause) + QStringLiteral("（") + said + QStringLiteral("）");
}

} // namespace

CopySource copySourceOf(const Database& db) {
    if (const std::optional<ServerSetting> server = db.server())
        return CopySource(*server);
    return CopySource(db.path());
}

QString writeBackup(const CopySource& source, const QString& target, int timeoutMs) {
    return source.server ? writeServerDump(*source.server, target, timeoutMs)
                         : writeCheckedCopy(source.path, target);
}

std::optional<QStringList> dumpTables(const QString& path, QString* error, int timeoutMs) {
    auto fail = [&](const QString& reason) {
        if (error)
            *error = reason;
        return std::nullopt;
    };
    if (!QFileInfo(path).isFile())
        return fail(QStringLiteral("文件不存在：%1").arg(path));
    QByteArray listing;
    const QString problem = runClient(QStringLiteral("pg_restore"), {QStringLiteral("--list"), path},
                                      clientEnvironment(ServerSetting{}), timeoutMs, &listing);
    if (!problem.isEmpty())
        return fail(problem);
    // "215; 1259 16385 TABLE public 存单 quillmenu": the kind, the schema, the name, the owner.
    static const QRegularExpression table(QStringLiteral("^\\d+; \\d+ \\d+ TABLE (\\S+) (\\S+) "));
    QStringList tables;
    for (const QString& line : QString::fromUtf8(listing).split(QLatin1Char('\n'))) {
        const QRegularExpressionMatch match = table.match(line);
        if (match.hasMatch())
            tables << match.captured(2);
    }
    return tables;
}

namespace {

// Why a copy cannot be written next to `target`: its folder is missing or not writable; empty when fine.
QString targetFolderTrouble(const QString& target) {
    const QFileInfo folder(QFileInfo(target).absolutePath());
    if (!folder.isDir())
        return QStringLiteral("文件夹不存在：%1").arg(folder.filePath());
    if (!folder.isWritable())
        return QStringLiteral("文件夹不可写：%1").arg(folder.filePath());
    return {};
}

} // namespace

QString writeServerDump(const ServerSetting& server, const QString& target, int timeoutMs) {
    if (const QString trouble = targetFolderTrouble(target); !trouble.isEmpty())
        return trouble;
    const QString part = target + QStringLiteral(".part");
    QFile::remove(part);
    auto fail = [&](const QString& reason) {
        QFile::remove(part);
        return reason.isEmpty() ? QStringLiteral("备份失败") : reason;
    };
    // pg_dump reads one snapshot of the database, so the file is consistent while the tills store orders.
    const QString dumped = runClient(QStringLiteral("pg_dump"),
                                     {QStringLiteral("--format=custom"), QStringLiteral("--file"), part},
                                     clientEnvironment(server), timeoutMs);
    if (!dumped.isEmpty())
        return fail(dumped);
    QString unreadable;
    const std::optional<QStringList> tables = dumpTables(part, &unreadable, timeoutMs);
    if (!tables)
        return fail(QStringLiteral("备份文件无法读取：") + unreadable);
    if (!tables->contains(QStringLiteral("存单")))
        return fail(
            QStringLiteral("备份文件中没有订单表（存单）：%1 不是本程序的数据库").arg(server.describe()));
    if (const QString trouble = putInPlace(part, target); !trouble.isEmpty())
        return fail(trouble);
    return {};
}

QStringList serverRestoreCommand(const ServerSetting& server, const QString& file) {
    QStringList command{QStringLiteral("pg_restore"),
                        QStringLiteral("--clean"),
                        QStringLiteral("--if-exists"),
                        QStringLiteral("--single-transaction"),
                        QStringLiteral("--exit-on-error"),
                        QStringLiteral("-h"),
                        server.host,
                        QStringLiteral("-p"),
                        QString::number(server.port),
                        QStringLiteral("-U"),
                        server.user,
                        QStringLiteral("-d"),
                        server.database};
    command << file;
    return command;
}

QString shellCommandLine(const QStringList& command) {
    static const QRegularExpression plain(QStringLiteral("^[A-Za-z0-9_./:=@%+,-]+$"));
    QStringList words;
    for (const QString& word : command) {
        if (plain.match(word).hasMatch())
            words << word;
        else
            words << QLatin1Char('\'') + QString(word).replace(QLatin1Char('\''), QStringLiteral("'\\''")) +
                         QLatin1Char('\'');
    }
    return words.join(QLatin1Char(' '));
}

QString walPath(const QString& databasePath) {
    return databasePath + QStringLiteral("-wal");
}

QString shmPath(const QString& databasePath) {
    return databasePath + QStringLiteral("-shm");
}

CopySummary summarizeCopy(const QString& path) {
    CopySummary summary;
    auto unreadable = [&](const QString& detail, const QSqlError& error = {}) {
        summary.problem = CopySummary::Problem::Unreadable;
        summary.detail = detail;
        summary.damaged = (error.nativeErrorCode().toInt() & 0xff) == 11; // SQLITE_CORRUPT
        return summary;
    };
    if (!QFileInfo(path).isFile())
        return unreadable(QStringLiteral("文件不存在：%1").arg(path));
    OwnConnection connection(path, true);
    if (!connection.isOpen())
        return unreadable(failureText(connection.error()));
    QSqlError error;
    const auto tables = rows(
        connection.db(), QStringLiteral("SELECT name FROM sqlite_master WHERE type = 'table'"), {}, &error);
    if (!tables)
        return unreadable(failureText(error), error);
    for (const QString& table : {QStringLiteral("存单"), QStringLiteral("存单详单"), QStringLiteral("菜单"),
                                 QStringLiteral("记录")}) {
        if (!tables->contains(table)) {
            summary.problem = CopySummary::Problem::NotOurs;
            summary.detail = table;
            return summary;
        }
    }
    const auto version = rows(connection.db(), QStringLiteral("SELECT 记录信息 FROM 记录 WHERE 记录内容 = ?"),
                              {QStringLiteral("数据库版本")}, &error);
    const auto count = rows(connection.db(), QStringLiteral("SELECT count(*) FROM 存单"), {}, &error);
    const auto newest = rows(connection.db(), QStringLiteral("SELECT max(时间) FROM 存单"), {}, &error);
    if (!version || !count || !newest)
        return unreadable(failureText(error), error);
    summary.version = version->value(0);
    summary.orders = count->value(0).toLongLong();
    summary.newestOrder = newest->value(0);
    return summary;
}

QString checkDatabaseFile(const QString& path, bool quick, bool* damaged) {
    auto problem = [&](const QString& text, bool damage) {
        if (damaged)
            *damaged = damage;
        return text.isEmpty() ? QStringLiteral("检查失败") : text;
    };
    if (damaged)
        *damaged = false;
    if (!QFileInfo(path).isFile())
        return problem(QStringLiteral("文件不存在：%1").arg(path), false);
    OwnConnection connection(path, true);
    if (!connection.isOpen())
        return problem(checkFailure(connection.error()), isDamage(connection.error()));
    QSqlError error;
    const auto report = rows(
        connection.db(),
        quick ? QStringLiteral("PRAGMA quick_check") : QStringLiteral("PRAGMA integrity_check"), {}, &error);
    if (!report)
        return problem(checkFailure(error), isDamage(error));
    if (*report == QStringList{QStringLiteral("ok")})
        return {};
    // The check lists every fault it finds (up to a hundred); the first few tell enough.
    return problem(report->mid(0, 5).join(QLatin1Char('\n')), true);
}

QString writeCheckedCopy(const QString& source, const QString& target) {
    if (!QFileInfo(source).isFile())
        return QStringLiteral("文件不存在：%1").arg(source);
    if (QFileInfo(target).canonicalFilePath() == QFileInfo(source).canonicalFilePath())
        return QStringLiteral("备份文件不能是数据库文件本身：%1").arg(target);
    // SQLite would only say it cannot open "the database file" when the target's folder is the trouble.
    if (const QString trouble = targetFolderTrouble(target); !trouble.isEmpty())
        return trouble;
    const QString part = target + QStringLiteral(".part");
    const QString partJournal = part + QStringLiteral("-journal");
    QFile::remove(part);
    QFile::remove(partJournal);
    auto fail = [&](const QString& reason) {
        QFile::remove(part);
        QFile::remove(partJournal);
        return reason.isEmpty() ? QStringLiteral("复制失败") : reason;
    };
    {
        // VACUUM INTO reads one snapshot of the database, so the copy is consistent while others write.
        OwnConnection connection(source, false);
        if (!connection.isOpen())
            return fail(failureText(connection.error()));
        QSqlQuery vacuum(connection.db());
        if (!vacuum.prepare(QStringLiteral("VACUUM INTO ?")))
            return fail(failureText(vacuum.lastError()));
        vacuum.bindValue(0, part);
        if (!vacuum.exec())
            return fail(failureText(vacuum.lastError()));
    }
    const QString damage = checkDatabaseFile(part, false);
    if (!damage.isEmpty())
        return fail(damage);
    if (const QString trouble = putInPlace(part, target); !trouble.isEmpty())
        return fail(trouble);
    return {};
}

} // namespace qm
