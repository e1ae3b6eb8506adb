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
    ++m_measured;
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
    // One pass, keeping the width of the line so far: a long text costs each
    // character once, never once per line it is broken into.
    Cache &cache = m_fonts[std::size_t(font)];
    const auto fits = [maxWidth](qreal proportional, qsizetype length) {
        return qMax(proportional, qreal(length * GridColumn)) <= maxWidth;
    };
    QStringList lines;
    const QStringList paragraphs = text.split(QLatin1Char('\n'));
    for (const QString &paragraph : paragraphs) {
        const QStringView para = QStringView(paragraph).trimmed();
        if (para.isEmpty()) {
            if (!lines.isEmpty())
                lines.append(QString());
            continue;
        }
        QString line;
        qreal lineWidth = 0; // proportional; the grid width follows from the length
        const QList<QStringView> words = para.split(QLatin1Char(' '), Qt::SkipEmptyParts);
        for (const QStringView word : words) {
            if (!line.isEmpty()) {
                qreal candidate = lineWidth + advance(cache, QLatin1Char(' '));
                for (QChar c : word)
                    candidate += advance(cache, c);
                if (fits(candidate, line.size() + 1 + word.size())) {
                    line += QLatin1Char(' ');
                    line += word;
                    lineWidth = candidate;
                    continue;
                }
                lines.append(line);
                line.clear();
            }
            // A word wider than the line is broken where it must be, between
            // characters as a reader sees them: never inside a pair of
            // surrogates nor between a letter and its accent.
            qreal width = 0;
            for (QChar c : word)
                width += advance(cache, c);
            if (fits(width, word.size())) {
                line = word.toString();
                lineWidth = width;
                continue;
            }
            QTextBoundaryFinder characters(QTextBoundaryFinder::Grapheme, word.data(), int(word.size()));
            qsizetype start = 0;
            qreal pieceWidth = 0;
            for (qsizetype at = 0, next = characters.toNextBoundary(); next > 0;
                 at = next, next = characters.toNextBoundary()) {
                qreal grapheme = 0;
                for (qsizetype k = at; k < next; ++k)
                    grapheme += advance(cache, word.at(k));
                // The first character of a piece stays even when wider than the line.
                if (at > start && !fits(pieceWidth + grapheme, next - start)) {
                    lines.append(word.sliced(start, at - start).toString());
                    start = at;
                    pieceWidth = 0;
                }
                pieceWidth += grapheme;
            }
            line = word.sliced(start).toString();
            lineWidth = pieceWidth;
        }
        if (!line.isEmpty())
            lines.append(line);
    }
    while (!lines.isEmpty() && lines.constLast().isEmpty())
        lines.removeLast();
    return lines;
}

} // namespace rel
