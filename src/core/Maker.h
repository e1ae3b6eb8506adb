#pragma once

#include <QString>

namespace vosmira {

// Who makes the program and where to find them, as the windows show it.
inline QString makerWebPage()
{
    return QStringLiteral("https://www.vosmira.com.br");
}

inline QString makerWebAddress()
{
    return QStringLiteral("www.vosmira.com.br");
}

inline QString makerEmail()
{
    return QStringLiteral("suporte@vosmira.com.br");
}

} // namespace vosmira
