#pragma once

#include "ClientRecord.h"
#include "DataErrors.h"
#include "DatabaseServer.h"
#include "TClientDataSet.h"
#include "TField.h"

#include <QObject>
#include <QSqlDatabase>
#include <QString>

#include <optional>

// The data module: the connection to the database (the file in the program
// folder, or the office's server when the settings name one) and the two client datasets,
// the clients (CDSCliente, from CAD_CLIENTE) and the report selection
// (CDS_PED_Cliente, from PED_CLIENTE). One instance lives for the whole run.
class TDMbanco : public QObject
{
    Q_OBJECT

public:
    // programFolder: the executable's folder; a missing trailing separator is added.
    // The server, if any, is read from the settings now; a [Banco] section that
    // cannot be used is reported by the first connect.
    explicit TDMbanco(const QString &programFolder, QObject *parent = nullptr);
    ~TDMbanco() override;

    QString programFolder() const { return m_programFolder; }
    QString databasePath() const; // program folder + "Banco/Vosmira BANCO.mdb"

    // The office's server, when the clients live there instead of in databasePath().
    const std::optional<DatabaseServer> &server() const { return m_server; }
    void setServer(const std::optional<DatabaseServer> &server);
    // The database as messages name it: the file's path, or the server.
    QString shownLocation() const;

    // Reads the clients (CDSCliente) again when the server's table changed since
    // the last read, so a list shows what the office holds now. Does nothing on
    // the program's own file, or while changes are pending. Throws DatabaseError.
    void CatchUp();

    // Closes everything, then opens the connection on databasePath() and both
    // datasets. Throws DatabaseError on any failure; the file is never created.
    void connectSequence();

    // Around a backup or restore: close both datasets and the connection (logged
    // changes are lost), and later reopen them on the same file.
    void closeAll();
    void openAll();
    // The connection alone, for work on the whole table that needs no dataset.
    // Throws DatabaseError; the file is never created.
    void openConnection();

    bool Connected() const;
    QString connectionName() const { return m_connectionName; }
    QSqlDatabase database() const;

    TClientDataSet *CDSCliente;
    TClientDataSet *CDS_PED_Cliente;

    // Field objects of both datasets, one per column: CDSClienteNOME, CDS_PED_ClienteNOME, ...
#define VOSMIRA_FIELD_MEMBERS(name)                                                                                    \
    TField *CDSCliente##name = nullptr;                                                                                \
    TField *CDS_PED_Cliente##name = nullptr;
    VOSMIRA_CLIENT_COLUMNS(VOSMIRA_FIELD_MEMBERS)
#undef VOSMIRA_FIELD_MEMBERS

private:
    void openServerConnection();

    QString m_programFolder;
    std::optional<DatabaseServer> m_server;
    QString m_serverProblem;  // a [Banco] section that cannot be used
    QString m_clientsVersion; // ClientSchema::tableVersion when CDSCliente was read
    QString m_connectionName;
};

// The data module of the running program, set by start-up.
extern TDMbanco *DMbanco;
