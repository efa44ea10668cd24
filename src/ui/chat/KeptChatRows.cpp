#include "ui/chat/KeptChatRows.h"

#include <algorithm>

namespace halvex {

KeptChatRows::KeptChatRows()
{
    m_slots.resize(capacity);
    for (Slot& slot : m_slots)
        slot.rows = std::make_unique<ChatMessageRows>();
}

KeptChatRows::~KeptChatRows() = default;

int KeptChatRows::take(const QString& chatId, ChatSurface surface)
{
    auto found = std::find_if(m_slots.begin(), m_slots.end(), [&](const Slot& slot) {
        return !slot.chatId.isEmpty() && slot.chatId == chatId && slot.surface == surface;
    });
    if (found == m_slots.end()) {
        found = std::min_element(m_slots.begin(), m_slots.end(),
                                 [](const Slot& a, const Slot& b) { return a.lastUsed < b.lastUsed; });
        found->chatId = chatId;
        found->surface = surface;
        found->rows->reset(surface);
    }
    found->lastUsed = ++m_uses;
    return int(found - m_slots.begin());
}

QList<QObject*> KeptChatRows::all() const
{
    QList<QObject*> rows;
    for (const Slot& slot : m_slots)
        rows << slot.rows.get();
    return rows;
}

void KeptChatRows::clear()
{
    for (Slot& slot : m_slots) {
        slot.chatId.clear();
        slot.lastUsed = 0;
        slot.rows->reset(ChatSurface::solo);
    }
}

void KeptChatRows::setInlineStyle(const InlineStyle& style)
{
    for (Slot& slot : m_slots)
        slot.rows->setInlineStyle(style);
}

} // namespace halvex
