#pragma once

#include <QString>

namespace vbench {

// The seed every benchmark database is drawn from; the first clients are the same
// for every size.
inline constexpr quint64 DefaultSeed = 20240917;
// Raised whenever the generator draws differently, so kept databases are rewritten.
inline constexpr int GeneratorVersion = 1;

// Writes a database file of n clients through the program's own table layout:
// CAD_CLIENTE holds n - 1 generated clients and, halfway through, the one whose
// name sorts last (ClientGenerator::lastInOrder); PED_CLIENTE is empty, as the
// program never writes it. Replaces any file at path. Throws DatabaseError.
void writeClientDatabase(const QString &path, int n, quint64 seed = DefaultSeed);

} // namespace vbench
