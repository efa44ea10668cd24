#include "core/format/ChatTimestamp.h"

#include "core/format/LabelCache.h"
#include "core/format/ServerDate.h"

namespace halvex::ChatTimestamp {
namespace {

LabelCache& cache()
{
    static LabelCache instance(2000, 0x40000);
    return instance;
}

std::optional<QDateTime> parse(const QString& raw)
{
    if (auto d = ServerDate::parseISOWithFraction(raw))
        return d;
    if (auto d = ServerDate::parseISO(raw))
        return d;
    return ServerDate::parseDatabase(raw);
}

} // namespace

std::optional<QString> label(const std::optional<QString>& raw)
{
    if (!raw || raw->isEmpty())
        return std::nullopt;
    if (auto hit = cache().find(*raw))
        return hit;
    const auto instant = parse(*raw);
    if (!instant)
        return std::nullopt;
    // Qt's format strings use fixed (POSIX) digits, whatever the user's locale.
    const QString text = instant->toLocalTime().toString(QStringLiteral("HH:mm"));
    cache().insert(*raw, text);
    return text;
}

void clearCache() { cache().clear(); }
int cachedCount() { return cache().count(); }

} // namespace halvex::ChatTimestamp
