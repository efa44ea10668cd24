#include "ui/sidebar/SidebarRows.h"

#include "ui/sidebar/SidebarFolds.h"

#include "agents/model/LlmModelCatalog.h"
#include "agents/viewmodel/ModelMenuModel.h"
#include "core/prefs/Preferences.h"

#include "agents/model/ChatBackend.h"
#include "agents/viewmodel/AgentListViewModel.h"

#include <algorithm>

namespace halvex {

namespace {
bool matches(const QString& name, const QString& search)
{
    return search.isEmpty() || name.contains(search, Qt::CaseInsensitive);
}

int unreadOf(const AgentListViewModel* counts, const SidebarItem& item) { return counts ? counts->unread(item) : 0; }
} // namespace

QList<SidebarRow> flattenSidebar(const QList<SidebarSection>& sections, const AgentListViewModel* counts,
                                 const SidebarFolds* folds, const QString& searchText)
{
    const QString search = searchText.trimmed();
    const bool searching = !search.isEmpty();
    QList<SidebarRow> rows;
    for (const SidebarSection& section : sections) {
        QList<SidebarRow> body;
        for (const SidebarItem& item : section.items) {
            switch (item.kind()) {
            case SidebarItem::Kind::agent:
                if (matches(item.agent().name, search))
                    body.append({QStringLiteral("agent"), item.identity(), item.agent().name,
                                 item.agent().description.value_or(QString()), unreadOf(counts, item), false,
                                 item.agent().avatarUrl.value_or(QString())});
                break;
            case SidebarItem::Kind::team: {
                const SidebarTeam& team = item.team();
                const bool teamMatches = matches(team.label, search);
                QList<SidebarRow> members;
                for (const Agent& member : team.members)
                    if (teamMatches || matches(member.name, search))
                        members.append({QStringLiteral("member"), member.id, member.name, QString(),
                                        unreadOf(counts, SidebarItem::agentItem(member)), false,
                                        member.avatarUrl.value_or(QString())});
                if (!teamMatches && members.isEmpty())
                    break;
                const bool expanded = searching || (folds && folds->teamExpanded(team.slug));
                body.append({QStringLiteral("team"), item.identity(), team.label, QString::number(team.members.size()),
                             unreadOf(counts, item), expanded});
                if (expanded)
                    body.append(members);
                break;
            }
            case SidebarItem::Kind::project:
                if (matches(item.project().label, search))
                    body.append({QStringLiteral("project"), item.identity(), item.project().label, QString(), 0});
                break;
            }
        }
        if (body.isEmpty())
            continue;
        const bool expanded = searching || !(folds && folds->sectionCollapsed(section.id));
        const bool titled = section.title && !section.title->isEmpty();
        if (titled)
            rows.append({QStringLiteral("section"), section.id, *section.title, QString(), 0, expanded});
        if (expanded || !titled)
            rows.append(body);
    }
    return rows;
}

QString nearbyChat(const QList<SidebarRow>& rows, const QString& selected, int step)
{
    QStringList chats;
    for (const SidebarRow& row : rows)
        if (row.kind == u"agent" || row.kind == u"team" || row.kind == u"member")
            chats.append(row.identity);
    if (chats.isEmpty() || step == 0)
        return {};
    const qsizetype at = chats.indexOf(selected);
    const qsizetype n = chats.size();
    if (at < 0)
        return step > 0 ? chats.first() : chats.last();
    return chats.at(((at + step) % n + n) % n);
}

SidebarRows::SidebarRows(AgentListViewModel& sidebar, SidebarFolds& folds, Preferences& preferences, Account account,
                         QObject* parent)
    : QAbstractListModel(parent),
      m_sidebar(sidebar),
      m_folds(folds),
      m_preferences(preferences),
      m_account(std::move(account))
{
    connect(&m_folds, &SidebarFolds::changed, this, &SidebarRows::rebuild);
    connect(&m_sidebar.modelMenu(), &ModelMenuModel::changed, this, &SidebarRows::chatModelsChanged);
    connect(&m_sidebar, &AgentListViewModel::sectionsChanged, this, [this] {
        rebuild();
        Q_EMIT selectionChanged();
    });
    connect(&m_sidebar, &AgentListViewModel::changed, this, [this] {
        rebuild();
        Q_EMIT tabChanged();
    });
    connect(&m_sidebar, &AgentListViewModel::selectionChanged, this, &SidebarRows::selectionChanged);
    rebuild();
}

int SidebarRows::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : int(m_rows.size()); }

QVariant SidebarRows::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= m_rows.size())
        return {};
    const SidebarRow& row = m_rows.at(index.row());
    switch (role) {
    case KindRole:
        return row.kind;
    case IdentityRole:
        return row.identity;
    case TitleRole:
        return row.title;
    case SubtitleRole:
        return row.subtitle;
    case UnreadRole:
        return row.unread;
    case ExpandedRole:
        return row.expanded;
    case AvatarRole:
        return row.avatar;
    default:
        return {};
    }
}

QHash<int, QByteArray> SidebarRows::roleNames() const
{
    return {{KindRole, "kind"},     {IdentityRole, "identity"}, {TitleRole, "title"},  {SubtitleRole, "subtitle"},
            {UnreadRole, "unread"}, {ExpandedRole, "expanded"}, {AvatarRole, "avatar"}};
}

void SidebarRows::setSearch(const QString& text)
{
    if (text == m_search)
        return;
    m_search = text;
    rebuild();
    Q_EMIT searchChanged();
}

QString SidebarRows::selectedId() const { return m_sidebar.selectedIdText(); }

