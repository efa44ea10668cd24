#include "core/prefs/AppNotifications.h"

namespace halvex {

AppNotifications& AppNotifications::shared()
{
    static auto* bus = new AppNotifications;
    return *bus;
}

} // namespace halvex
