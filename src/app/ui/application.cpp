#include "app/ui/application.h"

#include "app/programdatabase.h"
#include "app/singleinstance.h"
#include "app/startupchecks.h"
#include "app/ui/maincommands.h"
#include "app/ui/mainwindow.h"
#include "app/version.h"
#include "core/home.h"
#include "core/ui/qtplatform.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QFont>

#include <cstdio>

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

} // namespace

int runApplication(int argc, char** argv) {
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);

    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Quillmenu: orders, receipts and sales for a small kitchen."));
    const QCommandLineOption helpOption(QStringList{QStringLiteral("h"), QStringLiteral("help")},
                                        QStringLiteral("Shows this help."));
    parser.addOption(helpOption);
    const QCommandLineOption versionOption(QStringList{QStringLiteral("v"), QStringLiteral("version")},
                                           QStringLiteral("Prints the version."));
    parser.addOption(versionOption);
    const QCommandLineOption homeOption(QStringLiteral("home"),
                                        QStringLiteral("The program home (database, settings, pictures)."),
                                        QStringLiteral("DIR"));
    parser.addOption(homeOption);
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

    QApplication app(argc, argv);
    QApplication::setApplicationName(productName);
    QApplication::setApplicationVersion(versionText);

    registerFontSubstitutes();
    QtPlatform platform;
    const Home home(Home::chooseRoot(parser.value(homeOption)));

    // A second copy on the same home stops here, before the database is touched; the lock stays held
    // until this function returns.
    SingleInstance instance(home);
    const StartupChecks checks = runStartupChecks(instance, platform);
    if (!checks.proceed)
        return 1;

    OpenedDatabase opened = openProgramDatabase(home);
    if (!opened.db) {
        platform.showMessage(databaseOpenFailedMessage + QLatin1Char('\n') + opened.error, MessageIcon::Stop);
        std::fprintf(stderr, "%s\n", qPrintable(opened.error));
        return 1;
    }

    MainWindow window(*opened.db, platform, home, opened.quantityDecimals);
    MainCommands commands(window, *opened.db, platform, home);
    window.show();
    return app.exec();
}

} // namespace qm
