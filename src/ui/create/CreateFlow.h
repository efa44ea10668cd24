#pragma once
// The create flow as the create screen reads it: the step, the stepper's stages, the current
// page of clarify questions, the draft under review and the model menus, in plain fields.
#include <QObject>
#include <QTimer>
#include <QVariantList>
#include <QtQml/qqmlregistration.h>

namespace halvex {

class AgentListViewModel;
class CreateAgentViewModel;

class CreateFlow : public QObject {
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("Owned by the app shell")
    Q_PROPERTY(bool open READ isOpen NOTIFY changed)
    Q_PROPERTY(QString step READ step NOTIFY changed)
    Q_PROPERTY(QString kind READ kind NOTIFY changed)
    Q_PROPERTY(QString mode READ mode WRITE setMode NOTIFY changed)
    Q_PROPERTY(QString brief READ brief WRITE setBrief NOTIFY changed)
    Q_PROPERTY(bool canGenerate READ canGenerate NOTIFY changed)
    Q_PROPERTY(QString error READ error NOTIFY changed)
    Q_PROPERTY(QString statusNote READ statusNote NOTIFY changed)
    Q_PROPERTY(QString elapsed READ elapsed NOTIFY elapsedChanged)
    Q_PROPERTY(QVariantList stages READ stages NOTIFY changed)
    Q_PROPERTY(QString pageTitle READ pageTitle NOTIFY changed)
    Q_PROPERTY(QString pageSubtitle READ pageSubtitle NOTIFY changed)
    Q_PROPERTY(int pageIndex READ pageIndex NOTIFY changed)
    Q_PROPERTY(int pageCount READ pageCount NOTIFY changed)
    Q_PROPERTY(QVariantList questions READ questions NOTIFY changed)
    Q_PROPERTY(QString name READ name WRITE setName NOTIFY changed)
    Q_PROPERTY(QVariantMap draft READ draft NOTIFY changed)
    Q_PROPERTY(QString triggerType READ triggerType WRITE setTriggerType NOTIFY changed)
    Q_PROPERTY(int intervalMinutes READ intervalMinutes WRITE setIntervalMinutes NOTIFY changed)
    Q_PROPERTY(QVariantList models READ models NOTIFY changed)
    Q_PROPERTY(QString brainModelId READ brainModelId WRITE setBrainModelId NOTIFY changed)
    Q_PROPERTY(QString builderModelId READ builderModelId WRITE setBuilderModelId NOTIFY changed)
    Q_PROPERTY(bool creating READ creating NOTIFY changed)
public:
    explicit CreateFlow(AgentListViewModel& sidebar, QObject* parent = nullptr);

    bool isOpen() const;
    // "describe", "generating", "clarify", "review" or "done".
    QString step() const;
    // "solo" or "team".
    QString kind() const;
    QString mode() const;
    void setMode(const QString& mode);
    QString brief() const;
    void setBrief(const QString& brief);
    bool canGenerate() const;
    QString error() const;
    QString statusNote() const;
    // "0:42" since the running generation started; empty when none runs.
    QString elapsed() const;
    // One {title, status} per stage; status is "pending", "active", "completed" or "skipped".
    QVariantList stages() const;
    QString pageTitle() const;
    QString pageSubtitle() const;
    int pageIndex() const;
    int pageCount() const;
    // The current page: {id, question, multiSelect, options: [{label, value, hint, chosen}], custom}.
    QVariantList questions() const;
    QString name() const;
    void setName(const QString& name);
    // role, description, skills, tools, constraints, steps (workers) and, for a team, tagline and members.
    QVariantMap draft() const;
    QString triggerType() const;
    void setTriggerType(const QString& type);
    int intervalMinutes() const;
    void setIntervalMinutes(int minutes);
    // {id, label, group} for every model the menus offer; an empty id is "Account default".
    QVariantList models() const;
    QString brainModelId() const;
    void setBrainModelId(const QString& id);
    QString builderModelId() const;
    void setBuilderModelId(const QString& id);
    bool creating() const;

    // `kind`: "employee", "worker" or "team".
    Q_INVOKABLE void start(const QString& kind);
    Q_INVOKABLE void close();
    Q_INVOKABLE void generate();
    Q_INVOKABLE void choose(const QString& questionId, const QString& value, bool on);
    Q_INVOKABLE void setCustomAnswer(const QString& questionId, const QString& text);
    Q_INVOKABLE void next();
    Q_INVOKABLE void skip();
    Q_INVOKABLE void back();
    Q_INVOKABLE void backToDescribe();
    Q_INVOKABLE void hire();

Q_SIGNALS:
    void changed();
    void elapsedChanged();

private:
    CreateAgentViewModel& flow() const;

    AgentListViewModel& m_sidebar;
    QTimer m_ticker;
};

} // namespace halvex
