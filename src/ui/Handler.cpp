#include "Handler.h"

#include "Dialogs.h"

namespace vosmira {

void reportException(const std::exception_ptr &error) noexcept
{
    QString text;
    try {
        std::rethrow_exception(error);
    } catch (const std::exception &e) {
        text = QString::fromUtf8(e.what());
    } catch (...) {
        text = QStringLiteral("Erro desconhecido.");
    }
    try {
        msg::error(text);
    } catch (...) {
        // Nothing sensible is left to do if the error box itself fails.
    }
}

} // namespace vosmira
