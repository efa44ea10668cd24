#pragma once
// The dictation recorder: one recording at a time into a temporary "hx-voice-<id>.m4a", its
// running time in fifths of a second, and a stop by itself after two minutes. Stopping hands
// back the recorded bytes and deletes the file.
#include "core/async/Clock.h"
#include "voice/viewmodel/AudioRecorderBackend.h"

#include <QByteArray>
#include <QObject>
#include <QString>

#include <functional>
#include <memory>
#include <optional>

namespace halvex {

class VoiceRecorder : public QObject {
    Q_OBJECT
public:
    static constexpr qint64 tickMs = 200;
    static constexpr double limitSecs = 120.0;
    // The recording's type as the transcription upload names it.
    static inline const QString mime = QStringLiteral("audio/mp4");

    using Delivery = std::function<void(std::optional<QByteArray>)>;

    VoiceRecorder(AudioRecorderBackend& backend, Clock& clock, QObject* parent = nullptr);
    ~VoiceRecorder() override;

    // Starts recording; false, with nothing recorded, when the microphone is refused or missing.
    bool start();
    // Ends the recording; `done` receives its bytes (none when the file could not be read).
    void stop(Delivery done);

    bool isRecording() const { return m_recording; }
    double elapsed() const { return m_elapsed; }
    // The recording's file name (no folder); kept after stopping for the upload.
    const QString& fileName() const { return m_fileName; }
    // Why the last start failed: "Microphone access denied", "No microphone found" or "Could not
    // start recording"; empty after a start that worked.
    const QString& refusal() const { return m_refusal; }

    // Receives the recording when it stops by itself at two minutes.
    Delivery onAutoStop;

Q_SIGNALS:
    void changed();

private:
    void tick();

    AudioRecorderBackend& m_backend;
    Clock& m_clock;
    bool m_recording = false;
    bool m_stopping = false;
    double m_elapsed = 0;
    qint64 m_startMs = 0;
    QString m_path;
    QString m_fileName;
    QString m_refusal;
    std::unique_ptr<TimerHandle> m_timer;
};

} // namespace halvex
