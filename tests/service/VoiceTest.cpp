// Dictation and voice calls against the real service: speech made with espeak-ng is recognised,
// what is not audio is refused, a call is opened, talked to over its audio stream and ended once
// in the call log.
#include "ChatTestSupport.h"
#include "TestClock.h"

#include "core/Base64.h"
#include "voice/Pcm.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>

using namespace chattest;

namespace {

// Words the synthetic voice says clearly enough for the recogniser, every time.
constexpr const char* kWeather = "the weather is nice today";
constexpr const char* kTomorrow = "please call me tomorrow";

class Scratch {
public:
    Scratch() : m_dir(std::filesystem::temp_directory_path() / ("hx-voice-" + std::to_string(::getpid())))
    {
        std::filesystem::create_directories(m_dir);
    }
    ~Scratch() { std::filesystem::remove_all(m_dir); }
    std::string path(const std::string& name) const { return (m_dir / name).string(); }

private:
    std::filesystem::path m_dir;
};

std::string readFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// `words` spoken into a WAV file; empty when espeak-ng is missing.
std::string speech(const Scratch& scratch, const std::string& words)
{
    const std::string out = scratch.path("speech.wav");
    const std::string command = "espeak-ng -v en-us+klatt -s 150 -w '" + out + "' '" + words + "'";
    return std::system(command.c_str()) == 0 ? readFile(out) : std::string();
}

// The same speech as AAC in an MP4 container, the desktop recorder's format.
std::string asM4a(const Scratch& scratch, const std::string& wav)
{
    const std::string in = scratch.path("in.wav"), out = scratch.path("out.m4a");
    std::ofstream(in, std::ios::binary) << wav;
    const std::string command = "gst-launch-1.0 -q filesrc location='" + in
        + "' ! decodebin ! audioconvert ! audioresample ! avenc_aac ! mp4mux ! filesink location='" + out
        + "' >/dev/null 2>&1";
    return std::system(command.c_str()) == 0 ? readFile(out) : std::string();
}

httplib::Result upload(const LiveService& s, const std::string& bytes, const std::string& name, const std::string& mime,
                       bool signedIn = true)
{
    auto c = s.client(signedIn);
    c.set_read_timeout(60, 0);
    return c.Post("/api/v2/transcribe", httplib::MultipartFormDataItems{{"file", bytes, name, mime}});
}

std::string errorOf(const httplib::Result& r) { return r ? json::parse(r->body)["error"].get<std::string>() : ""; }

bool hasEvent(const std::vector<Event>& events, const std::function<bool(const json&)>& match)
{
    return std::any_of(events.begin(), events.end(), [&](const Event& e) { return match(e.data); });
}

} // namespace

TEST(Dictation, RecognisesSpeechFromWavAndFromTheRecordersCompressedAudio)
{
    LiveService s;
    Scratch scratch;
    const std::string wav = speech(scratch, kWeather);
    ASSERT_FALSE(wav.empty()) << "espeak-ng is needed";

    auto r = upload(s, wav, "speech.wav", "audio/wav");
    ASSERT_TRUE(r);
    ASSERT_EQ(r->status, 200) << r->body;
    const std::string text = json::parse(r->body)["text"];
    EXPECT_NE(text.find("weather"), std::string::npos) << text;
    EXPECT_NE(text.find("today"), std::string::npos) << text;

    const std::string m4a = asM4a(scratch, wav);
    ASSERT_FALSE(m4a.empty()) << "GStreamer with its AAC encoder is needed";
    r = upload(s, m4a, "hx-voice-1.m4a", "audio/mp4");
    ASSERT_TRUE(r);
    ASSERT_EQ(r->status, 200) << r->body;
    EXPECT_NE(json::parse(r->body)["text"].get<std::string>().find("weather"), std::string::npos) << r->body;
}

TEST(Dictation, RefusesWhatIsNotAudioAndHearsNothingInSilence)
{
    LiveService s;
    auto r = upload(s, "these are just words in a text file", "notes.m4a", "audio/mp4");
    ASSERT_TRUE(r);
    EXPECT_EQ(r->status, 400);
    EXPECT_NE(errorOf(r).find("not audio"), std::string::npos) << r->body;

    // Claims to be MP4 but is not: the decoder fails and the answer still says why.
    r = upload(s,
               std::string("\0\0\0\x18"
                           "ftypM4A junk",
                           16)
                   + std::string(400, 'x'),
               "x.m4a", "audio/mp4");
    ASSERT_TRUE(r);
    EXPECT_EQ(r->status, 400) << r->body;
    EXPECT_FALSE(errorOf(r).empty());

    r = upload(s, "RIFF\x10\0\0\0WAVEjunkjunk", "broken.wav", "audio/wav");
    ASSERT_TRUE(r);
    EXPECT_EQ(r->status, 400) << r->body;

    auto c = s.client();
    r = c.Post("/api/v2/transcribe", "{}", "application/json");
    ASSERT_TRUE(r);
    EXPECT_EQ(r->status, 400);

    r = upload(s, service::voice::wavFile(service::voice::Samples(16000, 0)), "quiet.wav", "audio/wav");
    ASSERT_TRUE(r);
    ASSERT_EQ(r->status, 200) << r->body;
    EXPECT_EQ(json::parse(r->body)["text"], "");

    r = upload(s, "RIFF", "a.wav", "audio/wav", false);
    ASSERT_TRUE(r);
    EXPECT_EQ(r->status, 401);
}

