#include "DisplayModes.h"

#include "XRandrDisplayModes.h"

#include <QGuiApplication>
#include <QScreen>

namespace vosmira {

namespace {

class FixedDisplayModes final : public DisplayModes
{
public:
    QSize primarySize() const override { return primaryScreenPixels(); }
    bool setPrimarySize(QSize) override { return false; }
};

} // namespace

DisplayModes::~DisplayModes() = default;

QSize primaryScreenPixels()
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    if (!screen)
        return {};
    const qreal ratio = screen->devicePixelRatio();
    const QSize size = screen->geometry().size();
    return {qRound(size.width() * ratio), qRound(size.height() * ratio)};
}

std::unique_ptr<DisplayModes> platformDisplayModes()
{
    if (QGuiApplication::platformName() == QLatin1String("xcb"))
        return std::make_unique<XRandrDisplayModes>();
    return std::make_unique<FixedDisplayModes>();
}

} // namespace vosmira
