#pragma once
// The worker builder as its sheet reads it: the stage, the description, the steps as plain
// maps, the review sections, the revision target and the commit label. Owns the builder of
// the worker being made or edited; closing the sheet drops it, and with it any running job.
#include "workers/viewmodel/WorkerBuilderModel.h"

#include <QObject>
#include <QVariantList>
#include <QtQml/qqmlregistration.h>

#include <memory>

namespace halvex {

class AgentListViewModel;

class WorkerBuilderSheet : public QObject {
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("Owned by the app shell")
    Q_PROPERTY(bool open READ isOpen NOTIFY changed)
    Q_PROPERTY(bool editing READ editing NOTIFY changed)
    Q_PROPERTY(QString stage READ stage NOTIFY changed)
    Q_PROPERTY(QString commitLabel READ commitLabel NOTIFY changed)
    Q_PROPERTY(QString promptDraft READ promptDraft WRITE setPromptDraft NOTIFY changed)
    Q_PROPERTY(bool canBuild READ canBuild NOTIFY changed)
    Q_PROPERTY(QString name READ name WRITE setName NOTIFY changed)
    Q_PROPERTY(QVariantList steps READ steps NOTIFY stepsChanged)
    Q_PROPERTY(QString error READ error NOTIFY changed)
    Q_PROPERTY(bool busy READ busy NOTIFY changed)
    Q_PROPERTY(bool revising READ revising NOTIFY changed)
    Q_PROPERTY(QString elapsed READ elapsed NOTIFY elapsedChanged)
    Q_PROPERTY(QString reviseDraft READ reviseDraft WRITE setReviseDraft NOTIFY changed)
    Q_PROPERTY(QString revisionTargetLabel READ revisionTargetLabel NOTIFY changed)
    Q_PROPERTY(int revisionStepIndex READ revisionStepIndex NOTIFY changed)
    Q_PROPERTY(bool canUndo READ canUndo NOTIFY changed)
    Q_PROPERTY(bool marketplaceAvailable READ marketplaceAvailable WRITE setMarketplaceAvailable NOTIFY changed)
    Q_PROPERTY(bool marketplaceLocked READ marketplaceLocked NOTIFY changed)
    Q_PROPERTY(QVariantList sections READ sections NOTIFY stepsChanged)
    Q_PROPERTY(QVariantMap summary READ summary NOTIFY stepsChanged)
    Q_PROPERTY(QString lastMessage READ lastMessage NOTIFY lastMessageChanged)
public:
    WorkerBuilderSheet(APIClient& api, Clock& clock, AgentListViewModel& sidebar, QObject* parent = nullptr);
    ~WorkerBuilderSheet() override;

    bool isOpen() const { return m_model != nullptr; }
    bool editing() const { return m_model && m_model->editingId(); }
    // "prompt", "building", "review" or "committing".
    QString stage() const;
    QString commitLabel() const { return m_model ? m_model->commitLabel() : QString(); }
    QString promptDraft() const { return m_model ? m_model->promptDraft : QString(); }
    void setPromptDraft(const QString& text);
    bool canBuild() const;
    QString name() const { return m_model ? m_model->name() : QString(); }
    void setName(const QString& name);
    // {type, name, prompt, url, instructions, toolId, argsJSON} per step.
    QVariantList steps() const;
    QString error() const { return m_model ? m_model->error().value_or(QString()) : QString(); }
    bool busy() const { return m_model && m_model->isBusy(); }
    bool revising() const { return m_model && m_model->isRevising(); }
    // "0:42" since the running stage started; empty when nothing runs.
    QString elapsed() const;
    QString reviseDraft() const { return m_model ? m_model->reviseDraft : QString(); }
    void setReviseDraft(const QString& text);
    QString revisionTargetLabel() const { return m_model ? m_model->revisionTargetLabel() : QString(); }
    int revisionStepIndex() const { return m_model ? m_model->revisionStepIndex().value_or(-1) : -1; }
    bool canUndo() const { return m_model && m_model->canUndoRevision(); }
    bool marketplaceAvailable() const { return m_model && m_model->marketplaceAvailable(); }
    void setMarketplaceAvailable(bool on);
    bool marketplaceLocked() const { return m_model && m_model->marketplaceLocked(); }
    // {heading, caption, items, emptyText} for the five review headings.
    QVariantList sections() const;
    // role, description, runMode, runDetail, stepCount.
    QVariantMap summary() const;
    const QString& lastMessage() const { return m_lastMessage; }

    Q_INVOKABLE void startNew();
    Q_INVOKABLE void edit(const QString& workerId);
    Q_INVOKABLE void close();
    Q_INVOKABLE void build();
    Q_INVOKABLE void cancel();
    Q_INVOKABLE void revise();
    Q_INVOKABLE void undo();
    Q_INVOKABLE void selectRevisionStep(int index);
    Q_INVOKABLE void setStepType(int index, const QString& type);
    Q_INVOKABLE void setStepField(int index, const QString& field, const QString& value);
    Q_INVOKABLE void addStep();
    Q_INVOKABLE void moveStep(int index, bool up);
    Q_INVOKABLE void removeStep(int index);
    Q_INVOKABLE void commit();
    Q_INVOKABLE void dismissMessage();

Q_SIGNALS:
    void changed();
    void stepsChanged();
    void elapsedChanged();
    void lastMessageChanged();
    void unauthorized();

private:
    void replaceModel(std::unique_ptr<WorkerBuilderModel> model);
    void onModelChanged();
    void tick();

    APIClient& m_api;
    Clock& m_clock;
    AgentListViewModel& m_sidebar;
    std::unique_ptr<WorkerBuilderModel> m_model;
    std::unique_ptr<TimerHandle> m_ticker;
    std::unique_ptr<TimerHandle> m_messageDismiss;
    QString m_lastMessage;
    // A text edited in a field flows into the model without rebuilding the fields being typed in.
    bool m_typing = false;
};

} // namespace halvex
