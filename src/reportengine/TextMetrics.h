#pragma once

#include "PageStream.h"

#include <QFont>
#include <QHash>
#include <QStringList>

#include <array>
#include <vector>

namespace rel {

// Widths for laying out text that must fit both the proportional fonts of
// PDF, HTML and RTF and the 10-characters-per-inch grid of the plain text:
// a text's width is the larger of the two, so nothing is cut in any format.
class TextMetrics
{
public:
    explicit TextMetrics(const std::vector<FontSpec> &fonts);

    // Twips.
    qreal width(int font, QStringView text);
    // Grid columns needed for text, rounded up.
    int columns(int font, QStringView text);
    // Lines of at most maxWidth twips, broken between words where possible.
    QStringList wrap(int font, const QString &text, qreal maxWidth);
    // Characters measured so far: what laying out a text costs.
    qint64 measured() const { return m_measured; }

    // The font a painter draws a spec with: its pixel size is the point size
    // in twips, so a painter whose unit is the twip needs no scaling.
    static QFont fontFor(const FontSpec &spec);

private:
    struct Cache
    {
        QFont font;
        std::array<qreal, 256> latin{};
        QHash<char16_t, qreal> other;
    };
    qreal advance(Cache &cache, QChar c);

    std::vector<Cache> m_fonts;
    qint64 m_measured = 0;
};

} // namespace rel
