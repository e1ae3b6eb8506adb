#pragma once

#include "ClientDocuments.h"

#include <QString>

#include <optional>

namespace vosmira {

// When a client other than the one numbered excluding already holds the CPF
// or CNPJ, says so in a plain box, naming that client. A warning only: the
// caller goes on as it would have.
void warnDuplicateDocument(ClientDocuments::Document document, const QString &number,
                           std::optional<qint64> excluding = std::nullopt);

} // namespace vosmira
