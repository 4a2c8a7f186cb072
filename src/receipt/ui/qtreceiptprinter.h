#pragma once

#include "core/platform.h"

#include <QPainter>
#include <QPrinter>

#include <memory>

namespace qm {

// A receipt printer on a QPrinter (CUPS, or a PDF file). Its unit is 0.1 mm (254 dpi), its paper as wide
// as the roll and each page as long as the receipt on it, measured before the page is started. Every
// page is a job of its own; a PDF file instead collects all pages of one print in one document.
class QtReceiptPrinter : public ReceiptPrinter {
public:
    QtReceiptPrinter(std::unique_ptr<QPrinter> printer, const PrintRequest& request);
    ~QtReceiptPrinter() override;

    bool printPage(const std::function<int(ReceiptSurface&)>& draw) override;

    // The page layout of one receipt `height` units long: the roll's width, the print width centred on it.
    static QPageLayout pageLayout(const PrintRequest& request, int height);

private:
    std::unique_ptr<QPrinter> m_printer;
    PrintRequest m_request;
    QPainter m_painter; // active across pages while a PDF document is open
    double m_scale = 1.0;
};

} // namespace qm
