#include "session/service/Pkce.h"
#include "session/model/GoogleAuthConfig.h"

#include <QRegularExpression>

#include <gtest/gtest.h>

using namespace halvex;

TEST(Pkce, MatchesThePublishedS256Example)
{
    // RFC 7636, appendix B.
    const QByteArray octets = QByteArray::fromHex("7418dfb49799e0254ffa607dd8adbbba16d4254d69d6bff05b58055853848d79");
    const QString verifier = Pkce::base64URL(octets);
    EXPECT_EQ(verifier, QStringLiteral("dBjftJeZ4CVP-mB92K27uhbUJU1p1r_wW1gFWFOEjXk"));
    EXPECT_EQ(Pkce::challenge(verifier), QStringLiteral("E9Melhoa2OwvFrEMTJguCHaoeK1t8URWbuGJSstw-cM"));
}

TEST(Pkce, RandomTextIsURLSafeOfTheRightLengthAndNeverRepeats)
{
    static const QRegularExpression urlSafe(QStringLiteral("^[A-Za-z0-9_-]+$"));
    const QString verifier = Pkce::randomURLSafe(64);
    EXPECT_EQ(verifier.size(), 86);
    EXPECT_TRUE(urlSafe.match(verifier).hasMatch()) << verifier.toStdString();
    EXPECT_EQ(Pkce::randomURLSafe(24).size(), 32);
    EXPECT_EQ(Pkce::challenge(verifier).size(), 43);
    EXPECT_NE(Pkce::randomURLSafe(24), Pkce::randomURLSafe(24));
}

TEST(GoogleAuthSettings, TheRedirectSchemeIsTheReversedClientID)
{
    GoogleAuthSettings s;
    s.clientID = QStringLiteral("123456789012-abcdefghijklmnopqrstuvwxyz012345.apps.googleusercontent.com");
    EXPECT_EQ(s.reversedScheme(),
              QStringLiteral("com.googleusercontent.apps.123456789012-abcdefghijklmnopqrstuvwxyz012345"));
    EXPECT_EQ(
        s.redirectURI(),
        QStringLiteral("com.googleusercontent.apps.123456789012-abcdefghijklmnopqrstuvwxyz012345:/oauth2redirect"));
    EXPECT_TRUE(s.isConfigured());

    for (const char* id : {"", "web-client-id.example.com", ".apps.googleusercontent.com"}) {
        s.clientID = QString::fromUtf8(id);
        EXPECT_FALSE(s.reversedScheme()) << id;
        EXPECT_FALSE(s.redirectURI()) << id;
        EXPECT_FALSE(s.isConfigured()) << id;
    }
}

TEST(GoogleAuthSettings, TheBuildsClientIDDerivesAScheme)
{
    EXPECT_TRUE(GoogleAuthSettings::fromBuild().isConfigured());
}
