#pragma once

#include <QLineEdit>

namespace vosmira {

// A password box: at most 8 characters, each shown as "*".
class PasswordEntry : public QLineEdit
{
    Q_OBJECT
public:
    static constexpr int kMaxLength = 8;

    explicit PasswordEntry(QWidget *parent = nullptr);
};

} // namespace vosmira
