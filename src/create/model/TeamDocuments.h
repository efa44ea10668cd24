#pragma once
// The documents the client writes for a new team: its address slug, each member's instructions
// and profile, and the team's pipeline. Pure functions of the draft.
#include "create/model/TeamDraft.h"

#include <QUrl>

namespace halvex::TeamDocuments {

// Lower-case a–z and 0–9, every other run one "-", no "-" at either end.
QString rawSlug(const QString& text);
// rawSlug, and when that is empty the rawSlug of the Cyrillic transliteration (may still be empty).
QString slugify(const QString& text);
// The avatar drawn from `seed` by the avatar service at `origin`.
QUrl dicebearURL(const QString& seed, const QString& origin);

QString buildWorkerSystemPrompt(const TeamDraft& team, const TeamMemberDraft& member);
QString buildWorkerMd(const TeamDraft& team, const TeamMemberDraft& member);
QString buildTeamPipelineMd(const TeamDraft& team);

// Documents of 7,901 characters or more are cut to 7,900 and end with "\n…".
inline constexpr qsizetype documentLimit = 7900;

} // namespace halvex::TeamDocuments
