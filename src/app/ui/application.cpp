#include "app/ui/application.h"

#include "app/programdatabase.h"
#include "app/singleinstance.h"
#include "app/startupchecks.h"
#include "app/ui/afterfirstpaint.h"
#include "app/ui/closeonsignal.h"
#include "app/ui/desktopintegration.h"
#include "app/ui/maincommands.h"
#include "app/ui/mainwindow.h"
#include "app/version.h"
#include "backup/backupfolder.h"
#include "backup/restore.h"
#include "backup/ui/backupcommands.h"
#include "core/home.h"
#include "core/ui/qtplatform.h"
#include "store/databasecopy.h"
#include "store/servercopy.h"
#include "store/tillfile.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QFile>
#include <QFont>
#include <QLabel>
#include <QThread>

#include <cstdio>
#include <memory>

namespace qm {

namespace {

// The receipt face "宋体" resolves to a Song/Ming font, the list face "微软雅黑" to a sans-serif one.
void registerFontSubstitutes() {
    QFont::insertSubstitutions(QStringLiteral("宋体"),
                               {QStringLiteral("AR PL UMing CN"), QStringLiteral("AR PL UMing TW"),
                                QStringLiteral("Noto Serif CJK SC")});
    QFont::insertSubstitutions(QStringLiteral("微软雅黑"),
                               {QStringLiteral("WenQuanYi Micro Hei"), QStringLiteral("Noto Sans CJK SC")});
}

// --backup FILE: a consistent, checked copy of the home's database (a pg_dump file of the server's
// database when the till uses one), for a shop's own backup job. Works while the program runs.
int backUpFromCommandLine(const QString& homeRoot, const QString& target, int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const Home home(Home::chooseRoot(homeRoot));
    const CopySource source = homeCopySource(home);
    if (!source.isServer() && !QFile::exists(home.databasePath())) {
        std::fprintf(stderr, "备份失败：没有数据库文件 %s\n", qPrintable(home.databasePath()));
        return 1;
    }
    const QString error = writeBackup(source, target);
    if (!error.isEmpty()) {
        std::fprintf(stderr, "备份失败：%s\n", qPrintable(error));
        return 1;
    }
    std::printf("%s\n", qPrintable(target));
    return 0;
}

// --copy-to URL: the home's SQLite data moved into the shop's new, empty server database.
int copyToServerFromCommandLine(const QString& homeRoot, const QString& url, int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QString error;
    const std::optional<ServerSetting> server = parseServerUrl(url, &error);
    if (!server) {
        std::fprintf(stderr, "%s\n", qPrintable(error));
        return 2;
    }
    const Home home(Home::chooseRoot(homeRoot));
    if (!QFile::exists(home.databasePath())) {
        std::fprintf(stderr, "复制失败：没有数据库文件 %s\n", qPrintable(home.databasePath()));
        return 1;
    }
    std::unique_ptr<Database> target = Database::connectServer(*server, &error);
    if (!target) {
        std::fprintf(stderr, "复制失败：%s\n", qPrintable(error));
        return 1;
    }
    std::printf("正在把 %s 复制到 %s……\n", qPrintable(home.databasePath()), qPrintable(target->describe()));
    std::fflush(stdout);
    const ServerCopyResult result = ServerCopy(home.databasePath(), *target).run();
    if (!result) {
        std::fprintf(stderr, "%s%s\n",
                     result.status == ServerCopyResult::Status::Refused ? "未复制：" : "复制失败：",
                     qPrintable(result.error));
        return 1;
    }
    std::printf("%s\n", qPrintable(ServerCopy::report(result, home.databasePath(), target->describe())));
    std::printf(
        "%s\n",
        qPrintable(QStringLiteral("要让本收银机从此使用该数据库，请运行：quillmenu --home %1 --database %2")
                       .arg(home.root(), server->url())));
    return 0;
}

} // namespace

int runApplication(int argc, char** argv) {
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);

    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Quillmenu：小餐馆的点单、小票和销售统计。\n"
                       "Quillmenu: orders, receipts and sales for a small kitchen."));
    const QCommandLineOption helpOption(QStringList{QStringLiteral("h"), QStringLiteral("help")},
                                        QStringLiteral("显示本帮助。\nShows this help."));
    parser.addOption(helpOption);
    const QCommandLineOption versionOption(QStringList{QStringLiteral("v"), QStringLiteral("version")},
                                           QStringLiteral("显示版本。\nPrints the version."));
    parser.addOption(versionOption);
    const QCommandLineOption homeOption(
        QStringLiteral("home"),
        QStringLiteral(
            "程序文件夹（数据库、设置、图片）。\nThe program home (database, settings, pictures)."),
        QStringLiteral("DIR"));
    parser.addOption(homeOption);
    const QCommandLineOption backupOption(
        QStringLiteral("backup"),
        QStringLiteral("把数据库的一份检查过的副本写到 FILE，然后退出。\n"
                       "Writes a checked copy of the database to FILE and exits."),
        QStringLiteral("FILE"));
    parser.addOption(backupOption);
    const QCommandLineOption databaseOption(
        QStringLiteral("database"),
        QStringLiteral(
            "从此使用店里 PostgreSQL 服务器上 URL（postgresql://用户@主机:端口/数据库）处的数据库；密码写在 "
            "~/.pgpass 中。\n"
            "Uses the shop's PostgreSQL database at URL (postgresql://user@host:port/db) from now on; "
            "the password comes from ~/.pgpass."),
        QStringLiteral("URL"));
    parser.addOption(databaseOption);
    const QCommandLineOption copyToOption(
        QStringLiteral("copy-to"),
        QStringLiteral(
            "把本程序文件夹中数据库文件的全部数据复制到 URL 处的空 PostgreSQL 数据库，然后退出；"
            "数据库文件不变。\n"
            "Copies all data of the home's database file into the empty PostgreSQL database at URL "
            "and exits; the file stays as it is."),
        QStringLiteral("URL"));
    parser.addOption(copyToOption);
    const QCommandLineOption noSetupOption(
        QStringLiteral("no-setup"),
        QStringLiteral("新建的程序文件夹也不打开开店向导。\n"
                       "Does not offer the set-up on the first start of a new home."));
    parser.addOption(noSetupOption);
    // Version and help need no screen, so they are answered before the application object exists.
    if (!parser.parse(arguments)) {
        std::fprintf(stderr, "%s\n", qPrintable(parser.errorText()));
        return 2;
    }
    if (parser.isSet(versionOption)) {
        std::printf("%s\n", qPrintable(productTitle()));
        return 0;
    }
    if (parser.isSet(helpOption)) {
        std::printf("%s", qPrintable(parser.helpText().replace(QStringLiteral("<executable_name>"),
                                                               QStringLiteral("quillmenu"))));
        return 0;
    }

    if (parser.isSet(copyToOption))
        return copyToServerFromCommandLine(parser.value(homeOption), parser.value(copyToOption), argc, argv);
    if (parser.isSet(databaseOption)) {
        QString error;
        const std::optional<ServerSetting> server = parseServerUrl(parser.value(databaseOption), &error);
        const Home home(Home::chooseRoot(parser.value(homeOption)));
        if (!server || !QDir().mkpath(home.root()) || !TillFile(home.tillPath()).setServer(*server)) {
            std::fprintf(stderr, "%s\n",
                         qPrintable(server ? QStringLiteral("无法写入 %1").arg(home.tillPath()) : error));
            return 2;
        }
    }
    if (parser.isSet(backupOption))
        return backUpFromCommandLine(parser.value(homeOption), parser.value(backupOption), argc, argv);

    QApplication app(argc, argv);
    QApplication::setApplicationName(productName);
    QApplication::setApplicationVersion(versionText);
    setUpDesktopIntegration(app);

    registerFontSubstitutes();
    QtPlatform platform;
    const Home home(Home::chooseRoot(parser.value(homeOption)));

    // A second copy on the same home stops here, before the database is touched; the lock stays held
    // until this function returns.
    SingleInstance instance(home);
    const StartupChecks checks = runStartupChecks(instance, platform);
    if (!checks.proceed)
        return 1;

    // A step of the opening that takes seconds (once, after an upgrade) shows a word on the screen until
    // the database is open, rather than nothing at all.
    std::unique_ptr<QLabel> pleaseWait;
    const LongStepNotice notice = [&pleaseWait](const QString& text) {
        pleaseWait = std::make_unique<QLabel>(text);
        pleaseWait->setWindowTitle(QStringLiteral("请稍候"));
        pleaseWait->setMargin(24);
        pleaseWait->show();
        // Long enough for the window to be mapped and painted before the step holds up this thread.
        for (int i = 0; i < 10; ++i) {
            QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
            QThread::msleep(5);
        }
    };
    OpenedDatabase opened = openProgramDatabase(home, notice);
    pleaseWait.reset();
    const bool onServer = TillFile(home.tillPath()).server().has_value();
    if (!opened.db && !onServer && QFile::exists(home.databasePath())) {
        bool damaged = false;
        const QString damage = checkDatabaseFile(home.databasePath(), true, &damaged);
        if (damaged && offerRestoreAtStart(home, platform, damage))
            opened = openProgramDatabase(home);
        else if (damaged)
            return 1;
    }
    if (!opened.db) {
        platform.showMessage(databaseOpenFailedMessage + QLatin1Char('\n') + opened.error, MessageIcon::Stop);
        std::fprintf(stderr, "%s\n", qPrintable(opened.error));
        return 1;
    }

    MainWindow window(*opened.db, platform, home, opened.quantityDecimals);
    MainCommands commands(window, *opened.db, platform, home);
    BackupCommands backups(window, *opened.db, platform, home);
    backups.setStaff(&commands.staff());
    QObject::connect(&backups, &BackupCommands::databaseReplaced, &commands, &MainCommands::databaseReplaced);
    window.show();
    // The icon's pictures wait until the window is on screen.
    AfterFirstPaint afterFirstPaint(window);
    afterFirstPaint.run(setProgramIcon);
    if (!commands.signInAtStart())
        return 0;
    closeWindowsOnTermination();
    commands.offerShopSetupAtStart(parser.isSet(noSetupOption));
    // The check of the file and the copy of the day run behind the window, which is usable at once. They
    // read the whole database, which on a big one would hold up the window's first frame: they start
    // after it.
    afterFirstPaint.run([&backups] { backups.startCheck(); });
    const int status = app.exec();
    backups.backUpAtClose();
    return status;
}

} // namespace qm
