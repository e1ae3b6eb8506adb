#include "XRandrDisplayModes.h"

#include <QGuiApplication>
#include <QRect>
#include <QtGui/qguiapplication_platform.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <memory>
#include <vector>

// Last: Xlib's macros (None, Bool, Status, Always) would clash with Qt's names.
#include <X11/Xlib.h>
#include <X11/extensions/Xrandr.h>

namespace vosmira {

namespace {

struct CloseDisplay
{
    void operator()(Display *display) const { XCloseDisplay(display); }
};
struct FreeResources
{
    void operator()(XRRScreenResources *resources) const { XRRFreeScreenResources(resources); }
};
struct FreeOutput
{
    void operator()(XRROutputInfo *output) const { XRRFreeOutputInfo(output); }
};
struct FreeCrtc
{
    void operator()(XRRCrtcInfo *crtc) const { XRRFreeCrtcInfo(crtc); }
};
using Connection = std::unique_ptr<Display, CloseDisplay>;
using Resources = std::unique_ptr<XRRScreenResources, FreeResources>;
using OutputInfo = std::unique_ptr<XRROutputInfo, FreeOutput>;
using CrtcInfo = std::unique_ptr<XRRCrtcInfo, FreeCrtc>;

// Xlib reports protocol errors through one handler for the whole process, and
// its default one ends the program. While a change runs, errors are noted.
int g_errorCode = 0;

int noteError(Display *, XErrorEvent *event)
{
    g_errorCode = event->error_code;
    return 0;
}

class ErrorTrap
{
public:
    explicit ErrorTrap(Display *display)
        : m_display(display)
    {
        XSync(m_display, False);
        g_errorCode = 0;
        m_previous = XSetErrorHandler(noteError);
    }
    ~ErrorTrap()
    {
        XSync(m_display, False);
        XSetErrorHandler(m_previous);
    }
    ErrorTrap(const ErrorTrap &) = delete;
    ErrorTrap &operator=(const ErrorTrap &) = delete;

