#pragma once
// The rules of the create flow that need no network: clarify pages and their captions, how a
// question's answer is read, the employee's identity name, and the stepper's stage statuses.
#include "create/model/AgentDraft.h"

#include <QMap>

namespace halvex {

enum class CreateKind { solo, team };

namespace ClarifyRounds {

// Consecutive pages: one below 4 questions, two for 4 to 6, three from 7; the first pages take
// the remainder.
QList<QList<ClarifyQuestion>> pages(const QList<ClarifyQuestion>& questions);
QString pageTitle(int page, int pageCount, CreateKind kind);
QString pageSubtitle(int page, int pageCount, CreateKind kind);

// A multi-select question answers its choices and a typed text not already chosen, joined by
// ", "; a single-select one the typed text, else its first choice. At most 400 characters.
QString answerFor(const ClarifyQuestion& question, const QStringList& chosen, const QString& typed);

// The builder's name when short (20 characters, under three words), else one of twelve picked by
// the brief's hash, from a Cyrillic list when the brief has Cyrillic letters.
QString identityName(const std::optional<QString>& name, const QString& brief);

bool hasCyrillic(const QString& text);

} // namespace ClarifyRounds

enum class CreateFlowStep { describe, generating, clarify, review, done };
enum class CreateFlowStageStatus { pending, active, completed, skipped };

namespace CreateFlowProgress {

// "Brief", "Design", "Details", "Review", "Ready".
QStringList stageTitles();
QList<CreateFlowStageStatus> statuses(CreateFlowStep step, bool creating, int round);

} // namespace CreateFlowProgress

} // namespace halvex
