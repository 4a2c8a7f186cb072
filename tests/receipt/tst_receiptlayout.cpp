#include "receipt/receiptcontent.h"
#include "receipt/receiptlayout.h"
#include "receipt/receiptsettings.h"
#include "receipt/recordingsurface.h"

#include <QTest>

#include <memory>

using namespace qm;

namespace {

// The first-run custom styling: 9 points regular, the total, paid and delivery lines 12 points bold.
ReceiptSettings customSettings() {
    ReceiptSettings settings;
    for (int element : {7, 10, 11})
        settings.styles[size_t(element - 1)] = {12, true};
    return settings;
}

ReceiptContent sampleContent() {
    ReceiptContent content;
    content.orderNumber = QStringLiteral("12");
    content.ticketHeader = QStringLiteral("微信点餐");
    content.shopName = QStringLiteral("白云快餐");
    content.paymentMethod = QStringLiteral("微信支付");
    content.orderTime = QStringLiteral("2026年3月14日12时30分");
    content.lines = {
        {QStringLiteral("宫保鸡丁"), QStringLiteral("2"), QStringLiteral("份"), QStringLiteral("36")},
        {QString(), QString(), QString(), QString()}};
    content.total = QStringLiteral("36");
    return content;
}

QString spaces(int n) {
    return QString(n, QLatin1Char(' '));
}
QString dashes(int n) {
    return QString(n, QLatin1Char('-'));
}

bool isRule(const RecordingSurface::Op& op) {
    return op.text.size() > 20 && op.text == dashes(int(op.text.size()));
}

int ruleCount(const RecordingSurface& surface) {
    int n = 0;
    for (const auto& op : surface.ops)
        n += isRule(op) ? 1 : 0;
    return n;
}

// Metrics of a printed page in 0.1 mm: a wide character is one em of the size in points, an ASCII
// character half of it, and the widths are truncated as a surface rounds them to whole units.
class PaperSurface : public RecordingSurface {
public:
    explicit PaperSurface(int width)
        : RecordingSurface(width, Kind::Printer) {}
    void setFont(int points, bool bold) override {
        RecordingSurface::setFont(points, bold);
        m_points = points;
    }
    int textWidth(const QString& text) const override { return int(gbkLength(text) * m_points * 127 / 72.0); }
    int textHeight(const QString&) const override { return 5 * m_points; }

private:
    int m_points = 9;
};

} // namespace

class ReceiptLayoutTest : public QObject {
    Q_OBJECT

private slots:
    // Every element in order on the 58 mm preview board, with the positions that follow from the metrics.
    void wholeReceipt() {
        ReceiptSettings settings = customSettings();
        settings.topPicture = settings.bottomPicture = true;
        settings.extra1 = {true, QStringLiteral("订餐电话:1390000****")};
        ReceiptContent content = sampleContent();
        content.discountName = QStringLiteral("会员减免");
        content.discountCount = QStringLiteral("1");
        content.discountAmount = QStringLiteral("5");
        content.total = QStringLiteral("31");
        content.paid = QStringLiteral("31");
        content.tableName = QStringLiteral("A3桌");
        content.customerName = QStringLiteral("张三");
        content.telephone = QStringLiteral("13900001111");
        content.address = QStringLiteral("幸福路1号");
        content.note = QStringLiteral("少辣");
        const QImage top(430, 189, QImage::Format_RGB32);
        const QImage bottom(430, 430, QImage::Format_RGB32);

        RecordingSurface surface(194);
        const int height = drawReceipt(surface, settings, content, &top, &bottom);

        const QString heading = QStringLiteral(" #12 微信点餐 ");
        const QStringList expected{"[picture]",
                                   "********",
                                   heading,
                                   "********",
                                   spaces(11),
                                   "白云快餐",
                                   spaces(11),
                                   spaces(5),
                                   "订餐电话:1390000****",
                                   spaces(5),
                                   dashes(11),
                                   "微信支付",
                                   dashes(11),
                                   "[下单时间] 2026年3月14日12时30分",
                                   dashes(31),
                                   "菜名",
                                   "数量",
                                   "小计",
                                   dashes(31),
                                   "宫保鸡丁",
                                   "2份",
                                   "36",
                                   dashes(10),
                                   "折扣 减免",
                                   dashes(10),
                                   "会员减免",
                                   "1份",
                                   "5",
                                   dashes(31),
                                   "合计 ￥31",
                                   dashes(31),
                                   "已支付 ￥31",
                                   dashes(31),
                                   "A3桌",
                                   "张三  13900001111",
                                   "幸福路1号",
                                   " ",
                                   "少辣",
                                   spaces(12),
                                   "     ",
                                   spaces(12),
                                   "********",
                                   heading,
                                   "********",
                                   "[picture]"};
        QCOMPARE(surface.texts(), expected);

        // Pictures fill the width; the top one is 189 × 194 / 430 = 85 high.
        QCOMPARE(surface.ops.front().w, 194);
        QCOMPARE(surface.ops.front().h, 85);
        QCOMPARE(surface.ops.back().h, 194);
        // Centred heading: (184 − 84) / 2; the filler runs out to 184 on the right.
        QCOMPARE(surface.ops[2].x, 50);
        QCOMPARE(surface.ops[2].y, 85);
        QCOMPARE(surface.ops[3].x, 136);
        const auto* total = surface.find(QStringLiteral("合计"));
        QCOMPARE(total->x, 184 - 72);
        QCOMPARE(total->size, 12);
        QVERIFY(total->bold);
        QCOMPARE(surface.find(QStringLiteral("少辣"))->y, surface.find(QStringLiteral("幸福路"))->y + 2 * 30);
        QCOMPARE(height, 873);
    }

