#include "ReportLayout.h"

#include "ReportError.h"
#include "TRelDataConnection.h"
#include "Template.h"
#include "TextMetrics.h"

#include <QLocale>
#include <QSize>

#include <algorithm>
#include <cmath>

namespace rel {

QSize paperSize(const PageDefinition &page)
{
    QSize size(11906, 16838); // A4
    if (page.paper == u"Letter")
        size = QSize(12240, 15840);
    else if (page.paper == u"Legal")
        size = QSize(12240, 20160);
    return page.landscape ? size.transposed() : size;
}

namespace {

struct CompiledField
{
    QString label;
    QList<Template> values;
    QString join;
    int span = 0;
    int font = 0;
    QRgb color = 0;
    QStringList blanks;
};

struct CompiledSection
{
    const SectionDefinition *def = nullptr;
    QList<CompiledField> fields;
    int labelCols = 0; // values of the section start this far into their cell
};

// Items of one client, y relative to the block's top.
struct Block
{
    std::vector<PageItem> items;
    int lines = 0;
};

class Runner
{
public:
    Runner(const ReportJob &job, PageSink &sink, const PageProgress &progress);
    bool run();

private:
    int font(const QString &style) const { return m_fontOf.value(style); }
    QRgb color(const QString &style) const { return m_colorOf.value(style); }
    Template compile(const QString &text, int line = 0) const;
    PageItem text(int x, int line, const QString &style, const QString &value, Align align = Align::Left,
                  int lines = 1) const;
    void buildBlock(int number, Block &block);
    int layoutSection(const CompiledSection &section, int top, Block &block);
    bool place(Block &block);
    bool startPage();
    void finishPage();

    const ReportJob &m_job;
    const ProjectDefinition &m_project;
    PageSink &m_sink;
    const PageProgress &m_progress;

    QHash<QString, int> m_fontOf;
    QHash<QString, QRgb> m_colorOf;
    PageSetup m_setup;
    std::unique_ptr<TextMetrics> m_metrics;
    QList<CompiledSection> m_sections;
    TemplateContext m_context;

    int m_left = 0, m_top = 0, m_right = 0; // twips
    int m_lines = 0;                        // lines between the margins
    int m_bodyTop = 4, m_bodyEnd = 0;       // body lines [top, end)
    int m_bodyX = 0;

    Template m_footer, m_pages, m_date;
    QString m_title, m_subtitle;

