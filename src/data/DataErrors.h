#pragma once

#include <QString>

#include <stdexcept>

// Errors of the data store. what() is UTF-8; text() gives the message back as a QString.
class DataError : public std::runtime_error
{
public:
    explicit DataError(const QString &message);
    QString text() const;
};

// The database refused an operation, or its file is not what the program expects.
class DatabaseError : public DataError
{
public:
    using DataError::DataError;
};

class QSqlError;

// The database's own wording of an error, or Qt's when the database gave none.
QString databaseMessage(const QSqlError &error);
