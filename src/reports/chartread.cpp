#include "reports/chartread.h"

#include <QFile>
#include <QHash>
#include <QXmlStreamReader>

#include <algorithm>
#include <cmath>

namespace qm {

namespace {

QByteArray readAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QStringList splitList(const QString& text) {
    return text.isEmpty() ? QStringList() : text.split(QLatin1Char(','));
}

bool isTrue(const QString& text) {
    return text.trimmed().compare(QLatin1String("true"), Qt::CaseInsensitive) == 0;
}

int toInt(const QString& text, int fallback) {
    bool ok = false;
    const int value = text.trimmed().toInt(&ok);
    return ok ? value : fallback;
}

double toNumber(const QString& text) {
    bool ok = false;
    const double value = text.trimmed().toDouble(&ok);
    return ok && std::isfinite(value) ? value : 0.0;
}

// The fields of one pie, element name to text.
PieData pieFrom(const QHash<QString, QString>& fields) {
    PieData pie;
    // title,x,y,size,bold,colour: the title itself may hold no ",", so the last five parts are the rest.
    const QStringList title = fields.value(QStringLiteral("pie_title")).split(QLatin1Char(','));
    if (title.size() >= 6) {
        pie.title = title.mid(0, title.size() - 5).join(QLatin1Char(','));
        pie.titleSize = toInt(title.at(title.size() - 3), 16);
        pie.titleBold = isTrue(title.at(title.size() - 2));
        pie.titleColour = colourFromChartText(title.last());
    } else {
        pie.title = title.join(QLatin1Char(','));
    }
    const QStringList values = splitList(fields.value(QStringLiteral("pie_num")));
    const QStringList names = splitList(fields.value(QStringLiteral("pie_name")));
    const QStringList colours = splitList(fields.value(QStringLiteral("pie_color")));
    const QStringList shown = splitList(fields.value(QStringLiteral("pie_showtitle")));
    const QStringList open = splitList(fields.value(QStringLiteral("pie_defaultsate")));
    // A slice for every value; the colour and flag lists may be longer than the slices.
    for (qsizetype i = 0; i < values.size(); ++i) {
        PieSliceData slice;
        slice.value = toNumber(values.at(i));
        slice.name = names.value(i);
        slice.colour = colourFromChartText(colours.value(i));
        slice.showName = i >= shown.size() || isTrue(shown.at(i));
        slice.open = i < open.size() && isTrue(open.at(i));
        pie.slices.append(slice);
    }
    pie.showList = isTrue(fields.value(QStringLiteral("pie_showorder")));
    pie.percentDisplay = fields.value(QStringLiteral("pie_percentshow")).trimmed();
    pie.textColour = colourFromChartText(fields.value(QStringLiteral("pie_fontcolor")));
    pie.listTextColour = colourFromChartText(fields.value(QStringLiteral("pie_orderfontcolor")));
    return pie;
}

QColor colourAttribute(const QXmlStreamAttributes& attributes, const char* name) {
    return colourFromChartText(attributes.value(QLatin1String(name)).toString());
}

int intAttribute(const QXmlStreamAttributes& attributes, const char* name, int fallback) {
    return toInt(attributes.value(QLatin1String(name)).toString(), fallback);
}

} // namespace

QColor colourFromChartText(const QString& text) {
    const QString t = text.trimmed();
    bool ok = false;
    if (t.startsWith(QLatin1String("0x"), Qt::CaseInsensitive) || t.startsWith(QLatin1Char('#'))) {
        const uint rgb = t.mid(t.startsWith(QLatin1Char('#')) ? 1 : 2).toUInt(&ok, 16);
        return ok && rgb <= 0xFFFFFF ? QColor::fromRgb(QRgb(rgb)) : QColor();
    }
    // A decimal colour value keeps red in its lowest byte.
    const qulonglong value = t.toULongLong(&ok);
    if (!ok)
        return {};
    return QColor(int(value & 0xFF), int(value >> 8 & 0xFF), int(value >> 16 & 0xFF));
}

std::optional<PieChartData> readPieChart(const QByteArray& bytes) {
    if (bytes.trimmed().isEmpty())
        return std::nullopt;
    QXmlStreamReader xml(bytes);
    PieChartData chart;
    int pies = 0;
    bool root = false;
    QHash<QString, QString> fields;
    bool inPie = false;
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isStartElement()) {
            const auto name = xml.name();
            if (name == QLatin1String("drawpie")) {
                root = true;
                chart.background = colourAttribute(xml.attributes(), "bgcolor");
            } else if (name == QLatin1String("pie")) {
                inPie = true;
                fields.clear();
            } else if (inPie) {
                fields.insert(name.toString(), xml.readElementText());
            }
        } else if (xml.isEndElement() && xml.name() == QLatin1String("pie") && inPie) {
            inPie = false;
            if (pies < 2)
                chart.pies[size_t(pies)] = pieFrom(fields);
            ++pies;
        }
    }
    if (xml.hasError() || !root)
        return std::nullopt;
    return chart;
}

