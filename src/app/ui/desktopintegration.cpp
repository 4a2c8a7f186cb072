#include "app/ui/desktopintegration.h"

#include <QGuiApplication>
#include <QIcon>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include <cstdio>

namespace qm {

bool installQtTranslations(QCoreApplication& app) {
    // The "qt" catalogue pulls in the catalogues of the Qt modules (qtbase holds the dialogs).
    auto* translator = new QTranslator(&app);
    if (!translator->load(QStringLiteral("qt_zh_CN"), QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete translator;
        return false;
    }
    return QCoreApplication::installTranslator(translator);
}

QIcon programIcon() {
    QIcon icon;
    for (const int size : {48, 128, 256})
        icon.addFile(QStringLiteral(":/icons/quillmenu-%1.png").arg(size), QSize(size, size));
    return icon;
}

void setUpDesktopIntegration(QCoreApplication& app) {
    if (!installQtTranslations(app))
        std::fprintf(stderr, "Qt's Chinese translations (qt6-translations-l10n) are missing: Qt's own "
                             "dialogs stay in English.\n");
    // Qt's own file dialogs speak the translations above; a desktop's native ones would follow the
    // desktop's language instead.
    QCoreApplication::setAttribute(Qt::AA_DontUseNativeDialogs);
    // Calendars, dates in the file dialogs and numbers speak Chinese whatever language the PC was set up
    // in: a shop PC is often left in English (C.UTF-8).
    QLocale::setDefault(QLocale(QLocale::Chinese, QLocale::China));
    QGuiApplication::setDesktopFileName(desktopFileId);
}

void setProgramIcon() {
    QGuiApplication::setWindowIcon(programIcon());
}

} // namespace qm
