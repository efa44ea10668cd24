#pragma once
// The team menu of a team chat, over its view model: roster (hire, rename, remove), reviewer,
// hand-off depth, loop settings, budget and usage. The menu reads these and calls the saves; amounts arrive as text.
#include "teams/viewmodel/TeamMenuViewModel.h"

#include <QObject>
#include <QStringList>
#include <QVariantList>
#include <QtQml/qqml.h>
#include <QtQml/qqmlregistration.h>

namespace halvex {

class APIClient;

class TeamMenu : public QObject {
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("Owned by the chat session")
    Q_PROPERTY(QString label READ label NOTIFY changed)
    Q_PROPERTY(bool loaded READ loaded NOTIFY changed)
    Q_PROPERTY(bool busy READ busy NOTIFY changed)
    Q_PROPERTY(QString notice READ notice NOTIFY changed)
    Q_PROPERTY(QString error READ error NOTIFY changed)
    Q_PROPERTY(QVariantList roster READ roster NOTIFY changed)
    Q_PROPERTY(QString reviewerHandle READ reviewerHandle NOTIFY changed)
    Q_PROPERTY(int handoffDepth READ handoffDepth NOTIFY changed)
    Q_PROPERTY(int maxHandoffDepth READ maxHandoffDepth CONSTANT)
    Q_PROPERTY(bool loopEnabled READ loopEnabled NOTIFY changed)
    Q_PROPERTY(int loopIterations READ loopIterations NOTIFY changed)
    Q_PROPERTY(int loopMaxTokens READ loopMaxTokens NOTIFY changed)
    Q_PROPERTY(double loopMaxCostUsd READ loopMaxCostUsd NOTIFY changed)
    Q_PROPERTY(int loopQuality READ loopQuality NOTIFY changed)
    Q_PROPERTY(bool loopStopNoImprove READ loopStopNoImprove NOTIFY changed)
    // The monthly budget as a token count for the field, and budget and spend as "◆ 2,500".
    Q_PROPERTY(qint64 budgetTokens READ budgetTokens NOTIFY changed)
    Q_PROPERTY(QString budgetText READ budgetText NOTIFY changed)
    Q_PROPERTY(QString monthSpendText READ monthSpendText NOTIFY changed)
    Q_PROPERTY(QString usageTotalText READ usageTotalText NOTIFY changed)
    // A member being hired from a brief: the brief while it runs, the failure when it failed.
    Q_PROPERTY(bool hiring READ hiring NOTIFY changed)
    Q_PROPERTY(QString hiringBrief READ hiringBrief NOTIFY changed)
    Q_PROPERTY(QString hiringError READ hiringError NOTIFY changed)
    // A member's model: "Team model" (inherit), then the service's own models.
    Q_PROPERTY(QStringList modelChoices READ modelChoices CONSTANT)
public:
    // The service accepts hand-off depths up to this.
    static constexpr int handoffDepthLimit = 10;

    TeamMenu(QString slug, APIClient& api, QObject* parent = nullptr);
    ~TeamMenu() override;

    QString label() const { return m_model.label(); }
    bool loaded() const { return m_model.didLoad() && !m_model.isLoading(); }
    bool busy() const { return m_model.isBusy() || m_model.isLoading(); }
    QString notice() const { return m_model.notice().value_or(QString()); }
    QString error() const { return m_model.error().value_or(QString()); }
    QVariantList roster() const;
    QString reviewerHandle() const { return m_model.reviewerHandle(); }
    int handoffDepth() const { return m_model.handoffDepth(); }
    static int maxHandoffDepth() { return handoffDepthLimit; }
    bool loopEnabled() const { return m_model.loopEnabled(); }
    int loopIterations() const { return m_model.loopIterations(); }
    int loopMaxTokens() const { return m_model.loopMaxTokens(); }
    double loopMaxCostUsd() const { return m_model.loopMaxCostUsd(); }
    int loopQuality() const { return m_model.loopQuality(); }
    bool loopStopNoImprove() const { return m_model.loopStopNoImprove(); }
    qint64 budgetTokens() const;
    QString budgetText() const;
    QString monthSpendText() const;
    QString usageTotalText() const;
    bool hiring() const { return m_model.addMemberState().kind == TeamMenuViewModel::AddMemberState::Kind::running; }
    QString hiringBrief() const { return hiring() ? m_model.addMemberState().text : QString(); }
    QString hiringError() const;
    static QStringList modelChoices();

    // Loads the team once and its usage on every opening.
    Q_INVOKABLE void open();
    Q_INVOKABLE void saveReviewer(const QString& handle);
    Q_INVOKABLE void saveHandoffDepth(int depth);
    Q_INVOKABLE void saveLoop(bool enabled, int iterations, int maxTokens, double maxCostUsd, int quality,
                              bool stopOnNoImprove);
    Q_INVOKABLE void saveBudget(const QString& tokensDraft);
    Q_INVOKABLE void addMember(const QString& brief);
    Q_INVOKABLE void renameMember(const QString& agentId, const QString& handle);
    Q_INVOKABLE void removeMember(const QString& agentId);
    // The member's entry in `modelChoices`; 0 when it inherits or runs a model not listed.
    Q_INVOKABLE int modelChoiceOf(const QString& agentId) const;
    Q_INVOKABLE void setMemberModel(const QString& agentId, int choice);
    // A dollar amount as tokens, for the spend cap typed in dollars.
    Q_INVOKABLE QString diamonds(double usd) const;
    void stop() { m_model.stop(); }
    TeamMenuViewModel& model() { return m_model; }

Q_SIGNALS:
    void changed();
    void unauthorized();
    void membersChanged();

private:
    TeamMenuViewModel m_model;
};

} // namespace halvex
