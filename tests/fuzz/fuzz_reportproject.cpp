// Any bytes as a report project file: the parser accepts them or refuses them
// with ProjectFileError, and every report it accepts is laid out over a few
// clients and rendered in the four formats without a crash.
#include "ProjectParser.h"
#include "ReportError.h"
#include "ReportLayout.h"
#include "SyntheticClients.h"
#include "TRelRender.h"

#include <QBuffer>
#include <QGuiApplication>

#include <cstdint>
#include <memory>

using namespace Qt::StringLiterals;

namespace {

rel::TRelMemoryConnection *clients()
{
    static const std::unique_ptr<rel::TRelMemoryConnection> rows = [] {
        auto made = rtest::makeClients(4, rtest::Kind::Fisica);
        made->AppendRow(rtest::bareClient(QString(300, u'M'), u"e\u0301 \U0001F600 [x] {y}"_s, rtest::Kind::Fisica));
        return made;
    }();
    return rows.get();
}

void runReport(const rel::ProjectDefinition &project, const rel::ReportDefinition &report)
{
    rel::ReportJob job;
    job.project = &project;
    job.report = &report;
    job.connection = clients();
    job.printedAt = QDateTime(QDate(2024, 3, 5), QTime(14, 30));
    job.title = QStringLiteral("fuzz");
    // Every section the project defines, one per slot, in file order.
    for (qsizetype i = 0; i < report.slotNames.size() && i < project.sections.size(); ++i)
        job.params.insert(report.slotNames.at(i).toUpper(), project.sections.at(i).code);

    QBuffer recording;
    recording.open(QIODevice::ReadWrite);
    rel::PageStreamWriter writer(&recording);
    // A project may lay out endless pages; a few show whatever is wrong.
    if (!rel::layoutReport(job, writer, [](int page) { return page <= 12; }))
        return;
    for (rel::TFileFormat format : rel::AllFileFormats) {
        QBuffer out;
        out.open(QIODevice::WriteOnly);
        recording.seek(0);
        rel::makeRenderer(format)->RenderTo(&recording, out);
    }
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    // Text is measured with real fonts, which need a GUI application.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static QGuiApplication app(*argc, *argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    try {
        const rel::ProjectDefinition project = rel::parseProject(bytes, QStringLiteral("fuzz.rav"));
        for (qsizetype i = 0; i < project.reports.size() && i < 3; ++i)
            runReport(project, project.reports.at(i));
    } catch (const rel::ReportError &) {
        // Refused with a message: what the program shows the user.
    }
    return 0;
}
