#pragma once
// The service's idea of now: wall time moved by the offset tests set through /__test/clock.
#include "core/Service.h"

#include <ctime>

namespace service {

inline long long serviceNow(const Service& s)
{
    return static_cast<long long>(std::time(nullptr)) + s.clockOffsetSeconds.load();
}

} // namespace service
