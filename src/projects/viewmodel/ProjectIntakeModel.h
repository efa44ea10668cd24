#pragma once
// A new project through intake, in four steps: about (name, website, description, links and
// files), questions (the decisions the sources leave open, three a page), review (the five
// fields of the profile, editable, refreshed on request) and people (created; staff it now or
// later). Nothing is created before the review is confirmed. The flow is kept as a local draft
// whenever its step or question page changes, and restored when intake opens again.
#include "core/async/Clock.h"
#include "core/async/LatestOnly.h"
#include "projects/model/ProjectIntakeDraft.h"
#include "projects/model/ProjectIntakeProgress.h"
#include "projects/service/ProjectService.h"

#include <QObject>
#include <QUrl>

namespace halvex {

class AgentListViewModel;
class Preferences;

enum class ProjectIntakeStep { about, questions, review, people };

class ProjectIntakeModel : public QObject {
    Q_OBJECT
public:
    // `preferences`: where the draft is kept (none: no draft). `sidebar`: the list the new
    // project joins and opens in (none: the terminal's intake).
    ProjectIntakeModel(APIClient& api, Clock& clock, Preferences* preferences, AgentListViewModel* sidebar,
                       QObject* parent = nullptr);
    ~ProjectIntakeModel() override;

    ProjectIntakeStep step() const { return m_step; }
    static QString stepName(ProjectIntakeStep step);
    const QString& label() const { return m_label; }
    const QString& website() const { return m_website; }
    const QString& description() const { return m_description; }
    const QString& linksText() const { return m_links; }
    const std::optional<ProjectIntakeSource>& source() const { return m_source; }
    const QList<ProjectIntakeQuestion>& questions() const { return m_questions; }
    int questionGroup() const { return m_questionGroup; }
    int pageCount() const;
    QList<ProjectIntakeQuestion> currentPage() const;
    QString chosen(const QString& key) const { return m_chosen.value(key); }
    QString typed(const QString& key) const { return m_typed.value(key); }
    // The typed text when there is one, else the chosen option.
    QString answer(const QString& key) const;
    const std::optional<ProjectOverview>& overview() const { return m_overview; }
    const QStringList& needsInput() const { return m_needsInput; }
    const QSet<QString>& dirtyFields() const { return m_dirtyFields; }
    const QString& creationRequestID() const { return m_creationRequestID; }
    const QList<QUrl>& files() const { return m_files; }
    const QString& filesNotice() const { return m_filesNotice; }
    bool isBusy() const { return m_busy; }
    ProjectIntakePhase phase() const { return m_phase; }
    ProjectIntakeProgress progress() const;
    const std::optional<QString>& error() const { return m_error; }
    // What did not land after the project was created.
    const QStringList& warnings() const { return m_warnings; }
    const std::optional<Project>& created() const { return m_created; }

    void setLabel(const QString& text);
    void setWebsite(const QString& text);
    void setDescription(const QString& text);
    void setLinksText(const QString& text);
    void choose(const QString& key, const QString& option);
    void type(const QString& key, const QString& text);
    // Edits a profile field; the key joins the edited fields.
    void setField(const QString& key, const QString& text);
    // Local files only, each once, twenty at most (more is refused with a notice).
    void addFiles(const QList<QUrl>& urls);
    void removeFile(int index);

    // Opening intake: the kept draft when there is one, else a new intake.
    void restore();
    QCoro::Task<void> analyse();
    void fillManually();
    QCoro::Task<void> advanceQuestions();
    // The previous question page, or about from the first one.
    void back();
    QCoro::Task<void> buildOverview(bool preserveEdits);
    QCoro::Task<void> refreshSuggestions() { return buildOverview(true); }
    QCoro::Task<void> create();
    // Stops the call in flight; what was entered stays.
    void cancel();
    // Forgets this intake and its draft and starts a new one.
    void discard();
    // Keeps the intake as it is now, unless nothing was entered yet.
    void saveDraft();

    // The people step's two ways on, over the sidebar.
    void openProject();
    void createEmployee();

    ProjectIntakeDraft draft() const;

Q_SIGNALS:
    void changed();
    void unauthorized();
    // The project exists; its slug.
    void projectCreated(const QString& slug);

private:
    void assign(QString& field, const QString& text);
    // Awaits one call: its answer, or nothing when it failed (the failure shown) or was stopped.
    template <typename T>
    QCoro::Task<std::optional<T>> attempt(QCoro::Task<T> call, CancelToken token)
    {
        std::exception_ptr failure;
        try {
            T answer = co_await std::move(call);
            if (!token.isCancelled())
                co_return answer;
        } catch (...) {
            failure = std::current_exception();
        }
        if (failure && !token.isCancelled())
            finish(failure);
        co_return std::nullopt;
    }
    void apply(const ProjectIntakeDraft& draft);
    void setStep(ProjectIntakeStep step);
    void setQuestionGroup(int group);
    // Shows a message that stops an operation before it sends anything.
    void refuse(const QString& message);
    // Starts a call: busy, in `phase`, the error cleared.
    CancelToken begin(ProjectIntakePhase phase);
    // Ends a call: not busy; a failure shown unless it was a cancellation.
    void finish(const std::exception_ptr& failure = {});
    QString websiteURL() const;
    QList<ProjectIntakeAnswer> collectAnswers() const;
    QCoro::Task<QStringList> addMaterials(QString slug, CancelToken token);

    APIClient& m_api;
    ProjectService m_service;
    Clock& m_clock;
    Preferences* m_preferences;
    AgentListViewModel* m_sidebar;
    LatestOnly m_work;

    ProjectIntakeStep m_step = ProjectIntakeStep::about;
    QString m_label;
    QString m_website;
    QString m_description;
    QString m_links;
    std::optional<ProjectIntakeSource> m_source;
    QList<ProjectIntakeQuestion> m_questions;
    int m_questionGroup = 0;
    QMap<QString, QString> m_chosen;
    QMap<QString, QString> m_typed;
    std::optional<ProjectOverview> m_overview;
    QStringList m_needsInput;
    QSet<QString> m_dirtyFields;
    QString m_creationRequestID;
    QList<QUrl> m_files;
    QString m_filesNotice;
    bool m_busy = false;
    ProjectIntakePhase m_phase = ProjectIntakePhase::none;
    std::optional<QString> m_error;
    QStringList m_warnings;
    std::optional<Project> m_created;
};

} // namespace halvex
