#include "TextMetrics.h"

#include <QFontMetricsF>
#include <QTextBoundaryFinder>

#include <cmath>

namespace rel {

TextMetrics::TextMetrics(const std::vector<FontSpec> &fonts)
{
    m_fonts.resize(fonts.size());
    for (std::size_t i = 0; i < fonts.size(); ++i) {
        m_fonts[i].font = fontFor(fonts[i]);
        m_fonts[i].latin.fill(-1);
    }
}

QFont TextMetrics::fontFor(const FontSpec &spec)
{
    QFont font(spec.family);
    font.setPixelSize(qMax(1, qRound(spec.pointSize * 20)));
    font.setBold(spec.bold);
    font.setItalic(spec.italic);
    font.setHintingPreference(QFont::PreferNoHinting);
    font.setKerning(false);
    // Any letter spacing makes the shaper leave ligatures out, so a PDF reader
    // finds "fi" as two letters. A fiftieth of a twip changes nothing visible.
    font.setLetterSpacing(QFont::AbsoluteSpacing, 0.02);
    return font;
}

qreal TextMetrics::advance(Cache &cache, QChar c)
{
    const char16_t u = c.unicode();
    if (u < 256) {
        qreal &w = cache.latin[u];
        if (w < 0)
            w = QFontMetricsF(cache.font).horizontalAdvance(c);
        return w;
    }
    auto it = cache.other.find(u);
    if (it == cache.other.end())
        it = cache.other.insert(u, QFontMetricsF(cache.font).horizontalAdvance(c));
    return *it;
}

qreal TextMetrics::width(int font, QStringView text)
{
    Cache &cache = m_fonts[std::size_t(font)];
    qreal proportional = 0;
    for (QChar c : text)
        proportional += advance(cache, c);
    return qMax(proportional, qreal(text.size() * GridColumn));
}

int TextMetrics::columns(int font, QStringView text)
{
    return int(std::ceil(width(font, text) / GridColumn - 1e-6));
}

QStringList TextMetrics::wrap(int font, const QString &text, qreal maxWidth)
{
    QStringList lines;
    const QStringList paragraphs = text.split(QLatin1Char('\n'));
    for (const QString &paragraph : paragraphs) {
        const QString para = paragraph.trimmed();
        if (para.isEmpty()) {
            if (!lines.isEmpty())
                lines.append(QString());
            continue;
        }
        QString line;
        const QStringList words = para.split(QLatin1Char(' '), Qt::SkipEmptyParts);
        for (QString word : words) {
            const QString candidate = line.isEmpty() ? word : line + QLatin1Char(' ') + word;
            if (width(font, candidate) <= maxWidth) {
                line = candidate;
                continue;
            }
            if (!line.isEmpty()) {
                lines.append(line);
                line.clear();
            }
            // A word wider than the line is broken where it must be, between
            // characters as a reader sees them: never inside a pair of
            // surrogates nor between a letter and its accent.
            while (width(font, word) > maxWidth) {
                QTextBoundaryFinder characters(QTextBoundaryFinder::Grapheme, word);
                qsizetype fit = characters.toNextBoundary(); // the first one even when wider than the line
                for (qsizetype next = characters.toNextBoundary();
                     next > 0 && next < word.size() && width(font, QStringView(word).left(next)) <= maxWidth;
                     next = characters.toNextBoundary()) {
                    fit = next;
                }
                if (fit <= 0 || fit >= word.size())
                    break;
                lines.append(word.left(fit));
                word.remove(0, fit);
            }
            line = word;
        }
        if (!line.isEmpty())
            lines.append(line);
    }
    while (!lines.isEmpty() && lines.constLast().isEmpty())
        lines.removeLast();
    return lines;
}

} // namespace rel
