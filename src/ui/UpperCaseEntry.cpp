#include "UpperCaseEntry.h"

#include <QLineEdit>

namespace vosmira {

QValidator::State UpperCaseValidator::validate(QString &input, int &pos) const
{
    // Some letters grow in upper case ("ß", ligatures): keep the cursor behind them.
    pos = int(input.left(pos).toUpper().size());
    input = input.toUpper();
    return Acceptable;
}

void setUpperCaseEntry(QLineEdit *edit, bool upper)
{
    edit->setValidator(upper ? new UpperCaseValidator(edit) : nullptr);
}

} // namespace vosmira
