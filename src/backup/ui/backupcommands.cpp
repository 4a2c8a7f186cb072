#include "backup/ui/backupcommands.h"

#include "app/ui/mainwindow.h"
#include "backup/restore.h"
#include "backup/ui/restorewindow.h"
#include "core/home.h"
#include "core/platform.h"
#include "order/orderform.h"
#include "staff/staffsession.h"
#include "store/database.h"
#include "store/databasecopy.h"
#include "store/settings.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QStatusBar>
#include <QThread>
#include <QTimer>

#include <cstdio>

namespace qm {

namespace {

// Runs `work` on a thread of its own while a progress window keeps the interface alive; false when the
// user cancelled (the work has ended all the same when this returns).
bool runWithProgress(Platform& platform, const QString& title, const QString& label,
                     const std::function<void()>& work) {
    const std::unique_ptr<Progress> progress = platform.startProgress(title, label, 0);
    std::unique_ptr<QThread> thread(QThread::create(work));
    thread->start();
    bool cancelled = false;
    while (!thread->wait(50)) {
        if (!progress->advance(0))
            cancelled = true;
    }
    return !cancelled;
}

} // namespace

BackupCommands::BackupCommands(MainWindow& window, Database& db, Platform& platform, const Home& home)
    : QObject(&window)
    , m_window(window)
    , m_db(db)
    , m_platform(platform)
    , m_home(home)
    , m_status(new QLabel(window.statusBar())) {
    m_status->setObjectName(QStringLiteral("状态条1_备份"));
    m_status->setStyleSheet(QStringLiteral("color: #c00000;"));
    m_status->hide();
    window.statusBar()->addWidget(m_status, 2);

    auto wire = [this](MainWindow::Entry entry, void (BackupCommands::*command)()) {
        QAction* action = m_window.entry(entry);
        action->setEnabled(true);
        connect(action, &QAction::triggered, this, command);
    };
    wire(MainWindow::Entry::BackupData, &BackupCommands::backUpToFolder);
    wire(MainWindow::Entry::RestoreData, &BackupCommands::restore);
}

BackupCommands::~BackupCommands() {
    if (m_check)
        m_check->wait();
}

void BackupCommands::startCheck() {
    if (m_check)
        return;
    const Home home = m_home;
    const CopySource source = copySourceOf(m_db);
    const QDateTime now = m_platform.now();
    QThread* thread =
        QThread::create([this, home, source, now] { m_report = checkAndBackUp(home, source, now); });
    m_check = thread;
    connect(thread, &QThread::finished, this, [this, thread] { finishCheck(thread); });
    thread->start(QThread::LowPriority);
}

void BackupCommands::finishCheck(QThread* thread) {
    if (m_check != thread)
        return;
    // A damaged file replaces the database: not under a window that is working on it.
    if (QApplication::activeModalWidget()) {
        QTimer::singleShot(500, this, [this, thread] { finishCheck(thread); });
        return;
    }
    waitForCheck();
}

bool BackupCommands::waitForCheck(int timeoutMs) {
    if (!m_check)
        return true;
    if (!m_check->wait(timeoutMs < 0 ? QDeadlineTimer(QDeadlineTimer::Forever) : QDeadlineTimer(timeoutMs)))
        return false;
    m_check->deleteLater();
    m_check = nullptr;
    showReport(m_report);
    emit checkFinished();
    return true;
}

void BackupCommands::showReport(const SafetyReport& report) {
    if (!report.damage.isEmpty()) {
        offerRestoreOfDamaged(report.damage);
        return;
    }
    // Told once, where the cashier looks anyway, without stopping the work.
    auto tell = [this](const QString& prefix, const QString& reason) {
        std::fprintf(stderr, "%s%s\n", qPrintable(prefix), qPrintable(reason));
        m_status->setText(prefix + reason.section(QLatin1Char('\n'), 0, 0));
        m_status->setToolTip(reason);
        m_status->show();
    };
    if (report.backupRan && !report.backup)
        tell(backupFailedPrefix, report.backup.error);
    else if (!report.checkProblem.isEmpty())
        tell(QStringLiteral("无法检查数据库文件："), report.checkProblem);
    else if (report.backupRan) {
        m_status->clear();
        m_status->hide();
    }
}

QString BackupCommands::statusText() const {
    return m_status->isVisibleTo(&m_window) ? m_status->text() : QString();
}

bool BackupCommands::backUpAtClose() {
    waitForCheck();
    const SafetyReport report = backUpOncePerDay(m_home, copySourceOf(m_db), m_platform.now());
    if (report.backupRan && !report.backup) {
        std::fprintf(stderr, "backup: %s\n", qPrintable(report.backup.error));
        return false;
    }
    return true;
}

void BackupCommands::backUpToFolder() {
    if (!authorise())
        return;
    const QString folder = m_platform.chooseFolder(QStringLiteral("备份数据"));
    if (folder.isEmpty())
        return;
    waitForCheck();
    const QString target = QDir(folder).filePath(backupFileName(m_platform.now(), m_db.isServer()));
    const CopySource source = copySourceOf(m_db);
    QString error;
    const bool finished =
        runWithProgress(m_platform, QStringLiteral("备份数据"), QStringLiteral("正在备份数据…"),
                        [&] { error = writeBackup(source, target); });
    if (!finished) {
        QFile::remove(target);
        m_platform.showMessage(QStringLiteral("备份已取消。"), MessageIcon::Information);
    } else if (!error.isEmpty()) {
        m_platform.showMessage(QStringLiteral("备份失败：") + error, MessageIcon::Warning);
    } else {
        m_platform.showMessage(QStringLiteral("数据已备份到：\n") + QDir::toNativeSeparators(target),
                               MessageIcon::None);
    }
}

std::optional<Authorisation> BackupCommands::authorise() {
    return m_staff ? m_staff->authorise(Action::BackupRestore) : Authorisation{};
}

void BackupCommands::restore() {
    const std::optional<Authorisation> who = authorise();
    if (!who)
        return;
    waitForCheck();
    if (const std::optional<ServerSetting> server = m_db.server()) {
        m_platform.showMessage(serverRestoreInstructions(m_home, *server), MessageIcon::Information);
        return;
    }
    RestoreWindow window(m_home, m_platform, &m_window);
    m_runModal(window);
    if (!window.chosenPath().isEmpty())
        restoreAs(window.chosenPath(), *who);
}

bool BackupCommands::restoreFile(const QString& path) {
    const std::optional<Authorisation> who = authorise();
    if (!who)
        return false;
    if (const std::optional<ServerSetting> server = m_db.server()) {
        m_platform.showMessage(serverRestoreInstructions(m_home, *server, path), MessageIcon::Information);
        return false;
    }
    return restoreAs(path, *who);
}

bool BackupCommands::restoreAs(const QString& path, const Authorisation& who) {
    const QString question = QStringLiteral("恢复后，当前数据将被所选备份替换，正在输入的订单将被清空；"
                                            "当前数据会先备份到 backup 文件夹。\n\n是否恢复 %1 ？")
                                 .arg(QDir::toNativeSeparators(path));
    if (!m_platform.askYesNo(question, MessageIcon::Question))
        return false;
    // The checks and copies take a while on a large database; the window stays alive meanwhile.
    PreparedRestore prepared;
    const QString live = m_db.path();
    const QDateTime now = m_platform.now();
    const bool finished =
        runWithProgress(m_platform, QStringLiteral("恢复数据"), QStringLiteral("正在检查并复制备份…"),
                        [&] { prepared = prepareRestore(live, m_home, path, now, CurrentDatabase::BackUp); });
    if (!finished) {
        QFile::remove(prepared.incoming);
        m_platform.showMessage(QStringLiteral("恢复已取消，当前数据未改变。"), MessageIcon::Information);
        return false;
    }
    if (!prepared) {
        m_platform.showMessage(prepared.error, MessageIcon::Warning);
        return false;
    }
    const RestoreResult result = completeRestore(m_db, m_home, prepared, CurrentDatabase::BackUp);
    if (!result) {
        m_platform.showMessage(result.error, MessageIcon::Warning);
        return false;
    }
    reloadWindow(result.quantityDecimals);
    afterRestore(who.person, who.authoriser,
                 QStringLiteral("恢复自：%1\n恢复前的数据：%2")
                     .arg(QDir::toNativeSeparators(path), QDir::toNativeSeparators(result.previousCopy)));
    m_platform.showMessage(QStringLiteral("数据已恢复。恢复前的数据已备份为：\n") +
                               QDir::toNativeSeparators(result.previousCopy),
                           MessageIcon::None);
    return true;
}

void BackupCommands::offerRestoreOfDamaged(const QString& damage) {
    // One short account on the screen (what the offered copy holds against what the damaged file still
    // shows); SQLite's report stays behind the details button.
    const QDateTime now = m_platform.now();
    const std::optional<BackupCopy> good = newestGoodBackup(m_home);
    QString text = damagedDatabaseText(m_home.databasePath(), good ? &*good : nullptr);
    const QString kept = keepDamagedFile(m_home, now, true);
    if (kept.isEmpty()) {
        m_platform.showMessageWithDetails(
            text + QStringLiteral("\n\n无法另存损坏的文件，请先关闭程序并复制数据文件夹。"), damage,
            MessageIcon::Stop);
        return;
    }
    text += QStringLiteral("\n\n损坏的文件已另存为：") + QDir::toNativeSeparators(kept);
    if (!good) {
        m_platform.showMessageWithDetails(text + QStringLiteral("\n\n没有可用的备份。"), damage,
                                          MessageIcon::Stop);
        return;
    }
    const QString time = good->time.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    if (!m_platform.askYesNoWithDetails(text + QStringLiteral("\n\n是否恢复最新的备份（%1）？").arg(time),
                                        damage, MessageIcon::Warning))
        return;
    const RestoreResult result = restoreDatabase(m_db, m_home, good->path, now, CurrentDatabase::Discard);
    if (!result) {
        m_platform.showMessage(result.error, MessageIcon::Warning);
        return;
    }
    reloadWindow(result.quantityDecimals);
    const QString person = m_staff && m_staff->current() ? m_staff->current()->name : QString();
    afterRestore(person, {},
                 QStringLiteral("数据库文件损坏，恢复自：%1\n损坏的文件：%2")
                     .arg(QDir::toNativeSeparators(good->path), QDir::toNativeSeparators(kept)));
    m_platform.showMessage(QStringLiteral("数据已恢复到 %1 的备份。").arg(time), MessageIcon::None);
}

void BackupCommands::afterRestore(const QString& person, const QString& authoriser, const QString& what) {
    if (m_staff) {
        m_staff->reload();
        if (!m_staff->record({person, authoriser}, QStringLiteral("恢复数据"), what))
            m_platform.showMessage(QStringLiteral("恢复数据未能记入操作记录：") + m_db.lastError(),
                                   MessageIcon::Warning);
    }
    emit databaseReplaced();
}

void BackupCommands::reloadWindow(int quantityDecimals) {
    OrderForm& form = m_window.orderForm();
    form.setQuantityDecimals(quantityDecimals);
    form.reloadStoredData();
    form.resetForm();
    form.requestPreviewRefresh();
}

} // namespace qm
