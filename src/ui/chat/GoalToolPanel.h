#pragma once
// The chat's goal tool as its popup reads it: the chat's goals, and the guided setup of a new
// one (objective, the service's questions, the started goal).
#include "projects/viewmodel/ChatGoalToolModel.h"

#include <QObject>
#include <QVariantList>
#include <QtQml/qqmlregistration.h>

namespace halvex {

class GoalToolPanel : public QObject {
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("Owned by the chat session")
    Q_PROPERTY(QVariantList rows READ rows NOTIFY changed)
    Q_PROPERTY(bool loaded READ loaded NOTIFY changed)
    Q_PROPERTY(QString mode READ mode NOTIFY changed)
    Q_PROPERTY(QString modeText READ modeText NOTIFY changed)
    Q_PROPERTY(QString progress READ progress NOTIFY changed)
    Q_PROPERTY(QStringList options READ options NOTIFY changed)
    Q_PROPERTY(QString objectiveDraft READ objectiveDraft WRITE setObjectiveDraft NOTIFY changed)
    Q_PROPERTY(QString answerDraft READ answerDraft WRITE setAnswerDraft NOTIFY changed)
    Q_PROPERTY(bool busy READ busy NOTIFY changed)
    Q_PROPERTY(QString notice READ notice NOTIFY changed)
    Q_PROPERTY(QString error READ error NOTIFY changed)
public:
    GoalToolPanel(GoalScope scope, APIClient& api, Clock& clock, QObject* parent = nullptr);

    ChatGoalToolModel& model() { return m_model; }
    // {id, title, detail, status, tone}
    QVariantList rows() const;
    bool loaded() const { return m_model.loaded(); }
    // "list", "create", "question" or "done".
    QString mode() const;
    // The question being asked, or the objective of the goal just started.
    QString modeText() const { return m_model.mode().text; }
    // "Question 2 of 4" while the setup asks.
    QString progress() const;
    QStringList options() const { return m_model.mode().options; }
    QString objectiveDraft() const { return m_model.objectiveDraft(); }
    void setObjectiveDraft(const QString& text) { m_model.setObjectiveDraft(text); }
    QString answerDraft() const { return m_model.answerDraft(); }
    void setAnswerDraft(const QString& text) { m_model.setAnswerDraft(text); }
    bool busy() const { return m_model.busy(); }
    QString notice() const { return m_model.notice().value_or(QString()); }
    QString error() const { return m_model.error().value_or(QString()); }

    Q_INVOKABLE void open() { m_model.refresh(); }
    Q_INVOKABLE void startCreate() { m_model.startCreate(); }
    Q_INVOKABLE void submitObjective() { m_model.submitObjective(); }
    Q_INVOKABLE void answer(const QString& text);
    Q_INVOKABLE void retry() { m_model.retry(); }
    Q_INVOKABLE void backToList();

Q_SIGNALS:
    void changed();

private:
    ChatGoalToolModel m_model;
};

} // namespace halvex
