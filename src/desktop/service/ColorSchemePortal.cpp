#include "desktop/service/ColorSchemePortal.h"

#include <QDBusArgument>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDBusVariant>

namespace halvex {
namespace {

constexpr int readTimeoutMs = 3'000;

// "Read" answers a variant holding a variant; newer portals may hold the value directly.
QVariant unwrap(QVariant value)
{
    for (int depth = 0; depth < 4; ++depth) {
        if (value.userType() == qMetaTypeId<QDBusVariant>()) {
            value = value.value<QDBusVariant>().variant();
        } else if (value.userType() == qMetaTypeId<QDBusArgument>()) {
            const QDBusArgument argument = value.value<QDBusArgument>();
            if (argument.currentType() != QDBusArgument::VariantType)
                break;
            QDBusVariant inner;
            argument >> inner;
            value = inner.variant();
        } else {
            break;
        }
    }
    return value;
}

} // namespace

ColorSchemePortal::ColorSchemePortal(QDBusConnection bus, QObject* parent) : QObject(parent), m_bus(std::move(bus))
{
    // The bus finds the slot by its signature's type names; until QDBusVariant is registered by
    // name, the first such connection in the process matched nothing.
    qRegisterMetaType<QDBusVariant>();
    m_bus.connect(serviceName, objectPath, interfaceName, QStringLiteral("SettingChanged"), this,
                  SLOT(onSettingChanged(QString, QString, QDBusVariant)));
}

DesktopColorScheme ColorSchemePortal::fromPortalValue(const QVariant& value)
{
    bool ok = false;
    const uint number = unwrap(value).toUInt(&ok);
    if (!ok)
        return DesktopColorScheme::noPreference;
    switch (number) {
    case 1:
        return DesktopColorScheme::dark;
    case 2:
        return DesktopColorScheme::light;
    default:
        return DesktopColorScheme::noPreference;
    }
}

void ColorSchemePortal::read()
{
    QDBusMessage call = QDBusMessage::createMethodCall(serviceName, objectPath, interfaceName, QStringLiteral("Read"));
    call << appearance << colorSchemeKey;
    auto* watcher = new QDBusPendingCallWatcher(m_bus.asyncCall(call, readTimeoutMs), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [this, watcher] {
        watcher->deleteLater();
        const QDBusMessage reply = watcher->reply();
        if (m_heardChange || reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty())
            return;
        apply(fromPortalValue(reply.arguments().constFirst()));
    });
}

void ColorSchemePortal::onSettingChanged(const QString& group, const QString& key, const QDBusVariant& value)
{
    if (group != appearance || key != colorSchemeKey)
        return;
    m_heardChange = true;
    apply(fromPortalValue(value.variant()));
}

void ColorSchemePortal::apply(DesktopColorScheme scheme)
{
    if (scheme == m_scheme)
        return;
    m_scheme = scheme;
    Q_EMIT changed();
}

} // namespace halvex
