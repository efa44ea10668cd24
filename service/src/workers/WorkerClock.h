#pragma once
// Times of runs and schedules, read from the service clock (wall time moved by the test offset),
// so a run started after the clock moved says so.
#include "core/Service.h"

#include <chrono>
#include <cstdio>
#include <ctime>
#include <string>

namespace service::workers {

// UTC as "YYYY-MM-DDTHH:MM:SS.mmmZ", the shape of every other time the service answers.
inline std::string isoAtMs(long long epochMs)
{
    const std::time_t t = static_cast<std::time_t>(epochMs / 1000);
    std::tm tm{};
    gmtime_r(&t, &tm);
    char buf[64];
    std::snprintf(buf, sizeof buf, "%04d-%02d-%02dT%02d:%02d:%02d.%03dZ", tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday,
                  tm.tm_hour, tm.tm_min, tm.tm_sec, int(epochMs % 1000));
    return buf;
}

inline std::string isoAt(long long epochSeconds) { return isoAtMs(epochSeconds * 1000); }

inline std::string serviceIso(const Service& s)
{
    const auto wall = std::chrono::system_clock::now().time_since_epoch();
    return isoAtMs(std::chrono::duration_cast<std::chrono::milliseconds>(wall).count()
                   + s.clockOffsetSeconds.load() * 1000);
}

} // namespace service::workers
