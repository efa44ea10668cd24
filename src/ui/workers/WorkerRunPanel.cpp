#include "ui/workers/WorkerRunPanel.h"

#include "agents/viewmodel/AgentListViewModel.h"
#include "ui/workers/WorkerBuilderSheet.h"

namespace halvex {

WorkerRunPanel::WorkerRunPanel(APIClient& api, Clock& clock, AgentListViewModel& sidebar, WorkerBuilderSheet& builder,
                               QObject* parent)
    : QObject(parent),
      m_api(api),
      m_clock(clock),
      m_sidebar(sidebar),
      m_builder(builder)
{
    connect(&m_sidebar, &AgentListViewModel::selectionChanged, this, &WorkerRunPanel::follow);
    connect(&m_sidebar, &AgentListViewModel::changed, this, &WorkerRunPanel::follow);
    follow();
}

WorkerRunPanel::~WorkerRunPanel() = default;

void WorkerRunPanel::follow()
{
    std::optional<QString> worker;
    if (const auto& selected = m_sidebar.selectedId())
        for (const Agent& a : m_sidebar.agents())
            if (a.id == *selected && a.agentType == QStringLiteral("worker"))
                worker = a.id;
    if (worker && m_model && m_model->agentId() == *worker)
        return;
    if (!worker && !m_model)
        return;
    m_model.reset();
    m_stopping = false;
    if (worker) {
        m_model = std::make_unique<WorkerRunViewModel>(m_api, m_clock, *worker);
        connect(m_model.get(), &WorkerRunViewModel::changed, this, &WorkerRunPanel::changed);
        connect(m_model.get(), &WorkerRunViewModel::unauthorized, this, &WorkerRunPanel::unauthorized);
        m_model->start();
    }
    Q_EMIT changed();
}

QString WorkerRunPanel::status() const
{
    if (!m_model)
        return {};
    if (m_model->isBusy())
        return m_stopping ? QStringLiteral("Stopping…") : QStringLiteral("Starting…");
    return m_model->isRunning() ? QStringLiteral("Running…") : QString();
}

void WorkerRunPanel::run()
{
    if (!m_model)
        return;
    m_stopping = false;
    m_model->run();
}

void WorkerRunPanel::stop()
{
    if (!m_model)
        return;
    m_stopping = true;
    m_model->stop();
}

void WorkerRunPanel::edit()
{
    if (m_model)
        m_builder.edit(m_model->agentId());
}

} // namespace halvex
