#pragma once
// The guardrails page: the permission switches, the kill switch and the mandate editor of the
// employee picked on the identity page.
#include "governance/viewmodel/GuardrailsSettingsModel.h"

#include <QObject>
#include <QVariantList>
#include <QtQml/qqmlregistration.h>

namespace halvex {

class IdentitySettings;

class GuardrailsSettings : public QObject {
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("Owned by the app shell")
    Q_PROPERTY(bool loading READ loading NOTIFY changed)
    Q_PROPERTY(bool paused READ paused NOTIFY changed)
    Q_PROPERTY(bool busyKill READ busyKill NOTIFY changed)
    Q_PROPERTY(bool savingMandate READ savingMandate NOTIFY changed)
    Q_PROPERTY(bool hasMandate READ hasMandate NOTIFY changed)
    Q_PROPERTY(QVariantList groups READ groups NOTIFY changed)
    Q_PROPERTY(QVariantList levels READ levels CONSTANT)
    Q_PROPERTY(int afLevel READ afLevel WRITE setAfLevel NOTIFY changed)
    Q_PROPERTY(QString quoteText READ quoteText WRITE setQuoteText NOTIFY changed)
    Q_PROPERTY(QString discountText READ discountText WRITE setDiscountText NOTIFY changed)
    Q_PROPERTY(QVariantList channels READ channels NOTIFY changed)
    Q_PROPERTY(QString stopConditions READ stopConditions WRITE setStopConditions NOTIFY changed)
    Q_PROPERTY(QString message READ message NOTIFY changed)
    Q_PROPERTY(QString error READ error NOTIFY changed)
public:
    GuardrailsSettings(APIClient& api, IdentitySettings& identity, QObject* parent = nullptr);

    GuardrailsSettingsModel& model() { return m_model; }
    bool loading() const { return m_model.isLoading(); }
    bool paused() const { return m_model.isPaused(); }
    bool busyKill() const { return m_model.isBusyKill(); }
    bool savingMandate() const { return m_model.isSavingMandate(); }
    bool hasMandate() const { return m_model.mandate().has_value(); }
    // {id, symbol, label, detail, on, busy}
    QVariantList groups() const;
    // {n, hint}
    QVariantList levels() const;
    int afLevel() const { return m_model.draft.afLevel; }
    void setAfLevel(int level);
    QString quoteText() const { return m_model.quoteText; }
    void setQuoteText(const QString& text);
    QString discountText() const { return halvex::quoteText(m_model.draft.maxDiscountPct); }
    void setDiscountText(const QString& text);
    // {id, label, on}
    QVariantList channels() const;
    // One stop condition a line.
    QString stopConditions() const { return m_model.draft.stopConditions.join(QLatin1Char('\n')); }
    void setStopConditions(const QString& text);
    QString message() const { return m_model.message(); }
    QString error() const { return m_model.error().value_or(QString()); }

    // Shown: reads the picked employee, and again whenever the pick changes while shown.
    Q_INVOKABLE void open();
    Q_INVOKABLE void close() { m_open = false; }
    Q_INVOKABLE void toggleGroup(const QString& id);
    Q_INVOKABLE void toggleKillSwitch() { m_model.toggleKillSwitch(); }
    Q_INVOKABLE void toggleChannel(const QString& id) { m_model.toggleChannel(id); }
    Q_INVOKABLE void save() { m_model.saveMandate(false); }
    Q_INVOKABLE void clear() { m_model.saveMandate(true); }

Q_SIGNALS:
    void changed();
    void unauthorized();

private:
    void follow();

    IdentitySettings& m_identity;
    GuardrailsSettingsModel m_model;
    bool m_open = false;
};

} // namespace halvex
