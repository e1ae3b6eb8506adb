#include "FormBuilder.h"

#include "TDBComboBox.h"
#include "TDBEdit.h"
#include "TDateEdit.h"
#include "TImage.h"
#include "TShape.h"

#include <QLabel>
#include <QLineEdit>

namespace vosmira {

QFont pixelFont(const QString &family, int pixels, bool bold)
{
    QFont font(family);
    font.setPixelSize(pixels);
    font.setBold(bold);
    return font;
}

void setTextColor(QWidget *widget, const QColor &color)
{
    QPalette palette = widget->palette();
    palette.setColor(QPalette::WindowText, color);
    widget->setPalette(palette);
}

void setBackgroundColor(QWidget *widget, const QColor &color)
{
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Window, color);
    widget->setPalette(palette);
    widget->setAutoFillBackground(true);
}

FormBuilder::FormBuilder(QWidget *form, FormStyle style)
    : m_form(form)
    , m_style(std::move(style))
{
}

void FormBuilder::window(const char *name, const QString &caption)
{
    m_form->setObjectName(QLatin1String(name));
    m_form->setWindowTitle(caption);
    m_form->setAccessibleName(caption);
    setBackgroundColor(m_form, colorFromBgr(kWindowColor));
    m_form->setFont(pixelFont(QStringLiteral("Tahoma"), 11));
}

QLabel *FormBuilder::label(const char *name, const QString &text, int x, int y, bool bold, const QColor &color)
{
    auto *label = new QLabel(text, m_form);
    label->setObjectName(QLatin1String(name));
    label->setFont(pixelFont(m_style.captionFace, m_style.captionPixels, bold));
    setTextColor(label, color.isValid() ? color : m_style.captionColor);
    label->move(x, y);
    label->adjustSize();
    return label;
}

void FormBuilder::place(QWidget *widget, const char *name, QLabel *caption, int x, int y, int width)
{
    widget->setObjectName(QLatin1String(name));
    widget->setGeometry(x, y, width, m_style.fieldHeight);
    if (caption) {
        widget->setAccessibleName(caption->text());
        caption->setBuddy(widget);
    }
}

TDBEdit *FormBuilder::edit(const char *name, QLabel *caption, int x, int y, int width, TDataSource *source,
                           TField *field, int maxLength)
{
    auto *edit = control<TDBEdit>(name, caption, x, y, width);
    edit->setDataField(source, field, maxLength);
    return edit;
}

TDBComboBox *FormBuilder::list(const char *name, QLabel *caption, int x, int y, int width, TDataSource *source,
                               TField *field, const QStringList &items)
{
    auto *list = control<TDBComboBox>(name, caption, x, y, width);
    list->addItems(items);
    list->setDataField(source, field);
    return list;
}

TDateEdit *FormBuilder::date(const char *name, QLabel *caption, int x, int y, int width)
{
    auto *date = control<TDateEdit>(name, caption, x, y, width);
    if (caption)
        date->lineEdit()->setAccessibleName(caption->text());
    date->lineEdit()->setObjectName(QLatin1String(name) + QStringLiteral("_edit"));
    return date;
}

TShape *FormBuilder::shape(const char *name, int x, int y, int width, int height, const QColor &fill)
{
    auto *shape = new TShape(m_form);
    shape->setObjectName(QLatin1String(name));
    shape->setGeometry(x, y, width, height);
    shape->setPenColor(m_style.sectionColor);
    shape->setBrushColor(fill);
    return shape;
}

TImage *FormBuilder::pictureButton(const char *name, int x, int y, int width, int height, const QPixmap &picture,
                                   const QString &hint)
{
    auto *button = new TImage(m_form);
    button->setObjectName(QLatin1String(name));
    button->setGeometry(x, y, width, height);
    button->setPicture(picture);
    button->setClickable(true);
    button->setCursor(Qt::PointingHandCursor);
    if (!hint.isEmpty()) {
        button->setToolTip(hint);
        button->setAccessibleName(hint);
    }
    return button;
}

} // namespace vosmira
