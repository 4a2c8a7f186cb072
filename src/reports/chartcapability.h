#pragma once

#include <QString>
#include <QStringList>
#include <QUrl>
#include <QtGlobal>

#include <optional>

// Whether the program can show its charts. They are drawn by the chart module, a library of the program's
// own that links the chart component (Qt Charts); it is loaded when the first chart is drawn, not at start,
// so that start-up does not wait for Qt Charts and the OpenGL libraries it brings. Tests can make the checks
// report otherwise.
namespace qm {

class Platform;

// The question asked when charts cannot be shown.
inline const QString chartSupportQuestion =
    QStringLiteral("您的图表组件（Qt Charts）无法加载，图表功能将无法使用。\r\n\r\n是否查看图表组件的帮助？");

// The help page on charts opened when the user answers Yes: written from the program's resources into the
// temporary folder and opened as a local page, so it needs no network.
QUrl chartSupportPage();

// Where the chart module is looked for, first found first: beside the installed program the package's
// library folder, then the program's own folder (a build tree), then the folder above it (the build tree's
// tests and benchmarks).
QStringList chartModuleCandidates();

// True when the chart module is there to load; nothing is loaded. Needs a graphical application.
bool chartsInstalled();
// True when charts can be shown: a graphical application runs and the chart module loads, with Qt Charts.
// The first call loads it.
bool chartsAvailable();
// The module's entry (a ChartDrawerFactory, reports/ui/chartdrawer.h), loading the module on the first call;
// null when it cannot be loaded.
QFunctionPointer chartModuleEntry();
// The name the module exports its entry under.
inline constexpr char chartModuleEntryName[] = "quillmenu_chart_drawer";

// Makes chartsInstalled() and chartsAvailable() report `available` until reset with no value. For tests.
void overrideChartsAvailable(std::optional<bool> available);

// The check of the report windows: when charts cannot be shown, asks the question (warning icon, Yes/No)
// and on Yes opens the help page. Returns whether charts can be shown.
bool checkChartSupport(Platform& platform);
// The check of start-up: the same question when the chart module is not installed. It loads nothing; a
// module that is there but does not load is found out by the first report window.
bool checkChartsInstalled(Platform& platform);

} // namespace qm
