#include "ListBench.h"

#include "ClientGenerator.h"
#include "Timing.h"

#include "TDBGrid.h"
#include "TDataSource.h"
#include "UDMbanco.h"
#include "UFrmFIND_ALTERARcliente.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>

#include <algorithm>
#include <memory>
#include <stdexcept>

using namespace Qt::Literals::StringLiterals;

namespace vbench {

namespace {

// As in the grid benchmark: the follow, the repaint and a layout each take a turn.
void settle()
{
    for (int turn = 0; turn < 3; ++turn)
        QCoreApplication::processEvents();
}

void typeKey(QWidget *edit, QChar c)
{
    QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
    QKeyEvent release(QEvent::KeyRelease, Qt::Key_unknown, Qt::NoModifier, QString(c));
    QCoreApplication::sendEvent(edit, &press);
    QCoreApplication::sendEvent(edit, &release);
}

double mean(const std::vector<double> &v)
{
    double sum = 0;
    for (double x : v)
        sum += x;
    return v.empty() ? 0 : sum / double(v.size());
}

// Per keystroke, the median of the repetitions: typed into the shown window, and
// the bare Locate of what the box then holds, the two taking turns.
struct Keystrokes
{
    std::vector<double> window;
    std::vector<double> bare;
};

Keystrokes typeNames(vosmira::TFrmFIND_ALTERARcliente &list, TClientDataSet &cds, const QStringList &names, int letters,
                     int repeat)
{
    std::vector<std::vector<double>> window;
    std::vector<std::vector<double>> bare;
    for (int r = 0; r < repeat; ++r) {
        std::size_t k = 0;
        for (const QString &name : names) {
            list.Edit1->clear();
            settle();
            const auto count = std::min<qsizetype>(letters, name.size());
            for (qsizetype i = 0; i < count; ++i, ++k) {
                if (window.size() <= k) {
                    window.emplace_back();
                    bare.emplace_back();
                }
                const auto inWindow = [&] {
                    window[k].push_back(timed([&] {
                        typeKey(list.Edit1, name.at(i));
                        settle();
                    }));
                };
                const auto alone = [&] {
                    const QString typed = name.left(i + 1).toUpper();
                    bare[k].push_back(
                        timed([&] { keep(cds.Locate(u"NOME", typed, loCaseInsensitive | loPartialKey)); }));
                };
                // The bare search leaves the cursor where the window's had put it.
                if ((r + int(k)) % 2) {
                    inWindow();
                    alone();
                } else {
                    const int at = cds.RecNo();
                    alone();
                    cds.SetRecNo(at);
                    settle();
                    inWindow();
                }
            }
            if (list.Edit1->text() != name.left(count).toUpper())
                throw std::runtime_error("the search box does not hold what was typed");
        }
    }
    Keystrokes medians;
    for (std::size_t k = 0; k < window.size(); ++k) {
        medians.window.push_back(median(window[k]));
        medians.bare.push_back(median(bare[k]));
    }
    return medians;
}

} // namespace

void measureListWindow(const SizeRun &run, TDMbanco &dm)
{
    TDMbanco *const previous = DMbanco;
    DMbanco = &dm;
    TClientDataSet &cds = *dm.CDSCliente;
    cds.SetFiltered(false);
    cds.First();

    // Opening: the window built, shown and painted; against a bare grid window.
    std::vector<double> open;
    std::vector<double> openRef;
    for (int r = 0; r < 2 * run.repeat; ++r) {
        for (const int turn : {0, 1}) {
            if ((r + turn) % 2) {
                std::unique_ptr<vosmira::TFrmFIND_ALTERARcliente> list;
                open.push_back(timed([&] {
                    list = std::make_unique<vosmira::TFrmFIND_ALTERARcliente>();
                    list->show();
                    settle();
                }));
                if (list->DBGrid1->model()->rowCount() != run.n)
                    throw std::runtime_error("the list window does not show every client");
            } else {
                std::unique_ptr<QWidget> window;
                openRef.push_back(timed([&] {
                    window = std::make_unique<QWidget>();
                    auto *grid = new vosmira::TDBGrid(window.get());
                    grid->setGeometry(10, 50, 400, 176);
                    grid->setColumn(u"NOME"_s, 375);
                    grid->setDataSource(new vosmira::TDataSource(&cds, window.get()));
                    window->resize(485, 257);
                    window->show();
                    settle();
                }));
            }
            settle();
        }
    }
    run.set(u"list.open"_s, median(open));
    run.set(u"list.open.ref"_s, median(openRef));

    vosmira::TFrmFIND_ALTERARcliente list;
    list.show();
    settle();

    // Worst: every keystroke of the name that sorts last, the only match.
    const QString last = ClientGenerator::lastInOrderName();
    const Keystrokes worst = typeNames(list, cds, {last}, 100, run.repeat);
    if (cds.RecNo() != cds.RecordCount() || list.DBGrid1->currentIndex().row() != cds.RecNo() - 1)
        throw std::runtime_error("the list window did not find the last client");
    // The slowest keystroke in the window, beside the bare Locate of that same text.
    const auto slowest = std::max_element(worst.window.begin(), worst.window.end()) - worst.window.begin();
    run.set(u"list.key.worst"_s, worst.window[std::size_t(slowest)]);
    run.set(u"list.key.worst.bare"_s, worst.bare[std::size_t(slowest)]);

    // Typical: the first twelve letters of clients spread over the table.
    QStringList typical;
    for (int j = 0; j < 6; ++j)
        typical.append(
            cds.DisplayTextAt(int(std::size_t(run.n) * std::size_t(2 * j + 1) / 12), ClientRecord::col_NOME));
    const Keystrokes usual = typeNames(list, cds, typical, 12, run.repeat);
    run.set(u"list.key.typical"_s, mean(usual.window));
    run.set(u"list.key.typical.bare"_s, mean(usual.bare));

    list.close();
    cds.First();
    DMbanco = previous;
}

} // namespace vbench
