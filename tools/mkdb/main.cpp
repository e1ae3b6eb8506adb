// vosmira-mkdb FILE: writes a database file holding both client tables, empty.
#include "ClientSchema.h"
#include "DataErrors.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>

#include <cstdio>

using namespace Qt::Literals::StringLiterals;

namespace {

void build(const QString &path)
{
    const QString connection = u"vosmira-mkdb"_s;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(u"QSQLITE"_s, connection);
        db.setDatabaseName(path);
        if (!db.open())
            throw DatabaseError(databaseMessage(db.lastError()));
        ClientSchema::createClientTables(db);
        db.close();
    }
    QSqlDatabase::removeDatabase(connection);
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 2) {
        std::fprintf(stderr, "usage: vosmira-mkdb FILE\n");
        return 2;
    }
    const QFileInfo target(args.at(1));
    // Built beside the target and renamed over it, so a failed run leaves no half file.
    const QString temporary = target.absoluteFilePath() + u".part"_s;
    try {
        if (!QDir().mkpath(target.absolutePath()))
            throw DataError(u"cannot create folder %1"_s.arg(target.absolutePath()));
        QFile::remove(temporary);
        build(temporary);
        QFile::remove(target.absoluteFilePath());
        if (!QFile::rename(temporary, target.absoluteFilePath()))
            throw DataError(u"cannot write %1"_s.arg(target.absoluteFilePath()));
    } catch (const std::exception &e) {
        QFile::remove(temporary);
        std::fprintf(stderr, "vosmira-mkdb: %s\n", e.what());
        return 1;
    }
    return 0;
}
