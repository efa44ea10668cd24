#include "chat/StreamTimes.h"

namespace service {

StreamTimes::StreamTimes(const std::string& path) : m_file(std::fopen(path.c_str(), "a")) {}

StreamTimes::~StreamTimes()
{
    if (m_file)
        std::fclose(m_file);
}

void StreamTimes::record(long long id, std::chrono::steady_clock::time_point at)
{
    if (!m_file)
        return;
    const long long ns = std::chrono::duration_cast<std::chrono::nanoseconds>(at.time_since_epoch()).count();
    std::lock_guard guard(m_lock);
    std::fprintf(m_file, "%lld %lld\n", id, ns);
    // Read while the service runs: each line is whole once the frame is out.
    std::fflush(m_file);
}

} // namespace service
