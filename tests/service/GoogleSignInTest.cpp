// The sign-in provider played by the service, and the service's own Google sign-in endpoint.
#include "RunningService.h"

#include <gtest/gtest.h>

using namespace service_test;

namespace {

const std::string kClient = "000000000000-halvexlocal.apps.googleusercontent.com";
const std::string kOtherClient = "123456789012-someoneelse0app.apps.googleusercontent.com";
// RFC 7636, appendix B.
const std::string kVerifier = "dBjftJeZ4CVP-mB92K27uhbUJU1p1r_wW1gFWFOEjXk";
const std::string kChallenge = "E9Melhoa2OwvFrEMTJguCHaoeK1t8URWbuGJSstw-cM";

std::string redirectFor(const std::string& client)
{
    return "com.googleusercontent.apps." + client.substr(0, client.find(".apps.")) + ":/oauth2redirect";
}

std::string queryValue(const std::string& url, const std::string& key)
{
    const auto q = url.find('?');
    for (size_t at = q; at != std::string::npos && at < url.size();) {
        const size_t start = at + 1;
        const size_t end = std::min(url.find('&', start), url.size());
        const std::string item = url.substr(start, end - start);
        if (item.rfind(key + "=", 0) == 0)
            return item.substr(key.size() + 1);
        at = end == url.size() ? std::string::npos : end;
    }
    return {};
}

class GoogleSignIn : public ::testing::Test {
protected:
    RunningService svc;

    httplib::Params request(const std::string& client = kClient) const
    {
        return {{"client_id", client},
                {"redirect_uri", redirectFor(client)},
                {"response_type", "code"},
                {"scope", "openid email profile"},
                {"code_challenge", kChallenge},
                {"code_challenge_method", "S256"},
                {"state", "st-1"},
                {"nonce", "nonce-1"}};
    }
    // The redirect of an approved consent form.
    std::string approve(const std::string& email = "ada@example.com", const std::string& client = kClient) const
    {
        auto params = request(client);
        params.emplace("decision", "approve");
        params.emplace("email", email);
        auto c = svc.client();
        auto r = c.Post("/oauth/authorize", params);
        return r && r->status == 302 ? r->get_header_value("Location") : std::string();
    }
    httplib::Result exchange(const std::string& code, const std::string& verifier = kVerifier,
                             const std::string& client = kClient) const
    {
        auto c = svc.client();
        return c.Post("/oauth/token",
                      httplib::Params{{"client_id", client},
                                      {"code", code},
                                      {"code_verifier", verifier},
                                      {"grant_type", "authorization_code"},
                                      {"redirect_uri", redirectFor(client)}});
    }
    std::string idToken(const std::string& email = "ada@example.com", const std::string& client = kClient) const
    {
        return body(exchange(queryValue(approve(email, client), "code"), kVerifier, client)).value("id_token", "");
    }
    httplib::Result signIn(const std::string& token) const
    {
        auto c = svc.client();
        return c.Post("/api/v2/auth/google/native", json{{"id_token", token}, {"time_zone", "Europe/Berlin"}}.dump(),
                      "application/json");
    }
};

} // namespace

TEST_F(GoogleSignIn, ConsentPageCarriesTheRequestAndRedirectsWithCodeAndState)
{
    auto c = svc.client();
    auto page = c.Get("/oauth/authorize", request(), httplib::Headers{});
    ASSERT_EQ(page->status, 200);
    EXPECT_NE(page->body.find("name=\"code_challenge\" value=\"" + kChallenge + "\""), std::string::npos);
    EXPECT_NE(page->body.find("name=\"state\" value=\"st-1\""), std::string::npos);

    const std::string location = approve();
    EXPECT_EQ(location.rfind(redirectFor(kClient) + "?", 0), 0u) << location;
    EXPECT_EQ(queryValue(location, "state"), "st-1");
    EXPECT_FALSE(queryValue(location, "code").empty());

    auto denied = request();
    denied.emplace("decision", "deny");
    const auto no = c.Post("/oauth/authorize", denied);
    EXPECT_EQ(queryValue(no->get_header_value("Location"), "error"), "access_denied");
    EXPECT_EQ(queryValue(no->get_header_value("Location"), "code"), "");
}

