#include "ui/voice/VoiceBridge.h"

#include "ui/voice/VoiceCallSheet.h"

namespace halvex {

void VoiceBridge::setCall(VoiceCallSheet* call)
{
    if (m_call == call)
        return;
    m_call = call;
    Q_EMIT callChanged();
}

void VoiceBridge::post(const QString& json)
{
    if (m_call)
        m_call->handleMessage(json);
}

} // namespace halvex
