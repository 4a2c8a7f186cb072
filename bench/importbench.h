#pragma once

// Import timings: the preview of a 10,000-row dish file and its import in one transaction, on a fresh home.
namespace qm::bench {

void benchImport();

} // namespace qm::bench
