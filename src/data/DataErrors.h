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
    // Why, as far as the user can act on it.
    enum class Reason {
        Other,
        ReadOnly, // the file, or its folder, may be read but not changed
        InUse,    // another program holds a lock on it
        DiskFull,
        DiskError, // reading or writing the disk failed
        Damaged,
        NotADatabase, // not an SQLite file at all
        Missing,
        Unreadable,  // there, but the system refuses to let it be read
        RowChanged,  // another program changed or deleted the row meanwhile
        Unreachable, // the database server cannot be reached, or the connection to it was lost
        Refused,     // the server answers but refuses this user, or lacks the database
    };

    explicit DatabaseError(const QString &message, Reason reason = Reason::Other);
    Reason reason() const { return m_reason; }

private:
    Reason m_reason;
};

class QSqlError;

// The database's own wording of an error, or Qt's when the database gave none.
QString databaseMessage(const QSqlError &error);
// The reason behind an error: SQLite's result code, or PostgreSQL's SQLSTATE.
DatabaseError::Reason databaseReason(const QSqlError &error);
// The same for an error on a server's connection, where a failure without an
// SQLSTATE comes from the connection itself: the server is out of reach.
DatabaseError::Reason serverReason(const QSqlError &error);
DatabaseError::Reason sqlStateReason(const QString &sqlState);
DatabaseError::Reason sqliteReason(int resultCode);

// A reason in the user's words, to follow a colon: "o banco de dados está em uso
// por outro programa".
QString reasonText(DatabaseError::Reason reason);

// What a client window says when the database refuses its change. The window
// stays as it was, so the user can try again or give up; a row another desk
// changed meanwhile is named in the words the user knows from other programs.
QString refusedSaveMessage(const DatabaseError &error);
QString refusedDeleteMessage(const DatabaseError &error);

// What the program says when the database file cannot be opened at start: the
// file missing, in the long-standing words that suggest reinstalling; a file
// that is there but cannot be used, why, without inviting anyone to replace it;
// a server that cannot be reached or refuses the desk, named as shownPath.
QString connectFailureMessage(const DatabaseError &error, const QString &shownPath);
