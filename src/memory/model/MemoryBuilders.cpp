#include "memory/model/MemoryBuilders.h"

#include "memory/model/MemoryParse.h"

#include <QUrl>

#include <cmath>
#include <numbers>

namespace halvex {

QString KBRow::displayName(RowType type)
{
    switch (type) {
    case RowType::doc:
        return QStringLiteral("Doc");
    case RowType::table:
        return QStringLiteral("Table");
    case RowType::note:
        return QStringLiteral("Note");
    case RowType::link:
        return QStringLiteral("Link");
    case RowType::skill:
        return QStringLiteral("Skill");
    }
    return {};
}

QString KBRow::key(RowType type) { return displayName(type).toLower(); }

std::optional<KBRow::RowType> KBRow::typeOfKey(const QString& key)
{
    for (RowType type : allTypes())
        if (KBRow::key(type) == key)
            return type;
    return std::nullopt;
}

bool KBRow::isRemovable() const
{
    switch (type) {
    case RowType::link:
    case RowType::note:
        return true;
    case RowType::doc:
        return id == u"knowledge-base" || id.startsWith(QLatin1String("file-"));
    case RowType::table:
    case RowType::skill:
        return false;
    }
    return false;
}

namespace MemoryBuilders {

namespace {

const QString memoIcon = QStringLiteral(u"\U0001F4DD");
const QString docIcon = QStringLiteral(u"\U0001F4C4");
const QString tableIcon = QStringLiteral(u"\U0001F4CA");
const QString linkIcon = QStringLiteral(u"\U0001F517");
const QString skillIcon = QStringLiteral(u"\U0001F9E9");
const QString imageIcon = QStringLiteral(u"\U0001F5BC\uFE0F");
const QString teamIcon = QStringLiteral(u"\U0001F465");

QString iconOf(KBRow::RowType type)
{
    switch (type) {
    case KBRow::RowType::doc:
        return docIcon;
    case KBRow::RowType::table:
        return tableIcon;
    case KBRow::RowType::note:
        return memoIcon;
    case KBRow::RowType::link:
        return linkIcon;
    case KBRow::RowType::skill:
        return skillIcon;
    }
    return docIcon;
}

QString textOf(const JSONObject& o, const char* key) { return o.value(QLatin1String(key)).toString(); }

QList<MemoryEntryItem> blobEntries(const QString& blob, const QString& idPrefix, const QString& scopeLabel,
                                   const QString& when, const MemoryScope& scope)
{
    QList<MemoryEntryItem> out;
    const QStringList entries = MemoryParse::parseBlob(blob);
    for (qsizetype i = 0; i < entries.size(); ++i) {
        const QString& raw = entries[i];
        MemoryEntryItem e;
        e.id = idPrefix + QString::number(i);
        e.badge = MemoryParse::categoryOf(raw);
        e.icon = MemoryParse::iconFor(e.badge + QLatin1Char(' ') + raw);
        e.scopeLabel = scopeLabel;
        e.text = MemoryParse::bodyOf(raw).left(400);
        e.when = when;
        e.scope = scope;
        e.raw = raw;
        out << e;
    }
    return out;
}

QString joined(const QStringList& parts)
{
    QStringList kept = parts;
    kept.removeAll(QString());
    return kept.join(QStringLiteral(" · "));
}

// "docs.example.com/guide" for a link: what a person recognises it by.
QString linkName(const QString& url)
{
    const QUrl parsed(url);
    if (!parsed.isValid() || parsed.host().isEmpty())
        return url;
    QString path = parsed.path();
    if (path == u"/")
        path.clear();
    return parsed.host() + path;
}

QString fileNameOf(const AgentFileItem& f)
{
    if (f.name && !f.name->isEmpty())
        return *f.name;
    const QString last = QUrl(f.url).fileName();
    return last.isEmpty() ? f.url : last;
}

} // namespace

QList<MemoryGroup> memoryGroups(const JSONObject& agentDetail, const JSONObject& workspaceMemory,
                                const QList<MemoryNoteItem>& notes)
{
    QList<MemoryGroup> groups;
    const QString agentLabel = QStringLiteral("This agent");
    MemoryGroup agent{agentLabel,
                      blobEntries(textOf(agentDetail, "user_metadata_md"), QStringLiteral("agent-"), agentLabel,
                                  QStringLiteral("learned by this agent as it works for you"), MemoryScope::agent())};
    if (!agent.items.isEmpty())
        groups << agent;

    const bool team = textOf(workspaceMemory, "workspace_kind") == u"team";
    MemoryGroup shared{team ? QStringLiteral("Team memory") : QStringLiteral("Workspace memory"),
                       blobEntries(textOf(workspaceMemory, "worker_user_facts"), QStringLiteral("shared-"),
                                   QStringLiteral("Shared"),
                                   team ? QStringLiteral("shared inside this team")
                                        : QStringLiteral("private to this agent workspace"),
                                   MemoryScope::shared())};
    if (!shared.items.isEmpty())
        groups << shared;

    MemoryGroup taught{QStringLiteral("You taught"), {}};
    for (const MemoryNoteItem& note : notes) {
        MemoryEntryItem e;
        e.id = QStringLiteral("note-") + note.id;
        e.icon = memoIcon;
        e.badge = QStringLiteral("Note");
        e.scopeLabel = QStringLiteral("You");
        e.text = note.content;
        e.when = joined({MemoryParse::shortDate(note.createdAt), QStringLiteral("you added this")});
        e.scope = MemoryScope::note(note.id);
        e.raw = note.content;
        taught.items << e;
    }
    if (!taught.items.isEmpty())
        groups << taught;
    return groups;
}

QList<KBRow> kbRows(const JSONObject& agentDetail, const QList<MemoryNoteItem>& notes,
                    const QList<AgentTableItem>& tables, const QList<AgentFileItem>& files,
                    const QList<AgentSkillItem>& skills)
{
    QList<KBRow> rows;
    const JSONArray links = agentDetail.value(QStringLiteral("knowledge_urls")).toArray();
    for (qsizetype i = 0; i < links.size(); ++i) {
        const QString url = links[i].toString();
        if (url.isEmpty())
            continue;
        rows << KBRow{QStringLiteral("link-") + QString::number(i),
                      linkIcon,
                      KBRow::RowType::link,
                      linkName(url),
                      QStringLiteral("agent knowledge URL"),
                      QStringLiteral("linked"),
                      QString(),
                      url,
                      url,
                      std::nullopt};
    }
    if (const QString knowledge = textOf(agentDetail, "knowledge_base").trimmed(); !knowledge.isEmpty())
        rows << KBRow{QStringLiteral("knowledge-base"),
                      docIcon,
                      KBRow::RowType::doc,
                      QStringLiteral("Knowledge base"),
                      QStringLiteral("written knowledge · %1 chars").arg(knowledge.size()),
                      QStringLiteral("ready"),
                      QString(),
                      knowledge,
                      std::nullopt,
                      std::nullopt};
    for (const MemoryNoteItem& note : notes) {
        const QString title = note.title.value_or(QString()).trimmed();
        rows << KBRow{QStringLiteral("note-") + note.id,
                      memoIcon,
                      KBRow::RowType::note,
                      title.isEmpty() ? MemoryParse::resultTitle(note.content) : title,
                      joined({QStringLiteral("note"), MemoryParse::shortDate(note.createdAt)}),
                      QStringLiteral("ready"),
                      MemoryParse::shortDate(note.createdAt),
                      note.content,
                      std::nullopt,
                      note.id};
    }
    for (const AgentTableItem& t : tables) {
        const qsizetype columns = t.columns.value_or(JSONArray()).size();
        rows << KBRow{QStringLiteral("table-") + t.id,
                      tableIcon,
                      KBRow::RowType::table,
                      t.name.value_or(QStringLiteral("Table")),
                      QString::number(columns) + QStringLiteral(" columns"),
                      QStringLiteral("ready"),
                      MemoryParse::shortDate(t.updatedAt ? t.updatedAt : t.createdAt),
                      t.description.value_or(QString()),
                      std::nullopt,
                      std::nullopt};
    }
    for (qsizetype i = 0; i < files.size(); ++i) {
        const AgentFileItem& f = files[i];
        rows << KBRow{QStringLiteral("file-") + QString::number(i),
                      f.kind == u"image" ? imageIcon : docIcon,
                      KBRow::RowType::doc,
                      fileNameOf(f),
                      QStringLiteral("agent file"),
                      QStringLiteral("ready"),
                      MemoryParse::shortDate(f.createdAt),
                      QString(),
                      f.url,
                      std::nullopt};
    }
    for (qsizetype i = 0; i < skills.size(); ++i) {
        const AgentSkillItem& s = skills[i];
        const QString id = s.skillId.value_or(QString::number(i));
        rows << KBRow{QStringLiteral("skill-") + id,
                      skillIcon,
                      KBRow::RowType::skill,
                      s.name.value_or(QString()).isEmpty() ? QStringLiteral("Skill") : *s.name,
                      s.source == u"attached" ? QStringLiteral("attached skill") : QStringLiteral("agent skill"),
                      QStringLiteral("ready"),
                      QString(),
                      s.description.value_or(s.content.value_or(QString())),
                      std::nullopt,
                      std::nullopt};
    }
    return rows;
}

QList<KBRow> workspaceDocs(const JSONObject& workspaceMemory)
{
    const QStringList facts = MemoryParse::parseBlob(textOf(workspaceMemory, "worker_user_facts"));
    if (facts.isEmpty())
        return {};
    const bool team = textOf(workspaceMemory, "workspace_kind") == u"team";
    const QString label = textOf(workspaceMemory, "workspace_label");
    return {KBRow{QStringLiteral("workspace-memory"), team ? teamIcon : docIcon, KBRow::RowType::doc,
                  team ? QStringLiteral("Team memory") : QStringLiteral("Workspace memory"),
                  joined({facts.size() == 1 ? QStringLiteral("1 shared fact")
                                            : QStringLiteral("%1 shared facts").arg(facts.size()),
                          label}),
                  QStringLiteral("shared"),
                  MemoryParse::shortDate(workspaceMemory.value(QStringLiteral("updated_at")).stringValue()),
                  MemoryParse::joinBlob(facts), std::nullopt, std::nullopt}};
}

QList<KBRow> resultFiles(const QList<QPair<QString, QList<GoalRunItem>>>& perGoal)
{
    QList<KBRow> rows;
    for (const auto& [goalTitle, runs] : perGoal)
        for (const GoalRunItem& run : runs) {
            if (!run.result && !run.resultUrl)
                continue;
            const QString result = run.result.value_or(QString());
            rows << KBRow{QStringLiteral("result-") + run.id,
                          docIcon,
                          KBRow::RowType::doc,
                          result.isEmpty() ? goalTitle : MemoryParse::resultTitle(result),
                          joined({QStringLiteral("goal result"), goalTitle}),
                          run.status.value_or(QString()),
                          MemoryParse::shortDate(run.createdAt),
                          result,
                          run.resultUrl,
                          std::nullopt};
        }
    return rows;
}

QList<KBRow> filteredRows(const QList<KBRow>& rows, const QString& search, std::optional<KBRow::RowType> type)
{
    const QString needle = search.trimmed();
    QList<KBRow> out;
    for (const KBRow& r : rows) {
        if (type && r.type != *type)
            continue;
        if (!needle.isEmpty() && !r.name.contains(needle, Qt::CaseInsensitive)
            && !r.meta.contains(needle, Qt::CaseInsensitive) && !r.content.contains(needle, Qt::CaseInsensitive))
            continue;
        out << r;
    }
    return out;
}

QMap<KBRow::RowType, int> kbStats(const QList<KBRow>& rows)
{
    QMap<KBRow::RowType, int> stats;
    for (const KBRow& r : rows)
        ++stats[r.type];
    return stats;
}

QList<GraphNode> graphNodes(const QList<MemoryGroup>& groups, const QList<KBRow>& rows, const QString& centreLabel,
                            int leavesPerHub)
{
    struct Hub {
        GraphNode node;
        QList<GraphNode> leaves;
    };
    QList<Hub> hubs;
    for (const MemoryGroup& g : groups) {
        Hub hub{{QStringLiteral("group:") + g.cat, g.cat, g.items.value(0).icon, GraphNode::Kind::hub}, {}};
        for (const MemoryEntryItem& e : g.items)
            hub.leaves << GraphNode{e.id, e.badge, e.icon, GraphNode::Kind::leaf};
        hubs << hub;
    }
    const QMap<KBRow::RowType, int> stats = kbStats(rows);
    for (KBRow::RowType type : KBRow::allTypes()) {
        if (!stats.contains(type))
            continue;
        const QString key = KBRow::key(type);
        Hub hub{{QStringLiteral("type:") + key, KBRow::displayName(type) + QLatin1Char('s'), iconOf(type),
                 GraphNode::Kind::hub},
                {}};
        for (const KBRow& r : rows)
            if (r.type == type)
                hub.leaves << GraphNode{QStringLiteral("row:") + r.id, r.name, r.icon, GraphNode::Kind::leaf};
        hubs << hub;
    }

    constexpr double hubRadius = 0.22;
    // Neighbouring leaves alternate between two rings, so their labels do not overlap.
    constexpr double leafRadii[] = {0.44, 0.37};
    constexpr double pi = std::numbers::pi;
    QList<GraphNode> nodes{{QStringLiteral("centre"), centreLabel, QStringLiteral(u"\U0001F9D1\u200D\U0001F4BC"),
                            GraphNode::Kind::centre, QString(), 0.5, 0.5}};
    const qsizetype count = hubs.size();
    for (qsizetype h = 0; h < count; ++h) {
        // Hubs start at the top and go round clockwise; each owns an equal slice for its leaves.
        const double slice = 2 * pi / double(count);
        const double angle = -pi / 2 + slice * double(h);
        GraphNode hub = hubs[h].node;
        hub.parentId = QStringLiteral("centre");
        hub.x = 0.5 + hubRadius * std::cos(angle);
        hub.y = 0.5 + hubRadius * std::sin(angle);
        nodes << hub;

        QList<GraphNode> leaves = hubs[h].leaves;
        if (leaves.size() > leavesPerHub) {
            const qsizetype more = leaves.size() - (leavesPerHub - 1);
            leaves = leaves.mid(0, leavesPerHub - 1);
            leaves << GraphNode{hub.id + QStringLiteral(":more"), QStringLiteral("+%1 more").arg(more), QString(),
                                GraphNode::Kind::leaf};
        }
        const qsizetype n = leaves.size();
        const double spread = std::min(slice * 0.8, pi / 2);
        for (qsizetype i = 0; i < n; ++i) {
            const double offset = n == 1 ? 0.0 : spread * (double(i) / double(n - 1) - 0.5);
            const double radius = leafRadii[i % 2];
            GraphNode leaf = leaves[i];
            leaf.parentId = hub.id;
            leaf.x = 0.5 + radius * std::cos(angle + offset);
            leaf.y = 0.5 + radius * std::sin(angle + offset);
            nodes << leaf;
        }
    }
    return nodes;
}

} // namespace MemoryBuilders

} // namespace halvex
