#include "desktop/service/LauncherEntry.h"

#include <QDBusMessage>

namespace halvex {

LauncherEntry::LauncherEntry(QDBusConnection bus, const QString& appId)
    : m_bus(std::move(bus)),
      m_appUri(QStringLiteral("application://") + appId + QStringLiteral(".desktop"))
{}

void LauncherEntry::show(LauncherBadge badge)
{
    if (m_shown == badge)
        return;
    QDBusMessage update = QDBusMessage::createSignal(QStringLiteral("/app/halvex/LauncherEntry"), interfaceName,
                                                     QStringLiteral("Update"));
    update << m_appUri
           << QVariantMap{{QStringLiteral("count"), badge.count}, {QStringLiteral("count-visible"), badge.visible}};
    if (m_bus.send(update))
        m_shown = badge;
}

} // namespace halvex
