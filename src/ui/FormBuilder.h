#pragma once

#include <QColor>
#include <QFont>
#include <QString>
#include <QStringList>

class QLabel;
class QPixmap;
class QWidget;
class TField;

namespace vosmira {

class TDBComboBox;
class TDBEdit;
class TDataSource;
class TDateEdit;
class TImage;
class TShape;

// The light grey behind every window (224, 223, 227).
inline constexpr quint32 kWindowColor = 14933984;

// A face at a size in pixels, as the windows were designed.
QFont pixelFont(const QString &family, int pixels, bool bold = false);
void setTextColor(QWidget *widget, const QColor &color);
// Fills the widget with the colour behind its children.
void setBackgroundColor(QWidget *widget, const QColor &color);

// How a form draws its captions, fields and section outlines.
struct FormStyle
{
    QColor captionColor = QColor(0, 62, 153);
    QColor sectionColor = QColor(165, 172, 180);
    QString captionFace = QStringLiteral("Verdana");
    int captionPixels = 11;
    int fieldHeight = 21;
};

// Builds a form's children at their designed places: captions above fields,
// data-bound controls, date edits, section outlines and picture buttons. Every
// control takes the caption above it as its accessible name.
class FormBuilder
{
public:
    explicit FormBuilder(QWidget *form, FormStyle style = {});

    const FormStyle &style() const { return m_style; }

    // The form itself: object name, caption (also its accessible name), the
    // grey background and Tahoma 11 as its face.
    void window(const char *name, const QString &caption);

    QLabel *label(const char *name, const QString &text, int x, int y, bool bold = true,
                  const QColor &color = QColor());

    // A control of the field height, named and tied to its caption.
    template <typename T>
    T *control(const char *name, QLabel *caption, int x, int y, int width)
    {
        auto *widget = new T(m_form);
        place(widget, name, caption, x, y, width);
        return widget;
    }

    // maxLength 0 takes the column's size.
    TDBEdit *edit(const char *name, QLabel *caption, int x, int y, int width, TDataSource *source, TField *field,
                  int maxLength = 0);
    TDBComboBox *list(const char *name, QLabel *caption, int x, int y, int width, TDataSource *source, TField *field,
                      const QStringList &items);
    TDateEdit *date(const char *name, QLabel *caption, int x, int y, int width);
    TShape *shape(const char *name, int x, int y, int width, int height, const QColor &fill = Qt::transparent);
    // A clickable picture with a hand cursor; the hint is its tooltip and name.
    TImage *pictureButton(const char *name, int x, int y, int width, int height, const QPixmap &picture,
                          const QString &hint);

private:
    void place(QWidget *widget, const char *name, QLabel *caption, int x, int y, int width);

    QWidget *m_form;
    FormStyle m_style;
};

} // namespace vosmira
