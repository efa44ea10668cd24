#include "voice/model/VoiceRecords.h"

namespace halvex {

VoiceSession VoiceSession::decode(const JsonReader& json)
{
    return {json.required<QString>("call_id"), json.lenient<QString>("token").value_or(QString()),
            json.lenient<int>("max_duration_secs")};
}

VoiceCapability VoiceCapability::decode(const JsonReader& json)
{
    return {json.lenient<bool>("available").value_or(false), json.lenient<QString>("reason")};
}

Transcript Transcript::decode(const JsonReader& json) { return {json.lenient<QString>("text").value_or(QString())}; }

namespace voice {

QString minutesSeconds(int seconds)
{
    const int s = std::max(0, seconds);
    return QString::number(s / 60) + QLatin1Char(':') + QStringLiteral("%1").arg(s % 60, 2, 10, QLatin1Char('0'));
}

QString appendDictation(const QString& input, const QString& words)
{
    const QString said = words.trimmed();
    if (said.isEmpty())
        return input;
    if (input.isEmpty() || input.back().isSpace())
        return input + said;
    return input + QLatin1Char(' ') + said;
}

} // namespace voice

} // namespace halvex