    void itemHeadingColumns() {
        RecordingSurface surface(194);
        drawReceipt(surface, customSettings(), sampleContent(), nullptr, nullptr);
        const auto* quantity = surface.find(QStringLiteral("数量"));
        const auto* amount = surface.find(QStringLiteral("小计"));
        QCOMPARE(quantity->x + 24, 138);
        QCOMPARE(amount->x + 24, 184);
        QCOMPARE(quantity->y, surface.find(QStringLiteral("菜名"))->y);
    }

    void conditionalLines_data() {
        QTest::addColumn<QString>("payment");
        QTest::addColumn<QString>("discountAmount");
        QTest::addColumn<QString>("paid");
        QTest::addColumn<int>("paidSize");
        QTest::addColumn<int>("rules");
        QTest::addColumn<bool>("paymentShown");
        QTest::addColumn<bool>("discountShown");
        QTest::addColumn<bool>("paidShown");

        QTest::newRow("all shown") << "现金"
                                   << "5"
                                   << "31" << 12 << 5 << true << true << true;
        QTest::newRow("no payment method") << ""
                                           << "5"
                                           << "31" << 12 << 6 << false << true << true;
        QTest::newRow("blank payment method") << "　 "
                                              << "5"
                                              << "31" << 12 << 6 << false << true << true;
        QTest::newRow("payment 无") << "无"
                                    << "5"
                                    << "31" << 12 << 6 << false << true << true;
        QTest::newRow("discount amount 0") << "现金"
                                           << "0"
                                           << "31" << 12 << 5 << true << false << true;
        QTest::newRow("discount amount not a number") << "现金"
                                                      << "免"
                                                      << "31" << 12 << 5 << true << false << true;
        QTest::newRow("paid 0") << "现金"
                                << "5"
                                << "0" << 12 << 4 << true << true << false;
        QTest::newRow("paid empty") << "现金"
                                    << "5"
                                    << "" << 12 << 4 << true << true << false;
        QTest::newRow("paid full-width zero") << "现金"
                                              << "5"
                                              << "０.０" << 12 << 4 << true << true << false;
        QTest::newRow("paid line hidden by size 0") << "现金"
                                                    << "5"
                                                    << "31" << 0 << 4 << true << true << false;
    }

