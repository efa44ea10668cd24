#pragma once
// Token amounts as the user sees them, in the service's unit "◆" (one US dollar = 2000 ◆).
#include <QString>

namespace halvex::TokenDisplay {

// A token count in the user's locale: "◆ 12,500". Negative counts show as "◆ 0".
QString format(double value);

} // namespace halvex::TokenDisplay

namespace halvex::TokenFormat {

inline constexpr double tokensPerDollar = 2000.0;

// A dollar amount as tokens, always grouped the en_US way so budgets read alike everywhere.
QString diamonds(double usd);

} // namespace halvex::TokenFormat
