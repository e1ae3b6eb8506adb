#include "DuplicateWarning.h"

#include "DataErrors.h"
#include "Dialogs.h"
#include "UDMbanco.h"

namespace vosmira {

void warnDuplicateDocument(ClientDocuments::Document document, const QString &number, std::optional<qint64> excluding)
{
    if (!DMbanco || !DMbanco->Connected())
        return;
    std::optional<ClientDocuments::Holder> holder;
    try {
        holder = ClientDocuments::findHolder(DMbanco->database(), document, number, excluding);
    } catch (const DatabaseError &) {
        // The lookup only advises: a file busy for a moment must not put an
        // error box in the way of typing, and nothing typed is at stake.
        return;
    }
    if (holder)
        msg::plain(ClientDocuments::duplicateMessage(document, holder->name));
}

} // namespace vosmira