QString SidebarRows::selectedTitle() const
{
    const std::optional<ChatBackend> backend = m_sidebar.selectedBackend();
    if (!backend)
        return {};
    if (const Agent* agent = backend->agentValue())
        return agent->name;
    return backend->teamValue()->label;
}

QString SidebarRows::selectedAvatar() const
{
    const std::optional<ChatBackend> backend = m_sidebar.selectedBackend();
    const Agent* agent = backend ? backend->agentValue() : nullptr;
    return agent ? agent->avatarUrl.value_or(QString()) : QString();
}

QString SidebarRows::selectedSubtitle() const
{
    const std::optional<ChatBackend> backend = m_sidebar.selectedBackend();
    if (!backend)
        return {};
    if (const Agent* agent = backend->agentValue())
        return agent->description.value_or(QString());
    for (const SidebarSection& section : m_sidebar.sections())
        for (const SidebarItem& item : section.items)
            if (item.kind() == SidebarItem::Kind::team && item.identity() == backend->id()) {
                const auto count = item.team().members.size();
                return count == 1 ? QStringLiteral("Team · 1 member") : QStringLiteral("Team · %1 members").arg(count);
            }
    return {};
}
int SidebarRows::tab() const { return m_sidebar.tabIndex(); }
int SidebarRows::searchFocusTick() const { return m_sidebar.searchFocusTick(); }
QString SidebarRows::error() const { return m_sidebar.errorText(); }
void SidebarRows::select(const QString& identity) { m_sidebar.select(identity); }
void SidebarRows::selectTab(int tab) { m_sidebar.selectTab(tab); }
void SidebarRows::rename(const QString& identity, const QString& to)
{
    if (!to.trimmed().isEmpty())
        m_sidebar.renameChat(identity, to.trimmed());
}
void SidebarRows::remove(const QString& identity) { m_sidebar.removeChat(identity); }
void SidebarRows::focusSearch() { m_sidebar.focusSearch(); }
void SidebarRows::selectNearby(int step)
{
    if (const QString next = nearbyChat(m_rows, selectedId(), step); !next.isEmpty() && next != selectedId())
        m_sidebar.select(next);
}
void SidebarRows::reload() { m_sidebar.load(); }

void SidebarRows::toggleFold(const QString& identity)
{
    static const QString teamPrefix = QStringLiteral("team:");
    if (identity.startsWith(teamPrefix))
        m_folds.toggleTeam(identity.mid(teamPrefix.size()));
    else
        m_folds.toggleSection(identity);
}

void SidebarRows::rebuild()
{
    QList<SidebarRow> next = flattenSidebar(m_sidebar.tabbedSections(), &m_sidebar, &m_folds, m_search);
    if (next == m_rows)
        return;
    // Rows that keep their identity at either end stay put and only change; the run between is
    // removed and inserted. Folding a team or a section, or a search keystroke, then leaves the
    // delegates and the scroll position of everything else alone.
    const auto same
        = [](const SidebarRow& a, const SidebarRow& b) { return a.kind == b.kind && a.identity == b.identity; };
    const qsizetype common = std::min(next.size(), m_rows.size());
    qsizetype head = 0;
    while (head < common && same(m_rows[head], next[head]))
        ++head;
    qsizetype tail = 0;
    while (tail < common - head && same(m_rows[m_rows.size() - 1 - tail], next[next.size() - 1 - tail]))
        ++tail;
    const auto refresh = [this, &next](qsizetype from, qsizetype to, qsizetype offset) {
        for (qsizetype i = from; i < to; ++i)
            if (m_rows[i] != next[i + offset]) {
                m_rows[i] = next[i + offset];
                Q_EMIT dataChanged(index(int(i)), index(int(i)));
            }
    };
    refresh(0, head, 0);
    const qsizetype oldMiddleEnd = m_rows.size() - tail;
    if (oldMiddleEnd > head) {
        beginRemoveRows({}, int(head), int(oldMiddleEnd - 1));
        m_rows.remove(head, oldMiddleEnd - head);
        endRemoveRows();
    }
    const qsizetype newMiddleEnd = next.size() - tail;
    if (newMiddleEnd > head) {
        beginInsertRows({}, int(head), int(newMiddleEnd - 1));
        for (qsizetype i = head; i < newMiddleEnd; ++i)
            m_rows.insert(i, next[i]);
        endInsertRows();
    }
    refresh(newMiddleEnd, m_rows.size(), 0);
}

bool SidebarRows::collapsed() const { return m_preferences.sidebarCollapsed(); }

void SidebarRows::setCollapsed(bool collapsed)
{
    if (collapsed == this->collapsed())
        return;
    m_preferences.setSidebarCollapsed(collapsed);
    Q_EMIT collapsedChanged();
}

void SidebarRows::startCreating(const QString& kind)
{
    if (kind == u"team")
        m_sidebar.startCreateAgent(CreateKind::team);
    else
        m_sidebar.startCreateAgent(CreateKind::solo,
                                   kind == u"worker" ? QStringLiteral("worker") : QStringLiteral("employee"));
}

// The marketplace screen loads itself when it is first shown.
void SidebarRows::showMarketplace() { m_sidebar.setShowingMarketplace(true); }

QVariantList SidebarRows::chatModels() const { return m_sidebar.modelMenu().entries(); }

void SidebarRows::reloadChatModels() { m_sidebar.modelMenu().reload(); }

void SidebarRows::startModelChat(const QString& modelId, const QString& firstMessage)
{
    const QString text = firstMessage.trimmed();
    if (text.isEmpty())
        return;
    m_sidebar.closeDetailScreens();
    m_sidebar.createModelChat(BrainCatalog::model(modelId.isEmpty() ? std::nullopt : std::optional<QString>(modelId)),
                              text);
}

} // namespace halvex
