#pragma once

#include "Results.h"

namespace vbench {

// A plain copy of the database file as a backup makes it, beside cp of the same
// file. The file must not be open meanwhile.
void measureFileCopy(const SizeRun &run);

} // namespace vbench
