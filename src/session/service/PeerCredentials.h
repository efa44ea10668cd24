#pragma once
// Who is at the other end of a local socket, as the kernel tells it (SO_PEERCRED).
#include <QtGlobal>

#include <optional>

namespace halvex {

// The user id of the process connected to `socketDescriptor`; nothing when the kernel cannot say.
std::optional<uint> peerUserId(qintptr socketDescriptor);
// The user id this process runs as.
uint ownUserId();

} // namespace halvex
