#include "ui/create/CreateFlow.h"

#include "agents/model/LlmModelCatalog.h"
#include "agents/viewmodel/AgentListViewModel.h"
#include "agents/viewmodel/ModelMenuModel.h"
#include "create/viewmodel/CreateAgentViewModel.h"

#include <QDateTime>

namespace halvex {

namespace {

QString stepName(CreateFlowStep step)
{
    switch (step) {
    case CreateFlowStep::describe:
        return QStringLiteral("describe");
    case CreateFlowStep::generating:
        return QStringLiteral("generating");
    case CreateFlowStep::clarify:
        return QStringLiteral("clarify");
    case CreateFlowStep::review:
        return QStringLiteral("review");
    case CreateFlowStep::done:
        return QStringLiteral("done");
    }
    return QStringLiteral("describe");
}

QString statusName(CreateFlowStageStatus status)
{
    switch (status) {
    case CreateFlowStageStatus::pending:
        return QStringLiteral("pending");
    case CreateFlowStageStatus::active:
        return QStringLiteral("active");
    case CreateFlowStageStatus::completed:
        return QStringLiteral("completed");
    case CreateFlowStageStatus::skipped:
        return QStringLiteral("skipped");
    }
    return QStringLiteral("pending");
}

QVariantList textList(const std::optional<QStringList>& list)
{
    QVariantList out;
    for (const QString& s : list.value_or(QStringList()))
        out << s;
    return out;
}

QString text(const std::optional<QString>& s) { return s.value_or(QString()); }

} // namespace

CreateFlow::CreateFlow(AgentListViewModel& sidebar, QObject* parent) : QObject(parent), m_sidebar(sidebar)
{
    connect(&m_sidebar, &AgentListViewModel::changed, this, &CreateFlow::changed);
    connect(&m_sidebar.modelMenu(), &ModelMenuModel::changed, this, &CreateFlow::changed);
    connect(&flow(), &CreateAgentViewModel::changed, this, [this] {
        // The elapsed time ticks only while a draft is being made.
        if (flow().step() == CreateFlowStep::generating)
            m_ticker.start();
        else
            m_ticker.stop();
        Q_EMIT changed();
    });
    m_ticker.setInterval(1000);
    connect(&m_ticker, &QTimer::timeout, this, &CreateFlow::elapsedChanged);
}

CreateAgentViewModel& CreateFlow::flow() const { return m_sidebar.createFlow(); }

bool CreateFlow::isOpen() const { return m_sidebar.creatingAgent(); }
QString CreateFlow::step() const { return stepName(flow().step()); }
QString CreateFlow::kind() const
{
    return flow().kind == CreateKind::team ? QStringLiteral("team") : QStringLiteral("solo");
}
QString CreateFlow::mode() const { return flow().mode; }

void CreateFlow::setMode(const QString& mode)
{
    flow().mode = mode == u"worker" ? QStringLiteral("worker") : QStringLiteral("employee");
    Q_EMIT changed();
}

QString CreateFlow::brief() const { return flow().brief; }

void CreateFlow::setBrief(const QString& brief)
{
    if (brief == flow().brief)
        return;
    flow().brief = brief;
    Q_EMIT changed();
}

bool CreateFlow::canGenerate() const { return flow().brief.trimmed().size() >= 10; }
QString CreateFlow::error() const { return flow().error().value_or(QString()); }
QString CreateFlow::statusNote() const { return flow().statusNote(); }

QString CreateFlow::elapsed() const
{
    const auto& started = flow().generationStartedAt();
    if (!started || flow().step() != CreateFlowStep::generating)
        return {};
    const qint64 seconds = qMax<qint64>(0, started->secsTo(QDateTime::currentDateTimeUtc()));
    return QString::number(seconds / 60) + QLatin1Char(':')
        + QString::number(seconds % 60).rightJustified(2, QLatin1Char('0'));
}

QVariantList CreateFlow::stages() const
{
    QVariantList out;
    const QStringList titles = CreateFlowProgress::stageTitles();
    const QList<CreateFlowStageStatus> statuses = flow().progress();
    for (qsizetype i = 0; i < titles.size(); ++i)
        out << QVariantMap{{QStringLiteral("title"), titles[i]},
                           {QStringLiteral("status"), statusName(statuses.value(i))}};
    return out;
}

QString CreateFlow::pageTitle() const { return flow().clarifyGroupTitle(); }
QString CreateFlow::pageSubtitle() const { return flow().clarifyGroupSubtitle(); }
int CreateFlow::pageIndex() const { return flow().questionGroup(); }
int CreateFlow::pageCount() const { return int(flow().clarifyGroups().size()); }

QVariantList CreateFlow::questions() const
{
    QVariantList out;
    for (const ClarifyQuestion& q : flow().currentGroupQuestions()) {
        const QString id = q.id();
        const QStringList chosen = flow().choices.value(id);
        QVariantList options;
        for (const ClarifyOption& o : q.options.value_or(QList<ClarifyOption>())) {
            const QString value = o.value.value_or(text(o.label));
            options << QVariantMap{{QStringLiteral("label"), text(o.label)},
                                   {QStringLiteral("value"), value},
                                   {QStringLiteral("hint"), text(o.hint)},
                                   {QStringLiteral("chosen"), chosen.contains(value)}};
        }
        out << QVariantMap{{QStringLiteral("id"), id},
                           {QStringLiteral("question"), text(q.question)},
                           {QStringLiteral("multiSelect"), q.multiSelect.value_or(false)},
                           {QStringLiteral("options"), options},
                           {QStringLiteral("custom"), flow().customAnswers.value(id)}};
    }
    return out;
}

QString CreateFlow::name() const { return flow().kind == CreateKind::team ? flow().editedTeamName : flow().editedName; }

void CreateFlow::setName(const QString& name)
{
    if (flow().kind == CreateKind::team)
        flow().editedTeamName = name;
    else
        flow().editedName = name;
    Q_EMIT changed();
}

QVariantMap CreateFlow::draft() const
{
    QVariantMap out;
    if (const auto& d = flow().draft(); d && flow().kind == CreateKind::solo) {
        out.insert(QStringLiteral("role"), text(d->role));
        out.insert(QStringLiteral("description"), text(d->description));
        out.insert(QStringLiteral("tools"), textList(d->tools));
        out.insert(QStringLiteral("constraints"), textList(d->constraints));
        QVariantList skills;
        for (const GeneratedSkill& skill : d->skills.value_or(QList<GeneratedSkill>()))
            skills << QVariantMap{{QStringLiteral("name"), text(skill.name)},
                                  {QStringLiteral("description"), text(skill.description)}};
        out.insert(QStringLiteral("skills"), skills);
        QVariantList steps;
        for (const DraftStep& step : d->displaySteps())
            steps << QVariantMap{{QStringLiteral("type"), step.typeLabel()},
                                 {QStringLiteral("name"), text(step.name)},
                                 {QStringLiteral("detail"), text(step.detail)}};
        out.insert(QStringLiteral("steps"), steps);
    }
    if (const auto& t = flow().teamDraft(); t && flow().kind == CreateKind::team) {
        out.insert(QStringLiteral("tagline"), text(t->tagline));
        out.insert(QStringLiteral("description"), text(t->summary));
        out.insert(QStringLiteral("tools"), textList(t->tools));
        QVariantList members;
        for (const TeamMemberDraft& m : t->members.value_or(QList<TeamMemberDraft>()))
            members << QVariantMap{{QStringLiteral("handle"), text(m.handle)},
                                   {QStringLiteral("role"), text(m.role)},
                                   {QStringLiteral("out"), text(m.out)},
                                   {QStringLiteral("boundaries"), text(m.boundaries)}};
        out.insert(QStringLiteral("members"), members);
    }
    return out;
}

QString CreateFlow::triggerType() const { return flow().triggerType; }

void CreateFlow::setTriggerType(const QString& type)
{
    flow().triggerType = type == u"schedule" ? QStringLiteral("schedule") : QStringLiteral("manual");
    Q_EMIT changed();
}

int CreateFlow::intervalMinutes() const { return flow().intervalMinutes; }

void CreateFlow::setIntervalMinutes(int minutes)
{
    flow().intervalMinutes = qMax(1, minutes);
    Q_EMIT changed();
}

QVariantList CreateFlow::models() const { return m_sidebar.modelMenu().entries(); }

QString CreateFlow::brainModelId() const { return flow().brainModelId.value_or(QString()); }

void CreateFlow::setBrainModelId(const QString& id)
{
    flow().brainModelId = id.isEmpty() ? std::nullopt : std::optional<QString>(id);
    Q_EMIT changed();
}

QString CreateFlow::builderModelId() const { return flow().builderModelId.value_or(QString()); }

void CreateFlow::setBuilderModelId(const QString& id)
{
    flow().builderModelId = id.isEmpty() ? std::nullopt : std::optional<QString>(id);
    Q_EMIT changed();
}

bool CreateFlow::creating() const { return flow().creating(); }

void CreateFlow::start(const QString& kind)
{
    m_sidebar.modelMenu().reload();
    if (kind == u"team")
        m_sidebar.startCreateAgent(CreateKind::team);
    else
        m_sidebar.startCreateAgent(CreateKind::solo,
                                   kind == u"worker" ? QStringLiteral("worker") : QStringLiteral("employee"));
}

void CreateFlow::close() { m_sidebar.closeCreateAgent(); }
void CreateFlow::generate() { flow().generate(); }

void CreateFlow::choose(const QString& questionId, const QString& value, bool on)
{
    QStringList chosen = flow().choices.value(questionId);
    bool multi = false;
    for (const ClarifyQuestion& q : flow().clarifyQuestions())
        if (q.id() == questionId)
            multi = q.multiSelect.value_or(false);
    if (!multi)
        chosen.clear();
    chosen.removeAll(value);
    if (on)
        chosen << value;
    flow().choices.insert(questionId, chosen);
    Q_EMIT changed();
}

void CreateFlow::setCustomAnswer(const QString& questionId, const QString& text)
{
    flow().customAnswers.insert(questionId, text);
}

void CreateFlow::next() { flow().clarifyContinue(); }
void CreateFlow::skip() { flow().clarifySkip(); }
void CreateFlow::back() { flow().clarifyBack(); }
void CreateFlow::backToDescribe() { flow().backToDescribe(); }

void CreateFlow::hire()
{
    if (flow().kind == CreateKind::team)
        flow().createTeam();
    else
        flow().create();
}

} // namespace halvex
