#include "app/ui/qtplatform.h"

namespace qm {

// Printing arrives with the receipt printer surface; until then no printer can be chosen.
std::unique_ptr<ReceiptPrinter> QtPlatform::choosePrinter(const PrintRequest&) {
    return nullptr;
}

} // namespace qm
