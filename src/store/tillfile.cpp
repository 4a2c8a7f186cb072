#include "store/tillfile.h"

#include <QSettings>
#include <QSysInfo>
#include <QUrl>
#include <QUrlQuery>

namespace qm {

namespace {

const QString hostKey = QStringLiteral("database/host");
const QString portKey = QStringLiteral("database/port");
const QString nameKey = QStringLiteral("database/name");
const QString userKey = QStringLiteral("database/user");
const QString sslKey = QStringLiteral("database/sslmode");
const QString tillNameKey = QStringLiteral("till/name");

QString ownKey(const QString& key) {
    return QStringLiteral("own/") + key;
}

bool written(QSettings& settings) {
    settings.sync();
    return settings.status() == QSettings::NoError;
}

} // namespace

QString ServerSetting::url() const {
    QUrl url;
    url.setScheme(QStringLiteral("postgresql"));
    url.setUserName(user);
    url.setHost(host);
    url.setPort(port);
    url.setPath(QLatin1Char('/') + database);
    if (!sslmode.isEmpty())
        url.setQuery(QStringLiteral("sslmode=") + sslmode);
    return url.toString();
}

QString ServerSetting::describe() const {
    return QStringLiteral("%1@%2:%3/%4").arg(user, host).arg(port).arg(database);
}

std::optional<ServerSetting> parseServerUrl(const QString& text, QString* error) {
    auto fail = [&](const QString& reason) {
        if (error)
            *error = reason;
        return std::optional<ServerSetting>();
    };
    const QUrl url(text.trimmed(), QUrl::StrictMode);
    if (!url.isValid() ||
        (url.scheme() != QStringLiteral("postgresql") && url.scheme() != QStringLiteral("postgres")))
        return fail(QStringLiteral("数据库地址应为 postgresql://用户@主机:端口/数据库：%1").arg(text));
    if (!url.password().isEmpty())
        return fail(QStringLiteral("数据库地址中不能含密码，密码请写在 ~/.pgpass 中"));
    ServerSetting setting;
    setting.host = url.host();
    setting.port = url.port(5432);
    setting.database = url.path().mid(1);
    setting.user = url.userName();
    setting.sslmode = QUrlQuery(url).queryItemValue(QStringLiteral("sslmode"));
    if (setting.host.isEmpty() || setting.database.isEmpty() || setting.user.isEmpty() ||
        setting.database.contains(QLatin1Char('/')))
        return fail(QStringLiteral("数据库地址缺少用户、主机或数据库名：%1").arg(text));
    return setting;
}

std::optional<ServerSetting> TillFile::server() const {
    const QSettings settings(m_path, QSettings::IniFormat);
    const QString host = settings.value(hostKey).toString();
    if (host.isEmpty())
        return std::nullopt;
    ServerSetting setting;
    setting.host = host;
    setting.port = settings.value(portKey, 5432).toInt();
    setting.database = settings.value(nameKey).toString();
    setting.user = settings.value(userKey).toString();
    setting.sslmode = settings.value(sslKey).toString();
    return setting;
}

bool TillFile::setServer(const ServerSetting& setting) const {
    QSettings settings(m_path, QSettings::IniFormat);
    settings.setValue(hostKey, setting.host);
    settings.setValue(portKey, setting.port);
    settings.setValue(nameKey, setting.database);
    settings.setValue(userKey, setting.user);
    settings.setValue(sslKey, setting.sslmode);
    return written(settings);
}

QString TillFile::tillName() const {
    const QString name = QSettings(m_path, QSettings::IniFormat).value(tillNameKey).toString().trimmed();
    return name.isEmpty() ? QSysInfo::machineHostName() : name;
}

bool TillFile::setTillName(const QString& name) const {
    QSettings settings(m_path, QSettings::IniFormat);
    settings.setValue(tillNameKey, name.trimmed());
    return written(settings);
}

QString TillFile::value(const QString& key, const QString& fallback) const {
    return QSettings(m_path, QSettings::IniFormat).value(ownKey(key), fallback).toString();
}

bool TillFile::contains(const QString& key) const {
    return QSettings(m_path, QSettings::IniFormat).contains(ownKey(key));
}

bool TillFile::setValue(const QString& key, const QString& value) const {
    QSettings settings(m_path, QSettings::IniFormat);
    settings.setValue(ownKey(key), value);
    return written(settings);
}

} // namespace qm
