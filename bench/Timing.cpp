#include "Timing.h"

#include <QProcess>

#include <algorithm>
#include <stdexcept>

namespace vbench {

double median(std::vector<double> values)
{
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    const std::size_t mid = values.size() / 2;
    return values.size() % 2 ? values[mid] : (values[mid - 1] + values[mid]) / 2;
}

double maximum(const std::vector<double> &values)
{
    return values.empty() ? 0 : *std::max_element(values.begin(), values.end());
}

double timedProcess(const QString &program, const QStringList &arguments)
{
    QProcess process;
    process.setStandardOutputFile(QProcess::nullDevice());
    process.setStandardErrorFile(QProcess::nullDevice());
    const double seconds = timed([&] {
        process.start(program, arguments);
        process.waitForFinished(-1);
    });
    if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0)
        throw std::runtime_error(QString(program + QStringLiteral(" failed: ") + process.errorString()).toStdString());
    return seconds;
}

void keep(long long value)
{
    static volatile long long sink = 0;
    sink = sink + value;
}

} // namespace vbench
