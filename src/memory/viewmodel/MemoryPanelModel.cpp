#include "memory/viewmodel/MemoryPanelModel.h"

#include "core/async/Failure.h"
#include "memory/model/MemoryParse.h"

#include <QFile>
#include <QFileInfo>

namespace halvex {

namespace {

// The result of `task`, or nothing with the first failure kept in `failure`: the parts of a
// load are started together and each may fail on its own.
template <typename T>
QCoro::Task<std::optional<T>> attempt(QCoro::Task<T> task, std::exception_ptr* failure)
{
    try {
        co_return co_await std::move(task);
    } catch (...) {
        if (!*failure)
            *failure = std::current_exception();
    }
    co_return std::nullopt;
}

const QStringList importableExtensions{QStringLiteral("md"), QStringLiteral("markdown"), QStringLiteral("txt"),
                                       QStringLiteral("text")};

// `blob` without the first entry equal to `raw`; nothing when it has no such entry.
std::optional<QString> blobWithout(const QString& blob, const QString& raw)
{
    QStringList entries = MemoryParse::parseBlob(blob);
    const qsizetype at = entries.indexOf(raw.trimmed());
    if (at < 0)
        return std::nullopt;
    entries.removeAt(at);
    return MemoryParse::joinBlob(entries);
}

} // namespace

MemoryPanelModel::MemoryPanelModel(APIClient& api, QString agentId, QString agentName, QObject* parent)
    : QObject(parent),
      m_agents(api),
      m_service(api),
      m_goals(api),
      m_agentId(std::move(agentId)),
      m_agentName(std::move(agentName))
{}

void MemoryPanelModel::setTab(Tab tab)
{
    if (m_tab == tab)
        return;
    m_tab = tab;
    Q_EMIT changed();
}

void MemoryPanelModel::clearError()
{
    m_error.reset();
    Q_EMIT changed();
}

void MemoryPanelModel::stop()
{
    m_load.cancel();
    m_results.cancel();
    m_writes.cancelAll();
    m_loading = m_kbBusy = m_memBusy = false;
}

QList<MemoryGroup> MemoryPanelModel::groups() const
{
    return MemoryBuilders::memoryGroups(m_agentDetail, m_workspaceMemory, m_notes);
}

QList<KBRow> MemoryPanelModel::kbRows() const
{
    return MemoryBuilders::kbRows(m_agentDetail, m_notes, m_tables, m_files, m_skills)
        + MemoryBuilders::workspaceDocs(m_workspaceMemory) + m_resultFiles;
}

QList<KBRow> MemoryPanelModel::visibleKbRows() const
{
    return MemoryBuilders::filteredRows(kbRows(), kbSearch, kbFilter);
}

QMap<KBRow::RowType, int> MemoryPanelModel::kbStats() const { return MemoryBuilders::kbStats(kbRows()); }

QList<GraphNode> MemoryPanelModel::graphNodes() const
{
    return MemoryBuilders::graphNodes(groups(), kbRows(),
                                      m_agentName.isEmpty() ? QStringLiteral("Employee") : m_agentName);
}

QString MemoryPanelModel::emptyText() const
{
    return (m_agentName.isEmpty() ? QStringLiteral("Your employee") : m_agentName)
        + QStringLiteral(" hasn’t learned anything about you yet — it fills up as you chat and it works.");
}

QCoro::Task<void> MemoryPanelModel::load()
{
    const CancelToken token = m_load.next();
    m_results.cancel();
    m_loading = true;
    m_error.reset();
    Q_EMIT changed();
    std::exception_ptr failed;
    // Started together, awaited in turn; each keeps what it got.
    QCoro::Task<std::optional<JSONObject>> detail = attempt(m_agents.rawDetail(m_agentId, token), &failed);
    QCoro::Task<std::optional<MemoryNotesResponse>> notes = attempt(m_service.notes(m_agentId, token), &failed);
    QCoro::Task<std::optional<AgentTablesResponse>> tables = attempt(m_service.tables(m_agentId, token), &failed);
    QCoro::Task<std::optional<AgentFilesResponse>> files = attempt(m_service.files(m_agentId, token), &failed);
    QCoro::Task<std::optional<AgentSkillsResponse>> skills = attempt(m_service.skills(m_agentId, token), &failed);
    QCoro::Task<std::optional<JSONObject>> workspace = attempt(m_service.memoryProfile(m_agentId, token), &failed);
    const std::optional<JSONObject> d = co_await std::move(detail);
    const std::optional<MemoryNotesResponse> n = co_await std::move(notes);
    const std::optional<AgentTablesResponse> t = co_await std::move(tables);
    const std::optional<AgentFilesResponse> f = co_await std::move(files);
    const std::optional<AgentSkillsResponse> s = co_await std::move(skills);
    const std::optional<JSONObject> w = co_await std::move(workspace);
    if (token.isCancelled())
        co_return;
    m_agentDetail = d.value_or(JSONObject());
    m_notes = n ? n->notes : QList<MemoryNoteItem>();
    m_tables = t ? t->tables : QList<AgentTableItem>();
    m_files = f ? f->files : QList<AgentFileItem>();
    m_skills = s ? s->skills : QList<AgentSkillItem>();
    m_workspaceMemory = w.value_or(JSONObject());
    if (const QString name = m_agentDetail.value(QStringLiteral("name")).toString(); !name.isEmpty())
        m_agentName = name;
    if (failed)
        m_error = Failure::shown(failed, [this] { Q_EMIT unauthorized(); });
    m_loaded = true;
    m_loading = false;
    Q_EMIT changed();
    co_await loadResultFiles();
}

QCoro::Task<void> MemoryPanelModel::loadResultFiles()
{
    const CancelToken token = m_results.next();
    QList<QPair<QString, QList<GoalRunItem>>> perGoal;
    std::exception_ptr failed;
    try {
        const GoalScope scope = GoalScope::agent(m_agentId);
        const QList<GoalListItem> goals = co_await m_goals.list(scope, goalsRead, token);
        for (const GoalListItem& goal : goals) {
            const GoalRunsResponse runs = co_await m_service.goalRuns(m_agentId, goal.id, token);
            perGoal.append({goal.title.value_or(goal.objective.value_or(goal.id)), runs.runs});
        }
    } catch (...) {
        failed = std::current_exception();
    }
    if (token.isCancelled())
        co_return;
    // Results are extras of the knowledge tab: without them it still shows everything else.
    if (failed)
        Failure::shown(failed, [this] { Q_EMIT unauthorized(); });
    else
        m_resultFiles = MemoryBuilders::resultFiles(perGoal);
    Q_EMIT changed();
}

void MemoryPanelModel::showFailure(const std::exception_ptr& error, const QString& text, bool preferSpecific)
{
    if (!Failure::shown(error, [this] { Q_EMIT unauthorized(); }))
        return;
    m_error = text;
    if (!preferSpecific)
        return;
    try {
        std::rethrow_exception(error);
    } catch (const APIError& e) {
        if (e.kind() == APIError::Kind::server && !e.message().value_or(QString()).trimmed().isEmpty())
            m_error = e.message();
    } catch (...) {}
}

template <typename Work>
QCoro::Task<bool> MemoryPanelModel::write(bool MemoryPanelModel::*busy, Work work, QString failureText,
                                          bool preferSpecific)
{
    if (this->*busy)
        co_return false;
    const CancelToken token = m_writes.token();
    this->*busy = true;
    m_error.reset();
    Q_EMIT changed();
    std::exception_ptr failed;
    try {
        QCoro::Task<void> task = work(token);
        co_await std::move(task);
    } catch (...) {
        failed = std::current_exception();
    }
    if (token.isCancelled())
        co_return false;
    this->*busy = false;
    if (failed)
        showFailure(failed, failureText, preferSpecific);
    Q_EMIT changed();
    co_return !failed;
}

QCoro::Task<void> MemoryPanelModel::addMemory()
{
    const QString text = memInput.trimmed();
    if (text.isEmpty())
        co_return;
    QCoro::Task<bool> saved = write(
        &MemoryPanelModel::m_memBusy,
        [this, text](CancelToken t) -> QCoro::Task<void> {
            const QString noTitle;
            co_await m_service.addNote(m_agentId, noTitle, text, t);
        },
        QStringLiteral("Could not save the fact"));
    if (!co_await std::move(saved))
        co_return;
    memInput.clear();
    co_await load();
}

QCoro::Task<void> MemoryPanelModel::forgetNote(QString noteId)
{
    QCoro::Task<bool> forgotten = write(
        &MemoryPanelModel::m_memBusy,
        [this, noteId](CancelToken t) { return m_service.deleteNote(m_agentId, noteId, t); },
        QStringLiteral("Could not forget the note"));
    if (co_await std::move(forgotten))
        co_await load();
}

QCoro::Task<void> MemoryPanelModel::forgetFact(MemoryEntryItem entry)
{
    if (entry.scope.kind == MemoryScope::Kind::note) {
        co_await forgetNote(entry.scope.noteId);
        co_return;
    }
    // The employee's own facts live on its record, the shared ones in its workspace's profile.
    const bool own = entry.scope.kind == MemoryScope::Kind::agent;
    const QString blob = own ? m_agentDetail.value(QStringLiteral("user_metadata_md")).toString()
                             : m_workspaceMemory.value(QStringLiteral("worker_user_facts")).toString();
    const QString remaining = blobWithout(blob, entry.raw).value_or(blob);
    QCoro::Task<bool> forgotten = write(
        &MemoryPanelModel::m_memBusy,
        [this, own, remaining](CancelToken t) -> QCoro::Task<void> {
            if (own) {
                const JSONObject body{{QStringLiteral("user_metadata_md"), remaining}};
                co_await m_agents.patch(m_agentId, body, t);
            } else {
                co_await m_service.patchWorkerUserFacts(m_agentId, remaining, t);
            }
        },
        own ? QStringLiteral("Could not forget fact") : QStringLiteral("Could not forget memory"), true);
    if (co_await std::move(forgotten))
        co_await load();
}

QCoro::Task<void> MemoryPanelModel::patchAgent(JSONObject body, QString failureText)
{
    QCoro::Task<bool> patched = write(
        &MemoryPanelModel::m_kbBusy, [this, body](CancelToken t) { return m_agents.patch(m_agentId, body, t); },
        failureText);
    if (co_await std::move(patched))
        co_await load();
}

QCoro::Task<void> MemoryPanelModel::addKbLink()
{
    if (kbLink.trimmed().isEmpty() || m_kbBusy)
        co_return;
    const std::optional<QString> link = MemoryParse::normalisedLink(kbLink);
    if (!link) {
        m_error = QStringLiteral("That doesn't look like a link — paste a full address, e.g. ")
            + MemoryParse::exampleLink + QStringLiteral(".");
        Q_EMIT changed();
        co_return;
    }
    JSONArray links = m_agentDetail.value(QStringLiteral("knowledge_urls")).toArray();
    if (links.contains(JSONValue(*link))) {
        kbLink.clear();
        Q_EMIT changed();
        co_return;
    }
    links.append(*link);
    const JSONObject body{{QStringLiteral("knowledge_urls"), links}};
    const QString sentLink = kbLink;
    QCoro::Task<bool> added = write(
        &MemoryPanelModel::m_kbBusy, [this, body](CancelToken t) { return m_agents.patch(m_agentId, body, t); },
        QStringLiteral("Could not add the source"));
    if (!co_await std::move(added))
        co_return;
    if (kbLink == sentLink)
        kbLink.clear();
    co_await load();
}

QCoro::Task<void> MemoryPanelModel::importFiles(QList<QUrl> urls)
{
    if (m_kbBusy)
        co_return;
    QStringList reports;
    QList<QPair<QString, QString>> accepted; // file name, text
    for (const QUrl& url : urls) {
        const QFileInfo info(url.isLocalFile() ? url.toLocalFile() : url.toString());
        if (!importableExtensions.contains(info.suffix().toLower()))
            continue;
        const QString name = info.fileName();
        QFile file(info.filePath());
        if (!file.open(QIODevice::ReadOnly)) {
            reports << name + QStringLiteral(": could not be read");
            continue;
        }
        const QString text = QString::fromUtf8(file.readAll());
        if (text.trimmed().isEmpty())
            reports << name + QStringLiteral(": file is empty");
        else if (text.size() > maxImportChars)
            reports << name + QStringLiteral(": too long (") + QString::number(text.size())
                    + QStringLiteral(" chars, limit ") + QString::number(maxImportChars) + QStringLiteral(")");
        else
            accepted.append({name, text});
    }
    m_importReports = reports;
    Q_EMIT changed();
    if (accepted.isEmpty())
        co_return;
    QCoro::Task<bool> imported = write(
        &MemoryPanelModel::m_kbBusy,
        [this, accepted](CancelToken t) -> QCoro::Task<void> {
            for (const auto& [name, text] : accepted)
                co_await m_service.addNote(m_agentId, name, text, t);
        },
        QStringLiteral("Could not import the files"));
    if (co_await std::move(imported))
        co_await load();
}

QCoro::Task<void> MemoryPanelModel::removeKbRow(KBRow row)
{
    if (row.type == KBRow::RowType::link && row.url) {
        JSONArray links = m_agentDetail.value(QStringLiteral("knowledge_urls")).toArray();
        links.removeAll(JSONValue(*row.url));
        const JSONObject body{{QStringLiteral("knowledge_urls"), links}};
        co_await patchAgent(body, QStringLiteral("Could not remove the source"));
    } else if (row.type == KBRow::RowType::doc && row.id == u"knowledge-base") {
        const JSONObject body{{QStringLiteral("knowledge_base"), QString()}};
        co_await patchAgent(body, QStringLiteral("Could not remove the source"));
    } else if (row.type == KBRow::RowType::doc && row.url && row.id.startsWith(QLatin1String("file-"))) {
        const QString url = *row.url;
        QCoro::Task<bool> removed = write(
            &MemoryPanelModel::m_kbBusy, [this, url](CancelToken t) { return m_service.removeFile(m_agentId, url, t); },
            QStringLiteral("Could not remove the file"));
        if (co_await std::move(removed))
            co_await load();
    } else if (row.type == KBRow::RowType::note && row.noteId) {
        co_await forgetNote(*row.noteId);
    }
}

} // namespace halvex