std::optional<TrendChartData> readTrendChart(const QByteArray& bytes) {
    if (bytes.trimmed().isEmpty())
        return std::nullopt;
    QXmlStreamReader xml(bytes);
    TrendChartData chart;
    bool root = false;
    QList<QList<double>> periodValues;
    while (!xml.atEnd()) {
        xml.readNext();
        if (!xml.isStartElement())
            continue;
        const auto name = xml.name();
        const QXmlStreamAttributes a = xml.attributes();
        if (name == QLatin1String("lineChart")) {
            root = true;
        } else if (name == QLatin1String("yaxis")) {
            chart.axisTextSize = intAttribute(a, "tagSize", 12);
            chart.axisTextColour = colourAttribute(a, "tagColor");
            chart.yMin = toNumber(a.value(QLatin1String("min")).toString());
            chart.yMax = toNumber(a.value(QLatin1String("max")).toString());
            chart.yIntervals = std::max(1, intAttribute(a, "intervals", 5));
        } else if (name == QLatin1String("gridlines")) {
            chart.gridThickness = intAttribute(a, "thick", 1);
            chart.gridColour = colourAttribute(a, "color");
        } else if (name == QLatin1String("legends")) {
            chart.legendVisible = isTrue(a.value(QLatin1String("visible")).toString());
            chart.legendTextSize = intAttribute(a, "textSize", 12);
            chart.legendTextColour = colourAttribute(a, "textColor");
        } else if (name == QLatin1String("points")) {
            chart.pointRadius = intAttribute(a, "radius", 3);
        } else if (name == QLatin1String("tooltip")) {
            chart.tooltipTextSize = intAttribute(a, "size", 10);
        } else if (name == QLatin1String("paragraph")) {
            TrendParagraph p;
            p.text = a.value(QLatin1String("text")).toString();
            const auto align = a.value(QLatin1String("align"));
            p.align = align == QLatin1String("center")  ? Qt::AlignHCenter
                      : align == QLatin1String("right") ? Qt::AlignRight
                                                        : Qt::AlignLeft;
            p.bold = isTrue(a.value(QLatin1String("bold")).toString());
            p.colour = colourAttribute(a, "color");
            p.size = intAttribute(a, "size", 12);
            chart.paragraphs.append(p);
        } else if (name == QLatin1String("serie")) {
            TrendSeriesData s;
            s.name = a.value(QLatin1String("name")).toString();
            s.lineColour = colourAttribute(a, "lineColor");
            s.pointColour = colourAttribute(a, "pointInteriorColor");
            s.thickness = intAttribute(a, "thick", 1);
            chart.series.append(s);
        } else if (name == QLatin1String("period")) {
            chart.periods.append(a.value(QLatin1String("name")).toString());
            periodValues.append(QList<double>());
        } else if (name == QLatin1String("v") && !periodValues.isEmpty()) {
            periodValues.last().append(toNumber(xml.readElementText()));
        }
    }
    if (xml.hasError() || !root)
        return std::nullopt;
    if (chart.yMax <= chart.yMin)
        chart.yMax = chart.yMin + 1;
    // The k-th value of every period belongs to the k-th series; values beyond the series are dropped.
    for (qsizetype k = 0; k < chart.series.size(); ++k) {
        for (const QList<double>& values : periodValues)
            chart.series[k].values.append(values.value(k));
    }
    return chart;
}

std::optional<PieChartData> readPieChartFile(const QString& path) {
    return readPieChart(readAll(path));
}

std::optional<TrendChartData> readTrendChartFile(const QString& path) {
    return readTrendChart(readAll(path));
}

} // namespace qm
