#include "receipt/printing.h"

#include "core/platform.h"
#include "receipt/receiptcontent.h"
#include "receipt/receiptlayout.h"
#include "receipt/receiptpictures.h"
#include "receipt/receiptsettings.h"

#include <QImage>

namespace qm {

bool printReceipt(Platform& platform, const RecordStore& records, const ConfigFile& config, const Home& home,
                  const ReceiptContent& content, bool singleCopy) {
    const ReceiptSettings settings = loadReceiptSettings(records, config, true);
    const QImage top = settings.topPicture ? loadPrintPicture(home, PicturePlace::Top) : QImage();
    const QImage bottom = settings.bottomPicture ? loadPrintPicture(home, PicturePlace::Bottom) : QImage();

    PrintRequest request;
    request.paperWidthMm = settings.type == ReceiptType::Mm58 ? 58 : 80;
    request.printWidth = settings.printWidth;
    request.documentName = QStringLiteral("小票 #") + content.orderNumber;
    const std::unique_ptr<ReceiptPrinter> printer = platform.choosePrinter(request);
    if (!printer)
        return false;

    const bool first = printer->printPage(
        [&](ReceiptSurface& surface) { return drawReceipt(surface, settings, content, &top, &bottom); });
    if (!first)
        return false;
    if (singleCopy)
        return true;

    const int copies = receiptCopies(records);
    for (int copy = 2; copy <= copies; ++copy) {
        const bool printed = printer->printPage([&](ReceiptSurface& surface) {
            return drawReceipt(surface, settings, content, nullptr, nullptr);
        });
        if (!printed)
            return false;
    }
    return true;
}

} // namespace qm
