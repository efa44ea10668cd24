#include "voice/viewmodel/DictationModel.h"

#include "core/async/Failure.h"

#include <QPointer>

namespace halvex {

DictationModel::DictationModel(APIClient& api, Clock& clock, AudioRecorderBackend& backend, QObject* parent)
    : QObject(parent),
      m_service(api),
      m_recorder(backend, clock)
{
    connect(&m_recorder, &VoiceRecorder::changed, this, &DictationModel::changed);
    m_recorder.onAutoStop = [this](std::optional<QByteArray> bytes) { deliver(std::move(bytes)); };
}

DictationModel::~DictationModel() { m_scope.cancelAll(); }

QString DictationModel::status() const
{
    switch (m_phase) {
    case Phase::recording:
        return QStringLiteral("Listening… ") + voice::minutesSeconds(int(m_recorder.elapsed()));
    case Phase::transcribing:
        return QStringLiteral("Transcribing…");
    case Phase::idle:
        break;
    }
    return {};
}

void DictationModel::toggle()
{
    if (m_phase == Phase::transcribing)
        return;
    if (m_phase == Phase::recording) {
        QPointer<DictationModel> self(this);
        m_recorder.stop([self](std::optional<QByteArray> bytes) {
            if (self)
                self->deliver(std::move(bytes));
        });
        return;
    }
    m_error.reset();
    if (!m_recorder.start()) {
        m_error = m_recorder.refusal();
        Q_EMIT changed();
        return;
    }
    m_phase = Phase::recording;
    Q_EMIT changed();
}

void DictationModel::cancel()
{
    m_scope.cancelAll();
    m_recorder.stop([](std::optional<QByteArray>) {});
    m_phase = Phase::idle;
    Q_EMIT changed();
}

void DictationModel::dismissError()
{
    m_error.reset();
    Q_EMIT changed();
}

void DictationModel::deliver(std::optional<QByteArray> bytes)
{
    if (m_phase != Phase::recording)
        return;
    if (!bytes || bytes->isEmpty()) {
        m_phase = Phase::idle;
        m_error = QStringLiteral("Nothing was recorded");
        Q_EMIT changed();
        return;
    }
    m_phase = Phase::transcribing;
    Q_EMIT changed();
    QCoro::Task<void> work = transcribe(std::move(*bytes), m_recorder.fileName());
}

QCoro::Task<void> DictationModel::transcribe(QByteArray bytes, QString fileName)
{
    const CancelToken token = m_scope.token();
    std::exception_ptr failed;
    QString text;
    try {
        const QString mime = VoiceRecorder::mime;
        text = co_await m_service.transcribe(std::move(bytes), std::move(fileName), mime, token);
    } catch (...) {
        failed = std::current_exception();
    }
    if (token.isCancelled())
        co_return;
    m_phase = Phase::idle;
    if (failed)
        m_error = Failure::shown(failed, [this] { Q_EMIT unauthorized(); });
    Q_EMIT changed();
    if (!failed && !text.trimmed().isEmpty())
        Q_EMIT transcribed(text.trimmed());
}

} // namespace halvex
