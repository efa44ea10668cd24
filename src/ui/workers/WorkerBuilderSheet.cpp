#include "ui/workers/WorkerBuilderSheet.h"

#include "agents/viewmodel/AgentListViewModel.h"
#include "core/format/Characters.h"

namespace halvex {

namespace {

constexpr qint64 messageShownMs = 6'000;

QVariantMap stepMap(const WorkerStepDraft& s)
{
    return {{QStringLiteral("type"), s.type},
            {QStringLiteral("name"), s.name},
            {QStringLiteral("prompt"), s.prompt},
            {QStringLiteral("url"), s.url},
            {QStringLiteral("instructions"), s.instructions},
            {QStringLiteral("toolId"), s.toolId},
            {QStringLiteral("argsJSON"), s.argsJSON}};
}

} // namespace

WorkerBuilderSheet::WorkerBuilderSheet(APIClient& api, Clock& clock, AgentListViewModel& sidebar, QObject* parent)
    : QObject(parent),
      m_api(api),
      m_clock(clock),
      m_sidebar(sidebar)
{
    // Another detail screen opened (the create flow, the marketplace): the sheet gives way.
    connect(&m_sidebar, &AgentListViewModel::changed, this, [this] {
        if (isOpen() && (m_sidebar.creatingAgent() || m_sidebar.showingMarketplace()))
            close();
    });
}

WorkerBuilderSheet::~WorkerBuilderSheet() = default;

QString WorkerBuilderSheet::stage() const
{
    if (!m_model)
        return {};
    switch (m_model->stage()) {
    case WorkerBuilderStage::prompt:
        return QStringLiteral("prompt");
    case WorkerBuilderStage::building:
        return QStringLiteral("building");
    case WorkerBuilderStage::review:
        return QStringLiteral("review");
    case WorkerBuilderStage::committing:
        return QStringLiteral("committing");
    }
    return {};
}

bool WorkerBuilderSheet::canBuild() const
{
    return m_model && !m_model->isBusy()
        && characterCount(m_model->promptDraft.trimmed()) >= WorkerBuilderModel::minimumDescription;
}

QString WorkerBuilderSheet::elapsed() const
{
    if (!m_model || !m_model->stageStartedAt())
        return {};
    const qint64 seconds = qMax<qint64>(0, m_model->stageStartedAt()->secsTo(m_clock.now()));
    return QString::number(seconds / 60) + QLatin1Char(':')
        + QString::number(seconds % 60).rightJustified(2, QLatin1Char('0'));
}

QVariantList WorkerBuilderSheet::steps() const
{
    QVariantList out;
    if (m_model)
        for (const WorkerStepDraft& s : m_model->steps())
            out << stepMap(s);
    return out;
}

QVariantList WorkerBuilderSheet::sections() const
{
    QVariantList out;
    if (!m_model)
        return out;
    for (const WorkerReviewSection& s : reviewSections(m_model->reviewSnapshot()))
        out << QVariantMap{{QStringLiteral("heading"), s.heading},
                           {QStringLiteral("caption"), s.caption},
                           {QStringLiteral("items"), s.items},
                           {QStringLiteral("emptyText"), s.emptyText}};
    return out;
}

QVariantMap WorkerBuilderSheet::summary() const
{
    if (!m_model)
        return {};
    const WorkerReviewSnapshot s = m_model->reviewSnapshot();
    return {{QStringLiteral("role"), s.role},
            {QStringLiteral("description"), s.description},
            {QStringLiteral("runMode"), s.runMode},
            {QStringLiteral("runDetail"), s.runDetail},
            {QStringLiteral("stepCount"), s.stepCount}};
}

void WorkerBuilderSheet::replaceModel(std::unique_ptr<WorkerBuilderModel> model)
{
    m_ticker.reset();
    m_model = std::move(model);
    if (m_model) {
        connect(m_model.get(), &WorkerBuilderModel::changed, this, &WorkerBuilderSheet::onModelChanged);
        connect(m_model.get(), &WorkerBuilderModel::unauthorized, this, &WorkerBuilderSheet::unauthorized);
        connect(m_model.get(), &WorkerBuilderModel::finished, this, [this](const QString& id, const QString& message) {
            m_lastMessage = message;
            Q_EMIT lastMessageChanged();
            m_messageDismiss = m_clock.schedule(messageShownMs, [this] { dismissMessage(); });
            // The sheet closes once the model's own call stack has unwound.
            QMetaObject::invokeMethod(
                this,
                [this, id] {
                    close();
                    m_sidebar.finishCreation(id);
                },
                Qt::QueuedConnection);
        });
    }
    Q_EMIT changed();
    Q_EMIT stepsChanged();
    Q_EMIT elapsedChanged();
}

void WorkerBuilderSheet::onModelChanged()
{
    if (m_model && m_model->stageStartedAt() && !m_ticker)
        tick();
    Q_EMIT changed();
    if (!m_typing)
        Q_EMIT stepsChanged();
}

// The elapsed time moves once a second while a stage runs.
void WorkerBuilderSheet::tick()
{
    m_ticker.reset();
    Q_EMIT elapsedChanged();
    if (m_model && m_model->stageStartedAt())
        m_ticker = m_clock.schedule(1'000, [this] { tick(); });
}

void WorkerBuilderSheet::startNew()
{
    m_sidebar.closeDetailScreens();
    replaceModel(std::make_unique<WorkerBuilderModel>(m_api, m_clock));
}

void WorkerBuilderSheet::edit(const QString& workerId)
{
    if (workerId.isEmpty())
        return;
    m_sidebar.closeDetailScreens();
    replaceModel(std::make_unique<WorkerBuilderModel>(m_api, m_clock, workerId));
    m_model->loadForEdit();
}

void WorkerBuilderSheet::close() { replaceModel(nullptr); }

void WorkerBuilderSheet::setPromptDraft(const QString& text)
{
    if (!m_model || m_model->promptDraft == text)
        return;
    m_model->promptDraft = text;
    Q_EMIT changed();
}

void WorkerBuilderSheet::setReviseDraft(const QString& text)
{
    if (!m_model || m_model->reviseDraft == text)
        return;
    m_model->reviseDraft = text;
    Q_EMIT changed();
}

void WorkerBuilderSheet::setName(const QString& name)
{
    if (!m_model)
        return;
    m_typing = true;
    m_model->setName(name);
    m_typing = false;
}

void WorkerBuilderSheet::setStepField(int index, const QString& field, const QString& value)
{
    if (!m_model)
        return;
    m_typing = true;
    m_model->setStepField(index, field, value);
    m_typing = false;
}

void WorkerBuilderSheet::setMarketplaceAvailable(bool on)
{
    if (m_model)
        m_model->setMarketplaceAvailable(on);
}

void WorkerBuilderSheet::build()
{
    if (m_model)
        m_model->startBuild();
}

void WorkerBuilderSheet::cancel()
{
    if (m_model)
        m_model->cancelBuild();
}

void WorkerBuilderSheet::revise()
{
    if (m_model)
        m_model->reviseWithAI();
}

void WorkerBuilderSheet::undo()
{
    if (m_model)
        m_model->undoRevision();
}

void WorkerBuilderSheet::selectRevisionStep(int index)
{
    if (m_model)
        m_model->selectRevisionStep(index < 0 ? std::nullopt : std::optional<int>(index));
}

void WorkerBuilderSheet::setStepType(int index, const QString& type)
{
    if (m_model)
        m_model->setType(index, type);
}

void WorkerBuilderSheet::addStep()
{
    if (m_model)
        m_model->addLlmStep();
}

void WorkerBuilderSheet::moveStep(int index, bool up)
{
    if (m_model)
        m_model->move(index, up);
}

void WorkerBuilderSheet::removeStep(int index)
{
    if (m_model)
        m_model->remove(index);
}

void WorkerBuilderSheet::commit()
{
    if (m_model)
        m_model->commit();
}

void WorkerBuilderSheet::dismissMessage()
{
    m_messageDismiss.reset();
    if (m_lastMessage.isEmpty())
        return;
    m_lastMessage.clear();
    Q_EMIT lastMessageChanged();
}

} // namespace halvex
