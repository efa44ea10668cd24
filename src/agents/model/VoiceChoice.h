#pragma once
// The voice rules of the identity settings: which of the two stock voices, or a custom one.
#include <QString>

namespace halvex::voice {

inline const QString femaleVoiceId = QStringLiteral("EXAVITQu4vr4xnSDxMaL");
inline const QString maleVoiceId = QStringLiteral("nPczCjzI2devNBz1zQrb");
inline const QString female = QStringLiteral("female");
inline const QString male = QStringLiteral("male");
inline const QString custom = QStringLiteral("custom");

struct Choice {
    QString choice;
    QString customVoiceId; // only for "custom"
    bool operator==(const Choice&) const = default;
};

// From the agent's stored voice; an empty one is guessed from the name.
Choice choiceFor(const QString& storedVoiceId, const QString& agentName);
bool looksFemale(const QString& name);
// What a choice writes as "voice_id".
QString voiceIdFor(const QString& choice);

} // namespace halvex::voice
