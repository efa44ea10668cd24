// The last step of intake: the project created with its profile, then its links and files, the
// sidebar told, and the way on to the project or to its first employee.
#include "projects/viewmodel/ProjectIntakeModel.h"

#include "agents/viewmodel/AgentListViewModel.h"
#include "core/prefs/Preferences.h"
#include "projects/model/ProjectIntakeRules.h"
#include "projects/service/ProjectUploader.h"

#include <QUuid>

namespace halvex {

QCoro::Task<void> ProjectIntakeModel::create()
{
    if (m_busy || m_step != ProjectIntakeStep::review)
        co_return;
    if (const auto refused = ProjectIntakeRules::validateName(m_label)) {
        refuse(*refused);
        co_return;
    }
    const ProjectOverview overview = m_overview.value_or(ProjectOverview{});
    if (const auto refused = ProjectIntakeRules::profileTooLong(overview)) {
        refuse(*refused);
        co_return;
    }
    const CancelToken token = begin(ProjectIntakePhase::none);
    QCoro::Task<ProjectCreateResponse> call
        = m_service.create(m_label.trimmed(), overview, m_creationRequestID, m_source, token);
    const std::optional<ProjectCreateResponse> answer = co_await attempt(std::move(call), token);
    if (!answer)
        co_return;
    const Project project = answer->project;
    const QStringList warnings = co_await addMaterials(project.slug, token);
    if (token.isCancelled())
        co_return;
    // The new project is listed at once, wherever the sidebar's tab stands.
    if (m_sidebar) {
        co_await m_sidebar->fetchProjects(token);
        if (token.isCancelled())
            co_return;
    }
    m_created = project;
    m_warnings = warnings;
    if (m_preferences)
        ProjectIntakeDraftStore::remove(*m_preferences);
    m_creationRequestID = QUuid::createUuid().toString(QUuid::WithoutBraces);
    m_files.clear();
    m_step = ProjectIntakeStep::people;
    finish();
    Q_EMIT projectCreated(project.slug);
}

// The links, then the files; what failed is a warning, never a reason to undo the project.
QCoro::Task<QStringList> ProjectIntakeModel::addMaterials(QString slug, CancelToken token)
{
    QStringList warnings;
    const QStringList links = ProjectIntakeRules::links(m_website, m_links);
    if (!links.isEmpty()) {
        try {
            co_await m_service.addLinks(slug, links, token);
        } catch (...) {
            warnings << QStringLiteral("Links were not saved.");
        }
    }
    if (!m_files.isEmpty()) {
        try {
            const ProjectUploader::Response answer = co_await ProjectUploader::upload(m_files, slug, m_api, token);
            if (!answer.failed.value_or(QList<ProjectUploader::Failed>()).isEmpty())
                warnings << QStringLiteral("Files were not uploaded.");
        } catch (...) {
            warnings << QStringLiteral("Files were not uploaded.");
        }
    }
    co_return warnings;
}

void ProjectIntakeModel::openProject()
{
    if (!m_created || !m_sidebar)
        return;
    m_sidebar->closeDetailScreens();
    m_sidebar->selectTab(SidebarTab::projects);
    m_sidebar->select(QStringLiteral("project:") + m_created->slug);
}

void ProjectIntakeModel::createEmployee()
{
    if (m_created && m_sidebar)
        m_sidebar->startCreateAgentForProject(m_created->slug, m_created->label);
}

} // namespace halvex
