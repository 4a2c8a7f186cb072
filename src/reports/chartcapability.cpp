#include "reports/chartcapability.h"

#include "core/platform.h"

namespace qm {

namespace {
std::optional<bool> overridden;
} // namespace

QUrl chartSupportPage() {
    return QUrl(QStringLiteral("https://packages.debian.org/bookworm/libqt6charts6"));
}

bool chartsAvailable() {
    return overridden.value_or(true);
}

void overrideChartsAvailable(std::optional<bool> available) {
    overridden = available;
}

bool checkChartSupport(Platform& platform) {
    if (chartsAvailable())
        return true;
    if (platform.askYesNo(chartSupportQuestion, MessageIcon::Warning))
        platform.openUrl(chartSupportPage());
    return false;
}

} // namespace qm
