#pragma once
// The microphone, loaded on first use: the recorder that reaches it through Qt Multimedia is a
// module of its own, so an app that never dictates never loads the multimedia libraries. Without
// the module the microphone reads as missing and nothing records.
#include "voice/viewmodel/AudioRecorderBackend.h"

#include <QStringList>

#include <memory>

namespace halvex {

class MicrophoneLoader final : public AudioRecorderBackend {
public:
    // `modules`: where the module may be, tried in order; empty for the built-in places.
    explicit MicrophoneLoader(QStringList modules = {});
    ~MicrophoneLoader() override;

    Microphone microphone() override;
    bool start(const QString& file) override;
    void stop(std::function<void()> finished) override;

private:
    AudioRecorderBackend* recorder();

    QStringList m_modules;
    bool m_tried = false;
    std::unique_ptr<AudioRecorderBackend> m_recorder;
};

} // namespace halvex
