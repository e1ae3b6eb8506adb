#pragma once

#include "Results.h"

class TDMbanco;

namespace vbench {

// What the data store costs, each beside its reference figure. dm must be made
// on run.programFolder; each function leaves both datasets open.
void measureOpen(const SizeRun &run, TDMbanco &dm);
void measureSearch(const SizeRun &run, TDMbanco &dm);
void measureFilter(const SizeRun &run, TDMbanco &dm);
void measureCopy(const SizeRun &run, TDMbanco &dm);
// Writes to the database file: run it after everything that reads the file as generated.
void measureApply(const SizeRun &run, TDMbanco &dm);

} // namespace vbench
