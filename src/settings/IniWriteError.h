#pragma once

#include <QString>

#include <stdexcept>

namespace vosmira {

// Raised when a settings file cannot be written. what() is the UTF-8 text
// "Unable to write to <bare name>", ready for the default error box.
class IniWriteError : public std::runtime_error
{
public:
    explicit IniWriteError(const QString &bareName);

    QString bareName() const { return m_bareName; }

private:
    QString m_bareName;
};

} // namespace vosmira
