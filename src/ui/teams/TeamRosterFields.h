#pragma once
// What the team menu shows of each member: plain maps the QML rows pick fields from.
#include "teams/model/TeamRecords.h"

#include <QVariantList>

#include <optional>

namespace halvex::TeamRosterFields {

// The member's model as a catalog label; the raw model name when the catalog does not know it;
// "Team model" when the member has none of its own.
QString modelLabel(const TeamRosterMember& member);

// id, name (as the team shows it), handle, role, model, reviewer (the handle is `reviewerHandle`), usage ("" until
// usage loaded).
QVariantList rows(const QList<TeamRosterMember>& roster, const QString& teamSlug, const QString& reviewerHandle,
                  const std::optional<TeamUsageResponse>& usage);

// "◆ 12,500 · 4 calls" for a usage row or total; "" without tokens.
QString usageText(std::optional<qint64> tokens, std::optional<qint64> calls);

} // namespace halvex::TeamRosterFields
