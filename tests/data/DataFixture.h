#pragma once

#include <QString>
#include <QTemporaryDir>
#include <QVariant>

#include <memory>

class TDMbanco;

// A temporary program folder holding Banco/Vosmira BANCO.mdb, and raw SQL access to
// that file through a connection of its own, to check what the file really holds.
class TempDatabase
{
public:
    enum Tables { WithTables, WithoutFile, EmptyFile };
    explicit TempDatabase(Tables tables = WithTables);
    ~TempDatabase();

    bool isValid() const { return m_dir.isValid(); }
    QString programFolder() const; // with a trailing separator
    QString path() const;

    // Runs one statement; fails the test (returns false) when the database refuses it.
    bool exec(const QString &sql, const QVariantList &binds = {});
    QVariant scalar(const QString &sql, const QVariantList &binds = {});
    // Inserts a client with the given name and kind (and optionally more columns).
    bool addClient(const QString &name, const QString &kind, const QVariantMap &more = {});
    // Opens the raw connection again: a connection keeps reading the file it
    // opened, even once another file has been renamed over it (a restore).
    void reconnect();

private:
    QTemporaryDir m_dir;
    QString m_connection;
};

// A data module connected to db's file; null (with a warning) when it fails to connect.
std::unique_ptr<TDMbanco> openDataModule(TempDatabase &db);
