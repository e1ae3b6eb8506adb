#pragma once

#include "TestFolders.h"

#include <QByteArray>
#include <QFile>
#include <QString>

#include <sys/resource.h>

#include <csignal>

namespace vosmira::test {

// The password store of one test case, checked on disk.
class TempStore
{
public:
    QString path() const { return m_settings.iniPath(QStringLiteral("VosmiraKEY.ini")); }
    // Lays the file down as a user's earlier runs left it.
    void write(const QByteArray &contents) const;
    QByteArray bytes() const;
    // Neither group nor others may read or write it.
    bool ownerOnly() const;

private:
    TempSettingsFolder m_settings;
};

// While alive, no file of this process may grow beyond `limit` bytes: the disk
// refuses the store's rewrite from there on, as it does for root too.
class WriteLimit
{
public:
    explicit WriteLimit(rlim_t limit);
    ~WriteLimit();

private:
    rlimit m_saved{};
    void (*m_handler)(int) = nullptr;
};

// A store made read-only. Permission bits do not bind root, so the file size
// is capped at nothing as well.
class ReadOnlyStore
{
public:
    explicit ReadOnlyStore(const TempStore &store);
    ~ReadOnlyStore();

private:
    QString m_path;
    QFile::Permissions m_saved;
    WriteLimit m_limit{0};
};

} // namespace vosmira::test
