#include "IniWriteError.h"

namespace vosmira {

IniWriteError::IniWriteError(const QString &bareName)
    : std::runtime_error(QString(QStringLiteral("Unable to write to ") + bareName).toUtf8().toStdString())
    , m_bareName(bareName)
{
}

} // namespace vosmira
