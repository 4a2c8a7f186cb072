#pragma once

#include "core/platform.h"
#include "receipt/rawsenders.h"

#include <memory>

// Receipts and drawer kicks for the printers the program drives itself (network, USB, CUPS raw queue).
namespace qm {

struct PrinterChoice;

// The first words of every message about a direct printer that could not be reached.
inline const QString notConnectedPrefix = QStringLiteral("打印机未连接：");

// Sends one job on a thread of its own and waits for it. The windows keep drawing; when the send takes
// longer than a moment, a progress window offers to cancel it.
SendResult sendJob(Platform& platform, const std::shared_ptr<const RawSender>& sender, const QByteArray& job);

// Shows "打印机未连接：" + the reason of a failed send, or that the printer is busy with an earlier one; a
// cancelled send needs no word.
void tellSendFailure(Platform& platform, const SendResult& result);

// A receipt printer without a dialog: each page drawn as a 1-bit picture and sent as one ESC/POS job.
class DirectPrinter : public ReceiptPrinter {
public:
    // `printWidth` is the layout's width in 0.1 mm, drawn across `dots` printer dots.
    DirectPrinter(Platform& platform, std::shared_ptr<const RawSender> sender, int printWidth, int dots);

    bool printPage(const std::function<int(ReceiptSurface&)>& draw) override;
    // How the last page went.
    const SendResult& lastResult() const { return m_last; }

private:
    Platform& m_platform;
    std::shared_ptr<const RawSender> m_sender;
    int m_printWidth;
    int m_dots;
    SendResult m_last;
};

// The drawer kick through the chosen printer ("打开钱箱"). The system printer cannot pass it on; the
// user is told so. False when the drawer was not kicked.
bool openCashDrawer(Platform& platform, const PrinterChoice& choice, const SendLimits& limits = {});

} // namespace qm
