#pragma once
// Fans each chat's events out to its open stream connections. Turn runners publish; every
// connection owns one Subscription and drains it on its own server thread.
#include "core/Service.h"

#include <chrono>
#include <condition_variable>
#include <deque>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

namespace service {

struct StreamEvent {
    std::string name; // "message" or "message-insert"
    long long id = 0;
    std::string data;                                    // one message as JSON
    std::chrono::steady_clock::time_point publishedAt{}; // set by publish
};

class Subscription {
public:
    void push(StreamEvent event);
    // Waits up to `timeout` for events and takes all that are queued.
    std::vector<StreamEvent> take(std::chrono::milliseconds timeout);

private:
    std::mutex m_lock;
    std::condition_variable m_ready;
    std::deque<StreamEvent> m_queue;
};

class StreamHub {
public:
    explicit StreamHub(Faults& faults) : m_faults(faults) {}

    std::shared_ptr<Subscription> subscribe(const std::string& chatKey);
    void unsubscribe(const std::string& chatKey, const std::shared_ptr<Subscription>& subscription);
    // Delivers to every connection of the chat, applying the duplicate and reorder switches.
    void publish(const std::string& chatKey, StreamEvent event);
    size_t openConnections();
    // Delivers the events the reorder switch still holds: clearing the switches must not
    // leave a chat's last event waiting for a successor that never comes.
    void releaseHeld();

private:
    void deliver(const std::string& chatKey, const StreamEvent& event);

    Faults& m_faults;
    std::mutex m_lock;
    std::map<std::string, std::vector<std::shared_ptr<Subscription>>> m_subscribers;
    std::map<std::string, StreamEvent> m_held; // an event waiting for the one after it
};

} // namespace service
