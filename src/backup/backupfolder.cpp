#include "backup/backupfolder.h"

#include "core/home.h"
#include "store/databasecopy.h"
#include "store/tillfile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSet>

#include <algorithm>

namespace qm {

namespace {

const QString namePattern = QStringLiteral("^data-(\\d{4}-\\d{2}-\\d{2}-\\d{6})\\.(db|dump)$");
const QString timeFormat = QStringLiteral("yyyy-MM-dd-HHmmss");

} // namespace

QString backupFolder(const Home& home) {
    return home.filePath(QStringLiteral("backup"));
}

QString backupFileName(const QDateTime& time, bool serverDump) {
    return QStringLiteral("data-%1.%2")
        .arg(time.toString(timeFormat), serverDump ? QStringLiteral("dump") : QStringLiteral("db"));
}

CopySource homeCopySource(const Home& home) {
    if (const std::optional<ServerSetting> server = TillFile(home.tillPath()).server())
        return CopySource(*server);
    return CopySource(home.databasePath());
}

bool isServerDumpFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) && file.read(5) == QByteArrayLiteral("PGDMP");
}

std::optional<QDateTime> backupTime(const QString& fileName) {
    static const QRegularExpression pattern(namePattern);
    const QRegularExpressionMatch match = pattern.match(fileName);
    if (!match.hasMatch())
        return std::nullopt;
    const QDateTime time = QDateTime::fromString(match.captured(1), timeFormat);
    if (!time.isValid())
        return std::nullopt;
    return time;
}

QList<BackupCopy> listBackups(const QString& folder) {
    QList<BackupCopy> copies;
    const QFileInfoList files = QDir(folder).entryInfoList(QDir::Files, QDir::Name);
    for (const QFileInfo& file : files) {
        if (const auto time = backupTime(file.fileName()))
            copies.append(
                {file.absoluteFilePath(), *time, file.size(), file.suffix() == QStringLiteral("dump")});
    }
    std::sort(copies.begin(), copies.end(),
              [](const BackupCopy& a, const BackupCopy& b) { return a.time > b.time; });
    return copies;
}

bool hasCopyOn(const QList<BackupCopy>& copies, QDate day, bool serverDump) {
    return std::any_of(copies.begin(), copies.end(), [&](const BackupCopy& copy) {
        return copy.time.date() == day && copy.serverDump == serverDump;
    });
}

QStringList copiesToRemove(const QList<BackupCopy>& copies) {
    QList<BackupCopy> sorted = copies;
    std::sort(sorted.begin(), sorted.end(),
              [](const BackupCopy& a, const BackupCopy& b) { return a.time > b.time; });
    QSet<QDate> keptDays;
    QSet<int> keptMonths;
    QSet<QString> kept;
    // Newest first: the first days and months met are the latest ones.
    for (const BackupCopy& copy : sorted) {
        const QDate day = copy.time.date();
        if (keptDays.contains(day) || keptDays.size() < keptDailyCopies) {
            keptDays.insert(day);
            kept.insert(copy.path);
        }
        const int month = day.year() * 12 + day.month();
        if (keptMonths.size() < keptMonthlyCopies)
            keptMonths.insert(month);
    }
    // Oldest first: the first copy met in a kept month is that month's copy.
    QSet<int> monthsTaken;
    for (auto it = sorted.crbegin(); it != sorted.crend(); ++it) {
        const int month = it->time.date().year() * 12 + it->time.date().month();
        if (keptMonths.contains(month) && !monthsTaken.contains(month)) {
            monthsTaken.insert(month);
            kept.insert(it->path);
        }
    }
    QStringList removed;
    for (const BackupCopy& copy : sorted) {
        if (!kept.contains(copy.path))
            removed << copy.path;
    }
    return removed;
}

BackupResult backupIntoFolder(const Home& home, const CopySource& source, const QDateTime& now) {
    BackupResult result;
    const QString folder = backupFolder(home);
    if (!QDir().mkpath(folder)) {
        result.error = QStringLiteral("无法创建文件夹：%1").arg(folder);
        return result;
    }
    // A copy cut short (a power cut while writing) leaves its temporary files; they are of no use.
    const QFileInfoList parts = QDir(folder).entryInfoList({QStringLiteral("data-*.db.part"),
                                                            QStringLiteral("data-*.db.part-journal"),
                                                            QStringLiteral("data-*.dump.part")},
                                                           QDir::Files | QDir::Hidden);
    for (const QFileInfo& part : parts) {
        if (part.lastModified().secsTo(QDateTime::currentDateTime()) > 3600)
            QFile::remove(part.absoluteFilePath());
    }
    // A copy is never replaced by another: a second copy within the same second takes the next one.
    QDateTime time = now;
    const bool dump = source.isServer();
    while (QFile::exists(QDir(folder).filePath(backupFileName(time, dump))))
        time = time.addSecs(1);
    const QString target = QDir(folder).filePath(backupFileName(time, dump));
    result.error = writeBackup(source, target);
    if (!result)
        return result;
    result.path = target;
    for (const QString& old : copiesToRemove(listBackups(folder)))
        QFile::remove(old);
    return result;
}

} // namespace qm
