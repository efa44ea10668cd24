#pragma once
// The object the call page reaches through the web channel as "voice": whatever it posts goes
// to the call sheet.
#include "ui/voice/VoiceCallSheet.h"

#include <QObject>
#include <QPointer>
#include <QtQml/qqmlregistration.h>

namespace halvex {

class VoiceBridge : public QObject {
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(halvex::VoiceCallSheet* call READ call WRITE setCall NOTIFY callChanged)
public:
    explicit VoiceBridge(QObject* parent = nullptr) : QObject(parent) {}

    VoiceCallSheet* call() const { return m_call; }
    void setCall(VoiceCallSheet* call);

public Q_SLOTS:
    // A message of the page, JSON text.
    void post(const QString& json);

Q_SIGNALS:
    void callChanged();

private:
    QPointer<VoiceCallSheet> m_call;
};

} // namespace halvex
