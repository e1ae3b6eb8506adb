#pragma once

#include <QLabel>

namespace vosmira {

// A caption that acts when clicked, with a hand cursor. It takes no keyboard
// focus; to assistive technology it is a link whose "press" is the click.
class ClickLabel : public QLabel
{
    Q_OBJECT
public:
    explicit ClickLabel(const QString &text, QWidget *parent = nullptr);

public Q_SLOTS:
    void click();

Q_SIGNALS:
    void clicked();

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    bool m_pressed = false;
};

} // namespace vosmira
