#pragma once
// Reads a website for the project intake: the page the address names and up to three more of
// the same site that look like About, Product, Services or Pricing; then its facts and digest.
// Only the service's own origin is ever asked; any other address comes back with a warning.
#include "core/Service.h"
#include "intake/IntakeSource.h"

namespace service::intake {

// Without a token: the caller stores the evidence when it wants to hand one out.
IntakeSource readWebsite(Service& s, const std::string& websiteUrl);

} // namespace service::intake
