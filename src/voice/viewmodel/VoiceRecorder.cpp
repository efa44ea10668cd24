#include "voice/viewmodel/VoiceRecorder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPointer>
#include <QUuid>

namespace halvex {

VoiceRecorder::VoiceRecorder(AudioRecorderBackend& backend, Clock& clock, QObject* parent)
    : QObject(parent),
      m_backend(backend),
      m_clock(clock)
{}

VoiceRecorder::~VoiceRecorder()
{
    m_timer.reset();
    if (m_recording)
        m_backend.stop([] {});
    if (!m_path.isEmpty())
        QFile::remove(m_path);
}

bool VoiceRecorder::start()
{
    if (m_recording || m_stopping)
        return false;
    switch (m_backend.microphone()) {
    case AudioRecorderBackend::Microphone::refused:
        m_refusal = QStringLiteral("Microphone access denied");
        return false;
    case AudioRecorderBackend::Microphone::missing:
        m_refusal = QStringLiteral("No microphone found");
        return false;
    case AudioRecorderBackend::Microphone::allowed:
        break;
    }
    m_fileName
        = QStringLiteral("hx-voice-") + QUuid::createUuid().toString(QUuid::WithoutBraces) + QStringLiteral(".m4a");
    m_path = QDir::temp().filePath(m_fileName);
    if (!m_backend.start(m_path)) {
        QFile::remove(m_path);
        m_path.clear();
        m_refusal = QStringLiteral("Could not start recording");
        return false;
    }
    m_refusal.clear();
    m_recording = true;
    m_elapsed = 0;
    m_startMs = m_clock.monotonicMs();
    m_timer = m_clock.schedule(tickMs, [this] { tick(); });
    Q_EMIT changed();
    return true;
}

void VoiceRecorder::tick()
{
    m_timer.reset();
    if (!m_recording)
        return;
    m_elapsed = double(m_clock.monotonicMs() - m_startMs) / 1000.0;
    Q_EMIT changed();
    if (m_elapsed >= limitSecs) {
        stop(onAutoStop ? onAutoStop : Delivery([](std::optional<QByteArray>) {}));
        return;
    }
    m_timer = m_clock.schedule(tickMs, [this] { tick(); });
}

void VoiceRecorder::stop(Delivery done)
{
    if (!m_recording) {
        if (done && !m_stopping)
            done(std::nullopt);
        return;
    }
    m_recording = false;
    m_stopping = true;
    m_timer.reset();
    Q_EMIT changed();
    QPointer<VoiceRecorder> self(this);
    m_backend.stop([self, done = std::move(done)] {
        if (!self)
            return;
        std::optional<QByteArray> bytes;
        QFile file(self->m_path);
        if (file.open(QIODevice::ReadOnly))
            bytes = file.readAll();
        file.close();
        QFile::remove(self->m_path);
        self->m_path.clear();
        self->m_stopping = false;
        self->m_elapsed = 0;
        Q_EMIT self->changed();
        if (done)
            done(std::move(bytes));
    });
}

} // namespace halvex
