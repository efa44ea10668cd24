// Dictation (an uploaded recording turned into text) and voice calls: a call is opened and
// ended here and kept in the employee's call log; while it runs, the call page streams the
// microphone in and reads the employee's answers back as events, signed by the call's token.
#include "Routes.h"

#include "agents/AgentStore.h"
#include "auth/Sessions.h"
#include "core/Http.h"
#include "google/ServiceClock.h"
#include "governance/RequestBody.h"
#include "governance/VoiceCalls.h"
#include "voice/AudioDecode.h"
#include "voice/CallPage.h"
#include "voice/Recognizer.h"
#include "voice/VoiceRuntime.h"

namespace service {

namespace {

constexpr int kMaxCallSeconds = 600;
constexpr size_t kMaxAudioChunk = 1024 * 1024; // about 30 s of 16 kHz audio
constexpr const char* kStreamPath = R"(/api/v2/voice/stream/(call-[0-9a-f]{16})/)";

void transcribe(Service& s, const httplib::Request& req, httplib::Response& res)
{
    if (!req.is_multipart_form_data() || !req.has_file("file"))
        return sendError(res, 400, "Send the recording as the multipart field \"file\"");
    const auto file = req.get_file_value("file");
    auto decoded = voice::decodeAudio(file.content, s.opt.dataDir + "/voice-scratch");
    if (const auto* refusal = std::get_if<voice::AudioRefusal>(&decoded))
        return sendError(res, refusal->status, refusal->message);
    const auto text = voice::recognise(std::get<voice::Samples>(decoded));
    if (!text)
        return sendError(res, 503, "Speech recognition is not available on this machine");
    sendJson(res, {{"text", *text}});
}

void startCall(Service& s, const SqlRow& user, const httplib::Request& req, httplib::Response& res)
{
    const auto body = readSmallBody(req, res);
    if (!body)
        return;
    const auto agentId = readText(*body, "agent_id", 200, res);
    if (!agentId)
        return;
    const long long uid = userId(user);
    const auto agent = agentId->empty() ? std::nullopt : findAgent(s, uid, *agentId);
    if (!agent)
        return sendError(res, 404, "Agent not found");
    const std::string agentName = agent->value("name", std::string("Your employee"));
    const long long now = serviceNow(s);
    std::string callId;
    s.db->transaction([&] {
        callId = insertCall(s, uid, {*agentId, "in_progress", "Call with " + agentName, "", now, std::nullopt});
    });
    const auto call = voiceRuntime(s).open(callId, uid, *agentId, agentName, now);
    sendJson(
        res,
        {{"call_id", callId},
         {"token", call->token},
         {"max_duration_secs", kMaxCallSeconds},
         {"agent_id", *agentId},
         {"agent_name", agentName},
         {"socket_url", s.origin() + "/api/v2/voice/stream/" + callId},
         {"dynamic_variables", {{"agent_id", *agentId}, {"agent_name", agentName}, {"user_name", text(user[2])}}}});
}

// Ends the call in the log and on its stream; a second end changes nothing.
CallEnd finishCall(Service& s, long long uid, const std::string& callId, long long at)
{
    const CallEnd result = endCall(s, uid, callId, at, "");
    if (result == CallEnd::ended) {
        const std::string said = voiceRuntime(s).end(callId);
        if (!said.empty())
            s.db->execute("UPDATE voice_calls SET snippet = ? WHERE id = ?", {said, callId});
    }
    return result;
}

void endCallRoute(Service& s, long long uid, const httplib::Request& req, httplib::Response& res)
{
    const auto body = readSmallBody(req, res);
    if (!body)
        return;
    const auto callId = readText(*body, "call_id", 200, res);
    if (!callId)
        return;
    const CallEnd result = finishCall(s, uid, *callId, serviceNow(s));
    if (result == CallEnd::notFound)
        return sendError(res, 404, "Call not found");
    sendJson(res, {{"ok", true}, {"call_id", *callId}, {"already_ended", result == CallEnd::alreadyEnded}});
}

// The live call the path and token name, or nothing with the 404 sent. A call past its
// longest duration is ended here.
std::shared_ptr<VoiceRuntime::Call> liveCall(Service& s, const httplib::Request& req, httplib::Response& res)
{
    auto call = voiceRuntime(s).find(req.matches[1], req.get_param_value("token"));
    if (call && serviceNow(s) > call->startedAt + kMaxCallSeconds) {
        finishCall(s, call->userId, call->id, call->startedAt + kMaxCallSeconds);
        call = nullptr;
    }
    if (!call)
        sendError(res, 404, "Call not found");
    return call;
}

void streamEvents(const Service& s, std::shared_ptr<VoiceRuntime::Call> call, httplib::Response& res)
{
    res.set_header("Cache-Control", "no-cache");
    res.set_header("X-Accel-Buffering", "no");
    auto next = std::make_shared<size_t>(0);
    res.set_chunked_content_provider(
        "text/event-stream", [runtime = s.voice, ping = s.opt.pingMs, call, next](size_t, httplib::DataSink& sink) {
            bool finished = false;
            const auto events = runtime->await(*call, *next, std::chrono::milliseconds(ping), finished);
            std::string out = events.empty() ? ": ping\n\n" : "";
            for (const auto& e : events)
                out += "data: " + e.dump() + "\n\n";
            if (!sink.write(out.data(), out.size()))
                return false;
            if (finished)
                sink.done();
            return true;
        });
}

} // namespace

void addVoiceRoutes(httplib::Server& svr, Service& s)
{
    voiceRuntime(s);
    svr.Post("/api/v2/transcribe", [&](const httplib::Request& req, httplib::Response& res) {
        if (requireUser(s, req, res))
            transcribe(s, req, res);
    });
    svr.Post("/api/v2/voice/session", [&](const httplib::Request& req, httplib::Response& res) {
        if (const auto user = requireUser(s, req, res))
            startCall(s, *user, req, res);
    });
    svr.Post("/api/v2/voice/end", [&](const httplib::Request& req, httplib::Response& res) {
        if (const auto user = requireUser(s, req, res))
            endCallRoute(s, userId(*user), req, res);
    });
    svr.Post(std::string(kStreamPath) + "audio", [&](const httplib::Request& req, httplib::Response& res) {
        const auto call = liveCall(s, req, res);
        if (!call)
            return;
        if (req.body.size() > kMaxAudioChunk)
            return sendError(res, 413, "An audio chunk holds at most 1 MB");
        if (!voiceRuntime(s).hear(call, voice::fromS16le(req.body)))
            return sendError(res, 409, "The call has ended");
        sendJson(res, {{"ok", true}});
    });
    svr.Get(std::string(kStreamPath) + "events", [&](const httplib::Request& req, httplib::Response& res) {
        if (auto call = liveCall(s, req, res))
            streamEvents(s, std::move(call), res);
    });
    svr.Get("/_voice/call.html", [](const httplib::Request&, httplib::Response& res) {
        res.set_header("X-Content-Type-Options", "nosniff");
        res.set_header("Cache-Control", "no-store");
        res.set_content(voice::callPageHtml(), "text/html; charset=utf-8");
    });
}

} // namespace service