    Page m_page;
    bool m_pageOpen = false;
    int m_line = 0; // next free body line
    int m_blocksOnPage = 0;
};

Runner::Runner(const ReportJob &job, PageSink &sink, const PageProgress &progress)
    : m_job(job)
    , m_project(*job.project)
    , m_sink(sink)
    , m_progress(progress)
{
    const QStringList styleNames = m_project.styles.keys();
    for (const QString &name : styleNames) {
        const TextStyle s = m_project.style(name);
        m_fontOf.insert(name, int(m_setup.fonts.size()));
        m_colorOf.insert(name, s.color.rgb());
        m_setup.fonts.push_back(FontSpec{m_project.page.fontFamily, s.pointSize, s.bold, s.italic});
    }
    const QSize size = paperSize(m_project.page);
    m_setup.width = size.width();
    m_setup.height = size.height();
    m_setup.title = job.title;
    m_metrics = std::make_unique<TextMetrics>(m_setup.fonts);

    const PageDefinition &p = m_project.page;
    m_left = p.marginLeft * GridColumn;
    m_top = p.marginTop * GridLine;
    const int columns = (m_setup.width - m_left - p.marginRight * GridColumn) / GridColumn;
    m_right = m_left + columns * GridColumn;
    m_lines = (m_setup.height - m_top - p.marginBottom * GridLine) / GridLine;
    m_bodyEnd = m_lines - 2;
    if (columns < 30 || m_bodyEnd - m_bodyTop < 5) {
        throw ProjectFileError(
            m_project.fileName,
            QStringLiteral("Arquivo de projeto de relatórios inválido: %1 (margens grandes demais para o papel)")
                .arg(m_project.fileName));
    }
    m_bodyX = m_left + (job.report->texts.numbering ? p.numberWidth * GridColumn : 0);
}

Template Runner::compile(const QString &text, int line) const
{
    QString error;
    Template t = Template::compile(text, m_job.connection->ColumnNames(), &error);
    if (!error.isEmpty()) {
        throw ProjectFileError(
            m_project.fileName,
            QStringLiteral("Arquivo de projeto de relatórios inválido: %1 (relatório %2, linha %3: %4)")
                .arg(m_project.fileName, m_job.report->name)
                .arg(line ? line : m_job.report->line)
                .arg(error));
    }
    return t;
}

PageItem Runner::text(int x, int line, const QString &style, const QString &value, Align align, int lines) const
{
    return PageItem::makeText(x, line * GridLine, lines * GridLine, quint16(font(style)), color(style), value, align);
}

int Runner::layoutSection(const CompiledSection &section, int top, Block &block)
{
    const SectionDefinition &def = *section.def;
    const int headingCols = m_project.page.headingWidth;
    const int fieldX = def.wide ? m_bodyX : m_bodyX + headingCols * GridColumn;
    const int areaCols = (m_right - fieldX) / GridColumn;
    const int cellCols = qMax(1, areaCols / def.columns);

    // The heading goes first, so readers of the output meet it before the fields.
    const std::size_t itemsBefore = block.items.size();
    int headingLines = 0;
    if (!def.wide && !def.heading.isEmpty()) {
        const int headingFont = font(QStringLiteral("heading"));
        const QStringList lines = m_metrics->wrap(headingFont, def.heading, (headingCols - 1) * GridColumn);
        for (int i = 0; i < lines.size(); ++i)
            block.items.push_back(text(m_bodyX, top + i, QStringLiteral("heading"), lines.at(i)));
        headingLines = int(lines.size());
    }

    int row = 0; // line of the current field row, from the section's top
    int rowLines = 0;
    int cell = 0;
    int shown = 0;
    for (const CompiledField &field : section.fields) {
        QStringList parts;
        for (const Template &t : field.values) {
            const QString part = t.evaluate(m_context).simplified();
            if (!part.isEmpty() && !field.blanks.contains(part))
                parts.append(part);
        }
        const QString value = parts.join(field.join);
        if (value.isEmpty())
            continue;
        ++shown;
        const QString label = field.label.isEmpty() ? QString() : field.label + QLatin1Char(':');
        const int offset = label.isEmpty() ? 0 : section.labelCols;
        const int needed = offset + m_metrics->columns(field.font, value);
        // Cells the field takes from a given cell: a gap column before the
        // next cell, none at the end of the row.
        auto spanFrom = [&](int from) {
            if (field.span < 0)
                return def.columns;
            if (field.span > 0)
                return qMin(field.span, def.columns);
            int span = 1;
            while (from + span < def.columns && needed > span * cellCols - 2)
                ++span;
            return span;
        };
        int span = spanFrom(cell);
        if (cell > 0
            && (cell + span > def.columns
                || (cell + span == def.columns
                    && needed > (def.columns - cell) * cellCols + (areaCols - def.columns * cellCols)))) {
            row += rowLines;
            rowLines = 0;
            cell = 0;
            span = spanFrom(0);
        }
        const int cellX = fieldX + cell * cellCols * GridColumn;
        const int cellEnd = cell + span == def.columns ? m_right : cellX + (span * cellCols - 1) * GridColumn;
        int valueX = cellX + offset * GridColumn;
        int valueLine = top + row;
        if (!label.isEmpty())
            block.items.push_back(text(cellX, valueLine, QStringLiteral("label"), label));
        if (cellEnd - valueX < 8 * GridColumn) {
            // The label leaves no room: the value goes under it.
            valueX = cellX + 2 * GridColumn;
            ++valueLine;
        }
        const QStringList lines = m_metrics->wrap(field.font, value, cellEnd - valueX);
        for (int i = 0; i < lines.size(); ++i) {
            block.items.push_back(PageItem::makeText(valueX, (valueLine + i) * GridLine, GridLine, quint16(field.font),
                                                     field.color, lines.at(i)));
            // A client's own text is shown as typed, even one that reads like the page count.
            block.items.back().pagesMacro = false;
        }
        rowLines = qMax(rowLines, valueLine - top - row + int(lines.size()));
        cell += span;
    }
    if (shown == 0) {
        if (def.emptyText.isEmpty()) {
            block.items.resize(itemsBefore);
            return 0;
        }
        block.items.push_back(text(fieldX, top, QStringLiteral("empty"), def.emptyText));
        rowLines = 1;
    }
    return qMax(row + rowLines, headingLines);
}

void Runner::buildBlock(int number, Block &block)
{
    block.items.clear();
    if (m_job.report->texts.numbering) {
        block.items.push_back(text(m_bodyX - GridColumn, 0, QStringLiteral("number"),
                                   QString::number(number) + QLatin1Char('.'), Align::Right));
    }
    int line = 0;
    for (const CompiledSection &section : std::as_const(m_sections))
        line += layoutSection(section, line, block);
    line = qMax(line, 1);
    if (m_job.report->texts.separator) {
        block.items.push_back(PageItem::makeLine(m_left, line * GridLine + GridLine / 2, m_right,
                                                 line * GridLine + GridLine / 2, 10, qRgb(0xb8, 0xb8, 0xb8)));
        ++line;
    }
    block.lines = line;
}

bool Runner::startPage()
{
    m_page.items.clear();
    ++m_page.number;
    m_pageOpen = true;
    m_line = m_bodyTop;
    m_blocksOnPage = 0;
    m_context.page = QString::number(m_page.number);
    auto &items = m_page.items;
    items.push_back(text(m_left, 0, QStringLiteral("title"), m_title, Align::Left, 2));
    items.back().y += m_top;
    const QString date = m_date.evaluate(m_context);
    if (!date.isEmpty()) {
        items.push_back(text(m_right, 1, QStringLiteral("date"), date, Align::Right));
        items.back().y += m_top;
    }
    if (!m_subtitle.isEmpty()) {
        items.push_back(text(m_left, 2, QStringLiteral("subtitle"), m_subtitle));
        items.back().y += m_top;
    }
    const int rule = m_top + 3 * GridLine + GridLine / 2;
    items.push_back(PageItem::makeLine(m_left, rule, m_right, rule, 20, qRgb(0x40, 0x40, 0x40)));
    return true;
}

void Runner::finishPage()
{
    if (!m_pageOpen)
        return;
    auto &items = m_page.items;
    const int rule = m_top + (m_lines - 2) * GridLine + GridLine / 2;
    items.push_back(PageItem::makeLine(m_left, rule, m_right, rule, 10, qRgb(0x80, 0x80, 0x80)));
    const QString footer = m_footer.evaluate(m_context);
    if (!footer.isEmpty()) {
        items.push_back(text(m_left, m_lines - 1, QStringLiteral("footer"), footer));
        items.back().y += m_top;
    }
    const QString pages = m_pages.evaluate(m_context);
    if (!pages.isEmpty()) {
        items.push_back(text(m_right, m_lines - 1, QStringLiteral("pages"), pages, Align::Right));
        items.back().y += m_top;
    }
    m_sink.addPage(m_page);
    m_pageOpen = false;
}

bool Runner::place(Block &block)
{
    if (!m_pageOpen || (m_blocksOnPage > 0 && m_line + block.lines > m_bodyEnd)) {
        finishPage();
        if (m_progress && !m_progress(m_page.number + 1))
            return false;
        startPage();
    }
    // A block taller than a whole page goes on across pages, line by line.
    int shift = m_top + m_line * GridLine;
    int firstLine = 0;
    std::stable_sort(block.items.begin(), block.items.end(),
                     [](const PageItem &a, const PageItem &b) { return a.y < b.y; });
    for (PageItem item : block.items) {
        const int itemLine = item.y / GridLine;
        if (m_line + itemLine - firstLine >= m_bodyEnd) {
            finishPage();
            if (m_progress && !m_progress(m_page.number + 1))
                return false;
            startPage();
            firstLine = itemLine;
            shift = m_top + (m_line - firstLine) * GridLine;
        }
        item.y += shift;
        m_page.items.push_back(item);
    }
    m_line += block.lines - firstLine;
    ++m_blocksOnPage;
    return true;
}

bool Runner::run()
{
    const ReportDefinition &report = *m_job.report;
    TRelDataConnection &data = *m_job.connection;

    QStringList headings;
    for (const QString &slot : report.slotNames) {
        const QString code = m_job.params.value(slot.toUpper());
        if (code.isEmpty())
            continue;
        const SectionDefinition *def = m_project.findSection(code);
        if (!def)
            continue;
        CompiledSection section{def, {}};
        for (const FieldDefinition &f : def->fields) {
            CompiledField field;
            field.label = f.label;
            for (const QString &value : f.values)
                field.values.append(compile(value, f.line));
            field.join = f.join;
            field.span = f.span;
            field.font = font(f.style);
            field.color = color(f.style);
            field.blanks = f.blanks;
            section.fields.append(field);
            if (!f.label.isEmpty()) {
                section.labelCols = qMax(
                    section.labelCols, m_metrics->columns(font(QStringLiteral("label")), QString(f.label + u':')) + 1);
            }
        }
        m_sections.append(section);
        if (!def->heading.isEmpty())
            headings.append(def->heading);
    }

    // One value column for the whole report reads as a form.
    int labelCols = 0;
    for (const CompiledSection &section : std::as_const(m_sections))
        labelCols = qMax(labelCols, section.labelCols);
    for (CompiledSection &section : m_sections)
        section.labelCols = labelCols;

    const QLocale brazil(QLocale::Portuguese, QLocale::Brazil);
    m_context.date = brazil.toString(m_job.printedAt.date(), QStringLiteral("dd/MM/yyyy"));
    m_context.time = brazil.toString(m_job.printedAt.time(), QStringLiteral("HH:mm"));
    m_context.report = report.name;
    m_context.sections = headings.join(QStringLiteral(", "));
    m_date = compile(report.texts.date);
    m_footer = compile(report.texts.footer);
    m_pages = compile(report.texts.pages);
    const Template title = compile(report.texts.title);
    const Template subtitle = compile(report.texts.subtitle);
    const Template summary = compile(report.texts.summary);

    data.First();
    m_context.row = &data;
    m_title = title.evaluate(m_context);
    m_subtitle = subtitle.evaluate(m_context);

    m_sink.beginDocument(m_setup);
    if (m_progress && !m_progress(1))
        return false;
    startPage();

    int count = 0;
    Block block;
    for (; !data.Eof(); data.Next()) {
        ++count;
        buildBlock(count, block);
        if (!place(block))
            return false;
    }
    m_context.row = nullptr;
    m_context.count = QString::number(count);

    Block closing;
    int line = 0;
    if (count == 0 && !report.texts.empty.isEmpty())
        closing.items.push_back(text(m_bodyX, line++, QStringLiteral("empty"), report.texts.empty));
    const QString total = summary.evaluate(m_context);
    if (!total.isEmpty())
        closing.items.push_back(text(m_left, line++, QStringLiteral("summary"), total));
    closing.lines = line;
    if (line > 0 && !place(closing))
        return false;
    finishPage();
    m_sink.endDocument(m_page.number);
    return true;
}

} // namespace

bool layoutReport(const ReportJob &job, PageSink &sink, const PageProgress &progress)
{
    if (!job.connection)
        throw ReportError(QStringLiteral("O relatório %1 não tem conexão de dados.").arg(job.report->name));
    Runner runner(job, sink, progress);
    return runner.run();
}

} // namespace rel
