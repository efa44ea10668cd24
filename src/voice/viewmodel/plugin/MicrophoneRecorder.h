#pragma once
// The microphone through Qt Multimedia: AAC at 44,100 Hz, one channel, in an MPEG-4 file. Built
// into a module of its own that the app loads on the first recording (MicrophoneLoader), so Qt
// Multimedia and its audio libraries are neither linked nor loaded at start-up.
#include "voice/viewmodel/AudioRecorderBackend.h"

#include <QObject>

#include <memory>

class QAudioInput;
class QMediaCaptureSession;
class QMediaRecorder;

namespace halvex {

class MicrophoneRecorder final
    : public QObject
    , public AudioRecorderBackend {
    Q_OBJECT
public:
    explicit MicrophoneRecorder(QObject* parent = nullptr);
    ~MicrophoneRecorder() override;

    Microphone microphone() override;
    bool start(const QString& file) override;
    void stop(std::function<void()> finished) override;

private:
    void finish();

    std::unique_ptr<QMediaCaptureSession> m_session;
    std::unique_ptr<QAudioInput> m_input;
    std::unique_ptr<QMediaRecorder> m_recorder;
    std::function<void()> m_finished;
};

} // namespace halvex
