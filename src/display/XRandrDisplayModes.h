#pragma once

#include "DisplayModes.h"

#include <QByteArray>

#include <map>

namespace vosmira {

// Display modes through the X Resize and Rotate extension (1.3 or later). The
// primary output's CRTC takes another of the output's own modes, and the
// screen grows or shrinks around it; X keeps no such change past the session.
// Every request opens its own connection, so the program's windows never see
// its errors, and X errors are taken as a refusal.
class XRandrDisplayModes final : public DisplayModes
{
public:
    // An empty name means the X display the application shows its windows on,
    // or $DISPLAY without one.
    explicit XRandrDisplayModes(QByteArray displayName = {});
    ~XRandrDisplayModes() override;

    QSize primarySize() const override;
    bool setPrimarySize(QSize size) override;

private:
    QByteArray displayName() const;

    QByteArray m_displayName;
    // The mode each CRTC had before the first change, so that going back to
    // that size brings back its refresh rate as well.
    std::map<unsigned long, unsigned long> m_originalModes;
};

} // namespace vosmira
