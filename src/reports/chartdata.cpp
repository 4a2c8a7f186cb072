#include "reports/chartdata.h"

#include "core/home.h"

#include <QDir>
#include <QFile>

#include <utility>

namespace qm {

namespace {

using Replacements = QList<std::pair<QString, QByteArray>>;

QByteArray loadTemplate(const QString& resource) {
    QFile file(resource);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Fills the placeholders of a template in one pass: text put in is never searched again, so a name that
// happens to read like a placeholder stays as it is. Comments are left alone: they describe the fields
// and may mention a placeholder's words.
QByteArray fillTemplate(const QByteArray& document, const Replacements& replacements) {
    QList<std::pair<QByteArray, QByteArray>> keys;
    for (const auto& [placeholder, value] : replacements)
        keys.append({placeholder.toUtf8(), value});
    static const QByteArray commentStart = QByteArrayLiteral("<!--");
    static const QByteArray commentEnd = QByteArrayLiteral("-->");

    QByteArray out;
    out.reserve(document.size() * 2);
    qsizetype i = 0;
    while (i < document.size()) {
        const QByteArrayView rest = QByteArrayView(document).sliced(i);
        if (rest.startsWith(commentStart)) {
            const qsizetype end = document.indexOf(commentEnd, i);
            const qsizetype stop = end < 0 ? document.size() : end + commentEnd.size();
            out += document.sliced(i, stop - i);
            i = stop;
            continue;
        }
        // The longest placeholder starting here wins, so one that begins another is never cut short.
        const std::pair<QByteArray, QByteArray>* match = nullptr;
        for (const auto& key : keys) {
            if ((!match || key.first.size() > match->first.size()) && rest.startsWith(key.first))
                match = &key;
        }
        if (match) {
            out += match->second;
            i += match->first.size();
        } else {
            out += document.at(i++);
        }
    }
    return out;
}

QByteArray number(qint64 value) {
    return QByteArray::number(value);
}

QByteArray flagText(bool value) {
    return value ? QByteArrayLiteral("true") : QByteArrayLiteral("false");
}

QByteArray colourOr(ColourValue colour, bool set, const char* fallback) {
    return set ? colourHexText(colour).toLatin1() : QByteArray(fallback);
}

// Each item followed by ",", then the last character dropped: an empty list gives an empty text.
template <typename List, typename Item> QByteArray joinList(const List& list, Item item) {
    QByteArray out;
    for (const auto& value : list)
        out += item(value) + ',';
    out.chop(1);
    return out;
}

// The files are rewritten whole on every report and read only after the write: no need to sync them to
// the disk, which costs more than the report itself on a slow one.
// A file that could not be written is removed, so that the chart view shows an empty chart rather than
// an earlier report's figures.
bool writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size() &&
        file.flush())
        return true;
    file.close();
    QFile::remove(path);
    return false;
}

QString xmlAttribute(const QString& name, const QString& value) {
    return QLatin1Char(' ') + name + QStringLiteral("=\"") + value + QLatin1Char('"');
}

void appendPie(Replacements& out, const PieChartSpec& pie, int n) {
    const QString one = QString::number(n);
    const auto key = [&](const char* before, const char* after = "") {
        return QString::fromUtf8(before) + one + QString::fromUtf8(after);
    };
    const QString title = QString(pie.title).replace(QLatin1Char(','), QStringLiteral("，"));
    out.append(
        {key("标题"),
         (chartText(title) + QLatin1Char(',') + QString::number(pie.titleX) + QLatin1Char(',') +
          QString::number(pie.titleY) + QLatin1Char(',') + QString::number(pie.titleSize) + QLatin1Char(',') +
          QString::fromLatin1(flagText(pie.titleBold)) + QLatin1Char(',') + colourHexText(pie.titleColour))
             .toUtf8()});
    out.append({key("表", "数值"), joinList(pie.values, number)});
    out.append(
        {key("表", "文本"), joinList(pie.names, [](const QString& s) { return chartListItem(s).toUtf8(); })});
    out.append({key("表", "颜色"),
                joinList(pie.colours, [](ColourValue c) { return colourHexText(c).toLatin1(); })});
    out.append({key("表", "是否显示名称与数值"), joinList(pie.showNames, flagText)});
    out.append({key("表", "扇区是否打开"), joinList(pie.open, flagText)});
    out.append({key("表", "左边"), number(pie.centreX)});
    out.append({key("表", "顶边"), number(pie.centreY)});
    out.append({key("表", "直径"), number(pie.longAxis)});
    out.append({key("表", "竖轴"), number(pie.shortAxis)});
    out.append({key("表", "环宽"), number(pie.ringWidth)});
    out.append({key("表", "高"), number(pie.height)});
    out.append({key("列标", "左边"), number(pie.listX)});
    out.append({key("列标", "顶边"), number(pie.listY)});
    const bool shown = pie.percentDisplay == QLatin1String("all") ||
                       pie.percentDisplay == QLatin1String("num") ||
                       pie.percentDisplay == QLatin1String("font");
    out.append(
        {key("表", "显示百分数值等"), shown ? pie.percentDisplay.toUtf8() : QByteArrayLiteral("none")});
    out.append({key("表", "线长度"), shown ? QByteArrayLiteral("20") : QByteArrayLiteral("0")});
}

} // namespace

