#pragma once
// Moves the service clock of a test service forward; whatever the service paces on it catches
// up before this returns.
#include "ChatTestSupport.h"

namespace chattest {

inline bool advanceClock(const LiveService& s, long long seconds)
{
    auto r = s.client().Post("/__test/clock", json{{"advance_seconds", seconds}}.dump(), "application/json");
    return r && r->status == 200;
}

} // namespace chattest
