#include "receipt/printing.h"

#include "core/home.h"
#include "core/platform.h"
#include "receipt/directprinter.h"
#include "receipt/printerchoice.h"
#include "receipt/rasterreceipt.h"
#include "receipt/receiptcontent.h"
#include "receipt/receiptlayout.h"
#include "receipt/receiptpictures.h"
#include "receipt/receiptsettings.h"
#include "store/settings.h"
#include "store/tillfile.h"

#include <QImage>

namespace qm {

namespace {

// A printer driven directly that tells the user why a page did not go out.
class TellingDirectPrinter : public ReceiptPrinter {
public:
    TellingDirectPrinter(Platform& platform, std::unique_ptr<DirectPrinter> printer)
        : m_platform(platform)
        , m_printer(std::move(printer)) {}
    bool printPage(const std::function<int(ReceiptSurface&)>& draw) override {
        if (m_printer->printPage(draw))
            return true;
        tellSendFailure(m_platform, m_printer->lastResult());
        return false;
    }

private:
    Platform& m_platform;
    std::unique_ptr<DirectPrinter> m_printer;
};

} // namespace

std::unique_ptr<ReceiptPrinter> openReceiptPrinter(Platform& platform, const RecordStore& records,
                                                   const TillFile& till, const PrintRequest& request) {
    if (const PrinterChoice choice = loadPrinterChoice(records, till); choice.direct()) {
        return std::make_unique<TellingDirectPrinter>(
            platform, std::make_unique<DirectPrinter>(platform, makeSender(choice), request.printWidth,
                                                      rasterDots(request.paperWidthMm)));
    }
    return platform.choosePrinter(request);
}

bool printReceipt(Platform& platform, const RecordStore& records, const ConfigFile& config, const Home& home,
                  const ReceiptContent& content, bool singleCopy) {
    const ReceiptSettings settings = loadReceiptSettings(records, config, true);
    const QImage top = settings.topPicture ? loadPrintPicture(home, PicturePlace::Top) : QImage();
    const QImage bottom = settings.bottomPicture ? loadPrintPicture(home, PicturePlace::Bottom) : QImage();

    PrintRequest request;
    request.paperWidthMm = settings.type == ReceiptType::Mm58 ? 58 : 80;
    request.printWidth = settings.printWidth;
    request.documentName = QStringLiteral("小票 #") + content.orderNumber;
    const std::unique_ptr<ReceiptPrinter> printer =
        openReceiptPrinter(platform, records, TillFile(home.tillPath()), request);
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
