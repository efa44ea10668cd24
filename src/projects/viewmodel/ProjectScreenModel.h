#pragma once
// One project's screen: its profile, members, files and links, tasks, event feed, notes and
// usage, loaded together and changed one request at a time.
#include "core/async/LatestOnly.h"
#include "projects/service/ProjectService.h"
#include "projects/service/ProjectUploader.h"

#include <QObject>
#include <QUrl>

namespace halvex {

class ProjectScreenModel : public QObject {
    Q_OBJECT
public:
    ProjectScreenModel(APIClient& api, QString slug, QObject* parent = nullptr);

    const QString& slug() const { return m_slug; }
    const std::optional<Project>& project() const { return m_project; }
    const QList<ProjectMember>& members() const { return m_members; }
    const QList<ProjectFile>& files() const { return m_files; }
    const QList<ProjectTask>& tasks() const { return m_tasks; }
    const QList<ProjectEvent>& events() const { return m_events; }
    bool hasOlderEvents() const { return m_nextBefore.has_value(); }
    const QList<ProjectNote>& notes() const { return m_notes; }
    const std::optional<ProjectUsage>& usage() const { return m_usage; }
    // Per-file failures of the last upload ("name: error").
    const QStringList& uploadFailures() const { return m_uploadFailures; }
    bool isLoading() const { return m_loading; }
    bool isBusy() const { return m_busy; }
    const QString& notice() const { return m_notice; }
    const std::optional<QString>& error() const { return m_error; }

    QCoro::Task<void> load();
    QCoro::Task<void> loadOlderEvents();
    QCoro::Task<void> saveBrief(QString brief);
    QCoro::Task<void> saveSettings(QString label, std::optional<double> budgetUsd);
    QCoro::Task<void> setStatus(QString status);
    QCoro::Task<void> remove();
    QCoro::Task<void> removeMember(QString memberId);
    QCoro::Task<void> addLinks(QStringList urls);
    QCoro::Task<void> upload(QList<QUrl> files);
    QCoro::Task<void> deleteFile(QString fileId);
    QCoro::Task<void> addTask(QString text);
    QCoro::Task<void> setTaskStatus(QString taskId, QString status);
    QCoro::Task<void> addNote(QString text);
    QCoro::Task<void> deleteNote(qint64 noteId);
    void stop();

Q_SIGNALS:
    void changed();
    void removed();
    void unauthorized();

private:
    // One change: busy while `work` runs; on success `notice`, on failure the error text.
    template <typename Work>
    QCoro::Task<bool> change(Work work, QString notice);
    bool showFailure(const std::exception_ptr& error);

    ProjectService m_service;
    APIClient& m_api;
    QString m_slug;
    std::optional<Project> m_project;
    QList<ProjectMember> m_members;
    QList<ProjectFile> m_files;
    QList<ProjectTask> m_tasks;
    QList<ProjectEvent> m_events;
    std::optional<qint64> m_nextBefore;
    QList<ProjectNote> m_notes;
    std::optional<ProjectUsage> m_usage;
    QStringList m_uploadFailures;
    bool m_loading = false;
    bool m_busy = false;
    QString m_notice;
    std::optional<QString> m_error;
    LatestOnly m_load;
    LatestOnly m_older;
    LatestOnly m_change;
};

} // namespace halvex
