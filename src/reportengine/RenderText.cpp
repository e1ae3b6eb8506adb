#include "TRelRender.h"

#include <QStringList>

#include <cmath>

namespace rel {

TRelRenderText::TRelRenderText(QObject *parent)
    : TRelRender(QStringLiteral("Texto simples (TXT)"), QStringLiteral("*.txt"), parent)
{
}

namespace {

// One page as rows of characters; rows grow past the page width rather than
// lose text.
class Grid
{
public:
    explicit Grid(int rows)
        : m_rows(rows)
    {
    }

    bool isFree(int row, int from, int count) const
    {
        const QString &line = m_rows.at(row);
        for (int c = from; c < from + count && c < line.size(); ++c) {
            if (line.at(c) != u' ')
                return false;
        }
        return true;
    }

    void put(int row, int col, const QString &text)
    {
        ensureRow(row);
        QString &line = m_rows[row];
        if (!isFree(row, col, int(text.size()))) {
            // Never overprint: move past everything already on the row from
            // there on, so the cells taken are free whatever their length.
            int last = int(line.size()) - 1;
            while (last >= col && line.at(last) == u' ')
                --last;
            col = last + 2;
        }
        if (line.size() < col + text.size())
            line.append(QString(col + text.size() - line.size(), u' '));
        line.replace(col, text.size(), text);
    }

    void rule(int row, int from, int to)
    {
        if (row < 0 || row >= m_rows.size() || to <= from || !isFree(row, from, to - from))
            return;
        QString &line = m_rows[row];
        if (line.size() < to)
            line.append(QString(to - line.size(), u' '));
        line.replace(from, to - from, QString(to - from, u'-'));
    }

    QByteArray text() const
    {
        QStringList lines;
        for (const QString &row : m_rows) {
            qsizetype end = row.size();
            while (end > 0 && row.at(end - 1) == u' ')
                --end;
            lines.append(row.left(end));
        }
        while (!lines.isEmpty() && lines.constLast().isEmpty())
            lines.removeLast();
        QString out;
        for (const QString &line : std::as_const(lines))
            out += line + QLatin1Char('\n');
        return out.toUtf8();
    }

private:
    void ensureRow(int row)
    {
        while (m_rows.size() <= row)
            m_rows.append(QString());
    }

    QList<QString> m_rows;
};

int toColumn(qreal twips)
{
    return int(std::lround(twips / GridColumn));
}

// Characters a printer would take as commands are left out.
QString printable(QString text)
{
    for (QChar &c : text) {
        if (c.category() == QChar::Other_Control)
            c = u' ';
    }
    return text;
}

} // namespace

void TRelRenderText::render(PageStreamReader &reader, QIODevice &out)
{
    const PageSetup &setup = reader.setup();
    const int rows = setup.height / GridLine;
    Page page;
    bool first = true;
    while (reader.readPage(page)) {
        Grid grid(rows);
        for (const PageItem &item : page.items) {
            if (item.kind != PageItem::Text)
                continue;
            const QString text = printable(resolvedText(item, reader.pageCount()));
            const int row = qMax(0, (item.y + item.h / 2) / GridLine);
            int col = toColumn(item.x);
            if (item.align == Align::Right)
                col -= int(text.size());
            else if (item.align == Align::Center)
                col -= int(text.size()) / 2;
            grid.put(row, qMax(0, col), text);
        }
        for (const PageItem &item : page.items) {
            if (item.kind == PageItem::Line && item.h == 0) {
                grid.rule(item.y / GridLine, toColumn(qMin(item.x, item.x + item.w)),
                          toColumn(qMax(item.x, item.x + item.w)));
            }
        }
        if (!first)
            out.write("\f");
        first = false;
        out.write(grid.text());
    }
}

} // namespace rel
