#include "core/home.h"

#include <QDir>
#include <QStandardPaths>

namespace qm {

Home::Home(const QString& root)
    : m_root(QDir::cleanPath(QDir(root).absolutePath())) {}

QString Home::chooseRoot(const QString& commandLineHome) {
    if (!commandLineHome.isEmpty())
        return commandLineHome;
    const QString fromEnvironment = qEnvironmentVariable("QUILLMENU_HOME");
    if (!fromEnvironment.isEmpty())
        return fromEnvironment;
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
}

QString Home::dataDir() const {
    return QDir(m_root).filePath(QStringLiteral("data"));
}
QString Home::databasePath() const {
    return QDir(dataDir()).filePath(QStringLiteral("data.db"));
}
QString Home::configPath() const {
    return filePath(QStringLiteral("配置文件.ini"));
}
QString Home::tillPath() const {
    return filePath(QStringLiteral("收银机.ini"));
}
QString Home::topPicturePath() const {
    return QDir(dataDir()).filePath(QStringLiteral("stp.png"));
}
QString Home::bottomPicturePath() const {
    return QDir(dataDir()).filePath(QStringLiteral("xtp.png"));
}
QString Home::filePath(const QString& name) const {
    return QDir(m_root).filePath(name);
}

} // namespace qm
