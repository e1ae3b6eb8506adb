#include "PasswordEntry.h"

#include <QProxyStyle>

namespace vosmira {

namespace {

// The style's own mask character is a dot on most desktops; ours is "*".
class AsteriskStyle : public QProxyStyle
{
public:
    int styleHint(StyleHint hint, const QStyleOption *option, const QWidget *widget,
                  QStyleHintReturn *returnData) const override
    {
        if (hint == SH_LineEdit_PasswordCharacter)
            return u'*';
        return QProxyStyle::styleHint(hint, option, widget, returnData);
    }
};

} // namespace

PasswordEntry::PasswordEntry(QWidget *parent)
    : QLineEdit(parent)
{
    auto *style = new AsteriskStyle;
    style->setParent(this);
    setStyle(style);
    setEchoMode(QLineEdit::Password);
    setMaxLength(kMaxLength);
}

} // namespace vosmira
