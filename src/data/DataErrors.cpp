#include "DataErrors.h"

#include <QSqlError>

DataError::DataError(const QString &message)
    : std::runtime_error(message.toStdString())
{
}

QString DataError::text() const
{
    return QString::fromUtf8(what());
}

QString databaseMessage(const QSqlError &error)
{
    const QString text = error.databaseText();
    return text.isEmpty() ? error.text() : text;
}
