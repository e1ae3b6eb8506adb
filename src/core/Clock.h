#pragma once

#include <QDate>

#include <functional>

namespace vosmira {

// Today's date for the windows; tests put a fixed day in.
class Clock
{
public:
    static QDate today();
    // An empty function restores the system clock.
    static void set(std::function<QDate()> source);
};

} // namespace vosmira
