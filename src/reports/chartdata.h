#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <array>

// The two chart data files the chart view draws: the pie charts (`piedata.xml` in the temporary folder)
// and the trend chart (`xml/line-chart.xml` in the program home). Both are UTF-8 with a byte-order mark
// and CR LF line ends, filled in from templates kept as resources. Text values are XML-escaped; a ","
// inside an item of a comma-joined list becomes "，" so that the list keeps its length.
namespace qm {

class Home;

// A colour as the reports give it: red in the lowest byte, then green, then blue; the top byte is ignored.
using ColourValue = quint32;

constexpr ColourValue rgbColour(int red, int green, int blue) {
    return ColourValue(red & 0xFF) | ColourValue(green & 0xFF) << 8 | ColourValue(blue & 0xFF) << 16;
}

// "0x" and the red, green and blue bytes as two uppercase hexadecimal digits each: 255 gives "0xFF0000".
QString colourHexText(ColourValue colour);

// A text value ready for either data file: XML-escaped.
QString chartText(const QString& text);
// An item of a comma-joined list: XML-escaped, with "," turned into "，".
QString chartListItem(const QString& text);

// Where the files are.
QString pieChartPath();                  // the temporary folder + piedata.xml
QString lineChartPath(const Home& home); // the home + xml/line-chart.xml

// ---- Pie charts --------------------------------------------------------------------------------------

// One of the two pies.
struct PieChartSpec {
    QString title;
    int titleX = 0;
    int titleY = 0;
    int titleSize = 16;
    bool titleBold = true;
    ColourValue titleColour = 0;
    QList<qint64> values;
    QStringList names;
    QList<ColourValue> colours;
    QList<bool> showNames; // per slice: name and value shown on the pie
    QList<bool> open;      // per slice: drawn moved out of the pie
    int centreX = 0;
    int centreY = 0;
    int longAxis = 0;
    int shortAxis = 0;
    int ringWidth = 0;
    int height = 0;
    int listX = 0;
    int listY = 0;
    QString percentDisplay; // "all", "num", "font"; anything else shows none
};

struct PieChartFile {
    ColourValue background = 0;
    bool backgroundSet = false; // false: the default background 0x333333
    ColourValue sectorText = 0;
    ColourValue verticalText = 0;
    std::array<PieChartSpec, 2> pies;
};

// The file's bytes.
QByteArray pieChartBytes(const PieChartFile& chart);
// Writes pieChartPath() whole. False when the file could not be written; an older file is then removed.
bool writePieChart(const PieChartFile& chart);
// Empties pieChartPath() (zero bytes): the chart view then shows an empty chart.
bool clearPieChart();

// ---- Trend chart -------------------------------------------------------------------------------------

// The 33 settings of the trend chart's configuration, in their order. A colour whose flag is false
// is written as the setting's default text.
struct LineChartConfig {
    int areaX = -160;
    int areaY = 55;
    int areaWidth = 920;
    int areaHeight = 210;
    ColourValue stripe1 = 0;
    bool stripe1Set = false; // default 0xfafafa
    ColourValue stripe2 = 0;
    bool stripe2Set = false; // default 0xf1f1f1
    int lineMargin = 20;
    ColourValue border = 0;
    bool borderSet = false; // default 0xbdbdbd
    int axisTextSize = 12;  // both axes
    ColourValue axisText = 0;
    bool axisTextSet = false; // default 0x587b8c
    int yTextMargin = 3;
    int yMin = 0;
    int yMax = 100;
    int yIntervals = 5;
    int xTextMargin = 1;
    int gridThickness = 1;
    ColourValue gridColour = 12632256; // written as a decimal number
    bool legendVisible = true;
    int legendX = 660;
    int legendY = 6;
    int legendWidth = 100;
    int legendTextSize = 12;
    ColourValue legendText = 0;
    bool legendTextSet = false; // default 0x5e7086
    ColourValue legendBack = 0;
    bool legendBackSet = false; // default 0xFFFFFF
    int pointRadius = 3;
    int tooltipTextSize = 10;
    bool drawTogether = true;
};

// The configuration every report's trend chart uses; only the Y maximum differs.
LineChartConfig standardTrendConfig(int yMax);

// Builds one trend chart data file: configure, add paragraphs and series, set the periods, add one value
// list per series, write. A writer lives for one report.
class LineChartWriter {
public:
    // Loads the template and fills in the configuration; drops paragraphs, series and periods.
    void configure(const LineChartConfig& config);
    // align: 1 centre, 2 right, anything else left. The colour is used when `colourSet`, else 0x000066.
    void addParagraph(int align, bool bold, ColourValue colour, bool colourSet, int size, int x, int y,
                      int width, const QString& text);
    void addSeries(ColourValue lineColour, int thickness, ColourValue secondColour, const QString& name);
    // One period per name; values added before are dropped.
    void setPeriods(const QStringList& names);
    // Adds value i to period i (0 where the list is shorter; items beyond the periods are ignored). The
    // k-th call gives every period the value of the k-th series.
    void addValues(const QStringList& values);

    // The file's bytes as write() stores them.
    QByteArray document() const;
    // Writes `folder` + xml/line-chart.xml, creating the xml folder when `folder` exists. False when the
    // file could not be written; an older file is then removed.
    bool write(const QString& folder) const;

    // Writes into the home: lineChartPath(home).
    bool write(const Home& home) const;

private:
    QByteArray m_document;
    QString m_paragraphs;
    QString m_series;
    QStringList m_periods;
};

// Empties lineChartPath(home) (zero bytes): the chart view then shows an empty chart.
bool clearLineChart(const Home& home);

} // namespace qm
