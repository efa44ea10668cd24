#include "session/service/GoogleAuthService.h"

#include "core/async/Clock.h"
#include "session/model/GoogleAuthError.h"
#include "session/service/BrowserOpener.h"
#include "session/service/Pkce.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QPointer>
#include <QUrlQuery>

#include <QCoroNetworkReply>

namespace halvex {
namespace {

std::optional<QString> firstQueryValue(const QList<QPair<QString, QString>>& items, const QString& name)
{
    for (const auto& [key, value] : items) {
        if (key == name)
            return value.isEmpty() ? std::nullopt : std::optional<QString>(value);
    }
    return std::nullopt;
}

QList<QPair<QString, QString>> queryItemsOf(const QUrl& url)
{
    if (!url.hasQuery())
        return {};
    return QUrlQuery(url).queryItems(QUrl::FullyDecoded);
}

} // namespace

GoogleAuthService::GoogleAuthService(std::optional<GoogleAuthSettings> settings, BrowserOpener* browser, Clock* clock,
                                     QObject* parent)
    : QObject(parent),
      m_settings(settings ? std::move(*settings) : GoogleAuthSettings::fromBuild()),
      m_browser(browser ? browser : &DesktopBrowserOpener::shared()),
      m_clock(clock ? clock : &Clock::system()),
      m_network(std::make_unique<QNetworkAccessManager>())
{}

GoogleAuthService::~GoogleAuthService()
{
    // A caller still waiting must not hang forever; it sees a cancellation and touches nothing here.
    finishWithError(std::make_exception_ptr(GoogleAuthError::cancelled()));
}

std::optional<QUrl> GoogleAuthService::authorizationURL(const GoogleAuthSettings& settings, const QString& challenge,
                                                        const QString& state, const QString& nonce)
{
    const auto redirect = settings.redirectURI();
    if (!redirect || !settings.authorizationEndpoint.isValid() || settings.authorizationEndpoint.isRelative())
        return std::nullopt;
    QUrlQuery query;
    query.setQueryItems({
        {QStringLiteral("client_id"), settings.clientID},
        {QStringLiteral("redirect_uri"), *redirect},
        {QStringLiteral("response_type"), QStringLiteral("code")},
        {QStringLiteral("scope"), QStringLiteral("openid email profile")},
        {QStringLiteral("code_challenge"), challenge},
        {QStringLiteral("code_challenge_method"), QStringLiteral("S256")},
        {QStringLiteral("state"), state},
        {QStringLiteral("nonce"), nonce},
        {QStringLiteral("prompt"), QStringLiteral("select_account")},
    });
    QUrl url = settings.authorizationEndpoint;
    // Encode every reserved character so the redirect address and scope survive any server.
    QString encoded;
    for (const auto& [key, value] : query.queryItems(QUrl::FullyDecoded)) {
        if (!encoded.isEmpty())
            encoded += QLatin1Char('&');
        encoded += QString::fromLatin1(QUrl::toPercentEncoding(key)) + QLatin1Char('=')
            + QString::fromLatin1(QUrl::toPercentEncoding(value));
    }
    url.setQuery(encoded, QUrl::StrictMode);
    if (!url.isValid())
        return std::nullopt;
    return url;
}

QByteArray GoogleAuthService::tokenRequestBody(const GoogleAuthSettings& settings, const QString& code,
                                               const QString& verifier)
{
    const QList<QPair<const char*, QString>> fields{
        {"client_id", settings.clientID},
        {"code", code},
        {"code_verifier", verifier},
        {"grant_type", QStringLiteral("authorization_code")},
        {"redirect_uri", settings.redirectURI().value_or(QString())},
    };
    QByteArray body;
    for (const auto& [name, value] : fields) {
        if (!body.isEmpty())
            body += '&';
        // Only letters, digits and "-._~" stay literal.
        body += QByteArray(name) + '=' + QUrl::toPercentEncoding(value);
    }
    return body;
}

QCoro::Task<QString> GoogleAuthService::obtainIDToken(CancelToken token)
{
    const auto redirect = m_settings.redirectURI();
    if (m_settings.clientID.isEmpty() || !m_settings.reversedScheme() || !redirect)
        throw GoogleAuthError::notConfigured();

    const QString verifier = Pkce::randomURLSafe(64);
    const QString challenge = Pkce::challenge(verifier);
    const QString state = Pkce::randomURLSafe(24);
    const QString nonce = Pkce::randomURLSafe(24);
    const auto url = authorizationURL(m_settings, challenge, state, nonce);
    if (!url)
        throw GoogleAuthError::failed(QStringLiteral("bad auth URL"));

    finishWithError(std::make_exception_ptr(GoogleAuthError::cancelled()));
    auto attempt = std::make_shared<Attempt>();
    m_pending = attempt;
    m_expectedState = state;
    QPointer<GoogleAuthService> self(this);
    m_timeout = m_clock->schedule(browserTimeoutMs, [self] {
        if (self)
            self->finishWithError(std::make_exception_ptr(GoogleAuthError::cancelled()));
    });
    std::weak_ptr<Attempt> weakAttempt = attempt;
    auto subscription = token.onCancel([self, weakAttempt] {
        const auto current = weakAttempt.lock();
        if (self && current && self->m_pending == current)
            self->finishWithError(std::make_exception_ptr(GoogleAuthError::cancelled()));
    });
    if (!attempt->done) {
        if (m_browser->open(*url))
            Q_EMIT authorizationOpened(*url);
        else if (m_pending == attempt)
            finishWithError(
                std::make_exception_ptr(GoogleAuthError::failed(QStringLiteral("could not open the browser"))));
    }

    const QString code = co_await AttemptAwaiter{attempt.get()};
    subscription.reset();
    co_return co_await exchange(code, verifier, std::move(token));
}

QString GoogleAuthService::AttemptAwaiter::await_resume() const
{
    if (attempt->error)
        std::rethrow_exception(attempt->error);
    return attempt->code.value_or(QString());
}

void GoogleAuthService::handleCallback(const QUrl& url)
{
    const auto scheme = m_settings.reversedScheme();
    if (!scheme || url.scheme().isEmpty() || url.scheme().compare(*scheme, Qt::CaseInsensitive) != 0)
        return;
    const auto items = queryItemsOf(url);
    if (firstQueryValue(items, QStringLiteral("state")) != m_expectedState) {
        finishWithError(std::make_exception_ptr(GoogleAuthError::failed(QStringLiteral("state mismatch"))));
        return;
    }
    if (const auto code = firstQueryValue(items, QStringLiteral("code"))) {
        finishWithCode(*code);
        return;
    }
    const auto error = firstQueryValue(items, QStringLiteral("error"));
    finishWithError(
        std::make_exception_ptr(GoogleAuthError::failed(error.value_or(QStringLiteral("no authorization code")))));
}

void GoogleAuthService::finishWithCode(const QString& code) { finish(code, nullptr); }
void GoogleAuthService::finishWithError(std::exception_ptr error) { finish(std::nullopt, std::move(error)); }

void GoogleAuthService::finish(std::optional<QString> code, std::exception_ptr error)
{
    m_timeout.reset();
    m_expectedState.reset();
    // Taken out before completing, so a late or duplicate callback finds nothing.
    const auto attempt = std::exchange(m_pending, nullptr);
    if (!attempt)
        return;
    attempt->code = std::move(code);
    attempt->error = std::move(error);
    attempt->done = true;
    if (const auto waiter = std::exchange(attempt->waiter, nullptr))
        waiter.resume();
}

QCoro::Task<QString> GoogleAuthService::exchange(QString code, QString verifier, CancelToken token)
{
    QNetworkRequest request(m_settings.tokenEndpoint);
    request.setHeader(QNetworkRequest::ContentTypeHeader, QByteArrayLiteral("application/x-www-form-urlencoded"));
    std::unique_ptr<QNetworkReply> reply(m_network->post(request, tokenRequestBody(m_settings, code, verifier)));
    QNetworkReply* r = reply.get();
    bool timedOut = false;
    auto timeout = m_clock->schedule(tokenExchangeTimeoutMs, [r, &timedOut] {
        timedOut = true;
        r->abort();
    });
    auto subscription = token.onCancel([r] { r->abort(); });
    co_await r;
    subscription.reset();
    timeout.reset();

    if (token.isCancelled())
        throw GoogleAuthError::cancelled();
    if (timedOut)
        throw GoogleAuthError::failed(QStringLiteral("The request timed out."));
    const QVariant status = r->attribute(QNetworkRequest::HttpStatusCodeAttribute);
    if (!status.isValid())
        throw GoogleAuthError::failed(r->errorString());
    const QJsonObject answer = QJsonDocument::fromJson(r->readAll()).object();
    const int httpStatus = status.toInt();
    if (httpStatus >= 200 && httpStatus <= 299 && answer.value(QLatin1String("id_token")).isString())
        co_return answer.value(QLatin1String("id_token")).toString();
    if (answer.value(QLatin1String("error_description")).isString())
        throw GoogleAuthError::failed(answer.value(QLatin1String("error_description")).toString());
    throw GoogleAuthError::failed(QStringLiteral("token exchange failed"));
}

} // namespace halvex
