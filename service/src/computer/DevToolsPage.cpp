#include "computer/DevToolsPage.h"

#include "core/Base64.h"

#include <cstdio>

namespace service {

namespace {
constexpr auto kCommandTimeout = std::chrono::seconds(10);
constexpr size_t kMaxAnswers = 64; // answers nobody waits for any more are dropped past this
} // namespace

DevToolsPage::~DevToolsPage() { detach(); }

bool DevToolsPage::attach(int port, const std::string& path)
{
    if (!m_socket.connect("127.0.0.1", port, path, std::chrono::seconds(5)))
        return false;
    m_reader = std::thread([this] { readLoop(); });
    return true;
}

void DevToolsPage::detach()
{
    m_socket.close();
    if (m_reader.joinable())
        m_reader.join();
}

void DevToolsPage::readLoop()
{
    while (const auto text = m_socket.receive()) {
        json message = json::parse(*text, nullptr, false);
        if (!message.is_object())
            continue;
        try {
            take(std::move(message));
        } catch (const json::exception& e) {
            std::fprintf(stderr, "computer: unreadable browser message: %s\n", e.what());
        }
    }
    std::lock_guard guard(m_lock);
    m_closed = true;
    m_answered.notify_all();
}

void DevToolsPage::take(json message)
{
    if (message.contains("id") && message["id"].is_number_integer()) {
        const long long id = message["id"].get<long long>();
        std::lock_guard guard(m_lock);
        m_answers[id] = std::move(message);
        while (m_answers.size() > kMaxAnswers)
            m_answers.erase(m_answers.begin());
        m_answered.notify_all();
    } else if (message.value("method", std::string()) == "Page.screencastFrame" && message.contains("params")) {
        const json& p = message["params"];
        // Each frame is acknowledged, or the browser sends no more.
        m_socket.sendText(
            json{{"id", 0}, {"method", "Page.screencastFrameAck"}, {"params", {{"sessionId", p.value("sessionId", 0)}}}}
                .dump());
        if (auto jpeg = base64Decode(p.value("data", std::string()))) {
            std::lock_guard guard(m_lock);
            m_frame = std::move(*jpeg);
        }
    }
}

std::optional<json> DevToolsPage::call(const std::string& method, json params, std::chrono::milliseconds timeout)
{
    long long id;
    {
        std::lock_guard guard(m_lock);
        id = m_nextId++;
    }
    if (!m_socket.sendText(json{{"id", id}, {"method", method}, {"params", std::move(params)}}.dump()))
        return std::nullopt;
    std::unique_lock lock(m_lock);
    if (!m_answered.wait_for(lock, timeout, [&] { return m_closed || m_answers.count(id); }) || !m_answers.count(id))
        return std::nullopt;
    json answer = std::move(m_answers[id]);
    m_answers.erase(id);
    if (!answer.contains("result"))
        return std::nullopt;
    return answer["result"];
}

bool DevToolsPage::navigate(const std::string& url)
{
    const auto result = call("Page.navigate", {{"url", url}}, kCommandTimeout);
    return result && !result->contains("errorText");
}

bool DevToolsPage::startScreencast()
{
    return call("Page.enable", json::object(), kCommandTimeout)
        && call("Page.startScreencast",
                {{"format", "jpeg"}, {"quality", 70}, {"maxWidth", 1280}, {"maxHeight", 800}, {"everyNthFrame", 1}},
                kCommandTimeout);
}

std::optional<std::string> DevToolsPage::frame()
{
    {
        std::lock_guard guard(m_lock);
        if (!m_frame.empty())
            return m_frame;
    }
    const auto shot = call("Page.captureScreenshot", {{"format", "jpeg"}, {"quality", 70}}, kCommandTimeout);
    if (!shot)
        return std::nullopt;
    return base64Decode(shot->value("data", std::string()));
}

} // namespace service
