#include "app/programdatabase.h"

#include "core/home.h"
#include "receipt/receiptdefaults.h"
#include "store/settings.h"

namespace qm {

OpenedDatabase openProgramDatabase(const Home& home, const LongStepNotice& notice) {
    OpenedDatabase opened = openDatabase(home, notice);
    if (opened.db)
        ensureReceiptDefaults(RecordStore(*opened.db), ConfigFile(home.configPath()));
    return opened;
}

} // namespace qm
