#pragma once
// The web store's pages: plain HTML with an inline stylesheet and no scripts; every text that
// comes from a person or the store is escaped.
#include "billing/Plans.h"

#include <optional>
#include <string>

namespace service::billing {

struct Notice {
    bool error = false;
    std::string text;
};

// "50,000"
std::string groupedNumber(long long n);
// "$25" or "$12.50"
std::string dollars(long long cents);

std::string signInPage(const std::string& next, const std::optional<Notice>& notice);
std::string topUpPage(const std::string& email, long long availableCredits, const std::optional<Notice>& notice);
std::string plansPage(const std::string& email, const Plan& current, const std::optional<Notice>& notice);
std::string refusedPage(const std::string& message);

} // namespace service::billing
