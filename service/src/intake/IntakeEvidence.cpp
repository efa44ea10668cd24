#include "intake/IntakeEvidence.h"

#include "core/Crypto.h"
#include "google/ServiceClock.h"

namespace service::intake {

namespace {

constexpr long long kKeepSeconds = 7 * 24 * 3600;

} // namespace

std::string storeEvidence(Service& s, long long uid, const IntakeSource& source)
{
    const std::string token = "ev-" + randomHex(12);
    const long long now = serviceNow(s);
    s.db->transaction([&] {
        s.db->execute("DELETE FROM intake_evidence WHERE created_at < ?", {now - kKeepSeconds});
        s.db->execute("INSERT INTO intake_evidence (token, user_id, source, created_at) VALUES (?, ?, ?, ?)",
                      {token, uid, source.toJson().dump(), now});
    });
    return token;
}

std::optional<IntakeSource> findEvidence(Service& s, long long uid, const std::string& token)
{
    if (token.empty())
        return std::nullopt;
    const auto rows = s.db->query("SELECT source FROM intake_evidence WHERE token = ? AND user_id = ? AND created_at "
                                  ">= ?",
                                  {token, uid, serviceNow(s) - kKeepSeconds});
    if (rows.empty())
        return std::nullopt;
    IntakeSource source = sourceFromJson(json::parse(text(rows[0][0]), nullptr, false));
    source.token = token;
    return source;
}

} // namespace service::intake
