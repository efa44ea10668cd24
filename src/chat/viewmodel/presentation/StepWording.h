#pragma once
// The icon and title a step card shows: what the step did, in the user's words.
#include "chat/model/ChatMessage.h"
#include "chat/viewmodel/presentation/MessageSignals.h"
#include "chat/viewmodel/presentation/WebStepDetails.h"

#include <QString>

namespace halvex {

struct StepCopy {
    QString icon;
    QString title;
    bool operator==(const StepCopy&) const = default;
};

namespace StepWording {

StepCopy stepCopy(const ChatMessage& message, bool failed);
// The same with the message's signals already read, as the resolver has them, and its web
// details when the caller has read those too (else they are read if the title needs them).
StepCopy stepCopy(const ChatMessage& message, const MessageSignals& cues, bool failed,
                  const WebStepDetails* web = nullptr);

// For the progress lines of a goal run ("Searching the web: …", "Browsing: …").
StepCopy goalStepCopy(const QString& text);

// Kind or status says the step is over, for the running and finished forms of a title.
bool readsFinished(const QString& kind, const QString& status);

} // namespace StepWording

} // namespace halvex
