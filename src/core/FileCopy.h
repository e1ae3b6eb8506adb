#pragma once

#include <QString>

class QIODevice;

namespace vosmira {

class DurableFile;

struct CopyResult
{
    enum Status { Copied, SameFile, Failed };
    Status status = Failed;
    QString error; // when Failed: what went wrong, in Portuguese, naming the file

    bool copied() const { return status == Copied; }
};

struct CopyOptions
{
    // Permission bits the copy gets on top of the source's.
    unsigned addedPermissions = 0;
};

// Large blocks keep the copy as fast as cp.
inline constexpr qint64 kCopyBlockSize = 256 * 1024;

// Copies the source over the destination through a DurableFile, so a copy that
// fails at any point leaves the destination as it was. The copy takes the
// source's modification time and permission bits. When both names lead to the
// same file on disk, however spelled, nothing is copied (SameFile).
CopyResult FileCopy(const QString &source, const QString &destination, const CopyOptions &options = {});

// The copy loop: exactly `size` bytes from `source` into an open `destination`,
// which is committed only when all arrived. A read that fails or returns
// nothing before then ends the copy as failed. `sourceName` names the source in
// the error.
CopyResult FileCopy(QIODevice &source, qint64 size, DurableFile &destination, const QString &sourceName);

// Whether both paths lead to one file on disk (same device and inode), through
// symbolic links, relative paths and hard links alike. False when either is missing.
bool isSameFile(const QString &a, const QString &b);

} // namespace vosmira
