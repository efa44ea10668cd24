#include "ui/voice/Dictation.h"

#include "chat/viewmodel/ChatViewModel.h"

namespace halvex {

namespace {

std::unique_ptr<MicrophoneLoader> microphoneUnless(AudioRecorderBackend* backend)
{
    return backend ? nullptr : std::make_unique<MicrophoneLoader>();
}

} // namespace

Dictation::Dictation(APIClient& api, Clock& clock, AudioRecorderBackend* backend, QObject* parent)
    : QObject(parent),
      m_microphone(microphoneUnless(backend)),
      m_model(api, clock, backend ? *backend : *m_microphone)
{
    connect(&m_model, &DictationModel::changed, this, &Dictation::changed);
    connect(&m_model, &DictationModel::unauthorized, this, &Dictation::unauthorized);
    connect(&m_model, &DictationModel::transcribed, this, &Dictation::deliver);
}

Dictation::~Dictation() { m_model.cancel(); }

void Dictation::toggle(QObject* chat)
{
    if (!m_model.isRecording())
        m_target = qobject_cast<ChatViewModel*>(chat);
    m_model.toggle();
}

void Dictation::deliver(const QString& text)
{
    if (m_target)
        m_target->setInput(voice::appendDictation(m_target->input(), text));
}

} // namespace halvex
