#pragma once
// A voice call as QML shows it: opened for the employee of the open chat, it owns the call's
// model and is the model's page, handing the page's work to the web view that hosts the call
// page (`pageStart`, `pageEnd`); the web channel's bridge brings the page's messages back.
#include "voice/viewmodel/VoiceCallModel.h"

#include <QObject>
#include <QUrl>
#include <QtQml/qqmlregistration.h>

#include <memory>

namespace halvex {

class AgentListViewModel;

class VoiceCallSheet
    : public QObject
    , public VoiceCallPage {
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("Owned by the app shell")
    Q_PROPERTY(bool open READ isOpen NOTIFY changed)
    Q_PROPERTY(QString agentName READ agentName NOTIFY changed)
    Q_PROPERTY(QString phase READ phase NOTIFY changed)
    Q_PROPERTY(bool live READ isLive NOTIFY changed)
    Q_PROPERTY(QString modeText READ modeText NOTIFY changed)
    Q_PROPERTY(QString elapsedText READ elapsedText NOTIFY changed)
    Q_PROPERTY(QString error READ error NOTIFY changed)
    Q_PROPERTY(QUrl pageUrl READ pageUrl CONSTANT)
public:
    VoiceCallSheet(APIClient& api, Clock& clock, AgentListViewModel& sidebar, QObject* parent = nullptr);
    ~VoiceCallSheet() override;

    // The open call's model; null while closed.
    VoiceCallModel* model() const { return m_model.get(); }
    bool isOpen() const { return m_model != nullptr; }
    const QString& agentName() const { return m_agentName; }
    // "connecting", "active", "ended" or "failed"; empty while closed.
    QString phase() const { return m_model ? m_model->phaseName() : QString(); }
    // Connecting or active.
    bool isLive() const;
    // "Listening" or "Speaking".
    QString modeText() const;
    QString elapsedText() const;
    QString error() const { return m_model ? m_model->error().value_or(QString()) : QString(); }
    // The call page on the service.
    QUrl pageUrl() const { return m_pageUrl; }

    // Calls the employee of the selected chat; nothing for a team's chat.
    Q_INVOKABLE void openForSelected();
    Q_INVOKABLE void openFor(const QString& agentId, const QString& agentName);
    Q_INVOKABLE void hangup();
    // Hangs up if the call still runs, and closes the sheet.
    Q_INVOKABLE void close();
    // A message the call page posted, JSON text.
    Q_INVOKABLE void handleMessage(const QString& json);
    // Whether the web view may give the microphone to a page of `origin`: only the service's.
    Q_INVOKABLE bool allowsMicrophoneFor(const QUrl& origin) const;

    void startCall(const QString& raw) override { Q_EMIT pageStart(raw); }
    void endCall() override { Q_EMIT pageEnd(); }

Q_SIGNALS:
    void changed();
    void unauthorized();
    // The web view runs the page's start with the session answer.
    void pageStart(const QString& raw);
    // The web view runs the page's end.
    void pageEnd();

private:
    APIClient& m_api;
    Clock& m_clock;
    AgentListViewModel& m_sidebar;
    QUrl m_pageUrl;
    QString m_agentName;
    std::unique_ptr<VoiceCallModel> m_model;
};

} // namespace halvex
