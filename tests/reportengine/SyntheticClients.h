#pragma once

#include "TRelMemoryConnection.h"

#include <memory>

namespace rtest {

enum class Kind { Fisica, Juridica };

// Clients as the selection dataset shows them to a report: the 45 columns of
// the client record, masked display texts, nulls, accents, and long
// observations on every third client.
std::unique_ptr<rel::TRelMemoryConnection> makeClients(int count, Kind kind);

// One client with the given name and observation, everything else empty.
rel::TRelMemoryConnection::Row bareClient(const QString &name, const QString &obs, Kind kind);

QStringList clientColumns();
QString kindText(Kind kind);

// The shipped project file in the source tree.
QString sourceProjectFile();

} // namespace rtest

class TClientDataSet;

namespace rtest {

// Writes the rows into a clients dataset and applies them to its table.
void storeClients(TClientDataSet &clients, const rel::TRelMemoryConnection &rows);

} // namespace rtest
