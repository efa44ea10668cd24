#pragma once
// One voice call with an employee. The service opens the call; the call page carries the
// conversation and reports what happens in it as messages; the model keeps the phase, the
// speaking mode and the running time, ends the call once, and stops it at its longest duration.
#include "core/async/CancelToken.h"
#include "core/async/Clock.h"
#include "core/json/JSONValue.h"
#include "voice/service/VoiceService.h"
#include "voice/viewmodel/VoiceCallPage.h"

#include <QDateTime>
#include <QObject>

#include <memory>
#include <optional>

namespace halvex {

class VoiceCallModel : public QObject {
    Q_OBJECT
public:
    enum class Phase { connecting, active, ended, failed };

    VoiceCallModel(APIClient& api, Clock& clock, QString agentId, QObject* parent = nullptr);
    ~VoiceCallModel() override;

    // The page the call runs in; set before `begin`, and kept for the life of the model.
    void setPage(VoiceCallPage* page) { m_page = page; }

    // Opens the call on the service and hands it to the page once the page is ready.
    QCoro::Task<void> begin();
    // A message the page posted.
    void handle(const JSONObject& message);
    // The page's message as it arrived, JSON text; anything else is ignored.
    void handleText(const QString& json);
    // Ends the call; only the first call does anything.
    void hangup();

    Phase phase() const { return m_phase; }
    QString phaseName() const;
    const QString& mode() const { return m_mode; }
    int elapsed() const { return m_elapsed; }
    const std::optional<QString>& error() const { return m_error; }
    const std::optional<QString>& lastStatus() const { return m_lastStatus; }
    const std::optional<QString>& callId() const { return m_callId; }
    int maxSecs() const { return m_maxSecs; }
    const std::optional<QString>& startRaw() const { return m_startRaw; }
    bool endRequested() const { return m_endRequested; }
    bool isPageReady() const { return m_pageReady; }
    const QString& agentId() const { return m_agentId; }
    const std::optional<QDateTime>& startedAt() const { return m_startedAt; }

Q_SIGNALS:
    void changed();
    void unauthorized();

private:
    void startPage();
    void tick();
    void stopTimer() { m_timer.reset(); }
    void fail(QString message);

    VoiceService m_service;
    Clock& m_clock;
    QString m_agentId;
    VoiceCallPage* m_page = nullptr;
    TaskScope m_scope;

    Phase m_phase = Phase::connecting;
    QString m_mode = QStringLiteral("listening");
    int m_elapsed = 0;
    std::optional<QString> m_error;
    std::optional<QString> m_lastStatus;
    std::optional<QString> m_callId;
    int m_maxSecs = voice::defaultMaxCallSecs;
    std::optional<QString> m_startRaw;
    bool m_endRequested = false;
    bool m_pageReady = false;
    bool m_pageStarted = false;
    std::optional<QDateTime> m_startedAt;
    std::unique_ptr<TimerHandle> m_timer;
};

} // namespace halvex
