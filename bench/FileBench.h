#pragma once

#include "Results.h"

namespace vbench {

// A whole backup and a whole restore of the database file as the backup window
// makes them, each step timed on its own too, beside cp of the same file.
void measureBackup(const SizeRun &run);

} // namespace vbench
