#include "chat/StreamHub.h"

#include <algorithm>

namespace service {

void Subscription::push(StreamEvent event)
{
    {
        std::lock_guard guard(m_lock);
        m_queue.push_back(std::move(event));
    }
    m_ready.notify_one();
}

std::vector<StreamEvent> Subscription::take(std::chrono::milliseconds timeout)
{
    std::unique_lock guard(m_lock);
    m_ready.wait_for(guard, timeout, [&] { return !m_queue.empty(); });
    std::vector<StreamEvent> out(std::make_move_iterator(m_queue.begin()), std::make_move_iterator(m_queue.end()));
    m_queue.clear();
    return out;
}

std::shared_ptr<Subscription> StreamHub::subscribe(const std::string& chatKey)
{
    auto subscription = std::make_shared<Subscription>();
    std::lock_guard guard(m_lock);
    m_subscribers[chatKey].push_back(subscription);
    return subscription;
}

void StreamHub::unsubscribe(const std::string& chatKey, const std::shared_ptr<Subscription>& subscription)
{
    std::lock_guard guard(m_lock);
    auto it = m_subscribers.find(chatKey);
    if (it == m_subscribers.end())
        return;
    auto& list = it->second;
    list.erase(std::remove(list.begin(), list.end(), subscription), list.end());
    if (list.empty())
        m_subscribers.erase(it);
}

size_t StreamHub::openConnections()
{
    std::lock_guard guard(m_lock);
    size_t n = 0;
    for (const auto& [key, list] : m_subscribers)
        n += list.size();
    return n;
}

void StreamHub::publish(const std::string& chatKey, StreamEvent event)
{
    event.publishedAt = std::chrono::steady_clock::now();
    bool duplicate = false, reorder = false;
    {
        std::lock_guard guard(m_faults.lock);
        if (m_faults.streamDuplicateNext > 0) {
            --m_faults.streamDuplicateNext;
            duplicate = true;
        }
        if (m_faults.streamReorderNext > 0) {
            --m_faults.streamReorderNext;
            reorder = true;
        }
    }
    std::optional<StreamEvent> released;
    {
        std::lock_guard guard(m_lock);
        if (auto held = m_held.find(chatKey); held != m_held.end()) {
            released = std::move(held->second);
            m_held.erase(held);
        } else if (reorder) {
            m_held[chatKey] = std::move(event);
            return;
        }
    }
    deliver(chatKey, event);
    if (duplicate)
        deliver(chatKey, event);
    if (released)
        deliver(chatKey, *released);
}

void StreamHub::releaseHeld()
{
    std::map<std::string, StreamEvent> held;
    {
        std::lock_guard guard(m_lock);
        held.swap(m_held);
    }
    for (const auto& [chatKey, event] : held)
        deliver(chatKey, event);
}

void StreamHub::deliver(const std::string& chatKey, const StreamEvent& event)
{
    std::vector<std::shared_ptr<Subscription>> targets;
    {
        std::lock_guard guard(m_lock);
        if (auto it = m_subscribers.find(chatKey); it != m_subscribers.end())
            targets = it->second;
    }
    for (const auto& t : targets)
        t->push(event);
}

} // namespace service
