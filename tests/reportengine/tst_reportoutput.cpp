#include "ClientRecord.h"
#include "EditMask.h"
#include "Readers.h"
#include "ReportError.h"
#include "SyntheticClients.h"
#include "TRelPageWriter.h"
#include "TRelProject.h"
#include "TRelRender.h"
#include "TextMetrics.h"

#include "FaultInjection.h"

#include <QBuffer>
#include <QDataStream>
#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <memory>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {

const QDateTime kPrintedAt(QDate(2024, 3, 5), QTime(14, 30));

enum Format { Pdf, Html, Rtf, Txt };
const QStringList kFormatNames = {u"pdf"_s, u"html"_s, u"rtf"_s, u"txt"_s};

std::unique_ptr<rel::TRelRender> renderer(Format f)
{
    switch (f) {
    case Pdf: return std::make_unique<rel::TRelRenderPDF>();
    case Html: return std::make_unique<rel::TRelRenderHTML>();
    case Rtf: return std::make_unique<rel::TRelRenderRTF>();
    case Txt: break;
    }
    return std::make_unique<rel::TRelRenderText>();
}

QStringList sectionCodes(rtest::Kind kind)
{
    return {u"Show_Contato"_s, u"Show_Endereco"_s,
            kind == rtest::Kind::Fisica ? u"Show_Prof"_s : u"Show_Sec_Prof_Juridica"_s, u"Show_OBS"_s};
}

// Records report RV_VOSMIRA_<sections> with the first sections ticked.
int record(QBuffer &stream, rel::TRelDataConnection &data, int sections, rtest::Kind kind)
{
    rel::TRelProject project;
    rel::TRelPageWriter writer;
    writer.SetStreamMode(rel::smUserStream);
    writer.SetStream(&stream);
    project.SetEngine(&writer);
    project.AddDataConnection(&data);
    project.SetPrintedAt(kPrintedAt);
    project.SetProjectFile(rtest::sourceProjectFile());
    project.Open();
    project.SetParam(u"GENERO1"_s, u"Show_Nome"_s);
    for (int i = 0; i < sections; ++i)
        project.SetParam(u"GENERO"_s + QString::number(i + 2), sectionCodes(kind).at(i));
    if (!project.ExecuteReport(u"RV_VOSMIRA_"_s + QString::number(sections)))
        return -1;
    return writer.PageCount();
}

QString readText(const QString &file)
{
    QFile f(file);
    f.open(QIODevice::ReadOnly);
    return QString::fromUtf8(f.readAll());
}

// The text a reader finds in a file of the format.
QString readBack(Format f, const QString &file, bool layout = false)
{
    switch (f) {
    case Pdf: return rtest::pdfText(file, 0, layout);
    case Html: {
        const rtest::HtmlContent html = rtest::htmlContent(file);
        if (!html.wellFormed)
            qWarning("%s", qPrintable(html.error));
        return html.wellFormed ? html.text() : QString();
    }
    case Rtf: return rtest::rtfContent(file).text;
    case Txt: break;
    }
    return readText(file);
}

} // namespace

class TstReportOutput : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void fiveReports_data();
    void fiveReports();
    void accentsAndLongObservations_data();
    void accentsAndLongObservations();
    void textMatchesGolden_data();
    void textMatchesGolden();
    void fileNames_data();
    void fileNames();
    void existingFileIsOverwritten_data();
    void existingFileIsOverwritten();
    void unwritableTarget_data();
    void unwritableTarget();
    void failedWriteKeepsTheOldReport_data();
    void failedWriteKeepsTheOldReport();
    void pageBreaksForHundredsOfClients();
    void rtfPagesFitTheirSheet_data();
    void rtfPagesFitTheirSheet();
    void emptySelection();
    void corruptStreamIsRefused_data();
    void corruptStreamIsRefused();
    void markupInValuesIsText_data();
    void markupInValuesIsText();
    void unbrokenCharactersBeyondTheBasicPlane_data();
    void unbrokenCharactersBeyondTheBasicPlane();
    void textGridNeverOverprints();
    void longestValuesAreWhole_data();
    void longestValuesAreWhole();
    void wrappingMeasuresEachCharacterOnce_data();
    void wrappingMeasuresEachCharacterOnce();

private:
    QTemporaryDir m_dir;
};

void TstReportOutput::initTestCase()
{
    QVERIFY(m_dir.isValid());
}

void TstReportOutput::fiveReports_data()
{
    QTest::addColumn<int>("sections");
    QTest::addColumn<int>("kind");
    for (int n = 0; n <= 4; ++n) {
        QTest::addRow("RV_VOSMIRA_%d pf", n) << n << int(rtest::Kind::Fisica);
        QTest::addRow("RV_VOSMIRA_%d pj", n) << n << int(rtest::Kind::Juridica);
    }
}

