#pragma once
// Which sidebar sections are folded and which teams are unfolded, remembered across runs in
// "hx-collapsed-sections" and "hx-expanded-teams" as comma-separated identities.
#include <QObject>
#include <QSet>
#include <QString>

namespace halvex {

class Preferences;

class SidebarFolds : public QObject {
    Q_OBJECT
public:
    explicit SidebarFolds(Preferences& preferences, QObject* parent = nullptr);

    bool sectionCollapsed(const QString& sectionId) const { return m_collapsedSections.contains(sectionId); }
    bool teamExpanded(const QString& teamSlug) const { return m_expandedTeams.contains(teamSlug); }
    void toggleSection(const QString& sectionId);
    void toggleTeam(const QString& teamSlug);

    static QSet<QString> decode(const QString& stored);
    // Sorted, so the stored text does not churn with hash order.
    static QString encode(const QSet<QString>& ids);

Q_SIGNALS:
    void changed();

private:
    Preferences& m_preferences;
    QSet<QString> m_collapsedSections;
    QSet<QString> m_expandedTeams;
};

} // namespace halvex
