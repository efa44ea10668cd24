#pragma once
// Run and Stop in a worker's chat: follows the sidebar's selection and keeps one run model
// for the worker that is open, dropped (with its polling) when another chat opens.
#include "workers/viewmodel/WorkerRunViewModel.h"

#include <QObject>
#include <QtQml/qqmlregistration.h>

#include <memory>

namespace halvex {

class AgentListViewModel;
class WorkerBuilderSheet;

class WorkerRunPanel : public QObject {
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("Owned by the app shell")
    Q_PROPERTY(bool active READ active NOTIFY changed)
    Q_PROPERTY(QString workerId READ workerId NOTIFY changed)
    Q_PROPERTY(bool running READ running NOTIFY changed)
    Q_PROPERTY(bool busy READ busy NOTIFY changed)
    Q_PROPERTY(QString error READ error NOTIFY changed)
    Q_PROPERTY(QString status READ status NOTIFY changed)
public:
    WorkerRunPanel(APIClient& api, Clock& clock, AgentListViewModel& sidebar, WorkerBuilderSheet& builder,
                   QObject* parent = nullptr);
    ~WorkerRunPanel() override;

    // The open chat is a worker's.
    bool active() const { return m_model != nullptr; }
    QString workerId() const { return m_model ? m_model->agentId() : QString(); }
    bool running() const { return m_model && m_model->isRunning(); }
    bool busy() const { return m_model && m_model->isBusy(); }
    QString error() const { return m_model ? m_model->error().value_or(QString()) : QString(); }
    // One line for the bar: "Running…", "Starting…", "Stopping…" or empty.
    QString status() const;

    Q_INVOKABLE void run();
    Q_INVOKABLE void stop();
    Q_INVOKABLE void edit();

Q_SIGNALS:
    void changed();
    void unauthorized();

private:
    void follow();

    APIClient& m_api;
    Clock& m_clock;
    AgentListViewModel& m_sidebar;
    WorkerBuilderSheet& m_builder;
    std::unique_ptr<WorkerRunViewModel> m_model;
    bool m_stopping = false;
};

} // namespace halvex
