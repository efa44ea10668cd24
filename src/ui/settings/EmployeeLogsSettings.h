#pragma once
// The audit and recordings pages: the picked employee's recent runs and its calls.
#include "governance/viewmodel/EmployeeLogModels.h"

#include <QObject>
#include <QVariantList>
#include <QtQml/qqmlregistration.h>

namespace halvex {

class IdentitySettings;

class EmployeeLogsSettings : public QObject {
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("Owned by the app shell")
    Q_PROPERTY(QVariantList runs READ runs NOTIFY changed)
    Q_PROPERTY(QVariantList calls READ calls NOTIFY changed)
    Q_PROPERTY(bool loading READ loading NOTIFY changed)
    Q_PROPERTY(QString error READ error NOTIFY changed)
public:
    EmployeeLogsSettings(APIClient& api, IdentitySettings& identity, QObject* parent = nullptr);

    // {id, status, trigger, started, finished, error}
    QVariantList runs() const;
    // {id, title, status, started, duration, snippet}
    QVariantList calls() const;
    bool loading() const;
    QString error() const;

    // `section` is "audit" or "recordings"; the list of the picked employee loads while shown.
    Q_INVOKABLE void open(const QString& section);
    Q_INVOKABLE void close() { m_section.clear(); }

Q_SIGNALS:
    void changed();
    void unauthorized();

private:
    void follow();

    IdentitySettings& m_identity;
    AuditSettingsModel m_audit;
    RecordingsSettingsModel m_recordings;
    QString m_section;
};

} // namespace halvex
