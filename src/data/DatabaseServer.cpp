#include "DatabaseServer.h"

#include "DataErrors.h"
#include "DisplaySettings.h"
#include "IniFile.h"

using namespace Qt::Literals::StringLiterals;

QString DatabaseServer::shown() const
{
    QString text = host + u':' + QString::number(port);
    if (!database.isEmpty())
        text += u'/' + database;
    return text;
}

QString DatabaseServer::settingsShown()
{
    return u"seção [Banco] de "_s + vosmira::IniFile(vosmira::DisplaySettings::fileName()).fileName();
}

std::optional<DatabaseServer> DatabaseServer::fromSettings()
{
    const vosmira::IniFile ini(vosmira::DisplaySettings::fileName());
    const QString section = u"Banco"_s;
    DatabaseServer server;
    server.host = ini.ReadString(section, u"Servidor"_s, QString()).trimmed();
    if (server.host.isEmpty())
        return std::nullopt;
    const QString port = ini.ReadString(section, u"Porta"_s, QString()).trimmed();
    if (!port.isEmpty()) {
        bool ok = false;
        server.port = port.toInt(&ok);
        if (!ok || server.port < 1 || server.port > 65535)
            throw DatabaseError(u"a porta \"%1\" não é um número de 1 a 65535."_s.arg(port),
                                DatabaseError::Reason::Refused);
    }
    server.database = ini.ReadString(section, u"Banco"_s, QString()).trimmed();
    server.user = ini.ReadString(section, u"Usuario"_s, QString()).trimmed();
    return server;
}
