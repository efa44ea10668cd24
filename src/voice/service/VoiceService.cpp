#include "voice/service/VoiceService.h"

#include <QStringDecoder>

namespace halvex {

QCoro::Task<QString> VoiceService::transcribe(QByteArray data, QString filename, QString mime, CancelToken token)
{
    QList<MultipartFile> files{{QStringLiteral("file"), std::move(filename), std::move(mime), std::move(data)}};
    const QString path = QStringLiteral("/api/v2/transcribe");
    const Transcript answer = co_await m_api->postMultipart<Transcript>(path, std::move(files), std::move(token));
    co_return answer.text;
}

QCoro::Task<VoiceService::Started> VoiceService::startSession(QString agentId, CancelToken token)
{
    const QString path = QStringLiteral("/api/v2/voice/session");
    JSONObject body{{QStringLiteral("agent_id"), JSONValue(agentId)}};
    const QByteArray data = co_await m_api->postJSONRaw(path, std::move(body), std::move(token));
    const VoiceSession session = decodeJSON<VoiceSession>(data);
    Started started;
    started.callId = session.callId;
    started.maxSecs = session.maxDurationSecs.value_or(voice::defaultMaxCallSecs);
    started.raw = answerText(data);
    co_return started;
}

QCoro::Task<void> VoiceService::end(QString callId)
{
    // Only the client is used past the first suspension, so the call outlives this service.
    APIClient* api = m_api;
    const QString path = QStringLiteral("/api/v2/voice/end");
    JSONObject body{{QStringLiteral("call_id"), JSONValue(callId)}};
    const CancelToken never;
    try {
        co_await api->postJSONRaw(path, std::move(body), never);
    } catch (const APIError&) {
        // The call ends on the service by its time limit anyway.
    }
}

QString VoiceService::answerText(const QByteArray& body)
{
    QStringDecoder decoder(QStringDecoder::Utf8);
    QString text = decoder.decode(body);
    if (decoder.hasError() || text.trimmed().isEmpty())
        return QStringLiteral("{}");
    return text;
}

} // namespace halvex
