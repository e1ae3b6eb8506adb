#include "CheckDigitBench.h"

#include "CheckDigits.h"
#include "DocumentNumbers.h"
#include "Timing.h"
#include "UDMbanco.h"

#include <stdexcept>

using namespace Qt::Literals::StringLiterals;

namespace vbench {

namespace {

template <typename Check>
double perNumber(const SizeRun &run, const QStringList &numbers, Check check)
{
    std::vector<double> times;
    int valid = 0;
    for (int r = 0; r < run.repeat; ++r) {
        valid = 0;
        times.push_back(timed([&] {
            for (const QString &number : numbers)
                valid += check(number) ? 1 : 0;
        }));
    }
    if (valid != numbers.size())
        throw std::runtime_error("a generated document number fails its check");
    return median(times) / double(numbers.size());
}

} // namespace

void measureCheckDigits(const SizeRun &run, TDMbanco &dm)
{
    const TClientDataSet &clients = *dm.CDSCliente;
    QStringList cpfs;
    QStringList cnpjs;
    for (int i = 0; i < clients.RecordCount(); ++i) {
        if (const QString cpf = clients.ValueAt(i, ClientRecord::col_CPF).toString(); !cpf.isEmpty())
            cpfs.append(cpf);
        if (const QString cnpj = clients.ValueAt(i, ClientRecord::col_CNPJ).toString(); !cnpj.isEmpty())
            cnpjs.append(bareCnpj(cnpj));
    }
    run.set(u"check.cpf"_s, perNumber(run, cpfs, [](const QString &s) { return vosmira::checkdigits::cpf(s); }));
    run.set(u"check.cgc"_s, perNumber(run, cnpjs, [](const QString &s) { return vosmira::checkdigits::cgc(s); }));
}

} // namespace vbench