    void conditionalLines() {
        QFETCH(QString, payment);
        QFETCH(QString, discountAmount);
        QFETCH(QString, paid);
        QFETCH(int, paidSize);
        QFETCH(int, rules);
        QFETCH(bool, paymentShown);
        QFETCH(bool, discountShown);
        QFETCH(bool, paidShown);

        ReceiptSettings settings = customSettings();
        settings.styles[9].size = paidSize;
        ReceiptContent content = sampleContent();
        content.paymentMethod = payment;
        content.discountName = QStringLiteral("满减");
        content.discountAmount = discountAmount;
        content.paid = paid;

        RecordingSurface surface(194);
        drawReceipt(surface, settings, content, nullptr, nullptr);
        QCOMPARE(ruleCount(surface), rules);
        QCOMPARE(surface.count(QStringLiteral("现金")) == 1, paymentShown);
        QCOMPARE(surface.count(QStringLiteral("折扣 减免")) == 1, discountShown);
        QCOMPARE(surface.count(QStringLiteral("满减")) == 1, discountShown);
        QCOMPARE(surface.count(QStringLiteral("已支付")) == 1, paidShown);
    }

    // Without a payment method the two rules frame the order time.
    void ruleInPlaceOfPayment() {
        ReceiptContent content = sampleContent();
        content.paymentMethod = QStringLiteral("无");
        RecordingSurface surface(194);
        drawReceipt(surface, customSettings(), content, nullptr, nullptr);
        const int time = int(surface.texts().indexOf(QStringLiteral("[下单时间] 2026年3月14日12时30分")));
        QVERIFY(isRule(surface.ops[time - 1]));
        QVERIFY(isRule(surface.ops[time + 1]));
    }

    void discountCountText() {
        ReceiptContent content = sampleContent();
        content.discountName = QStringLiteral("满减");
        content.discountAmount = QStringLiteral("3.5");
        content.discountCount = QStringLiteral("0");
        RecordingSurface surface(194);
        drawReceipt(surface, customSettings(), content, nullptr, nullptr);
        const int row = int(surface.texts().indexOf(QStringLiteral("满减")));
        // An empty middle column is not drawn; the amount follows the name at once.
        QCOMPARE(surface.ops[row + 1].text, QStringLiteral("3.5"));
        QCOMPARE(surface.ops[row + 1].y, surface.ops[row].y);
    }

    void longDishNameTakesTwoLines() {
        ReceiptContent content = sampleContent();
        content.lines.front().name = QStringLiteral("超级无敌特大号宫保鸡丁"); // 132 wide, more than 2 × 46
        content.lines.insert(
            1, {QStringLiteral("米饭"), QStringLiteral("1"), QStringLiteral("碗"), QStringLiteral("2")});
        RecordingSurface surface(194);
        drawReceipt(surface, customSettings(), content, nullptr, nullptr);
        const auto* name = surface.find(QStringLiteral("超级无敌"));
        QCOMPARE(surface.find(QStringLiteral("2份"))->y, name->y + 24);
        QCOMPARE(surface.find(QStringLiteral("36"))->y, name->y + 24);
        QCOMPARE(surface.find(QStringLiteral("米饭"))->y, name->y + 48);
        QCOMPARE(surface.find(QStringLiteral("1碗"))->y, name->y + 48);
        // The grid's empty entry row draws nothing.
        QCOMPARE(surface.count(QStringLiteral("份")), 1);
    }

    // A dish name wider than the printable width wraps; quantity and amount follow its last line.
    void longDishNameWraps_data() {
        QTest::addColumn<bool>("paper");
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("size");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QStringList>("nameLines");

        const QString sixteen = QStringLiteral("秘制香辣金牌招牌酸菜鱼配时令蔬菜");
        const QString twelve = sixteen.left(12);
        QTest::newRow("58 mm preview, 9 pt: fits") << false << 194 << 9 << sixteen << QStringList{sixteen};
        QTest::newRow("58 mm preview, 20 pt")
            << false << 194 << 20 << sixteen << QStringList{"秘制香辣金牌招", "牌酸菜鱼配时令", "蔬菜"};
        QTest::newRow("80 mm preview, 9 pt: fits") << false << 267 << 9 << sixteen << QStringList{sixteen};
        QTest::newRow("80 mm preview, 20 pt")
            << false << 267 << 20 << sixteen << QStringList{"秘制香辣金牌招牌酸菜", "鱼配时令蔬菜"};
        // 32 columns of "d" hold 16 wide characters by count, yet they measure 508 of 480.
        QTest::newRow("58 mm paper, 9 pt")
            << true << 480 << 9 << sixteen << QStringList{"秘制香辣金牌招牌酸菜鱼配时令蔬", "菜"};
        QTest::newRow("58 mm paper, 12 pt, 12 characters")
            << true << 480 << 12 << twelve << QStringList{"秘制香辣金牌招牌酸菜鱼", "配"};
        QTest::newRow("58 mm paper, 20 pt")
            << true << 480 << 20 << sixteen << QStringList{"秘制香辣金牌", "招牌酸菜鱼配", "时令蔬菜"};
        QTest::newRow("80 mm paper, 9 pt: fits") << true << 700 << 9 << sixteen << QStringList{sixteen};
        QTest::newRow("80 mm paper, 20 pt")
            << true << 700 << 20 << sixteen << QStringList{"秘制香辣金牌招牌酸", "菜鱼配时令蔬菜"};
    }

