#include "memory/FactBlob.h"

#include "core/Http.h"

#include <algorithm>
#include <numeric>

namespace service {

std::vector<std::string> factEntries(const std::string& blob)
{
    std::vector<std::string> out;
    const std::string sep = kFactSeparator;
    size_t start = 0;
    while (start <= blob.size()) {
        const size_t end = std::min(blob.find(sep, start), blob.size());
        std::string entry = trim(blob.substr(start, end - start));
        if (!entry.empty())
            out.push_back(std::move(entry));
        start = end + sep.size();
    }
    return out;
}

std::string joinFacts(const std::vector<std::string>& entries)
{
    std::string out;
    for (const auto& e : entries)
        out += (out.empty() ? "" : kFactSeparator) + e;
    return out;
}

bool rememberFact(std::string& blob, const std::string& entry, const std::string& replaceHeading)
{
    std::vector<std::string> entries = factEntries(blob);
    if (std::find(entries.begin(), entries.end(), entry) != entries.end())
        return false;
    if (!replaceHeading.empty())
        entries.erase(std::remove_if(entries.begin(), entries.end(),
                                     [&](const std::string& e) { return e.substr(0, e.find('\n')) == replaceHeading; }),
                      entries.end());
    entries.push_back(entry);
    const auto size = [&] {
        return std::accumulate(entries.begin(), entries.end(), size_t(0),
                               [](size_t n, const std::string& e) { return n + e.size() + 6; });
    };
    while (entries.size() > 1 && size() > kMaxFactBlobBytes)
        entries.erase(entries.begin());
    blob = joinFacts(entries);
    return true;
}

} // namespace service
