#include "receipt/ui/printerlists.h"

#include "core/ui/dropdowncombobox.h"
#include "receipt/printerchoice.h"

#include <QPrinterInfo>

namespace qm {

namespace {

void refill(QComboBox* box, const QStringList& items) {
    const QString typed = box->currentText();
    box->clear();
    box->addItems(items);
    box->setCurrentText(typed);
}

} // namespace

void listPrintersOnDropDown(DropDownComboBox* device, DropDownComboBox* queue) {
    device->setAboutToDropDown([device] { refill(device, findUsbPrinters()); });
    queue->setAboutToDropDown([queue] { refill(queue, QPrinterInfo::availablePrinterNames()); });
    refill(device, findUsbPrinters());
}

} // namespace qm
