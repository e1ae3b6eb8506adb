#include "GridBench.h"

#include "ClientGenerator.h"
#include "Timing.h"

#include "TDBGrid.h"
#include "TDataSource.h"
#include "UDMbanco.h"

#include <QCoreApplication>
#include <QWidget>

#include <array>
#include <stdexcept>

using namespace Qt::Literals::StringLiterals;

namespace vbench {

namespace {

// Events posted while the loop delivers events wait for its next turn: the grid
// follows the cursor in one, repaints in the next, lays out after a reset in a
// third. Idle turns cost microseconds.
void settle()
{
    for (int turn = 0; turn < 3; ++turn)
        QCoreApplication::processEvents();
}

// What the user waits for: the change, then the grid following and repainting.
template <typename F>
double settled(F &&f)
{
    return timed([&] {
        f();
        settle();
    });
}

} // namespace

void measureGrid(const SizeRun &run, TDMbanco &dm)
{
    TClientDataSet &cds = *dm.CDSCliente;
    cds.SetFiltered(false);
    // The client list's grid: one 375-pixel column of names in a shown window.
    QWidget window;
    auto *grid = new vosmira::TDBGrid(&window);
    grid->setGeometry(8, 8, 400, 420);
    grid->setColumn(u"NOME"_s, 375);
    auto *source = new vosmira::TDataSource(&cds, &window);
    window.resize(416, 436);
    window.show();
    settle();

    const QString last = ClientGenerator::lastInOrderName().toUpper();
    const QString pf = ClientRecord::kindFilter(ClientRecord::pessoaFisica());
    const QString pj = ClientRecord::kindFilter(ClientRecord::pessoaJuridica());
    TField *name = cds.FieldByName(u"NOME");
    std::array<std::vector<double>, 2> locate;
    std::array<std::vector<double>, 2> walk;
    std::array<std::vector<double>, 2> filter;
    // Each move takes milliseconds at most and the machine is shared: four times the
    // usual repetitions, the two cases taking turns at going first.
    for (int r = 0; r < 4 * run.repeat; ++r) {
        for (const int turn : {0, 1}) {
            const int withGrid = (r + turn) % 2;
            grid->setDataSource(withGrid ? source : nullptr);
            cds.SetFiltered(false);
            cds.First();
            settle();

            locate[withGrid].push_back(settled([&] {
                if (!cds.Locate(u"NOME", last, loCaseInsensitive | loPartialKey))
                    throw std::runtime_error("the last client in name order was not found");
            }));
            if (withGrid && grid->currentIndex().row() != cds.RecNo() - 1)
                throw std::runtime_error("the grid did not follow the cursor");

            // A loop over every row, as code reading the dataset row by row does.
            if (r < run.repeat) {
                long long length = 0;
                walk[withGrid].push_back(settled([&] {
                                             for (int i = 1; i <= run.n; ++i) {
                                                 cds.SetRecNo(i);
                                                 length += name->AsString().size();
                                             }
                                         })
                                         / run.n);
                keep(length);
            }

            cds.SetFilter(pf);
            cds.SetFiltered(true);
            settle();
            filter[withGrid].push_back(settled([&] { cds.SetFilter(pj); }));
            if (withGrid && grid->model()->rowCount() != cds.RecordCount())
                throw std::runtime_error("the grid does not show the filtered clients");
        }
    }
    grid->setDataSource(nullptr);
    cds.SetFiltered(false);
    run.set(u"grid.locate"_s, median(locate[1]));
    run.set(u"grid.locate.bare"_s, median(locate[0]));
    run.set(u"grid.walk"_s, median(walk[1]));
    run.set(u"grid.walk.bare"_s, median(walk[0]));
    run.set(u"grid.filter"_s, median(filter[1]));
    run.set(u"grid.filter.bare"_s, median(filter[0]));
}

} // namespace vbench
