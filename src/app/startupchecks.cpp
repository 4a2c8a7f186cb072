#include "app/startupchecks.h"

#include "app/singleinstance.h"
#include "core/platform.h"
#include "reports/chartcapability.h"

namespace qm {

StartupChecks runStartupChecks(SingleInstance& instance, Platform& platform) {
    StartupChecks checks;
    if (!instance.acquire()) {
        // Only a running copy is "already running"; a home that cannot be written is a failure to open.
        if (instance.state() == SingleInstance::State::Failed)
            platform.showMessage(databaseOpenFailedMessage + QLatin1Char('\n') + instance.failure(),
                                 MessageIcon::Stop);
        else
            platform.showMessage(alreadyRunningMessage, MessageIcon::Warning);
        return checks;
    }
    checks.proceed = true;
    checks.today = platform.now().date();
    checks.chartsAvailable = checkChartsInstalled(platform);
    return checks;
}

} // namespace qm