QString colourHexText(ColourValue colour) {
    const auto byte = [&](int shift) {
        return QStringLiteral("%1").arg((colour >> shift) & 0xFF, 2, 16, QLatin1Char('0')).toUpper();
    };
    return QStringLiteral("0x") + byte(0) + byte(8) + byte(16);
}

QString chartText(const QString& text) {
    return text.toHtmlEscaped().replace(QLatin1Char('\''), QStringLiteral("&apos;"));
}

QString chartListItem(const QString& text) {
    return chartText(QString(text).replace(QLatin1Char(','), QStringLiteral("，")));
}

QString pieChartPath() {
    return QDir(QDir::tempPath()).filePath(QStringLiteral("piedata.xml"));
}

QString lineChartPath(const Home& home) {
    return QDir(home.root()).filePath(QStringLiteral("xml/line-chart.xml"));
}

QByteArray pieChartBytes(const PieChartFile& chart) {
    Replacements values;
    values.append({QStringLiteral("背景颜色"), colourOr(chart.background, chart.backgroundSet, "0x333333")});
    values.append({QStringLiteral("扇区文字颜色"), colourHexText(chart.sectorText).toLatin1()});
    values.append({QStringLiteral("竖向文字颜色"), colourHexText(chart.verticalText).toLatin1()});
    appendPie(values, chart.pies[0], 1);
    appendPie(values, chart.pies[1], 2);
    return fillTemplate(loadTemplate(QStringLiteral(":/charts/piedata.xml")), values);
}

bool writePieChart(const PieChartFile& chart) {
    return writeFile(pieChartPath(), pieChartBytes(chart));
}

bool clearPieChart() {
    return writeFile(pieChartPath(), {});
}

LineChartConfig standardTrendConfig(int yMax) {
    LineChartConfig config;
    config.yMax = yMax;
    return config;
}

void LineChartWriter::configure(const LineChartConfig& c) {
    m_paragraphs.clear();
    m_series.clear();
    m_periods.clear();
    const Replacements values = {
        {QStringLiteral("图表左边"), number(c.areaX)},
        {QStringLiteral("图表顶边"), number(c.areaY)},
        {QStringLiteral("图表宽度"), number(c.areaWidth)},
        {QStringLiteral("图表高度"), number(c.areaHeight)},
        {QStringLiteral("斑马线颜色1"), colourOr(c.stripe1, c.stripe1Set, "0xfafafa")},
        {QStringLiteral("斑马线颜色2"), colourOr(c.stripe2, c.stripe2Set, "0xf1f1f1")},
        {QStringLiteral("线的左右边距"), number(c.lineMargin)},
        {QStringLiteral("图表边框颜色"), colourOr(c.border, c.borderSet, "0xbdbdbd")},
        {QStringLiteral("Y轴文字大小"), number(c.axisTextSize)},
        {QStringLiteral("X轴文字大小"), number(c.axisTextSize)},
        {QStringLiteral("Y轴文字颜色"), colourOr(c.axisText, c.axisTextSet, "0x587b8c")},
        {QStringLiteral("X轴文字颜色"), colourOr(c.axisText, c.axisTextSet, "0x587b8c")},
        {QStringLiteral("Y轴文字离表距离"), number(c.yTextMargin)},
        {QStringLiteral("Y轴最小值"), number(c.yMin)},
        {QStringLiteral("Y轴最大值"), number(c.yMax)},
        {QStringLiteral("Y轴刻度数量"), number(c.yIntervals)},
        {QStringLiteral("X轴文字离表距离"), number(c.xTextMargin)},
        {QStringLiteral("刻度线粗细"), number(c.gridThickness)},
        {QStringLiteral("刻度线颜色"), number(c.gridColour)},
        {QStringLiteral("图例是否可见"), flagText(c.legendVisible)},
        {QStringLiteral("图例左边"), number(c.legendX)},
        {QStringLiteral("图例顶边"), number(c.legendY)},
        {QStringLiteral("图例高度"), number(c.legendWidth)},
        {QStringLiteral("图例文字大小"), number(c.legendTextSize)},
        {QStringLiteral("图例文字颜色"), colourOr(c.legendText, c.legendTextSet, "0x5e7086")},
        {QStringLiteral("图例背景色"), colourOr(c.legendBack, c.legendBackSet, "0xFFFFFF")},
        {QStringLiteral("趋势线圆点大小"), number(c.pointRadius)},
        {QStringLiteral("趋势线文字大小"), number(c.tooltipTextSize)},
        {QStringLiteral("是否同步画线"), flagText(c.drawTogether)},
    };
    m_document = fillTemplate(loadTemplate(QStringLiteral(":/charts/line-chart.xml")), values);
}

