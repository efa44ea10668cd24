#include "chat/viewmodel/grouping/StepLifecycle.h"

#include <array>
#include <utility>

namespace halvex::StepLifecycle {

QString settledTitle(const QString& title)
{
    static const std::array<std::pair<QLatin1String, QLatin1String>, 14> prefixes{{
        {QLatin1String("Opening "), QLatin1String("Opened ")},
        {QLatin1String("Searching "), QLatin1String("Searched ")},
        {QLatin1String("Sending "), QLatin1String("Sent ")},
        {QLatin1String("Fetching "), QLatin1String("Fetched ")},
        {QLatin1String("Calling "), QLatin1String("Called ")},
        {QLatin1String("Running "), QLatin1String("Ran ")},
        {QLatin1String("Creating "), QLatin1String("Created ")},
        {QLatin1String("Updating "), QLatin1String("Updated ")},
        {QLatin1String("Generating "), QLatin1String("Generated ")},
        {QLatin1String("Writing "), QLatin1String("Wrote ")},
        {QLatin1String("Reading "), QLatin1String("Read ")},
        {QLatin1String("Checking "), QLatin1String("Checked ")},
        {QLatin1String("Loading "), QLatin1String("Loaded ")},
        {QLatin1String("Preparing "), QLatin1String("Prepared ")},
    }};
    for (const auto& [running, finished] : prefixes) {
        if (title.startsWith(running))
            return QString(finished) + title.mid(running.size());
    }
    if (title == u"Opening a web page")
        return QStringLiteral("Opened a web page");
    if (title == u"Searching the web")
        return QStringLiteral("Searched the web");
    if (title == u"Working on it")
        return QStringLiteral("Work completed");
    if (title == u"Working")
        return QStringLiteral("Done");
    return title;
}

} // namespace halvex::StepLifecycle