void TstReportOutput::fiveReports()
{
    QFETCH(int, sections);
    QFETCH(int, kind);
    const auto k = rtest::Kind(kind);
    auto data = rtest::makeClients(12, k);
    QBuffer stream;
    const int pages = record(stream, *data, sections, k);
    QVERIFY(pages >= 1);

    // What each optional section shows, as a reader sees it: label and masked value.
    const QList<QRegularExpression> shows = {
        QRegularExpression(u"Telefones:\\s+\\(\\d{2}\\)\\d{4}-\\d{4}"_s),
        QRegularExpression(u"CEP:\\s+\\d{5}-\\d{3}"_s),
        k == rtest::Kind::Fisica ? QRegularExpression(u"CPF:\\s+\\d{3}\\.\\d{3}\\.\\d{3}-\\d{2}"_s)
                                 : QRegularExpression(u"CNPJ:\\s+\\d{2}\\.\\d{3}\\.\\d{3}/\\d{4}-\\d{2}"_s),
        QRegularExpression(u"Cliente desde a inauguração|Pagamento à vista"_s),
    };

    for (Format f : {Pdf, Html, Rtf, Txt}) {
        const QString file = m_dir.filePath(u"rv%1_%2."_s.arg(sections).arg(kind) + kFormatNames.at(f));
        renderer(f)->PrintRender(&stream, file);
        // Lines as laid out, so a label stays beside its value.
        const QString text = readBack(f, file, true);
        const QString flat = rtest::flat(text);
        QVERIFY2(!flat.isEmpty(), qPrintable(kFormatNames.at(f)));
        const QByteArray where = (kFormatNames.at(f) + u": "_s + flat.left(300)).toUtf8();
        QVERIFY2(flat.contains(u"Relação de Clientes"_s), where);
        QVERIFY2(flat.contains(rtest::kindText(k)), where);
        QVERIFY2(flat.contains(u"Emitido em 05/03/2024 às 14:30"_s), where);
        QVERIFY2(flat.contains(u"Página 1 de %1"_s.arg(pages)), where);
        QVERIFY2(flat.contains(u"Total de clientes: 12"_s), where);
        for (data->First(); !data->Eof(); data->Next())
            QVERIFY2(flat.contains(data->DisplayText(1)),
                     qPrintable(data->DisplayText(1) + u" in "_s + kFormatNames.at(f)));
        for (int s = 0; s < shows.size(); ++s) {
            const bool shown = shows.at(s).match(flat).hasMatch();
            QVERIFY2(
                shown == (s < sections),
                qPrintable(
                    u"%1: section %2 %3"_s.arg(kFormatNames.at(f)).arg(s + 1).arg(shown ? u"shown"_s : u"missing"_s)));
        }
    }
}

void TstReportOutput::accentsAndLongObservations_data()
{
    QTest::addColumn<int>("format");
    for (Format f : {Pdf, Html, Rtf, Txt})
        QTest::newRow(qPrintable(kFormatNames.at(f))) << int(f);
}

void TstReportOutput::accentsAndLongObservations()
{
    QFETCH(int, format);
    const QString name =
        u"Conceição Araújo Gonçalves Brandão Magalhães Simões Nóbrega Assunção Guimarães Peixoto Ribeiro"_s;
    const QString obs = u"Observação longa: à vista, crédito pré-aprovado, açúcar, pão, maçã, índio, ônibus, úmido, "
                        u"Ângela, Érico, Ícaro, Óscar, Úrsula, coração, ação, não, irmã, avô, você, três, café, "
                        u"fênix, Ñandú e ü. Atendido às segundas e sextas; cobrar após a entrega."_s;
    QVERIFY(obs.size() <= 255);
    rel::TRelMemoryConnection data(u"RelDataSetConnection1"_s, rtest::clientColumns());
    data.AppendRow(rtest::bareClient(name, obs, rtest::Kind::Fisica));
    data.AppendRow(rtest::bareClient(u"Zélia Müller"_s, u"Curta."_s, rtest::Kind::Fisica));
    QBuffer stream;
    rel::TRelProject project;
    rel::TRelPageWriter writer;
    writer.SetStreamMode(rel::smUserStream);
    writer.SetStream(&stream);
    project.SetEngine(&writer);
    project.AddDataConnection(&data);
    project.SetProjectFile(rtest::sourceProjectFile());
    project.SetParam(u"GENERO1"_s, u"Show_Nome"_s);
    project.SetParam(u"GENERO2"_s, u"Show_OBS"_s);
    QVERIFY(project.ExecuteReport(u"RV_VOSMIRA_1"_s));

    const Format f = Format(format);
    const QString file = m_dir.filePath(u"acentos."_s + kFormatNames.at(f));
    renderer(f)->PrintRender(&stream, file);
    const QString flat = rtest::flat(readBack(f, file));
    // Wrapped at spaces only, so the flattened text holds every word in order.
    QVERIFY2(flat.contains(name), qPrintable(flat.left(400)));
    QVERIFY2(flat.contains(rtest::flat(obs)), qPrintable(flat.left(600)));
    QVERIFY(flat.contains(u"Zélia Müller"_s));
}