void LineChartWriter::addParagraph(int align, bool bold, ColourValue colour, bool colourSet, int size, int x,
                                   int y, int width, const QString& text) {
    const QString alignText = align == 1   ? QStringLiteral("center")
                              : align == 2 ? QStringLiteral("right")
                                           : QStringLiteral("left");
    m_paragraphs += QStringLiteral("<paragraph") + xmlAttribute(QStringLiteral("align"), alignText) +
                    xmlAttribute(QStringLiteral("bold"), QString::fromLatin1(flagText(bold))) +
                    xmlAttribute(QStringLiteral("color"),
                                 colourSet ? colourHexText(colour) : QStringLiteral("0x000066")) +
                    xmlAttribute(QStringLiteral("size"), QString::number(size)) +
                    xmlAttribute(QStringLiteral("x"), QString::number(x)) +
                    xmlAttribute(QStringLiteral("y"), QString::number(y)) +
                    xmlAttribute(QStringLiteral("width"), QString::number(width)) +
                    xmlAttribute(QStringLiteral("text"), chartText(text)) + QStringLiteral(" />\r\n");
}

void LineChartWriter::addSeries(ColourValue lineColour, int thickness, ColourValue secondColour,
                                const QString& name) {
    const QString line = colourHexText(lineColour);
    const QString second = colourHexText(secondColour);
    m_series += QStringLiteral("<serie") + xmlAttribute(QStringLiteral("lineColor"), line) +
                xmlAttribute(QStringLiteral("thick"), QString::number(thickness)) +
                xmlAttribute(QStringLiteral("pointInteriorColor"), second) +
                xmlAttribute(QStringLiteral("pointBorderColor"), line) +
                xmlAttribute(QStringLiteral("tooltipBackColor"), line) +
                xmlAttribute(QStringLiteral("tooltipTextColor"), second) +
                xmlAttribute(QStringLiteral("name"), chartText(name)) + QStringLiteral(" />\r\n");
}

void LineChartWriter::setPeriods(const QStringList& names) {
    m_periods.clear();
    for (const QString& name : names)
        m_periods.append(QStringLiteral("<period name=\"") + chartText(name) + QStringLiteral("\">\r\n"));
}

void LineChartWriter::addValues(const QStringList& values) {
    for (qsizetype i = 0; i < m_periods.size(); ++i) {
        const QString value = i < values.size() ? chartText(values.at(i)) : QStringLiteral("0");
        m_periods[i] += QStringLiteral("<v>") + value + QStringLiteral("</v>");
    }
}

QByteArray LineChartWriter::document() const {
    QString periods;
    for (const QString& period : m_periods)
        periods += period + QStringLiteral("\r\n</period>\r\n");
    return fillTemplate(m_document, {{QStringLiteral("文本内容"), m_paragraphs.toUtf8()},
                                     {QStringLiteral("趋势线配置"), m_series.toUtf8()},
                                     {QStringLiteral("纵向刻度配置"), periods.toUtf8()}});
}

bool LineChartWriter::write(const QString& folder) const {
    const QDir dir(folder);
    if (dir.exists())
        dir.mkpath(QStringLiteral("xml"));
    return writeFile(dir.filePath(QStringLiteral("xml/line-chart.xml")), document());
}

bool LineChartWriter::write(const Home& home) const {
    return write(home.root());
}

bool clearLineChart(const Home& home) {
    QDir(home.root()).mkpath(QStringLiteral("xml"));
    return writeFile(lineChartPath(home), {});
}

} // namespace qm
