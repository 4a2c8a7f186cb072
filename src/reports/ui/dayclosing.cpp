#include "reports/ui/dayclosing.h"

#include "core/datetimetext.h"
#include "core/home.h"
#include "core/platform.h"
#include "receipt/printing.h"
#include "receipt/receiptsettings.h"
#include "reports/dayclosingsummary.h"
#include "staff/staffsession.h"
#include "store/closingstore.h"
#include "store/database.h"
#include "store/settings.h"

#include <QWidget>

namespace qm {

bool printDayClosing(QWidget* parent, Database& db, Platform& platform, const Home& home, const QDate& day) {
    if (!day.isValid())
        return false;
    // Reading a busy day takes a moment on a slow disk: the window in front shows it is working.
    if (parent)
        parent->setCursor(Qt::WaitCursor);
    QString error;
    const std::optional<ClosingRows> rows = loadClosingRows(db, closingStart(day), closingEnd(day), &error);
    if (parent)
        parent->unsetCursor();
    if (!rows) {
        platform.showMessage(
            QStringLiteral("无法读取%1的点单数据，日结单没有打印。\r\n\r\n%2").arg(dateText(day), error),
            MessageIcon::Stop);
        return false;
    }
    const bool staffMode = RecordStore(db).read(staffModeKey) == QStringLiteral("1");
    const DayClosing closing = computeDayClosing(*rows, day, platform.now(), staffMode);

    const ReceiptSettings settings =
        loadReceiptSettings(RecordStore(db), ConfigFile(home.configPath()), true);
    PrintRequest request;
    request.paperWidthMm = settings.type == ReceiptType::Mm58 ? 58 : 80;
    request.printWidth = settings.printWidth;
    request.documentName = QStringLiteral("日结 ") + dateText(day);
    const std::unique_ptr<ReceiptPrinter> printer =
        openReceiptPrinter(platform, RecordStore(db), TillFile(home.tillPath()), request);
    if (!printer)
        return false;
    const bool printed =
        printer->printPage([&](ReceiptSurface& surface) { return drawDayClosing(surface, closing); });
    if (!printed)
        platform.showMessage(QStringLiteral("日结单没有打印出来，请检查打印机后再试。"),
                             MessageIcon::Warning);
    return printed;
}

} // namespace qm
