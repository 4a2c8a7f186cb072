#include "core/home.h"
#include "reports/chartdata.h"
#include "reports/chartread.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace qm;

namespace {

QByteArray readFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(unreadable)");
}

const QList<ColourValue> palette = {
    rgbColour(254, 7, 8),    rgbColour(14, 237, 12),   rgbColour(46, 73, 241), rgbColour(238, 255, 11),
    rgbColour(238, 15, 240), rgbColour(62, 155, 246),  rgbColour(78, 15, 255), rgbColour(14, 108, 251),
    rgbColour(255, 128, 0),  rgbColour(158, 239, 124), rgbColour(238, 15, 71), rgbColour(255, 128, 192)};

// Three months of a year report; the third label carries the characters that used to break the file.
PieChartFile yearPies() {
    PieChartFile chart;
    chart.background = rgbColour(213, 234, 255);
    chart.backgroundSet = true;
    chart.sectorText = rgbColour(0, 96, 192);
    chart.verticalText = rgbColour(0, 96, 192);
    const QStringList names = {QStringLiteral("05月"), QStringLiteral("06月"), QStringLiteral("A&B,C")};
    for (int i = 0; i < 2; ++i) {
        PieChartSpec& pie = chart.pies[size_t(i)];
        pie.title = i == 0 ? QStringLiteral("2026年 年收入参考") : QStringLiteral("2026年 开单数量参考");
        pie.titleX = i == 0 ? 140 : 580;
        pie.titleY = 20;
        pie.titleColour = rgbColour(0, 96, 192);
        pie.values = i == 0 ? QList<qint64>{1200, 350, 80} : QList<qint64>{40, 12, 3};
        pie.names = names;
        pie.colours = palette;
        pie.showNames = QList<bool>(12, true);
        pie.open = QList<bool>(12, i == 0);
        pie.centreX = i == 0 ? 210 : 680;
        pie.centreY = 160;
        pie.longAxis = 120;
        pie.shortAxis = 60;
        pie.ringWidth = 50;
        pie.height = 16;
        pie.listX = i == 0 ? 420 : 880;
        pie.listY = 40;
        pie.percentDisplay = i == 0 ? QStringLiteral("num") : QStringLiteral("percent");
    }
    return chart;
}

// The month report's trend chart: three days, two series and the empty third list.
LineChartWriter monthTrend() {
    LineChartWriter writer;
    writer.configure(standardTrendConfig(300));
    writer.addParagraph(1, true, 0, false, 16, 45, 10, 500, QStringLiteral("2026年5月份 参考数据"));
    writer.addSeries(rgbColour(255, 0, 0), 2, rgbColour(255, 168, 255), QStringLiteral("月实付总额"));
    writer.addSeries(rgbColour(0, 0, 255), 2, rgbColour(0, 224, 128), QStringLiteral("月点单数量"));
    writer.setPeriods({QStringLiteral("03日"), QStringLiteral("04日"), QStringLiteral("05日")});
    writer.addValues({QStringLiteral("250.5"), QStringLiteral("20"), QStringLiteral("30")});
    writer.addValues({QStringLiteral("3"), QStringLiteral("1")});
    writer.addValues({});
    return writer;
}

} // namespace

// The chart data files: colour texts, the two writers byte for byte, escaping, and reading them back.
class ChartDataTest : public QObject {
    Q_OBJECT

    QTemporaryDir m_temp;

private slots:
    // The pie file goes to the temporary folder: a folder of this test's own.
    void initTestCase() {
        QVERIFY(m_temp.isValid());
        qputenv("TMPDIR", QFile::encodeName(m_temp.path()));
        QCOMPARE(QDir(QDir::tempPath()).canonicalPath(), QDir(m_temp.path()).canonicalPath());
    }

    void colourHexText_data() {
        QTest::addColumn<quint32>("value");
        QTest::addColumn<QString>("text");
        QTest::newRow("red") << 255u << "0xFF0000";
        QTest::newRow("blue") << 16711680u << "0x0000FF";
        QTest::newRow("0, 96, 192") << 12607488u << "0x0060C0";
        QTest::newRow("top byte ignored") << 3892840446u << "0xFE0708";
        QTest::newRow("black") << 0u << "0x000000";
    }
    void colourHexText() {
        QFETCH(quint32, value);
        QFETCH(QString, text);
        QCOMPARE(qm::colourHexText(value), text);
        QCOMPARE(colourFromChartText(text),
                 QColor(int(value & 0xFF), int(value >> 8 & 0xFF), int(value >> 16 & 0xFF)));
    }

