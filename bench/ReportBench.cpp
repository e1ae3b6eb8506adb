#include "ReportBench.h"

#include "ReportComposition.h"
#include "TRelDataSetConnection.h"
#include "TRelPageWriter.h"
#include "TRelProject.h"
#include "TRelRender.h"
#include "TextMetrics.h"
#include "Timing.h"
#include "UDMbanco.h"

#include <QBuffer>
#include <QDir>
#include <QLocale>
#include <QTemporaryDir>

#include <memory>
#include <stdexcept>

using namespace Qt::Literals::StringLiterals;

namespace vbench {

namespace {

qint64 folderBytes(const QString &path)
{
    qint64 total = 0;
    for (const QFileInfo &info : QDir(path).entryInfoList(QDir::Files))
        total += info.size();
    return total;
}

} // namespace

void measureReports(const SizeRun &run, TDMbanco &dm)
{
    TClientDataSet &selection = *dm.CDS_PED_Cliente;
    selection.SetFiltered(false);
    selection.EmptyDataSet();
    selection.CopyDataFrom(*dm.CDSCliente);

    struct Format
    {
        Format(const QString &k, rel::TRelRender *r)
            : key(k)
            , renderer(r)
        {
        }
        QString key;
        std::unique_ptr<rel::TRelRender> renderer;
        std::vector<double> times;
        qint64 bytes = 0;
    };
    std::vector<Format> formats;
    formats.emplace_back(u"report.pdf"_s, new rel::TRelRenderPDF);
    formats.emplace_back(u"report.html"_s, new rel::TRelRenderHTML);
    formats.emplace_back(u"report.rtf"_s, new rel::TRelRenderRTF);
    formats.emplace_back(u"report.txt"_s, new rel::TRelRenderText);

    vosmira::ReportSections every;
    every.contato = every.endereco = every.prof = every.obs = true;
    std::vector<double> runs;
    int pages = 0;
    const int repeat = std::min(run.repeat, 3);
    for (int r = 0; r < repeat; ++r) {
        rel::TRelProject project;
        project.SetProjectFile(vosmira::reportProjectPath(run.programFolder));
        vosmira::TRelDataSetConnection connection(u"RelDataSetConnection1"_s, &selection);
        project.AddDataConnection(&connection);
        rel::TRelPageWriter writer;
        QBuffer stream;
        writer.SetStreamMode(rel::smUserStream);
        writer.SetStream(&stream);
        project.SetEngine(&writer);

        // As a file run of the report window: open the project, set the
        // section parameters, record the pages.
        bool ran = false;
        runs.push_back(timed([&] {
            project.Open();
            ran = project.ExecuteReport(vosmira::composeReport(project, every, false));
        }));
        if (!ran || writer.PageCount() == 0)
            throw std::runtime_error("the report recorded no pages");
        pages = writer.PageCount();

        QTemporaryDir out;
        for (Format &f : formats) {
            const QString folder = out.filePath(f.key);
            QDir().mkpath(folder);
            f.times.push_back(timed([&] { f.renderer->PrintRender(&stream, folder + u"/relatorio"_s); }));
            f.bytes = folderBytes(folder);
        }
        project.Close();
    }
    run.set(u"report.run"_s, median(runs));
    const QLocale english(QLocale::English);
    QStringList sizes;
    for (const Format &f : formats) {
        run.set(f.key, median(f.times));
        sizes.append(u"%1 %2 KiB"_s.arg(f.key.mid(7).toUpper(), english.toString(f.bytes / 1024)));
    }
    run.note(u"Report of %1 clients with every section: %2 pages; files: %3."_s.arg(
        english.toString(selection.RecordCount()), english.toString(pages), sizes.join(u", "_s)));
}

void measureWrapping(Results &results)
{
    rel::TextMetrics metrics({rel::FontSpec{u"DejaVu Sans"_s, 8.5, false, false}});
    const qreal field = 60 * rel::GridColumn;
    auto wrapTime = [&](int length) {
        const QString name(length, u'M');
        std::vector<double> times;
        for (int i = 0; i < 3; ++i)
            times.push_back(timed([&] { metrics.wrap(0, name, field); }));
        return median(times);
    };
    const double small = wrapTime(100000);
    const double large = wrapTime(400000);
    results.note(u"Wrapping a name without blanks into a 60-column field: 100,000 characters %1 ms, 400,000 "
                 "characters %2 ms (ratio %3; linear is 4, quadratic 16)."_s.arg(small * 1000, 0, 'f', 1)
                     .arg(large * 1000, 0, 'f', 1)
                     .arg(large / small, 0, 'f', 1));
}

} // namespace vbench
