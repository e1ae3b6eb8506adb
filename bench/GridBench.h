#pragma once

#include "Results.h"

class TDMbanco;

namespace vbench {

// Cursor moves and a filter switch on the clients dataset with a shown grid bound
// to it, each beside the same without the grid, in turn within each repetition.
// Needs a QApplication; leaves the dataset unfiltered.
void measureGrid(const SizeRun &run, TDMbanco &dm);

} // namespace vbench
