#pragma once
// Dictation as the composer shows it: its microphone button toggles the recording, and the words
// heard go to the end of the input of the chat where the recording started.
#include "voice/viewmodel/DictationModel.h"
#include "voice/viewmodel/MicrophoneLoader.h"

#include <QObject>
#include <QPointer>
#include <QtQml/qqmlregistration.h>

namespace halvex {

class ChatViewModel;

class Dictation : public QObject {
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("Owned by the app shell")
    Q_PROPERTY(bool recording READ isRecording NOTIFY changed)
    Q_PROPERTY(bool busy READ isBusy NOTIFY changed)
    Q_PROPERTY(QString status READ status NOTIFY changed)
    Q_PROPERTY(QString elapsedText READ elapsedText NOTIFY changed)
    Q_PROPERTY(QString error READ error NOTIFY changed)
public:
    // `backend` null: the microphone, through the module loaded on the first recording.
    Dictation(APIClient& api, Clock& clock, AudioRecorderBackend* backend = nullptr, QObject* parent = nullptr);
    ~Dictation() override;

    bool isRecording() const { return m_model.isRecording(); }
    // Recording or transcribing.
    bool isBusy() const { return m_model.phase() != DictationModel::Phase::idle; }
    QString status() const { return m_model.status(); }
    // The recording's running time, "m:ss".
    QString elapsedText() const { return voice::minutesSeconds(int(m_model.recorder().elapsed())); }
    QString error() const { return m_model.error().value_or(QString()); }
    DictationModel& model() { return m_model; }

    // Starts recording for `chat` (a ChatViewModel), or stops and transcribes the recording.
    Q_INVOKABLE void toggle(QObject* chat);
    Q_INVOKABLE void dismissError() { m_model.dismissError(); }

Q_SIGNALS:
    void changed();
    void unauthorized();

private:
    void deliver(const QString& text);

    std::unique_ptr<MicrophoneLoader> m_microphone;
    DictationModel m_model;
    QPointer<ChatViewModel> m_target;
};

} // namespace halvex
