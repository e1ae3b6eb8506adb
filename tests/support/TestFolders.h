#pragma once

#include <QString>
#include <QTemporaryDir>

namespace vosmira::test {

// A fresh program folder for one test case: a copy of the built one
// (database, hover pictures, report project), removed afterwards.
class TempProgramFolder
{
public:
    TempProgramFolder();
    ~TempProgramFolder();

    bool isValid() const { return m_dir.isValid() && m_copied; }
    // With a trailing separator, as the program keeps it.
    QString path() const;
    QString databasePath() const;
    // Also makes the program use this folder (until destroyed).
    void activate();

private:
    QTemporaryDir m_dir;
    bool m_copied = false;
};

// Points XDG_CONFIG_HOME at a temporary folder for the life of the object.
class TempSettingsFolder
{
public:
    TempSettingsFolder();
    ~TempSettingsFolder();

    QString configHome() const { return m_dir.path(); }
    // Where the program's ini files go: <configHome>/Vosmira.
    QString settingsPath() const;
    QString iniPath(const QString &bareName) const;

private:
    QTemporaryDir m_dir;
    QByteArray m_previous;
    bool m_hadPrevious = false;
};

// QT_QPA_PLATFORM for a started program: the offscreen platform with a
// 1024 x 768 screen, since on its default 800 x 600 the display guard would stop
// the start at its question.
QString wideOffscreenPlatform();

// The built program folder the tests copy from.
QString templateProgramFolder();
bool copyFolder(const QString &from, const QString &to);

} // namespace vosmira::test
