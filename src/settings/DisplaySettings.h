#pragma once

#include "IniFile.h"

#include <QString>

namespace vosmira {

// The display settings file: section Vosmira, key KEY1. "yes" (exactly) means a
// narrow screen is switched to 1024 x 768 without asking; anything else, or
// nothing, means ask. The program only ever writes "yes". A refused write
// throws IniWriteError.
class DisplaySettings
{
public:
    static QString fileName() { return QStringLiteral("Vosmira_config.ini"); }
    static QString section() { return QStringLiteral("Vosmira"); }
    static QString consentKey() { return QStringLiteral("KEY1"); }
    static QString consent() { return QStringLiteral("yes"); }

    DisplaySettings();

    QString storedConsent() const;
    bool switchesWithoutAsking() const { return storedConsent() == consent(); }
    void rememberConsent();

private:
    IniFile m_ini;
};

} // namespace vosmira
