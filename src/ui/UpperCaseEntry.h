#pragma once

#include <QValidator>

class QLineEdit;

namespace vosmira {

// Upper-case entry: every letter typed or pasted into the edit is shown and
// kept in upper case, the cursor staying behind what was typed.
class UpperCaseValidator : public QValidator
{
    Q_OBJECT
public:
    using QValidator::QValidator;
    State validate(QString &input, int &pos) const override;
};

// Gives the edit upper-case entry (or plain entry again with false).
void setUpperCaseEntry(QLineEdit *edit, bool upper = true);

} // namespace vosmira
