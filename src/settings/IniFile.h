#pragma once

#include <QString>

namespace vosmira {

// One settings file, named by its bare file name and kept in settingsFolder().
// Nothing is cached: every read goes back to the file, so a write made through
// another handle is seen at once, and every write replaces the whole file
// atomically, readable and writable by the owner only.
class IniFile
{
public:
    explicit IniFile(const QString &bareName);
    ~IniFile();

    IniFile(const IniFile &) = delete;
    IniFile &operator=(const IniFile &) = delete;

    // Never fails: a missing or unreadable file, section or key gives def.
    QString ReadString(const QString &section, const QString &key, const QString &def) const;
    // Sets one key, creating folder, file and section as needed.
    // Throws IniWriteError when the file cannot be written; earlier writes stay.
    void WriteString(const QString &section, const QString &key, const QString &value);

    QString fileName() const { return m_fileName; }
    QString bareName() const { return m_bareName; }

    // "Vosmira" under $XDG_CONFIG_HOME, or under ~/.config when that is unset,
    // empty or relative. Read anew at every call.
    static QString settingsFolder();

private:
    QString m_bareName;
    QString m_fileName;
};

} // namespace vosmira
