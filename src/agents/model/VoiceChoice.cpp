#include "agents/model/VoiceChoice.h"

#include <QStringList>

namespace halvex::voice {

Choice choiceFor(const QString& storedVoiceId, const QString& agentName)
{
    const QString id = storedVoiceId.trimmed();
    if (id == femaleVoiceId)
        return {female, {}};
    if (id == maleVoiceId)
        return {male, {}};
    if (id.isEmpty())
        return {looksFemale(agentName) ? female : male, {}};
    return {custom, id};
}

bool looksFemale(const QString& name)
{
    const QStringList words = name.split(u' ', Qt::SkipEmptyParts);
    if (words.isEmpty())
        return false;
    const QString word = words.first().toLower();
    // Common male names that end like female ones.
    static const QStringList exceptions = {QStringLiteral("luca"),   QStringLiteral("nikita"), QStringLiteral("ilya"),
                                           QStringLiteral("kostya"), QStringLiteral("sasha"),  QStringLiteral("misha")};
    if (exceptions.contains(word))
        return false;
    return word.endsWith(u'a') || word.endsWith(QLatin1String("ia")) || word.endsWith(QLatin1String("ine"));
}

QString voiceIdFor(const QString& choice) { return choice == female ? femaleVoiceId : maleVoiceId; }

} // namespace halvex::voice