    void longDishNameWraps() {
        QFETCH(bool, paper);
        QFETCH(int, width);
        QFETCH(int, size);
        QFETCH(QString, name);
        QFETCH(QStringList, nameLines);

        ReceiptSettings settings = customSettings();
        settings.styles[5] = {size, false};
        ReceiptContent content = sampleContent();
        content.lines.front().name = name;
        content.lines.insert(
            1, {QStringLiteral("米饭"), QStringLiteral("1"), QStringLiteral("碗"), QStringLiteral("2")});
        std::unique_ptr<RecordingSurface> surface =
            paper ? std::make_unique<PaperSurface>(width) : std::make_unique<RecordingSurface>(width);
        drawReceipt(*surface, settings, content, nullptr, nullptr);

        const QStringList texts = surface->texts();
        const int first = int(texts.indexOf(QStringLiteral("小计"))) + 2;
        const int quantity = int(texts.indexOf(QStringLiteral("2份")));
        QCOMPARE(texts.mid(first, quantity - first), nameLines);
        QCOMPARE(texts.mid(quantity, 4), (QStringList{"2份", "36", "米饭", "1碗"}));

        surface->setFont(size, false);
        const int advance = surface->textHeight(QString()) + 6;
        const int top = surface->ops[first].y;
        for (int i = first; i < quantity + 2; ++i) {
            const auto& op = surface->ops[i];
            QVERIFY2(op.x >= 0 && op.x + surface->textWidth(op.text) <= width, qPrintable(op.text));
            QCOMPARE(op.y, top + std::min(i - first, int(nameLines.size())) * advance);
        }
        QCOMPARE(surface->ops[quantity + 2].y, top + int(nameLines.size() + 1) * advance);
    }

    // Wrapped texts (address, note, extra lines) count their columns by the width of "d" too; on paper a
    // wide character measures a little more, and no line may run past the printable width.
    void wrappedTextsStayOnThePaper() {
        ReceiptSettings settings = customSettings();
        const QString extra =
            QStringLiteral("欢迎光临本店，订餐请拨打电话，节假日照常营业，送餐上门快捷方便");
        settings.extra1 = {true, extra};
        ReceiptContent content = sampleContent();
        content.address = QStringLiteral("幸福路一百二十八号阳光花园小区三号楼二单元十八层一千八百零八室");
        content.note = QStringLiteral("少放辣椒不要香菜多放葱花米饭多加一份筷子两双谢谢");
        PaperSurface surface(480);
        drawReceipt(surface, settings, content, nullptr, nullptr);

        QString drawn;
        for (const auto& op : surface.ops) {
            const QString text = op.text.trimmed();
            if (text.isEmpty() || !(extra + content.address + content.note).contains(text))
                continue;
            surface.setFont(op.size, op.bold);
            QVERIFY2(op.x >= 0 && op.x + surface.textWidth(op.text) <= 480, qPrintable(op.text));
            drawn += text;
        }
        // Every character is still printed.
        for (const QString& whole : {extra, content.address, content.note})
            QVERIFY2(drawn.contains(whole.right(6)), qPrintable(whole));
    }

    void extraLines_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QList<int>>("xs");

