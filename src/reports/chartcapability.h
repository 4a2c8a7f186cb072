#pragma once

#include <QString>
#include <QUrl>

#include <optional>

// Whether the program can show its charts. The charts are drawn by the program itself, so they are
// available wherever it runs; tests can make the check report otherwise.
namespace qm {

class Platform;

// The question asked when charts cannot be shown.
inline const QString chartSupportQuestion =
    QStringLiteral("您的 Flash 版本过低，图表功能将无法使用。\r\n\r\n是否安装 Adobe Flash Player ？");

// The page opened when the user answers Yes: where the chart renderer the program uses is installed from.
QUrl chartSupportPage();

// True when charts can be shown.
bool chartsAvailable();
// Makes chartsAvailable() report `available` until reset with no value. For tests.
void overrideChartsAvailable(std::optional<bool> available);

// The check of start-up and of the report windows: when charts cannot be shown, asks the question
// (warning icon, Yes/No) and on Yes opens the page. Returns whether charts can be shown.
bool checkChartSupport(Platform& platform);

} // namespace qm
