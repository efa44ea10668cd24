// The benchmark's record of when stream events went out (--stream-times): a line per frame sent,
// on the machine's monotonic clock, between the post and the client's reading of the frame.
#include "ChatTestSupport.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <unistd.h>

using namespace chattest;

namespace {

const char* kStream = "/api/v2/custom-agents/a-researcher/chat/stream";

long long monotonicNs()
{
    return std::chrono::duration_cast<std::chrono::nanoseconds>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

} // namespace

TEST(StreamTimes, EveryStreamedEventHasItsPublishTimeBetweenThePostAndItsArrival)
{
    const auto file = std::filesystem::temp_directory_path() / ("halvex-stream-times-" + std::to_string(getpid()));
    std::filesystem::remove(file);
    std::vector<Event> messages;
    long long posted = 0;
    long long read = 0;
    {
        LiveService s("--ping-ms 200 --stream-times " + file.string());
        StreamReader stream(s, kStream);
        ASSERT_TRUE(stream.waitForReady());
        posted = monotonicNs();
        s.post(kResearcher, {{"mode", "live"}, {"text", "research pricing"}});
        ASSERT_TRUE(stream.waitFor([](const std::vector<Event>& events) {
            return std::count_if(events.begin(), events.end(), [](const Event& e) { return e.name != "ready"; }) >= 3;
        }));
        read = monotonicNs();
        stream.close();
        messages = stream.messages();
    } // the service has stopped: every line is written

    std::map<long long, long long> published;
    std::ifstream lines(file);
    long long id = 0, ns = 0;
    while (lines >> id >> ns)
        published.try_emplace(id, ns);
    ASSERT_GE(messages.size(), 3u);
    for (const Event& e : messages) {
        const long long messageId = e.data["id"];
        const auto at = published.find(messageId);
        ASSERT_NE(at, published.end()) << messageId;
        EXPECT_GE(at->second, posted) << messageId;
    }
    EXPECT_LE(published.at(messages.front().data["id"]), read) << "read before it was published";
    EXPECT_EQ(published.count(0), 0u) << "pings and the ready frame are not messages";
    std::filesystem::remove(file);
}
