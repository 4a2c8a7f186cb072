#pragma once

#include <QString>
#include <QUrl>

#include <optional>

// Whether the program can show its charts. They are drawn by the chart component (Qt Charts) inside the
// program, so they are available wherever that component loads; tests can make the check report otherwise.
namespace qm {

class Platform;

// The question asked when charts cannot be shown.
inline const QString chartSupportQuestion =
    QStringLiteral("您的图表组件（Qt Charts）无法加载，图表功能将无法使用。\r\n\r\n是否查看图表组件的帮助？");

// The help page on charts opened when the user answers Yes: written from the program's resources into the
// temporary folder and opened as a local page, so it needs no network.
QUrl chartSupportPage();

// True when charts can be shown: the chart component loads and a graphical application runs.
bool chartsAvailable();
// Makes chartsAvailable() report `available` until reset with no value. For tests.
void overrideChartsAvailable(std::optional<bool> available);

// The check of start-up and of the report windows: when charts cannot be shown, asks the question
// (warning icon, Yes/No) and on Yes opens the help page. Returns whether charts can be shown.
bool checkChartSupport(Platform& platform);

} // namespace qm
