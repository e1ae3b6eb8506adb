#include "ReportWindowBench.h"

#include "Timing.h"

#include "ClientRecord.h"
#include "Dialogs.h"
#include "ProgramFolder.h"
#include "ReportComposition.h"
#include "TRelProject.h"
#include "UDMbanco.h"
#include "UFrm_PRINT_RELATORIO.h"

#include <QCoreApplication>
#include <QRadioButton>
#include <QToolButton>

#include <array>
#include <memory>
#include <stdexcept>

using namespace Qt::Literals::StringLiterals;

namespace vbench {

namespace {

void settle()
{
    for (int turn = 0; turn < 3; ++turn)
        QCoreApplication::processEvents();
}

template <typename F>
double settled(F &&f)
{
    return timed([&] {
        f();
        settle();
    });
}

void require(bool ok, const char *what)
{
    if (!ok)
        throw std::runtime_error(what);
}

// Any box the window asks for is answered at once, so nothing waits on a user.
class NoDialogs final : public vosmira::DialogService
{
public:
    NoDialogs() { install(this); }
    ~NoDialogs() override { install(nullptr); }
    vosmira::Answer message(QWidget *, const vosmira::MessageRequest &) override
    {
        throw std::runtime_error("the report window showed a message");
    }
    QString fileName(QWidget *, const vosmira::FileRequest &) override { return {}; }
    int exec(QDialog &) override { return 0; }
};

} // namespace

void measureReportWindow(const SizeRun &run, TDMbanco &dm)
{
    NoDialogs dialogs;
    DMbanco = &dm;
    vosmira::setProgramFolder(run.programFolder);
    TClientDataSet &clients = *dm.CDSCliente;
    TClientDataSet &selection = *dm.CDS_PED_Cliente;
    const QString pf = ClientRecord::kindFilter(ClientRecord::pessoaFisica());
    const QString pj = ClientRecord::kindFilter(ClientRecord::pessoaJuridica());
    const auto filterBoth = [&](const QString &filter) {
        for (TClientDataSet *ds : {&clients, &selection}) {
            ds->SetFilter(filter);
            ds->SetFiltered(true);
        }
    };
    // The one client of the kind not yet selected: the last, so ">" searches the whole selection.
    const auto allButLast = [&] {
        selection.EmptyDataSet();
        selection.CopyDataFrom(clients);
        selection.Last();
        selection.Delete();
        clients.Last();
    };

    std::array<std::vector<double>, 2> open, all, kind, one;
    std::unique_ptr<vosmira::TFrmPRINT_REALTORIO> window;
    rel::TRelProject project;
    project.SetProjectFile(vosmira::reportProjectPath(run.programFolder));
    for (int r = 0; r < run.repeat; ++r) {
        window.reset();
        filterBoth(pj);
        selection.CopyDataFrom(clients);
        settle();
        open[1].push_back(settled([&] {
            window = std::make_unique<vosmira::TFrmPRINT_REALTORIO>();
            window->show();
        }));
        require(selection.RecordCount() == 0 && clients.Filter() == pf, "the window did not open on private persons");
        project.Close();
        filterBoth(pj);
        selection.CopyDataFrom(clients);
        open[0].push_back(timed([&] {
            selection.EmptyDataSet();
            filterBoth(pf);
            project.Close();
            project.Open();
        }));

        all[1].push_back(settled([&] { window->SpeedButton3->click(); }));
        require(selection.RecordCount() == clients.RecordCount(), "\">>\" did not select every client of the kind");
        all[0].push_back(timed([&] {
            selection.EmptyDataSet();
            selection.CopyDataFrom(clients);
        }));

        kind[1].push_back(settled([&] { window->RG_PJ->click(); }));
        require(clients.Filter() == pj && selection.IsEmpty(), "the kind switch did not happen");
        selection.CopyDataFrom(clients);
        kind[0].push_back(timed([&] {
            selection.EmptyDataSet();
            filterBoth(pf);
        }));
        filterBoth(pj);

        allButLast();
        settle();
        one[1].push_back(settled([&] { window->SpeedButton4->click(); }));
        require(selection.RecordCount() == clients.RecordCount(), "\">\" did not select the last client");
        allButLast();
        one[0].push_back(timed([&] {
            if (!selection.Locate(u"NOME", dm.CDSClienteNOME->AsString(), 0))
                selection.AppendRecordFrom(clients);
        }));
    }
    window.reset();
    for (TClientDataSet *ds : {&clients, &selection})
        ds->SetFiltered(false);
    selection.EmptyDataSet();
    vosmira::setProgramFolder(QString());
    DMbanco = nullptr;

    run.set(u"reportwin.open"_s, median(open[1]));
    run.set(u"reportwin.open.bare"_s, median(open[0]));
    run.set(u"reportwin.all"_s, median(all[1]));
    run.set(u"reportwin.all.bare"_s, median(all[0]));
    run.set(u"reportwin.kind"_s, median(kind[1]));
    run.set(u"reportwin.kind.bare"_s, median(kind[0]));
    run.set(u"reportwin.one"_s, median(one[1]));
    run.set(u"reportwin.one.bare"_s, median(one[0]));
}

} // namespace vbench
