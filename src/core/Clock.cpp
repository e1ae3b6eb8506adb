#include "Clock.h"

namespace vosmira {

namespace {
std::function<QDate()> g_source;
}

QDate Clock::today()
{
    return g_source ? g_source() : QDate::currentDate();
}

void Clock::set(std::function<QDate()> source)
{
    g_source = std::move(source);
}

} // namespace vosmira
