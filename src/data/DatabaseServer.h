#pragma once

#include <QString>

#include <optional>

// Where an office with several desks keeps its clients: a PostgreSQL server named
// in the [Banco] section of Vosmira_config.ini. Without that section the program
// keeps its clients in the database file of its own folder.
struct DatabaseServer
{
    QString host;     // Servidor: a name, an address, or a socket folder
    int port = 5432;  // Porta
    QString database; // Banco; empty: libpq's default
    QString user;     // Usuario; empty: libpq's default

    // No password is ever kept here: libpq takes it from ~/.pgpass or PGPASSWORD.

    // "servidor:porta/banco", as the user wrote them, for messages.
    QString shown() const;

    // Where the server is named, for messages: "seção [Banco] de <file>".
    static QString settingsShown();

    // The [Banco] section of the settings file, when it names a server.
    // Throws DatabaseError when it names one with a port that is no port.
    static std::optional<DatabaseServer> fromSettings();
};
