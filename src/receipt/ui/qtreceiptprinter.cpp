#include "receipt/ui/qtreceiptprinter.h"

#include "core/ui/qtplatform.h"
#include "receipt/paintersurface.h"

#include <QApplication>
#include <QPageLayout>
#include <QPrintDialog>
#include <QPrinterInfo>

#include <algorithm>
#include <cmath>

namespace qm {

namespace {

constexpr int unitsPerInch = 254;

bool headless() {
    const QString name = QGuiApplication::platformName();
    return name == QLatin1String("offscreen") || name == QLatin1String("minimal");
}

// The printer chosen last is offered again by the next dialog.
QString& lastPrinterName() {
    static QString name;
    return name;
}

} // namespace

QtReceiptPrinter::QtReceiptPrinter(std::unique_ptr<QPrinter> printer, const PrintRequest& request)
    : m_printer(std::move(printer))
    , m_request(request) {
    m_printer->setDocName(request.documentName);
    m_printer->setFullPage(false);
    m_printer->setResolution(unitsPerInch);
    // A driver may keep a resolution of its own; the painter then maps 0.1 mm onto its pixels.
    m_scale = double(m_printer->resolution()) / unitsPerInch;
}

QtReceiptPrinter::~QtReceiptPrinter() {
    if (m_painter.isActive())
        m_painter.end();
}

QPageLayout QtReceiptPrinter::pageLayout(const PrintRequest& request, int height) {
    const double paperWidth = request.paperWidthMm;
    const double side = std::max(0.0, (paperWidth - request.printWidth / 10.0) / 2);
    // A whole millimetre more than the receipt, so that rounding the page to points never cuts it; never
    // shorter than wide, so that the page keeps its upright orientation.
    const double length = std::max(paperWidth, std::ceil(height / 10.0) + 1);
    const QPageSize size(QSizeF(paperWidth, length), QPageSize::Millimeter, QString(), QPageSize::ExactMatch);
    return QPageLayout(size, QPageLayout::Portrait, QMarginsF(side, 0, side, 0), QPageLayout::Millimeter);
}

bool QtReceiptPrinter::printPage(const std::function<int(ReceiptSurface&)>& draw) {
    PainterSurface measure(m_printer.get(), nullptr, m_request.printWidth, ReceiptSurface::Kind::Printer,
                           m_scale);
    const QPageLayout layout = pageLayout(m_request, draw(measure));

    const bool document = m_printer->outputFormat() == QPrinter::PdfFormat;
    if (m_painter.isActive()) {
        m_printer->setPageLayout(layout);
        if (!m_printer->newPage())
            return false;
        m_painter.resetTransform();
    } else {
        m_printer->setPageLayout(layout);
        if (!m_painter.begin(m_printer.get()))
            return false;
    }
    PainterSurface page(m_printer.get(), &m_painter, m_request.printWidth, ReceiptSurface::Kind::Printer,
                        m_scale);
    draw(page);
    if (!document)
        return m_painter.end();
    return true;
}

std::unique_ptr<ReceiptPrinter> QtPlatform::choosePrinter(const PrintRequest& request) {
    auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    printer->setPageLayout(QtReceiptPrinter::pageLayout(request, 0));

    // A file named by QUILLMENU_PRINT_PDF takes the receipts without a dialog (for trying out and tests).
    const QString pdfFile = qEnvironmentVariable("QUILLMENU_PRINT_PDF");
    if (!pdfFile.isEmpty()) {
        printer->setOutputFormat(QPrinter::PdfFormat);
        printer->setOutputFileName(pdfFile);
        return std::make_unique<QtReceiptPrinter>(std::move(printer), request);
    }

    // Without a screen no one can answer the dialog: the default printer is used, if there is one.
    if (headless()) {
        const QPrinterInfo info = QPrinterInfo::defaultPrinter();
        if (info.isNull())
            return nullptr;
        printer->setPrinterName(info.printerName());
        printer->setPageLayout(QtReceiptPrinter::pageLayout(request, 0));
        return std::make_unique<QtReceiptPrinter>(std::move(printer), request);
    }

    // Naming a printer gives it that printer's default paper (often Letter): the receipt's own roll is set
    // again after it, so that the dialog's 属性 shows the paper the job is printed on.
    if (!lastPrinterName().isEmpty()) {
        printer->setPrinterName(lastPrinterName());
        printer->setPageLayout(QtReceiptPrinter::pageLayout(request, 0));
    }
    QPrintDialog dialog(printer.get(), owner());
    dialog.setWindowTitle(QStringLiteral("打印"));
    dialog.setOption(QAbstractPrintDialog::PrintPageRange, false);
    dialog.setOption(QAbstractPrintDialog::PrintCollateCopies, false);
    if (dialog.exec() != QDialog::Accepted)
        return nullptr;
    if (printer->outputFormat() == QPrinter::NativeFormat)
        lastPrinterName() = printer->printerName();
    return std::make_unique<QtReceiptPrinter>(std::move(printer), request);
}

} // namespace qm
