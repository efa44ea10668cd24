#pragma once
// Where Google sign-in goes and which redirect it expects. The values are build-time constants;
// tests build their own.
#include <QString>
#include <QUrl>

#include <optional>

namespace halvex {

struct GoogleAuthSettings {
    QString clientID;
    // Google's suffix of installed-application client identifiers.
    QString clientIDSuffix = QStringLiteral(".apps.googleusercontent.com");
    QUrl authorizationEndpoint;
    QUrl tokenEndpoint;

    // The build's constants.
    static GoogleAuthSettings fromBuild();

    // "com.googleusercontent.apps.<number-and-key>" for "<number-and-key>.apps.googleusercontent.com".
    std::optional<QString> reversedScheme() const;
    std::optional<QString> redirectURI() const;
    bool isConfigured() const { return !clientID.isEmpty() && reversedScheme().has_value(); }
};

} // namespace halvex
