#pragma once
// The apps page: apps to connect (searchable), the picked employee's connected accounts, payout
// accounts, and the external API catalogue with the keys stored for it.
#include "governance/viewmodel/AppsSettingsModel.h"

#include <QObject>
#include <QVariantList>
#include <QtQml/qqmlregistration.h>

namespace halvex {

class IdentitySettings;

class AppsSettings : public QObject {
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("Owned by the app shell")
    Q_PROPERTY(QVariantList connectors READ connectors NOTIFY changed)
    Q_PROPERTY(QString connectorQuery READ connectorQuery WRITE setConnectorQuery NOTIFY changed)
    Q_PROPERTY(QVariantList accounts READ accounts NOTIFY changed)
    Q_PROPERTY(QVariantList payouts READ payouts NOTIFY changed)
    Q_PROPERTY(QVariantList catalog READ catalog NOTIFY changed)
    Q_PROPERTY(QString apiQuery READ apiQuery WRITE setApiQuery NOTIFY changed)
    Q_PROPERTY(QVariantList keys READ keys NOTIFY changed)
    Q_PROPERTY(bool loading READ loading NOTIFY changed)
    Q_PROPERTY(bool busy READ busy NOTIFY changed)
    Q_PROPERTY(QString notice READ notice NOTIFY changed)
    Q_PROPERTY(QString error READ error NOTIFY changed)
public:
    AppsSettings(APIClient& api, IdentitySettings& identity, QObject* parent = nullptr);

    AppsSettingsModel& model() { return m_model; }
    // {slug, name, category, logo, connected}
    QVariantList connectors() const;
    QString connectorQuery() const { return m_model.connectorQuery; }
    void setConnectorQuery(const QString& q);
    // {id, name, detail, status}
    QVariantList accounts() const;
    // {id, label, detail}
    QVariantList payouts() const;
    // {slug, label, summary, category}
    QVariantList catalog() const;
    QString apiQuery() const { return m_model.apiQuery; }
    void setApiQuery(const QString& q);
    // {id, name, detail}
    QVariantList keys() const;
    bool loading() const { return m_model.isLoading(); }
    bool busy() const { return m_model.isBusy(); }
    QString notice() const { return m_model.notice(); }
    QString error() const { return m_model.error().value_or(QString()); }

    Q_INVOKABLE void open();
    Q_INVOKABLE void close() { m_open = false; }
    Q_INVOKABLE void connectApp(const QString& slug, const QString& apiKey, const QString& username,
                                const QString& password);
    Q_INVOKABLE void addKey(const QString& slug, const QString& secret);
    Q_INVOKABLE void disconnect(const QString& accountId);
    Q_INVOKABLE void removeKey(const QString& keyId);

Q_SIGNALS:
    void changed();
    void unauthorized();

private:
    void follow();

    IdentitySettings& m_identity;
    AppsSettingsModel m_model;
    bool m_open = false;
    QString m_loadedFor;
};

} // namespace halvex
