#pragma once

#include <QString>
#include <QStringView>

// CPF and CNPJ check digits by the federal revenue service's modulus-11 rules.
// No state, no widgets: the registration window, reports and benchmarks share them.
namespace vosmira::checkdigits {

// True when characters 10 and 11 are the check digits of characters 1 to 9.
// Every one of the first 11 characters must be a digit 0-9; more are not read.
bool cpf(QStringView text);

// True when characters 13 and 14 are the check digits of characters 1 to 12.
// The first 12 may be digits or letters A-Z (a letter counts as its code minus 48,
// lower case as upper case); the check digits are digits. More are not read.
bool cgc(QStringView text);

// What leaving a CPF or CNPJ edit makes of the edit's text.
enum class ExitResult { Empty, Valid, Invalid };

// The CPF edit's text (digits alone, blanks where nothing was typed).
ExitResult cpfExit(const QString &text);
// The CNPJ edit's text, separators included.
ExitResult cnpjExit(const QString &text);

} // namespace vosmira::checkdigits
