#include "TImage.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QDir>
#include <QFileInfo>
#include <QImageReader>
#include <QMouseEvent>
#include <QPainter>

#include <stdexcept>

namespace vosmira {

namespace {

class ImageAccessible : public QAccessibleWidget
{
public:
    explicit ImageAccessible(TImage *image)
        : QAccessibleWidget(image, image->isClickable() ? QAccessible::Button : QAccessible::Graphic)
    {
    }

    QStringList actionNames() const override
    {
        if (image()->isClickable())
            return {pressAction()};
        return {};
    }

    void doAction(const QString &actionName) override
    {
        // Queued: an assistive client waits for this call to return, and a
        // click may open a modal window.
        if (actionName == pressAction() && image()->isClickable())
            QMetaObject::invokeMethod(image(), &TImage::click, Qt::QueuedConnection);
    }

    QAccessible::Role role() const override
    {
        return image()->isClickable() ? QAccessible::Button : QAccessible::Graphic;
    }

private:
    TImage *image() const { return static_cast<TImage *>(widget()); }
};

QAccessibleInterface *imageAccessibleFactory(const QString &className, QObject *object)
{
    if (className == QLatin1String("vosmira::TImage") && object && object->isWidgetType())
        return new ImageAccessible(static_cast<TImage *>(object));
    return nullptr;
}

} // namespace

TImage::TImage(QWidget *parent)
    : QWidget(parent)
{
    static const bool factoryInstalled = [] {
        QAccessible::installFactory(imageAccessibleFactory);
        return true;
    }();
    Q_UNUSED(factoryInstalled);
    setFocusPolicy(Qt::NoFocus);
}

void TImage::setPicture(const QPixmap &picture)
{
    m_picture = picture;
    if (m_autoSize && !m_picture.isNull())
        resize(m_picture.deviceIndependentSize().toSize());
    update();
}

void TImage::loadPicture(const QString &fileName)
{
    const QString shown = QFileInfo(fileName).absoluteFilePath();
    if (!QFileInfo::exists(fileName)) {
        throw std::runtime_error(
            QStringLiteral("Não foi possível abrir o arquivo \"%1\". O arquivo não foi encontrado.")
                .arg(QDir::toNativeSeparators(shown))
                .toStdString());
    }
    QImageReader reader(fileName);
    const QImage image = reader.read();
    if (image.isNull()) {
        throw std::runtime_error(QStringLiteral("Não foi possível ler a imagem \"%1\": %2")
                                     .arg(QDir::toNativeSeparators(shown), reader.errorString())
                                     .toStdString());
    }
    setPicture(QPixmap::fromImage(image));
}

void TImage::setCenter(bool center)
{
    m_center = center;
    update();
}

void TImage::setAutoSize(bool autoSize)
{
    m_autoSize = autoSize;
    if (m_autoSize && !m_picture.isNull())
        resize(m_picture.deviceIndependentSize().toSize());
}

void TImage::setClickable(bool clickable)
{
    m_clickable = clickable;
}

QSize TImage::sizeHint() const
{
    return m_picture.isNull() ? QSize(9, 9) : m_picture.deviceIndependentSize().toSize();
}

void TImage::click()
{
    Q_EMIT clicked();
}

void TImage::paintEvent(QPaintEvent *)
{
    if (m_picture.isNull())
        return;
    QPainter painter(this);
    const QSize size = m_picture.deviceIndependentSize().toSize();
    QPoint origin(0, 0);
    if (m_center)
        origin = QPoint((width() - size.width()) / 2, (height() - size.height()) / 2);
    painter.drawPixmap(origin, m_picture);
}

void TImage::mousePressEvent(QMouseEvent *event)
{
    m_pressed = event->button() == Qt::LeftButton;
    event->accept();
}

void TImage::mouseReleaseEvent(QMouseEvent *event)
{
    const bool wasPressed = m_pressed;
    m_pressed = false;
    event->accept();
    if (wasPressed && event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        Q_EMIT clicked();
}

void TImage::mouseDoubleClickEvent(QMouseEvent *event)
{
    event->accept();
    if (event->button() == Qt::LeftButton)
        Q_EMIT doubleClicked();
}

void TImage::enterEvent(QEnterEvent *)
{
    Q_EMIT mouseEntered();
}

void TImage::leaveEvent(QEvent *)
{
    Q_EMIT mouseLeft();
}

} // namespace vosmira
