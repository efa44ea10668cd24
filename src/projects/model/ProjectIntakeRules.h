#pragma once
// The rules of the intake flow that need no service: the name check and address preview, the
// website and links, the pages of questions, the size limits and the create body.
#include "projects/model/ProjectIntakeRecords.h"

#include <QUrl>

namespace halvex {

namespace ProjectIntakeQuestionGroups {
inline constexpr int pageSize = 3;
// Consecutive pages of three questions in order; the last may be shorter.
QList<QList<ProjectIntakeQuestion>> split(const QList<ProjectIntakeQuestion>& questions);
} // namespace ProjectIntakeQuestionGroups

namespace ProjectIntakePayload {
// The body of the project create call; "site_evidence" only for a source the service vouched
// for (one with a token).
JSONObject createBody(const QString& label, const ProjectOverview& overview, const QString& creationRequestID,
                      const std::optional<ProjectIntakeSource>& siteEvidence);
} // namespace ProjectIntakePayload

namespace ProjectIntakeRules {

inline constexpr int maxDescriptionUnits = 4000;
inline constexpr int maxProfileUnits = 8000;
inline constexpr int maxFiles = 20;

// The message that refuses the name, or nothing when it will do.
std::optional<QString> validateName(const QString& label);
// "Address: /project/<slug>", or what to do when the name gives no address.
QString addressPreview(const QString& label);
// The website as an http or https address with a host; nothing for anything else.
std::optional<QUrl> normalisedWebsite(const QString& text);
// The website first, then each line of `linksText` that is an http or https address.
QStringList links(const QString& website, const QString& linksText);
// The refusal of a profile too long to store, or nothing.
std::optional<QString> profileTooLong(const ProjectOverview& overview);
// The typed text when there is one, else the chosen option.
QString answerOf(const QString& typed, const QString& chosen);
// "You can add up to 20 files at once."
QString tooManyFiles();

// What the review step shows of each field: its title and its hint.
QString fieldTitle(const QString& key);
QString fieldHint(const QString& key);

} // namespace ProjectIntakeRules

} // namespace halvex
