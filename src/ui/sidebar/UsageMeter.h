#pragma once
// The usage meter under the sidebar's list: what this month's plan has spent of its allowance.
#include "billing/viewmodel/BillingModels.h"

#include <QObject>
#include <QtQml/qqmlregistration.h>

namespace halvex {

class UsageMeter : public QObject {
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("Owned by the app shell")
    Q_PROPERTY(bool available READ available NOTIFY changed)
    Q_PROPERTY(QString spentText READ spentText NOTIFY changed)
    Q_PROPERTY(QString limitText READ limitText NOTIFY changed)
    Q_PROPERTY(double progress READ progress NOTIFY changed)
    Q_PROPERTY(QString error READ error NOTIFY changed)
public:
    explicit UsageMeter(APIClient& api, QObject* parent = nullptr);
    ~UsageMeter() override { m_model.stop(); }

    bool available() const { return m_model.snapshot().has_value(); }
    QString spentText() const { return m_model.snapshot() ? m_model.snapshot()->spentText : QString(); }
    QString limitText() const { return m_model.snapshot() ? m_model.snapshot()->limitText : QString(); }
    double progress() const { return m_model.snapshot() ? m_model.snapshot()->progress : 0; }
    QString error() const { return m_model.error().value_or(QString()); }

    Q_INVOKABLE void refresh() { m_model.refresh(); }

Q_SIGNALS:
    void changed();

private:
    SidebarUsageModel m_model;
};

} // namespace halvex
