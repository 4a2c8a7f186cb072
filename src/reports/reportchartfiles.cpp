#include "reports/reportchartfiles.h"

namespace qm {

namespace {

const ColourValue red = rgbColour(255, 0, 0);
const ColourValue blue = rgbColour(0, 0, 255);
const ColourValue chartBlue = rgbColour(0, 96, 192);

const QList<ColourValue> palette = {
    rgbColour(254, 7, 8),    rgbColour(14, 237, 12),   rgbColour(46, 73, 241), rgbColour(238, 255, 11),
    rgbColour(238, 15, 240), rgbColour(62, 155, 246),  rgbColour(78, 15, 255), rgbColour(14, 108, 251),
    rgbColour(255, 128, 0),  rgbColour(158, 239, 124), rgbColour(238, 15, 71), rgbColour(255, 128, 192)};

PieChartSpec pie(const QString& title, int titleX, int centreX, int listX, bool open,
                 const QStringList& names, const QList<qint64>& values) {
    PieChartSpec spec;
    spec.title = title;
    spec.titleX = titleX;
    spec.titleY = 20;
    spec.titleSize = 16;
    spec.titleBold = true;
    spec.titleColour = chartBlue;
    spec.values = values;
    spec.names = names;
    spec.colours = palette;
    spec.showNames = QList<bool>(12, true);
    spec.open = QList<bool>(12, open);
    spec.centreX = centreX;
    spec.centreY = 160;
    spec.longAxis = 120;
    spec.shortAxis = 60;
    spec.ringWidth = 50;
    spec.height = 16;
    spec.listX = listX;
    spec.listY = 40;
    spec.percentDisplay = QStringLiteral("num");
    return spec;
}

} // namespace

PieChartFile incomePieChart(const IncomePies& pies) {
    PieChartFile file;
    file.background = rgbColour(213, 234, 255);
    file.backgroundSet = true;
    file.sectorText = chartBlue;
    file.verticalText = chartBlue;
    file.pies[0] = pie(pies.incomeTitle, pies.quarter ? 100 : 140, pies.quarter ? 190 : 210, 420,
                       !pies.quarter, pies.labels, pies.incomes);
    file.pies[1] = pie(pies.countTitle, 580, 680, 880, !pies.quarter, pies.labels, pies.counts);
    return file;
}

LineChartWriter trendChartWriter(const TrendChart& trend) {
    LineChartWriter writer;
    writer.configure(standardTrendConfig(trend.yMaximum));
    writer.addParagraph(1, true, 0, false, 16, 45, 10, 500, trend.paragraph);
    writer.addSeries(red, 2, rgbColour(255, 168, 255), trend.amountSeries);
    writer.addSeries(blue, 2, rgbColour(0, 224, 128), trend.countSeries);
    writer.setPeriods(trend.periods);
    writer.addValues(trend.amounts);
    writer.addValues(trend.counts);
    writer.addValues({});
    return writer;
}

bool writeReportChartFiles(const ReportOutcome& outcome, const Home& home) {
    bool written = true;
    if (outcome.emptyPiesFirst)
        written = clearPieChart() && written;
    if (outcome.emptyTrend)
        written = clearLineChart(home) && written;
    switch (outcome.chart) {
    case ReportChart::Pies:
        written = writePieChart(incomePieChart(outcome.pies)) && written;
        break;
    case ReportChart::Trend:
        written = trendChartWriter(outcome.trend).write(home) && written;
        break;
    case ReportChart::None:
        break;
    }
    return written;
}

} // namespace qm
