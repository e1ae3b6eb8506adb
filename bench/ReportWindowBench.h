#pragma once

#include "Results.h"

class TDMbanco;

namespace vbench {

// The report window's own steps with the window shown and both grids bound,
// each beside the same dataset operations without the window: opening,
// ">>", a kind switch and ">" of the one client not yet selected. Needs a
// QApplication; sets and clears the global data module and program folder.
void measureReportWindow(const SizeRun &run, TDMbanco &dm);

} // namespace vbench