void TstReportOutput::textMatchesGolden_data()
{
    QTest::addColumn<int>("sections");
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("golden");
    QTest::newRow("RV_VOSMIRA_4 pf") << 4 << int(rtest::Kind::Fisica) << u"rv4_pf.txt"_s;
    QTest::newRow("RV_VOSMIRA_2 pj") << 2 << int(rtest::Kind::Juridica) << u"rv2_pj.txt"_s;
    QTest::newRow("RV_VOSMIRA_0 pf") << 0 << int(rtest::Kind::Fisica) << u"rv0_pf.txt"_s;
}

void TstReportOutput::textMatchesGolden()
{
    QFETCH(int, sections);
    QFETCH(int, kind);
    QFETCH(QString, golden);
    auto data = rtest::makeClients(7, rtest::Kind(kind));
    QBuffer stream;
    QVERIFY(record(stream, *data, sections, rtest::Kind(kind)) > 0);
    const QString file = m_dir.filePath(golden);
    rel::TRelRenderText().PrintRender(&stream, file);
    const QString text = readText(file);

    // The grid: A4 at 10 characters and 6 lines per inch.
    const QStringList pages = text.split(u'\f');
    for (const QString &page : pages) {
        const QStringList lines = page.split(u'\n');
        QVERIFY(lines.size() <= 70 + 1);
        for (const QString &line : lines)
            QVERIFY2(line.size() <= 82, qPrintable(line));
    }

    const QString goldenPath = QStringLiteral(VOSMIRA_GOLDEN_DIR "/") + golden;
    if (qEnvironmentVariableIsSet("VOSMIRA_UPDATE_GOLDEN")) {
        QFile out(goldenPath);
        QVERIFY(out.open(QIODevice::WriteOnly | QIODevice::Truncate));
        out.write(text.toUtf8());
    }
    QCOMPARE(text, readText(goldenPath));
}

void TstReportOutput::fileNames_data()
{
    QTest::addColumn<int>("format");
    QTest::addColumn<QString>("given");
    QTest::addColumn<QString>("written");
    for (Format f : {Pdf, Html, Rtf, Txt}) {
        const QString ext = kFormatNames.at(f);
        QTest::addRow("%s without extension", qPrintable(ext))
            << int(f) << u"lista_"_s + ext << u"lista_"_s + ext + u'.' + ext;
        QTest::addRow("%s other extension", qPrintable(ext))
            << int(f) << u"lista_"_s + ext + u".dat"_s << u"lista_"_s + ext + u".dat"_s;
        QTest::addRow("%s own extension", qPrintable(ext)) << int(f) << u"own."_s + ext << u"own."_s + ext;
        QTest::addRow("%s trailing dot", qPrintable(ext))
            << int(f) << u"ponto_"_s + ext + u'.' << u"ponto_"_s + ext + u'.' + ext;
    }
    QTest::newRow("html in a dotted folder") << int(Html) << u"a.b/lista"_s << u"a.b/lista.html"_s;
}

void TstReportOutput::fileNames()
{
    QFETCH(int, format);
    QFETCH(QString, given);
    QFETCH(QString, written);
    QDir(m_dir.path()).mkpath(u"a.b"_s);
    auto data = rtest::makeClients(2, rtest::Kind::Fisica);
    QBuffer stream;
    QVERIFY(record(stream, *data, 1, rtest::Kind::Fisica) > 0);
    const QString result = renderer(Format(format))->PrintRender(&stream, m_dir.filePath(given));
    QCOMPARE(result, m_dir.filePath(written));
    QVERIFY(QFileInfo(result).isFile());
    QVERIFY(rtest::flat(readBack(Format(format), result)).contains(data->DisplayText(1)) || (data->First(), true));
}

void TstReportOutput::existingFileIsOverwritten_data()
{
    accentsAndLongObservations_data();
}

void TstReportOutput::existingFileIsOverwritten()
{
    QFETCH(int, format);
    const Format f = Format(format);
    const QString file = m_dir.filePath(u"existente."_s + kFormatNames.at(f));
    {
        QFile old(file);
        QVERIFY(old.open(QIODevice::WriteOnly | QIODevice::Truncate));
        old.write(QByteArray(200000, 'x'));
    }
    auto data = rtest::makeClients(3, rtest::Kind::Juridica);
    QBuffer stream;
    QVERIFY(record(stream, *data, 0, rtest::Kind::Juridica) > 0);
    QCOMPARE(renderer(f)->PrintRender(&stream, file), file);
    QVERIFY(QFileInfo(file).size() < 200000);
    data->First();
    QVERIFY(rtest::flat(readBack(f, file)).contains(data->DisplayText(1)));
}

