#include "fonts.h"

#include <QStringList>

QFont titleFont(int pixelSize)
{
    QFont font;
    font.setFamilies({QStringLiteral("URW Gothic"), QStringLiteral("DejaVu Sans")});
    font.setWeight(QFont::DemiBold);
    font.setPixelSize(pixelSize);
    font.setHintingPreference(QFont::PreferNoHinting);
    return font;
}

QFont textFont(int pixelSize, QFont::Weight weight)
{
    QFont font;
    font.setFamilies({QStringLiteral("DejaVu Sans")});
    font.setWeight(weight);
    font.setPixelSize(pixelSize);
    font.setHintingPreference(QFont::PreferNoHinting);
    return font;
}
