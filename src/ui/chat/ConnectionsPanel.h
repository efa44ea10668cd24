#pragma once
// The connections panel of a single employee's chat: its e-mail address and phone number, the
// forms that provision them, and the accounts connected for it.
#include "governance/viewmodel/ChatConnectionsModel.h"

#include <QObject>
#include <QVariantList>
#include <QtQml/qqmlregistration.h>

namespace halvex {

class ConnectionsPanel : public QObject {
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("Owned by the chat session")
    Q_PROPERTY(bool loading READ loading NOTIFY changed)
    Q_PROPERTY(QString busyAction READ busyAction NOTIFY changed)
    Q_PROPERTY(QString error READ error NOTIFY changed)
    Q_PROPERTY(QString email READ email NOTIFY changed)
    Q_PROPERTY(QString phone READ phone NOTIFY changed)
    Q_PROPERTY(QString emailLocalPart READ emailLocalPart WRITE setEmailLocalPart NOTIFY changed)
    Q_PROPERTY(QVariantList carriers READ carriers CONSTANT)
    Q_PROPERTY(QString carrierId READ carrierId WRITE setCarrierId NOTIFY changed)
    Q_PROPERTY(QVariantList fields READ fields NOTIFY changed)
    Q_PROPERTY(QVariantList accounts READ accounts NOTIFY changed)
public:
    ConnectionsPanel(QString agentId, QString agentName, APIClient& api, QObject* parent = nullptr);

    bool loading() const { return m_model.isLoading(); }
    QString busyAction() const { return m_model.busyAction().value_or(QString()); }
    QString error() const { return m_model.error().value_or(QString()); }
    // The live address or number, empty when the employee has none.
    QString email() const;
    QString phone() const;
    QString emailLocalPart() const { return m_model.emailLocalPart; }
    void setEmailLocalPart(const QString& text) { m_model.emailLocalPart = text; }
    // {id, label, blurb}
    QVariantList carriers() const;
    QString carrierId() const { return m_model.phoneProviderId; }
    void setCarrierId(const QString& id);
    // The chosen carrier's {key, label, placeholder, secure, optional, value}.
    QVariantList fields() const;
    // {name, status}
    QVariantList accounts() const;

    Q_INVOKABLE void open() { m_model.load(); }
    Q_INVOKABLE void setField(const QString& key, const QString& value) { m_model.phoneFields.insert(key, value); }
    Q_INVOKABLE void provisionEmail() { m_model.provisionEmail(); }
    Q_INVOKABLE void connectPhone() { m_model.connectPhone(); }

Q_SIGNALS:
    void changed();
    void unauthorized();

private:
    ChatConnectionsModel m_model;
};

} // namespace halvex