    bool failed()
    {
        XSync(m_display, False);
        return g_errorCode != 0;
    }

private:
    Display *m_display;
    int (*m_previous)(Display *, XErrorEvent *) = nullptr;
};

// The primary output with the CRTC that shows it: the output the server names
// primary, else the first one that is lit.
struct Primary
{
    OutputInfo output;
    RRCrtc crtcId = 0;
    CrtcInfo crtc;
};

Connection open(const QByteArray &name)
{
    Connection display(XOpenDisplay(name.isEmpty() ? nullptr : name.constData()));
    if (!display)
        return {};
    int eventBase = 0;
    int errorBase = 0;
    int major = 0;
    int minor = 0;
    if (!XRRQueryExtension(display.get(), &eventBase, &errorBase) || !XRRQueryVersion(display.get(), &major, &minor)
        || major < 1 || (major == 1 && minor < 3)) {
        return {};
    }
    return display;
}

Primary findPrimary(Display *display, XRRScreenResources *resources)
{
    const Window root = DefaultRootWindow(display);
    std::vector<RROutput> candidates;
    if (const RROutput primary = XRRGetOutputPrimary(display, root))
        candidates.push_back(primary);
    candidates.insert(candidates.end(), resources->outputs, resources->outputs + resources->noutput);
    for (const RROutput id : candidates) {
        OutputInfo output(XRRGetOutputInfo(display, resources, id));
        if (!output || output->connection == RR_Disconnected || !output->crtc)
            continue;
        CrtcInfo crtc(XRRGetCrtcInfo(display, resources, output->crtc));
        if (!crtc || !crtc->mode)
            continue;
        const RRCrtc crtcId = output->crtc;
        return {std::move(output), crtcId, std::move(crtc)};
    }
    return {};
}

const XRRModeInfo *modeInfo(const XRRScreenResources *resources, RRMode id)
{
    for (int i = 0; i < resources->nmode; ++i) {
        if (resources->modes[i].id == id)
            return &resources->modes[i];
    }
    return nullptr;
}

double refreshRate(const XRRModeInfo &mode)
{
    if (mode.hTotal == 0 || mode.vTotal == 0)
        return 0;
    double rate = double(mode.dotClock) / (double(mode.hTotal) * double(mode.vTotal));
    if (mode.modeFlags & RR_DoubleScan)
        rate /= 2;
    if (mode.modeFlags & RR_Interlace)
        rate *= 2;
    return rate;
}

// One of the output's own modes of that size: the one it had at first, else
// the refresh rate nearest to the present one, else the output's first choice.
RRMode chooseMode(const XRRScreenResources *resources, const XRROutputInfo &output, QSize size, RRMode original,
                  double presentRate)
{
    RRMode best = 0;
    double bestDistance = std::numeric_limits<double>::max();
    for (int i = 0; i < output.nmode; ++i) {
        const XRRModeInfo *mode = modeInfo(resources, output.modes[i]);
        if (!mode || int(mode->width) != size.width() || int(mode->height) != size.height())
            continue;
        if (mode->id == original)
            return mode->id;
        const double distance = std::abs(refreshRate(*mode) - presentRate);
        if (distance < bestDistance) {
            best = mode->id;
            bestDistance = distance;
        }
    }
    return best;
}

int millimetres(int pixels, int screenPixels, int screenMillimetres)
{
    if (screenPixels <= 0 || screenMillimetres <= 0)
        return pixels * 254 / 960; // 96 dots per inch
    return int(std::lround(double(pixels) * screenMillimetres / screenPixels));
}

} // namespace

XRandrDisplayModes::XRandrDisplayModes(QByteArray displayName)
    : m_displayName(std::move(displayName))
{
}

XRandrDisplayModes::~XRandrDisplayModes() = default;

QByteArray XRandrDisplayModes::displayName() const
{
    if (!m_displayName.isEmpty())
        return m_displayName;
    if (qGuiApp) {
        if (auto *x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>()) {
            if (Display *display = x11->display())
                return QByteArray(DisplayString(display));
        }
    }
    return {};
}

QSize XRandrDisplayModes::primarySize() const
{
    const Connection display = open(displayName());
    if (!display)
        return primaryScreenPixels();
    const Resources resources(XRRGetScreenResourcesCurrent(display.get(), DefaultRootWindow(display.get())));
    if (!resources)
        return primaryScreenPixels();
    const Primary primary = findPrimary(display.get(), resources.get());
    if (!primary.crtc)
        return primaryScreenPixels();
    return {int(primary.crtc->width), int(primary.crtc->height)};
}

bool XRandrDisplayModes::setPrimarySize(QSize size)
{
    const Connection connection = open(displayName());
    if (!connection || size.isEmpty())
        return false;
    Display *display = connection.get();
    const Window root = DefaultRootWindow(display);
    const Resources resources(XRRGetScreenResourcesCurrent(display, root));
    if (!resources)
        return false;
    const Primary primary = findPrimary(display, resources.get());
    if (!primary.crtc)
        return false;
    const XRRCrtcInfo &crtc = *primary.crtc;

    // A CRTC turned on its side shows the mode's width as the screen's height.
    const bool sideways = crtc.rotation & (RR_Rotate_90 | RR_Rotate_270);
    const QSize modeSize = sideways ? size.transposed() : size;
    const XRRModeInfo *present = modeInfo(resources.get(), crtc.mode);
    if (present && int(present->width) == modeSize.width() && int(present->height) == modeSize.height())
        return true;
    const auto original = m_originalModes.find(primary.crtcId);
    const RRMode mode = chooseMode(resources.get(), *primary.output, modeSize,
                                   original == m_originalModes.end() ? 0 : original->second,
                                   present ? refreshRate(*present) : 0);
    if (!mode)
        return false;

    // The screen is the box around every lit CRTC, within the server's limits.
    QRect bounds(crtc.x, crtc.y, size.width(), size.height());
    for (int i = 0; i < resources->ncrtc; ++i) {
        if (resources->crtcs[i] == primary.crtcId)
            continue;
        const CrtcInfo other(XRRGetCrtcInfo(display, resources.get(), resources->crtcs[i]));
        if (other && other->mode)
            bounds |= QRect(other->x, other->y, int(other->width), int(other->height));
    }
    int minWidth = 0;
    int minHeight = 0;
    int maxWidth = 0;
    int maxHeight = 0;
    if (!XRRGetScreenSizeRange(display, root, &minWidth, &minHeight, &maxWidth, &maxHeight))
        return false;
    const QSize screenSize(std::max(bounds.right() + 1, minWidth), std::max(bounds.bottom() + 1, minHeight));
    if (screenSize.width() > maxWidth || screenSize.height() > maxHeight)
        return false;

    const int screen = DefaultScreen(display);
    const QSize before(DisplayWidth(display, screen), DisplayHeight(display, screen));
    const int widthMm = DisplayWidthMM(display, screen);
    const int heightMm = DisplayHeightMM(display, screen);
    auto resizeScreen = [&](QSize to) {
        XRRSetScreenSize(display, root, to.width(), to.height(), millimetres(to.width(), before.width(), widthMm),
                         millimetres(to.height(), before.height(), heightMm));
    };

    // The screen must hold the CRTC at every step: grow first, shrink last.
    ErrorTrap trap(display);
    XGrabServer(display);
    const QSize interim = before.expandedTo(screenSize);
    if (interim != before)
        resizeScreen(interim);
    const bool changed = XRRSetCrtcConfig(display, resources.get(), primary.crtcId, CurrentTime, crtc.x, crtc.y, mode,
                                          crtc.rotation, crtc.outputs, crtc.noutput)
                             == RRSetConfigSuccess
                         && !trap.failed();
    const QSize after = changed ? screenSize : before;
    if (after != interim)
        resizeScreen(after);
    XUngrabServer(display);
    const bool ok = changed && !trap.failed();
    if (ok)
        m_originalModes.try_emplace(primary.crtcId, crtc.mode);
    return ok;
}

} // namespace vosmira
