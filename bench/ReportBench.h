#pragma once

#include "Results.h"

class TDMbanco;

namespace vbench {

// A run of the report with every section over all clients of the selection
// (a whole-content copy of the clients, filter off), recorded into a page stream
// and rendered to PDF, HTML, RTF and plain text. Leaves the selection filled.
void measureReports(const SizeRun &run, TDMbanco &dm);

// Wrapping one name without blanks of 100,000 and of 400,000 characters into a
// field of the report: the ratio of the two shows how the cost grows.
void measureWrapping(Results &results);

} // namespace vbench
