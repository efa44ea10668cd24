#pragma once
// The call page as the call model drives it: the page hosted by the interface's web view, or a
// fake page in tests.
#include <QString>

namespace halvex {

class VoiceCallPage {
public:
    virtual ~VoiceCallPage() = default;
    // Hands the page the session answer (as JSON text); the page connects the call.
    virtual void startCall(const QString& raw) = 0;
    // Asks the page to end the call, if it can.
    virtual void endCall() = 0;
};

} // namespace halvex