void TstReportOutput::unwritableTarget_data()
{
    QTest::addColumn<QString>("target");
    QTest::newRow("under a regular file") << u"arquivo.txt/lista.pdf"_s;
    QTest::newRow("a folder where the file goes") << u"pasta.pdf"_s;
    QTest::newRow("missing folder") << u"nao/existe/lista.pdf"_s;
    QTest::newRow("the folder itself") << u"."_s;
    QTest::newRow("the folder above") << u"pasta.pdf/.."_s;
}

void TstReportOutput::unwritableTarget()
{
    QFETCH(QString, target);
    {
        QFile file(m_dir.filePath(u"arquivo.txt"_s));
        file.open(QIODevice::WriteOnly | QIODevice::Truncate);
        file.write("intacto");
    }
    QDir(m_dir.path()).mkpath(u"pasta.pdf"_s);
    auto data = rtest::makeClients(2, rtest::Kind::Fisica);
    QBuffer stream;
    QVERIFY(record(stream, *data, 0, rtest::Kind::Fisica) > 0);
    const QString path = m_dir.filePath(target);
    for (Format f : {Pdf, Html, Rtf, Txt}) {
        try {
            renderer(f)->PrintRender(&stream, path);
            QFAIL("wrote into an impossible place");
        } catch (const rel::OutputError &e) {
            QVERIFY2(e.text().contains(QDir::toNativeSeparators(path)), e.what());
            QCOMPARE(e.fileName(), path);
        }
    }
    QCOMPARE(readText(m_dir.filePath(u"arquivo.txt"_s)), u"intacto"_s);
    QVERIFY(QFileInfo(m_dir.filePath(u"pasta.pdf"_s)).isDir());
    QVERIFY(!QFileInfo::exists(m_dir.filePath(u".pdf"_s)));
    QCOMPARE(QDir(m_dir.path()).entryList({u".*"_s}, QDir::Files | QDir::Hidden), QStringList());
}

void TstReportOutput::failedWriteKeepsTheOldReport_data()
{
    QTest::addColumn<int>("format");
    QTest::addColumn<QString>("fault");
    for (Format f : {Pdf, Html, Rtf, Txt}) {
        const QByteArray ext = kFormatNames.at(f).toLatin1();
        // A short report waits in memory for the last flush, and fails there.
        QTest::addRow("%s, disk full when flushed", ext.constData()) << int(f) << u"limit"_s;
        QTest::addRow("%s, full file system", ext.constData()) << int(f) << u"full"_s;
        QTest::addRow("%s, folder refuses a new file", ext.constData()) << int(f) << u"no new file"_s;
    }
}

void TstReportOutput::failedWriteKeepsTheOldReport()
{
    QFETCH(int, format);
    QFETCH(QString, fault);
    auto data = rtest::makeClients(3, rtest::Kind::Fisica);
    QBuffer stream;
    QVERIFY(record(stream, *data, 4, rtest::Kind::Fisica) > 0);

    std::optional<vosmira::test::SmallFileSystem> disk;
    QString folder = m_dir.filePath(u"saida"_s);
    if (fault != u"limit") {
        // As root, no permission keeps a file out of a folder, but a file system
        // without a free inode does.
        disk.emplace(256 * 1024, 16);
        if (disk->isMounted())
            folder = disk->path();
        else if (fault == u"full" || ::geteuid() == 0)
            QSKIP(disk->whyNot());
    }
    QVERIFY(QDir().mkpath(folder));
    const QString file = folder + u"/lista."_s + kFormatNames.at(format);
    const QByteArray old = "o relatório de ontem, que deve ficar";
    {
        QFile f(file);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(old);
    }
    if (fault == u"full")
        QVERIFY(disk->fill(0));
    else if (fault == u"no new file" && disk && disk->isMounted())
        QVERIFY(disk->useAllInodes());
    else if (fault == u"no new file")
        QVERIFY(::chmod(QFile::encodeName(folder).constData(), 0555) == 0);

    QString error;
    {
        std::optional<vosmira::test::FileSizeLimit> limit;
        if (fault == u"limit")
            limit.emplace(old.size() + 10);
        try {
            renderer(Format(format))->PrintRender(&stream, file);
        } catch (const rel::OutputError &e) {
            error = e.text();
        }
    }
    ::chmod(QFile::encodeName(folder).constData(), 0755);
    QVERIFY2(error.contains(QDir::toNativeSeparators(file)), qPrintable(error));
    QVERIFY2(error.endsWith(u"O arquivo existente não foi alterado."_s), qPrintable(error));
    QFile f(file);
    QVERIFY(f.open(QIODevice::ReadOnly));
    QCOMPARE(f.readAll(), old);
    QCOMPARE(QDir(folder).entryList({u".lista*"_s}, QDir::Files | QDir::Hidden), QStringList());
}

