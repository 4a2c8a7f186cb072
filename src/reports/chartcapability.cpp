#include "reports/chartcapability.h"

#include "core/platform.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLibrary>
#include <QSaveFile>

#include <cstdio>

namespace qm {

namespace {

std::optional<bool> overridden;

bool graphical() {
    return qobject_cast<QGuiApplication*>(QCoreApplication::instance()) != nullptr;
}

QString foundModule() {
    for (const QString& path : chartModuleCandidates()) {
        if (QFileInfo(path).isFile())
            return path;
    }
    return {};
}

bool askAboutCharts(Platform& platform) {
    if (platform.askYesNo(chartSupportQuestion, MessageIcon::Warning))
        platform.openUrl(chartSupportPage());
    return false;
}

} // namespace

QUrl chartSupportPage() {
    const QString path = QDir(QDir::tempPath()).filePath(QStringLiteral("图表组件帮助.html"));
    QFile source(QStringLiteral(":/help/charts.html"));
    QSaveFile target(path);
    if (source.open(QIODevice::ReadOnly) && target.open(QIODevice::WriteOnly)) {
        target.write(source.readAll());
        if (target.commit())
            return QUrl::fromLocalFile(path);
    }
    // Without a writable temporary folder the same help is on the web.
    return QUrl(QStringLiteral("https://doc.qt.io/qt-6/qtcharts-index.html"));
}

QStringList chartModuleCandidates() {
    const QDir programDir(QCoreApplication::applicationDirPath());
    const QString name = QStringLiteral(QUILLMENU_CHART_MODULE_NAME);
    return {QDir::cleanPath(programDir.filePath(QStringLiteral(QUILLMENU_CHART_MODULE_DIR) + u'/' + name)),
            programDir.filePath(name), QDir::cleanPath(programDir.filePath(QStringLiteral("../") + name))};
}

QFunctionPointer chartModuleEntry() {
    // Loaded once and kept: the charts' widgets and their code stay in use until the program ends.
    static const QFunctionPointer entry = [] {
        const QString path = foundModule();
        if (path.isEmpty())
            return QFunctionPointer();
        QLibrary library(path);
        if (!library.load()) {
            std::fprintf(stderr, "%s\n", qPrintable(library.errorString()));
            return QFunctionPointer();
        }
        return library.resolve(chartModuleEntryName);
    }();
    return entry;
}

bool chartsInstalled() {
    if (overridden)
        return *overridden;
    return graphical() && !foundModule().isEmpty();
}

bool chartsAvailable() {
    if (overridden)
        return *overridden;
    return graphical() && chartModuleEntry();
}

void overrideChartsAvailable(std::optional<bool> available) {
    overridden = available;
}

bool checkChartSupport(Platform& platform) {
    return chartsAvailable() || askAboutCharts(platform);
}

bool checkChartsInstalled(Platform& platform) {
    return chartsInstalled() || askAboutCharts(platform);
}

} // namespace qm
