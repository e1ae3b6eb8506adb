#pragma once

#include "Results.h"

class TDMbanco;

namespace vbench {

// The registration form's checks, `cpf` and `cgc`, over every number in the
// clients dataset: seconds per number.
void measureCheckDigits(const SizeRun &run, TDMbanco &dm);

} // namespace vbench
