#include "DatabaseBackup.h"

#include "ClientSchema.h"
#include "FileCopy.h"
#include "TableWriter.h"
#include "UDMbanco.h"

namespace DatabaseBackup {

using namespace Qt::Literals::StringLiterals;

namespace {

constexpr unsigned kOwnerWrite = 0200;

// Reopening throws when the file cannot be opened; the error then reaches the
// handler, as any error of the store does.
Result copyClosed(TDMbanco &dm, const QString &from, const QString &to, const vosmira::CopyOptions &options)
{
    dm.closeAll();
    const vosmira::CopyResult copy = vosmira::FileCopy(from, to, options);
    dm.openAll();
    return {copy.copied() ? Result::Done : Result::Failed, copy.error};
}

// On a server the clients are copied row by row: out into a new database file,
// in replacing the server's in one transaction. The datasets are read again
// after a restore, as after a file is copied in.
Result saveFromServer(TDMbanco &dm, const QString &backupPath)
{
    dm.openConnection();
    QSqlDatabase db = dm.database();
    const QString error = writeDatabaseFile(readClientTables(db), backupPath);
    return {error.isEmpty() ? Result::Done : Result::Failed, error};
}

Result restoreToServer(TDMbanco &dm, const QString &backupPath)
{
    ClientTables tables;
    try {
        tables = readDatabaseFile(backupPath);
    } catch (const DatabaseError &e) {
        return {Result::NotADatabase, e.text()};
    }
    dm.openConnection();
    QSqlDatabase db = dm.database();
    Result result{Result::Done, QString()};
    try {
        replaceClientTables(db, tables);
    } catch (const DatabaseError &e) {
        result = {Result::Failed, u"O servidor recusou a restauração, e nada foi alterado: %1"_s.arg(e.text())};
    }
    dm.closeAll();
    dm.openAll();
    return result;
}

} // namespace

Result save(TDMbanco &dm, const QString &backupPath)
{
    if (dm.server())
        return saveFromServer(dm, backupPath);
    const QString database = dm.databasePath();
    if (vosmira::isSameFile(database, backupPath))
        return {Result::SameFile, QString()};
    return copyClosed(dm, database, backupPath, {});
}

Result restore(TDMbanco &dm, const QString &backupPath)
{
    if (dm.server())
        return restoreToServer(dm, backupPath);
    const QString database = dm.databasePath();
    if (vosmira::isSameFile(database, backupPath))
        return {Result::SameFile, QString()};
    const QString problem = ClientSchema::checkDatabaseFile(backupPath);
    if (!problem.isEmpty())
        return {Result::NotADatabase, problem};
    return copyClosed(dm, backupPath, database, {kOwnerWrite});
}

} // namespace DatabaseBackup
