#include "chat/viewmodel/grouping/IncrementalChatRows.h"

#include "chat/viewmodel/grouping/ChatRowBuilder.h"

#include <algorithm>

namespace halvex::ChatStepGrouping {

void IncrementalChatRows::reset(ChatSurface surface)
{
    m_surface = surface;
    m_messages.clear();
    m_rows.clear();
    m_cuts.clear();
    m_classified = {};
    m_idCounts.clear();
    m_repeats = 0;
    m_keptRows = 0;
}

const QList<ChatRowItem>& IncrementalChatRows::update(const QList<ChatMessage>& messages, qsizetype unchangedBefore)
{
    const qsizetype common = std::min(messages.size(), m_messages.size());
    qsizetype changed = std::clamp<qsizetype>(unchangedBefore, 0, common);
    m_keptRows = m_rows.size();
    for (; changed < common; ++changed) {
        const ChatMessage& incoming = messages[changed];
        ChatMessage& kept = m_messages[changed];
        if (incoming.sharesDataWith(kept))
            continue;
        if (!(incoming == kept))
            break;
        // Equal but decoded anew (a history reload): keep the caller's copy so the next scan
        // finds it shared.
        kept = incoming;
    }
    if (changed == messages.size() && changed == m_messages.size())
        return m_rows;

    // The last cut before the first change. A changed cut can't be kept: the user message there
    // may be gone, which joins its turn to the one before.
    const auto after = std::lower_bound(m_cuts.begin(), m_cuts.end(), changed,
                                        [](const Cut& cut, qsizetype at) { return cut.message < at; });
    rebuildFrom(messages, after == m_cuts.begin() ? 0 : std::prev(after)->message);
    return m_rows;
}

void IncrementalChatRows::rebuildFrom(const QList<ChatMessage>& messages, qsizetype from)
{
    // Everything before `from` is the same in both lists, and so mostly is what follows (a turn
    // that grew by one): only the ids that differ move the counts.
    recountIds(messages, from);
    // A copy of its own, element by element: sharing the caller's list would make the caller's
    // next append copy every message.
    m_messages.remove(from, m_messages.size() - from);
    for (qsizetype i = from; i < messages.size(); ++i)
        m_messages.append(messages[i]);
    if (m_repeats > 0)
        from = 0;

    const auto kept = std::lower_bound(m_cuts.begin(), m_cuts.end(), from,
                                       [](const Cut& cut, qsizetype at) { return cut.message < at; });
    // `from` is 0 or one of the cuts, whose row is where the rebuilt rows go.
    const qsizetype keptRows = from == 0 ? 0 : kept->row;
    m_rows.remove(keptRows, m_rows.size() - keptRows);
    m_keptRows = keptRows;
    m_cuts.erase(kept, m_cuts.end());

    const QList<ChatRowItem> tail
        = ChatStepGrouping::rows(from == 0 ? messages : messages.mid(from), m_surface, m_classified);
    qsizetype at = from;
    for (const ChatRowItem& row : tail) {
        if (row.message() && row.message()->isUser())
            m_cuts.push_back({at, m_rows.size()});
        at += row.messageCount();
        m_rows.append(row);
    }
}

void IncrementalChatRows::recountIds(const QList<ChatMessage>& messages, qsizetype from)
{
    // The repeats are the sum over ids of (count - 1), so the order of the changes is free.
    const qsizetype end = std::max(messages.size(), m_messages.size());
    for (qsizetype i = from; i < end; ++i) {
        const bool had = i < m_messages.size();
        const bool has = i < messages.size();
        if (had && has && m_messages[i].id == messages[i].id)
            continue;
        if (had)
            countId(m_messages[i].id, -1);
        if (has)
            countId(messages[i].id, +1);
    }
}

void IncrementalChatRows::countId(qint64 id, int delta)
{
    int& count = m_idCounts[id];
    // A repeat is an id seen more than once; track how many there are in all.
    if (delta > 0 && count >= 1)
        ++m_repeats;
    if (delta < 0 && count >= 2)
        --m_repeats;
    count += delta;
    if (count == 0)
        m_idCounts.remove(id);
}

} // namespace halvex::ChatStepGrouping
