#include "DatabaseBackup.h"

#include "ClientSchema.h"
#include "FileCopy.h"
#include "UDMbanco.h"

namespace DatabaseBackup {

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

} // namespace

Result save(TDMbanco &dm, const QString &backupPath)
{
    const QString database = dm.databasePath();
    if (vosmira::isSameFile(database, backupPath))
        return {Result::SameFile, QString()};
    return copyClosed(dm, database, backupPath, {});
}

Result restore(TDMbanco &dm, const QString &backupPath)
{
    const QString database = dm.databasePath();
    if (vosmira::isSameFile(database, backupPath))
        return {Result::SameFile, QString()};
    const QString problem = ClientSchema::checkDatabaseFile(backupPath);
    if (!problem.isEmpty())
        return {Result::NotADatabase, problem};
    return copyClosed(dm, backupPath, database, {kOwnerWrite});
}

} // namespace DatabaseBackup