    void textsAreEscaped_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("listItem");
        QTest::newRow("ampersand") << "A&B"
                                   << "A&amp;B"
                                   << "A&amp;B";
        QTest::newRow("less than") << "5<6"
                                   << "5&lt;6"
                                   << "5&lt;6";
        QTest::newRow("quotes") << "\"辣\"'s"
                                << "&quot;辣&quot;&apos;s"
                                << "&quot;辣&quot;&apos;s";
        QTest::newRow("comma only in lists") << "鸡,鸭"
                                             << "鸡,鸭"
                                             << "鸡，鸭";
        QTest::newRow("plain") << "宫保鸡丁"
                               << "宫保鸡丁"
                               << "宫保鸡丁";
    }
    void textsAreEscaped() {
        QFETCH(QString, text);
        QFETCH(QString, value);
        QFETCH(QString, listItem);
        QCOMPARE(chartText(text), value);
        QCOMPARE(chartListItem(text), listItem);
    }

    void pieFileMatchesGolden() {
        QVERIFY(writePieChart(yearPies()));
        QCOMPARE(pieChartPath(), QDir(m_temp.path()).filePath(QStringLiteral("piedata.xml")));
        QCOMPARE(readFile(pieChartPath()), readFile(QFINDTESTDATA("golden/piedata.xml")));
    }

    void pieOptions_data() {
        QTest::addColumn<QString>("percent");
        QTest::addColumn<bool>("background");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("all") << "all" << true
                             << QStringList{"<pie_percentshow>all</pie_percentshow>",
                                            "<pie_linewidth>20</pie_linewidth>"};
        QTest::newRow("font") << "font" << true
                              << QStringList{"<pie_percentshow>font</pie_percentshow>",
                                             "bgcolor=\"0xD5EAFF\""};
        QTest::newRow("other text shows none")
            << "NUM" << true
            << QStringList{"<pie_percentshow>none</pie_percentshow>", "<pie_linewidth>0</pie_linewidth>"};
        QTest::newRow("default background") << "num" << false << QStringList{"bgcolor=\"0x333333\""};
    }
    void pieOptions() {
        QFETCH(QString, percent);
        QFETCH(bool, background);
        QFETCH(QStringList, expected);
        PieChartFile chart = yearPies();
        chart.pies[0].percentDisplay = percent;
        chart.backgroundSet = background;
        const QString text = QString::fromUtf8(pieChartBytes(chart));
        for (const QString& part : expected)
            QVERIFY2(text.contains(part), qPrintable(part));
    }

    // No slices: empty elements, while the twelve colours and flags stay twelve. A title or name that reads
    // like a placeholder is written as it is, and a "," in the title cannot shift its coordinates.
    void pieListsKeepTheirShape() {
        PieChartFile chart = yearPies();
        chart.pies[0].values.clear();
        chart.pies[0].names.clear();
        chart.pies[1].names = {QStringLiteral("表1数值"), QStringLiteral("背景颜色"), QStringLiteral("x")};
        chart.pies[1].title = QStringLiteral("标题2,年");
        const QString text = QString::fromUtf8(pieChartBytes(chart));
        QVERIFY(text.contains(QStringLiteral("<pie_num></pie_num>")));
        QVERIFY(text.contains(QStringLiteral("<pie_name></pie_name>")));
        QVERIFY(text.contains(QStringLiteral("<pie_name>表1数值,背景颜色,x</pie_name>")));
        QVERIFY(text.contains(QStringLiteral("<pie_title>标题2，年,580,20,16,true,0x0060C0</pie_title>")));

        const std::optional<PieChartData> read = readPieChart(text.toUtf8());
        QVERIFY(read);
        QVERIFY(read->pies[0].slices.isEmpty());
        QCOMPARE(read->pies[1].slices.size(), 3);
        QCOMPARE(read->pies[1].title, QStringLiteral("标题2，年"));
    }

    void lineFileMatchesGolden() {
        QTemporaryDir dir;
        const Home home(dir.path());
        QVERIFY(monthTrend().write(home));
        QCOMPARE(readFile(lineChartPath(home)), readFile(QFINDTESTDATA("golden/line-chart.xml")));
    }

    // The folder may be named with or without its trailing separator; a missing folder is a failed write.
    void lineFileFolder() {
        QTemporaryDir dir;
        const QString expected = dir.filePath(QStringLiteral("xml/line-chart.xml"));
        QVERIFY(monthTrend().write(dir.path() + QLatin1Char('/')));
        QVERIFY(QFile::exists(expected));
        QVERIFY(QFile::remove(expected));
        QVERIFY(monthTrend().write(dir.path()));
        QCOMPARE(readFile(expected), monthTrend().document());
        QVERIFY(!monthTrend().write(dir.filePath(QStringLiteral("missing"))));
    }

    // Periods are the last word: values added before set periods are dropped, items past the last period
    // ignored; names and values are escaped.
    void lineValuesFollowThePeriods() {
        LineChartWriter writer;
        writer.configure(standardTrendConfig(100));
        writer.addSeries(0, 1, 0, QStringLiteral("A&B"));
        writer.setPeriods({QStringLiteral("x")});
        writer.addValues({QStringLiteral("9")});
        writer.setPeriods({QStringLiteral("<1>"), QStringLiteral("2")});
        writer.addValues({QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3")});
        const QString text = QString::fromUtf8(writer.document());
        QVERIFY(text.contains(QStringLiteral("name=\"A&amp;B\" />\r\n")));
        QVERIFY(text.contains(QStringLiteral(
            "<period name=\"&lt;1&gt;\">\r\n<v>1</v>\r\n</period>\r\n<period name=\"2\">\r\n<v>2</v>\r\n")));
        QVERIFY(!text.contains(QStringLiteral("<v>9</v>")));
        QVERIFY(!text.contains(QStringLiteral("<v>3</v>")));
    }

    // The configuration's shared settings fill every place that names them.
    void configurationFillsBothPlaces() {
        LineChartConfig config = standardTrendConfig(500);
        config.axisTextSize = 14;
        config.border = rgbColour(1, 2, 3);
        config.borderSet = true;
        LineChartWriter writer;
        writer.configure(config);
        const QString text = QString::fromUtf8(writer.document());
        QCOMPARE(text.count(QStringLiteral("tagSize=\"14\"")), 2);
        QCOMPARE(text.count(QStringLiteral("borderColor=\"0x010203\"")), 2);
        QVERIFY(text.contains(QStringLiteral("max=\"500\"")));
    }

    void goldenFilesReadBack() {
        const std::optional<PieChartData> pies = readPieChartFile(QFINDTESTDATA("golden/piedata.xml"));
        QVERIFY(pies);
        QCOMPARE(pies->background, QColor(213, 234, 255));
        const PieData& income = pies->pies[0];
        QCOMPARE(income.title, QStringLiteral("2026年 年收入参考"));
        QCOMPARE(income.titleSize, 16);
        QCOMPARE(income.slices.size(), 3);
        QCOMPARE(income.slices[2].name, QStringLiteral("A&B，C"));
        QCOMPARE(income.slices[0].value, 1200.0);
        QCOMPARE(income.slices[1].colour, QColor(14, 237, 12));
        QVERIFY(income.slices[0].open);
        QVERIFY(!income.showList);
        QVERIFY(pies->pies[1].showList);
        QCOMPARE(pies->pies[1].percentDisplay, QStringLiteral("none"));

        const std::optional<TrendChartData> trend =
            readTrendChartFile(QFINDTESTDATA("golden/line-chart.xml"));
        QVERIFY(trend);
        QCOMPARE(trend->periods,
                 (QStringList{QStringLiteral("03日"), QStringLiteral("04日"), QStringLiteral("05日")}));
        QCOMPARE(trend->series.size(), 2);
        QCOMPARE(trend->series[0].values, (QList<double>{250.5, 20, 30}));
        QCOMPARE(trend->series[1].values, (QList<double>{3, 1, 0}));
        QCOMPARE(trend->series[1].lineColour, QColor(0, 0, 255));
        QCOMPARE(trend->series[0].thickness, 2);
        QCOMPARE(trend->yMax, 300.0);
        QCOMPARE(trend->yIntervals, 5);
        QCOMPARE(trend->paragraphs.size(), 1);
        QCOMPARE(trend->paragraphs[0].text, QStringLiteral("2026年5月份 参考数据"));
    }

    void unusableFilesReadAsNothing_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("empty") << QByteArray();
        QTest::newRow("blank") << QByteArray("\xEF\xBB\xBF\r\n");
        QTest::newRow("cut short") << readFile(QFINDTESTDATA("golden/line-chart.xml")).left(700);
        QTest::newRow("not xml") << QByteArray("<<<&&&");
        QTest::newRow("other document") << QByteArray("<?xml version=\"1.0\"?><html></html>");
    }
    void unusableFilesReadAsNothing() {
        QFETCH(QByteArray, bytes);
        QVERIFY(!readPieChart(bytes));
        QVERIFY(!readTrendChart(bytes));
    }

    void clearingEmptiesTheFiles() {
        QTemporaryDir dir;
        const Home home(dir.path());
        QVERIFY(writePieChart(yearPies()));
        QVERIFY(clearPieChart());
        QCOMPARE(QFileInfo(pieChartPath()).size(), 0);
        QVERIFY(clearLineChart(home));
        QCOMPARE(QFileInfo(lineChartPath(home)).size(), 0);
        QVERIFY(!readTrendChartFile(lineChartPath(home)));
    }
};

QTEST_GUILESS_MAIN(ChartDataTest)
#include "tst_chartdata.moc"