void TstReportOutput::pageBreaksForHundredsOfClients()
{
    const int clients = 300;
    auto data = rtest::makeClients(clients, rtest::Kind::Fisica);
    QBuffer stream;
    const int pages = record(stream, *data, 4, rtest::Kind::Fisica);
    QVERIFY(pages > 40);

    const QString pdf = m_dir.filePath(u"muitos.pdf"_s);
    rel::TRelRenderPDF().PrintRender(&stream, pdf);
    QCOMPARE(rtest::pdfPageCount(pdf), pages);
    for (int page : {1, pages / 2, pages}) {
        const QString text = rtest::pdfText(pdf, page);
        QVERIFY2(text.contains(u"Página %1 de %2"_s.arg(page).arg(pages)), qPrintable(text.right(200)));
        QCOMPARE(text.contains(u"Total de clientes: 300"_s), page == pages);
    }

    const QString html = m_dir.filePath(u"muitos.html"_s);
    rel::TRelRenderHTML().PrintRender(&stream, html);
    const rtest::HtmlContent content = rtest::htmlContent(html);
    QVERIFY2(content.wellFormed, qPrintable(content.error));
    QCOMPARE(content.encoding.toLower(), u"utf-8"_s);
    QCOMPARE(content.pages.size(), pages);
    for (int p = 0; p < pages; ++p)
        QVERIFY(rtest::flat(content.pages.at(p)).contains(u"Página %1 de %2"_s.arg(p + 1).arg(pages)));

    const QString rtf = m_dir.filePath(u"muitos.rtf"_s);
    rel::TRelRenderRTF().PrintRender(&stream, rtf);
    const rtest::RtfContent rtfText = rtest::rtfContent(rtf);
    QVERIFY(rtfText.ok);
    QCOMPARE(rtfText.pageBreaks, pages - 1);
    QVERIFY(rtfText.text.contains(u"Página %1 de %1"_s.arg(pages)));

    const QString txt = m_dir.filePath(u"muitos.txt"_s);
    rel::TRelRenderText().PrintRender(&stream, txt);
    const QStringList txtPages = readText(txt).split(u'\f');
    QCOMPARE(txtPages.size(), pages);
    // Every client once, and each block's closing rule on the page where it starts.
    const QRegularExpression blockStart(u"^\\s{3,}(\\d+)\\. \\S"_s);
    QList<int> seen;
    for (int p = 0; p < pages; ++p) {
        int starts = 0;
        int rules = 0;
        const QStringList lines = txtPages.at(p).split(u'\n');
        for (const QString &line : lines) {
            const QRegularExpressionMatch m = blockStart.match(line);
            if (m.hasMatch()) {
                ++starts;
                seen.append(m.captured(1).toInt());
            }
            if (line.trimmed().startsWith(u"-----"_s) && line.trimmed().count(u'-') == line.trimmed().size())
                ++rules;
        }
        QVERIFY(starts > 0);
        QVERIFY2(rules == starts + 2, qPrintable(u"page %1: %2 blocks, %3 rules"_s.arg(p + 1).arg(starts).arg(rules)));
        QVERIFY(txtPages.at(p).contains(u"Página %1 de %2"_s.arg(p + 1).arg(pages)));
    }
    QCOMPARE(seen.size(), clients);
    for (int i = 0; i < clients; ++i)
        QCOMPARE(seen.at(i), i + 1);
}

void TstReportOutput::rtfPagesFitTheirSheet_data()
{
    QTest::addColumn<int>("sections");
    QTest::addColumn<int>("kind");
    QTest::addColumn<int>("clients");
    QTest::newRow("RV_VOSMIRA_4 pf") << 4 << int(rtest::Kind::Fisica) << 30;
    QTest::newRow("RV_VOSMIRA_4 pj") << 4 << int(rtest::Kind::Juridica) << 30;
    QTest::newRow("RV_VOSMIRA_2 pj") << 2 << int(rtest::Kind::Juridica) << 30;
    QTest::newRow("RV_VOSMIRA_0 pf") << 0 << int(rtest::Kind::Fisica) << 130;
    QTest::newRow("RV_VOSMIRA_0 pj") << 0 << int(rtest::Kind::Juridica) << 130;
    QTest::newRow("no clients") << 4 << int(rtest::Kind::Fisica) << 0;
}

