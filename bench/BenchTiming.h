#pragma once

#include <QCoreApplication>

#include <algorithm>
#include <functional>
#include <vector>

// Lets events run until done() holds: a benchmark waits on the real event loop, as the program does.
inline void runEventsUntil(const std::function<bool()>& done)
{
    while (!done())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
}

// The value below which the fraction p of the values lie.
inline double percentile(std::vector<double> values, double p)
{
    std::sort(values.begin(), values.end());
    return values.at(std::min(values.size() - 1, size_t(p * double(values.size()))));
}
