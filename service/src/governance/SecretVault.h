#pragma once
// Secrets people hand the service (carrier tokens, app keys, passwords) are stored sealed with a
// key kept beside the database, so a copied database alone does not give them away. Only the
// code that talks to the outside world opens them; no answer or log line ever carries one.
#include "core/Service.h"

#include <optional>
#include <string>

namespace service {

// Hex of a fresh nonce and the sealed text.
std::string sealSecret(const Service& s, const std::string& plain);
// The secret again, or nothing when the text was not sealed with this service's key.
std::optional<std::string> openSecret(const Service& s, const std::string& sealed);

} // namespace service
