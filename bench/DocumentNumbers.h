#pragma once

#include <QString>
#include <QStringView>

// CPF and CNPJ check digits for the synthetic clients. Each character counts as
// its code minus 48, so the letters A-Z of an alphanumeric CNPJ count 17 to 42;
// a remainder below 2 gives the digit 0, any other remainder r gives 11 - r.
namespace vbench {

// Nine base digits -> the eleven digits of the CPF.
QString completeCpf(QStringView base9);
// Twelve base characters (digits or A-Z) -> the fourteen characters of the CNPJ.
QString completeCnpj(QStringView base12);

// Whether the trailing two digits are the check digits of the rest; the text
// holds no punctuation.
bool isValidCpf(QStringView digits11);
bool isValidCnpj(QStringView chars14);

// The fourteen characters laid into 99.999.999/9999-99, as the CNPJ column keeps them.
QString punctuatedCnpj(QStringView chars14);
// The CNPJ column's text back to its fourteen characters.
QString bareCnpj(QStringView punctuated);

} // namespace vbench
