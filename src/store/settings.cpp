#include "store/settings.h"

#include "core/gbk.h"
#include "store/database.h"
#include "store/schema.h"

#include <QFile>
#include <QSaveFile>

namespace qm {

QString RecordStore::read(const QString& key, const QString& fallback) const {
    QSqlQuery query =
        m_db.prepare(QStringLiteral("SELECT 记录信息 FROM 记录 WHERE 记录内容 = ? ORDER BY %1 LIMIT 1")
                         .arg(rowOrder(m_db)),
                     {key});
    if (!query.exec() || !query.next())
        return fallback;
    const QString value = query.value(0).toString();
    return value.isEmpty() ? fallback : value;
}

bool RecordStore::exists(const QString& key) const {
    QSqlQuery query = m_db.prepare(QStringLiteral("SELECT 1 FROM 记录 WHERE 记录内容 = ? LIMIT 1"), {key});
    return query.exec() && query.next();
}

bool RecordStore::update(const QString& key, const QString& value) const {
    return m_db.exec(QStringLiteral("UPDATE 记录 SET 记录信息 = ? WHERE 记录内容 = ?"), {value, key});
}

QString RecordStore::lastError() const {
    return m_db.lastError();
}

bool RecordStore::insert(const QString& key, const QString& value) const {
    return m_db.exec(QStringLiteral("INSERT INTO 记录 (记录内容, 记录信息) VALUES (?, ?)"), {key, value});
}

bool RecordStore::write(const QString& key, const QString& value) const {
    return exists(key) ? update(key, value) : insert(key, value);
}

QString ConfigFile::read(const QString& key, const QString& fallback, bool create) const {
    QString text;
    QFile file(m_path);
    if (file.open(QIODevice::ReadOnly))
        text = fromGbk(file.readAll());
    file.close();

    QString realKey = key;
    realKey.replace(QStringLiteral("#引号"), QStringLiteral("\""));
    const QString marker = realKey + QStringLiteral(" = {");
    const qsizetype at = text.indexOf(marker, 0, Qt::CaseInsensitive);
    if (at >= 0) {
        const qsizetype begin = at + marker.size();
        const qsizetype end = text.indexOf(QLatin1Char('}'), begin);
        if (end >= 0 && end > begin)
            return text.mid(begin, end - begin);
        return fallback;
    }
    if (create) {
        text += marker + fallback + QStringLiteral("}\r\n");
        QSaveFile out(m_path);
        if (out.open(QIODevice::WriteOnly)) {
            out.write(toGbk(text));
            out.commit();
        }
    }
    return fallback;
}

} // namespace qm
