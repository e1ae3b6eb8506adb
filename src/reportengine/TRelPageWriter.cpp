#include "TRelPageWriter.h"

#include "ReportError.h"

namespace rel {

TRelEngine::~TRelEngine() = default;

TRelPageWriter::TRelPageWriter(QObject *parent)
    : TRelEngine(parent)
{
}

TRelPageWriter::~TRelPageWriter() = default;

QIODevice *TRelPageWriter::Stream() const
{
    return m_mode == smUserStream ? m_stream.data() : const_cast<QBuffer *>(&m_own);
}

namespace {

// Counts pages on their way into the stream.
class CountingSink final : public PageSink
{
public:
    explicit CountingSink(PageSink &inner)
        : m_inner(inner)
    {
    }
    void beginDocument(const PageSetup &setup) override { m_inner.beginDocument(setup); }
    void addPage(const Page &page) override
    {
        m_inner.addPage(page);
        ++pages;
    }
    void endDocument(int count) override { m_inner.endDocument(count); }
    int pages = 0;

private:
    PageSink &m_inner;
};

} // namespace

bool TRelPageWriter::Execute(ReportJob job)
{
    QIODevice *stream = Stream();
    if (!stream)
        throw ReportError(QStringLiteral("O gravador de páginas não recebeu um fluxo para gravar o relatório."));
    if (m_mode == smMemory) {
        m_own.close();
        m_own.setData(QByteArray());
    }
    job.title = m_title;
    PageStreamWriter writer(stream);
    CountingSink counting(writer);
    m_pages = 0;
    const bool done = layoutReport(job, counting);
    m_pages = counting.pages;
    return done;
}

} // namespace rel
