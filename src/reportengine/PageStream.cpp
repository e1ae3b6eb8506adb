#include "PageStream.h"

#include "ReportError.h"
#include "Template.h"

#include <QDataStream>

namespace rel {

namespace {

constexpr quint32 Magic = 0x56525053; // "VRPS"
constexpr quint16 Version = 1;
constexpr quint8 PageTag = 'P';
constexpr quint8 EndTag = 'E';
constexpr auto StreamVersion = QDataStream::Qt_6_4;
constexpr quint32 MinItemBytes = 1 + 4 * 4; // kind and the four coordinates

[[noreturn]] void corrupt()
{
    throw ReportError(QStringLiteral("O fluxo de páginas do relatório está corrompido."));
}

void writeItem(QDataStream &out, const PageItem &item)
{
    out << quint8(item.kind) << item.x << item.y << item.w << item.h;
    switch (item.kind) {
    case PageItem::Text:
        out << item.font << quint32(item.color) << quint8(item.align) << quint8(item.pagesMacro) << item.text;
        break;
    case PageItem::Line: out << quint32(item.color) << item.penWidth; break;
    case PageItem::Rect: out << quint32(item.color) << quint32(item.fill) << item.penWidth; break;
    }
}

void readItem(QDataStream &in, PageItem &item)
{
    quint8 kind = 0;
    in >> kind >> item.x >> item.y >> item.w >> item.h;
    quint32 color = 0;
    switch (kind) {
    case PageItem::Text: {
        quint8 align = 0, macro = 0;
        in >> item.font >> color >> align >> macro >> item.text;
        if (align > quint8(Align::Center))
            corrupt();
        item.align = Align(align);
        item.pagesMacro = macro != 0;
        break;
    }
    case PageItem::Line: in >> color >> item.penWidth; break;
    case PageItem::Rect: {
        quint32 fill = 0;
        in >> color >> fill >> item.penWidth;
        item.fill = fill;
        break;
    }
    default: corrupt();
    }
    item.kind = PageItem::Kind(kind);
    item.color = color;
}

} // namespace

PageItem PageItem::makeText(int x, int y, int h, quint16 font, QRgb color, const QString &text, Align align)
{
    PageItem item;
    item.kind = Text;
    item.x = x;
    item.y = y;
    item.h = h;
    item.font = font;
    item.color = color;
    item.text = text;
    item.align = align;
    item.pagesMacro = text.contains(Template::pagesPlaceholder());
    return item;
}

PageItem PageItem::makeLine(int x1, int y1, int x2, int y2, int penWidth, QRgb color)
{
    PageItem item;
    item.kind = Line;
    item.x = x1;
    item.y = y1;
    item.w = x2 - x1;
    item.h = y2 - y1;
    item.penWidth = penWidth;
    item.color = color;
    return item;
}

PageItem PageItem::makeRect(int x, int y, int w, int h, QRgb fill, int penWidth, QRgb pen)
{
    PageItem item;
    item.kind = Rect;
    item.x = x;
    item.y = y;
    item.w = w;
    item.h = h;
    item.fill = fill;
    item.penWidth = penWidth;
    item.color = pen;
    return item;
}

QString resolvedText(const PageItem &item, int pageCount)
{
    if (!item.pagesMacro)
        return item.text;
    QString text = item.text;
    return text.replace(Template::pagesPlaceholder(), QString::number(pageCount));
}

PageSink::~PageSink() = default;

PageStreamWriter::PageStreamWriter(QIODevice *device)
    : m_device(device)
{
}

void PageStreamWriter::check(bool ok) const
{
    if (!ok) {
        throw ReportError(
            QStringLiteral("Não foi possível gravar o fluxo de páginas do relatório: %1").arg(m_device->errorString()));
    }
}

void PageStreamWriter::beginDocument(const PageSetup &setup)
{
    if (!m_device->isOpen())
        check(m_device->open(QIODevice::ReadWrite | QIODevice::Truncate));
    if (m_device->isSequential() || !m_device->isWritable())
        throw ReportError(QStringLiteral("O fluxo de páginas do relatório precisa ser gravável e posicionável."));
    check(m_device->seek(0));
    QDataStream out(m_device);
    out.setVersion(StreamVersion);
    out << Magic << Version;
    m_countPos = m_device->pos();
    out << qint32(0) << qint32(setup.width) << qint32(setup.height) << setup.title << quint32(setup.fonts.size());
    for (const FontSpec &f : setup.fonts)
        out << f.family << double(f.pointSize) << f.bold << f.italic;
    check(out.status() == QDataStream::Ok);
    m_pages = 0;
}

void PageStreamWriter::addPage(const Page &page)
{
    QByteArray body;
    {
        QDataStream out(&body, QIODevice::WriteOnly);
        out.setVersion(StreamVersion);
        out << qint32(page.number) << quint32(page.items.size());
        for (const PageItem &item : page.items)
            writeItem(out, item);
    }
    QDataStream out(m_device);
    out.setVersion(StreamVersion);
    out << PageTag << quint32(body.size());
    check(out.status() == QDataStream::Ok && m_device->write(body) == body.size());
    ++m_pages;
}

void PageStreamWriter::endDocument(int pageCount)
{
    QDataStream out(m_device);
    out.setVersion(StreamVersion);
    out << EndTag;
    const qint64 end = m_device->pos();
    check(m_device->seek(m_countPos));
    out << qint32(pageCount);
    check(out.status() == QDataStream::Ok && m_device->seek(end));
}

PageStreamReader::PageStreamReader(QIODevice *device)
    : m_device(device)
{
    if (!m_device->isOpen() && !m_device->open(QIODevice::ReadOnly))
        corrupt();
    if (!m_device->seek(0))
        corrupt();
    QDataStream in(m_device);
    in.setVersion(StreamVersion);
    quint32 magic = 0, fonts = 0;
    quint16 version = 0;
    qint32 count = 0, width = 0, height = 0;
    in >> magic >> version;
    if (in.status() != QDataStream::Ok || magic != Magic || version != Version)
        throw ReportError(QStringLiteral("O fluxo de páginas está vazio ou não é um relatório gravado."));
    in >> count >> width >> height >> m_setup.title >> fonts;
    if (in.status() != QDataStream::Ok || count < 0 || width <= 0 || height <= 0 || fonts > 1000)
        corrupt();
    for (quint32 i = 0; i < fonts; ++i) {
        FontSpec f;
        double size = 0;
        in >> f.family >> size >> f.bold >> f.italic;
        f.pointSize = size;
        m_setup.fonts.push_back(f);
    }
    if (in.status() != QDataStream::Ok)
        corrupt();
    m_pageCount = count;
    m_setup.width = width;
    m_setup.height = height;
    m_firstPage = m_next = m_device->pos();
}

bool PageStreamReader::readPage(Page &page)
{
    if (!m_device->seek(m_next))
        corrupt();
    QDataStream in(m_device);
    in.setVersion(StreamVersion);
    quint8 tag = 0;
    in >> tag;
    if (in.status() != QDataStream::Ok)
        corrupt();
    if (tag == EndTag)
        return false;
    if (tag != PageTag)
        corrupt();
    const qint64 offset = m_next;
    readPageAt(offset, page);
    return true;
}

QList<qint64> PageStreamReader::pageOffsets()
{
    QList<qint64> offsets;
    qint64 pos = m_firstPage;
    while (true) {
        if (!m_device->seek(pos))
            corrupt();
        QDataStream in(m_device);
        in.setVersion(StreamVersion);
        quint8 tag = 0;
        quint32 length = 0;
        in >> tag;
        if (in.status() != QDataStream::Ok)
            corrupt();
        if (tag == EndTag)
            break;
        in >> length;
        if (tag != PageTag || in.status() != QDataStream::Ok)
            corrupt();
        offsets.append(pos);
        pos += 1 + 4 + qint64(length);
    }
    return offsets;
}

void PageStreamReader::readPageAt(qint64 offset, Page &page)
{
    if (!m_device->seek(offset))
        corrupt();
    QDataStream in(m_device);
    in.setVersion(StreamVersion);
    quint8 tag = 0;
    quint32 length = 0;
    in >> tag >> length;
    // Sizes are checked against the bytes really there before anything is
    // allocated for them: a damaged count must not ask for gigabytes.
    if (tag != PageTag || in.status() != QDataStream::Ok || qint64(length) > m_device->size() - m_device->pos())
        corrupt();
    qint32 number = 0;
    quint32 count = 0;
    in >> number >> count;
    if (in.status() != QDataStream::Ok || count > length / MinItemBytes)
        corrupt();
    page.number = number;
    page.items.resize(count);
    for (PageItem &item : page.items) {
        readItem(in, item);
        if (item.kind == PageItem::Text && item.font >= m_setup.fonts.size())
            corrupt();
    }
    if (in.status() != QDataStream::Ok)
        corrupt();
    m_next = offset + 1 + 4 + qint64(length);
}

} // namespace rel
