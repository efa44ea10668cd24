#include "session/model/GoogleAuthConfig.h"

#include "core/Config.h"

#include <QStringList>

#include <algorithm>

namespace halvex {

GoogleAuthSettings GoogleAuthSettings::fromBuild()
{
    GoogleAuthSettings settings;
    settings.clientID = GoogleAuthConfig::clientID();
    settings.authorizationEndpoint = QUrl(GoogleAuthConfig::authorizationEndpoint());
    settings.tokenEndpoint = QUrl(GoogleAuthConfig::tokenEndpoint());
    return settings;
}

std::optional<QString> GoogleAuthSettings::reversedScheme() const
{
    if (clientIDSuffix.isEmpty() || !clientID.endsWith(clientIDSuffix) || clientID.size() == clientIDSuffix.size())
        return std::nullopt;
    QStringList parts = clientIDSuffix.split(QLatin1Char('.'), Qt::SkipEmptyParts);
    std::reverse(parts.begin(), parts.end());
    const QString head = clientID.left(clientID.size() - clientIDSuffix.size());
    return parts.join(QLatin1Char('.')) + QLatin1Char('.') + head;
}

std::optional<QString> GoogleAuthSettings::redirectURI() const
{
    const auto scheme = reversedScheme();
    if (!scheme)
        return std::nullopt;
    return *scheme + QStringLiteral(":/oauth2redirect");
}

} // namespace halvex
