#include "support/testserver.h"

#include <QDir>
#include <QFile>
#include <QProcess>

#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace qm {

namespace {

const QString binaries = QStringLiteral("/usr/lib/postgresql/15/bin");
const QString superUser = QStringLiteral("quillmenu");
bool durableServer = false;

QString tool(const QString& name) {
    return QDir(binaries).filePath(name);
}

// A port on 127.0.0.1 free at this moment, chosen by the system.
int freePort() {
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    if (fd < 0)
        return 0;
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t size = sizeof(address);
    int port = 0;
    if (::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof(address)) == 0 &&
        ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &size) == 0)
        port = ntohs(address.sin_port);
    ::close(fd);
    return port;
}

} // namespace

bool testsRunOnServer() {
    return qEnvironmentVariable("QUILLMENU_TEST_ENGINE") == QStringLiteral("postgresql");
}

void TestServer::setDurable(bool durable) {
    durableServer = durable;
}

bool TestServer::available() {
    return QFile::exists(tool(QStringLiteral("initdb"))) && QFile::exists(tool(QStringLiteral("pg_ctl")));
}

TestServer* TestServer::shared(QString* why) {
    static std::unique_ptr<TestServer> server;
    static QString failure;
    if (!server && failure.isEmpty()) {
        std::unique_ptr<TestServer> made(new TestServer);
        if (made->initialise(&failure))
            server = std::move(made);
        else if (failure.isEmpty())
            failure = QStringLiteral("server did not start");
    }
    if (!server && why)
        *why = failure;
    return server.get();
}

bool TestServer::runAsServerUser(const QString& program, const QStringList& arguments, QString* output) {
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.setWorkingDirectory(m_dir.path());
    if (::geteuid() == 0)
        process.start(QStringLiteral("runuser"), QStringList{QStringLiteral("-u"), QStringLiteral("nobody"),
                                                             QStringLiteral("--"), program} +
                                                     arguments);
    else
        process.start(program, arguments);
    const bool finished = process.waitForFinished(60000);
    if (output)
        *output = QString::fromLocal8Bit(process.readAll());
    return finished && process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
}

bool TestServer::initialise(QString* why) {
    if (!available()) {
        *why = QStringLiteral("PostgreSQL server programs missing in %1").arg(binaries);
        return false;
    }
    if (!m_dir.isValid()) {
        *why = QStringLiteral("no temporary folder");
        return false;
    }
    if (::geteuid() == 0 &&
        QProcess::execute(QStringLiteral("chown"), {QStringLiteral("nobody"), m_dir.path()}))
        return false;
    QString output;
    if (!runAsServerUser(tool(QStringLiteral("initdb")),
                         {QStringLiteral("-D"), m_dir.filePath(QStringLiteral("data")), QStringLiteral("-U"),
                          superUser, QStringLiteral("-A"), QStringLiteral("trust"), QStringLiteral("-E"),
                          QStringLiteral("UTF8"), QStringLiteral("--no-locale"), QStringLiteral("--no-sync")},
                         &output)) {
        *why = QStringLiteral("initdb failed: ") + output;
        return false;
    }
    m_port = freePort();
    if (!start()) {
        *why = QStringLiteral("pg_ctl start failed");
        return false;
    }
    return true;
}

bool TestServer::start() {
    const QString options =
        QStringLiteral(
            "-c listen_addresses=127.0.0.1 -p %1 -c unix_socket_directories=%2 -c max_connections=40")
            .arg(m_port)
            .arg(m_dir.path()) +
        (durableServer ? QString() : QStringLiteral(" -c fsync=off"));
    m_running =
        runAsServerUser(tool(QStringLiteral("pg_ctl")),
                        {QStringLiteral("-D"), m_dir.filePath(QStringLiteral("data")), QStringLiteral("-l"),
                         m_dir.filePath(QStringLiteral("server.log")), QStringLiteral("-w"),
                         QStringLiteral("-o"), options, QStringLiteral("start")});
    return m_running;
}

bool TestServer::stop() {
    if (!m_running)
        return true;
    m_running =
        !runAsServerUser(tool(QStringLiteral("pg_ctl")),
                         {QStringLiteral("-D"), m_dir.filePath(QStringLiteral("data")), QStringLiteral("-m"),
                          QStringLiteral("fast"), QStringLiteral("-w"), QStringLiteral("stop")});
    return !m_running;
}

TestServer::~TestServer() {
    stop();
}

ServerSetting TestServer::newDatabase() {
    ServerSetting setting;
    setting.host = QStringLiteral("127.0.0.1");
    setting.port = m_port;
    setting.user = superUser;
    setting.database = QStringLiteral("quillmenu_%1_%2").arg(::getpid()).arg(++m_databases);
    QProcess::execute(tool(QStringLiteral("createdb")),
                      {QStringLiteral("-h"), setting.host, QStringLiteral("-p"), QString::number(m_port),
                       QStringLiteral("-U"), superUser, setting.database});
    return setting;
}

} // namespace qm
