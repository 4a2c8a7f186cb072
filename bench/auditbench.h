#pragma once

// The record of changes (操作记录) on a fresh home holding `rows` rows: the 操作记录 window opening (count,
// the newest page, the list filled), a filtered search, the check of the whole chain, and appending one row.
namespace qm::bench {

void benchAudit(int rows);

} // namespace qm::bench
