#include "receipt/printing.h"

#include "core/platform.h"
#include "receipt/directprinter.h"
#include "receipt/printerchoice.h"
#include "receipt/rasterreceipt.h"
#include "receipt/receiptcontent.h"
#include "receipt/receiptlayout.h"
#include "receipt/receiptpictures.h"
#include "receipt/receiptsettings.h"
#include "store/settings.h"

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
    // The printers driven directly need no dialog: the stored choice names them.
    std::unique_ptr<ReceiptPrinter> printer;
    DirectPrinter* direct = nullptr;
    if (const PrinterChoice choice = loadPrinterChoice(records); choice.direct()) {
        auto own = std::make_unique<DirectPrinter>(platform, makeSender(choice), settings.printWidth,
                                                   rasterDots(request.paperWidthMm));
        direct = own.get();
        printer = std::move(own);
    } else {
        printer = platform.choosePrinter(request);
    }
    if (!printer)
        return false;
    const auto failed = [&platform, direct] {
        if (direct)
            tellSendFailure(platform, direct->lastResult());
        return false;
    };

    const bool first = printer->printPage(
        [&](ReceiptSurface& surface) { return drawReceipt(surface, settings, content, &top, &bottom); });
    if (!first)
        return failed();
    if (singleCopy)
        return true;

    const int copies = receiptCopies(records);
    for (int copy = 2; copy <= copies; ++copy) {
        const bool printed = printer->printPage([&](ReceiptSurface& surface) {
            return drawReceipt(surface, settings, content, nullptr, nullptr);
        });
        if (!printed)
            return failed();
    }
    return true;
}

} // namespace qm
