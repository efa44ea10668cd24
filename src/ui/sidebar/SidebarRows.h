#pragma once
// The sidebar as one flat list for a ListView: section headers, employees, teams and their
// members, projects. Rebuilt from the sidebar model's sections, filtered by the search text and
// folded as the user left it.
#include <QAbstractListModel>
#include <QVariantList>
#include <QtQml/qqmlregistration.h>

namespace halvex {

class AgentListViewModel;
class Preferences;
class SidebarFolds;
struct SidebarSection;

struct SidebarRow {
    QString kind; // "section", "agent", "team", "member", "project"
    QString identity;
    QString title;
    QString subtitle;
    int unread = 0;
    // Section headers and teams: whether their rows show below them.
    bool expanded = false;
    QString avatar; // an employee's picture, when the service gave one
    bool operator==(const SidebarRow&) const = default;
};

// Case-insensitive match on the name; a team matches when it or one of its members does. While
// a search runs every fold is open, so no match hides inside a folded section or team.
QList<SidebarRow> flattenSidebar(const QList<SidebarSection>& sections, const AgentListViewModel* counts,
                                 const SidebarFolds* folds, const QString& search);

// The chat `step` chats below (above, when negative) the selected one among the rows shown,
// wrapping at the ends: employees, teams and members, not headers or projects. With none
// selected, the first chat going down and the last going up; empty when no chat shows.
QString nearbyChat(const QList<SidebarRow>& rows, const QString& selected, int step);

class SidebarRows : public QAbstractListModel {
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("Owned by the app shell")
    Q_PROPERTY(QString search READ search WRITE setSearch NOTIFY searchChanged)
    Q_PROPERTY(QString selectedId READ selectedId NOTIFY selectionChanged)
    Q_PROPERTY(QString selectedTitle READ selectedTitle NOTIFY selectionChanged)
    Q_PROPERTY(QString selectedSubtitle READ selectedSubtitle NOTIFY selectionChanged)
    Q_PROPERTY(QString selectedAvatar READ selectedAvatar NOTIFY selectionChanged)
    Q_PROPERTY(int tab READ tab NOTIFY tabChanged)
    Q_PROPERTY(QVariantList chatModels READ chatModels NOTIFY chatModelsChanged)
    Q_PROPERTY(int searchFocusTick READ searchFocusTick NOTIFY tabChanged)
    Q_PROPERTY(QString error READ error NOTIFY tabChanged)
    Q_PROPERTY(bool collapsed READ collapsed WRITE setCollapsed NOTIFY collapsedChanged)
    Q_PROPERTY(QString accountName READ accountName CONSTANT)
    Q_PROPERTY(QString accountEmail READ accountEmail CONSTANT)
public:
    enum Role {
        KindRole = Qt::UserRole + 1,
        IdentityRole,
        TitleRole,
        SubtitleRole,
        UnreadRole,
        ExpandedRole,
        AvatarRole
    };

    struct Account {
        QString name;
        QString email;
    };
    SidebarRows(AgentListViewModel& sidebar, SidebarFolds& folds, Preferences& preferences, Account account = {},
                QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QHash<int, QByteArray> roleNames() const override;

    QString search() const { return m_search; }
    void setSearch(const QString& text);
    QString selectedId() const;
    // The chat header: the employee's name and description, or the team's label and size.
    QString selectedTitle() const;
    QString selectedSubtitle() const;
    // The selected employee's picture address; empty for a team or an employee without one.
    QString selectedAvatar() const;
    int tab() const;
    int searchFocusTick() const;
    QString error() const;
    // The whole sidebar folded away, remembered across launches.
    bool collapsed() const;
    void setCollapsed(bool collapsed);
    QString accountName() const { return m_account.name; }
    QString accountEmail() const { return m_account.email; }

    Q_INVOKABLE void select(const QString& identity);
    Q_INVOKABLE void selectTab(int tab);
    Q_INVOKABLE void rename(const QString& identity, const QString& to);
    Q_INVOKABLE void remove(const QString& identity);
    Q_INVOKABLE void focusSearch();
    // Next and previous chat from the keyboard (see nearbyChat).
    Q_INVOKABLE void selectNearby(int step);
    // A section header's id or a team's "team:" identity.
    Q_INVOKABLE void toggleFold(const QString& identity);
    Q_INVOKABLE void reload();
    // Opens the create screen for "employee", "worker" or "team".
    Q_INVOKABLE void startCreating(const QString& kind);
    Q_INVOKABLE void showMarketplace();
    // The new-chat composer: its model menu (reloaded when shown) and the start of a chat whose
    // first message is sent once it opens.
    QVariantList chatModels() const;
    Q_INVOKABLE void reloadChatModels();
    Q_INVOKABLE void startModelChat(const QString& modelId, const QString& firstMessage);

Q_SIGNALS:
    void searchChanged();
    void selectionChanged();
    void tabChanged();
    void collapsedChanged();
    void chatModelsChanged();

private:
    void rebuild();

    AgentListViewModel& m_sidebar;
    SidebarFolds& m_folds;
    Preferences& m_preferences;
    Account m_account;
    QString m_search;
    QList<SidebarRow> m_rows;
};

} // namespace halvex