        QTest::newRow("one line is centred") << "订餐电话:1390000****" << QList<int>{32};
        // 40 columns on a line of 32: the word moves down, both lines start at the left edge.
        QTest::newRow("two lines start at the left")
            << "订餐微信号: kfwx-0000-1111-2222-3333" << QList<int>{0, 0};
        QTest::newRow("empty text prints nothing") << "" << QList<int>{};
    }

    void extraLines() {
        QFETCH(QString, text);
        QFETCH(QList<int>, xs);

        ReceiptSettings settings = customSettings();
        settings.styles[1].bold = true; // the shop name's weight applies to the extra lines
        settings.extra2 = {true, text};
        RecordingSurface surface(194);
        drawReceipt(surface, settings, sampleContent(), nullptr, nullptr);

        const int shop = int(surface.texts().indexOf(QStringLiteral("白云快餐")));
        const int payment = int(surface.texts().indexOf(QStringLiteral("微信支付")));
        QList<int> drawn;
        for (int i = shop + 2; i < payment - 1; ++i) {
            const auto& op = surface.ops[i];
            if (op.text.trimmed().isEmpty())
                continue;
            QCOMPARE(op.size, 9);
            QVERIFY(op.bold);
            drawn << op.x;
        }
        QCOMPARE(drawn, xs);
    }

    void deliveryBlock_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("telephone");
        QTest::addColumn<QString>("note");
        QTest::addColumn<QStringList>("lines");

        QTest::newRow("name and telephone") << " 张三 "
                                            << "139"
                                            << "" << QStringList{"张三  139"};
        QTest::newRow("blank name") << "　 "
                                    << "139"
                                    << "" << QStringList{"139"};
        QTest::newRow("remark after a blank line") << ""
                                                   << ""
                                                   << "不要葱" << QStringList{" ", "不要葱"};
        QTest::newRow("remark with its own break")
            << ""
            << "139"
            << "不要葱\r\n多放醋" << QStringList{"139", " ", "不要葱", "多放醋"};
    }

    void deliveryBlock() {
        QFETCH(QString, name);
        QFETCH(QString, telephone);
        QFETCH(QString, note);
        QFETCH(QStringList, lines);

        ReceiptContent content = sampleContent();
        content.customerName = name;
        content.telephone = telephone;
        content.note = note;
        RecordingSurface surface(194);
        drawReceipt(surface, customSettings(), content, nullptr, nullptr);

        const QStringList texts = surface.texts();
        const int start = int(texts.indexOf(QStringLiteral("合计 ￥36"))) + 2;
        QCOMPARE(texts.mid(start, lines.size()), lines);
        for (int i = 0; i < lines.size(); ++i) {
            QCOMPARE(surface.ops[start + i].x, 0);
            QCOMPARE(surface.ops[start + i].y, surface.ops[start].y + i * 30);
            QCOMPARE(surface.ops[start + i].size, 12);
        }
        // The spacer line follows at once.
        QCOMPARE(surface.ops[start + lines.size() + 1].text, QStringLiteral("     "));
    }

    void printerRule() {
        RecordingSurface surface(480, ReceiptSurface::Kind::Printer);
        drawReceipt(surface, customSettings(), sampleContent(), nullptr, nullptr);
        const int time = int(surface.texts().indexOf(QStringLiteral("[下单时间] 2026年3月14日12时30分")));
        QCOMPARE(surface.ops[time + 1].text, dashes(80));
        QCOMPARE(surface.ops[time + 1].x, 2);

        RecordingSurface preview(480);
        drawReceipt(preview, customSettings(), sampleContent(), nullptr, nullptr);
        QCOMPARE(preview.ops[time + 1].text, dashes(79));
        QCOMPARE(preview.ops[time + 1].x, 0);
    }

    void picturesNeedTheirFlag() {
        const QImage picture(430, 430, QImage::Format_RGB32);
        const QImage broken;
        ReceiptSettings settings = customSettings();
        settings.topPicture = false;
        settings.bottomPicture = true;
        RecordingSurface surface(194);
        drawReceipt(surface, settings, sampleContent(), &picture, &broken);
        QVERIFY(!surface.texts().contains(QStringLiteral("[picture]")));
    }
};

QTEST_APPLESS_MAIN(ReceiptLayoutTest)
#include "tst_receiptlayout.moc"
