#include "DisplaySettings.h"

namespace vosmira {

DisplaySettings::DisplaySettings()
    : m_ini(fileName())
{
}

QString DisplaySettings::storedConsent() const
{
    return m_ini.ReadString(section(), consentKey(), QString());
}

void DisplaySettings::rememberConsent()
{
    m_ini.WriteString(section(), consentKey(), consent());
}

} // namespace vosmira