// A word processor lays the paragraphs out itself: each recorded page must be
// paragraphs of fixed height that fit between the margins, every line where
// the recording put it, or the footer spills onto a sheet of its own.
void TstReportOutput::rtfPagesFitTheirSheet()
{
    QFETCH(int, sections);
    QFETCH(int, kind);
    QFETCH(int, clients);
    const auto k = rtest::Kind(kind);
    auto data = rtest::makeClients(clients, k);
    QBuffer stream;
    const int pages = record(stream, *data, sections, k);
    QVERIFY(pages >= (clients > 0 ? 2 : 1));
    const QString file = m_dir.filePath(u"folhas.rtf"_s);
    rel::TRelRenderRTF().PrintRender(&stream, file);

    const rtest::RtfLayout layout = rtest::rtfLayout(file);
    QVERIFY(layout.ok);
    QCOMPARE(layout.pages.size(), pages);
    const int printable = layout.paperHeight - layout.marginTop - layout.marginBottom;
    QVERIFY(printable > 0);

    rel::PageStreamReader reader(&stream);
    QCOMPARE(reader.pageCount(), pages);
    rel::Page page;
    for (int p = 0; reader.readPage(page); ++p) {
        const QList<rtest::RtfParagraph> &paras = layout.pages.at(p);
        const QByteArray where = "page " + QByteArray::number(p + 1);
        QVERIFY2(!paras.isEmpty(), where.constData());
        for (const rtest::RtfParagraph &para : paras)
            QVERIFY2(para.exact, QByteArray(where + " at " + QByteArray::number(para.top)).constData());
        const int used = paras.constLast().top + paras.constLast().height;
        QVERIFY2(
            used <= printable,
            QByteArray(where + ": " + QByteArray::number(used) + " of " + QByteArray::number(printable)).constData());

        // Text paragraphs start on recorded lines, and cover every text item.
        QList<int> lines;
        for (const rel::PageItem &item : page.items) {
            if (item.kind == rel::PageItem::Text)
                lines.append(item.y - layout.marginTop);
        }
        for (const rtest::RtfParagraph &para : paras) {
            if (para.text)
                QVERIFY2(lines.contains(para.top),
                         QByteArray(where + " paragraph at " + QByteArray::number(para.top)).constData());
        }
        for (int line : std::as_const(lines)) {
            const bool covered = std::any_of(paras.begin(), paras.end(), [line](const rtest::RtfParagraph &para) {
                return para.text && para.top <= line && line < para.top + para.height;
            });
            QVERIFY2(covered, QByteArray(where + " item at " + QByteArray::number(line)).constData());
        }
        // Rules across the middle of their line, as drawn in the PDF.
        for (const rel::PageItem &item : page.items) {
            if (item.kind != rel::PageItem::Line || item.h != 0)
                continue;
            const int y = item.y - layout.marginTop;
            const bool drawn = std::any_of(paras.begin(), paras.end(), [y](const rtest::RtfParagraph &para) {
                return para.rule >= 0 && qAbs(para.rule - y) <= 1;
            });
            QVERIFY2(drawn, QByteArray(where + " rule at " + QByteArray::number(y)).constData());
        }
    }
}

void TstReportOutput::emptySelection()
{
    rel::TRelMemoryConnection data(u"RelDataSetConnection1"_s, rtest::clientColumns());
    QBuffer stream;
    QCOMPARE(record(stream, data, 2, rtest::Kind::Fisica), 1);
    const QString pdf = m_dir.filePath(u"vazio.pdf"_s);
    rel::TRelRenderPDF().PrintRender(&stream, pdf);
    const QString text = rtest::flat(rtest::pdfText(pdf));
    QVERIFY(text.contains(u"Nenhum cliente selecionado."_s));
    QVERIFY(text.contains(u"Total de clientes: 0"_s));
    QVERIFY(text.contains(u"Página 1 de 1"_s));
}

void TstReportOutput::corruptStreamIsRefused_data()
{
    QTest::addColumn<int>("cut"); // bytes kept of a good recording; -1: garbage
    QTest::newRow("garbage") << -1;
    QTest::newRow("header only") << 20;
    QTest::newRow("cut inside a page") << 700;
    QTest::newRow("a page claiming billions of items") << -2;
}

void TstReportOutput::corruptStreamIsRefused()
{
    QFETCH(int, cut);
    auto data = rtest::makeClients(4, rtest::Kind::Fisica);
    QBuffer good;
    QVERIFY(record(good, *data, 2, rtest::Kind::Fisica) > 0);
    QByteArray bytes = cut == -1 ? QByteArray(4000, '\x5a') : good.data().left(cut);
    if (cut == -2) {
        bytes = good.data();
        rel::PageStreamReader reader(&good);
        const qint64 first = reader.pageOffsets().constFirst();
        // Tag, length, number, count: a length and a count far beyond the stream.
        QDataStream out(&bytes, QIODevice::ReadWrite);
        out.device()->seek(first + 1);
        out << quint32(0xfffffff0) << qint32(1) << quint32(0xffffffe0);
    }
    QBuffer broken(&bytes);
    broken.open(QIODevice::ReadOnly);
    const QString target = m_dir.filePath(u"quebrado.txt"_s);
    QVERIFY_THROWS_EXCEPTION(rel::ReportError, rel::TRelRenderText().PrintRender(&broken, target));
    QVERIFY(!QFileInfo::exists(target));
}

void TstReportOutput::markupInValuesIsText_data()
{
    accentsAndLongObservations_data();
}

