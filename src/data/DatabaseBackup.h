#pragma once

#include <QString>

class TDMbanco;

// Copying the database file out to a backup file and a backup back in. The
// connection and both datasets are closed around the copy and opened again
// after it, so they show what the file holds then.
namespace DatabaseBackup {

struct Result
{
    enum Status {
        Done,
        SameFile,     // the chosen file is the database file itself: nothing copied
        NotADatabase, // restore: the chosen file failed the check; nothing closed
        Failed,       // the copy failed; the file it was to replace is as it was
    };
    Status status = Failed;
    QString reason; // NotADatabase, Failed: why, in Portuguese

    bool done() const { return status == Done; }
};

// The database file to backupPath.
Result save(TDMbanco &dm, const QString &backupPath);

// backupPath over the database file, once ClientSchema::checkDatabaseFile()
// accepts it. The restored file keeps the backup's permissions, except that its
// owner may always write it: a database the program cannot write fails every
// later save.
Result restore(TDMbanco &dm, const QString &backupPath);

} // namespace DatabaseBackup
