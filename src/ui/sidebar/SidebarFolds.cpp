#include "ui/sidebar/SidebarFolds.h"

#include "core/prefs/Preferences.h"

#include <QStringList>
#include <algorithm>

namespace halvex {

SidebarFolds::SidebarFolds(Preferences& preferences, QObject* parent)
    : QObject(parent),
      m_preferences(preferences),
      m_collapsedSections(decode(preferences.collapsedSections())),
      m_expandedTeams(decode(preferences.expandedTeams()))
{}

QSet<QString> SidebarFolds::decode(const QString& stored)
{
    QSet<QString> ids;
    for (const QString& part : stored.split(QLatin1Char(','), Qt::SkipEmptyParts))
        if (const QString id = part.trimmed(); !id.isEmpty())
            ids.insert(id);
    return ids;
}

QString SidebarFolds::encode(const QSet<QString>& ids)
{
    QStringList list(ids.begin(), ids.end());
    std::sort(list.begin(), list.end());
    return list.join(QLatin1Char(','));
}

namespace {
void flip(QSet<QString>& set, const QString& id)
{
    if (!set.remove(id))
        set.insert(id);
}
} // namespace

void SidebarFolds::toggleSection(const QString& sectionId)
{
    flip(m_collapsedSections, sectionId);
    m_preferences.setCollapsedSections(encode(m_collapsedSections));
    Q_EMIT changed();
}

void SidebarFolds::toggleTeam(const QString& teamSlug)
{
    flip(m_expandedTeams, teamSlug);
    m_preferences.setExpandedTeams(encode(m_expandedTeams));
    Q_EMIT changed();
}

} // namespace halvex
