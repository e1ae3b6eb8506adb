#pragma once

#include <QPixmap>
#include <QWidget>

namespace vosmira {

// A picture that reacts to the mouse but never takes the keyboard focus.
// When clickable it is a button to assistive technology too, whose "press"
// action is the same as a click.
class TImage : public QWidget
{
    Q_OBJECT
public:
    explicit TImage(QWidget *parent = nullptr);

    QPixmap picture() const { return m_picture; }
    void setPicture(const QPixmap &picture);
    // Reads the picture file now; throws with a text naming the file when it
    // is missing or not a picture, leaving the shown picture as it was.
    void loadPicture(const QString &fileName);

    bool isCenter() const { return m_center; }
    void setCenter(bool center);
    // Give the widget the picture's size.
    void setAutoSize(bool autoSize);

    bool isClickable() const { return m_clickable; }
    void setClickable(bool clickable);

    QSize sizeHint() const override;

public Q_SLOTS:
    void click();

Q_SIGNALS:
    void clicked();
    void doubleClicked();
    void mouseEntered();
    void mouseLeft();

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void enterEvent(QEnterEvent *event) override;
    void leaveEvent(QEvent *event) override;

private:
    QPixmap m_picture;
    bool m_center = false;
    bool m_autoSize = false;
    bool m_clickable = false;
    bool m_pressed = false;
};

} // namespace vosmira
