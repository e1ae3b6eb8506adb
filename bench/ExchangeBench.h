#pragma once

#include "Results.h"

namespace vbench {

// vosmira-db's export and import of the whole table beside sqlite3's own
// .mode csv export and .import of the same table, and the duplicate lookup
// of the registration window.
void measureExchange(const SizeRun &run);

} // namespace vbench