// A client's texts are never taken as markup of the output format.
void TstReportOutput::markupInValuesIsText()
{
    QFETCH(int, format);
    const QString name = u"<script>alert(1)</script> & \"Sons\""_s;
    const QString obs = u"{@PAGES} {\\b negrito} \\par \\page }{ <b>&amp;</b> ]]> <!-- x --> 'aspas' \\'e9 fim"_s;
    rel::TRelMemoryConnection data(u"RelDataSetConnection1"_s, rtest::clientColumns());
    data.AppendRow(rtest::bareClient(name, obs, rtest::Kind::Fisica));
    QBuffer stream;
    QCOMPARE(record(stream, data, 4, rtest::Kind::Fisica), 1);
    const Format f = Format(format);
    const QString file = m_dir.filePath(u"marcas."_s + kFormatNames.at(f));
    renderer(f)->PrintRender(&stream, file);
    if (f == Html) {
        const QString raw = readText(file);
        QVERIFY(!raw.contains(u"<script"_s));
        QVERIFY(!raw.contains(u"<b>"_s));
    }
    if (f == Rtf) {
        const rtest::RtfContent rtf = rtest::rtfContent(file);
        QVERIFY(rtf.ok);
        QCOMPARE(rtf.pageBreaks, 0);
    }
    const QString flat = rtest::flat(readBack(f, file));
    QVERIFY2(flat.contains(name), qPrintable(flat.left(300)));
    QVERIFY2(flat.contains(obs), qPrintable(flat.left(500)));
}

void TstReportOutput::unbrokenCharactersBeyondTheBasicPlane_data()
{
    accentsAndLongObservations_data();
}

// A long run without blanks is broken between characters, never inside the
// two halves of one beyond the basic plane or between a letter and its accent.
void TstReportOutput::unbrokenCharactersBeyondTheBasicPlane()
{
    QFETCH(int, format);
    QString pattern;
    while (pattern.size() < 240)
        pattern += u"\U0001F600\U00010348e\u0301"_s;
    // Each shift moves the places where lines must break.
    for (int shift = 0; shift < 6; ++shift) {
        const QString obs = QString(shift, u'x') + pattern;
        rel::TRelMemoryConnection data(u"RelDataSetConnection1"_s, rtest::clientColumns());
        data.AppendRow(rtest::bareClient(u"Emoji"_s, obs, rtest::Kind::Fisica));
        QBuffer stream;
        QCOMPARE(record(stream, data, 4, rtest::Kind::Fisica), 1);

        rel::PageStreamReader reader(&stream);
        rel::Page page;
        QVERIFY(reader.readPage(page));
        int pieces = 0;
        for (const rel::PageItem &item : page.items) {
            if (item.kind != rel::PageItem::Text || !item.text.contains(u"\U0001F600"_s))
                continue;
            ++pieces;
            QVERIFY2(!item.text.front().isLowSurrogate() && !item.text.back().isHighSurrogate(), qPrintable(item.text));
            QVERIFY2(item.text.front().category() != QChar::Mark_NonSpacing, qPrintable(item.text));
        }
        QVERIFY(pieces > 1);

        const Format f = Format(format);
        if (f == Pdf)
            continue; // pdftotext has no glyphs for these to give back
        const QString file = m_dir.filePath(u"emoji."_s + kFormatNames.at(f));
        renderer(f)->PrintRender(&stream, file);
        QString joined = readBack(f, file);
        joined.remove(QRegularExpression(u"\\s+"_s));
        QVERIFY2(joined.contains(obs), qPrintable(joined.left(300)));
    }
}

// Items that would land on the same cells of the grid move right instead.
void TstReportOutput::textGridNeverOverprints()
{
    QBuffer stream;
    rel::PageStreamWriter writer(&stream);
    rel::PageSetup setup;
    setup.fonts.push_back(rel::FontSpec{u"DejaVu Sans"_s, 9, false, false});
    writer.beginDocument(setup);
    rel::Page page;
    page.number = 1;
    const int y = 10 * rel::GridLine;
    page.items.push_back(rel::PageItem::makeText(0, y, rel::GridLine, 0, 0, u"abcdefghij"_s));
    page.items.push_back(rel::PageItem::makeText(5 * rel::GridColumn, y, rel::GridLine, 0, 0, u"XYZ"_s));
    page.items.push_back(rel::PageItem::makeText(2 * rel::GridColumn, y, rel::GridLine, 0, 0, u"kl mn"_s));
    writer.addPage(page);
    writer.endDocument(1);
    const QString file = m_dir.filePath(u"sobreposto.txt"_s);
    rel::TRelRenderText().PrintRender(&stream, file);
    const QString text = readText(file);
    for (const QString &part : {u"abcdefghij"_s, u"XYZ"_s, u"kl mn"_s})
        QVERIFY2(text.contains(part), qPrintable(text.trimmed()));
}

void TstReportOutput::longestValuesAreWhole_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<int>("obsLength"); // the engine takes whatever the dataset holds
    QTest::newRow("pf") << int(rtest::Kind::Fisica) << 255;
    QTest::newRow("pj") << int(rtest::Kind::Juridica) << 255;
    QTest::newRow("pf taller than a page") << int(rtest::Kind::Fisica) << 12000;
}

