#pragma once
// The billing page: the wallet's figures, the plan with what is used and left, this period's
// daily spend, the charge history, and the two web store pages.
#include "billing/viewmodel/BillingModels.h"

#include <QObject>
#include <QUrl>
#include <QVariantList>
#include <QtQml/qqmlregistration.h>

namespace halvex {

class BillingSettings : public QObject {
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("Owned by the app shell")
    Q_PROPERTY(bool loading READ loading NOTIFY changed)
    Q_PROPERTY(bool needsLogin READ needsLogin NOTIFY changed)
    Q_PROPERTY(QString error READ error NOTIFY changed)
    Q_PROPERTY(QString available READ available NOTIFY changed)
    Q_PROPERTY(QString balance READ balance NOTIFY changed)
    Q_PROPERTY(QString held READ held NOTIFY changed)
    Q_PROPERTY(QString planName READ planName NOTIFY changed)
    Q_PROPERTY(QString used READ used NOTIFY changed)
    Q_PROPERTY(QString left READ left NOTIFY changed)
    Q_PROPERTY(QString percentText READ percentText NOTIFY changed)
    Q_PROPERTY(double percent READ percent NOTIFY changed)
    Q_PROPERTY(QString periodEnd READ periodEnd NOTIFY changed)
    Q_PROPERTY(QVariantList spendByDay READ spendByDay NOTIFY changed)
    Q_PROPERTY(QVariantList transactions READ transactions NOTIFY changed)
    Q_PROPERTY(QString topUpUrl READ topUpUrl CONSTANT)
    Q_PROPERTY(QString planUrl READ planUrl CONSTANT)
public:
    BillingSettings(APIClient& api, Clock& clock, QObject* parent = nullptr);

    bool loading() const { return m_wallet.isLoading() || m_plan.isLoading(); }
    bool needsLogin() const { return m_wallet.needsLogin(); }
    QString error() const { return m_wallet.error().value_or(QString()); }
    QString available() const;
    QString balance() const;
    QString held() const;
    QString planName() const;
    QString used() const;
    QString left() const;
    // "42" of "42% of the monthly allowance"; empty without usage.
    QString percentText() const;
    double percent() const;
    QString periodEnd() const;
    // {day, label, usd, ratio} for each day of the last 30, ratio against the busiest day.
    QVariantList spendByDay() const;
    // {title, amount, when, balance}
    QVariantList transactions() const;
    QString topUpUrl() const { return m_topUp.toString(); }
    QString planUrl() const { return m_planPage.toString(); }

    Q_INVOKABLE void load();

Q_SIGNALS:
    void changed();

private:
    Clock& m_clock;
    WalletViewModel m_wallet;
    PlanSettingsModel m_plan;
    QUrl m_topUp;
    QUrl m_planPage;
};

} // namespace halvex
