#include "core/startfolders.h"

#include <QDir>
#include <QFile>
#include <QStringList>

namespace qm {

namespace {

// A mount point as /proc/self/mounts writes it: a space, tab, line feed or backslash in octal.
QString unescapeMountPath(const QString& field) {
    QString path;
    for (qsizetype i = 0; i < field.size(); ++i) {
        if (field[i] == QLatin1Char('\\') && i + 3 < field.size()) {
            bool ok = false;
            const int code = field.mid(i + 1, 3).toInt(&ok, 8);
            if (ok) {
                path += QChar(code);
                i += 3;
                continue;
            }
        }
        path += field[i];
    }
    return path;
}

} // namespace

QString removableMediumIn(const QString& mounts, const QString& user) {
    const QString media = QStringLiteral("/media/");
    for (const QString& line : mounts.split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
        const QStringList fields = line.split(QLatin1Char(' '));
        if (fields.size() < 2)
            continue;
        const QString path = unescapeMountPath(fields[1]);
        if (!path.startsWith(media))
            continue;
        const QStringList parts = path.mid(media.size()).split(QLatin1Char('/'), Qt::SkipEmptyParts);
        const bool underUser = parts.size() == 2 && !user.isEmpty() && parts[0] == user;
        const bool direct = parts.size() == 1 && parts[0] != user;
        if (underUser || direct)
            return path;
    }
    return {};
}

QString backupStartFolder() {
    QFile mounts(QStringLiteral("/proc/self/mounts"));
    if (mounts.open(QIODevice::ReadOnly)) {
        const QString medium =
            removableMediumIn(QString::fromUtf8(mounts.readAll()), qEnvironmentVariable("USER"));
        if (!medium.isEmpty() && QDir(medium).exists())
            return medium;
    }
    return userStartFolder();
}

QString userStartFolder() {
    return QDir::homePath();
}

} // namespace qm
