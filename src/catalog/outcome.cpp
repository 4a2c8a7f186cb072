#include "catalog/outcome.h"

#include "core/platform.h"

namespace qm {

bool tellRefusal(Platform& platform, const Outcome& outcome, const std::function<void(int row)>& selectRow) {
    if (outcome.done)
        return false;
    if (!outcome.message.isEmpty())
        platform.showMessage(outcome.message, MessageIcon::Information);
    if (outcome.row >= 0)
        selectRow(outcome.row);
    return true;
}

} // namespace qm
