#pragma once
// Dictation in the composer: the first toggle records, the second (or two minutes) stops and
// sends the recording to be transcribed; the text heard is handed on for the chat's input.
#include "core/async/CancelToken.h"
#include "voice/service/VoiceService.h"
#include "voice/viewmodel/VoiceRecorder.h"

#include <QObject>

#include <optional>

namespace halvex {

class DictationModel : public QObject {
    Q_OBJECT
public:
    enum class Phase { idle, recording, transcribing };

    DictationModel(APIClient& api, Clock& clock, AudioRecorderBackend& backend, QObject* parent = nullptr);
    ~DictationModel() override;

    // Starts recording when idle, stops and transcribes while recording; nothing while a
    // recording is being transcribed.
    void toggle();
    // Stops without transcribing, and forgets a transcription under way.
    void cancel();
    void dismissError();

    Phase phase() const { return m_phase; }
    bool isRecording() const { return m_phase == Phase::recording; }
    // "Listening… 0:07" while recording, "Transcribing…" while the service listens.
    QString status() const;
    const std::optional<QString>& error() const { return m_error; }
    VoiceRecorder& recorder() { return m_recorder; }
    const VoiceRecorder& recorder() const { return m_recorder; }

Q_SIGNALS:
    void changed();
    // The words heard in a recording, for the chat's input.
    void transcribed(const QString& text);
    void unauthorized();

private:
    void deliver(std::optional<QByteArray> bytes);
    QCoro::Task<void> transcribe(QByteArray bytes, QString fileName);

    VoiceService m_service;
    VoiceRecorder m_recorder;
    TaskScope m_scope;
    Phase m_phase = Phase::idle;
    std::optional<QString> m_error;
};

} // namespace halvex
