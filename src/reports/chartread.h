#pragma once

#include <QColor>
#include <QList>
#include <QString>
#include <QStringList>

#include <array>
#include <optional>

// The chart data files read back for drawing. An empty, missing or malformed file reads as no value.
namespace qm {

struct PieSliceData {
    QString name;
    double value = 0;
    QColor colour;
    bool showName = true;
    bool open = false;
};

struct PieData {
    QString title;
    int titleSize = 16;
    bool titleBold = true;
    QColor titleColour;
    QList<PieSliceData> slices;
    bool showList = false;  // the legend list beside the pie
    QString percentDisplay; // all, num, font or none
    QColor textColour;      // labels on the pie
    QColor listTextColour;  // the legend list
};

struct PieChartData {
    QColor background;
    std::array<PieData, 2> pies;
};

struct TrendParagraph {
    QString text;
    Qt::Alignment align = Qt::AlignLeft;
    bool bold = false;
    QColor colour;
    int size = 12;
};

struct TrendSeriesData {
    QString name;
    QColor lineColour;
    QColor pointColour;
    int thickness = 1;
    QList<double> values; // one per period
};

struct TrendChartData {
    QList<TrendParagraph> paragraphs;
    QList<TrendSeriesData> series;
    QStringList periods;
    double yMin = 0;
    double yMax = 100;
    int yIntervals = 5;
    int axisTextSize = 12;
    QColor axisTextColour;
    QColor gridColour;
    int gridThickness = 1;
    bool legendVisible = true;
    int legendTextSize = 12;
    QColor legendTextColour;
    int pointRadius = 3;
    int tooltipTextSize = 10;
};

// A colour hex text ("0xRRGGBB") or a decimal colour value as a colour; an invalid colour otherwise.
QColor colourFromChartText(const QString& text);

std::optional<PieChartData> readPieChart(const QByteArray& bytes);
std::optional<TrendChartData> readTrendChart(const QByteArray& bytes);
std::optional<PieChartData> readPieChartFile(const QString& path);
std::optional<TrendChartData> readTrendChartFile(const QString& path);

} // namespace qm
