#pragma once
// The project screen as QML reads it: it follows the sidebar, and while a project is selected
// keeps that project's model, its rows as plain maps, and the operations of each tab.
#include "projects/viewmodel/ProjectScreenModel.h"

#include <QObject>
#include <QVariantList>
#include <QtQml/qqmlregistration.h>

#include <memory>

namespace halvex {

class AgentListViewModel;

class ProjectScreen : public QObject {
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("Owned by the app shell")
    Q_PROPERTY(bool open READ isOpen NOTIFY changed)
    Q_PROPERTY(QString slug READ slug NOTIFY changed)
    Q_PROPERTY(QString label READ label NOTIFY changed)
    Q_PROPERTY(QString brief READ brief NOTIFY changed)
    Q_PROPERTY(QVariantList overviewFields READ overviewFields NOTIFY changed)
    Q_PROPERTY(QString status READ status NOTIFY changed)
    Q_PROPERTY(QString budgetText READ budgetText NOTIFY changed)
    Q_PROPERTY(QVariantList members READ members NOTIFY changed)
    Q_PROPERTY(QVariantList files READ files NOTIFY changed)
    Q_PROPERTY(QVariantList tasks READ tasks NOTIFY changed)
    Q_PROPERTY(QVariantList events READ events NOTIFY changed)
    Q_PROPERTY(bool hasOlderEvents READ hasOlderEvents NOTIFY changed)
    Q_PROPERTY(QVariantList notes READ notes NOTIFY changed)
    Q_PROPERTY(QVariantMap usage READ usage NOTIFY changed)
    Q_PROPERTY(QStringList uploadFailures READ uploadFailures NOTIFY changed)
    Q_PROPERTY(bool loading READ loading NOTIFY changed)
    Q_PROPERTY(bool busy READ busy NOTIFY changed)
    Q_PROPERTY(QString notice READ notice NOTIFY changed)
    Q_PROPERTY(QString error READ error NOTIFY changed)
public:
    ProjectScreen(APIClient& api, AgentListViewModel& sidebar, QObject* parent = nullptr);
    ~ProjectScreen() override;

    bool isOpen() const { return m_model != nullptr; }
    QString slug() const { return m_model ? m_model->slug() : QString(); }
    QString label() const;
    QString brief() const;
    // The profile's five fields read out of the brief, as the overview tab edits them:
    // {key, title, hint, value} each.
    QVariantList overviewFields() const;
    QString status() const;
    // The monthly budget in dollars as its field shows it; empty when unlimited.
    QString budgetText() const;
    // {id, kind, name, detail, stale}
    QVariantList members() const;
    // {id, name, detail, url, isLink}
    QVariantList files() const;
    // {id, text, status, assignee, result}
    QVariantList tasks() const;
    // {id, title, detail, actor, when}
    QVariantList events() const;
    bool hasOlderEvents() const { return m_model && m_model->hasOlderEvents(); }
    // {id, content, author, when}
    QVariantList notes() const;
    // {spent, budget, warn, exceeded}; empty before it loads
    QVariantMap usage() const;
    QStringList uploadFailures() const { return m_model ? m_model->uploadFailures() : QStringList(); }
    bool loading() const { return m_model && m_model->isLoading(); }
    bool busy() const { return m_model && m_model->isBusy(); }
    QString notice() const { return m_model ? m_model->notice() : QString(); }
    QString error() const { return m_model ? m_model->error().value_or(QString()) : QString(); }

    Q_INVOKABLE void reload();
    Q_INVOKABLE void loadOlderEvents();
    Q_INVOKABLE void saveBrief(const QString& brief);
    // Saves the five fields (key → text) back into the brief; the refusal when the profile is
    // too long to store, else "".
    Q_INVOKABLE QString saveOverview(const QVariantMap& values);
    // `budget` empty removes the budget; a text that is not a number is refused.
    Q_INVOKABLE bool saveSettings(const QString& label, const QString& budget);
    Q_INVOKABLE void setStatus(const QString& status);
    Q_INVOKABLE void remove();
    Q_INVOKABLE void removeMember(const QString& memberId);
    Q_INVOKABLE void addLink(const QString& url);
    Q_INVOKABLE void upload(const QList<QUrl>& files);
    Q_INVOKABLE void deleteFile(const QString& fileId);
    Q_INVOKABLE void addTask(const QString& text);
    Q_INVOKABLE void setTaskStatus(const QString& taskId, const QString& status);
    Q_INVOKABLE void addNote(const QString& text);
    Q_INVOKABLE void deleteNote(qint64 noteId);
    Q_INVOKABLE void hireIntoProject();

Q_SIGNALS:
    void changed();
    void unauthorized();

private:
    void follow();

    APIClient& m_api;
    AgentListViewModel& m_sidebar;
    std::unique_ptr<ProjectScreenModel> m_model;
};

} // namespace halvex
