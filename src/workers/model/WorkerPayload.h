#pragma once
// The bodies a worker is saved and revised with, built from the raw draft the service wrote
// and the steps the person edited.
#include "workers/model/WorkerStepDraft.h"

#include <optional>

namespace halvex {

namespace WorkerPayload {

// The playbook JSON of `steps`; throws WorkerBuilderError::badArgs on a bad arguments text.
JSONArray playbook(const QList<WorkerStepDraft>& steps);
// The save body: the draft's descriptive fields, the edited name and playbook, the tools the
// playbook uses and the trigger.
JSONObject build(const JSONObject& rawDraft, const QString& name, const JSONArray& playbook, const QString& status);
// The tool names a playbook needs, each once, in order of first use.
JSONArray agentTools(const JSONArray& playbook);
// The draft's trigger type, "manual" when it names none.
QString triggerType(const JSONObject& rawDraft);

// The revision text sent to the service: for one step, a sentence limiting the change to it.
QString scopedInstruction(const QString& instruction, std::optional<int> stepIndex);
// What a revision starts from: the raw draft with the edited name and playbook.
JSONObject draftToRevise(const JSONObject& rawDraft, const QString& name, const JSONArray& playbook);
// A revised draft with its trigger in one spelling ({"type", "intervalMinutes"?, "eventKey"?,
// "eventFilter"?}); a trigger of no known type is left out.
JSONObject withNormalizedTrigger(JSONObject draft);

} // namespace WorkerPayload

} // namespace halvex