// Every text at its column's length, without a blank to break at: nothing
// may be lost, run off the page or run into the next field.
void TstReportOutput::longestValuesAreWhole()
{
    QFETCH(int, kind);
    QFETCH(int, obsLength);
    using namespace ClientRecord;
    const auto k = rtest::Kind(kind);
    rel::TRelMemoryConnection data(u"RelDataSetConnection1"_s, rtest::clientColumns());
    rel::TRelMemoryConnection::Row row(ColumnCount);
    QStringList expected;
    for (int c = 1; c < ColumnCount; ++c) {
        const Column &col = column(c);
        if (col.kind == ClientRecord::Kind::Date) {
            row[c] = {QDate(2001, 2, 3), u"03/02/2001"_s};
            continue;
        }
        QString stored;
        if (!col.mask.isEmpty() && c != col_CNPJ)
            stored = QString(col.length, u'9').left(c == col_CPF ? 11 : c == col_CEP ? 8 : 10);
        else if (c == col_CNPJ)
            stored = u"AB.CDE.FGH/IJKL-99"_s;
        else if (c == col_TIPO)
            stored = rtest::kindText(k);
        else
            stored = QString(c == col_OBS ? obsLength : col.length, c == col_OBS ? u'q' : QChar(u'A' + c % 26))
                         .replace(0, 1, u'W');
        const QString shown = col.mask.isEmpty() || c == col_CNPJ ? stored
                                                                  : EditMask::displayText(QString(col.mask), stored);
        row[c] = {stored, shown};
    }
    for (int c : {col_NOME, col_CONTATO, col_SETOR, col_EMAIL, col_SITE, col_BAIRRO, col_CIDADE,
                  k == rtest::Kind::Fisica ? col_PROFISSAO : col_NOME_FANTASIA,
                  k == rtest::Kind::Fisica ? col_CPF : col_CNPJ, col_TELEFONE3, col_CEP})
        expected.append(row[c].displayText);
    data.AppendRow(row);
    data.AppendRow(rtest::bareClient(u"Depois Do Longo"_s, u"fim"_s, k));
    QBuffer stream;
    const int pages = record(stream, data, 4, k);
    QVERIFY(pages >= (obsLength > 1000 ? 2 : 1));

    for (Format f : {Pdf, Html, Rtf, Txt}) {
        const QString file = m_dir.filePath(u"longo_%1_%2."_s.arg(kind).arg(obsLength) + kFormatNames.at(f));
        renderer(f)->PrintRender(&stream, file);
        QString joined = readBack(f, file);
        joined.remove(QRegularExpression(u"\\s+"_s));
        for (const QString &value : std::as_const(expected)) {
            QVERIFY2(joined.contains(value), qPrintable(kFormatNames.at(f) + u": "_s + value.left(40) + u"... ("_s
                                                        + QString::number(value.size()) + u")"_s));
        }
        QVERIFY2(joined.contains(u"Total de clientes: 2"_s.remove(u' ')), qPrintable(kFormatNames.at(f)));
        // The observation may run over pages, between their headers and footers.
        QCOMPARE(joined.count(u'q'), obsLength - 1);
    }
    // On the grid, no line passes the right margin of an A4 sheet.
    const QString txt = readText(m_dir.filePath(u"longo_%1_%2.txt"_s.arg(kind).arg(obsLength)));
    for (const QString &line : txt.split(u'\n'))
        QVERIFY2(line.size() <= 78, qPrintable(line));
}

void TstReportOutput::wrappingMeasuresEachCharacterOnce_data()
{
    QTest::addColumn<QString>("text");
    QTest::newRow("long name without blanks") << QString(100000, u'M');
    QTest::newRow("letters and their accents") << u"e\u0301"_s.repeated(50000);
    QTest::newRow("many short words") << u"ana "_s.repeated(25000);
    QTest::newRow("one blank in a long run") << QString(50000, u'a') + u' ' + QString(50000, u'b');
}

// However long the text, each character is measured a bounded number of times.
void TstReportOutput::wrappingMeasuresEachCharacterOnce()
{
    QFETCH(QString, text);
    rel::TextMetrics metrics({rel::FontSpec{u"DejaVu Sans"_s, 9, false, false}});
    const qreal width = 40 * rel::GridColumn;
    const QStringList lines = metrics.wrap(0, text, width);
    QVERIFY2(metrics.measured() <= 3 * text.size(), qPrintable(QString::number(metrics.measured())));
    QString joined;
    for (const QString &line : lines) {
        QVERIFY2(metrics.width(0, line) <= width, qPrintable(line));
        joined += line;
    }
    QString compact = text;
    QCOMPARE(joined.remove(u' '), compact.remove(u' '));
}

QTEST_MAIN(TstReportOutput)
#include "tst_reportoutput.moc"
