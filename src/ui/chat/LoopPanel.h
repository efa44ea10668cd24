#pragma once
// The loop panel of a single employee's chat, over its loop settings model: the panel edits a
// draft and saves it as a whole.
#include "chat/viewmodel/SoloLoopToolModel.h"

#include <QObject>
#include <QtQml/qqml.h>
#include <QtQml/qqmlregistration.h>

#include <memory>

namespace halvex {

class APIClient;

class LoopPanel : public QObject {
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("Owned by the chat session")
    Q_PROPERTY(bool loaded READ loaded NOTIFY changed)
    Q_PROPERTY(bool busy READ busy NOTIFY changed)
    Q_PROPERTY(QString notice READ notice NOTIFY changed)
    Q_PROPERTY(QString error READ error NOTIFY changed)
    Q_PROPERTY(bool enabled READ enabled NOTIFY changed)
    Q_PROPERTY(int iterations READ iterations NOTIFY changed)
    Q_PROPERTY(int maxTokens READ maxTokens NOTIFY changed)
    Q_PROPERTY(double maxCostUsd READ maxCostUsd NOTIFY changed)
    Q_PROPERTY(int quality READ quality NOTIFY changed)
    Q_PROPERTY(bool stopOnNoImprove READ stopOnNoImprove NOTIFY changed)
public:
    LoopPanel(QString agentId, APIClient& api, QObject* parent = nullptr);
    ~LoopPanel() override;

    bool loaded() const { return m_model.loaded(); }
    bool busy() const { return m_model.busy(); }
    QString notice() const { return m_model.notice().value_or(QString()); }
    QString error() const { return m_model.error().value_or(QString()); }
    bool enabled() const { return m_model.config().enabled; }
    int iterations() const { return m_model.config().iterations; }
    int maxTokens() const { return m_model.config().maxTokens; }
    double maxCostUsd() const { return m_model.config().maxCostUsd; }
    int quality() const { return m_model.config().quality; }
    bool stopOnNoImprove() const { return m_model.config().stopOnNoImprove; }

    Q_INVOKABLE void open();
    Q_INVOKABLE void save(bool enabled, int iterations, int maxTokens, double maxCostUsd, int quality,
                          bool stopOnNoImprove);
    void stop() { m_model.stop(); }
    SoloLoopToolModel& model() { return m_model; }

Q_SIGNALS:
    void changed();
    void unauthorized();

private:
    SoloLoopToolModel m_model;
};

} // namespace halvex
