#include "receiptbench.h"

#include "benchutil.h"

#include "core/home.h"
#include "core/ui/qtplatform.h"
#include "receipt/printing.h"
#include "receipt/receiptcontent.h"
#include "receipt/ui/previewwindow.h"
#include "store/settings.h"

#include <QFont>
#include <QTemporaryDir>
#include <QWidget>

#include <cstdio>

namespace qm::bench {

namespace {

ReceiptContent thirtyLineOrder() {
    ReceiptContent content;
    content.orderNumber = QStringLiteral("128");
    content.ticketHeader = QStringLiteral("微信点餐");
    content.shopName = QStringLiteral("白云快餐");
    content.paymentMethod = QStringLiteral("微信支付");
    content.orderTime = QStringLiteral("2026年3月14日12时30分");
    for (int i = 0; i < 30; ++i) {
        content.lines.append({QStringLiteral("红烧排骨饭%1").arg(i + 1), QStringLiteral("2"),
                              QStringLiteral("份"), QStringLiteral("36")});
    }
    content.discountName = QStringLiteral("满减");
    content.discountAmount = QStringLiteral("20");
    content.total = QStringLiteral("1060");
    content.paid = QStringLiteral("1060");
    content.tableName = QStringLiteral("外卖");
    content.customerName = QStringLiteral("张三");
    content.telephone = QStringLiteral("13900001111");
    content.address = QStringLiteral("幸福路1号3单元502室");
    content.note = QStringLiteral("少辣，不要香菜，米饭多一点");
    return content;
}

} // namespace

void benchReceipt() {
    QTemporaryDir temporary;
    const Home home(temporary.path());
    OpenedDatabase opened = openBenchDatabase(home, "receipt bench");
    if (!opened.db)
        return;
    QFont::insertSubstitution(QStringLiteral("宋体"), QStringLiteral("AR PL UMing CN"));
    const RecordStore records(*opened.db);
    const ReceiptContent content = thirtyLineOrder();

    // The first-run settings have both pictures on; the first rendering writes their files.
    QWidget mainWindow;
    mainWindow.setGeometry(0, 0, 791, 723);
    PreviewWindow preview(&mainWindow, *opened.db, home, [&content] { return content; });
    figure(QStringLiteral("preview redraw, 30 lines, both pictures"), meanMs(50, [&] { preview.render(); }),
           "ms");
    figure(QStringLiteral("  preview board height"), preview.boardSize().height(), "px");

    QtPlatform platform;
    const QString pdf = home.filePath(QStringLiteral("receipt.pdf"));
    qputenv("QUILLMENU_PRINT_PDF", pdf.toLocal8Bit());
    records.update(QStringLiteral("打印份数"), QStringLiteral("1"));
    const ConfigFile config(home.configPath());
    figure(QStringLiteral("receipt to PDF, one copy with pictures"),
           meanMs(10, [&] { printReceipt(platform, records, config, home, content, false); }), "ms");
    // Every dish name wider than the paper, so that every item row wraps.
    ReceiptContent longNames = content;
    for (OrderLine& line : longNames.lines)
        line.name = QStringLiteral("秘制香辣金牌招牌酸菜鱼配时令蔬菜");
    figure(QStringLiteral("receipt to PDF, 30 lines of 16-character names"),
           meanMs(10, [&] { printReceipt(platform, records, config, home, longNames, false); }), "ms");
    qunsetenv("QUILLMENU_PRINT_PDF");
}

} // namespace qm::bench
