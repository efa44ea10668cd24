#pragma once
// Live calls: the audio the call page sends, cut into utterances, recognised and answered with
// synthesised speech on one thread of the runtime, and the events the page reads back. Held by
// the Service; its thread stops, and every open event stream ends, when it goes.
#include "core/Http.h"
#include "core/Service.h"
#include "voice/Pcm.h"

#include <chrono>
#include <condition_variable>
#include <deque>
#include <map>
#include <memory>
#include <mutex>
#include <thread>

namespace service {

class VoiceRuntime {
public:
    struct Call {
        std::string id, token, agentId, agentName;
        long long userId = 0;
        long long startedAt = 0; // service clock
        voice::UtteranceCutter cutter;
        std::deque<json> events; // the newest events, oldest first
        size_t firstSeq = 0;     // the sequence number of events.front()
        bool ended = false;
        std::string firstWords; // the first thing the user said, for the call log
    };

    explicit VoiceRuntime(Service& s);
    ~VoiceRuntime();
    VoiceRuntime(const VoiceRuntime&) = delete;
    VoiceRuntime& operator=(const VoiceRuntime&) = delete;

    std::shared_ptr<Call> open(const std::string& callId, long long uid, const std::string& agentId,
                               const std::string& agentName, long long startedAt);
    // The live call when `token` is its token.
    std::shared_ptr<Call> find(const std::string& callId, const std::string& token);
    // Takes a chunk of 16 kHz mono audio; false when the call has ended.
    bool hear(const std::shared_ptr<Call>& call, const voice::Samples& chunk);
    // Ends the call's stream; answers what the user said first, for the log ("" when nothing).
    std::string end(const std::string& callId);
    // Waits up to `wait` for events from sequence number `next` on; moves `next` past them.
    // `finished` turns true once the "ended" event was handed out or the runtime stops.
    std::vector<json> await(Call& call, size_t& next, std::chrono::milliseconds wait, bool& finished);

private:
    struct Job {
        std::shared_ptr<Call> call;
        voice::Samples utterance;
        bool greeting = false; // the employee opens the call; nothing was heard
    };
    void push(Call& call, json event); // under m_lock
    void answer(const Job& job);

    Service& m_s;
    std::mutex m_lock;
    std::condition_variable m_changed;
    std::map<std::string, std::shared_ptr<Call>> m_calls;
    std::deque<Job> m_jobs;
    bool m_stopping = false;
    std::thread m_worker;
};

// Created by addVoiceRoutes before the server takes requests.
VoiceRuntime& voiceRuntime(Service& s);

} // namespace service