TEST(VoiceCall, OpensForOwnEmployeesOnlyAndEndsOnceInTheCallLog)
{
    LiveService s;
    s.post("/api/v2/voice/session", {{"agent_id", "a-nobody"}}, 404);
    s.post("/api/v2/voice/session", json::object(), 404);

    const json call = s.post("/api/v2/voice/session", {{"agent_id", "a-researcher"}});
    const std::string id = call["call_id"];
    EXPECT_FALSE(call["token"].get<std::string>().empty());
    EXPECT_EQ(call["max_duration_secs"], 600);
    EXPECT_EQ(call["agent_name"], "Researcher");
    EXPECT_EQ(call["dynamic_variables"]["agent_name"], "Researcher");
    EXPECT_EQ(call["socket_url"], s.origin() + "/api/v2/voice/stream/" + id);

    httplib::Client stranger("127.0.0.1", s.port);
    stranger.set_default_headers({{"Origin", s.origin()}, {"Cookie", s.signUp("caller@example.com")}});
    EXPECT_EQ(stranger.Post("/api/v2/voice/end", json{{"call_id", id}}.dump(), "application/json")->status, 404);
    EXPECT_EQ(
        stranger.Post("/api/v2/voice/session", json{{"agent_id", "a-researcher"}}.dump(), "application/json")->status,
        404);

    ASSERT_TRUE(advanceClock(s, 42));
    EXPECT_EQ(s.post("/api/v2/voice/end", {{"call_id", id}})["already_ended"], false);
    EXPECT_EQ(s.post("/api/v2/voice/end", {{"call_id", id}})["already_ended"], true);
    s.post("/api/v2/voice/end", {{"call_id", "call-0000000000000000"}}, 404);

    int found = 0;
    const json log = s.get("/api/v2/voice/calls?agent_id=a-researcher&limit=100");
    for (const auto& c : log["calls"])
        if (c["id"] == id) {
            ++found;
            EXPECT_EQ(c["status"], "completed");
            EXPECT_EQ(c["title"], "Call with Researcher");
            EXPECT_GE(c["duration_secs"].get<long long>(), 42);
            EXPECT_FALSE(c["ended_at"].is_null());
        }
    EXPECT_EQ(found, 1);
    // An ended call takes no more audio and has no stream.
    auto r = s.client().Post("/api/v2/voice/stream/" + id + "/audio?token=" + call["token"].get<std::string>(),
                             std::string(640, '\0'), "application/octet-stream");
    ASSERT_TRUE(r);
    EXPECT_EQ(r->status, 404);
}

TEST(VoiceCall, TheEmployeeHearsTheCallerAndAnswersWithSpeech)
{
    LiveService s;
    Scratch scratch;
    const auto spoken = service::voice::decodeWav(speech(scratch, kTomorrow));
    ASSERT_TRUE(spoken) << "espeak-ng is needed";

    const json call = s.post("/api/v2/voice/session", {{"agent_id", "a-researcher"}});
    const std::string id = call["call_id"], token = call["token"];
    const std::string stream = "/api/v2/voice/stream/" + id;
    EXPECT_EQ(s.client().Get(stream + "/events?token=wrong")->status, 404);

    StreamReader events(s, stream + "/events?token=" + token);
    // The caller's speech in quarter-second chunks, then the quiet that ends the utterance.
    service::voice::Samples audio(8000, 0);
    audio.insert(audio.end(), spoken->begin(), spoken->end());
    audio.insert(audio.end(), 24000, 0);
    for (size_t at = 0; at < audio.size(); at += 4000) {
        const size_t n = std::min<size_t>(4000, audio.size() - at);
        auto r = s.client().Post(stream + "/audio?token=" + token,
                                 std::string(reinterpret_cast<const char*>(audio.data() + at), n * 2),
                                 "application/octet-stream");
        ASSERT_TRUE(r);
        ASSERT_EQ(r->status, 200) << r->body;
    }

    const auto heard = [](const json& e) {
        return e["type"] == "transcript" && e["role"] == "user"
            && e["text"].get<std::string>().find("tomorrow") != std::string::npos;
    };
    ASSERT_TRUE(events.waitFor([&](const std::vector<Event>& e) {
        return hasEvent(e, heard)
            && std::count_if(e.begin(), e.end(), [](const Event& x) { return x.data["type"] == "audio"; })
            >= 2; // the greeting, then the answer
    })) << "no answer to the caller";

    const auto all = events.events();
    EXPECT_EQ(all.front().data, json({{"type", "mode"}, {"mode", "listening"}}));
    EXPECT_TRUE(hasEvent(all, [](const json& e) { return e["type"] == "mode" && e["mode"] == "speaking"; }));
    EXPECT_TRUE(hasEvent(all, [](const json& e) {
        return e["type"] == "transcript" && e["role"] == "agent"
            && e["text"].get<std::string>().find("tomorrow") != std::string::npos;
    }));
    for (const auto& e : all)
        if (e.data["type"] == "audio") {
            const auto wav = service::base64Decode(e.data["wav_base64"]);
            ASSERT_TRUE(wav);
            EXPECT_TRUE(service::voice::looksLikeWav(*wav));
        }

    s.post("/api/v2/voice/end", {{"call_id", id}});
    EXPECT_TRUE(
        events.waitFor([](const std::vector<Event>& e) { return !e.empty() && e.back().data["type"] == "ended"; }));
    EXPECT_TRUE(events.waitForEnd());
    // What the caller said first is the call's line in the log.
    const json log = s.get("/api/v2/voice/calls?agent_id=a-researcher&limit=100");
    for (const auto& c : log["calls"])
        if (c["id"] == id) {
            EXPECT_EQ(c["snippet"], "please call me tomorrow");
        }
}
