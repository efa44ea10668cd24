#pragma once
// Dictation and voice calls on the service: a recording turned into text, a call opened for an
// employee and ended. Stateless.
#include "core/net/APIClient.h"
#include "voice/model/VoiceRecords.h"

#include <qcorotask.h>

namespace halvex {

class VoiceService {
public:
    explicit VoiceService(APIClient& api) : m_api(&api) {}

    // A started call: its id, its longest duration (600 s unless the service says otherwise)
    // and the whole answer as text, which the call page reads for itself.
    struct Started {
        QString callId;
        int maxSecs = voice::defaultMaxCallSecs;
        QString raw;
    };

    // The text heard in a recording.
    QCoro::Task<QString> transcribe(QByteArray data, QString filename, QString mime, CancelToken token = {});
    QCoro::Task<Started> startSession(QString agentId, CancelToken token = {});
    // Ends the call; a failure changes nothing the caller could act on, so none is reported.
    // Safe to leave running after this service is gone.
    QCoro::Task<void> end(QString callId);

    // The answer body as text; "{}" when it is not UTF-8.
    static QString answerText(const QByteArray& body);

private:
    APIClient* m_api;
};

} // namespace halvex
