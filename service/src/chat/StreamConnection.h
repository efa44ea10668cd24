#pragma once
// One open event stream: "ready" first, then the chat's events as they are published, a
// "ping" while idle, and the fault switches that test reconnection. Runs on the server thread
// that serves the request; a failed write ends it, so a gone client frees its thread.
#include "chat/StreamHub.h"
#include "core/Service.h"

#include <httplib.h>

#include <chrono>
#include <memory>
#include <string>

namespace service {

class StreamConnection {
public:
    StreamConnection(Service& s, std::string chatKey, std::string sessionToken);
    ~StreamConnection();

    // The content provider's step: false when the client is gone.
    bool pump(httplib::DataSink& sink);

private:
    bool write(httplib::DataSink& sink, const std::string& frame);
    bool sessionAlive();

    Service& m_service;
    std::string m_chatKey;
    std::string m_sessionToken;
    std::shared_ptr<Subscription> m_subscription;
    bool m_readySent = false;
    int m_delivered = 0;
    std::chrono::steady_clock::time_point m_lastWrite;
    std::chrono::steady_clock::time_point m_lastPing;
};

// "event: <name>\nid: <id>\ndata: <data>\n\n"; the data is one line of JSON.
std::string sseFrame(const std::string& event, const std::string& data, long long id = 0);

} // namespace service
