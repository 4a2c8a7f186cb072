#pragma once

// The first-run receipt settings, written at start-up when their rows are missing.
namespace qm {

class RecordStore;
class ConfigFile;

// Three independent groups, each keyed on the existence of one 记录 row. The legacy entries DHH, TX and
// QQ of the configuration file seed the extra lines; the file is only read.
void ensureReceiptDefaults(const RecordStore& records, const ConfigFile& config);

} // namespace qm
