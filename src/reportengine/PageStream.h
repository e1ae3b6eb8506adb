#pragma once

#include <QColor>
#include <QIODevice>
#include <QList>
#include <QString>

#include <vector>

namespace rel {

// Units of a page stream: twips (1/1440 inch). A text line of the plain-text
// grid is 240 twips high and a column 144 twips wide.
inline constexpr int TwipsPerInch = 1440;
inline constexpr int GridColumn = 144;
inline constexpr int GridLine = 240;

struct FontSpec
{
    QString family;
    qreal pointSize = 9;
    bool bold = false;
    bool italic = false;

    bool operator==(const FontSpec &) const = default;
};

struct PageSetup
{
    int width = 11906; // A4 portrait
    int height = 16838;
    QString title;
    std::vector<FontSpec> fonts;
};

enum class Align : quint8 { Left, Right, Center };

// One drawing instruction of a recorded page.
struct PageItem
{
    enum Kind : quint8 { Text = 'T', Line = 'L', Rect = 'R' };
    Kind kind = Text;
    qint32 x = 0;     // text: anchor (left, right or centre by align)
    qint32 y = 0;     // text: top of its line box
    qint32 w = 0;     // line: x2 - x; rect: width
    qint32 h = 0;     // text: line box height; line: y2 - y; rect: height
    quint16 font = 0; // text: index into PageSetup::fonts
    QRgb color = 0xff000000;
    QRgb fill = 0;       // rect: fill (alpha 0 = none)
    qint32 penWidth = 0; // line, rect outline; 0 = none for rects
    Align align = Align::Left;
    bool pagesMacro = false; // text holds the page-count placeholder
    QString text;

    static PageItem makeText(int x, int y, int h, quint16 font, QRgb color, const QString &text,
                             Align align = Align::Left);
    static PageItem makeLine(int x1, int y1, int x2, int y2, int penWidth, QRgb color);
    static PageItem makeRect(int x, int y, int w, int h, QRgb fill, int penWidth = 0, QRgb pen = 0);
};

struct Page
{
    int number = 0; // from 1
    std::vector<PageItem> items;
};

// The text of a page-count item once the total is known.
QString resolvedText(const PageItem &item, int pageCount);

// Receives the pages of a run one by one.
class PageSink
{
public:
    virtual ~PageSink();
    virtual void beginDocument(const PageSetup &setup) = 0;
    virtual void addPage(const Page &page) = 0;
    virtual void endDocument(int pageCount) = 0;
};

// Records pages into a seekable device as they come, so only one page is in
// memory at a time besides the device itself. A recording starts at the
// device's position 0.
class PageStreamWriter final : public PageSink
{
public:
    explicit PageStreamWriter(QIODevice *device);

    void beginDocument(const PageSetup &setup) override;
    void addPage(const Page &page) override;
    void endDocument(int pageCount) override;

private:
    void check(bool ok) const;

    QIODevice *m_device;
    qint64 m_countPos = -1;
    int m_pages = 0;
};

// Reads a recording back, page by page or at a page's offset.
class PageStreamReader
{
public:
    // Throws ReportError when the device does not hold a recording.
    explicit PageStreamReader(QIODevice *device);

    const PageSetup &setup() const { return m_setup; }
    int pageCount() const { return m_pageCount; }

    // Sequential reading from the first page; false after the last.
    bool readPage(Page &page);
    // Offsets of every page, for random access (a small index, not the pages).
    QList<qint64> pageOffsets();
    void readPageAt(qint64 offset, Page &page);
    // Back to the first page, for another pass.
    void rewind() { m_next = m_firstPage; }

private:
    QIODevice *m_device;
    PageSetup m_setup;
    int m_pageCount = 0;
    qint64 m_firstPage = 0;
    qint64 m_next = 0;
};

} // namespace rel
