#include "app/startupchecks.h"

#include "app/singleinstance.h"
#include "core/platform.h"
#include "reports/chartcapability.h"

namespace qm {

StartupChecks runStartupChecks(SingleInstance& instance, Platform& platform) {
    StartupChecks checks;
    if (!instance.acquire()) {
        platform.showMessage(alreadyRunningMessage, MessageIcon::Warning);
        return checks;
    }
    checks.proceed = true;
    checks.today = platform.now().date();
    checks.chartsAvailable = checkChartSupport(platform);
    return checks;
}

} // namespace qm
