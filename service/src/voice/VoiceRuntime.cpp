#include "voice/VoiceRuntime.h"

#include "core/Base64.h"
#include "core/Crypto.h"
#include "voice/Recognizer.h"
#include "voice/Speech.h"
#include "voice/VoiceReplies.h"

#include <cstdio>

namespace service {

namespace {

// Events kept per call for a page that reconnects; audio makes them large.
constexpr size_t kKeptEvents = 64;

} // namespace

VoiceRuntime::VoiceRuntime(Service& s) : m_s(s)
{
    m_worker = std::thread([this] {
        for (;;) {
            Job job;
            {
                std::unique_lock lock(m_lock);
                m_changed.wait(lock, [&] { return m_stopping || !m_jobs.empty(); });
                if (m_stopping)
                    return;
                job = std::move(m_jobs.front());
                m_jobs.pop_front();
            }
            try {
                answer(job);
            } catch (const std::exception& e) {
                std::fprintf(stderr, "call %s: no answer: %s\n", job.call->id.c_str(), e.what());
            }
        }
    });
}

VoiceRuntime::~VoiceRuntime()
{
    {
        std::lock_guard guard(m_lock);
        m_stopping = true;
    }
    m_changed.notify_all();
    if (m_worker.joinable())
        m_worker.join();
}

void VoiceRuntime::push(Call& call, json event)
{
    call.events.push_back(std::move(event));
    while (call.events.size() > kKeptEvents) {
        call.events.pop_front();
        ++call.firstSeq;
    }
    m_changed.notify_all();
}

std::shared_ptr<VoiceRuntime::Call> VoiceRuntime::open(const std::string& callId, long long uid,
                                                       const std::string& agentId, const std::string& agentName,
                                                       long long startedAt)
{
    auto call = std::make_shared<Call>();
    call->id = callId;
    call->token = randomHex(24);
    call->userId = uid;
    call->agentId = agentId;
    call->agentName = agentName;
    call->startedAt = startedAt;
    std::lock_guard guard(m_lock);
    push(*call, {{"type", "mode"}, {"mode", "listening"}});
    m_calls[callId] = call;
    m_jobs.push_back({call, {}, true});
    m_changed.notify_all();
    return call;
}

std::shared_ptr<VoiceRuntime::Call> VoiceRuntime::find(const std::string& callId, const std::string& token)
{
    std::lock_guard guard(m_lock);
    const auto it = m_calls.find(callId);
    if (it == m_calls.end() || token.empty() || it->second->token != token)
        return nullptr;
    return it->second;
}

bool VoiceRuntime::hear(const std::shared_ptr<Call>& call, const voice::Samples& chunk)
{
    std::lock_guard guard(m_lock);
    if (call->ended || m_stopping)
        return false;
    for (auto& utterance : call->cutter.feed(chunk))
        m_jobs.push_back({call, std::move(utterance)});
    m_changed.notify_all();
    return true;
}

std::string VoiceRuntime::end(const std::string& callId)
{
    std::lock_guard guard(m_lock);
    const auto it = m_calls.find(callId);
    if (it == m_calls.end())
        return {};
    Call& call = *it->second;
    call.ended = true;
    push(call, {{"type", "ended"}});
    std::string said = call.firstWords;
    m_calls.erase(it);
    return said;
}

std::vector<json> VoiceRuntime::await(Call& call, size_t& next, std::chrono::milliseconds wait, bool& finished)
{
    std::unique_lock lock(m_lock);
    const auto has = [&] { return m_stopping || next < call.firstSeq + call.events.size(); };
    m_changed.wait_for(lock, wait, has);
    std::vector<json> out;
    next = std::max(next, call.firstSeq);
    for (; next < call.firstSeq + call.events.size(); ++next) {
        out.push_back(call.events[next - call.firstSeq]);
        if (out.back().value("type", std::string()) == "ended")
            finished = true;
    }
    if (m_stopping)
        finished = true;
    return out;
}

void VoiceRuntime::answer(const Job& job)
{
    Call& call = *job.call;
    std::string heard;
    if (!job.greeting) {
        const auto words = voice::recognise(job.utterance);
        if (!words) {
            std::lock_guard guard(m_lock);
            push(call, {{"type", "error"}, {"message", "Speech recognition is not available on this machine"}});
            return;
        }
        heard = *words;
    }
    const std::string reply
        = job.greeting ? voice::voiceGreeting(call.agentName) : voice::voiceReply(heard, call.agentName);
    const auto wav = voice::speak(reply);
    std::lock_guard guard(m_lock);
    if (call.ended)
        return;
    if (!job.greeting) {
        push(call, {{"type", "transcript"}, {"role", "user"}, {"text", heard}});
        if (call.firstWords.empty())
            call.firstWords = heard;
    }
    push(call, {{"type", "mode"}, {"mode", "speaking"}});
    push(call, {{"type", "transcript"}, {"role", "agent"}, {"text", reply}});
    if (wav)
        push(call, {{"type", "audio"}, {"wav_base64", base64Encode(*wav)}});
    else
        push(call, {{"type", "mode"}, {"mode", "listening"}});
}

VoiceRuntime& voiceRuntime(Service& s)
{
    if (!s.voice)
        s.voice = std::make_shared<VoiceRuntime>(s);
    return *s.voice;
}

} // namespace service
