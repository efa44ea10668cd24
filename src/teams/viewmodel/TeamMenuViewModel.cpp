#include "teams/viewmodel/TeamMenuViewModel.h"

#include "core/async/Failure.h"
#include "core/net/APIClient.h"

#include <QRegularExpression>

namespace halvex {

namespace {

JSONObject loopBody(const LoopToolConfig& c)
{
    return {
        {QStringLiteral("loop_mode"), c.enabled},
        {QStringLiteral("loop_max_iterations"), c.iterations},
        {QStringLiteral("loop_max_tokens"), c.maxTokens},
        {QStringLiteral("loop_max_cost_usd"), c.maxCostUsd},
        {QStringLiteral("loop_quality_threshold"), c.quality},
        {QStringLiteral("loop_stop_on_no_improvement"), c.stopOnNoImprove},
    };
}

JSONObject one(const char* key, const JSONValue& value) { return {{QLatin1String(key), value}}; }

QString withoutAt(QString handle)
{
    if (handle.startsWith(u'@'))
        handle.remove(0, 1);
    return handle;
}

} // namespace

TeamMenuViewModel::TeamMenuViewModel(QString slug, APIClient& api, QObject* parent)
    : QObject(parent),
      m_slug(std::move(slug)),
      m_agents(api),
      m_teams(api),
      m_teamChat(api),
      m_label(m_slug)
{}

TeamMenuViewModel::TeamMenuViewModel(QString slug, QObject* parent)
    : TeamMenuViewModel(std::move(slug), APIClient::shared(), parent)
{}

TeamMenuViewModel::~TeamMenuViewModel() { m_scope.cancelAll(); }

void TeamMenuViewModel::stop()
{
    m_scope.cancelAll();
    m_isLoading = m_isBusy = false;
}

bool TeamMenuViewModel::fail(const std::exception_ptr& error)
{
    const Failure failure = Failure::of(error);
    switch (failure.route) {
    case Failure::Route::silent:
        return false;
    case Failure::Route::lostSession:
        Q_EMIT unauthorized();
        return false;
    case Failure::Route::show:
        m_error = failure.text;
        return true;
    }
    return false;
}

void TeamMenuViewModel::apply(const TeamChatResponse& team)
{
    if (team.groupLabel && !team.groupLabel->isEmpty())
        m_label = *team.groupLabel;
    m_teamAvatar = team.teamAvatar;
    m_handoffDepth = team.handoffDepth.value_or(0);
    LoopToolConfig loop;
    if (team.loop) {
        loop.enabled = team.loop->enabled.value_or(false);
        loop.iterations = team.loop->maxIterations.value_or(3);
        loop.maxTokens = team.loop->maxTokens.value_or(0);
        loop.maxCostUsd = team.loop->maxCostUsd.value_or(0);
        loop.quality = team.loop->qualityThreshold.value_or(0);
        loop.stopOnNoImprove = team.loop->stopOnNoImprovement.value_or(true);
    }
    m_loop = loop;
    m_budgetUsd = team.budgetUsdMonth.value_or(0);
    m_monthSpendUsd = team.monthSpendUsd.value_or(0);
    m_reviewerHandle.clear();
    for (const TeamRosterMember& m : team.agents) {
        if (m.isReviewer.value_or(false)) {
            m_reviewerHandle = m.handle.value_or(QString());
            break;
        }
    }
    m_roster = team.agents;
}

QCoro::Task<void> TeamMenuViewModel::hydrateIfNeeded()
{
    if (m_didLoad)
        co_return;
    co_await hydrate();
}

QCoro::Task<void> TeamMenuViewModel::hydrate()
{
    const CancelToken token = m_scope.token();
    m_didLoad = true;
    m_isLoading = true;
    Q_EMIT changed();
    std::exception_ptr failure;
    try {
        const TeamChatResponse team = co_await m_teamChat.load(m_slug, hydrateLimit, std::nullopt, token);
        if (token.isCancelled())
            co_return;
        apply(team);
    } catch (...) {
        failure = std::current_exception();
    }
    if (token.isCancelled())
        co_return;
    if (failure)
        fail(failure);
    m_isLoading = false;
    Q_EMIT changed();
}

QCoro::Task<void> TeamMenuViewModel::loadUsage()
{
    const CancelToken token = m_scope.token();
    std::exception_ptr failure;
    try {
        TeamUsageResponse usage = co_await m_teams.usage(m_slug, token);
        if (token.isCancelled())
            co_return;
        m_usage = std::move(usage);
    } catch (...) {
        failure = std::current_exception();
    }
    if (token.isCancelled())
        co_return;
    if (failure)
        fail(failure);
    Q_EMIT changed();
}

QCoro::Task<void> TeamMenuViewModel::runSave(SaveRequest request, SaveSuccess onSuccess)
{
    const CancelToken token = m_scope.token();
    m_isBusy = true;
    m_error.reset();
    m_notice.reset();
    Q_EMIT changed();
    std::exception_ptr failure;
    try {
        // Held by name: GCC 12 destroys a task returned through std::function inside co_await too early.
        QCoro::Task<void> pending = request(token);
        co_await pending;
    } catch (...) {
        failure = std::current_exception();
    }
    if (token.isCancelled())
        co_return;
    if (failure)
        fail(failure);
    else
        m_notice = onSuccess();
    m_isBusy = false;
    Q_EMIT changed();
}

QCoro::Task<void> TeamMenuViewModel::addMember(QString brief)
{
    const CancelToken token = m_scope.token();
    m_addMemberState = {AddMemberState::Kind::running, brief};
    m_error.reset();
    Q_EMIT changed();
    std::optional<AddMemberResponse> answer;
    std::exception_ptr failure;
    try {
        answer = co_await m_teams.addMember(m_slug, brief, token);
    } catch (...) {
        failure = std::current_exception();
    }
    if (token.isCancelled())
        co_return;
    if (failure) {
        const Failure f = Failure::of(failure);
        if (f.route == Failure::Route::lostSession)
            Q_EMIT unauthorized();
        m_addMemberState = {AddMemberState::Kind::failed, f.text};
        Q_EMIT changed();
        co_return;
    }
    m_addMemberState = {};
    const auto name = answer->member ? answer->member->name : std::nullopt;
    m_notice = name ? *name + QStringLiteral(" joined the team") : QStringLiteral("Member added");
    Q_EMIT changed();
    Q_EMIT membersChanged();
    co_await hydrate();
}

QCoro::Task<void> TeamMenuViewModel::renameMember(QString agentId, QString newHandle)
{
    const QString handle = withoutAt(newHandle.trimmed());
    if (handle.isEmpty()) {
        m_error = QStringLiteral("Handle can't be empty");
        Q_EMIT changed();
        co_return;
    }
    QString oldHandle;
    for (const TeamRosterMember& m : std::as_const(m_roster)) {
        if (m.id == agentId)
            oldHandle = m.handle.value_or(m.name);
    }
    // Members are named after their handle and the team, as the team naming expects.
    const QString name = handle + u'-' + m_slug;
    SaveRequest request
        = [this, agentId, name](CancelToken token) { return m_agents.patch(agentId, one("name", name), token); };
    SaveSuccess onSuccess = [this, agentId, handle, name, oldHandle] {
        for (TeamRosterMember& m : m_roster) {
            if (m.id == agentId) {
                m.handle = handle;
                m.name = name;
            }
        }
        Q_EMIT membersChanged();
        return QStringLiteral("Renamed ") + oldHandle + QStringLiteral(" to @") + handle;
    };
    co_await runSave(std::move(request), std::move(onSuccess));
}

QCoro::Task<void> TeamMenuViewModel::memberAction(QString agentId, QString action)
{
    SaveRequest request
        = [this, agentId, action](CancelToken token) { return m_teams.memberAction(m_slug, agentId, action, token); };
    SaveSuccess onSuccess = [this, agentId, action] {
        if (action == QLatin1String("remove")) {
            m_roster.removeIf([&](const TeamRosterMember& m) { return m.id == agentId; });
            Q_EMIT membersChanged();
            return QStringLiteral("Member removed");
        }
        return QStringLiteral("Member ") + action;
    };
    co_await runSave(std::move(request), std::move(onSuccess));
}

QCoro::Task<void> TeamMenuViewModel::setMemberModel(QString agentId, std::optional<BrainModel> brain)
{
    const QString provider = brain ? brain->provider : QString();
    const QString model = brain ? brain->model : QString();
    SaveRequest request = [this, agentId, provider, model](CancelToken token) {
        return m_teams.setMemberModel(m_slug, agentId, provider, model, token);
    };
    SaveSuccess onSuccess = [this, agentId, provider, model, brain] {
        for (TeamRosterMember& m : m_roster) {
            if (m.id == agentId) {
                m.llmProvider = provider.isEmpty() ? std::nullopt : std::optional<QString>(provider);
                m.llmModel = model.isEmpty() ? std::nullopt : std::optional<QString>(model);
            }
        }
        return brain ? QStringLiteral("Member model: ") + brain->label : QStringLiteral("Member inherits team model");
    };
    co_await runSave(std::move(request), std::move(onSuccess));
}

QCoro::Task<void> TeamMenuViewModel::saveReviewer(QString handle)
{
    SaveRequest request = [this, handle](CancelToken token) -> QCoro::Task<void> {
        JSONObject body = one("reviewer_handle", handle);
        co_await m_teams.patch(m_slug, std::move(body), token);
    };
    SaveSuccess onSuccess = [this, handle] {
        m_reviewerHandle = handle;
        return handle.isEmpty() ? QStringLiteral("Reviewer cleared") : QStringLiteral("Reviewer set to @") + handle;
    };
    co_await runSave(std::move(request), std::move(onSuccess));
}

QCoro::Task<void> TeamMenuViewModel::saveHandoffDepth(int depth)
{
    SaveRequest request = [this, depth](CancelToken token) -> QCoro::Task<void> {
        JSONObject body = one("handoff_depth", depth);
        co_await m_teams.patch(m_slug, std::move(body), token);
    };
    SaveSuccess onSuccess = [this, depth] {
        m_handoffDepth = depth;
        return QStringLiteral("Handoff depth saved");
    };
    co_await runSave(std::move(request), std::move(onSuccess));
}

QCoro::Task<void> TeamMenuViewModel::saveLoop(LoopToolConfig config)
{
    SaveRequest request = [this, config](CancelToken token) -> QCoro::Task<void> {
        JSONObject body = loopBody(config);
        co_await m_teams.patch(m_slug, std::move(body), token);
    };
    SaveSuccess onSuccess = [this, config] {
        m_loop = config;
        return config.enabled ? QStringLiteral("Team Loop settings saved ✓") : QStringLiteral("Team Loop mode off ✓");
    };
    co_await runSave(std::move(request), std::move(onSuccess));
}

double TeamMenuViewModel::budgetUsdFromDraft(const QString& tokensDraft)
{
    static const QRegularExpression nonDigits(QStringLiteral("[^0-9]"));
    QString digits = tokensDraft;
    digits.remove(nonDigits);
    bool ok = false;
    const double tokens = digits.toDouble(&ok);
    return ok ? tokens / tokensPerUsd : 0.0;
}

QCoro::Task<void> TeamMenuViewModel::saveBudget(QString tokensDraft)
{
    const double usd = budgetUsdFromDraft(tokensDraft);
    SaveRequest request = [this, usd](CancelToken token) -> QCoro::Task<void> {
        JSONObject body = one("budget_usd_month", usd);
        co_await m_teams.patch(m_slug, std::move(body), token);
    };
    SaveSuccess onSuccess = [this, usd] {
        m_budgetUsd = usd;
        return QStringLiteral("Budget saved");
    };
    co_await runSave(std::move(request), std::move(onSuccess));
}

std::optional<qint64> TeamMenuViewModel::memberTokens(const QString& handle) const
{
    if (!m_usage || !m_usage->members)
        return std::nullopt;
    for (const auto& row : *m_usage->members) {
        if (row.handle == handle)
            return row.tokens;
    }
    return std::nullopt;
}

} // namespace halvex
