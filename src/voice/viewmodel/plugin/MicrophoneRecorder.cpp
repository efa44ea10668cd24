#include "voice/viewmodel/plugin/MicrophoneRecorder.h"

#include <QAudioDevice>
#include <QAudioInput>
#include <QMediaCaptureSession>
#include <QMediaDevices>
#include <QMediaFormat>
#include <QMediaRecorder>
#include <QUrl>

namespace halvex {

MicrophoneRecorder::MicrophoneRecorder(QObject* parent) : QObject(parent) {}

MicrophoneRecorder::~MicrophoneRecorder()
{
    if (m_recorder)
        m_recorder->disconnect(this);
}

AudioRecorderBackend::Microphone MicrophoneRecorder::microphone()
{
    // Linux asks no permission of its own for the microphone; a machine without one refuses.
    return QMediaDevices::audioInputs().isEmpty() ? Microphone::missing : Microphone::allowed;
}

bool MicrophoneRecorder::start(const QString& file)
{
    if (!m_recorder) {
        m_session = std::make_unique<QMediaCaptureSession>();
        m_input = std::make_unique<QAudioInput>();
        m_recorder = std::make_unique<QMediaRecorder>();
        m_session->setAudioInput(m_input.get());
        m_session->setRecorder(m_recorder.get());
        connect(m_recorder.get(), &QMediaRecorder::recorderStateChanged, this, [this](QMediaRecorder::RecorderState s) {
            if (s == QMediaRecorder::StoppedState)
                finish();
        });
        connect(m_recorder.get(), &QMediaRecorder::errorOccurred, this, [this] { finish(); });
    }
    m_input->setDevice(QMediaDevices::defaultAudioInput());
    QMediaFormat format(QMediaFormat::MPEG4);
    format.setAudioCodec(QMediaFormat::AudioCodec::AAC);
    m_recorder->setMediaFormat(format);
    m_recorder->setAudioSampleRate(44100);
    m_recorder->setAudioChannelCount(1);
    m_recorder->setQuality(QMediaRecorder::HighQuality);
    m_recorder->setOutputLocation(QUrl::fromLocalFile(file));
    m_recorder->record();
    return m_recorder->error() == QMediaRecorder::NoError;
}

void MicrophoneRecorder::stop(std::function<void()> finished)
{
    m_finished = std::move(finished);
    if (!m_recorder || m_recorder->recorderState() == QMediaRecorder::StoppedState) {
        finish();
        return;
    }
    // The file is complete once the recorder reports it stopped.
    m_recorder->stop();
}

void MicrophoneRecorder::finish()
{
    if (auto done = std::exchange(m_finished, nullptr))
        done();
}

} // namespace halvex
