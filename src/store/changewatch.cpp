#include "store/changewatch.h"

#include "store/database.h"
#include "store/schema.h"

#include <QSqlQuery>
#include <QTimer>

namespace qm {

namespace {

const struct {
    SharedData what;
    const char* key;                           // the counter's row in 变更计数
    std::initializer_list<const char*> tables; // the tables whose changes raise it
} kinds[] = {
    {SharedData::Orders, "订单", {"存单"}},
    {SharedData::Dishes, "菜单", {"菜单", "单位"}},
    {SharedData::TableCodes, "桌号", {"桌号"}},
    {SharedData::Lists, "名单", {"票头设置", "店名", "减免", "出品部门"}},
};

// Reads the counters on its own connection, in the watch's thread.
class CounterReader : public QObject {
    Q_OBJECT
public:
    CounterReader(ServerSetting server, int intervalMs)
        : m_server(std::move(server))
        , m_interval(intervalMs) {}

    void start() {
        m_timer = new QTimer(this);
        m_timer->setInterval(m_interval);
        connect(m_timer, &QTimer::timeout, this, &CounterReader::read);
        m_timer->start();
        read();
    }

signals:
    void changed(qm::SharedData what);

private:
    void read() {
        if (!m_db)
            m_db = Database::connectServer(m_server);
        if (!m_db)
            return; // the server is away: tried again on the next tick
        QSqlQuery query = m_db->prepare(QStringLiteral("SELECT 区域, 计数 FROM 变更计数"));
        if (!query.exec()) {
            // A lost connection is opened again by the next statement.
            return;
        }
        while (query.next()) {
            const QString key = query.value(0).toString();
            const qint64 count = query.value(1).toLongLong();
            const auto known = m_counts.constFind(key);
            const bool moved = known != m_counts.constEnd() && *known != count;
            m_counts.insert(key, count);
            if (!moved)
                continue;
            for (const auto& kind : kinds) {
                if (key == QString::fromUtf8(kind.key))
                    emit changed(kind.what);
            }
        }
    }

    ServerSetting m_server;
    int m_interval;
    QTimer* m_timer = nullptr;
    std::unique_ptr<Database> m_db;
    QHash<QString, qint64> m_counts;
};

} // namespace

bool ensureChangeCounters(const Database& db) {
    // Made once: a till starting later leaves the triggers (and the tables they lock) alone.
    if (!db.isServer() || !columnNames(db, QStringLiteral("变更计数")).isEmpty())
        return true;
    if (!db.exec(QStringLiteral("CREATE TABLE IF NOT EXISTS 变更计数 (区域 TEXT COLLATE \"C\" PRIMARY KEY, "
                                "计数 BIGINT NOT NULL DEFAULT 0)")) ||
        !db.exec(QStringLiteral(
            "CREATE OR REPLACE FUNCTION 变更计数_加() RETURNS trigger LANGUAGE plpgsql AS $f$ BEGIN "
            "UPDATE 变更计数 SET 计数 = 计数 + 1 WHERE 区域 = TG_ARGV[0]; RETURN NULL; END $f$")))
        return false;
    for (const auto& kind : kinds) {
        const QString key = QString::fromUtf8(kind.key);
        if (!db.exec(QStringLiteral("INSERT INTO 变更计数 (区域) VALUES (?) ON CONFLICT DO NOTHING"), {key}))
            return false;
        for (const char* table : kind.tables) {
            // The key is this program's own text, safe in the statement.
            if (!db.exec(QStringLiteral("CREATE OR REPLACE TRIGGER 变更计数 AFTER INSERT OR UPDATE OR DELETE "
                                        "ON %1 FOR EACH STATEMENT EXECUTE FUNCTION 变更计数_加('%2')")
                             .arg(QString::fromUtf8(table), key)))
                return false;
        }
    }
    return true;
}

ChangeWatch::ChangeWatch(const Database& db, int intervalMs, QObject* parent)
    : QObject(parent) {
    if (!db.isServer())
        return;
    auto* reader = new CounterReader(*db.server(), intervalMs);
    reader->moveToThread(&m_thread);
    connect(&m_thread, &QThread::started, reader, &CounterReader::start);
    connect(&m_thread, &QThread::finished, reader, &QObject::deleteLater);
    connect(reader, &CounterReader::changed, this, &ChangeWatch::changed, Qt::QueuedConnection);
    m_thread.setObjectName(QStringLiteral("变更计数"));
    m_thread.start();
}

ChangeWatch::~ChangeWatch() {
    m_thread.quit();
    m_thread.wait();
}

} // namespace qm

#include "changewatch.moc"
