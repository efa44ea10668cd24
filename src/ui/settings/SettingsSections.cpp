#include "ui/settings/SettingsSections.h"

#include <QVariantMap>

namespace halvex {

QVariantList SettingsSections::all()
{
    struct Entry {
        const char* id;
        const char* title;
        const char* group;
        const char* groupTitle;
        const char* icon;
        bool ready;
    };
    static const Entry entries[] = {
        {"profile", "Profile", "account", "Account", "person", false},
        {"billing", "Billing", "account", "Account", "chart.bar", true},
        {"identity", "Identity", "employee", "Employee", "person.2", true},
        {"guardrails", "Guardrails", "employee", "Employee", "checkmark.shield", true},
        {"apps", "Apps", "employee", "Employee", "link", true},
        {"audit", "Audit", "employee", "Employee", "doc.text", true},
        {"recordings", "Recordings", "employee", "Employee", "clock", true},
        {"appearance", "Appearance", "app", "App", "circle.lefthalf.filled", true},
        {"updates", "Updates", "app", "App", "arrow.down.circle", true},
    };
    QVariantList list;
    for (const Entry& e : entries)
        list.append(QVariantMap{{QStringLiteral("id"), QString::fromLatin1(e.id)},
                                {QStringLiteral("title"), QString::fromLatin1(e.title)},
                                {QStringLiteral("group"), QString::fromLatin1(e.group)},
                                {QStringLiteral("groupTitle"), QString::fromLatin1(e.groupTitle)},
                                {QStringLiteral("icon"), QString::fromLatin1(e.icon)},
                                {QStringLiteral("ready"), e.ready}});
    return list;
}

} // namespace halvex
