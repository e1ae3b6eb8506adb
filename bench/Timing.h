#pragma once

#include <QStringList>

#include <chrono>
#include <vector>

namespace vbench {

// Seconds a call takes on the monotonic clock.
template <typename F>
double timed(F &&f)
{
    const auto start = std::chrono::steady_clock::now();
    f();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

double median(std::vector<double> values);
double maximum(const std::vector<double> &values);

// Runs a program to completion with its output thrown away; seconds from start
// to exit. Throws std::runtime_error when it cannot start or fails.
double timedProcess(const QString &program, const QStringList &arguments);

// Keeps the optimiser from dropping a result nobody reads.
void keep(long long value);

} // namespace vbench
