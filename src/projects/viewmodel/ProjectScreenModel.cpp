#include "projects/viewmodel/ProjectScreenModel.h"

#include "core/async/Failure.h"

namespace halvex {

ProjectScreenModel::ProjectScreenModel(APIClient& api, QString slug, QObject* parent)
    : QObject(parent),
      m_service(api),
      m_api(api),
      m_slug(std::move(slug))
{}

void ProjectScreenModel::stop()
{
    m_load.cancel();
    m_older.cancel();
    m_change.cancel();
    m_loading = m_busy = false;
}

bool ProjectScreenModel::showFailure(const std::exception_ptr& error)
{
    const auto text = Failure::shown(error, [this] { Q_EMIT unauthorized(); });
    if (text)
        m_error = text;
    return text.has_value();
}

QCoro::Task<void> ProjectScreenModel::load()
{
    const CancelToken token = m_load.next();
    m_loading = true;
    m_error.reset();
    Q_EMIT changed();
    std::exception_ptr failed;
    try {
        // Started together, awaited in turn.
        QCoro::Task<ProjectDetailResponse> detail = m_service.detail(m_slug, token);
        QCoro::Task<QList<ProjectFile>> files = m_service.files(m_slug, token);
        QCoro::Task<QList<ProjectTask>> tasks = m_service.tasks(m_slug, token);
        QCoro::Task<ProjectEventsResponse> events = m_service.events(m_slug, std::nullopt, token);
        QCoro::Task<ProjectMemoryResponse> memory = m_service.memory(m_slug, token);
        QCoro::Task<ProjectUsage> usage = m_service.usage(m_slug, token);
        ProjectDetailResponse d = co_await std::move(detail);
        QList<ProjectFile> f = co_await std::move(files);
        QList<ProjectTask> t = co_await std::move(tasks);
        ProjectEventsResponse e = co_await std::move(events);
        ProjectMemoryResponse m = co_await std::move(memory);
        ProjectUsage u = co_await std::move(usage);
        if (token.isCancelled())
            co_return;
        m_project = d.project;
        m_members = d.members;
        m_files = std::move(f);
        m_tasks = std::move(t);
        m_events = e.events;
        m_nextBefore = e.hasMore.value_or(false) ? e.nextBefore : std::nullopt;
        m_notes = m.notes.value_or(QList<ProjectNote>());
        m_usage = u;
    } catch (...) {
        failed = std::current_exception();
    }
    if (token.isCancelled())
        co_return;
    if (failed)
        showFailure(failed);
    m_loading = false;
    Q_EMIT changed();
}

QCoro::Task<void> ProjectScreenModel::loadOlderEvents()
{
    if (!m_nextBefore || m_older.isRunning())
        co_return;
    const CancelToken token = m_older.next();
    const qint64 before = *m_nextBefore;
    try {
        const ProjectEventsResponse page = co_await m_service.events(m_slug, before, token);
        if (token.isCancelled())
            co_return;
        m_events.append(page.events);
        m_nextBefore = page.hasMore.value_or(false) ? page.nextBefore : std::nullopt;
    } catch (...) {
        if (token.isCancelled())
            co_return;
        showFailure(std::current_exception());
    }
    m_older.cancel();
    Q_EMIT changed();
}

template <typename Work>
QCoro::Task<bool> ProjectScreenModel::change(Work work, QString notice)
{
    if (m_busy)
        co_return false;
    const CancelToken token = m_change.next();
    m_busy = true;
    m_notice.clear();
    m_error.reset();
    Q_EMIT changed();
    std::exception_ptr failed;
    try {
        co_await work(token);
    } catch (...) {
        failed = std::current_exception();
    }
    if (token.isCancelled())
        co_return false;
    m_busy = false;
    if (failed)
        showFailure(failed);
    else
        m_notice = notice;
    Q_EMIT changed();
    co_return !failed;
}

QCoro::Task<void> ProjectScreenModel::saveBrief(QString brief)
{
    QCoro::Task<bool> work = change(
        [this, brief](CancelToken t) -> QCoro::Task<void> {
            m_project = co_await m_service.updateBrief(m_slug, brief, t);
        },
        QStringLiteral("Overview saved."));
    co_await std::move(work);
}

QCoro::Task<void> ProjectScreenModel::saveSettings(QString label, std::optional<double> budgetUsd)
{
    QCoro::Task<bool> work = change(
        [this, label, budgetUsd](CancelToken t) -> QCoro::Task<void> {
            m_project = co_await m_service.updateSettings(m_slug, label.trimmed(), budgetUsd, t);
        },
        QStringLiteral("Settings saved."));
    co_await std::move(work);
}

QCoro::Task<void> ProjectScreenModel::setStatus(QString status)
{
    QCoro::Task<bool> work = change(
        [this, status](CancelToken t) -> QCoro::Task<void> {
            m_project = co_await m_service.setStatus(m_slug, status, t);
        },
        QStringLiteral("Status changed."));
    co_await std::move(work);
}

QCoro::Task<void> ProjectScreenModel::remove()
{
    QCoro::Task<bool> work = change([this](CancelToken t) { return m_service.remove(m_slug, t); }, QString());
    if (co_await std::move(work))
        Q_EMIT removed();
}

QCoro::Task<void> ProjectScreenModel::removeMember(QString memberId)
{
    QCoro::Task<bool> work = change(
        [this, memberId](CancelToken t) -> QCoro::Task<void> {
            m_members = co_await m_service.removeMember(m_slug, memberId, t);
        },
        QStringLiteral("Member removed."));
    co_await std::move(work);
}

QCoro::Task<void> ProjectScreenModel::addLinks(QStringList urls)
{
    QStringList links;
    for (const QString& u : urls)
        if (const QString trimmed = u.trimmed(); !trimmed.isEmpty())
            links << trimmed;
    if (links.isEmpty())
        co_return;
    QCoro::Task<bool> work = change(
        [this, links](CancelToken t) -> QCoro::Task<void> { m_files = co_await m_service.addLinks(m_slug, links, t); },
        links.size() == 1 ? QStringLiteral("Link added.") : QStringLiteral("Links added."));
    co_await std::move(work);
}

QCoro::Task<void> ProjectScreenModel::upload(QList<QUrl> files)
{
    m_uploadFailures.clear();
    QCoro::Task<bool> work = change(
        [this, files](CancelToken t) -> QCoro::Task<void> {
            const ProjectUploader::Response answer = co_await ProjectUploader::upload(files, m_slug, m_api, t);
            for (const ProjectUploader::Failed& f : answer.failed.value_or(QList<ProjectUploader::Failed>()))
                m_uploadFailures << f.name + QStringLiteral(": ") + f.error;
            m_files = co_await m_service.files(m_slug, t);
        },
        QStringLiteral("Upload finished."));
    co_await std::move(work);
}

QCoro::Task<void> ProjectScreenModel::deleteFile(QString fileId)
{
    QCoro::Task<bool> work = change(
        [this, fileId](CancelToken t) -> QCoro::Task<void> {
            co_await m_service.deleteFile(m_slug, fileId, t);
            m_files.removeIf([&](const ProjectFile& f) { return f.id == fileId; });
        },
        QStringLiteral("Removed."));
    co_await std::move(work);
}

QCoro::Task<void> ProjectScreenModel::addTask(QString text)
{
    if (text.trimmed().isEmpty())
        co_return;
    QCoro::Task<bool> work = change(
        [this, text](CancelToken t) -> QCoro::Task<void> {
            m_tasks = co_await m_service.addTask(m_slug, text.trimmed(), std::nullopt, t);
        },
        QStringLiteral("Task added."));
    co_await std::move(work);
}

QCoro::Task<void> ProjectScreenModel::setTaskStatus(QString taskId, QString status)
{
    QCoro::Task<bool> work = change(
        [this, taskId, status](CancelToken t) -> QCoro::Task<void> {
            m_tasks = co_await m_service.setTaskStatus(m_slug, taskId, status, t);
        },
        QString());
    co_await std::move(work);
}

QCoro::Task<void> ProjectScreenModel::addNote(QString text)
{
    if (text.trimmed().isEmpty())
        co_return;
    QCoro::Task<bool> work = change(
        [this, text](CancelToken t) -> QCoro::Task<void> {
            m_notes = co_await m_service.addNote(m_slug, text.trimmed(), t);
        },
        QStringLiteral("Note saved."));
    co_await std::move(work);
}

QCoro::Task<void> ProjectScreenModel::deleteNote(qint64 noteId)
{
    QCoro::Task<bool> work = change(
        [this, noteId](CancelToken t) -> QCoro::Task<void> {
            m_notes = co_await m_service.deleteNote(m_slug, noteId, t);
        },
        QStringLiteral("Note forgotten."));
    co_await std::move(work);
}

} // namespace halvex
