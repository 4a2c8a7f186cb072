#pragma once

#include "store/opendatabase.h"

// The database as start-up opens it: created or upgraded by the store, then given the first-run receipt
// settings it is missing.
namespace qm {

OpenedDatabase openProgramDatabase(const Home& home, const LongStepNotice& notice = {});

} // namespace qm
