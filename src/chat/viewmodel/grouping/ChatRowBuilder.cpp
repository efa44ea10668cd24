#include "chat/viewmodel/grouping/ChatRowBuilder.h"

#include "chat/viewmodel/grouping/ChatTurnOrder.h"
#include "chat/viewmodel/grouping/StepClassification.h"
#include "chat/viewmodel/presentation/MessagePresentationResolver.h"

#include <QHash>
#include <QSet>

#include <algorithm>

#include <optional>
#include <vector>

namespace halvex::ChatStepGrouping {

namespace {

using Classified = RowClassification;

Classified classify(const ChatMessage& message, ChatSurface surface)
{
    const auto p = MessagePresentationResolver::cachedResolveShared(message, surface);
    Classified c;
    c.foldable = isGroupable(message, *p) || isInternalCollabEvent(message, *p);
    c.isArtifact = p->variant == MessageVariant::artifact || p->variant == MessageVariant::media;
    c.browserView = isBrowserView(message);
    c.turn = chatTurnID(message);
    c.revision = ChatRowItem::revisionOf(message);
    return c;
}

// The end of the run that starts at `start`.
qsizetype runEnd(const QList<ChatMessage>& list, const std::vector<Classified>& info, qsizetype start)
{
    const std::optional<QString>& turn = info[size_t(start)].turn;
    QString actor = list[start].metadata.stepFrom();
    qsizetype end = start + 1;
    for (; end < list.size(); ++end) {
        const Classified& c = info[size_t(end)];
        if (!c.foldable || c.turn != turn || c.browserView)
            break;
        const QString next = list[end].metadata.stepFrom();
        if (!actor.isEmpty() && !next.isEmpty() && next != actor)
            break;
        if (actor.isEmpty())
            actor = next;
    }
    return end;
}

qsizetype chipsEnd(const std::vector<Classified>& info, qsizetype start)
{
    qsizetype end = start + 1;
    while (end < qsizetype(info.size()) && info[size_t(end)].isArtifact && !info[size_t(end)].foldable
           && info[size_t(end)].turn == info[size_t(start)].turn)
        ++end;
    return end;
}

// A message listed twice or several unreadable ids must not give two rows one id. Repeats of
// one id are numbered in order, so the ids stay the same when the rows are rebuilt.
void makeIdsUnique(QList<ChatRowItem>& rows)
{
    // Usually no id repeats: a turn's few rows are compared pairwise rather than hashed, since
    // the turn that streams is regrouped at every event.
    constexpr qsizetype pairwiseLimit = 24;
    if (rows.size() <= pairwiseLimit) {
        bool repeats = false;
        for (qsizetype i = 1; i < rows.size() && !repeats; ++i)
            for (qsizetype j = 0; j < i && !repeats; ++j)
                repeats = rows[i].id() == rows[j].id();
        if (!repeats)
            return;
    }
    QSet<ChatRowId> used;
    QHash<ChatRowId, int> repeats;
    used.reserve(rows.size());
    for (ChatRowItem& row : rows) {
        const ChatRowId base = row.id();
        ChatRowId id = base;
        if (used.contains(id)) {
            int& n = repeats[base];
            do
                id = ChatRowId::synthetic(base.value, QStringLiteral("repeat ") + QString::number(++n));
            while (used.contains(id));
        }
        used.insert(id);
        row.reassignId(id);
    }
}

QList<quint64> revisionsIn(const std::vector<Classified>& info, qsizetype start, qsizetype end)
{
    QList<quint64> revisions;
    revisions.reserve(end - start);
    for (qsizetype i = start; i < end; ++i)
        revisions.append(info[size_t(i)].revision);
    return revisions;
}

QList<ChatRowItem> rowsOf(const QList<ChatMessage>& list, const std::vector<Classified>& info)
{
    QList<ChatRowItem> out;
    // At most a row a message: growing the list as it fills moved every row made so far.
    out.reserve(list.size());
    const auto single = [&](qsizetype i) { return ChatRowItem::single(list[i], info[size_t(i)].revision); };
    qsizetype i = 0;
    while (i < list.size()) {
        const Classified& c = info[size_t(i)];
        if (c.foldable && !c.browserView) {
            const qsizetype end = runEnd(list, info, i);
            out.append(end - i == 1 ? single(i)
                                    : ChatRowItem::stepGroup(list.mid(i, end - i), revisionsIn(info, i, end)));
            i = end;
        } else if (c.isArtifact) {
            const qsizetype end = chipsEnd(info, i);
            out.append(end - i == 1 ? single(i)
                                    : ChatRowItem::artifactChips(list.mid(i, end - i), revisionsIn(info, i, end)));
            i = end;
        } else {
            out.append(single(i));
            ++i;
        }
    }
    makeIdsUnique(out);
    return out;
}

} // namespace

RowClassification RowClassifications::of(const ChatMessage& message, ChatSurface surface)
{
    if (surface != m_surface) {
        m_surface = surface;
        m_last.clear();
    }
    const auto same = [&message](const Known& k) { return k.message.sharesDataWith(message); };
    // Where the message before was found, this one is likely to follow (messages inserted or
    // dropped ahead shift the rest alike).
    const qsizetype at = qsizetype(m_current.size()) + m_shift;
    const Known* known
        = at >= 0 && at < qsizetype(m_last.size()) && same(m_last[size_t(at)]) ? &m_last[size_t(at)] : nullptr;
    if (!known) {
        const auto it = std::find_if(m_last.begin(), m_last.end(), same);
        known = it != m_last.end() ? &*it : nullptr;
        if (known)
            m_shift = qsizetype(it - m_last.begin()) - qsizetype(m_current.size());
    }
    const RowClassification c = known ? known->classification : classify(message, surface);
    m_current.push_back(Known{message, c});
    return c;
}

void RowClassifications::settle()
{
    m_last.swap(m_current);
    m_current.clear();
    m_shift = 0;
}

QList<ChatRowItem> rows(const QList<ChatMessage>& messages, ChatSurface surface)
{
    const QList<ChatMessage> list = orderedTurns(messages);
    std::vector<Classified> info;
    info.reserve(size_t(list.size()));
    for (const ChatMessage& message : list)
        info.push_back(classify(message, surface));
    return rowsOf(list, info);
}

QList<ChatRowItem> rows(const QList<ChatMessage>& messages, ChatSurface surface, RowClassifications& known)
{
    // A whole chat grouped anew is not worth remembering: only a turn comes round again.
    if (messages.size() > RowClassifications::sizeLimit) {
        known.settle();
        return rows(messages, surface);
    }
    const QList<ChatMessage> list = orderedTurns(messages);
    std::vector<Classified> info;
    info.reserve(size_t(list.size()));
    for (const ChatMessage& message : list)
        info.push_back(known.of(message, surface));
    known.settle();
    return rowsOf(list, info);
}

} // namespace halvex::ChatStepGrouping
