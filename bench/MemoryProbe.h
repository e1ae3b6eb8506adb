#pragma once

#include "Results.h"

namespace vbench {

// Resident memory after the connect sequence, measured in a fresh process of this
// program (started with --memory-probe) so that earlier sizes leave nothing behind.
void measureMemory(const SizeRun &run);

// The child side: connects on the program folder and prints
// "<rss before> <rss after> <peak after> <rows>" in KiB. Returns the exit code.
int runMemoryProbe(const QString &programFolder);

} // namespace vbench
