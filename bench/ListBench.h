#pragma once

#include "Results.h"

class TDMbanco;

namespace vbench {

// The client list window: opening it, and a keystroke in its search box until the
// grid has followed and repainted, each beside a reference taken in turn with it
// (a bare grid window; the bare Locate of the same text). Needs a QApplication.
void measureListWindow(const SizeRun &run, TDMbanco &dm);

} // namespace vbench
