#include "reports/chartcapability.h"

#include "core/platform.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QLibrary>
#include <QSaveFile>

namespace qm {

namespace {

std::optional<bool> overridden;

bool chartComponentLoads() {
    static const bool loads = [] {
        QLibrary library(QStringLiteral("Qt6Charts"), QT_VERSION_MAJOR);
        return library.load();
    }();
    return loads;
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

bool chartsAvailable() {
    if (overridden)
        return *overridden;
    return qobject_cast<QGuiApplication*>(QCoreApplication::instance()) && chartComponentLoads();
}

void overrideChartsAvailable(std::optional<bool> available) {
    overridden = available;
}

bool checkChartSupport(Platform& platform) {
    if (chartsAvailable())
        return true;
    if (platform.askYesNo(chartSupportQuestion, MessageIcon::Warning))
        platform.openUrl(chartSupportPage());
    return false;
}

} // namespace qm
