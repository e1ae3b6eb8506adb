#pragma once

#include <QSqlDatabase>
#include <QSqlError>
#include <QString>

// A connection of its own to a database file other than the program's (a
// backup, a copy being built), removed with the object. Read-only never
// creates or changes the file; otherwise a missing file is created.
class FileConnection
{
public:
    FileConnection(const QString &path, bool readOnly);
    ~FileConnection();
    FileConnection(const FileConnection &) = delete;
    FileConnection &operator=(const FileConnection &) = delete;

    bool opened() const { return m_opened; }
    QSqlError openError() const { return m_error; }
    QSqlDatabase database() const { return QSqlDatabase::database(m_name, false); }

private:
    QString m_name;
    bool m_opened = false;
    QSqlError m_error;
};
