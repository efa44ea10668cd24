#pragma once
// The new-project sheet as QML reads it: open or closed, the intake's step and fields, the
// current page of questions, the five profile fields of the review, the progress panel while
// the service works, and the operations of each step.
#include "projects/viewmodel/ProjectIntakeModel.h"

#include <QObject>
#include <QVariantList>
#include <QtQml/qqmlregistration.h>

namespace halvex {

class AgentListViewModel;
class Preferences;

class ProjectIntakeSheet : public QObject {
    Q_OBJECT
    // Named apart from the sheet itself (ProjectIntakeSheet.qml), which QML knows by its file name.
    QML_NAMED_ELEMENT(ProjectIntake)
    QML_UNCREATABLE("Owned by the app shell")
    Q_PROPERTY(bool open READ isOpen NOTIFY changed)
    Q_PROPERTY(QString step READ step NOTIFY changed)
    Q_PROPERTY(QString label READ label WRITE setLabel NOTIFY changed)
    Q_PROPERTY(QString website READ website WRITE setWebsite NOTIFY changed)
    Q_PROPERTY(QString description READ description WRITE setDescription NOTIFY changed)
    Q_PROPERTY(QString links READ links WRITE setLinks NOTIFY changed)
    Q_PROPERTY(QString addressPreview READ addressPreview NOTIFY changed)
    Q_PROPERTY(QString sourceWarning READ sourceWarning NOTIFY changed)
    Q_PROPERTY(QVariantList pageQuestions READ pageQuestions NOTIFY changed)
    Q_PROPERTY(QString pageTitle READ pageTitle NOTIFY changed)
    Q_PROPERTY(bool lastPage READ lastPage NOTIFY changed)
    Q_PROPERTY(QVariantList fields READ fields NOTIFY changed)
    Q_PROPERTY(QVariantList files READ files NOTIFY changed)
    Q_PROPERTY(QString filesNotice READ filesNotice NOTIFY changed)
    Q_PROPERTY(bool busy READ busy NOTIFY changed)
    Q_PROPERTY(bool working READ working NOTIFY changed)
    Q_PROPERTY(QVariantMap progress READ progress NOTIFY changed)
    Q_PROPERTY(QString error READ error NOTIFY changed)
    Q_PROPERTY(QStringList warnings READ warnings NOTIFY changed)
    Q_PROPERTY(QString createdLabel READ createdLabel NOTIFY changed)
public:
    ProjectIntakeSheet(APIClient& api, Clock& clock, Preferences& preferences, AgentListViewModel& sidebar,
                       QObject* parent = nullptr);
    ~ProjectIntakeSheet() override;

    ProjectIntakeModel& model() { return m_model; }

    bool isOpen() const { return m_open; }
    QString step() const { return ProjectIntakeModel::stepName(m_model.step()); }
    QString label() const { return m_model.label(); }
    QString website() const { return m_model.website(); }
    QString description() const { return m_model.description(); }
    QString links() const { return m_model.linksText(); }
    void setLabel(const QString& text) { m_model.setLabel(text); }
    void setWebsite(const QString& text) { m_model.setWebsite(text); }
    void setDescription(const QString& text) { m_model.setDescription(text); }
    void setLinks(const QString& text) { m_model.setLinksText(text); }
    QString addressPreview() const;
    QString sourceWarning() const { return m_model.source() ? m_model.source()->warning : QString(); }
    // {key, question, hint, options, chosen, typed}
    QVariantList pageQuestions() const;
    // "Questions 1–3 of 5"
    QString pageTitle() const;
    bool lastPage() const { return m_model.questionGroup() + 1 >= m_model.pageCount(); }
    // {key, title, hint, text, needsInput, edited}
    QVariantList fields() const;
    // {name, path}
    QVariantList files() const;
    QString filesNotice() const { return m_model.filesNotice(); }
    bool busy() const { return m_model.isBusy(); }
    // The service is reading or writing: the progress panel shows.
    bool working() const { return m_model.phase() != ProjectIntakePhase::none; }
    // {source, headline, detail, status, duration, checklist: [{title, detail}]}
    QVariantMap progress() const;
    QString error() const { return m_model.error().value_or(QString()); }
    QStringList warnings() const { return m_model.warnings(); }
    QString createdLabel() const { return m_model.created() ? m_model.created()->label : QString(); }

    // Opens the sheet with the kept draft, or a new intake.
    Q_INVOKABLE void start();
    // Closes it; the intake is kept as a draft.
    Q_INVOKABLE void close();
    Q_INVOKABLE void analyse();
    Q_INVOKABLE void fillManually();
    Q_INVOKABLE void choose(const QString& key, const QString& option) { m_model.choose(key, option); }
    Q_INVOKABLE void type(const QString& key, const QString& text) { m_model.type(key, text); }
    Q_INVOKABLE void advance();
    Q_INVOKABLE void back() { m_model.back(); }
    Q_INVOKABLE void setField(const QString& key, const QString& text) { m_model.setField(key, text); }
    Q_INVOKABLE void refreshSuggestions();
    Q_INVOKABLE void create();
    Q_INVOKABLE void addFiles(const QList<QUrl>& urls) { m_model.addFiles(urls); }
    Q_INVOKABLE void removeFile(int index) { m_model.removeFile(index); }
    Q_INVOKABLE void cancel() { m_model.cancel(); }
    Q_INVOKABLE void startOver() { m_model.discard(); }
    Q_INVOKABLE void openProject();
    Q_INVOKABLE void createEmployee();

Q_SIGNALS:
    void changed();
    void unauthorized();

private:
    ProjectIntakeModel m_model;
    bool m_open = false;
};

} // namespace halvex
