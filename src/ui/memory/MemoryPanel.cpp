#include "ui/memory/MemoryPanel.h"

#include "agents/model/ChatBackend.h"
#include "agents/viewmodel/AgentListViewModel.h"

#include <QPointF>

namespace halvex {

namespace {

QString kindName(GraphNode::Kind kind)
{
    switch (kind) {
    case GraphNode::Kind::centre:
        return QStringLiteral("centre");
    case GraphNode::Kind::hub:
        return QStringLiteral("hub");
    case GraphNode::Kind::leaf:
        return QStringLiteral("leaf");
    }
    return {};
}

} // namespace

MemoryPanel::MemoryPanel(APIClient& api, AgentListViewModel& sidebar, QObject* parent)
    : QObject(parent),
      m_api(api),
      m_sidebar(sidebar)
{
    connect(&m_sidebar, &AgentListViewModel::selectionChanged, this, &MemoryPanel::follow);
}

MemoryPanel::~MemoryPanel()
{
    if (m_model)
        m_model->stop();
}

void MemoryPanel::follow()
{
    // The panel belongs to the chat it was opened from.
    if (m_model && m_sidebar.selectedIdText() != m_model->agentId())
        close();
}

void MemoryPanel::openForSelected()
{
    const std::optional<ChatBackend> backend = m_sidebar.selectedBackend();
    if (backend && backend->isAgent())
        openFor(backend->id(), backend->agentValue()->name);
}

void MemoryPanel::openFor(const QString& agentId, const QString& agentName)
{
    if (m_model && m_model->agentId() == agentId) {
        m_model->load();
        return;
    }
    if (m_model) {
        m_model->stop();
        m_model.release()->deleteLater();
    }
    m_model = std::make_unique<MemoryPanelModel>(m_api, agentId, agentName);
    connect(m_model.get(), &MemoryPanelModel::changed, this, &MemoryPanel::changed);
    connect(m_model.get(), &MemoryPanelModel::unauthorized, this, &MemoryPanel::unauthorized);
    m_model->load();
    Q_EMIT changed();
}

void MemoryPanel::close()
{
    if (!m_model)
        return;
    m_model->stop();
    m_model.release()->deleteLater();
    Q_EMIT changed();
}

void MemoryPanel::reload()
{
    if (m_model)
        m_model->load();
}

void MemoryPanel::dismissError()
{
    if (m_model)
        m_model->clearError();
}

void MemoryPanel::setTab(int tab)
{
    if (m_model && tab >= 0 && tab <= int(MemoryPanelModel::Tab::graph))
        m_model->setTab(MemoryPanelModel::Tab(tab));
}

QVariantList MemoryPanel::groups() const
{
    QVariantList out;
    if (!m_model)
        return out;
    for (const MemoryGroup& g : m_model->groups()) {
        QVariantList items;
        for (const MemoryEntryItem& e : g.items)
            items << QVariantMap{{QStringLiteral("id"), e.id},       {QStringLiteral("icon"), e.icon},
                                 {QStringLiteral("badge"), e.badge}, {QStringLiteral("scopeLabel"), e.scopeLabel},
                                 {QStringLiteral("text"), e.text},   {QStringLiteral("when"), e.when}};
        out << QVariantMap{{QStringLiteral("cat"), g.cat}, {QStringLiteral("items"), items}};
    }
    return out;
}

QVariantList MemoryPanel::rows() const
{
    QVariantList out;
    if (!m_model)
        return out;
    for (const KBRow& r : m_model->visibleKbRows())
        out << QVariantMap{{QStringLiteral("id"), r.id},
                           {QStringLiteral("icon"), r.icon},
                           {QStringLiteral("type"), KBRow::key(r.type)},
                           {QStringLiteral("typeName"), KBRow::displayName(r.type)},
                           {QStringLiteral("name"), r.name},
                           {QStringLiteral("meta"), r.meta},
                           {QStringLiteral("url"), r.url.value_or(QString())},
                           {QStringLiteral("removable"), r.isRemovable()}};
    return out;
}

QVariantList MemoryPanel::filters() const
{
    QVariantList out;
    if (!m_model)
        return out;
    const QMap<KBRow::RowType, int> stats = m_model->kbStats();
    int total = 0;
    for (int n : stats)
        total += n;
    out << QVariantMap{{QStringLiteral("key"), QString()},
                       {QStringLiteral("label"), QStringLiteral("All")},
                       {QStringLiteral("count"), total}};
    for (auto it = stats.cbegin(); it != stats.cend(); ++it)
        out << QVariantMap{{QStringLiteral("key"), KBRow::key(it.key())},
                           {QStringLiteral("label"), KBRow::displayName(it.key())},
                           {QStringLiteral("count"), it.value()}};
    return out;
}

void MemoryPanel::setKbSearch(const QString& text)
{
    if (!m_model || m_model->kbSearch == text)
        return;
    m_model->kbSearch = text;
    Q_EMIT changed();
}

QString MemoryPanel::kbFilter() const
{
    return m_model && m_model->kbFilter ? KBRow::key(*m_model->kbFilter) : QString();
}

void MemoryPanel::setKbFilter(const QString& key)
{
    if (!m_model)
        return;
    m_model->kbFilter = KBRow::typeOfKey(key);
    Q_EMIT changed();
}

void MemoryPanel::setKbLink(const QString& text)
{
    if (m_model)
        m_model->kbLink = text;
}

void MemoryPanel::setMemInput(const QString& text)
{
    if (m_model)
        m_model->memInput = text;
}

QVariantList MemoryPanel::graphNodes() const
{
    QVariantList out;
    if (!m_model)
        return out;
    const QList<GraphNode> nodes = m_model->graphNodes();
    QHash<QString, QPointF> at;
    for (const GraphNode& n : nodes)
        at.insert(n.id, QPointF(n.x, n.y));
    for (const GraphNode& n : nodes) {
        const QPointF parent = at.value(n.parentId, QPointF(n.x, n.y));
        out << QVariantMap{{QStringLiteral("id"), n.id},
                           {QStringLiteral("label"), n.label},
                           {QStringLiteral("icon"), n.icon},
                           {QStringLiteral("kind"), kindName(n.kind)},
                           {QStringLiteral("x"), n.x},
                           {QStringLiteral("y"), n.y},
                           {QStringLiteral("parentX"), parent.x()},
                           {QStringLiteral("parentY"), parent.y()}};
    }
    return out;
}

void MemoryPanel::addMemory()
{
    if (m_model)
        m_model->addMemory();
}

void MemoryPanel::forget(const QString& entryId)
{
    if (!m_model)
        return;
    for (const MemoryGroup& g : m_model->groups())
        for (const MemoryEntryItem& e : g.items)
            if (e.id == entryId) {
                m_model->forgetFact(e);
                return;
            }
}

void MemoryPanel::addLink()
{
    if (m_model)
        m_model->addKbLink();
}

void MemoryPanel::importFiles(const QList<QUrl>& files)
{
    if (m_model)
        m_model->importFiles(files);
}

void MemoryPanel::removeRow(const QString& rowId)
{
    if (!m_model)
        return;
    for (const KBRow& r : m_model->kbRows())
        if (r.id == rowId) {
            m_model->removeKbRow(r);
            return;
        }
}

} // namespace halvex