TEST_F(GoogleSignIn, ForeignRedirectIsNeverFollowed)
{
    auto params = request();
    params.erase("redirect_uri");
    params.emplace("redirect_uri", "https://evil.example/callback");
    auto c = svc.client();
    auto r = c.Get("/oauth/authorize", params, httplib::Headers{});
    EXPECT_EQ(r->status, 400);
    EXPECT_FALSE(r->has_header("Location"));
}

TEST_F(GoogleSignIn, SignsInOnceAndFindsTheSameAccountAgain)
{
    auto first = signIn(idToken("Ada@Example.com"));
    ASSERT_EQ(first->status, 200) << first->body;
    EXPECT_EQ(body(first)["user"]["auth_provider"], "google");
    const std::string cookie = first->get_header_value("Set-Cookie");
    EXPECT_EQ(cookie.rfind("hx-v2-session=", 0), 0u);
    auto me = svc.client(cookie.substr(0, cookie.find(';'))).Get("/api/v2/auth/me");
    EXPECT_EQ(body(me)["email"], "Ada@Example.com");

    auto again = signIn(idToken("ada@example.com"));
    EXPECT_EQ(body(again)["user"]["id"], body(first)["user"]["id"]);
}

TEST_F(GoogleSignIn, TokenEndpointRefusesWrongVerifierReuseAndExpiry)
{
    auto description = [](const httplib::Result& r) { return body(r).value("error_description", ""); };

    auto wrong = exchange(queryValue(approve(), "code"), std::string(43, 'A'));
    EXPECT_EQ(wrong->status, 400);
    EXPECT_EQ(body(wrong)["error"], "invalid_grant");
    EXPECT_EQ(description(wrong), "The code verifier does not match the code challenge.");

    const std::string code = queryValue(approve(), "code");
    ASSERT_EQ(exchange(code)->status, 200);
    EXPECT_EQ(description(exchange(code)), "The authorization code was already used.");

    const std::string late = queryValue(approve(), "code");
    ASSERT_TRUE(svc.advanceClock(61));
    EXPECT_EQ(description(exchange(late)), "The authorization code has expired.");

    // A code earned by one client cannot be spent by another.
    EXPECT_EQ(description(exchange(queryValue(approve(), "code"), kVerifier, kOtherClient)),
              "The authorization code was issued to another client.");
}

TEST_F(GoogleSignIn, NativeEndpointRefusesForgedForeignAndExpiredTokens)
{
    const std::string ada = idToken("ada@example.com");
    const std::string eve = idToken("eve@example.com");
    ASSERT_EQ(std::count(ada.begin(), ada.end(), '.'), 2);
    auto part = [](const std::string& t, int i) {
        size_t start = 0;
        for (int k = 0; k < i; ++k)
            start = t.find('.', start) + 1;
        return t.substr(start, t.find('.', start) - start);
    };
    // Eve's claims under Ada's signature.
    const std::string spliced = part(ada, 0) + "." + part(eve, 1) + "." + part(ada, 2);
    const std::string unsigned_ = "eyJhbGciOiJub25lIn0." + part(eve, 1) + ".";
    for (const std::string& forged : {spliced, unsigned_, ada.substr(0, ada.size() - 2), std::string("not-a-token")}) {
        auto r = signIn(forged);
        EXPECT_EQ(r->status, 401) << forged;
        EXPECT_EQ(body(r)["error"], "The Google ID token could not be verified.");
        EXPECT_FALSE(r->has_header("Set-Cookie"));
    }

    auto foreign = signIn(idToken("ada@example.com", kOtherClient));
    EXPECT_EQ(foreign->status, 401);
    EXPECT_EQ(body(foreign)["error"], "The Google ID token was issued for another application.");

    ASSERT_TRUE(svc.advanceClock(3601));
    auto expired = signIn(ada);
    EXPECT_EQ(expired->status, 401);
    EXPECT_EQ(body(expired)["error"], "The Google ID token has expired.");

    auto c = svc.client();
    EXPECT_EQ(c.Post("/api/v2/auth/google/native", "{\"id_token\":", "application/json")->status, 400);
    EXPECT_EQ(c.Get("/api/v2/auth/me")->status, 401); // still serving
}
